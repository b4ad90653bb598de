#include "main_window/MainForm.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainLayout.h"
#include "main_window/MainToolbar.h"
#include "main_window/VerticalTabBar.h"
#include "main_window/WindowPlacement.h"
#include "appearance/Artwork.h"
#include "appearance/SkinCommands.h"
#include "appearance/Toolbar1.h"
#include "appearance/skin.h"
#include "appearance/TrayIcon.h"
#include "batch/BatchWindow.h"
#include "batch/PickBatchWorker.h"
#include "download/PictureFetcher.h"
#include "main_window/DownloadCommand.h"
#include "favourites/FavouriteCommands.h"
#include "favourites/linka.h"
#include "main_window/PickCommand.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>
#include <QCoreApplication>
#include <QMenuBar>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QUrl>

const QString MainForm::DefaultHomeAddress = QStringLiteral("https://www.1688.com/");

MainForm::MainForm(const Services &services, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_client(new QWidget(this)),
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
    m_pick = new PickCommand(*m_tabs, *m_address, *m_services.dialogs, m_services.intervals, this);
    connect(m_address->pick_B, &QPushButton::clicked, m_pick, &PickCommand::pick_B_Click);
    addShutdownStep([this] { m_pick->shutdown(); });
    // One fetcher for every download of the program: its per-host limit holds across them.
    m_fetcher = new PictureFetcher(new QNetworkAccessManager(this), this);
    m_fetcher->setStallTimeout(m_services.intervals.fetchStallMs);
    m_download = new DownloadCommand(*m_tabs, *m_services.dialogs, *m_fetcher, this, this);
    connect(m_address->DownLoad_B, &QPushButton::clicked, m_download, &DownloadCommand::DownLoad_B_Click);
    connect(m_tabs, &TabSet::mesgDoubleClicked, m_download, &DownloadCommand::mesgDblClick);
    connect(m_tabs, &TabSet::retryRequested, m_download, &DownloadCommand::retryFailed);
    m_transfers.add([this] { return m_download->isRunning(); }, [this] { m_download->abort(); });
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

void MainForm::placeAtStart()
{
    if (m_services.rememberPlace)
        return WindowPlacement(configFile()).restore(*this);
    const QRect wanted(MainLayout::px(4440), MainLayout::px(2880), MainLayout::px(12225),
                       MainLayout::px(6960) + menuBar()->sizeHint().height());
    // The frame is not known before the window is shown: the title bar's
    // height and a border stand in for it.
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
    const QMargins frame(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border);
    const QRect available = screen() ? screen()->availableGeometry() : wanted.marginsAdded(frame);
    const QRect place = MainLayout::startGeometry(wanted, frame, available);
    resize(place.size());
    move(place.topLeft() - QPoint(frame.left(), frame.top()));
}

bool MainForm::isMenuShortcut(const QKeySequence &keys) const
{
    const QList<QAction *> menus = menuBar()->actions();
    for (const QAction *menu : menus)
        if (menu->menu())
            for (const QAction *action : menu->menu()->actions())
                if (!action->shortcut().isEmpty() && action->shortcut().matches(keys) == QKeySequence::ExactMatch)
                    return true;
    return false;
}

MainForm::~MainForm()
{
    shutdown();
    delete m_plcj.data();
    // The picks and the tabs go before the widgets that hold their pages.
    delete m_download;
    delete m_pick;
    delete m_tabs;
}

void MainForm::buildMenus()
{
    auto add = [this](QMenu *menu, const char *name, const QString &text, const QKeySequence &keys,
                      std::function<void()> command) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, std::move(command));
    };
    m_fileMenu = menuBar()->addMenu(QStringLiteral("文件"));
    m_fileMenu->setObjectName(QStringLiteral("file"));
    add(m_fileMenu, "new", QStringLiteral("新建"), QKeySequence(Qt::CTRL | Qt::Key_N), [this] { newCopy(); });
    add(m_fileMenu, "Man", QStringLiteral("管理"), QKeySequence(Qt::CTRL | Qt::Key_M), [this] { showManager(); });
    add(m_fileMenu, "exit", QStringLiteral("退出"), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { close(); });
    add(m_fileMenu, "Ver", QStringLiteral("版本"), QKeySequence(Qt::CTRL | Qt::Key_B), [this] { showVersion(); });
    QMenu *help = menuBar()->addMenu(QStringLiteral("帮助"));
    help->setObjectName(QStringLiteral("Help"));
    add(help, "HelpDoc", QStringLiteral("帮助文档"), QKeySequence(Qt::CTRL | Qt::Key_H), [this] { showHelp(); });
}

void MainForm::newCopy()
{
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}

void MainForm::showManager()
{
    if (!m_plcj) {
        const QPointer<BatchWindow> batch = new BatchWindow(new PickBatchWorker(*this, this), dialogs(), configFile());
        m_transfers.add([batch] { return batch && batch->transferring(); },
                        [batch] { if (batch) batch->stopTransfers(); });
        m_plcj = batch.data();
    }
    m_plcj->show();
    m_plcj->raise();
}

void MainForm::showVersion()
{
    dialogs().messageBox(QStringLiteral("软件名称：Pictorra") + QLatin1Char('\r') + QStringLiteral("软件版本:Ver3.2"),
                         QStringLiteral("软件版本信息"), Dialogs::Icon::Information);
}

void MainForm::showHelp()
{
    const QString host = QUrl(m_services.homeAddress).host();
    const QString crlf = QStringLiteral("\r\n");
    const QString text =
        QStringLiteral("软件功能：阿里巴巴产品主图和描述图采集下载。") + crlf
        + QStringLiteral("使用方法：方法1)直接在地址栏输入要下载产品详情页的网址，然后点击<采集>按钮，待采集完成后点击<下载>按钮，选择目录保存图片。")
        + crlf + QString(10, QLatin1Char(' ')) + QStringLiteral("方法2)直接在地址栏输入") + host
        + QStringLiteral("网址回车，浏览到目标采集产品详情页面，然后点击<采集>按钮，待采集完成后点击<下载>按钮，选择目录保存图片。")
        + crlf;
    dialogs().messageBox(text, QStringLiteral("使用帮助"), Dialogs::Icon::Information);
}

void MainForm::addTabKeys()
{
    const auto add = [this](QKeyCombination keys, int step) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(keys));
        connect(action, &QAction::triggered, this, [this, step] { selectNeighbourTab(step); });
        addAction(action);
    };
    add(Qt::CTRL | Qt::Key_Tab, 1);
    // Shift+Tab arrives as Backtab.
    add(Qt::CTRL | Qt::Key_Backtab, -1);
    add(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1);
}

void MainForm::selectNeighbourTab(int step)
{
    const int count = m_tabs->count();
    if (count < 2)
        return;
    const int position = m_tabs->selectedPosition();
    m_tabs->selectPosition((position - 1 + step + count) % count + 1);
}

void MainForm::replaceToolbar(QToolBar *toolbar)
{
    delete m_toolbar;
    m_toolbar = toolbar;
    toolbar->setParent(m_client);
    toolbar->show();
    relayout();
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        relayout();
    if (watched == m_address->urladress && event->type() == QEvent::ShortcutOverride
        && isMenuShortcut(QKeySequence(static_cast<QKeyEvent *>(event)->keyCombination()))) {
        // Left unaccepted, the key goes on to the menu's shortcut.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::relayout()
{
    const MainLayout layout = MainLayout::compute(m_client->width(), m_client->height());
    m_toolbar->setGeometry(layout.toolbar);
    m_address->applyLayout(layout);
    m_tabs->applyLayout(layout);
}

void MainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_hideOnMinimize)
        QTimer::singleShot(0, this, [this] { if (isMinimized()) hide(); });
}

void MainForm::onAddressEntered(const QString &address)
{
    if (BrowserPage *page = m_tabs->currentBrowser())
        page->Navigate(address);
    m_address->rememberAddress(address);
}

void MainForm::closeEvent(QCloseEvent *event)
{
    if (!m_shutDown && !m_transfers.mayClose(dialogs())) {
        event->ignore();
        return;
    }
    if (m_services.rememberPlace && !m_shutDown)
        WindowPlacement(configFile()).remember(*this);
    shutdown();
    event->accept();
    if (m_services.quitOnClose)
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MainForm::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    for (auto &step : m_shutdownSteps)
        step();
    m_shutdownSteps.clear();
    if (m_plcj)
        m_plcj->close();
    if (linka *favourites = m_favourites->favouritesWindow())
        favourites->close();
    if (skin *skinWindow = m_skins->skinWindow())
        skinWindow->close();
    if (m_tray)
        m_tray->remove();
}

void MainForm::openfile(const QString &path, bool flag)
{
    m_favourites->openfile(path, flag);
}
