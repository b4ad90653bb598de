#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QPushButton>
#include <QSignalBlocker>

TabSet::TabSet(QWidget *client, BrowserFactory factory, Dialogs &dialogs, const QString &homeAddress, QObject *parent)
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
    for (auto &[n, tab] : m_tabs) {
        delete tab->browser();
        delete tab->mesg();
        delete tab;
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
    auto *list = new MesgList(m_client);
    list->setObjectName(QStringLiteral("mesg%1").arg(n));
    list->hide();
    Tab *tab = new Tab(m_factory(m_client), list);
    BrowserPage *page = tab->browser();
    connect(page, &BrowserPage::TitleChange, tab, [this, tab](const QString &text) { onTitleChange(tab, text); });
    connect(page, &BrowserPage::DownloadComplete, tab, [this, tab] { onDownloadComplete(tab); });
    page->setNewWindowHandler([this] { return onNewWindow(); });
    connect(list, &QListWidget::itemDoubleClicked, tab, [this, tab] { emit mesgDoubleClicked(tab); });
    connect(list, &MesgList::retryRequested, tab, [this, tab] { emit retryRequested(tab); });
    connect(list, &MesgList::shapeChanged, tab, [this, n] { placeTab(n); });
    page->widget()->show();
    m_tabs[n] = tab;
    emit controlsCreated();
}

void TabSet::destroyControls(int n)
{
    const auto found = m_tabs.find(n);
    if (found == m_tabs.end())
        return;
    Tab *tab = found->second;
    tab->picked = false;
    // The first browser is never destroyed: it stays behind the others, and
    // keeps its page and messages for whoever reuses index 0.
    if (n == 0) {
        tab->dropResult();
        return;
    }
    m_tabs.erase(found);
    if (BrowserPage *page = tab->browser()) {
        page->widget()->hide();
        page->deleteLater();
    }
    if (MesgList *list = tab->mesg())
        list->deleteLater();
    delete tab;
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

Tab *TabSet::openTab()
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
    return tab(n);
}

void TabSet::appendTab(int n)
{
    m_book.TabList.append(n);
    const QSignalBlocker blocker(m_strip);
    m_strip->addTab(QString());
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

void TabSet::closeCurrent()
{
    const int n = m_book.CurIndex;
    Tab *closing = tab(n);
    if (closing && closing->picking) {
        m_dialogs.messageBox(QStringLiteral("采集中不能关闭"), QStringLiteral("错误"), Dialogs::Icon::Critical);
        return;
    }
    if (m_book.TabList.size() < 2) {
        if (closing) {
            closing->picked = false;
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
    if (n < 0 || !m_book.TabPosition(n) || closing->picking || m_book.TabList.size() < 2)
        return;
    if (n == m_book.CurIndex)
        return closeCurrent();
    removeFromStrip(n);
}

void TabSet::goBack()
{
    selectPosition(selectedPosition() - 1);
}

void TabSet::goForward()
{
    selectPosition(selectedPosition() + 1);
}

BrowserPage *TabSet::onNewWindow()
{
    NewP();
    BrowserPage *page = currentBrowser();
    if (page)
        page->takeFocus();
    return page;
}
