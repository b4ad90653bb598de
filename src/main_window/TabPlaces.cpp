// Where the tabs are: look-ups by index, page and place, and the layout.
#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"

#include <QPushButton>

void TabSet::applyLayout(const MainLayout &layout)
{
    m_layout = layout;
    if (!layout.browsersMoved)
        return;
    for (int n : std::as_const(m_book.TabList))
        placeTab(n);
    m_strip->setGeometry(layout.tabStrip);
    m_closeButton->setGeometry(layout.closeButton);
}

void TabSet::placeTab(int n)
{
    if (!m_layout.browsersMoved)
        return;
    // The page starts below the message list, so the list hides none of it.
    MesgList *list = mesg(n);
    const QRect page = m_layout.browser;
    int pageTop = page.top();
    if (list) {
        const int height = qMin(list->preferredHeight(), page.height() / 2);
        list->setGeometry(m_layout.mesg.x(), m_layout.mesg.y(), m_layout.mesg.width(), height);
        if (!list->isHidden())
            pageTop = m_layout.mesg.y() + height;
    }
    if (BrowserPage *browserPage = browser(n))
        browserPage->widget()->setGeometry(page.adjusted(0, pageTop - page.top(), 0, 0));
}

Tab *TabSet::tab(int n) const
{
    const auto found = m_tabs.find(n);
    return found == m_tabs.end() ? nullptr : found->second;
}

int TabSet::indexOf(const Tab *tab) const
{
    for (const auto &[n, each] : m_tabs)
        if (tab && each == tab)
            return n;
    return -1;
}

Tab *TabSet::tabOf(const BrowserPage *page) const
{
    for (const auto &[n, each] : m_tabs)
        if (page && each->browser() == page)
            return each;
    return nullptr;
}

int TabSet::positionOf(const Tab *tab) const
{
    const int n = indexOf(tab);
    return n < 0 ? 0 : m_book.TabPosition(n);
}

QList<Tab *> TabSet::tabs() const
{
    QList<Tab *> inOrder;
    for (int n : m_book.TabList)
        inOrder << tab(n);
    return inOrder;
}

BrowserPage *TabSet::browser(int n) const
{
    const Tab *found = tab(n);
    return found ? found->browser() : nullptr;
}

MesgList *TabSet::mesg(int n) const
{
    const Tab *found = tab(n);
    return found ? found->mesg() : nullptr;
}

int TabSet::selectedPosition() const
{
    return m_strip->currentIndex() + 1;
}

int TabSet::count() const
{
    return m_strip->count();
}

QString TabSet::captionAt(int position) const
{
    return m_strip->tabText(position - 1);
}
