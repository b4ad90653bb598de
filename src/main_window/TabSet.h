#pragma once

#include "main_window/MainLayout.h"
#include "main_window/MesgList.h"
#include "main_window/TabBook.h"
#include "main_window/Tab.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <optional>

class BrowserPage;
class Dialogs;
class QPushButton;
class QWidget;
class VerticalTabBar;

// The window's tabs: each is a Tab, a browser with its message list over it
// and what it holds. Positions are 1-based, as the bookkeeping is.
class TabSet : public QObject
{
    Q_OBJECT
public:
    // Where each tab's result page takes its rules from (选项).
    void setRulesSource(std::function<SaveChoice()> rules);
    using BrowserFactory = std::function<BrowserPage *(QWidget *parent)>;

    TabSet(QWidget *client, BrowserFactory factory, Dialogs &dialogs, const QString &homeAddress,
           QObject *parent = nullptr);
    ~TabSet() override;

    // The first tab, on the home page.
    void start();
    void NewP();
    // The user closes the selected tab (double click, ×, Ctrl+W): a result
    // not yet downloaded is asked about first, and what closes may be reopened.
    void closeCurrent();
    // 重新打开关闭的标签页: the tab closed last comes back in a new tab, a
    // result as it was (downloaded or not). False when none is left.
    bool reopenClosed();
    bool hasClosed() const { return !m_closed.isEmpty(); }
    static QString unsavedQuestion();
    // A tab at the end of the strip, behind the selected one, which stays
    // selected: for picks the user did not start here.
    Tab *openTab();
    // Closes `tab` for the program (the batch is done with it), asking
    // nothing, unless it is picking or the only one; the selection stays
    // unless it was that tab.
    void closeTab(Tab *tab);
    // A new selected tab on `address`.
    void openAddress(const QString &address);
    void goBack();
    void goForward();
    void selectPosition(int position);
    void select(Tab *tab);
    void applyLayout(const MainLayout &layout);

    TabBook &book() { return m_book; }
    const TabBook &book() const { return m_book; }
    // The tab of browser index `n`; nullptr when none.
    Tab *tab(int n) const;
    Tab *current() const { return tab(m_book.CurIndex); }
    Tab *tabOf(const BrowserPage *page) const;
    // 1-based place in the strip; 0 when the tab is not in it.
    int positionOf(const Tab *tab) const;
    // Every tab in strip order.
    QList<Tab *> tabs() const;
    BrowserPage *browser(int n) const;
    MesgList *mesg(int n) const;

    BrowserPage *currentBrowser() const { return browser(m_book.CurIndex); }
    int selectedPosition() const;
    int count() const;
    QString captionAt(int position) const;
    VerticalTabBar *strip() const { return m_strip; }

Q_SIGNALS:
    void windowCaptionChanged(const QString &caption);
    void addressChanged(const QString &address);
    void mesgDoubleClicked(Tab *tab);
    void retryRequested(Tab *tab);
    // A page or message list was raised or created: it lies over the address
    // strip (and its 采集/下载 buttons) until the strip is raised again.
    void controlsCreated();

private:
    // What a closed tab showed, for reopenClosed().
    struct ClosedTab
    {
        QString address;
        std::optional<PickResult> result;
        QString pickedTitle;
        std::optional<DownloadSummary> download;
    };
    static constexpr int MaxClosed = 10;

    void removeCurrent();
    void rememberClosed(const Tab &tab);
    void createControls(int n);
    void destroyControls(int n);
    void placeTab(int n);
    void appendTab(int n);
    void removeFromStrip(int n);
    int indexOf(const Tab *tab) const;
    void runSelectionHandling();
    void onTitleChange(Tab *tab, const QString &text);
    void refreshCaption(Tab *tab);
    void showCaption(int position, const Tab *tab, const QString &pageTitle);
    // Tells the address box what the current tab shows, when `tab` is current.
    void announceAddress(Tab *tab);
    BrowserPage *onNewWindow();

    QWidget *m_client;
    BrowserFactory m_factory;
    Dialogs &m_dialogs;
    QString m_homeAddress;
    TabBook m_book;
    std::map<int, Tab *> m_tabs;  // by browser index; owned
    VerticalTabBar *m_strip;
    QPushButton *m_closeButton;
    MainLayout m_layout;
    QList<ClosedTab> m_closed; // the last closed last
    std::function<SaveChoice()> m_rules;
};
