#pragma once

#include "download/DescriptionOrder.h"
#include "download/DownloadSummary.h"
#include "picking/PickResult.h"

#include <QList>
#include <QString>

#include <array>

// What one download fetches and where: makes the item folder and its kinds'
// folders and gives every file the name a one-by-one run gives it. Files of
// a kind numbered by place (主图i, SKU图i, 视频i.mp4) are named at once; those
// of a kind with the narrow-picture rule are staged and named over the kept
// ones by their kind's DescriptionOrder as they arrive.
class DownloadPlan
{
public:
    struct Job
    {
        MediaKind::Id kind = MediaKind::Main;
        int number = 0;  // of a file named by place
        QString url;
        QString file;
        int ordered = -1; // of a staged picture: its index in order(kind)
    };

    // `minWidth` replaces the narrow-picture width of the kinds that have one.
    explicit DownloadPlan(int minWidth) : m_minWidth(minWidth) {}

    // Each returns false, with the summary's line and error saying why, when
    // a folder cannot be made; the summary's itemFolder is the item's.
    // A new item in `folder`, named after the result's title.
    bool forResult(const QString &folder, const PickResult &result, DownloadSummary &summary);
    // The same into `summary.itemFolder`, which the caller made (the batch).
    bool forItemFolder(const PickResult &result, DownloadSummary &summary);
    // Just the failures, into the item's folders under the names they would have had.
    bool forRetry(const QList<FailedPicture> &failures, DownloadSummary &summary);
    // A cut-off item: files named by place that are there were saved whole
    // and are skipped; staged kinds are judged again, keeping what was saved.
    bool forResume(const PickResult &result, DownloadSummary &summary);

    const QList<Job> &jobs() const { return m_jobs; }
    DescriptionOrder &order(MediaKind::Id kind) { return m_orders[kind]; }
    const DescriptionOrder &order(MediaKind::Id kind) const { return m_orders[kind]; }
    // The files a resume found saved already.
    const MediaCounts &skipped() const { return m_skipped; }
    int skippedTotal() const { return m_skippedTotal; }
    // Of every staged kind: removes what has not taken its name.
    void discard();

private:
    bool makeFolder(const QString &path, QString *made, DownloadSummary &summary);
    bool makeKindFolder(const MediaKind *kind, const QString &group, QString *made, DownloadSummary &summary);
    void addGroup(const MediaKind &kind, const QString &folder, const QStringList &urls, int firstNumber);
    int widthOf(const MediaKind &kind) const { return kind.minWidth > 0 ? m_minWidth : 0; }

    int m_minWidth;
    QList<Job> m_jobs;
    std::array<DescriptionOrder, MediaKind::Count> m_orders;
    MediaCounts m_skipped;
    int m_skippedTotal = 0;
};
