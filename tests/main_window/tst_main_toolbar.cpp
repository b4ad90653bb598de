#include "appearance/SkinCommands.h"
#include "appearance/Toolbar1.h"
#include "appearance/TrayIcon.h"
#include "appearance/skin.h"
#include "main_window/FavouriteCommands.h"
#include "favourites/linka.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "support/FakeBrowserPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <memory>

// The toolbar, the favourites and skin windows and the tray icon as the main
// window wires them, driven through the real buttons.
class MainToolbarTest : public QObject
{
    Q_OBJECT

    RecordingDialogs dialogs;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<MainForm> window;

    void makeWindow(bool trayIcon = false)
    {
        MainForm::Services services = testServices(dialogs, folder->path(), fakeBrowsers(), QStringLiteral("http://start.test/"));
        services.trayIcon = trayIcon;
        window = std::make_unique<MainForm>(services);
    }
    FakeBrowserPage *fake(int n) { return static_cast<FakeBrowserPage *>(window->tabs().browser(n)); }
    void press(int index)
    {
        auto *toolbar = qobject_cast<Toolbar1 *>(window->toolbar());
        QVERIFY(toolbar);
        QVERIFY(toolbar->button(index));
        toolbar->button(index)->trigger();
    }
    QString programPath(const QString &relative) const { return folder->filePath(relative); }
    void writeFile(const QString &relative, const QByteArray &bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(programPath(relative)).path()));
        QFile file(programPath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray readFile(const QString &relative) const
    {
        QFile file(programPath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    template <typename Window> static int topLevelCount()
    {
        int count = 0;
        for (QWidget *widget : QApplication::topLevelWidgets())
            count += qobject_cast<Window *>(widget) != nullptr && widget->isVisible();
        return count;
    }

private Q_SLOTS:
    void init()
    {
        dialogs = RecordingDialogs();
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        qApp->setStyleSheet(QString());
    }
    void cleanup()
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qApp->setStyleSheet(QString());
    }

    void pasteAndRefreshGoToTheSelectedPage()
    {
        makeWindow();
        window->NewP();
        window->tabs().selectPosition(1);
        const int focusBefore = fake(0)->focusRequests;
        press(1);
        QCOMPARE(fake(0)->focusRequests, focusBefore + 1);
        QCOMPARE(fake(0)->pastes, 1);
        press(7);
        QCOMPARE(fake(0)->refreshes, 1);
        QCOMPARE(fake(1)->pastes + fake(1)->refreshes, 0);
    }

    void copyClearsTheClipboardEvenWhenThePageCopiesNothing()
    {
        makeWindow();
        QGuiApplication::clipboard()->setText(QStringLiteral("left over"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("left over"));
        const int focusBefore = fake(0)->focusRequests;
        press(2);
        QCOMPARE(fake(0)->copies, 1);
        QCOMPARE(fake(0)->focusRequests, focusBefore);  // copy leaves the focus where it is
        QVERIFY(QGuiApplication::clipboard()->text().isEmpty());
    }

    void newPageOpensATab()
    {
        makeWindow();
        press(3);
        QCOMPARE(window->tabs().count(), 2);
        QCOMPARE(window->tabs().book().CurIndex, 1);
        QCOMPARE(window->tabs().selectedPosition(), 2);
    }

    void homeLoadsTheHomeFavourite_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("newTab");
        QTest::newRow("about:blank") << QStringLiteral("主页.link") << QStringLiteral("about:blank") << false;
        QTest::newRow("ABOUT:blank") << QStringLiteral("主页.link") << QStringLiteral("ABOUT:blank") << false;
        QTest::newRow("LINK, About:Blank") << QStringLiteral("主页.LINK") << QStringLiteral("About:Blank") << false;
        QTest::newRow("other address") << QStringLiteral("主页.link") << QStringLiteral("http://x.test/") << true;
        QTest::newRow("LINK, other address") << QStringLiteral("主页.LINK") << QStringLiteral("http://x.test/") << true;
    }
    void homeLoadsTheHomeFavourite()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, address);
        QFETCH(bool, newTab);
        writeFile(QStringLiteral("likepage/") + fileName, "[Fai.link]\r\nhttp://home.fav/\r\n");
        makeWindow();
        window->addressStrip().setAddress(address);
        press(4);
        QCOMPARE(window->tabs().count(), newTab ? 2 : 1);
        const int loaded = newTab ? 1 : 0;
        QCOMPARE(window->tabs().book().CurIndex, loaded);
        QCOMPARE(fake(loaded)->navigations.last(), QStringLiteral("http://home.fav/"));
        if (newTab)
            QCOMPARE(fake(0)->navigations, QStringList{QStringLiteral("http://start.test/")});
        QVERIFY(dialogs.messages.isEmpty());
    }

    void homeWithoutAHomeFavouriteDoesNothing()
    {
        makeWindow();
        auto pressHome = [this] {
            for (const QString &address : {QStringLiteral("about:blank"), QStringLiteral("http://x.test/")}) {
                window->addressStrip().setAddress(address);
                press(4);
            }
        };
        pressHome();  // no favourites folder yet
        writeFile(QStringLiteral("likepage/other.link"), "[Fai.link]\r\nhttp://other/\r\n");
        pressHome();
        QCOMPARE(window->tabs().count(), 1);
        QCOMPARE(fake(0)->navigations, QStringList{QStringLiteral("http://start.test/")});
        QVERIFY(dialogs.messages.isEmpty());
    }

    void aBadHomeFavouriteShowsTheFormatMessageAndLoadsNothing()
    {
        writeFile(QStringLiteral("likepage/主页.link"), "[fai.link]\r\nhttp://home.fav/\r\n");
        makeWindow();
        window->addressStrip().setAddress(QStringLiteral("http://x.test/"));
        press(4);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("文件格式错误。"));
        QVERIFY(dialogs.messages[0].title.isEmpty());
        QCOMPARE(window->tabs().count(), 1);
        QCOMPARE(fake(0)->navigations, QStringList{QStringLiteral("http://start.test/")});
    }

    void bookmarkSavesUnderTheCleanedCaption()
    {
        makeWindow();
        fake(0)->reportTitle(QStringLiteral("Pick:abc - x"));
        window->addressStrip().setAddress(QStringLiteral("http://shop.test/item?id=1&b=2"));
        press(6);
        QCOMPARE(readFile(QStringLiteral("likepage/abcx.link")),
                 QByteArray("[Fai.link]\r\nhttp://shop.test/item?id=1&b=2\r\n"));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("已加入收藏夹"));
        QVERIFY(dialogs.messages[0].title.isEmpty());
        // The same address again: said, and kept once.
        press(6);
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("收藏夹里已有这一页"));
        QCOMPARE(QDir(programPath(QStringLiteral("likepage"))).entryList(QDir::Files).size(), 1);

        // A result page lives at about:blank: the favourite keeps the item's address.
        PickResult result;
        result.title = QStringLiteral("res");
        result.address = QStringLiteral("http://shop.test/item?id=7");
        fake(0)->location = QStringLiteral("about:blank");
        window->tabs().tab(0)->showResult(result);
        QTRY_VERIFY(window->tabs().tab(0)->holdsResult());
        fake(0)->reportTitle(QStringLiteral("Pick:res"));
        window->addressStrip().setAddress(QStringLiteral("about:blank"));
        press(6);
        const QStringList saved = QDir(programPath(QStringLiteral("likepage"))).entryList({QStringLiteral("*res*.link")});
        QCOMPARE(saved.size(), 1);
        QCOMPARE(readFile(QStringLiteral("likepage/") + saved.first()), QByteArray("[Fai.link]\r\nhttp://shop.test/item?id=7\r\n"));
    }

    void enterInTheFocusedAddressBoxLoadsTheAddress()
    {
        makeWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QComboBox *box = window->addressStrip().urladress;
        box->lineEdit()->setFocus();
        // Keys go to the window's focus widget, whatever the line edit hands its focus to.
        QWidget *focused = window->focusWidget();
        QVERIFY(focused);
        box->setEditText(QStringLiteral("http://Typed.test/A"));
        QTest::keyClick(focused, Qt::Key_Return);
        QCOMPARE(fake(0)->navigations.mid(1), QStringList{QStringLiteral("http://Typed.test/A")});
    }

    void favouritesAndSkinButtonsKeepOneWindowEach()
    {
        makeWindow();
        press(5);
        press(5);
        QCOMPARE(topLevelCount<linka>(), 1);
        QVERIFY(window->favourites().favouritesWindow()->isVisible());
        QVERIFY(QDir(programPath(QStringLiteral("likepage"))).exists());
        press(8);
        press(8);
        QCOMPARE(topLevelCount<skin>(), 1);
        QVERIFY(window->skins().skinWindow()->isVisible());
        // Closed and pressed again: still one of each.
        window->favourites().favouritesWindow()->close();
        window->skins().skinWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        press(5);
        press(8);
        QCOMPARE(topLevelCount<linka>(), 1);
        QCOMPARE(topLevelCount<skin>(), 1);
    }

    void startUpAppliesTheSkinStoredByName()
    {
        const QByteArray sheet = "QWidget { color: rgb(10, 20, 30); }\n";
        writeFile(QStringLiteral("皮肤/a.qss"), "QWidget { color: red; }\n");
        writeFile(QStringLiteral("皮肤/x.qss"), sheet);
        writeFile(QStringLiteral("config.ini"), "[config]\r\nskin= x.qss \r\nskinid=0\r\n");
        makeWindow();
        QCOMPARE(qApp->styleSheet(), QString::fromUtf8(sheet));
    }

    void aMissingStoredSkinLeavesTheDefaultLook()
    {
        writeFile(QStringLiteral("皮肤/a.qss"), "QWidget { color: red; }\n");
        writeFile(QStringLiteral("config.ini"), "[config]\r\nskin=gone.qss\r\nskinid=0\r\n");
        makeWindow();
        QVERIFY(qApp->styleSheet().isEmpty());
    }

    void trayClickRestoresOnlyAHiddenWindow()
    {
        makeWindow(true);
        TrayIcon *tray = window->trayIcon();
        QVERIFY(tray);
        QCOMPARE(tray->systemTrayIcon()->toolTip(), QStringLiteral("Pictorra"));
        window->showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        tray->onActivated(QSystemTrayIcon::Trigger);
        QVERIFY(window->isMaximized());

        window->showMinimized();
        window->hide();
        tray->onActivated(QSystemTrayIcon::Trigger);
        QVERIFY(window->isVisible());
        QVERIFY(!(window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)));
    }

    void minimizingHidesIntoTheTray()
    {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("no notification area to hide into");
        makeWindow(true);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->showMinimized();
        QTRY_VERIFY(!window->isVisible());
        window->trayIcon()->onActivated(QSystemTrayIcon::Trigger);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
    }

    void trayMenuEndsWithTheFileMenu()
    {
        makeWindow(true);
        QMenu *menu = window->trayIcon()->systemTrayIcon()->contextMenu();
        QVERIFY(menu->actions().endsWith(window->fileMenu()->actions().last()));
        QAction *version = nullptr;
        for (QAction *action : menu->actions())
            if (action->text() == QStringLiteral("版本"))
                version = action;
        QVERIFY(version);
        version->trigger();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("软件版本信息"));
    }

    void trayExitClosesAHiddenWindow()
    {
        makeWindow(true);
        int shutdowns = 0;
        window->addShutdownStep([&shutdowns] { ++shutdowns; });
        window->showMinimized();
        window->hide();
        QAction *exit = window->fileMenu()->actions().value(2);
        QVERIFY(exit);
        QCOMPARE(exit->text(), QStringLiteral("退出"));
        exit->trigger();
        QCOMPARE(shutdowns, 1);
        QVERIFY(!window->trayIcon()->systemTrayIcon()->isVisible());
    }
};

PICTORRA_TEST_MAIN(MainToolbarTest)
#include "tst_main_toolbar.moc"
