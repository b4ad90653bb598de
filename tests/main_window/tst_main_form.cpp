#include "download/TestPictures.h"
#include "main_window/AddressStrip.h"
#include "main_window/DownloadCommand.h"
#include "main_window/VerticalTabBar.h"
#include "main_window/MainForm.h"
#include "main_window/WindowPlacement.h"
#include "support/FakeBrowserPage.h"
#include "support/LoopbackServer.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QDirIterator>
#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// What the main window does for everyday use: it does not quit under a
// running transfer unasked, it comes back where it was, Ctrl+Tab walks the tabs.
class MainFormTest : public QObject
{
    Q_OBJECT

    RecordingDialogs dialogs;
    QTemporaryDir folder;

    std::unique_ptr<MainForm> makeWindow(bool rememberPlace = false)
    {
        MainForm::Services services = testServices(dialogs, folder.path(), fakeBrowsers());
        services.rememberPlace = rememberPlace;
        return std::make_unique<MainForm>(services);
    }
    QString configFile() const { return folder.filePath(QStringLiteral("config.ini")); }

private Q_SLOTS:
    void init() { dialogs = RecordingDialogs(); }

    void closingAsksOnlyWhileATransferRuns()
    {
        auto window = makeWindow();
        bool busy = false;
        int stops = 0;
        int shutdowns = 0;
        window->transfers().add([&busy] { return busy; }, [&stops] { ++stops; });
        window->addShutdownStep([&shutdowns] { ++shutdowns; });
        window->show();

        busy = true;
        dialogs.questionAnswer = false;
        QVERIFY(!window->close());
        QCOMPARE(dialogs.questions, QStringList{QStringLiteral("下载尚未完成，确定退出吗？")});
        QVERIFY(window->isVisible());
        QCOMPARE(stops, 0);
        QCOMPARE(shutdowns, 0);

        dialogs.questionAnswer = true;
        QVERIFY(window->close());
        QCOMPARE(stops, 1);
        QCOMPARE(shutdowns, 1);

        // Nothing under way: no question at all.
        dialogs = RecordingDialogs();
        auto idle = makeWindow();
        idle->transfers().add([] { return false; }, [&stops] { ++stops; });
        idle->show();
        QVERIFY(idle->close());
        QVERIFY(dialogs.questions.isEmpty());
        QCOMPARE(stops, 1);
    }

    // Quitting with 是 leaves no partial file, but a mark naming what is
    // missing and no empty folder; the next 下载 of the item completes it.
    void quittingMidDownloadLeavesAMarkedItem()
    {
        LoopbackServer server;
        server.serveDribble(QStringLiteral("/slow.jpg"), QByteArray(400 * 1024, 'x'), 1024, 50,
                            QStringLiteral("image/jpeg"));
        server.serve(QStringLiteral("/fast.png"), PictureBytes(600), QStringLiteral("image/png"));
        QTemporaryDir saveTo;
        dialogs.folderAnswer = saveTo.path();
        auto window = makeWindow();
        PickResult result;
        result.title = QStringLiteral("慢图");
        result.address = QStringLiteral("http://shop.test/item/1");
        result.addresses(MediaKind::Main) = {server.url(QStringLiteral("/fast.png")), server.url(QStringLiteral("/slow.jpg"))};
        Tab *tab = window->tabs().tab(0);
        tab->markPicked(result.title, result.address);
        tab->showResult(result);
        QTRY_VERIFY(tab->holdsResult());
        window->show();
        window->downloadCommand().DownLoad_B_Click();
        const auto partials = [&saveTo] {
            QStringList found;
            QDirIterator it(saveTo.path(), {QStringLiteral("*.part")}, QDir::Files | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                found << it.next();
            return found;
        };
        const QString item = saveTo.filePath(QStringLiteral("慢图"));
        QTRY_VERIFY_WITH_TIMEOUT(!partials().isEmpty() && !QDir(item + QStringLiteral("/主图")).isEmpty(QDir::Files), 5000);

        // The progress is a bar too, beside the numbers.
        const QProgressBar *bar = window->tabs().mesg(0)->findChild<QProgressBar *>(QStringLiteral("downloadProgress"));
        QTRY_VERIFY(bar->isVisibleTo(window->tabs().mesg(0)) && bar->value() == 1);
        QCOMPARE(bar->maximum(), 2);
        QVERIFY(window->close());
        QCOMPARE(dialogs.questions.size(), 1);
        // Stopped by the yes itself, before the window goes.
        QVERIFY(!window->downloadCommand().isRunning());
        QCOMPARE(partials(), QStringList());
        QVERIFY(window->tabs().mesg(0)->item(0)->text().startsWith(QStringLiteral("消息提示:下载未完成")));
        window.reset();
        QCOMPARE(partials(), QStringList());
        QFile mark(item + QStringLiteral("/下载未完成.txt"));
        QVERIFY(mark.open(QIODevice::ReadOnly));
        const QString missing = QString::fromUtf8(mark.readAll());
        QVERIFY2(missing.contains(QStringLiteral("主图2  ") + server.url(QStringLiteral("/slow.jpg"))), qPrintable(missing));
        QVERIFY(!missing.contains(QStringLiteral("主图1")));
        QVERIFY(missing.contains(result.address));
        mark.close();
        QDirIterator dirs(saveTo.path(), QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (dirs.hasNext())
            QVERIFY2(!QDir(dirs.next()).isEmpty(), qPrintable(dirs.filePath()));

        // A later 下载 of the same item into the same folder completes it there.
        result.addresses(MediaKind::Main)[1] = server.url(QStringLiteral("/fast.png")) + QStringLiteral("?again");
        auto later = makeWindow();
        Tab *again = later->tabs().tab(0);
        again->markPicked(result.title, result.address);
        again->showResult(result);
        QTRY_VERIFY(again->holdsResult());
        later->downloadCommand().DownLoad_B_Click();
        QTRY_VERIFY(again->lastDownload());
        QCOMPARE(again->lastDownload()->itemFolder, item);
        QCOMPARE(QDir(saveTo.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{QStringLiteral("慢图")});
        QCOMPARE(QDir(item + QStringLiteral("/主图")).entryList(QDir::Files).size(), 2);
        QVERIFY(!mark.exists());
    }

    // Qt's geometry record wins over the older keys: it keeps the normal
    // place of a maximised window.
    void theGeometryRecordIsKept()
    {
        auto window = makeWindow(true);
        window->setGeometry(QRect(120, 110, 700, 500));
        window->show();
        QVERIFY(window->close());
        const WindowPlacement placement(configFile());
        QVERIFY(!placement.storedGeometry().isEmpty());
        QVERIFY(placement.store({QRect(10, 10, 900, 900), false}));
        auto again = makeWindow(true);
        QCOMPARE(again->geometry().size(), QSize(700, 500));
        QFile::remove(configFile());
    }

    void placeIsFittedOntoTheScreen()
    {
        const QRect screen(0, 0, 1600, 1000);
        QCOMPARE(WindowPlacement::firstFrame(QRect(0, 0, 2000, 1000)), QRect(200, 100, 1600, 800));
        // Wide enough for a product page where the screen allows.
        QCOMPARE(WindowPlacement::firstFrame(screen).width(), 1471);
        QCOMPARE(WindowPlacement::firstFrame(QRect(0, 0, 1024, 768)), QRect(0, 77, 1024, 614));
        // From a larger or a second screen: brought back whole, shrunk only if it must.
        QCOMPARE(WindowPlacement::fitted(QRect(1900, -50, 800, 600), screen), QRect(800, 0, 800, 600));
        QCOMPARE(WindowPlacement::fitted(QRect(-10, 10, 2400, 1400), screen), screen);
        QCOMPARE(WindowPlacement::fitted(QRect(100, 100, 20, 10), screen).size(), QSize(480, 320));
    }

    void placeIsRememberedBesideTheSkin()
    {
        {
            QSettings ini(configFile(), QSettings::IniFormat);
            ini.setValue(QStringLiteral("config/skin"), QStringLiteral("a.qss"));
        }
        const WindowPlacement placement(configFile());
        QVERIFY(!placement.stored());
        auto window = makeWindow(true);
        const QRect available = window->screen()->availableGeometry();
        QVERIFY(window->width() >= available.width() * 7 / 10);
        QVERIFY(placement.store({QRect(40, 30, 500, 400), true}));
        QCOMPARE(placement.stored()->frame, QRect(40, 30, 500, 400));
        QVERIFY(placement.stored()->maximized);
        QCOMPARE(QSettings(configFile(), QSettings::IniFormat).value(QStringLiteral("config/skin")).toString(),
                 QStringLiteral("a.qss"));

        auto again = makeWindow(true);
        QVERIFY(again->windowState() & Qt::WindowMaximized);
        window->show();
        QVERIFY(window->close());
        QVERIFY(!placement.stored()->maximized);
        QFile::remove(configFile());
    }

    void ctrlTabWalksTheTabsRoundTheEnds()
    {
        auto window = makeWindow();
        window->NewP();
        window->NewP();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->tabs().selectedPosition(), 3);
        QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(window->tabs().selectedPosition(), 1);
        QTest::keyClick(window.get(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window->tabs().selectedPosition(), 3);

        // As in every browser: Ctrl+T, Ctrl+W, Ctrl+Shift+T, Ctrl+L and F5.
        QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(window->tabs().count(), 4);
        QTRY_VERIFY(window->addressStrip().urladress->hasFocus());
        auto *page = static_cast<FakeBrowserPage *>(window->tabs().currentBrowser());
        page->location = QStringLiteral("http://shop.test/4");
        QTest::keyClick(window.get(), Qt::Key_W, Qt::ControlModifier);
        QCOMPARE(window->tabs().count(), 3);
        QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(window->tabs().count(), 4);
        page = static_cast<FakeBrowserPage *>(window->tabs().currentBrowser());
        QCOMPARE(page->navigations.last(), QStringLiteral("http://shop.test/4"));
        page->takeFocus();
        window->tabs().strip()->setFocus();
        QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
        QTRY_VERIFY(window->addressStrip().urladress->hasFocus());
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(page->refreshes, 1);
    }
};

PICTORRA_TEST_MAIN(MainFormTest)
#include "tst_main_form.moc"
