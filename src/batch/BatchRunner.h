#pragma once

#include "batch/BatchItemWorker.h"
#include "batch/BatchJournal.h"
#include "batch/BatchRow.h"
#include "batch/BatchTally.h"
#include "download/SaveChoice.h"

#include <QElapsedTimer>
#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

// Works through a batch's rows with a worker, a few at a time, with a pause
// between addresses, and records every change of a row in the journal. Pages
// that are not product pages never stop it; it pauses when the marketplace
// asks for a verification (unless told not to) and after a run of pages that
// could not be loaded, when the line is likely down. While a folder is open
// its lock file keeps a second batch out of it.
class BatchRunner : public QObject
{
    Q_OBJECT
public:
    enum class Status { Idle, Running, Paused, Stopped, Finished };
    Q_ENUM(Status)

    static constexpr int MaxParallel = 4;
    static constexpr int UnreachableBeforePause = 5;
    static const QString LockFileName;

    explicit BatchRunner(BatchItemWorker *worker, QObject *parent = nullptr);
    ~BatchRunner() override;

    // Takes the folder's lock, reads its journal (if any) and adds the
    // addresses it lacks; writes the journal at once so that an unusable
    // folder shows before the first item. Not while running; refused while
    // another batch holds the folder.
    bool open(const QString &saveFolder, const QStringList &addresses, QString *error = nullptr);

    // Appends the addresses the batch does not have yet (a list still being
    // read) and journals them; a finished batch starts again on them.
    void add(const QStringList &addresses);

    // What every item saves, before open(); a folder whose journal has a
    // batch already keeps that batch's choice (see choice()).
    void setChoice(const SaveChoice &choice) { m_choice = choice.rulesOnly(); }
    const SaveChoice &choice() const { return m_choice; }

    void setParallel(int count);
    // The pause before each address after the first, in milliseconds.
    void setDelay(std::function<int()> delayMs) { m_delayMs = std::move(delayMs); }
    static std::function<int()> randomDelay(int minMs, int maxMs);
    // Off for the screenless run: a page that wants verification is just a failure there.
    void setPauseOnBlock(bool pause) { m_pauseOnBlock = pause; }

    void start();       // 开始 and 继续: rows stopped by a verification are picked again first
    void pause(const QString &reason = {}); // no new address; those under way finish
    void stop();        // cancels what runs; those rows wait again, folders kept
    void retryFailed(); // failed rows wait again (partial ones in their own folder), then start

    const QList<BatchRow> &rows() const { return m_rows; }
    Status status() const { return m_status; }
    QString saveFolder() const { return m_saveFolder; }
    int finishedCount() const { return m_tally.finished(); }
    const BatchTally &tally() const { return m_tally; }
    int runningCount() const { return int(m_jobs.size()); }
    // Bytes the journal has written since open() began (for the benchmark).
    qint64 journalBytesWritten() const { return m_journal ? m_journal->bytesWritten() : 0; }
    // Seconds to the end from this run's pace; nullopt before the first item ends.
    std::optional<int> secondsLeft() const;

Q_SIGNALS:
    void rowsReset();
    // add() appended rows first..last; their rowChanged follows.
    void rowsAdded(int first, int last);
    void rowChanged(int row);
    void rowFinished(int row);
    void statusChanged(BatchRunner::Status status, const QString &reason);

private:
    void setStatus(Status status, const QString &reason = {});
    void changed(int row) { changedRows({row}); }
    void changedRows(const QList<int> &rows);
    void markWaiting(int row);
    bool lockFolder(const QString &saveFolder, QString *error);
    QString itemFolderFor(const BatchRow &row, const QString &title, QString *error) const;
    void scheduleNext();
    void launchDue();
    int nextWaitingRow();
    void onPicked(int job, BatchItemWorker::PickEnd end, const PickResult &result, const QString &message);
    void onProgress(int job, int done, int total);
    void onDownloaded(int job, const DownloadSummary &summary);
    void onCancelledByUser(int job, const QString &message);
    void finishRow(int job, BatchState state, const QString &note);
    int rowOf(int job) const { return m_jobs.value(job, -1); }

    QPointer<BatchItemWorker> m_worker;
    QList<BatchRow> m_rows;
    QSet<QString> m_known; // the rows' addresses, normalised
    BatchTally m_tally;
    QString m_saveFolder;
    std::unique_ptr<BatchJournal> m_journal;
    std::unique_ptr<QLockFile> m_lock;
    QString m_lockedFolder;
    QHash<int, int> m_jobs; // job -> row
    QList<int> m_blockedRows;
    int m_nextJob = 1;
    int m_parallel = 1;
    int m_unreachableInRow = 0;
    int m_waitFrom = 0; // no row before it waits
    bool m_pauseOnBlock = true;
    SaveChoice m_choice;
    bool m_launchedThisRun = false;
    Status m_status = Status::Idle;
    std::function<int()> m_delayMs;
    QTimer m_launchTimer;
    QElapsedTimer m_runClock;
    int m_endedThisRun = 0;
};
