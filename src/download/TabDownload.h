#pragma once

#include "download/DescWidth.h"
#include "download/DownloadSummary.h"
#include "download/FetchResult.h"
#include "picking/PickResult.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class PictureFetcher;

// Saves one pick result's pictures: makes the item folder with its "主图" and
// "描述图" folders, then fetches the main pictures and the description
// pictures one at a time, in order, without ever blocking the thread. A
// description picture narrower than the minimum width is deleted and the
// next one takes its number.
class TabDownload : public QObject
{
    Q_OBJECT
public:
    explicit TabDownload(PictureFetcher *fetcher, int minDescWidth = MinDescWidth,
                         QObject *parent = nullptr);
    ~TabDownload() override;

    // Starts the download and returns at once; signals follow from the event
    // loop. `title` is the stored pick title: it is passed through CleanName
    // here. An empty `folder` (chooser cancelled) finishes with NoFolder and
    // creates nothing. Returns false if this object was started before.
    bool start(const QString &folder, const QString &title, const QStringList &mainPics,
               const QStringList &descPics);

    // The same for a whole pick result (main, SKU and description pictures).
    bool start(const QString &folder, const PickResult &result);

    // Fetches again just the pictures that failed, into the existing item
    // folder under the names they would have had. Returns false if this
    // object was started before.
    bool retry(const QString &itemFolder, const QList<FailedPicture> &failures);

    // Stops at once: the fetch in flight leaves no file, nothing more is
    // written, and finished(Aborted) follows from the event loop (unless this
    // object is deleted first). Deleting a running TabDownload is safe too.
    void abort();

    bool isRunning() const { return m_running; }
    const DownloadSummary &summary() const { return m_summary; }

signals:
    // After each picture, saved, dropped or failed: line is the progress line.
    void progress(int done, int total, const QString &line);
    void finished(const DownloadSummary &summary);

private:
    void begin();
    bool makeFolder(const QString &path, QString *made);
    void fetchNext();
    void onFetched(const QString &file, bool description, const FetchResult &result);
    void judgeDescription(const QString &file);
    void finish(DownloadSummary::Outcome outcome);

    QPointer<PictureFetcher> m_fetcher;
    int m_minDescWidth;
    QString m_folder;
    QString m_title;
    QStringList m_mainPics;
    QStringList m_descPics;
    QString m_mainFolder;
    QString m_descFolder;
    int m_done = 0;
    int m_keptDesc = 0;
    bool m_started = false;
    bool m_running = false;
    DownloadSummary m_summary;
};
