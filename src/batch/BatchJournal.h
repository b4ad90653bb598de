#pragma once

#include "batch/BatchRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// The batch's memory in its save folder: the list and each row's state,
// rewritten whole and atomically after every change, so that a crash or a
// power cut leaves either the previous or the new journal, never a torn one.
class BatchJournal
{
public:
    static const QString FileName;

    explicit BatchJournal(const QString &saveFolder);

    QString path() const { return m_path; }
    bool exists() const;

    // False with the system's reason when any step fails (a short write
    // included); the previous journal is then left as it was.
    bool save(const QList<BatchRow> &rows, QString *error = nullptr) const;

    // The rows as last saved; empty with `error` set when the file is
    // missing, unreadable or not a journal.
    QList<BatchRow> load(QString *error = nullptr) const;

    // What a new start on this folder works through: the journal's rows
    // first, then addresses it did not have. Rows saved completely become
    // 已保存 and are not run again; rows that were running when the program
    // stopped wait again and keep their item folder; failed rows keep their
    // state for 重试失败.
    static QList<BatchRow> resume(const QList<BatchRow> &journal, const QStringList &addresses);

private:
    QString m_path;
};
