#include "batch/BatchRunner.h"

#include "batch/BatchAddresses.h"

#include <QDateTime>
#include <QDir>
#include <QRandomGenerator>

using namespace Qt::StringLiterals;

const QString BatchRunner::LockFileName = u"批量采集.lock"_s;

BatchRunner::BatchRunner(BatchItemWorker *worker, QObject *parent)
    : QObject(parent), m_worker(worker), m_delayMs(randomDelay(2000, 5000))
{
    m_launchTimer.setSingleShot(true);
    connect(&m_launchTimer, &QTimer::timeout, this, &BatchRunner::launchDue);
    connect(worker, &BatchItemWorker::picked, this, &BatchRunner::onPicked);
    connect(worker, &BatchItemWorker::downloadProgress, this, &BatchRunner::onProgress);
    connect(worker, &BatchItemWorker::downloaded, this, &BatchRunner::onDownloaded);
    connect(worker, &BatchItemWorker::cancelledByUser, this, &BatchRunner::onCancelledByUser);
    // Connected before anyone else: whoever hears of a change asks counts that include it.
    connect(this, &BatchRunner::rowsReset, this, [this] { m_tally.reset(m_rows); });
    connect(this, &BatchRunner::rowChanged, this, [this](int row) { m_tally.update(row, m_rows[row].state); });
}

BatchRunner::~BatchRunner()
{
    if (m_worker) {
        for (auto it = m_jobs.cbegin(); it != m_jobs.cend(); ++it)
            m_worker->cancel(it.key());
    }
}

std::function<int()> BatchRunner::randomDelay(int minMs, int maxMs)
{
    return [minMs, maxMs] { return maxMs <= minMs ? minMs : int(QRandomGenerator::global()->bounded(minMs, maxMs + 1)); };
}

bool BatchRunner::open(const QString &saveFolder, const QStringList &addresses, QString *error)
{
    if (m_status == Status::Running || !m_jobs.isEmpty()) {
        if (error)
            *error = u"批量采集正在运行"_s;
        return false;
    }
    if (!lockFolder(saveFolder, error))
        return false;
    auto journal = std::make_unique<BatchJournal>(saveFolder);
    QList<BatchRow> earlier;
    if (journal->exists()) {
        QString reason;
        // A batch resumed keeps what it saved from the start, whatever 选项 says now.
        earlier = journal->load(&reason, &m_choice);
        // An unreadable journal is kept for the user, never silently overwritten.
        if (!reason.isEmpty()) {
            if (error)
                *error = reason;
            return false;
        }
    }
    const QList<BatchRow> rows = BatchJournal::resume(earlier, addresses);
    journal->setChoice(m_choice);
    if (m_worker)
        m_worker->setChoice(m_choice);
    if (!journal->save(rows, error))
        return false;
    m_journal = std::move(journal);
    m_saveFolder = saveFolder;
    m_rows = rows;
    m_known.clear();
    for (const BatchRow &row : rows)
        m_known.insert(BatchAddresses::normalised(row.url));
    m_waitFrom = 0;
    m_blockedRows.clear();
    emit rowsReset();
    setStatus(Status::Idle);
    return true;
}

void BatchRunner::add(const QStringList &addresses)
{
    if (m_saveFolder.isEmpty())
        return;
    QList<int> added;
    for (const QString &url : addresses) {
        const QString key = BatchAddresses::normalised(url);
        if (m_known.contains(key))
            continue;
        m_known.insert(key);
        BatchRow row;
        row.url = url;
        m_rows.append(row);
        added << int(m_rows.size()) - 1;
    }
    if (!added.isEmpty())
        emit rowsAdded(added.first(), added.last());
    changedRows(added);
    if (m_status == Status::Finished && !added.isEmpty())
        start();
    else
        scheduleNext();
}

void BatchRunner::setParallel(int count)
{
    m_parallel = qBound(1, count, MaxParallel);
    scheduleNext();
}

void BatchRunner::start()
{
    if (m_saveFolder.isEmpty() || m_status == Status::Running)
        return;
    QList<int> woken;
    for (int row : std::as_const(m_blockedRows)) {
        if (row < m_rows.size() && m_rows[row].state == BatchState::NeedsCheck) {
            markWaiting(row);
            woken << row;
        }
    }
    m_blockedRows.clear();
    changedRows(woken);
    m_unreachableInRow = 0;
    m_launchedThisRun = false;
    m_endedThisRun = 0;
    m_runClock.start();
    setStatus(Status::Running);
    scheduleNext();
}

void BatchRunner::pause(const QString &reason)
{
    if (m_status != Status::Running)
        return;
    m_launchTimer.stop();
    setStatus(Status::Paused, reason);
}

void BatchRunner::stop()
{
    m_launchTimer.stop();
    const QHash<int, int> jobs = std::exchange(m_jobs, {});
    QList<int> stopped;
    for (auto it = jobs.cbegin(); it != jobs.cend(); ++it) {
        if (m_worker)
            m_worker->cancel(it.key());
        m_rows[it.value()].done = m_rows[it.value()].total = 0;
        markWaiting(it.value());
        stopped << it.value();
    }
    changedRows(stopped);
    setStatus(Status::Stopped);
}

void BatchRunner::retryFailed()
{
    if (m_status == Status::Running)
        return;
    // One journal write for all of them: a long list of failures must not
    // hold up the first item.
    QList<int> failed;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (batchStateIsFailure(m_rows[i].state)) {
            m_rows[i].note.clear();
            markWaiting(i);
            failed << i;
        }
    }
    changedRows(failed);
    start();
}

std::optional<int> BatchRunner::secondsLeft() const
{
    if (m_endedThisRun == 0 || !m_runClock.isValid())
        return std::nullopt;
    const int left = int(m_rows.size()) - finishedCount();
    const double perItem = double(m_runClock.elapsed()) / 1000.0 / m_endedThisRun;
    return int(perItem * left + 0.5);
}

void BatchRunner::setStatus(Status status, const QString &reason)
{
    m_status = status;
    emit statusChanged(status, reason);
}

void BatchRunner::markWaiting(int row)
{
    m_rows[row].state = BatchState::Waiting;
    m_waitFrom = std::min(m_waitFrom, row);
}

void BatchRunner::changedRows(const QList<int> &rows)
{
    if (rows.isEmpty())
        return;
    // Counted before any is told: whoever hears of the first (or of a pause
    // for a failed write) sees the counts with them all.
    for (int row : rows)
        m_tally.update(row, m_rows[row].state);
    QString error;
    // Going on without a journal would lose the promise that nothing is done twice.
    if ((!m_journal || !m_journal->record(m_rows, rows, &error)) && m_status == Status::Running)
        pause(u"无法写入批量记录: "_s + error);
    for (int row : rows)
        emit rowChanged(row);
}
