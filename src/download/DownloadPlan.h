#pragma once

#include "download/DescriptionOrder.h"
#include "download/DownloadSummary.h"
#include "picking/PickResult.h"

#include <QList>
#include <QString>

#include <array>

// What one download fetches and where, under its SaveChoice: makes the item
// folder and the folders of the kinds it saves and gives every file the name
// a one-by-one run gives it. A picture ticked off is not fetched, and the
// others are numbered among themselves. Files of a kind numbered by place
// (主图i, SKU图i, 视频i.mp4) are named at once; those of a judged kind (a
// size rule or the repeat rule) are staged and named over the kept ones by
// their kind's DescriptionOrder as they arrive.
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

    explicit DownloadPlan(const SaveChoice &choice) : m_choice(choice) {}
    const SaveChoice &choice() const { return m_choice; }

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
    // A staged picture's fetch ended: it is judged, and what is settled named.
    void arrived(MediaKind::Id kind, int index, bool fetched);
    // The files a resume found saved already.
    const MediaCounts &skipped() const { return m_skipped; }
    int skippedTotal() const { return m_skippedTotal; }
    // Of every staged kind: removes what has not taken its name.
    void discard();

private:
    bool makeFolder(const QString &path, QString *made, DownloadSummary &summary);
    bool makeKindFolder(const MediaKind *kind, const QString &group, QString *made, DownloadSummary &summary);
    bool needsFolder(const MediaGroup &group) const;
    void addChosen(const MediaGroup &group, const QString &folder);
    void addGroup(const MediaKind &kind, const QString &folder, const QStringList &urls, int firstNumber,
                  const QList<bool> &forced = {});

    SaveChoice m_choice;
    DescriptionOrder::Seen m_seen;
    QList<Job> m_jobs;
    std::array<DescriptionOrder, MediaKind::Count> m_orders;
    MediaCounts m_skipped;
    int m_skippedTotal = 0;
};
