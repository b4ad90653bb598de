#pragma once

#include "download/DownloadSummary.h"

#include <QList>
#include <QString>
#include <QStringList>

// Numbers the description pictures of one download in list order although
// they arrive in any order. Each is fetched to a hidden staged file; when it
// has arrived its width is judged at once (a narrow one is deleted), and the
// kept ones take their names 描述图n as soon as every picture before them in
// the list is settled: the tree is the one a picture-by-picture run makes.
//
// A picture that failed has no place among the kept ones. Its number is one
// after every kept picture (the first failed one first + kept, the next one
// more, …), so that fetching it again later adds it after them without
// renaming a saved file. A retry hands those numbers back as `firstNumber`
// and numbers what it keeps consecutively from there.
class DescriptionOrder
{
public:
    void reset(const QString &folder, const QString &group, const QStringList &urls, int firstNumber, int minWidth);

    int size() const { return int(m_urls.size()); }
    QString url(int index) const { return m_urls.at(index); }
    QString stagedFile(int index) const;

    // A resumed download meets the names an earlier, cut-off run of the same
    // list gave, and never replaces or renames what it saved: a picture whose
    // name holds the same bytes is saved already; a name holding other bytes
    // stays, the numbers after it step over it, and the picture counts as
    // failed (a retry adds it after the kept ones); a picture that fails now keeps the file an earlier run
    // saved under its name.
    void setResuming(bool resuming) { m_resuming = resuming; }

    // The fetch of picture `index` ended; `fetched` says whether the staged
    // file holds it.
    void arrived(int index, bool fetched);
    // Removes the staged files that have not taken their names yet. Call it
    // once no fetch can write any more.
    void discard();

    int kept() const { return m_kept; }
    int unknownWidth() const { return m_unknownWidth; }
    int dropped() const { return m_dropped; }
    // Valid once every picture has arrived.
    QList<FailedPicture> failures() const;

private:
    enum class State { Waiting, Kept, Gone, Failed };
    void nameSettled();
    void settleOverEarlier(const QString &target);

    QString m_folder;
    QString m_group; // the stem of the files' names (描述图)
    QStringList m_urls;
    QList<State> m_states;
    QList<int> m_failed; // indices, in list order once all are settled
    int m_first = 1;
    int m_minWidth = 0;
    int m_next = 0;      // the first picture not yet named or gone
    int m_kept = 0;
    int m_foreign = 0;   // names a resume found holding other files
    int m_unknownWidth = 0;
    int m_dropped = 0;
    bool m_resuming = false;
};
