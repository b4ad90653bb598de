#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"
#include "picking/ResultPage.h"
#include "platform/Dialogs.h"

#include <QPushButton>
#include <QSignalBlocker>

TabSet::TabSet(QWidget *client, BrowserFactory factory, Dialogs &dialogs,
               const QString &homeAddress, QObject *parent)
    : QObject(parent), m_client(client), m_factory(std::move(factory)), m_dialogs(dialogs),
      m_homeAddress(homeAddress), m_strip(new VerticalTabBar(client)),
      m_closeButton(new QPushButton(QStringLiteral("×"), client))
{
    m_strip->setObjectName(QStringLiteral("TabStrip1"));
    m_strip->setToolTip(QStringLiteral("双击关闭"));
    m_closeButton->setObjectName(QStringLiteral("Close_B"));
    connect(m_strip, &QTabBar::currentChanged, this, [this] { runSelectionHandling(); });
    // The system's double-click: two presses on one tab, not two releases anywhere.
    connect(m_strip, &QTabBar::tabBarDoubleClicked, this, [this](int index) {
        if (index >= 0 && index == m_strip->currentIndex())
            closeCurrent();
    });
    connect(m_closeButton, &QPushButton::clicked, this, &TabSet::closeCurrent);
}

TabSet::~TabSet()
{
    for (auto &entry : m_tabs) {
        delete entry.second.browser.data();
        delete entry.second.mesg.data();
    }
}

void TabSet::start()
{
    createControls(0);
    BrowserPage *first = browser(0);
    first->setSilent(true);
    first->Navigate(m_homeAddress);
    m_book.CurIndex = 0;
    appendTab(0);
    runSelectionHandling();
}

void TabSet::createControls(int n)
{
    TabState tab;
    tab.key = QStringLiteral("t%1").arg(n);
    tab.browser = m_factory(m_client);
    tab.mesg = new MesgList(m_client);
    tab.mesg->setObjectName(QStringLiteral("mesg%1").arg(n));
    tab.mesg->hide();
    BrowserPage *page = tab.browser;
    connect(page, &BrowserPage::TitleChange, this, [this, n](const QString &text) { onTitleChange(n, text); });
    connect(page, &BrowserPage::DownloadComplete, this, [this, n] { onDownloadComplete(n); });
    page->setNewWindowHandler([this] { return onNewWindow(); });
    connect(tab.mesg, &QListWidget::itemDoubleClicked, this, [this, n] { emit mesgDoubleClicked(n); });
    connect(tab.mesg, &MesgList::retryRequested, this, [this, n] { emit retryRequested(n); });
    connect(tab.mesg, &MesgList::shapeChanged, this, [this, n] { placeTab(n); });
    page->widget()->show();
    m_tabs[n] = tab;
    emit controlsCreated();
}

void TabSet::destroyControls(int n)
{
    // The first browser is never destroyed: it stays behind the others, and
    // keeps its page and messages for whoever reuses index 0.
    if (n == 0) {
        m_tabs[0].dropResult();
        return;
    }
    const auto found = m_tabs.find(n);
    if (found == m_tabs.end())
        return;
    const TabState tab = found->second;
    m_tabs.erase(found);
    if (tab.browser) {
        tab.browser->widget()->hide();
        tab.browser->deleteLater();
    }
    if (tab.mesg)
        tab.mesg->deleteLater();
}

void TabSet::NewP()
{
    const int n = m_book.smallestFreeIndex();
    m_book.CurIndex = n;
    if (!m_tabs.count(n))
        createControls(n);
    mesg(n)->hide();
    browser(n)->widget()->show();
    browser(n)->setSilent(true);
    placeTab(n);
    appendTab(n);
    selectPosition(m_book.TabPosition(n));
}

void TabSet::appendTab(int n)
{
    m_book.TabList.append(n);
    const QSignalBlocker blocker(m_strip);
    const int index = m_strip->addTab(QString());
    m_strip->setTabData(index, state(n)->key);
}

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
    emit addressChanged(page->LocationURL());
    emit windowCaptionChanged(page->LocationName());
}

BrowserPage *TabSet::openTab()
{
    const int n = m_book.smallestFreeIndex();
    if (!m_tabs.count(n))
        createControls(n);
    // Behind the selected tab: the user goes on with what they were looking at.
    mesg(n)->hide();
    browser(n)->widget()->show();
    browser(n)->widget()->lower();
    browser(n)->setSilent(true);
    placeTab(n);
    appendTab(n);
    return browser(n);
}

int TabSet::indexOf(const BrowserPage *page) const
{
    for (const auto &[n, tab] : m_tabs)
        if (page && tab.browser == page && m_book.TabPosition(n))
            return n;
    return -1;
}

void TabSet::closeTab(int n)
{
    const int position = m_book.TabPosition(n);
    if (position == 0 || m_book.isPicking(n) || m_book.TabList.size() < 2)
        return;
    if (n == m_book.CurIndex)
        return closeCurrent();
    {
        const QSignalBlocker blocker(m_strip);
        m_strip->removeTab(position - 1);
    }
    m_book.TabList.removeAt(position - 1);
    destroyControls(n);
    if (const int picked = m_book.PickedPosition(n))
        m_book.PickedTabs.removeAt(picked - 1);
}

void TabSet::closeCurrent()
{
    const int n = m_book.CurIndex;
    if (m_book.isPicking(n)) {
        m_dialogs.messageBox(QStringLiteral("采集中不能关闭"), QStringLiteral("错误"), Dialogs::Icon::Critical);
        return;
    }
    if (m_book.TabList.size() < 2) {
        if (BrowserPage *page = browser(n))
            page->Navigate(m_homeAddress);
    } else {
        const int position = m_book.TabPosition(n);
        {
            const QSignalBlocker blocker(m_strip);
            m_strip->removeTab(position - 1);
        }
        m_book.TabList.removeAt(position - 1);
        destroyControls(n);
    }
    if (const int picked = m_book.PickedPosition(n))
        m_book.PickedTabs.removeAt(picked - 1);
    selectPosition(m_strip->count());
}

void TabSet::goBack()
{
    selectPosition(selectedPosition() - 1);
}

void TabSet::goForward()
{
    selectPosition(selectedPosition() + 1);
}

void TabSet::onTitleChange(int n, const QString &text)
{
    emit windowCaptionChanged(text);
    checkLeftResult(n);
    // The first browser runs on without a tab once its tab was closed.
    const int position = m_book.TabPosition(n);
    if (position && state(n))
        m_strip->setTabText(position - 1, state(n)->caption(m_book, n, text));
}

void TabSet::refreshCaption(int n)
{
    const int position = m_book.TabPosition(n);
    BrowserPage *page = browser(n);
    if (position && page)
        m_strip->setTabText(position - 1, state(n)->caption(m_book, n, page->LocationName()));
}

void TabSet::checkLeftResult(int n)
{
    TabState *tab = state(n);
    if (!tab || !tab->showingResult || !tab->browser || tab->browser->LocationURL() == tab->resultLocation)
        return;
    // Typed address, 主页, a link or back: whatever the page is now, it is not
    // the result, so the caption follows its title and Pick may run here.
    tab->dropResult();
    if (const int picked = m_book.PickedPosition(n))
        m_book.PickedTabs.removeAt(picked - 1);
    if (tab->mesg)
        tab->mesg->clearCounts();
    refreshCaption(n);
}

void TabSet::setResult(int n, const PickResult &result)
{
    if (TabState *tab = state(n)) {
        tab->dropResult();
        tab->result = result;
    }
}

void TabSet::markPicked(int n, const QString &title, const QString &address)
{
    m_book.PickTitle[n] = title;
    m_book.PickUrl[n] = address;
    if (!m_book.PickedPosition(n))
        m_book.PickedTabs.append(n);
}

void TabSet::resultShown(int n, bool written)
{
    TabState *tab = state(n);
    if (!tab)
        return;
    if (!written || !tab->result || !tab->browser) {
        tab->dropResult();
        return;
    }
    tab->showingResult = true;
    tab->resultLocation = tab->browser->LocationURL();
    refreshCaption(n);
}

bool TabSet::redrawResult(int n)
{
    TabState *tab = state(n);
    if (!tab || !tab->holdsResult() || !tab->browser)
        return false;
    // The whole result, SKU section included, as the pick first wrote it.
    tab->browser->writePage(ResultPage::pieces(*tab->result), this, [this, n](bool written) {
        // The write went through about:blank; whatever address it ends on is the result's.
        TabState *shown = state(n);
        if (shown && written && shown->browser)
            shown->resultLocation = shown->browser->LocationURL();
        refreshCaption(n);
    });
    return true;
}

void TabSet::setDownloaded(int n, const DownloadSummary &summary)
{
    TabState *tab = state(n);
    if (!tab || !tab->holdsResult())
        return;
    tab->downloaded = true;
    tab->lastDownload = summary;
    if (tab->mesg)
        tab->mesg->setRetryOffered(!summary.failures.isEmpty() && !summary.itemFolder.isEmpty());
    refreshCaption(n);
}

void TabSet::onDownloadComplete(int n)
{
    checkLeftResult(n);
    if (n == m_book.CurIndex)
        if (BrowserPage *page = browser(n))
            emit addressChanged(page->LocationURL());
}

BrowserPage *TabSet::onNewWindow()
{
    NewP();
    BrowserPage *page = currentBrowser();
    if (page)
        page->takeFocus();
    return page;
}

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

BrowserPage *TabSet::browser(int n) const
{
    const TabState *tab = state(n);
    return tab ? tab->browser : nullptr;
}

MesgList *TabSet::mesg(int n) const
{
    const TabState *tab = state(n);
    return tab ? tab->mesg : nullptr;
}

TabState *TabSet::state(int n)
{
    const auto found = m_tabs.find(n);
    return found == m_tabs.end() ? nullptr : &found->second;
}

const TabState *TabSet::state(int n) const
{
    const auto found = m_tabs.find(n);
    return found == m_tabs.end() ? nullptr : &found->second;
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

void TabSet::setCaptionAt(int position, const QString &caption)
{
    m_strip->setTabText(position - 1, caption);
}

QString TabSet::keyAt(int position) const
{
    return m_strip->tabData(position - 1).toString();
}

int TabSet::positionOfKey(const QString &key) const
{
    for (int i = 0; i < m_strip->count(); ++i)
        if (m_strip->tabData(i).toString() == key)
            return i + 1;
    return 0;
}
