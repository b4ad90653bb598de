#include "download/PictureTransfer.h"

#include "download/AnswerVerdict.h"
#include "download/PictureFormat.h"
#include "download/RetryPolicy.h"
#include "download/VideoFormat.h"

#include <QNetworkAccessManager>
#include <QNetworkRequest>

PictureTransfer::PictureTransfer(QNetworkAccessManager *network, const QUrl &url, const QString &file,
                                 const FetchLimits &limits, QObject *context, Done done, QObject *parent)
    : QObject(parent), m_network(network), m_url(url), m_limits(limits), m_file(file), m_context(context),
      m_hadContext(context != nullptr), m_done(std::move(done))
{
    m_pause.setSingleShot(true);
    // A coarse timer may end a second's pause 50 ms early: before a server's
    // Retry-After is over.
    m_pause.setTimerType(Qt::PreciseTimer);
    m_deadline.setSingleShot(true);
    connect(&m_pause, &QTimer::timeout, this, &PictureTransfer::attempt);
    connect(&m_deadline, &QTimer::timeout, this, &PictureTransfer::onDeadline);
}

PictureTransfer::~PictureTransfer()
{
    dropReply();
}

void PictureTransfer::start()
{
    m_deadline.start(m_limits.totalMs);
    attempt();
}

void PictureTransfer::attempt()
{
    ++m_tries;
    m_error.clear();
    m_head.clear();
    m_written = 0;
    if (!m_network) {
        failBeforeStart(QStringLiteral("no network access"));
        return;
    }
    QNetworkRequest request(m_url);
    request.setTransferTimeout(m_limits.stallMs);
    // The request goes out first and the target file is made while the answer
    // is on its way: no byte of it can arrive before this call returns, they
    // all come through the event loop.
    m_reply = m_network->get(request);
    // Back-pressure: Qt stops reading the socket while this much is unread,
    // so a fast server cannot fill the memory faster than the disk takes it.
    m_reply->setReadBufferSize(m_limits.readBufferBytes);
    if (!m_file.open()) {
        const QString error = QStringLiteral("cannot write %1: %2").arg(m_file.fileName(), m_file.errorString());
        dropReply();
        failBeforeStart(error);
        return;
    }
    connect(m_reply, &QNetworkReply::readyRead, this, &PictureTransfer::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &PictureTransfer::onFinished);
    // A reply can die with its manager without ever finishing.
    connect(m_reply, &QObject::destroyed, this, &PictureTransfer::onReplyGone);
}

void PictureTransfer::failBeforeStart(const QString &error)
{
    m_file.cancel();
    reportLater({false, 0, 0, error});
}

void PictureTransfer::cancel()
{
    m_cancelled = true;
    m_pause.stop();
    m_deadline.stop();
    m_file.cancel();
    dropReply();
    deleteLater();
}

void PictureTransfer::dropReply()
{
    if (!m_reply)
        return;
    disconnect(m_reply, nullptr, this, nullptr);
    m_reply->abort();
    m_reply->deleteLater();
    m_reply = nullptr;
}

void PictureTransfer::onReadyRead()
{
    // One read of what is there (at most the read buffer): readAll() grows its
    // array step by step, copying a picture several times over.
    const QByteArray data = m_reply->read(m_reply->bytesAvailable());
    // Error pages and the bodies of redirects that Qt follows are no picture;
    // the verdict on them comes with finished().
    if (!m_error.isEmpty() || !AnswerVerdict::acceptedStatus(status()))
        return;
    const qint64 declared = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (declared > m_limits.maxBytes || m_written + data.size() > m_limits.maxBytes) {
        fail(QStringLiteral("larger than %1 bytes").arg(m_limits.maxBytes));
        return;
    }
    static_assert(PictureHeadBytes >= VideoHeadBytes);
    if (m_head.size() < PictureHeadBytes)
        m_head += data.left(PictureHeadBytes - m_head.size());
    if (!m_file.write(data)) {
        fail(QStringLiteral("cannot write %1: %2").arg(m_file.fileName(), m_file.errorString()));
        return;
    }
    m_written += data.size();
}

void PictureTransfer::fail(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
    m_file.cancel();
    // abort() finishes the reply at once; onFinished then reports m_error.
    if (m_reply && m_reply->isRunning())
        m_reply->abort();
}

// Why the answer is no picture (empty when it is one, now committed), and
// whether trying again may help.
QString PictureTransfer::verdict(bool *transient)
{
    *transient = false;
    if (!m_error.isEmpty())
        return m_error; // ours: too large, deadline, disk
    const AnswerVerdict::Verdict verdict = AnswerVerdict::judge(*m_reply, m_limits, m_written, m_head, m_file);
    *transient = verdict.transient;
    return verdict.error;
}

void PictureTransfer::onFinished()
{
    if (m_reported || m_cancelled)
        return;
    if (m_reply->bytesAvailable() > 0)
        onReadyRead();
    bool transient = false;
    const QString error = verdict(&transient);
    const int code = status();
    if (error.isEmpty()) {
        m_deadline.stop();
        dropReply();
        reportLater({true, m_written, code, {}});
        return;
    }
    m_file.cancel();
    int pause = -1;
    if (transient && m_tries < m_limits.tries)
        pause = PauseBeforeNextTry(m_limits, m_tries,
                                   RetryAfterMs(m_reply->rawHeader("Retry-After"), QDateTime::currentDateTimeUtc()));
    dropReply();
    // A try that could not end before the picture's deadline is not begun.
    if (pause >= 0 && pause < m_deadline.remainingTime()) {
        m_pause.start(pause);
        return;
    }
    m_deadline.stop();
    reportLater({false, 0, code, m_tries > 1 ? QStringLiteral("%1 (after %2 tries)").arg(error).arg(m_tries) : error});
}

void PictureTransfer::onDeadline()
{
    if (m_reported || m_cancelled)
        return;
    const QString error = QStringLiteral("no whole picture within %1 s").arg(m_limits.totalMs / 1000.0);
    if (m_reply) {
        fail(error); // finishes the reply, which reports
        return;
    }
    m_pause.stop();
    failBeforeStart(error);
}

void PictureTransfer::onReplyGone()
{
    if (m_reported || m_cancelled)
        return;
    m_pause.stop();
    m_deadline.stop();
    m_file.cancel();
    reportLater({false, 0, 0, QStringLiteral("the request was dropped before it finished")});
}

void PictureTransfer::reportLater(const FetchResult &result)
{
    m_reported = true;
    QMetaObject::invokeMethod(this, [this, result] { report(result); }, Qt::QueuedConnection);
}

void PictureTransfer::report(const FetchResult &result)
{
    if (m_cancelled)
        return;
    // The callback may delete our parent and us with it: touch nothing after it.
    const Done done = std::move(m_done);
    const QPointer<QObject> context = m_context;
    const bool hadContext = m_hadContext;
    deleteLater();
    if (done && (!hadContext || context))
        done(result);
}
