#include "download/TabDownload.h"

#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "picking/CleanName.h"

#include <QFile>

namespace {
const QString MainGroup = QStringLiteral("主图");
const QString DescGroup = QStringLiteral("描述图");
}

TabDownload::TabDownload(PictureFetcher *fetcher, int minDescWidth, QObject *parent)
    : QObject(parent), m_fetcher(fetcher), m_minDescWidth(minDescWidth)
{
}

TabDownload::~TabDownload()
{
    if (m_fetcher)
        m_fetcher->abort(this);
}

bool TabDownload::start(const QString &folder, const QString &title, const QStringList &mainPics,
                        const QStringList &descPics)
{
    if (m_started)
        return false;
    m_started = true;
    m_running = true;
    m_folder = folder;
    m_title = title;
    m_mainPics = mainPics;
    m_descPics = descPics;
    m_summary.total = int(mainPics.size() + descPics.size());
    QMetaObject::invokeMethod(this, &TabDownload::begin, Qt::QueuedConnection);
    return true;
}

bool TabDownload::start(const QString &folder, const PickResult &result)
{
    return start(folder, result.title, result.mainPics, result.descPics);
}

bool TabDownload::retry(const QString &itemFolder, const QList<FailedPicture> &failures)
{
    Q_UNUSED(itemFolder);
    Q_UNUSED(failures);
    return false;
}

void TabDownload::abort()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_fetcher)
        m_fetcher->abort(this);
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
    if (!makeFolder(m_folder + u'/' + CleanName(m_title), &m_summary.itemFolder)
        || !makeFolder(m_summary.itemFolder + u'/' + MainGroup, &m_mainFolder)
        || !makeFolder(m_summary.itemFolder + u'/' + DescGroup, &m_descFolder)) {
        finish(DownloadSummary::Outcome::FolderFailed);
        return;
    }
    fetchNext();
}

bool TabDownload::makeFolder(const QString &path, QString *made)
{
    *made = mkdiruser(path, 0, int(path.size()), &m_summary.error);
    if (!made->isEmpty())
        return true;
    m_summary.line = FolderErrorLine(path);
    return false;
}

void TabDownload::fetchNext()
{
    if (m_done >= m_summary.total) {
        finish(DownloadSummary::Outcome::Completed);
        return;
    }
    if (!m_fetcher) {
        // Without a fetcher every remaining picture fails; the run still ends.
        onFetched({}, false, {false, 0, 0, QStringLiteral("no fetcher")});
        return;
    }
    const bool description = m_done >= m_mainPics.size();
    const QString url = description ? m_descPics.at(m_done - m_mainPics.size()) : m_mainPics.at(m_done);
    const QString file = description ? PictureFileName(m_descFolder, DescGroup, m_keptDesc + 1, url)
                                     : PictureFileName(m_mainFolder, MainGroup, m_done + 1, url);
    m_fetcher->DownloadPicture(url, file, this, [this, file, description](const FetchResult &result) {
        onFetched(file, description, result);
    });
}

void TabDownload::onFetched(const QString &file, bool description, const FetchResult &result)
{
    if (!m_running)
        return;
    if (!result.ok)
        ++m_summary.failed;
    else if (description)
        judgeDescription(file);
    else
        ++m_summary.saved;
    ++m_done;
    const QPointer<TabDownload> self(this);
    emit progress(m_done, m_summary.total, ProgressLine(m_done, m_summary.total));
    // A receiver may have aborted or deleted us.
    if (!self || !m_running)
        return;
    fetchNext();
}

void TabDownload::judgeDescription(const QString &file)
{
    const int width = DescWidth(file);
    if (width >= m_minDescWidth) {
        ++m_summary.saved;
        ++m_keptDesc;
        return;
    }
    // An unreadable file is no picture: it goes as well, counted as failed.
    QFile::remove(file);
    if (width < 0)
        ++m_summary.failed;
    else
        ++m_summary.dropped;
}

void TabDownload::finish(DownloadSummary::Outcome outcome)
{
    m_running = false;
    m_summary.outcome = outcome;
    if (outcome == DownloadSummary::Outcome::Completed)
        m_summary.line = CompletionLine(m_summary.itemFolder, m_summary.failed);
    emit finished(m_summary);
}
