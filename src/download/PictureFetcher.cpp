#include "download/PictureFetcher.h"

#include "download/PictureTransfer.h"
#include "picking/MediaKinds.h"

#include <QNetworkAccessManager>
#include <QUrl>

PictureFetcher::PictureFetcher(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent), m_network(network)
{
    for (const MediaKind &kind : MediaKinds::all())
        m_kindLimits[kind.id] = m_limits.forKind(kind);
}

PictureFetcher::~PictureFetcher()
{
    abort();
}

void PictureFetcher::DownloadPicture(const QString &url, const QString &file, QObject *context, Done done)
{
    fetch(url, file, m_limits, context, std::move(done));
}

void PictureFetcher::Download(MediaKind::Id kind, const QString &url, const QString &file, QObject *context, Done done)
{
    fetch(url, file, m_kindLimits.at(kind), context, std::move(done));
}

void PictureFetcher::setStallTimeout(int milliseconds)
{
    m_limits.stallMs = milliseconds;
    for (FetchLimits &limits : m_kindLimits)
        limits.stallMs = milliseconds;
}

void PictureFetcher::setLimits(const FetchLimits &limits)
{
    m_limits = limits;
    setLimitsOf(MediaKind::Body::Picture, limits);
}

void PictureFetcher::setVideoLimits(const FetchLimits &limits)
{
    setLimitsOf(MediaKind::Body::Video, limits);
}

void PictureFetcher::setLimitsOf(MediaKind::Body body, const FetchLimits &limits)
{
    for (const MediaKind &kind : MediaKinds::all())
        if (kind.body == body)
            m_kindLimits[kind.id] = limits;
}

void PictureFetcher::fetch(const QString &url, const QString &file, const FetchLimits &limits, QObject *context, Done done)
{
    const QUrl address(url);
    auto *transfer = new PictureTransfer(m_network, address, file, limits, context, std::move(done), this);
    // Addresses come from web pages: never let one read local files.
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != u"http" && scheme != u"https")) {
        transfer->failBeforeStart(QStringLiteral("not an http address: %1").arg(url));
        return;
    }
    transfer->start();
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
