// Which tab is selected, and stepping through the strip.
#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"

#include <QSignalBlocker>

void TabSet::selectPosition(int position)
{
    if (position < 1 || position > m_strip->count())
        return;
    {
        const QSignalBlocker blocker(m_strip);
        m_strip->setCurrentIndex(position - 1);
    }
    runSelectionHandling();
}

void TabSet::select(Tab *tab)
{
    selectPosition(positionOf(tab));
}

void TabSet::runSelectionHandling()
{
    const int position = selectedPosition();
    if (position < 1 || position > m_book.TabList.size())
        return;
    m_book.CurIndex = m_book.TabList.at(position - 1);
    BrowserPage *page = currentBrowser();
    MesgList *list = mesg(m_book.CurIndex);
    if (!page || !list)
        return;
    page->widget()->raise();
    page->takeFocus();
    list->raise();
    emit controlsCreated();
    announceAddress(current());
    emit windowCaptionChanged(page->LocationName());
}

void TabSet::removeFromStrip(int n)
{
    const int position = m_book.TabPosition(n);
    {
        const QSignalBlocker blocker(m_strip);
        m_strip->removeTab(position - 1);
    }
    m_book.TabList.removeAt(position - 1);
    destroyControls(n);
}

void TabSet::goBack()
{
    selectPosition(selectedPosition() - 1);
}

void TabSet::goForward()
{
    selectPosition(selectedPosition() + 1);
}
