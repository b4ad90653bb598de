// From one page of a list to the next: a 下一页 link is followed, a 下一页
// button pressed and the list's change awaited.
#include "collecting/Collection.h"

#include "engine/Engine.h"
#include "platform/BrowserPage.h"

#include <QUrl>

using namespace Qt::StringLiterals;

bool Collection::seen(const QString &url) const
{
    return m_visited.contains(QUrl(url).adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded));
}

void Collection::goOn(const ListPage &list)
{
    if (m_pagesRead >= m_maxPages || m_offers.full() || list.next == ListPage::Next::None)
        return finish();
    if (list.next == ListPage::Next::Link) {
        if (seen(list.nextHref))
            return finish(u"下一页是看过的页面"_s);
        return afterDelay([this, next = list.nextHref] { load(next); });
    }
    afterDelay([this, list] { pressNext(list); });
}

void Collection::afterDelay(std::function<void()> step)
{
    disconnect(&m_wait, nullptr, this, nullptr);
    connect(&m_wait, &QTimer::timeout, this, [this, step] {
        if (m_state == State::Running)
            step();
    });
    m_wait.start(qMax(0, m_delayMs()));
}

void Collection::pressNext(const ListPage &before)
{
    if (!m_page)
        return finish(u"采集已取消"_s);
    m_page->readListPage(PageGathering::MaxLinks, true, this, [this, before](const ListPage &pressed) {
        if (m_state != State::Running)
            return;
        if (!pressed.pressed)
            return finish();
        m_changeClock.start();
        awaitChange(before);
    });
}

// A list redrawn by script shows other links (or the page goes elsewhere);
// one that stays as it was for the pick's grace has no next page after all.
void Collection::awaitChange(const ListPage &before)
{
    if (!m_page)
        return finish(u"采集已取消"_s);
    if (m_page->ReadyState() != BrowserPage::ReadyComplete)
        return gather();
    m_page->readListPage(PageGathering::MaxLinks, false, this, [this, before](const ListPage &now) {
        if (m_state != State::Running)
            return;
        if (now.url != before.url || (!now.links.isEmpty() && now.links != before.links))
            return gather();
        if (m_changeClock.elapsed() >= m_engine.intervals().pickGraceMs)
            return finish(u"下一页没有反应"_s);
        disconnect(&m_wait, nullptr, this, nullptr);
        connect(&m_wait, &QTimer::timeout, this, [this, before] { awaitChange(before); });
        m_wait.start(qMax(1, m_engine.intervals().accessTickMs / 5));
    });
}
