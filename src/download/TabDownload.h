#pragma once

#include "download/SaveChoice.h"
#include "download/DownloadPlan.h"
#include "download/DownloadSummary.h"
#include "download/FetchResult.h"
#include "picking/PickResult.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>

class PictureFetcher;

// Saves one pick result's media as its SaveChoice says (which kinds, which
// pictures, which size and repeat rules): makes the item folder with a folder
// per kind saved (see DownloadPlan and MediaKind::folderRule), then fetches up to
// `parallel` files at once without ever blocking the thread. Every file gets
// the name a one-by-one run gives it: 主图i, SKU图i and 视频i.mp4 by position,
// 描述图n numbered over the kept pictures of a judged kind in list order (see
// DescriptionOrder); a picture the rules leave out is deleted and the next
// one takes its number, one whose size cannot be read is kept (counted in
// unknownWidth). Once every file was tried, the product's data is written
// beside them (see ProductFiles) unless the choice leaves it out.
class TabDownload : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultParallel = 16;

    explicit TabDownload(PictureFetcher *fetcher, const SaveChoice &choice = SaveChoice(),
                         QObject *parent = nullptr);
    ~TabDownload() override;

    // Pictures in flight at once (1: one after another). Before start().
    void setParallel(int count) { m_parallel = count < 1 ? 1 : count; }

    // Starts the download and returns at once; signals follow from the event
    // loop. `title` is the stored pick title: it is passed through CleanName
    // here. An empty `folder` (chooser cancelled) finishes with NoFolder and
    // creates nothing. Returns false if this object was started before.
    bool start(const QString &folder, const QString &title, const QStringList &mainPics,
               const QStringList &descPics);

    // The same for a whole pick result (main, SKU and description pictures,
    // the video and the product's data).
    bool start(const QString &folder, const PickResult &result);

    // The same into `itemFolder`, made by the caller (the batch makes and
    // journals it before anything is fetched).
    bool startIn(const QString &itemFolder, const PickResult &result);

    // Fetches again just the pictures that failed (a summary's failures) into
    // the existing item folder under the names they would have had; the
    // description pictures it keeps are numbered on from the smallest of their
    // numbers. A video saved now is named in 商品信息.json. Hidden ".part" leftovers older than an hour are swept from the
    // folders first. Finishes like start(); FolderFailed when `itemFolder` is
    // gone. Returns false if this object was started before.
    bool retry(const QString &itemFolder, const QList<FailedPicture> &failures);

    // Completes a download that was cut off (the program was killed) in its
    // own item folder, made anew when it is gone: main and SKU pictures
    // already there are kept, the description pictures are fetched again and
    // take the names they had; a picture saved whole under its name is never
    // replaced or renamed (see DescriptionOrder::setResuming). Once complete,
    // the hidden ".part" files a killed run left in the item are removed.
    // Returns false if this object was started before.
    bool resume(const QString &itemFolder, const PickResult &result);

    // Stops at once: the fetches in flight leave no file, nothing more is
    // written, and finished(Aborted) follows from the event loop (unless this
    // object is deleted first). Deleting a running TabDownload is safe too.
    void abort();

    bool isRunning() const { return m_running; }
    const DownloadSummary &summary() const { return m_summary; }

signals:
    // After each finished picture, saved, dropped or failed: line is the
    // progress line, done counts finished pictures.
    void progress(int done, int total, const QString &line);
    void finished(const DownloadSummary &summary);

private:
    bool launch();
    // Starts a run into an existing item folder that `begin` plans.
    bool launchInto(const QString &itemFolder, const PickResult &result, void (TabDownload::*begin)());
    void begin();
    void beginIn();
    void beginRetry();
    void beginResume();
    void countPlanned();
    void pump();
    void onFetched(int job, const FetchResult &result);
    void finish(DownloadSummary::Outcome outcome);
    void countKept();
    void removeLeftovers();
    void writeProductFiles();
    // A run cut off before its end marks its item folder (UnfinishedMark;
    // TabDownloadMark.cpp); a finished one takes the mark away.
    void markUnfinished();
    QStringList missingFiles() const;
    bool completesMarkedFolder();

    QPointer<PictureFetcher> m_fetcher;
    int m_parallel = DefaultParallel;
    QString m_folder;
    PickResult m_result;
    QList<FailedPicture> m_retry;
    bool m_retrying = false;
    bool m_resuming = false;
    DownloadPlan m_plan;
    QList<int> m_failedJobs; // jobs named by place that failed
    QSet<int> m_savedJobs;   // jobs named by place that were saved
    int m_nextJob = 0;
    int m_inFlight = 0;
    int m_done = 0;
    MediaCounts m_fetched;   // files named by place that this run saved
    bool m_started = false;
    bool m_running = false;
    DownloadSummary m_summary;
};
