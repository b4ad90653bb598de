// Opening and closing tabs at the user's word or the program's, and reopening closed ones.
#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

QString TabSet::unsavedQuestion()
{
    return QStringLiteral("采集结果尚未下载，确定关闭吗？");
}

void TabSet::closeCurrent()
{
    const QPointer<Tab> closing = current();
    if (closing && closing->isPicking()) {
        m_dialogs.messageBox(QStringLiteral("采集中不能关闭"), QStringLiteral("错误"), Dialogs::Icon::Critical);
        return;
    }
    if (closing && closing->holdsResult() && !closing->lastDownload() && !m_dialogs.question(unsavedQuestion()))
        return;
    // The box ran the event loop: the tab may have closed or lost its selection meanwhile.
    if (closing != current())
        return;
    if (closing) {
        rememberClosed(*closing);
        if (BrowserPage *page = closing->browser())
            emit page->closedByUser();
    }
    removeCurrent();
}

void TabSet::removeCurrent()
{
    const int n = m_book.CurIndex;
    Tab *closing = tab(n);
    if (m_book.TabList.size() < 2) {
        if (closing) {
            closing->forgetPick();
            if (BrowserPage *page = closing->browser())
                page->Navigate(m_homeAddress);
        }
    } else {
        removeFromStrip(n);
    }
    selectPosition(m_strip->count());
}

void TabSet::closeTab(Tab *closing)
{
    const int n = indexOf(closing);
    if (n < 0 || !m_book.TabPosition(n) || closing->isPicking() || m_book.TabList.size() < 2)
        return;
    if (n == m_book.CurIndex)
        return removeCurrent();
    removeFromStrip(n);
}

void TabSet::rememberClosed(const Tab &tab)
{
    ClosedTab closed;
    if (const PickResult *result = tab.result()) {
        closed.result = *result;
        closed.pickedTitle = tab.pickedTitle();
        if (const DownloadSummary *download = tab.lastDownload())
            closed.download = *download;
    } else if (tab.browser()) {
        closed.address = tab.browser()->LocationURL();
    }
    if (!closed.result && closed.address.isEmpty())
        return;
    m_closed.append(closed);
    if (m_closed.size() > MaxClosed)
        m_closed.removeFirst();
}

void TabSet::openAddress(const QString &address)
{
    NewP();
    if (BrowserPage *page = currentBrowser())
        page->Navigate(address);
    announceAddress(current());
}

bool TabSet::reopenClosed()
{
    if (m_closed.isEmpty())
        return false;
    const ClosedTab closed = m_closed.takeLast();
    NewP();
    const QPointer<Tab> reopened = current();
    if (!reopened || !reopened->browser())
        return false;
    if (!closed.result) {
        reopened->browser()->Navigate(closed.address);
        return true;
    }
    reopened->markPicked(closed.pickedTitle, closed.result->address);
    reopened->showResult(*closed.result, [reopened, download = closed.download](bool written) {
        if (written && reopened && download)
            reopened->markDownloaded(*download);
    });
    return true;
}
