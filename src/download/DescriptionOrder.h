#pragma once

#include "download/DownloadSummary.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Numbers the pictures of one judged kind of one download (see
// SaveChoice::judged: description pictures by default) in list order although
// they arrive in any order. Each is fetched to a hidden staged file; when it
// has arrived its size is judged at once (one the rules leave out is
// deleted), and the kept ones take their names 描述图n as soon as every
// picture before them in the list is settled: the tree is the one a
// picture-by-picture run makes. With the repeat rule, a picture whose bytes
// an earlier one of the item had is deleted when its turn to be named comes.
//
// A picture that failed has no place among the kept ones. Its number is one
// after every kept picture (the first failed one first + kept, the next one
// more, …), so that fetching it again later adds it after them without
// renaming a saved file. A retry hands those numbers back as `firstNumber`
// and numbers what it keeps consecutively from there.
class DescriptionOrder
{
public:
    // The hashes of the pictures an item kept so far, shared by its kinds.
    using Seen = QSet<QByteArray>;
    // `forced`: per picture, kept whatever the rules say (ticked back by the
    // user); `seen`: null without the repeat rule.
    void reset(const QString &folder, const QString &group, const QStringList &urls, int firstNumber,
               SaveChoice::Rule rule, const QList<bool> &forced = {}, Seen *seen = nullptr);

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
    // file holds it. Names what is settled unless held.
    void arrived(int index, bool fetched);
    // While held nothing is named: the repeat rule keeps the first place a
    // picture has in the item, so a kind waits for the kinds before it.
    void setHeld(bool held) { m_held = held; }
    void settle() { nameSettled(); }
    bool complete() const { return m_next >= m_states.size(); }
    // Removes the staged files that have not taken their names yet. Call it
    // once no fetch can write any more.
    void discard();

    int kept() const { return m_kept; }
    int unknownWidth() const { return m_unknownWidth; }
    int dropped() const { return m_dropped[SaveChoice::Narrow] + m_dropped[SaveChoice::Low] + m_dropped[SaveChoice::Same]; }
    int dropped(SaveChoice::Reason reason) const { return m_dropped[reason]; }
    // Valid once every picture has arrived.
    QList<FailedPicture> failures() const;

private:
    enum class State { Waiting, Kept, Gone, Failed };
    void nameSettled();
    void settleOverEarlier(const QString &target);
    bool isRepeat(const QString &file);

    QString m_folder;
    QString m_group; // the stem of the files' names (描述图)
    QStringList m_urls;
    QList<State> m_states;
    QList<int> m_failed; // indices, in list order once all are settled
    int m_first = 1;
    SaveChoice::Rule m_rule;
    QList<bool> m_forced;
    Seen *m_seen = nullptr;
    int m_next = 0;      // the first picture not yet named or gone
    int m_kept = 0;
    int m_foreign = 0;   // names a resume found holding other files
    int m_unknownWidth = 0;
    std::array<int, SaveChoice::Reasons> m_dropped{};
    bool m_resuming = false;
    bool m_held = false;
};
