#include "batch/PickBatchWorker.h"

#include "download/TabDownload.h"
#include "main_window/MainForm.h"
#include "main_window/PickCommand.h"
#include "picking/Pick.h"
#include "picking/ResultPage.h"
#include "platform/BrowserPage.h"

using namespace Qt::StringLiterals;

PickBatchWorker::PickBatchWorker(MainForm &window, QObject *parent) : BatchItemWorker(parent), m_window(&window) {}

PickBatchWorker::~PickBatchWorker()
{
    for (const QPointer<TabDownload> &download : std::as_const(m_downloads))
        delete download.data();
}

void PickBatchWorker::pick(int job, const QString &url)
{
    if (!m_window)
        return;
    // Picked again: the user has dealt with the verification page it left.
    dropForTheUser(url);
    BrowserPage *page = m_window->tabs().openTab()->browser();
    auto *pick = new Pick(page, m_window->pickCommand().designs(), m_window->services().intervals, this);
    m_pages.insert(job, page);
    m_urls.insert(job, url);
    m_picks.insert(job, pick);
    connect(pick, &Pick::ended, this, [this, job, pick](const PickOutcome &outcome) { onEnded(job, pick, outcome); });
    pick->start(url);
}

void PickBatchWorker::onEnded(int job, Pick *pick, const PickOutcome &outcome)
{
    pick->deleteLater();
    m_picks.remove(job);
    using Kind = PickOutcome::Kind;
    switch (outcome.kind) {
    case Kind::Picked:
        keepAsResult(job, outcome.result);
        return emit picked(job, PickEnd::Picked, outcome.result, {});
    case Kind::NeedsVerification:
        return emit picked(job, PickEnd::Blocked, {}, outcome.message);
    case Kind::CouldNotLoad:
        return emit picked(job, PickEnd::Unreachable, {}, outcome.message);
    case Kind::NotProduct:
    case Kind::NavigatedAway:
    case Kind::Cancelled:
        break;
    }
    emit picked(job, PickEnd::Refused, {}, outcome.message.isEmpty() ? u"采集没有结果"_s : outcome.message);
}

// The tab shows its result page and holds the result, as a pick of the
// button leaves it: kept open (保留结果页), it can be looked at and downloaded.
void PickBatchWorker::keepAsResult(int job, const PickResult &result)
{
    Tab *tab = tabOf(job);
    if (!tab || !keepResultPages())
        return;
    tab->markPicked(result.title, result.address);
    tab->showResult(result);
}

void PickBatchWorker::download(int job, const QString &saveFolder, const PickResult &result, const QString &itemFolder)
{
    if (!m_window)
        return;
    auto *tab = new TabDownload(&m_window->fetcher(), MinDescWidth, this);
    m_downloads.insert(job, tab);
    connect(tab, &TabDownload::progress, this, [this, job, tab](int done, int total, const QString &) {
        if (done == 1)
            emit folderMade(job, tab->summary().itemFolder);
        emit downloadProgress(job, done, total);
    });
    connect(tab, &TabDownload::finished, this,
            [this, job, tab](const DownloadSummary &summary) { downloadEnded(job, tab, summary); });
    const bool started = itemFolder.isEmpty() ? tab->start(saveFolder, result) : tab->resume(itemFolder, result);
    if (!started) {
        DownloadSummary summary;
        summary.outcome = DownloadSummary::Outcome::FolderFailed;
        summary.itemFolder = itemFolder;
        summary.error = u"无法在原文件夹中继续下载"_s;
        downloadEnded(job, tab, summary);
    }
}

void PickBatchWorker::downloadEnded(int job, TabDownload *tab, const DownloadSummary &summary)
{
    m_downloads.remove(job);
    tab->deleteLater();
    emit downloaded(job, summary);
}

void PickBatchWorker::cancel(int job)
{
    if (TabDownload *tab = m_downloads.take(job))
        tab->deleteLater(); // deleting a running download leaves no partial file
    if (Pick *pick = m_picks.take(job)) {
        disconnect(pick, nullptr, this, nullptr);
        pick->cancel();
        pick->deleteLater();
    }
    closeTab(job);
    m_pages.remove(job);
    m_urls.remove(job);
    m_shown.remove(job);
}

void PickBatchWorker::release(int job)
{
    // A page the user was sent to (a verification) stays for them to pass.
    if (m_shown.remove(job))
        keepForTheUser(m_urls.value(job), m_pages.value(job));
    else if (!keepResultPages())
        closeTab(job);
    m_pages.remove(job);
    m_urls.remove(job);
}

void PickBatchWorker::bringToFront(int job)
{
    Tab *tab = tabOf(job);
    if (!tab)
        return;
    m_shown.insert(job);
    m_window->tabs().select(tab);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

Tab *PickBatchWorker::tabOf(int job) const
{
    return m_window ? m_window->tabs().tabOf(m_pages.value(job)) : nullptr;
}

void PickBatchWorker::closeTab(int job)
{
    closePage(m_pages.value(job));
}

void PickBatchWorker::keepForTheUser(const QString &url, BrowserPage *page)
{
    dropForTheUser(url);
    m_forTheUser.append({url, page});
    while (m_forTheUser.size() > MaxPagesForTheUser)
        closePage(m_forTheUser.takeFirst().second);
}

void PickBatchWorker::dropForTheUser(const QString &url)
{
    for (qsizetype i = m_forTheUser.size() - 1; i >= 0; --i)
        if (m_forTheUser.at(i).first == url)
            closePage(m_forTheUser.takeAt(i).second);
}

void PickBatchWorker::closePage(BrowserPage *page)
{
    if (m_window && page)
        m_window->tabs().closeTab(m_window->tabs().tabOf(page));
}
