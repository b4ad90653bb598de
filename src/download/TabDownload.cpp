#include "download/TabDownload.h"

#include "download/PictureFetcher.h"
#include "download/PictureFile.h"
#include "download/ProductFiles.h"
#include "download/SaveLayout.h"
#include "picking/CleanName.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString MainGroup = MediaGroup::folderOf(MediaGroup::Kind::Main);
const QString SkuGroup = MediaGroup::folderOf(MediaGroup::Kind::Sku);
const QString DescGroup = MediaGroup::folderOf(MediaGroup::Kind::Description);
const QString VideoGroup = MediaGroup::folderOf(MediaGroup::Kind::Video);

// A video's name does not follow its address: a page's address may end in
// anything, and players know an MP4 by its extension.
QString VideoFileName(int number)
{
    return VideoGroup + QString::number(number) + QStringLiteral(".mp4");
}
}

TabDownload::TabDownload(PictureFetcher *fetcher, int minDescWidth, QObject *parent)
    : QObject(parent), m_fetcher(fetcher), m_minDescWidth(minDescWidth)
{
}

TabDownload::~TabDownload()
{
    if (m_fetcher)
        m_fetcher->abort(this);
    if (m_running)
        m_descriptions.discard();
}

bool TabDownload::start(const QString &folder, const QString &title, const QStringList &mainPics,
                        const QStringList &descPics)
{
    PickResult result;
    result.title = title;
    result.mainPics = mainPics;
    result.descPics = descPics;
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
    if (!launch())
        return false;
    m_summary.itemFolder = itemFolder;
    m_result = result;
    m_summary.total = int(result.pictureCount());
    QMetaObject::invokeMethod(this, &TabDownload::beginResume, Qt::QueuedConnection);
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
    m_descriptions.discard();
    m_summary.outcome = DownloadSummary::Outcome::Aborted;
    m_summary.line.clear();
    QMetaObject::invokeMethod(this, [this] { emit finished(m_summary); }, Qt::QueuedConnection);
}

void TabDownload::begin()
{
    if (!m_running)
        return;
    if (m_folder.isEmpty()) {
        finish(DownloadSummary::Outcome::NoFolder);
        return;
    }
    // Stop at the first folder that cannot be made: pictures go nowhere else.
    if (!makeFolder(m_folder + u'/' + CleanName(m_result.title), &m_summary.itemFolder))
        return finish(DownloadSummary::Outcome::FolderFailed);
    const QList<MediaGroup> groups = m_result.groups();
    QStringList folders;
    for (const MediaGroup &group : groups) {
        QString folder;
        if ((group.folderWhenEmpty() || !group.addresses.isEmpty())
            && !makeFolder(m_summary.itemFolder + u'/' + group.folder(), &folder))
            return finish(DownloadSummary::Outcome::FolderFailed);
        folders << folder;
    }
    for (qsizetype i = 0; i < groups.size(); ++i) {
        // Description pictures are numbered over the ones kept (see DescriptionOrder).
        if (groups[i].kind == MediaGroup::Kind::Description)
            addDescriptions(folders[i], groups[i].addresses, 1);
        else
            addJobs(groups[i].folder(), folders[i], groups[i].addresses, 1);
    }
    pump();
}

void TabDownload::beginRetry()
{
    if (!m_running)
        return;
    PictureFile::removeStaleParts(m_summary.itemFolder);
    QStringList descUrls;
    int firstDesc = 0;
    for (const FailedPicture &failure : std::as_const(m_retry)) {
        QString folder;
        if (!makeGroupFolder(failure.group, &folder)) {
            finish(DownloadSummary::Outcome::FolderFailed);
            return;
        }
        if (failure.group == DescGroup) {
            descUrls << failure.url;
            firstDesc = firstDesc ? std::min(firstDesc, failure.number) : failure.number;
        } else {
            addJobs(failure.group, folder, {failure.url}, failure.number);
        }
    }
    QString descFolder = m_summary.itemFolder + u'/' + DescGroup;
    addDescriptions(descFolder, descUrls, std::max(firstDesc, 1));
    pump();
}

void TabDownload::beginResume()
{
    if (!m_running)
        return;
    // The user may have removed a half-saved item's folder: it is made anew.
    if (!QFileInfo::exists(m_summary.itemFolder))
        QDir().mkdir(m_summary.itemFolder);
    m_resuming = true;
    PictureFile::removeStaleParts(m_summary.itemFolder);
    QString mainFolder, skuFolder, descFolder, videoFolder;
    if (!makeGroupFolder(MainGroup, &mainFolder)
        || (!m_result.skuPics.isEmpty() && !makeGroupFolder(SkuGroup, &skuFolder))
        || !makeGroupFolder(DescGroup, &descFolder)
        || (!m_result.videos.isEmpty() && !makeGroupFolder(VideoGroup, &videoFolder))) {
        finish(DownloadSummary::Outcome::FolderFailed);
        return;
    }
    addJobs(MainGroup, mainFolder, m_result.mainPics, 1);
    addJobs(SkuGroup, skuFolder, m_result.skuPics, 1);
    addJobs(VideoGroup, videoFolder, m_result.videos, 1);
    // A main or SKU picture's name depends on its place alone: one that is
    // there was saved whole (files take their names only when complete).
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(), [this](const Job &job) {
                     const bool saved = QFileInfo(job.file).isFile();
                     m_skipped += saved ? 1 : 0;
                     m_skippedVideos += saved && job.video ? 1 : 0;
                     return saved;
                 }),
                 m_jobs.end());
    // Description names depend on the widths of the pictures before them, so
    // they are all judged again; what an earlier run saved keeps its name.
    addDescriptions(descFolder, m_result.descPics, 1);
    m_descriptions.setResuming(true);
    pump();
}

bool TabDownload::makeFolder(const QString &path, QString *made)
{
    *made = mkdiruser(path, 0, int(path.size()), &m_summary.error);
    if (!made->isEmpty())
        return true;
    m_summary.line = FolderErrorLine(path);
    return false;
}

// A retry writes into the folders the first run made; one the user removed
// meanwhile is made again, and its leftovers are swept.
bool TabDownload::makeGroupFolder(const QString &group, QString *made)
{
    *made = m_summary.itemFolder + u'/' + group;
    const bool known = group == MainGroup || group == SkuGroup || group == DescGroup || group == VideoGroup;
    if (known && QFileInfo(m_summary.itemFolder).isDir() && (QFileInfo(*made).isDir() || QDir().mkdir(*made))) {
        PictureFile::removeStaleParts(*made);
        return true;
    }
    m_summary.error = known ? QStringLiteral("cannot write into %1").arg(*made) : QStringLiteral("unknown group");
    m_summary.line = FolderErrorLine(*made);
    return false;
}

void TabDownload::addJobs(const QString &group, const QString &folder, const QStringList &urls, int firstNumber)
{
    const bool video = group == VideoGroup;
    for (int i = 0; i < urls.size(); ++i) {
        const int number = firstNumber + i;
        const QString file = video ? folder + u'/' + VideoFileName(number) : PictureFileName(folder, group, number, urls.at(i));
        m_jobs.append({group, number, urls.at(i), file, -1, video});
    }
}

void TabDownload::addDescriptions(const QString &folder, const QStringList &urls, int firstNumber)
{
    m_descriptions.reset(folder, urls, firstNumber, m_minDescWidth);
    for (int j = 0; j < urls.size(); ++j)
        m_jobs.append({DescGroup, 0, urls.at(j), m_descriptions.stagedFile(j), j, false});
}

void TabDownload::pump()
{
    if (m_done >= m_jobs.size()) {
        finish(DownloadSummary::Outcome::Completed);
        return;
    }
    while (m_running && m_inFlight < m_parallel && m_nextJob < m_jobs.size()) {
        const int job = m_nextJob++;
        ++m_inFlight;
        if (!m_fetcher) {
            // Without a fetcher every remaining picture fails; the run still ends.
            QMetaObject::invokeMethod(this, [this, job] { onFetched(job, {false, 0, 0, QStringLiteral("no fetcher")}); },
                                      Qt::QueuedConnection);
            continue;
        }
        const Job &j = m_jobs.at(job);
        auto done = [this, job](const FetchResult &result) { onFetched(job, result); };
        if (j.video)
            m_fetcher->DownloadVideo(j.url, j.file, this, done);
        else
            m_fetcher->DownloadPicture(j.url, j.file, this, done);
    }
}

void TabDownload::onFetched(int job, const FetchResult &result)
{
    if (!m_running)
        return;
    --m_inFlight;
    const Job &j = m_jobs.at(job);
    if (j.descIndex >= 0)
        m_descriptions.arrived(j.descIndex, result.ok);
    else if (result.ok)
        ++(j.video ? m_videos : m_saved);
    else
        m_failedJobs.append(job);
    ++m_done;
    const QPointer<TabDownload> self(this);
    emit progress(m_skipped + m_done, m_summary.total, ProgressLine(m_skipped + m_done, m_summary.total));
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
        std::sort(m_failedJobs.begin(), m_failedJobs.end());
        for (int job : std::as_const(m_failedJobs))
            m_summary.failures.append({m_jobs.at(job).group, m_jobs.at(job).number, m_jobs.at(job).url});
        m_summary.failures += m_descriptions.failures();
        m_summary.videos = m_skippedVideos + m_videos;
        m_summary.saved = m_skipped - m_skippedVideos + m_saved + m_descriptions.kept();
        m_summary.dropped = m_descriptions.dropped();
        m_summary.unknownWidth = m_descriptions.unknownWidth();
        m_summary.failed = int(m_summary.failures.size());
        writeProductFiles();
        m_summary.line = CompletionLine(m_summary);
        // Nothing of ours writes here any more: what a killed run left goes,
        // however young it is.
        if (m_resuming)
            removeLeftovers();
    }
    emit finished(m_summary);
}

void TabDownload::removeLeftovers()
{
    PictureFile::removeStaleParts(m_summary.itemFolder, 0);
    const QStringList groups{MainGroup, SkuGroup, DescGroup, VideoGroup};
    for (const QString &group : groups)
        PictureFile::removeStaleParts(m_summary.itemFolder + u'/' + group, 0);
}

void TabDownload::writeProductFiles()
{
    // A video that could not be saved leaves no empty folder (a retry makes it again).
    if (m_summary.videos == 0)
        QDir(m_summary.itemFolder).rmdir(VideoGroup);
    const QString video = VideoFileName(1);
    if (m_retrying) {
        // A retry knows no product: it names the video it saved in the file the first run wrote.
        if (m_videos > 0)
            ProductFiles::setVideo(m_summary.itemFolder, video, &m_summary.dataError);
        return;
    }
    ProductData product = m_result.product;
    if (m_summary.videos > 0)
        product.video = video;
    // Results that carry no product (older callers, tests) leave no data files.
    if (product.toJson().isEmpty())
        return;
    ProductFiles::write(m_summary.itemFolder, product, &m_summary.dataError);
}
