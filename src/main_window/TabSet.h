#pragma once

#include "main_window/MainLayout.h"
#include "main_window/MesgList.h"
#include "main_window/TabBook.h"
#include "main_window/TabState.h"
#include "platform/Intervals.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>

class BrowserPage;
class Dialogs;
class QPushButton;
class QWidget;
class VerticalTabBar;

// The window's tabs: each is a browser with its message list over it, sharing
// one browser index, and one TabState that says what the tab holds. Positions
// are 1-based, as the bookkeeping is.
class TabSet : public QObject
{
    Q_OBJECT
public:
    using BrowserFactory = std::function<BrowserPage *(QWidget *parent)>;

    TabSet(QWidget *client, BrowserFactory factory, Dialogs &dialogs,
           const QString &homeAddress, QObject *parent = nullptr);
    ~TabSet() override;

    // The first tab, on the home page, with key "t0".
    void start();
    void NewP();
    void closeCurrent();
    // A tab at the end of the strip, behind the selected one, which stays
    // selected: for picks the user did not start here.
    BrowserPage *openTab();
    // Closes the tab of browser `n` unless it is picking or the only one;
    // the selection stays unless it was that tab.
    void closeTab(int n);
    // The browser index of `page`'s tab; -1 when no tab shows it.
    int indexOf(const BrowserPage *page) const;
    void goBack();
    void goForward();
    void selectPosition(int position);
    void applyLayout(const MainLayout &layout);

    TabBook &book() { return m_book; }
    const TabBook &book() const { return m_book; }
    BrowserPage *browser(int n) const;
    MesgList *mesg(int n) const;
    // The state of browser index `n`; nullptr when no tab has it.
    TabState *state(int n);
    const TabState *state(int n) const;
    TabState *currentState() { return state(m_book.CurIndex); }

    // A pick of tab `n` found `result`; it becomes the tab's result once its
    // page is shown (resultShown with written = true).
    void setResult(int n, const PickResult &result);
    // Tab `n` is picking the product `title` at `address`: its caption says "Pick:".
    void markPicked(int n, const QString &title, const QString &address);
    void resultShown(int n, bool written);
    // Writes tab `n`'s result page again (刷新 on a result: the page was
    // written, a reload would blank it). False when the tab holds no result.
    bool redrawResult(int n);
    // A download of tab `n` ended with `summary`: the caption says so.
    void setDownloaded(int n, const DownloadSummary &summary);
    void refreshCaption(int n);
    BrowserPage *currentBrowser() const { return browser(m_book.CurIndex); }
    int selectedPosition() const;
    int count() const;
    QString captionAt(int position) const;
    void setCaptionAt(int position, const QString &caption);
    QString keyAt(int position) const;
    int positionOfKey(const QString &key) const;
    VerticalTabBar *strip() const { return m_strip; }

Q_SIGNALS:
    void windowCaptionChanged(const QString &caption);
    void addressChanged(const QString &address);
    void mesgDoubleClicked(int index);
    void retryRequested(int index);
    // A page or message list was raised or created: it lies over the address
    // strip (and its 采集/下载 buttons) until the strip is raised again.
    void controlsCreated();

private:
    void createControls(int n);
    void destroyControls(int n);
    void placeTab(int n);
    void appendTab(int n);
    void runSelectionHandling();
    void onTitleChange(int n, const QString &text);
    void onDownloadComplete(int n);
    // The tab's page is no longer its result page: it is an ordinary tab again.
    void checkLeftResult(int n);
    BrowserPage *onNewWindow();

    QWidget *m_client;
    BrowserFactory m_factory;
    Dialogs &m_dialogs;
    QString m_homeAddress;
    TabBook m_book;
    std::map<int, TabState> m_tabs;
    VerticalTabBar *m_strip;
    QPushButton *m_closeButton;
    MainLayout m_layout;
};
