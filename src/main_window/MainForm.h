#pragma once

#include "main_window/TabSet.h"
#include "main_window/TransferGuard.h"
#include "platform/Intervals.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class AddressStrip;
class CollectCommand;
class DownloadCommand;
class Engine;
class TabPageHost;
class FavouriteCommands;
class SkinCommands;
class TrayIcon;
class PickCommand;
class PictureFetcher;
class Dialogs;
class QMenu;
class QPushButton;
class QToolBar;
class QKeySequence;

// The main window: toolbar, address strip, the tab column and the pages.
class MainForm : public QMainWindow
{
    Q_OBJECT
public:
    static const QString DefaultHomeAddress;

    struct Services
    {
        QString programFolder;
        // What picks and downloads run on; null: the window makes one of its
        // own on `intervals`, with no browser profile (tests).
        Engine *engine = nullptr;
        Intervals intervals;
        Dialogs *dialogs = nullptr;
        TabSet::BrowserFactory browserFactory;
        QString homeAddress = DefaultHomeAddress;
        bool quitOnClose = true;  // tests keep the application running
        bool trayIcon = true;     // tests that look for no icon switch it off
        bool rememberPlace = false; // the window starts where it was last (config.ini)
    };

    explicit MainForm(const Services &services, QWidget *parent = nullptr);
    ~MainForm() override;

    TabSet &tabs() { return *m_tabs; }
    AddressStrip &addressStrip() { return *m_address; }
    QToolBar *toolbar() const { return m_toolbar; }
    QMenu *fileMenu() const { return m_fileMenu; }
    QWidget *clientArea() const { return m_client; }
    QWidget *batchWindow() const { return m_plcj; }
    Dialogs &dialogs() { return *m_services.dialogs; }
    const Services &services() const { return m_services; }
    void NewP() { m_tabs->NewP(); }
    PickCommand &pickCommand() { return *m_pick; }
    DownloadCommand &downloadCommand() { return *m_download; }
    CollectCommand &collectCommand() { return *m_collect; }
    PictureFetcher &fetcher();
    Engine &engine() { return *m_engine; }
    FavouriteCommands &favourites() { return *m_favourites; }
    SkinCommands &skins() { return *m_skins; }
    TrayIcon *trayIcon() const { return m_tray; }
    void openfile(const QString &path, bool flag);


    // Work to do at shutdown before the window goes (the picks are cancelled here).
    void addShutdownStep(std::function<void()> step) { m_shutdownSteps.push_back(std::move(step)); }
    // What closing must not cut off unasked.
    TransferGuard &transfers() { return m_transfers; }
    // Whether minimizing hides the window (only when a tray icon can bring it back).
    void setHideOnMinimize(bool hide) { m_hideOnMinimize = hide; }
    void replaceToolbar(QToolBar *toolbar);

    void newCopy();
    void showManager();
    void showVersion();
    void showHelp();
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous tab, round the end.
    void selectNeighbourTab(int step);
    // Ctrl+T: a blank tab, with the address box ready for typing.
    void newTab();
    // Ctrl+L: the address box, its text selected.
    void focusAddress();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void placeAtStart();
    void addTabKeys();
    QString configFile() const;
    // 选项: what downloads save, kept in config.ini.
    void showOptions();
    bool isMenuShortcut(const QKeySequence &keys) const;
    void relayout();
    void onAddressEntered(const QString &address);
    void shutdown();
    // The result pages take the window's colours (a dark skin, a dark page).
    void followSkin();

    Services m_services;
    std::unique_ptr<Engine> m_ownEngine;
    Engine *m_engine;
    QWidget *m_client;
    QToolBar *m_toolbar;
    AddressStrip *m_address;
    TabSet *m_tabs;
    PickCommand *m_pick;
    DownloadCommand *m_download;
    CollectCommand *m_collect;
    TabPageHost *m_pageHost;
    FavouriteCommands *m_favourites;
    std::unique_ptr<SkinCommands> m_skins;
    TrayIcon *m_tray = nullptr;
    QMenu *m_fileMenu = nullptr;
    QPointer<QWidget> m_plcj;
    std::vector<std::function<void()>> m_shutdownSteps;
    TransferGuard m_transfers;
    bool m_hideOnMinimize = false;
    bool m_skinPending = false;
    QColor m_pageBackground; // the colours the result pages were written in
    bool m_shutDown = false;
};
