#include "download/PictureTransfer.h"

PictureTransfer::PictureTransfer(const QString &file, QObject *context, Done done, QObject *parent)
    : QObject(parent), m_file(file), m_context(context), m_hadContext(context != nullptr),
      m_done(std::move(done))
{
}

PictureTransfer::~PictureTransfer()
{
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

bool PictureTransfer::prepare()
{
    if (m_file.open())
        return true;
    failBeforeStart(QStringLiteral("cannot write %1: %2").arg(m_file.fileName(), m_file.errorString()));
    return false;
}

void PictureTransfer::start(QNetworkReply *reply, int stallTimeout)
{
    m_reply = reply;
    m_stallTimeout = stallTimeout;
    connect(reply, &QNetworkReply::readyRead, this, &PictureTransfer::onReadyRead);
    connect(reply, &QNetworkReply::finished, this, &PictureTransfer::onFinished);
    // A reply can die with its manager without ever finishing.
    connect(reply, &QObject::destroyed, this, &PictureTransfer::onReplyGone);
}

void PictureTransfer::failBeforeStart(const QString &error)
{
    m_file.cancel();
    reportLater({false, 0, 0, error});
}

void PictureTransfer::cancel()
{
    m_cancelled = true;
    m_file.cancel();
    if (m_reply) {
        disconnect(m_reply, nullptr, this, nullptr);
        m_reply->abort();
    }
    deleteLater();
}

int PictureTransfer::status() const
{
    return m_reply ? m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
}

void PictureTransfer::onReadyRead()
{
    // One read of what is there: readAll() grows its array step by step,
    // copying a picture several times over.
    const QByteArray data = m_reply->read(m_reply->bytesAvailable());
    if (!m_error.isEmpty())
        return;
    // Error pages and the bodies of redirects that Qt follows are no picture;
    // the verdict on them comes with finished().
    const int code = status();
    if (code < 200 || code > 299)
        return;
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

QString PictureTransfer::replyError() const
{
    const auto code = m_reply->error();
    if (code == QNetworkReply::OperationCanceledError || code == QNetworkReply::TimeoutError)
        return QStringLiteral("no data for %1 ms").arg(m_stallTimeout);
    return m_reply->errorString();
}

void PictureTransfer::onFinished()
{
    if (m_reported || m_cancelled)
        return;
    if (m_reply->bytesAvailable() > 0)
        onReadyRead();
    const int code = status();
    if (m_error.isEmpty()) {
        if (m_reply->error() != QNetworkReply::NoError)
            m_error = replyError();
        else if (code < 200 || code > 299)
            m_error = QStringLiteral("HTTP status %1").arg(code);
        else if (!m_file.commit())
            m_error = QStringLiteral("cannot save %1: %2").arg(m_file.fileName(), m_file.errorString());
    }
    if (!m_error.isEmpty()) {
        m_file.cancel();
        reportLater({false, 0, code, m_error});
    } else {
        reportLater({true, m_written, code, {}});
    }
}

void PictureTransfer::onReplyGone()
{
    if (m_reported || m_cancelled)
        return;
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
