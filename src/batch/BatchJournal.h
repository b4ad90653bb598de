#pragma once

#include "batch/BatchRow.h"
#include "download/SaveChoice.h"

#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

// The batch's memory in its save folder: a snapshot of every row
// (批量采集.json) and beside it a log of the rows changed since. Each change
// is one line appended to the log and synced before the call returns, so a
// kill at any moment loses no change but the one being written, and a torn
// last line is skipped when the log is read. When the log outgrows the
// snapshot both are folded into a new snapshot, written atomically: the
// cost of a change does not grow with the length of the list.
//
// The log names the snapshot it belongs to; a log left over from an older
// snapshot (a kill between the two steps of folding) is ignored. Neither
// file is read or written when it is a link or no regular file: others may
// write to a save folder too.
class BatchJournal
{
public:
    static const QString FileName;
    static const QString LogFileName;

    explicit BatchJournal(const QString &saveFolder);
    ~BatchJournal();
    BatchJournal(const BatchJournal &) = delete;
    BatchJournal &operator=(const BatchJournal &) = delete;

    QString path() const { return m_path; }
    bool exists() const;

    // Writes all rows as a new snapshot and starts an empty log. False with
    // the system's reason when any step fails (a short write included); the
    // previous journal is then left as it was.
    bool save(const QList<BatchRow> &rows, QString *error = nullptr);

    // Logs rows[i] for each i in `changed` (all in one synced write) and
    // folds the log into a new snapshot when it has grown past it. `rows`
    // is the whole list, as a later load() should return it. Without a
    // save() before, it saves first.
    bool record(const QList<BatchRow> &rows, const QList<int> &changed, QString *error = nullptr);

    // The rows as last saved or recorded; empty with `error` (naming the
    // file) set when the snapshot is missing, unreadable or not a journal.
    // `choice` gets what the batch saves (a journal of before: the default).
    QList<BatchRow> load(QString *error = nullptr, SaveChoice *choice = nullptr) const;

    // What the batch saves of each item, written into every snapshot: a
    // resumed batch keeps the choice it started with.
    void setChoice(const SaveChoice &choice) { m_choice = choice.rulesOnly(); }

    // Bytes this object has written to disk, snapshots and log together.
    qint64 bytesWritten() const { return m_written; }

    // What a new start on this folder works through: the journal's rows
    // first, then addresses it did not have (an address counts once however
    // it is written, see BatchAddresses::normalised). Rows saved completely
    // become 已保存 and are not run again; rows that were running when the
    // program stopped wait again and keep their item folder; failed rows keep
    // their state for 重试失败.
    static QList<BatchRow> resume(const QList<BatchRow> &journal, const QStringList &addresses);

private:
    bool appendLog(const QByteArray &bytes, QString *error);
    void replayLog(const QString &logId, qint64 maxBytes, QList<BatchRow> *rows) const;
    bool snapshotIntact() const;

    QString m_path;
    QString m_logPath;
    QString m_logId; // names the snapshot the log belongs to
    std::unique_ptr<QFile> m_log;
    qint64 m_snapshotBytes = 0;
    qint64 m_logBytes = 0;
    qint64 m_written = 0;
    SaveChoice m_choice;
};
