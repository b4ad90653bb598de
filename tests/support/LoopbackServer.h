#pragma once

#include <QByteArray>
#include <QList>
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

    // Requests one connection may carry before the server closes it (five by
    // default); benchmarks raise it so every client can keep one connection.
    void setKeepAliveMaxCount(int count);
    // Sends each answer at once instead of waiting for the client's delayed
    // acknowledgement (about 40 ms per answer on one connection otherwise).
    void setNoDelay(bool on);

    void serve(const QString &path, const QByteArray &body,
               const QString &contentType = QStringLiteral("text/html; charset=utf-8"));
    void serveHandler(const QString &path, Handler handler);
    // Serves every file below `folder` under `prefix`.
    void serveFolder(const QString &prefix, const QString &folder);

    // Answers with `status` and `body`, e.g. a 404 with an HTML page.
    void serveStatus(const QString &path, int status, const QByteArray &body,
                     const QString &contentType = QStringLiteral("text/html; charset=utf-8"));
    // Redirects to `target`: a path on this server or a whole URL.
    void serveRedirect(const QString &path, const QString &target, int status = 302);
    // Sends the headers (Content-Length: declaredLength) and then nothing until
    // the server stops (or a minute passes); then drops the connection.
    void serveStalled(const QString &path, qint64 declaredLength = 1000);
    // Declares `declaredLength` bytes, sends only `body`, then drops the connection.
    void serveCutShort(const QString &path, const QByteArray &body, qint64 declaredLength);
    // Sends `body` in pieces of `chunkSize` bytes, `intervalMs` apart.
    void serveDribble(const QString &path, const QByteArray &body, int chunkSize, int intervalMs,
                      const QString &contentType = QStringLiteral("application/octet-stream"));

    // One scripted answer; the n-th request of a path gets the n-th answer,
    // the last one repeating.
    struct Answer
    {
        int status = 200;
        QByteArray body;
        QByteArray retryAfter; // a Retry-After header when not empty
        bool cutMidBody = false; // declares the whole body, sends half, drops the connection
    };
    void serveScript(const QString &path, const QList<Answer> &answers,
                     const QString &contentType = QStringLiteral("image/jpeg"));

    // Every answer waits this long before its handler runs (0 by default).
    void setAnswerDelay(int milliseconds);
    // Requests of `path` so far (a route's pattern as it was registered).
    int hits(const QString &path) const;
    // The most requests in their handlers at once, and the connections
    // (client ports) seen, since the start or the last resetCounts().
    int peakInFlight() const;
    int connections() const;
    void resetCounts();

private:
    void add(const QString &path, Handler handler);

    std::unique_ptr<httplib::Server> m_server;
    int m_port = 0;
    struct Private;
    std::unique_ptr<Private> d;
};
