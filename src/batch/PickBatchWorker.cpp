#include "batch/PickBatchWorker.h"

#include "download/TabDownload.h"
#include "engine/Engine.h"
#include "engine/PageHost.h"
#include "picking/Pick.h"
#include "platform/BrowserPage.h"

using namespace Qt::StringLiterals;

PickBatchWorker::PickBatchWorker(Engine &engine, QObject *parent) : BatchItemWorker(parent), m_engine(engine) {}

PickBatchWorker::~PickBatchWorker()
{
    for (const QPointer<TabDownload> &download : std::as_const(m_downloads))
        delete download.data();
}

void PickBatchWorker::pick(int job, const QString &url)
{
    // Picked again: the user has dealt with the verification page it left.
    dropForTheUser(url);
    BrowserPage *page = m_engine.pages().openPage();
    if (!page) {
        QMetaObject::invokeMethod(this, [this, job] {
            emit picked(job, PickEnd::Unreachable, {}, u"页面无法打开：没有可用的浏览器"_s);
        }, Qt::QueuedConnection);
        return;
    }
    auto *pick = new Pick(page, m_engine.designs(), m_engine.intervals(), this);
    m_pages.insert(job, page);
    m_urls.insert(job, url);
    m_picks.insert(job, pick);
    connect(pick, &Pick::ended, this, [this, job, pick](const PickOutcome &outcome) { onEnded(job, pick, outcome); });
    connect(page, &BrowserPage::closedByUser, this, [this, job] { onClosedByUser(job); });
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

// The page shows its result page and holds the result, as a pick of the
// button leaves it: kept (保留结果页), it can be looked at and downloaded.
void PickBatchWorker::keepAsResult(int job, const PickResult &result)
{
    if (BrowserPage *page = m_pages.value(job); page && keepResultPages()) {
        m_engine.pages().keepResult(page, result);
        m_kept.insert(job, page);
    }
}

void PickBatchWorker::download(int job, const PickResult &result, const QString &itemFolder, bool resume)
{
    auto *tab = new TabDownload(&m_engine.fetcher(), choice(), this);
    m_downloads.insert(job, tab);
    connect(tab, &TabDownload::progress, this,
            [this, job](int done, int total, const QString &) { emit downloadProgress(job, done, total); });
    connect(tab, &TabDownload::finished, this,
            [this, job, tab](const DownloadSummary &summary) { downloadEnded(job, tab, summary); });
    if (resume)
        tab->resume(itemFolder, result);
    else
        tab->startIn(itemFolder, result);
}

void PickBatchWorker::downloadEnded(int job, TabDownload *tab, const DownloadSummary &summary)
{
    m_downloads.remove(job);
    tab->deleteLater();
    if (const QPointer<BrowserPage> page = m_kept.take(job))
        m_engine.pages().keptResultSaved(page, summary);
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
    closeJobPage(job);
    m_pages.remove(job);
    m_urls.remove(job);
    m_shown.remove(job);
    m_kept.remove(job);
}

void PickBatchWorker::onClosedByUser(int job)
{
    // A page the job let go (a kept result, a verification) is the user's to close.
    if (!m_pages.contains(job))
        return;
    // The host closes the page itself: the job only lets it go and stops.
    m_pages.remove(job);
    cancel(job);
    QMetaObject::invokeMethod(this, [this, job] { emit cancelledByUser(job, u"标签页已关闭"_s); }, Qt::QueuedConnection);
}

void PickBatchWorker::release(int job)
{
    // A page the user was sent to (a verification) stays for them to pass.
    if (m_shown.remove(job))
        keepForTheUser(m_urls.value(job), m_pages.value(job));
    else if (!keepResultPages())
        closeJobPage(job);
    m_pages.remove(job);
    m_urls.remove(job);
}

void PickBatchWorker::bringToFront(int job)
{
    BrowserPage *page = m_pages.value(job);
    if (!page)
        return;
    m_shown.insert(job);
    m_engine.pages().showToUser(page);
}

void PickBatchWorker::closeJobPage(int job)
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
    if (page)
        m_engine.pages().closePage(page);
}
