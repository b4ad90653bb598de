#include "platform/TextFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

void TextFetch::start(QNetworkAccessManager *network, const QUrl &url, int stallMs, qint64 maxBytes,
                      QObject *context, Callback done)
{
    auto *fetch = new TextFetch(context, std::move(done));
    fetch->m_maxBytes = maxBytes;
    const QString scheme = url.scheme().toLower();
    if (!network || !url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        // Still answer later, like a fetch that failed on the wire.
        QTimer::singleShot(0, fetch, [fetch] { fetch->settle(std::nullopt); });
        return;
    }
    fetch->begin(network, url, stallMs);
}

TextFetch::TextFetch(QObject *context, Callback done) : m_context(context), m_done(std::move(done))
{
    m_stall.setSingleShot(true);
    connect(&m_stall, &QTimer::timeout, this, [this] { settle(std::nullopt); });
    m_total.setSingleShot(true);
    connect(&m_total, &QTimer::timeout, this, [this] { settle(std::nullopt); });
}

void TextFetch::begin(QNetworkAccessManager *network, const QUrl &url, int stallMs)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    m_reply = network->get(request);
    m_reply->setReadBufferSize(256 * 1024);
    m_stall.setInterval(stallMs);
    m_stall.start();
    m_total.start(4 * stallMs);
    connect(m_reply, &QNetworkReply::readyRead, this, &TextFetch::onReadyRead);
    connect(m_reply, &QNetworkReply::downloadProgress, &m_stall, qOverload<>(&QTimer::start));
    connect(m_reply, &QNetworkReply::finished, this, &TextFetch::onFinished);
}

void TextFetch::onReadyRead()
{
    m_stall.start();
    m_body += m_reply->readAll();
    if (m_body.size() > m_maxBytes)
        settle(std::nullopt);
}

void TextFetch::onFinished()
{
    if (m_settled)
        return;
    onReadyRead();
    if (m_settled)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_reply->error() != QNetworkReply::NoError || status < 200 || status > 299)
        return settle(std::nullopt);
    settle(m_body);
}

void TextFetch::settle(std::optional<QByteArray> body)
{
    if (m_settled)
        return;
    m_settled = true;
    m_stall.stop();
    m_total.stop();
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    if (m_context && m_done)
        m_done(std::move(body));
    deleteLater();
}
