#include "batch/PickBatchWorker.h"

#include "download/PictureFetcher.h"
#include "download/TabDownload.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "picking/PickCommand.h"

#include <QNetworkAccessManager>

using namespace Qt::StringLiterals;

PickBatchWorker::PickBatchWorker(MainForm &window, QObject *parent)
    : BatchItemWorker(parent), m_window(&window), m_network(new QNetworkAccessManager(this)),
      m_fetcher(new PictureFetcher(m_network, this))
{
    connect(&window.pickCommand(), &PickCommand::resultReady, this, &PickBatchWorker::onResult);
    connect(&window.pickCommand(), &PickCommand::pickEnded, this, &PickBatchWorker::onEnded);
}

PickBatchWorker::~PickBatchWorker()
{
    for (const QPointer<TabDownload> &download : std::as_const(m_downloads))
        delete download.data();
}

void PickBatchWorker::pick(int job, const QString &url)
{
    if (!m_window)
        return;
    TabSet &tabs = m_window->tabs();
    tabs.NewP();
    // The new tab is selected: the pick runs there, and we know it before it can end.
    m_browsers.insert(job, tabs.book().TabList.value(tabs.selectedPosition() - 1, -1));
    m_window->addressStrip().setAddress(url);
    m_window->pickCommand().pick_B_Click();
}

void PickBatchWorker::onResult(int browserIndex, const PickResult &result)
{
    if (jobOf(browserIndex) > 0)
        m_results.insert(browserIndex, result);
}

void PickBatchWorker::onEnded(int browserIndex, bool completed, const QString &message)
{
    const int job = jobOf(browserIndex);
    if (job <= 0)
        return;
    const PickResult result = m_results.take(browserIndex);
    if (completed && !result.address.isEmpty())
        emit picked(job, PickEnd::Picked, result, {});
    else if (message.contains(u"验证"_s))
        emit picked(job, PickEnd::Blocked, result, message);
    else
        emit picked(job, PickEnd::Refused, result, message.isEmpty() ? u"采集没有结果"_s : message);
}

void PickBatchWorker::download(int job, const QString &saveFolder, const PickResult &result, const QString &itemFolder)
{
    auto *tab = new TabDownload(m_fetcher, MinDescWidth, this);
    m_downloads.insert(job, tab);
    connect(tab, &TabDownload::progress, this, [this, job, tab](int done, int total, const QString &) {
        if (done == 1)
            emit folderMade(job, tab->summary().itemFolder);
        emit downloadProgress(job, done, total);
    });
    connect(tab, &TabDownload::finished, this, [this, job, tab](const DownloadSummary &summary) {
        m_downloads.remove(job);
        tab->deleteLater();
        emit downloaded(job, summary);
    });
    const bool started = itemFolder.isEmpty() ? tab->start(saveFolder, result)
                                              : tab->resume(itemFolder, result);
    if (!started) {
        DownloadSummary summary;
        summary.outcome = DownloadSummary::Outcome::FolderFailed;
        summary.itemFolder = itemFolder;
        summary.error = u"无法在原文件夹中继续下载"_s;
        m_downloads.remove(job);
        tab->deleteLater();
        emit downloaded(job, summary);
    }
}

void PickBatchWorker::cancel(int job)
{
    if (TabDownload *tab = m_downloads.take(job))
        tab->deleteLater(); // deleting a running download leaves no partial file
    closeTab(job);
    m_browsers.remove(job);
}

void PickBatchWorker::release(int job)
{
    if (!keepResultPages())
        closeTab(job);
    m_browsers.remove(job);
}

void PickBatchWorker::bringToFront(int job)
{
    const int position = positionOf(job);
    if (m_window && position > 0) {
        m_window->tabs().selectPosition(position);
        m_window->show();
        m_window->raise();
        m_window->activateWindow();
    }
}

int PickBatchWorker::jobOf(int browserIndex) const
{
    for (auto it = m_browsers.cbegin(); it != m_browsers.cend(); ++it) {
        if (it.value() == browserIndex)
            return it.key();
    }
    return 0;
}

int PickBatchWorker::positionOf(int job) const
{
    if (!m_window || !m_browsers.contains(job))
        return 0;
    return int(m_window->tabs().book().TabList.indexOf(m_browsers.value(job))) + 1;
}

void PickBatchWorker::closeTab(int job)
{
    const int position = positionOf(job);
    // The last tab stays: the window always shows one page.
    if (!m_window || position <= 0 || m_window->tabs().count() <= 1)
        return;
    m_window->tabs().selectPosition(position);
    m_window->tabs().closeCurrent();
}
