#include "batch/BatchRunner.h"

#include "download/FolderNaming.h"
#include <QDateTime>

using namespace Qt::StringLiterals;

// The scheduling and the worker's answers; BatchRunner.cpp holds the controls.

namespace {

// A row that did not end whole always says why: the table, the JSON line and
// the CSV show it.
QString reasonOf(const DownloadSummary &summary)
{
    QString reason = summary.line;
    if (!summary.error.isEmpty())
        reason += (reason.isEmpty() ? QString() : u": "_s) + summary.error;
    if (reason.isEmpty())
        reason = u"下载失败: %1张图片未能保存"_s.arg(summary.failed);
    return reason;
}

} // namespace

int BatchRunner::nextWaitingRow()
{
    // Rows wait again only through markWaiting(), which moves the start back:
    // finding the next address does not cost more as the list is worked through.
    while (m_waitFrom < m_rows.size() && m_rows[m_waitFrom].state != BatchState::Waiting)
        ++m_waitFrom;
    return m_waitFrom < m_rows.size() ? m_waitFrom : -1;
}

void BatchRunner::scheduleNext()
{
    if (m_status != Status::Running || m_launchTimer.isActive())
        return;
    if (m_jobs.size() >= m_parallel || nextWaitingRow() < 0) {
        if (m_jobs.isEmpty() && nextWaitingRow() < 0)
            setStatus(Status::Finished);
        return;
    }
    if (!m_launchedThisRun) {
        launchDue();
        return;
    }
    m_launchTimer.start(qMax(0, m_delayMs()));
}

void BatchRunner::launchDue()
{
    const int row = nextWaitingRow();
    if (m_status != Status::Running || row < 0 || !m_worker || m_jobs.size() >= m_parallel) {
        scheduleNext();
        return;
    }
    m_launchedThisRun = true;
    const int job = m_nextJob++;
    m_jobs.insert(job, row);
    BatchRow &current = m_rows[row];
    current.state = BatchState::Picking;
    current.note.clear();
    current.reader.clear();
    current.failedNames.clear();
    current.done = current.total = 0;
    current.startedMs = QDateTime::currentMSecsSinceEpoch();
    // Not journalled: a row killed while picking waits again either way.
    emit rowChanged(row);
    QPointer<BatchRunner> self(this);
    m_worker->pick(job, current.url);
    if (self)
        scheduleNext();
}

void BatchRunner::onPicked(int job, BatchItemWorker::PickEnd end, const PickResult &result, const QString &message)
{
    const int row = rowOf(job);
    if (row < 0 || m_rows[row].state != BatchState::Picking)
        return;
    if (end == BatchItemWorker::PickEnd::Refused) {
        finishRow(job, BatchState::NotProduct, message);
        return;
    }
    if (end == BatchItemWorker::PickEnd::Unreachable) {
        finishRow(job, BatchState::Unreachable, message);
        return;
    }
    if (end == BatchItemWorker::PickEnd::Blocked) {
        if (m_worker)
            m_worker->bringToFront(job);
        finishRow(job, BatchState::NeedsCheck, message);
        return;
    }
    BatchRow &current = m_rows[row];
    current.title = result.title;
    current.productTitle = FolderNaming::itemTitle(result);
    current.found = result.media.counts();
    current.note = result.note;
    current.reader = result.reader;
    current.descriptionMissing = result.descriptionMissing;
    // The folder is made and journalled before any picture is fetched: a
    // kill at any later moment finds it, and a rerun completes the item there.
    QString error;
    const QString journalled = current.folder;
    const QString folder = itemFolderFor(current, current.productTitle, &error);
    if (folder.isEmpty()) {
        finishRow(job, BatchState::Failed, error);
        return;
    }
    current.folder = folder;
    current.state = BatchState::Downloading;
    changed(row);
    if (m_worker && m_jobs.contains(job))
        m_worker->download(job, result, folder, !journalled.isEmpty() && folder == journalled);
}

void BatchRunner::onProgress(int job, int done, int total)
{
    const int row = rowOf(job);
    if (row < 0)
        return;
    m_rows[row].done = done;
    m_rows[row].total = total;
    emit rowChanged(row); // not journalled: a restart counts again anyway
}

void BatchRunner::onDownloaded(int job, const DownloadSummary &summary)
{
    const int row = rowOf(job);
    if (row < 0 || m_rows[row].state != BatchState::Downloading)
        return;
    BatchRow &current = m_rows[row];
    if (!summary.itemFolder.isEmpty())
        current.folder = summary.itemFolder;
    current.saved = summary.saved;
    current.dropped = summary.dropped;
    current.droppedBy = summary.droppedBy;
    current.failed = summary.failed;
    current.failedNames.clear();
    for (const FailedPicture &picture : summary.failures)
        current.failedNames << picture.name();
    using Outcome = DownloadSummary::Outcome;
    const bool whole = summary.outcome == Outcome::Completed && summary.failed == 0;
    // Only a video kept is not nothing: the rerun completes the item.
    const bool nothingKept = summary.saved == 0 && summary.kept == MediaCounts();
    if (whole && current.descriptionMissing)
        finishRow(job, BatchState::Partial, current.note.isEmpty() ? u"描述没有读到"_s : current.note);
    else if (whole && !summary.dataError.isEmpty())
        finishRow(job, BatchState::Partial, u"商品信息未能保存: "_s + summary.dataError); // a rerun writes them again
    else if (whole)
        finishRow(job, BatchState::Done, {});
    else if (summary.outcome == Outcome::Completed)
        finishRow(job, nothingKept ? BatchState::Failed : BatchState::Partial, reasonOf(summary));
    else if (summary.outcome == Outcome::Aborted)
        finishRow(job, BatchState::Partial, u"下载被中止"_s);
    else
        finishRow(job, BatchState::Failed, reasonOf(summary));
}

void BatchRunner::onCancelledByUser(int job, const QString &message)
{
    const int row = rowOf(job);
    if (row >= 0 && !batchStateIsFinal(m_rows[row].state) && m_rows[row].state != BatchState::Waiting)
        finishRow(job, BatchState::Cancelled, message);
}

void BatchRunner::finishRow(int job, BatchState state, const QString &note)
{
    const int row = m_jobs.take(job);
    BatchRow &current = m_rows[row];
    current.state = state;
    current.note = note;
    current.descriptionMissing = false;
    ++m_endedThisRun;
    m_unreachableInRow = state == BatchState::Unreachable ? m_unreachableInRow + 1 : 0;
    changed(row);
    if (m_worker)
        m_worker->release(job);
    QPointer<BatchRunner> self(this);
    emit rowFinished(row);
    if (!self)
        return;
    if (state == BatchState::NeedsCheck && m_pauseOnBlock) {
        m_blockedRows.append(row);
        pause(u"需要验证: 请在打开的页面上完成验证, 然后按 继续"_s);
    } else if (m_unreachableInRow >= UnreachableBeforePause) {
        // Pages that are not product pages never stop a batch; this many
        // unreachable ones in a row mean the line is down, not the pages.
        pause(u"连续 %1 个地址无法打开, 网络可能已断开; 请检查网络后按 继续"_s.arg(m_unreachableInRow));
    }
    scheduleNext();
}
