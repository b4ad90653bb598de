#pragma once

#include "download/FetchResult.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QNetworkAccessManager;

// Fetches one picture into one file, asynchronously, on the thread of the
// network manager it is given. Only a 2xx answer that arrived whole becomes a
// file, written atomically; anything else leaves no file and says why.
class PictureFetcher : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const FetchResult &)>;
    static constexpr int DefaultStallTimeout = 30000;

    explicit PictureFetcher(QNetworkAccessManager *network, QObject *parent = nullptr);
    ~PictureFetcher() override;

    // Milliseconds without a byte after which a fetch fails.
    void setStallTimeout(int milliseconds) { m_stallTimeout = milliseconds; }
    int stallTimeout() const { return m_stallTimeout; }

    // Starts the fetch and returns at once. `done` runs later, from the event
    // loop, exactly once, unless `context` is gone by then or abort() cancels
    // the fetch first. An existing file is replaced whole on success only.
    void DownloadPicture(const QString &url, const QString &file, QObject *context, Done done);

    // Cancels the fetches started for `context` (every fetch when null):
    // their files are not written and their callbacks never run.
    void abort(QObject *context = nullptr);

    int running() const;

private:
    QPointer<QNetworkAccessManager> m_network;
    int m_stallTimeout = DefaultStallTimeout;
};
