#include "download/PictureFetcher.h"

#include "download/PictureTransfer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

PictureFetcher::PictureFetcher(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent), m_network(network)
{
}

PictureFetcher::~PictureFetcher()
{
    abort();
}

void PictureFetcher::DownloadPicture(const QString &url, const QString &file, QObject *context, Done done)
{
    auto *transfer = new PictureTransfer(file, context, std::move(done), this);
    const QUrl address(url);
    // Addresses come from web pages: never let one read local files.
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != u"http" && scheme != u"https")) {
        transfer->failBeforeStart(QStringLiteral("not an http address: %1").arg(url));
        return;
    }
    if (!m_network) {
        transfer->failBeforeStart(QStringLiteral("no network access"));
        return;
    }
    QNetworkRequest request(address);
    request.setTransferTimeout(m_stallTimeout);
    // The request goes out first and the target file is made while the answer
    // is on its way: no byte of it can arrive before this call returns, they
    // all come through the event loop.
    QNetworkReply *reply = m_network->get(request);
    if (!transfer->prepare()) {
        reply->abort();
        reply->deleteLater();
        return;
    }
    transfer->start(reply, m_stallTimeout);
}

void PictureFetcher::abort(QObject *context)
{
    const auto transfers = findChildren<PictureTransfer *>(Qt::FindDirectChildrenOnly);
    for (PictureTransfer *transfer : transfers) {
        if (!transfer->cancelled() && (!context || transfer->context() == context))
            transfer->cancel();
    }
}

int PictureFetcher::running() const
{
    int count = 0;
    const auto transfers = findChildren<PictureTransfer *>(Qt::FindDirectChildrenOnly);
    for (const PictureTransfer *transfer : transfers)
        count += transfer->pending() ? 1 : 0;
    return count;
}
