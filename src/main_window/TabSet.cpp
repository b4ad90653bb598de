#include "main_window/TabSet.h"

#include "main_window/VerticalTabBar.h"
#include "platform/BrowserPage.h"

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
    connect(m_strip, &VerticalTabBar::addressDropped, this, &TabSet::openAddress);
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

void TabSet::setRulesSource(std::function<SaveChoice()> rules)
{
    m_rules = std::move(rules);
}

void TabSet::createControls(int n)
{
    auto *list = new MesgList(m_client);
    list->setObjectName(QStringLiteral("mesg%1").arg(n));
    list->hide();
    Tab *tab = new Tab(m_factory(m_client), list);
    tab->setRulesSource([this] { return m_rules ? m_rules() : SaveChoice(); });
    BrowserPage *page = tab->browser();
    connect(page, &BrowserPage::TitleChange, tab, [this, tab](const QString &text) { onTitleChange(tab, text); });
    connect(page, &BrowserPage::DownloadComplete, tab, [this, tab] { announceAddress(tab); });
    connect(tab, &Tab::captionChanged, this, [this, tab] { refreshCaption(tab); });
    connect(tab, &Tab::shownAddressChanged, this, [this, tab] { announceAddress(tab); });
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
    tab->forgetPick();
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

BrowserPage *TabSet::onNewWindow()
{
    NewP();
    BrowserPage *page = currentBrowser();
    if (page)
        page->takeFocus();
    return page;
}
