#include "support/LoopbackServer.h"

#include <httplib.h>

#include <QFile>

#include <thread>

struct LoopbackServer::Private
{
    std::thread thread;
};

LoopbackServer::LoopbackServer() : m_server(std::make_unique<httplib::Server>()), d(std::make_unique<Private>())
{
    m_port = m_server->bind_to_any_port("127.0.0.1");
    d->thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer()
{
    m_server->stop();
    if (d->thread.joinable())
        d->thread.join();
}

QString LoopbackServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

void LoopbackServer::serve(const QString &path, const QByteArray &body, const QString &contentType)
{
    const std::string content(body.constData(), size_t(body.size()));
    const std::string type = contentType.toStdString();
    m_server->Get(path.toStdString(), [content, type](const httplib::Request &, httplib::Response &res) {
        res.set_content(content, type.c_str());
    });
}

void LoopbackServer::serveHandler(const QString &path, Handler handler)
{
    m_server->Get(path.toStdString(), std::move(handler));
}

void LoopbackServer::serveFolder(const QString &prefix, const QString &folder)
{
    m_server->set_mount_point(prefix.toStdString(), QFile::encodeName(folder).toStdString());
}
