#include "main_window/TabPageHost.h"

#include "main_window/TabSet.h"
#include "platform/BrowserPage.h"

#include <QWidget>

TabPageHost::TabPageHost(TabSet &tabs, QWidget &window, QObject *parent)
    : QObject(parent), m_tabs(tabs), m_window(window)
{
}

BrowserPage *TabPageHost::openPage()
{
    return m_tabs.openTab()->browser();
}

void TabPageHost::closePage(BrowserPage *page)
{
    if (Tab *tab = m_tabs.tabOf(page))
        m_tabs.closeTab(tab);
}

void TabPageHost::showToUser(BrowserPage *page)
{
    Tab *tab = m_tabs.tabOf(page);
    if (!tab)
        return;
    m_tabs.select(tab);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

// The tab shows its result page and holds the result, as a pick of the
// button leaves it.
void TabPageHost::keepResult(BrowserPage *page, const PickResult &result)
{
    Tab *tab = m_tabs.tabOf(page);
    if (!tab)
        return;
    tab->markPicked(result.title, result.address);
    tab->showResult(result);
}

// Saved by the batch as by 下载: closing the tab then asks nothing.
void TabPageHost::keptResultSaved(BrowserPage *page, const DownloadSummary &summary)
{
    if (Tab *tab = m_tabs.tabOf(page))
        tab->markDownloaded(summary);
}
