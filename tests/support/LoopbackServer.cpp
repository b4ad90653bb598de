#include "support/LoopbackServer.h"

#include <httplib.h>

#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <atomic>
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
    // Counters of add()'s wrapper, under `mutex`.
    int delayMs = 0;
    int inFlight = 0;
    int peak = 0;
    QHash<QString, int> hits;
    QSet<int> ports;

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

void LoopbackServer::setNoDelay(bool on)
{
    m_server->set_tcp_nodelay(on);
}

void LoopbackServer::serve(const QString &path, const QByteArray &body, const QString &contentType)
{
    const std::string content(body.constData(), size_t(body.size()));
    const std::string type = contentType.toStdString();
    add(path, [content, type](const httplib::Request &, httplib::Response &res) {
        res.set_content(content, type.c_str());
    });
}

void LoopbackServer::serveHandler(const QString &path, Handler handler)
{
    add(path, std::move(handler));
}

void LoopbackServer::add(const QString &path, Handler handler)
{
    Private *p = d.get();
    m_server->Get(path.toStdString(), [p, path, handler](const httplib::Request &req, httplib::Response &res) {
        int delay = 0;
        {
            const std::lock_guard lock(p->mutex);
            p->peak = std::max(p->peak, ++p->inFlight);
            ++p->hits[path];
            p->ports.insert(req.remote_port);
            delay = p->delayMs;
        }
        if (delay > 0)
            p->waitForStop(std::chrono::milliseconds(delay));
        handler(req, res);
        const std::lock_guard lock(p->mutex);
        --p->inFlight;
    });
}

void LoopbackServer::setAnswerDelay(int milliseconds)
{
    const std::lock_guard lock(d->mutex);
    d->delayMs = milliseconds;
}

int LoopbackServer::hits(const QString &path) const
{
    const std::lock_guard lock(d->mutex);
    return d->hits.value(path);
}

int LoopbackServer::peakInFlight() const
{
    const std::lock_guard lock(d->mutex);
    return d->peak;
}

int LoopbackServer::connections() const
{
    const std::lock_guard lock(d->mutex);
    return int(d->ports.size());
}

void LoopbackServer::resetCounts()
{
    const std::lock_guard lock(d->mutex);
    d->peak = 0;
    d->hits.clear();
    d->ports.clear();
}

void LoopbackServer::serveScript(const QString &path, const QList<Answer> &answers, const QString &contentType)
{
    const std::string type = contentType.toStdString();
    auto served = std::make_shared<std::atomic<int>>(0);
    add(path, [answers, type, served](const httplib::Request &, httplib::Response &res) {
        const Answer &a = answers.at(std::min<qsizetype>((*served)++, answers.size() - 1));
        res.status = a.status;
        if (!a.retryAfter.isEmpty())
            res.set_header("Retry-After", a.retryAfter.toStdString());
        const std::string content(a.body.constData(), size_t(a.body.size()));
        if (!a.cutMidBody) {
            res.set_content(content, type.c_str());
            return;
        }
        res.set_content_provider(content.size(), type, [content](size_t offset, size_t, httplib::DataSink &sink) {
            if (offset == 0)
                sink.write(content.data(), content.size() / 2);
            return offset == 0;
        });
    });
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
    add(path, [status, content, type](const httplib::Request &, httplib::Response &res) {
        res.status = status;
        res.set_content(content, type.c_str());
    });
}

void LoopbackServer::serveRedirect(const QString &path, const QString &target, int status)
{
    const std::string location = target.startsWith(u'/') ? url(target).toStdString() : target.toStdString();
    add(path, [location, status](const httplib::Request &, httplib::Response &res) {
        res.set_redirect(location, status);
    });
}

void LoopbackServer::serveStalled(const QString &path, qint64 declaredLength)
{
    Private *p = d.get();
    add(path, [p, declaredLength](const httplib::Request &, httplib::Response &res) {
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
    add(path, [content, declaredLength](const httplib::Request &, httplib::Response &res) {
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
    add(path, [=](const httplib::Request &, httplib::Response &res) {
        res.set_content_provider(content.size(), type,
                                 [=](size_t offset, size_t length, httplib::DataSink &sink) {
                                     if (offset > 0 && p->waitForStop(std::chrono::milliseconds(intervalMs)))
                                         return false;
                                     return sink.write(content.data() + offset, std::min(chunk, length));
                                 });
    });
}
