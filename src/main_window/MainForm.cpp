#include "main_window/MainForm.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainToolbar.h"
#include "appearance/Artwork.h"
#include "appearance/SkinCommands.h"
#include "appearance/Toolbar1.h"
#include "appearance/TrayIcon.h"
#include "download/PictureFetcher.h"
#include "engine/Engine.h"
#include "main_window/TabPageHost.h"
#include "main_window/CollectCommand.h"
#include "main_window/DownloadCommand.h"
#include "main_window/SaveSettings.h"
#include "main_window/FavouriteCommands.h"
#include "main_window/PickCommand.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"

#include <QComboBox>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QToolBar>

const QString MainForm::DefaultHomeAddress = QStringLiteral("https://www.1688.com/");

MainForm::MainForm(const Services &services, QWidget *parent)
    : QMainWindow(parent), m_services(services),
      m_ownEngine(services.engine ? nullptr : std::make_unique<Engine>(services.intervals)),
      m_engine(services.engine ? services.engine : m_ownEngine.get()), m_client(new QWidget(this)),
      m_toolbar(new QToolBar(m_client)), m_address(new AddressStrip(m_client))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Pictorra"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));

    m_skins = std::make_unique<SkinCommands>(m_services.programFolder, *m_services.dialogs);
    m_skins->applyRemembered();
    setWindowIcon(Artwork::programIcon());
    m_tabs = new TabSet(m_client, m_services.browserFactory, *m_services.dialogs,
                        m_services.homeAddress, this);
    m_services.intervals = m_engine->intervals();
    // The engine's picks in this window (the batch's) open as tabs behind the user's.
    m_pageHost = new TabPageHost(*m_tabs, *this, this);
    m_engine->setPageHost(m_pageHost);
    m_pick = new PickCommand(*m_tabs, *m_address, *m_services.dialogs, m_engine->designs(),
                             m_services.intervals, this);
    connect(m_address->pick_B, &QPushButton::clicked, m_pick, &PickCommand::pick_B_Click);
    addShutdownStep([this] { m_pick->shutdown(); });
    m_download = new DownloadCommand(*m_tabs, *m_services.dialogs, m_engine->fetcher(), this, this);
    m_download->setRules([this] { return SaveSettings::load(configFile()); });
    m_tabs->setRulesSource([this] { return SaveSettings::load(configFile()); });
    connect(m_address->DownLoad_B, &QPushButton::clicked, m_download, &DownloadCommand::DownLoad_B_Click);
    connect(m_tabs, &TabSet::mesgDoubleClicked, m_download, &DownloadCommand::mesgDblClick);
    connect(m_tabs, &TabSet::retryRequested, m_download, &DownloadCommand::retryFailed);
    m_transfers.add([this] { return m_download->isRunning(); }, [this] { m_download->abort(); });
    m_collect = new CollectCommand(*this, this);
    addShutdownStep([this] { m_collect->shutdown(); });
    m_favourites = new FavouriteCommands(*this, this);
    buildMenus();
    addTabKeys();
    connect(m_tabs, &TabSet::windowCaptionChanged, this, &QWidget::setWindowTitle);
    connect(m_tabs, &TabSet::controlsCreated, m_address, &QWidget::raise);
    // The line edit claims some menu keys (Ctrl+E: end of line); the menu wins.
    m_address->urladress->installEventFilter(this);
    connect(m_tabs, &TabSet::addressChanged, m_address, &AddressStrip::setAddress);
    connect(m_address, &AddressStrip::addressEntered, this, &MainForm::onAddressEntered);
    connect(m_address->goback, &QPushButton::clicked, m_tabs, &TabSet::goBack);
    connect(m_address->GoForward, &QPushButton::clicked, m_tabs, &TabSet::goForward);
    m_address->setAddress(m_services.homeAddress);

    m_tabs->start();
    replaceToolbar(MainToolbar::create(*this));
    if (m_services.trayIcon) {
        m_tray = new TrayIcon(this, m_fileMenu, this);
        m_tray->add();
        // Minimizing hides the window only where the icon can bring it back.
        setHideOnMinimize(QSystemTrayIcon::isSystemTrayAvailable());
    }
    m_address->raise();
    placeAtStart();
}

QString MainForm::configFile() const
{
    return ProgramFolder::join(m_services.programFolder, QStringLiteral("config.ini"));
}

MainForm::~MainForm()
{
    shutdown();
    delete m_plcj.data();
    if (&m_engine->pages() == static_cast<PageHost *>(m_pageHost))
        m_engine->setPageHost(nullptr);
    // The picks and the tabs go before the widgets that hold their pages.
    delete m_download;
    delete m_pick;
    delete m_tabs;
}

void MainForm::onAddressEntered(const QString &address)
{
    if (BrowserPage *page = m_tabs->currentBrowser())
        page->Navigate(address);
    m_address->rememberAddress(address);
}

void MainForm::openfile(const QString &path, bool flag)
{
    m_favourites->openfile(path, flag);
}

PictureFetcher &MainForm::fetcher()
{
    return m_engine->fetcher();
}
