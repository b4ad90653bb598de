// What the picks and downloads make of a tab, and the captions that show it.
#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "picking/ResultPage.h"
#include "platform/BrowserPage.h"

void TabSet::markPicked(Tab *tab, const QString &title, const QString &address)
{
    tab->pickTitle = title;
    tab->pickUrl = address;
    tab->picked = true;
}

void TabSet::setResult(Tab *tab, const PickResult &result)
{
    tab->dropResult();
    tab->result = result;
}

void TabSet::resultShown(Tab *tab, bool written)
{
    if (!written || !tab->result || !tab->browser()) {
        tab->dropResult();
        return;
    }
    tab->showingResult = true;
    tab->resultLocation = tab->browser()->LocationURL();
    refreshCaption(tab);
    announceAddress(tab);
}

void TabSet::announceAddress(Tab *tab)
{
    if (tab && tab == current())
        if (BrowserPage *page = tab->browser())
            emit addressChanged(tab->shownAddress(page->LocationURL()));
}

bool TabSet::redrawResult(Tab *tab)
{
    if (!tab || !tab->holdsResult() || !tab->browser())
        return false;
    // The whole result, SKU section included, as the pick first wrote it.
    const QPointer<Tab> shown(tab);
    tab->browser()->writePage(ResultPage::pieces(*tab->result), tab, [this, shown](bool written) {
        // The write went through about:blank; whatever address it ends on is the result's.
        if (!shown)
            return;
        if (written && shown->browser())
            shown->resultLocation = shown->browser()->LocationURL();
        refreshCaption(shown);
        announceAddress(shown);
    });
    return true;
}

void TabSet::setDownloaded(Tab *tab, const DownloadSummary &summary)
{
    if (!tab->holdsResult())
        return;
    tab->downloaded = true;
    tab->lastDownload = summary;
    if (tab->mesg())
        tab->mesg()->setRetryOffered(!summary.failures.isEmpty() && !summary.itemFolder.isEmpty());
    refreshCaption(tab);
}

void TabSet::onTitleChange(Tab *tab, const QString &text)
{
    emit windowCaptionChanged(text);
    checkLeftResult(tab);
    // The first browser runs on without a tab once its tab was closed.
    if (const int position = positionOf(tab))
        m_strip->setTabText(position - 1, tab->caption(text));
}

void TabSet::refreshCaption(Tab *tab)
{
    const int position = positionOf(tab);
    if (position && tab->browser())
        m_strip->setTabText(position - 1, tab->caption(tab->browser()->LocationName()));
}

void TabSet::checkLeftResult(Tab *tab)
{
    if (!tab->showingResult || !tab->browser() || tab->browser()->LocationURL() == tab->resultLocation)
        return;
    // Typed address, 主页, a link or back: whatever the page is now, it is not
    // the result, so the caption follows its title and Pick may run here.
    tab->dropResult();
    tab->picked = false;
    if (tab->mesg())
        tab->mesg()->clearCounts();
    refreshCaption(tab);
}

void TabSet::onDownloadComplete(Tab *tab)
{
    checkLeftResult(tab);
    announceAddress(tab);
}
