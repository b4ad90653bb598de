#include "support/LoopbackServer.h"

#include <httplib.h>

#include <QFile>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

struct LoopbackServer::Private
{
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;

    // Sleeps up to `limit`; true when the server is stopping. Handlers that
    // hold a connection open use it so that the destructor never waits on them.
    bool waitForStop(std::chrono::milliseconds limit)
    {
        std::unique_lock lock(mutex);
        return wake.wait_for(lock, limit, [this] { return stopping; });
    }
};

LoopbackServer::LoopbackServer() : m_server(std::make_unique<httplib::Server>()), d(std::make_unique<Private>())
{
    // A browser keeps several connections open and stalled answers hold a
    // thread each: the default pool of eight runs dry.
    m_server->new_task_queue = [] { return new httplib::ThreadPool(64); };
    m_port = m_server->bind_to_any_port("127.0.0.1");
    d->thread = std::thread([this] { m_server->listen_after_bind(); });
    while (!m_server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

LoopbackServer::~LoopbackServer()
{
    {
        const std::lock_guard lock(d->mutex);
        d->stopping = true;
    }
    d->wake.notify_all();
    m_server->stop();
    if (d->thread.joinable())
        d->thread.join();
}

QString LoopbackServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path);
}

void LoopbackServer::setKeepAliveMaxCount(int count)
{
    m_server->set_keep_alive_max_count(size_t(std::max(1, count)));
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

void LoopbackServer::serveStatus(const QString &path, int status, const QByteArray &body,
                                 const QString &contentType)
{
    const std::string content(body.constData(), size_t(body.size()));
    const std::string type = contentType.toStdString();
    m_server->Get(path.toStdString(), [status, content, type](const httplib::Request &, httplib::Response &res) {
        res.status = status;
        res.set_content(content, type.c_str());
    });
}

void LoopbackServer::serveRedirect(const QString &path, const QString &target, int status)
{
    const std::string location = target.startsWith(u'/') ? url(target).toStdString() : target.toStdString();
    m_server->Get(path.toStdString(), [location, status](const httplib::Request &, httplib::Response &res) {
        res.set_redirect(location, status);
    });
}

void LoopbackServer::serveStalled(const QString &path, qint64 declaredLength)
{
    Private *p = d.get();
    m_server->Get(path.toStdString(), [p, declaredLength](const httplib::Request &, httplib::Response &res) {
        res.set_content_provider(size_t(declaredLength), "application/octet-stream",
                                 [p](size_t, size_t, httplib::DataSink &) {
                                     p->waitForStop(std::chrono::seconds(20));
                                     return false;
                                 });
    });
}

void LoopbackServer::serveCutShort(const QString &path, const QByteArray &body, qint64 declaredLength)
{
    const std::string content(body.constData(), size_t(body.size()));
    m_server->Get(path.toStdString(), [content, declaredLength](const httplib::Request &, httplib::Response &res) {
        res.set_content_provider(size_t(declaredLength), "application/octet-stream",
                                 [content](size_t offset, size_t, httplib::DataSink &sink) {
                                     if (offset < content.size())
                                         sink.write(content.data() + offset, content.size() - offset);
                                     return false;
                                 });
    });
}

void LoopbackServer::serveDribble(const QString &path, const QByteArray &body, int chunkSize, int intervalMs,
                                  const QString &contentType)
{
    Private *p = d.get();
    const std::string content(body.constData(), size_t(body.size()));
    const std::string type = contentType.toStdString();
    const size_t chunk = size_t(std::max(1, chunkSize));
    m_server->Get(path.toStdString(), [=](const httplib::Request &, httplib::Response &res) {
        res.set_content_provider(content.size(), type,
                                 [=](size_t offset, size_t length, httplib::DataSink &sink) {
                                     if (offset > 0 && p->waitForStop(std::chrono::milliseconds(intervalMs)))
                                         return false;
                                     return sink.write(content.data() + offset, std::min(chunk, length));
                                 });
    });
}
