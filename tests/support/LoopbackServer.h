#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <string>

namespace httplib {
class Server;
struct Request;
struct Response;
}

// An HTTP server on 127.0.0.1 and a free port, running on its own thread for
// the lifetime of the object. Tests put pages and pictures on it.
class LoopbackServer
{
public:
    using Handler = std::function<void(const httplib::Request &, httplib::Response &)>;

    LoopbackServer();
    ~LoopbackServer();

    int port() const { return m_port; }
    // "http://127.0.0.1:<port>" + path
    QString url(const QString &path) const;

    void serve(const QString &path, const QByteArray &body,
               const QString &contentType = QStringLiteral("text/html; charset=utf-8"));
    void serveHandler(const QString &path, Handler handler);
    // Serves every file below `folder` under `prefix`.
    void serveFolder(const QString &prefix, const QString &folder);

private:
    std::unique_ptr<httplib::Server> m_server;
    int m_port = 0;
    struct Private;
    std::unique_ptr<Private> d;
};
