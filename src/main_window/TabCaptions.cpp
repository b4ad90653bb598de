// The captions of the strip and the address a tab shows, as its page and its state change.
#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"

void TabSet::announceAddress(Tab *tab)
{
    if (tab && tab == current())
        if (BrowserPage *page = tab->browser())
            emit addressChanged(tab->shownAddress(page->LocationURL()));
}

void TabSet::onTitleChange(Tab *tab, const QString &text)
{
    emit windowCaptionChanged(text);
    // The first browser runs on without a tab once its tab was closed.
    if (const int position = positionOf(tab))
        showCaption(position, tab, text);
}

void TabSet::showCaption(int position, const Tab *tab, const QString &pageTitle)
{
    m_strip->setTabText(position - 1, tab->caption(pageTitle));
    const QString title = tab->fullTitle(pageTitle);
    m_strip->setTabToolTip(position - 1, title.isEmpty() ? m_strip->toolTip() : title + QStringLiteral("\n双击关闭"));
}

void TabSet::refreshCaption(Tab *tab)
{
    const int position = positionOf(tab);
    if (position && tab->browser())
        showCaption(position, tab, tab->browser()->LocationName());
}
