#include "main_window/DownloadCommand.h"
#include "main_window/MainForm.h"
#include "main_window/WindowPlacement.h"
#include "support/LoopbackServer.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QDirIterator>
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

    void quittingMidDownloadLeavesNoPartialFile()
    {
        LoopbackServer server;
        server.serveDribble(QStringLiteral("/slow.jpg"), QByteArray(400 * 1024, 'x'), 1024, 50,
                            QStringLiteral("image/jpeg"));
        QTemporaryDir saveTo;
        dialogs.folderAnswer = saveTo.path();
        auto window = makeWindow();
        PickResult result;
        result.title = QStringLiteral("慢图");
        result.address = QStringLiteral("http://shop.test/item/1");
        result.addresses(MediaKind::Main) = {server.url(QStringLiteral("/slow.jpg"))};
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
        QTRY_VERIFY_WITH_TIMEOUT(!partials().isEmpty(), 5000);

        QVERIFY(window->close());
        QCOMPARE(dialogs.questions.size(), 1);
        // Stopped by the yes itself, before the window goes.
        QVERIFY(!window->downloadCommand().isRunning());
        QCOMPARE(partials(), QStringList());
        window.reset();
        QCOMPARE(partials(), QStringList());
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
    }
};

PICTORRA_TEST_MAIN(MainFormTest)
#include "tst_main_form.moc"
