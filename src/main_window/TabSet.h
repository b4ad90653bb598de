#pragma once

#include "main_window/MainLayout.h"
#include "main_window/TabBook.h"
#include "platform/Intervals.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class BrowserPage;
class Dialogs;
class QListWidget;
class QPushButton;
class QWidget;
class VerticalTabBar;

// The window's tabs: each is a browser with its one-line message list over
// it, sharing one browser index. Positions are 1-based, as the bookkeeping is.
class TabSet : public QObject
{
    Q_OBJECT
public:
    using BrowserFactory = std::function<BrowserPage *(QWidget *parent)>;

    TabSet(QWidget *client, BrowserFactory factory, const Intervals &intervals, Dialogs &dialogs,
           const QString &homeAddress, QObject *parent = nullptr);
    ~TabSet() override;

    // The first tab, on the home page, with key "t0".
    void start();
    void NewP();
    void closeCurrent();
    void goBack();
    void goForward();
    void selectPosition(int position);
    void applyLayout(const MainLayout &layout);

    TabBook &book() { return m_book; }
    const TabBook &book() const { return m_book; }
    BrowserPage *browser(int n) const;
    QListWidget *mesg(int n) const;
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
    // New page widgets lie over the address strip until it is raised again.
    void controlsCreated();

private:
    struct Tab
    {
        QPointer<BrowserPage> browser;
        QPointer<QListWidget> mesg;
    };

    void createControls(int n);
    void destroyControls(int n);
    void placeTab(int n);
    void appendTab(int n);
    void runSelectionHandling();
    void onMouseReleased();
    void onTitleChange(int n, const QString &text);
    void onDownloadComplete(int n);
    BrowserPage *onNewWindow();

    QWidget *m_client;
    BrowserFactory m_factory;
    Dialogs &m_dialogs;
    QString m_homeAddress;
    TabBook m_book;
    QHash<int, Tab> m_tabs;
    VerticalTabBar *m_strip;
    QPushButton *m_closeButton;
    QTimer m_timer2;
    MainLayout m_layout;
};
