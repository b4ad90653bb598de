#pragma once

#include "download/FetchLimits.h"
#include "download/FetchResult.h"
#include "picking/MediaKind.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <functional>

class QNetworkAccessManager;

// Fetches pictures into files, asynchronously, on the thread of the network
// manager it is given; many at once share its connections (six per host over
// HTTP/1.1). Only a whole picture of a 2xx answer (not 204/205/206, not empty,
// within the size cap, starting like a picture format) becomes a file,
// written atomically; anything else leaves no file and says why. Transient
// failures are tried again within FetchLimits.
class PictureFetcher : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const FetchResult &)>;
    static constexpr int DefaultStallTimeout = 30000;

    explicit PictureFetcher(QNetworkAccessManager *network, QObject *parent = nullptr);
    ~PictureFetcher() override;

    // Milliseconds without a byte after which a try fails (every kind).
    void setStallTimeout(int milliseconds);
    int stallTimeout() const { return m_limits.stallMs; }
    // For the pictures fetched from now on, of every kind whose files are pictures.
    void setLimits(const FetchLimits &limits);
    const FetchLimits &limits() const { return m_limits; }
    // For the files of the kinds that are videos; by default their row's limits.
    void setVideoLimits(const FetchLimits &limits);
    // What a fetch of `kind` keeps to: FetchLimits::forKind() unless set above.
    const FetchLimits &limits(MediaKind::Id kind) const { return m_kindLimits.at(kind); }

    // Starts the fetch and returns at once. `done` runs later, from the event
    // loop, exactly once, unless `context` is gone by then or abort() cancels
    // the fetch first. An existing file is replaced whole on success only.
    void DownloadPicture(const QString &url, const QString &file, QObject *context, Done done);
    // The same for a file of `kind`, within limits(kind).
    void Download(MediaKind::Id kind, const QString &url, const QString &file, QObject *context, Done done);

    // Cancels the fetches started for `context` (every fetch when null):
    // their files are not written and their callbacks never run.
    void abort(QObject *context = nullptr);

    int running() const;

private:
    void fetch(const QString &url, const QString &file, const FetchLimits &limits, QObject *context, Done done);

    QPointer<QNetworkAccessManager> m_network;
    void setLimitsOf(MediaKind::Body body, const FetchLimits &limits);

    FetchLimits m_limits;
    std::array<FetchLimits, MediaKind::Count> m_kindLimits;
};
