#include "download/TabDownload.h"

#include "download/PictureFetcher.h"
#include "download/PictureFile.h"
#include "download/ProductFiles.h"
#include "download/SaveLayout.h"
#include "download/UnfinishedMark.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

TabDownload::TabDownload(PictureFetcher *fetcher, const SaveChoice &choice, QObject *parent)
    : QObject(parent), m_fetcher(fetcher), m_plan(choice)
{
    // The rows name one least width: the largest in force.
    m_summary.narrowWidth = 0;
    for (const MediaKind &kind : MediaKinds::all())
        m_summary.narrowWidth = std::max(m_summary.narrowWidth, choice.rules[kind.id].minWidth);
}

TabDownload::~TabDownload()
{
    if (m_fetcher)
        m_fetcher->abort(this);
    if (m_running) {
        m_plan.discard();
        markUnfinished();
    }
}

bool TabDownload::start(const QString &folder, const QString &title, const QStringList &mainPics,
                        const QStringList &descPics)
{
    PickResult result;
    result.title = title;
    result.addresses(MediaKind::Main) = mainPics;
    result.addresses(MediaKind::Description) = descPics;
    return start(folder, result);
}

bool TabDownload::start(const QString &folder, const PickResult &result)
{
    if (!launch())
        return false;
    m_folder = folder;
    m_result = result;
    m_summary.total = int(result.pictureCount());
    QMetaObject::invokeMethod(this, &TabDownload::begin, Qt::QueuedConnection);
    return true;
}

bool TabDownload::startIn(const QString &itemFolder, const PickResult &result)
{
    return launchInto(itemFolder, result, &TabDownload::beginIn);
}

bool TabDownload::retry(const QString &itemFolder, const QList<FailedPicture> &failures)
{
    if (!launch())
        return false;
    m_retrying = true;
    m_summary.itemFolder = itemFolder;
    m_retry = failures;
    m_summary.total = int(failures.size());
    QMetaObject::invokeMethod(this, &TabDownload::beginRetry, Qt::QueuedConnection);
    return true;
}

bool TabDownload::resume(const QString &itemFolder, const PickResult &result)
{
    return launchInto(itemFolder, result, &TabDownload::beginResume);
}

bool TabDownload::launchInto(const QString &itemFolder, const PickResult &result, void (TabDownload::*begin)())
{
    if (!launch())
        return false;
    m_summary.itemFolder = itemFolder;
    m_result = result;
    m_summary.total = int(result.pictureCount());
    QMetaObject::invokeMethod(this, begin, Qt::QueuedConnection);
    return true;
}

bool TabDownload::launch()
{
    if (m_started)
        return false;
    m_started = m_running = true;
    return true;
}

void TabDownload::abort()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_fetcher)
        m_fetcher->abort(this);
    m_plan.discard();
    markUnfinished();
    m_summary.outcome = DownloadSummary::Outcome::Aborted;
    m_summary.line.clear();
    QMetaObject::invokeMethod(this, [this] { emit finished(m_summary); }, Qt::QueuedConnection);
}

void TabDownload::begin()
{
    if (!m_running)
        return;
    if (m_folder.isEmpty())
        return finish(DownloadSummary::Outcome::NoFolder);
    if (completesMarkedFolder())
        return;
    if (!m_plan.forResult(m_folder, m_result, m_summary))
        return finish(DownloadSummary::Outcome::FolderFailed);
    countPlanned();
    pump();
}

void TabDownload::beginIn()
{
    if (!m_running)
        return;
    if (!m_plan.forItemFolder(m_result, m_summary))
        return finish(DownloadSummary::Outcome::FolderFailed);
    countPlanned();
    pump();
}

void TabDownload::beginRetry()
{
    if (!m_running)
        return;
    if (!m_plan.forRetry(m_retry, m_summary))
        return finish(DownloadSummary::Outcome::FolderFailed);
    pump();
}

void TabDownload::beginResume()
{
    if (!m_running)
        return;
    m_resuming = true;
    if (!m_plan.forResume(m_result, m_summary))
        return finish(DownloadSummary::Outcome::FolderFailed);
    countPlanned();
    pump();
}

// What is ticked off or of a kind left out is no file asked for.
void TabDownload::countPlanned()
{
    m_summary.total = int(m_plan.jobs().size()) + m_plan.skippedTotal();
}

void TabDownload::pump()
{
    const QList<DownloadPlan::Job> &jobs = m_plan.jobs();
    if (m_done >= jobs.size()) {
        finish(DownloadSummary::Outcome::Completed);
        return;
    }
    while (m_running && m_inFlight < m_parallel && m_nextJob < jobs.size()) {
        const int job = m_nextJob++;
        ++m_inFlight;
        if (!m_fetcher) {
            // Without a fetcher every remaining picture fails; the run still ends.
            QMetaObject::invokeMethod(this, [this, job] { onFetched(job, {false, 0, 0, QStringLiteral("no fetcher")}); },
                                      Qt::QueuedConnection);
            continue;
        }
        const DownloadPlan::Job &j = jobs.at(job);
        m_fetcher->Download(j.kind, j.url, j.file, this, [this, job](const FetchResult &result) { onFetched(job, result); });
    }
}

void TabDownload::onFetched(int job, const FetchResult &result)
{
    if (!m_running)
        return;
    --m_inFlight;
    const DownloadPlan::Job &j = m_plan.jobs().at(job);
    if (j.ordered >= 0)
        m_plan.arrived(j.kind, j.ordered, result.ok);
    else if (result.ok) {
        ++m_fetched[j.kind];
        m_savedJobs.insert(job);
    } else
        m_failedJobs.append(job);
    ++m_done;
    const QPointer<TabDownload> self(this);
    const int done = m_plan.skippedTotal() + m_done;
    emit progress(done, m_summary.total, ProgressLine(done, m_summary.total));
    // A receiver may have aborted or deleted us.
    if (!self || !m_running)
        return;
    pump();
}

void TabDownload::finish(DownloadSummary::Outcome outcome)
{
    m_running = false;
    m_summary.outcome = outcome;
    if (outcome == DownloadSummary::Outcome::Completed) {
        countKept();
        writeProductFiles();
        m_summary.line = CompletionLine(m_summary);
        UnfinishedMark::remove(m_summary.itemFolder);
        // Nothing of ours writes here any more: what a killed run left goes,
        // however young it is.
        if (m_resuming)
            removeLeftovers();
    }
    emit finished(m_summary);
}

void TabDownload::countKept()
{
    std::sort(m_failedJobs.begin(), m_failedJobs.end());
    for (int job : std::as_const(m_failedJobs)) {
        const DownloadPlan::Job &j = m_plan.jobs().at(job);
        m_summary.failures.append({MediaKinds::of(j.kind).folder, j.number, j.url});
    }
    MediaCounts kept = m_plan.skipped();
    kept += m_fetched;
    for (const MediaKind &kind : MediaKinds::all()) {
        const DescriptionOrder &order = m_plan.order(kind.id);
        m_summary.failures += order.failures();
        kept[kind.id] += order.kept();
        m_summary.dropped += order.dropped();
        for (int reason = 0; reason < SaveChoice::Reasons; ++reason)
            m_summary.droppedBy[reason] += order.dropped(SaveChoice::Reason(reason));
        m_summary.unknownWidth += order.unknownWidth();
    }
    m_summary.setKept(kept);
    m_summary.failed = int(m_summary.failures.size());
}

void TabDownload::removeLeftovers()
{
    PictureFile::removeStaleParts(m_summary.itemFolder, 0);
    for (const MediaKind &kind : MediaKinds::all())
        PictureFile::removeStaleParts(m_summary.itemFolder + u'/' + kind.folder, 0);
}

void TabDownload::writeProductFiles()
{
    // A kind whose folder holds only what was saved leaves no empty one (a retry makes it again).
    for (const MediaKind &kind : MediaKinds::all())
        if (kind.folderRule == MediaKind::Folder::WhenSaved && m_summary.kept[kind.id] == 0)
            QDir(m_summary.itemFolder).rmdir(kind.folder);
    const QString video = MediaFileName(QString(), MediaKinds::of(MediaKind::Video), 1, QString()).sliced(1);
    if (m_retrying) {
        // A retry knows no product: it names the video it saved in the file the first run wrote.
        if (m_fetched[MediaKind::Video] > 0)
            ProductFiles::setVideo(m_summary.itemFolder, video, &m_summary.dataError);
        return;
    }
    ProductData product = m_result.product;
    if (m_summary.kept[MediaKind::Video] > 0)
        product.video = video;
    // Results that carry no product (older callers, tests) leave no data files.
    if (product.toJson().isEmpty() || !m_plan.choice().savesInfo())
        return;
    ProductFiles::write(m_summary.itemFolder, product, &m_summary.dataError);
}
