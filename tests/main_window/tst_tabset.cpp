#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "main_window/MainLayout.h"
#include "main_window/VerticalTabBar.h"
#include "support/FakeBrowserPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QTemporaryDir>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include <memory>

class TabSetTest : public QObject
{
    Q_OBJECT

    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    std::unique_ptr<MainForm> window;
    QList<FakeBrowserPage *> created;

    FakeBrowserPage *fake(int n) { return static_cast<FakeBrowserPage *>(window->tabs().browser(n)); }
    TabBook &book() { return window->tabs().book(); }
    QStringList captions()
    {
        QStringList result;
        for (int p = 1; p <= window->tabs().count(); ++p)
            result << window->tabs().captionAt(p);
        return result;
    }
    void makeWindow(Intervals intervals = {})
    {
        MainForm::Services services = testServices(dialogs, programFolder.path(), {}, QStringLiteral("http://home.test/"));
        services.intervals = intervals;
        services.browserFactory = [this](QWidget *parent) {
            auto *page = new FakeBrowserPage(parent);
            created.append(page);
            return page;
        };
        window = std::make_unique<MainForm>(services);
    }

private Q_SLOTS:
    void init()
    {
        dialogs = RecordingDialogs();
        created.clear();
        makeWindow();
    }
    void cleanup() { window.reset(); }

    void startsWithOneTabOnTheHomePage()
    {
        QCOMPARE(book().TabList, QList<int>{0});
        QCOMPARE(window->tabs().keyAt(1), QStringLiteral("t0"));
        QCOMPARE(fake(0)->navigations, QStringList{QStringLiteral("http://home.test/")});
        QVERIFY(fake(0)->silent);
        QCOMPARE(window->addressStrip().address(), QStringLiteral("http://home.test/"));
    }

    void indicesAreReusedSmallestFirst()
    {
        window->NewP();
        window->NewP();
        QCOMPARE(book().TabList, (QList<int>{0, 1, 2}));
        QCOMPARE(book().CurIndex, 2);
        window->tabs().selectPosition(2);
        window->tabs().closeCurrent();
        QCOMPARE(book().TabList, (QList<int>{0, 2}));
        window->NewP();
        QCOMPARE(book().TabList, (QList<int>{0, 2, 1}));
        QCOMPARE(window->tabs().keyAt(3), QStringLiteral("t1"));
        QCOMPARE(window->tabs().selectedPosition(), 3);
    }

    void indexZeroKeepsItsPageAndMessagesWhenReused()
    {
        fake(0)->location = QStringLiteral("http://page.zero/");
        window->tabs().mesg(0)->addItem(QStringLiteral("kept"));
        FakeBrowserPage *zero = fake(0);
        window->NewP();
        window->NewP();
        window->tabs().selectPosition(1);
        window->tabs().closeCurrent();
        QCOMPARE(book().TabList, (QList<int>{1, 2}));
        QCOMPARE(book().CurIndex, 2);  // the last tab is selected after a close
        window->NewP();
        QCOMPARE(book().CurIndex, 0);
        QCOMPARE(fake(0), zero);
        QCOMPARE(fake(0)->location, QStringLiteral("http://page.zero/"));
        QCOMPARE(window->tabs().mesg(0)->item(0)->text(), QStringLiteral("kept"));
        QCOMPARE(book().TabList, (QList<int>{1, 2, 0}));
    }

    void closingTheOnlyTabResetsItToTheHomePage()
    {
        book().PickedTabs = {0};
        window->tabs().closeCurrent();
        QCOMPARE(book().TabList, QList<int>{0});
        QCOMPARE(window->tabs().count(), 1);
        QCOMPARE(fake(0)->navigations.last(), QStringLiteral("http://home.test/"));
        QVERIFY(book().PickedTabs.isEmpty());
    }

    void closingAnyTabSelectsTheLastOne()
    {
        window->NewP();
        window->NewP();
        window->NewP();
        window->tabs().selectPosition(2);
        window->tabs().closeCurrent();
        QCOMPARE(window->tabs().selectedPosition(), 3);
        QCOMPARE(book().CurIndex, 3);
    }

    void aPickingTabCannotBeClosed()
    {
        window->NewP();
        book().PickingFlag[1] = -1;
        window->tabs().closeCurrent();
        QCOMPARE(book().TabList, (QList<int>{0, 1}));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("采集中不能关闭"));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("错误"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Critical);
    }

    void stepButtonsStopAtTheEnds()
    {
        window->NewP();
        window->NewP();
        window->tabs().selectPosition(1);
        window->addressStrip().goback->click();
        QCOMPARE(window->tabs().selectedPosition(), 1);
        window->addressStrip().GoForward->click();
        window->addressStrip().GoForward->click();
        QCOMPARE(window->tabs().selectedPosition(), 3);
        window->addressStrip().GoForward->click();
        QCOMPARE(window->tabs().selectedPosition(), 3);
        QCOMPARE(book().CurIndex, 2);
    }

    void selectionShowsThePageAddressAndName()
    {
        fake(0)->location = QStringLiteral("http://zero/");
        fake(0)->title = QStringLiteral("Zero page");
        window->NewP();
        window->tabs().selectPosition(1);
        QCOMPARE(window->addressStrip().address(), QStringLiteral("http://zero/"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Zero page"));
    }

    void enterNavigatesAndRemembersEachAddressOnce()
    {
        QComboBox *box = window->addressStrip().urladress;
        auto enter = [box](const QString &text) {
            box->setEditText(text);
            QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        };
        enter(QStringLiteral("http://a.test/x"));
        enter(QStringLiteral("http://a.test/x"));
        enter(QStringLiteral("http://A.test/x"));
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->itemText(1), QStringLiteral("http://A.test/x"));
        QCOMPARE(fake(0)->navigations.mid(1),
                 (QStringList{QStringLiteral("http://a.test/x"), QStringLiteral("http://a.test/x"),
                              QStringLiteral("http://A.test/x")}));
    }

    void titlesBecomeCaptions()
    {
        window->NewP();
        fake(1)->reportTitle(QStringLiteral("Pick:Hello"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Pick:Hello"));
        QCOMPARE(captions(), (QStringList{QString(), QString()}));
        fake(0)->reportTitle(QStringLiteral("Hi"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Hi"));  // background tabs too
        QCOMPARE(captions().first(), QStringLiteral("Hi"));
        book().PickedTabs.append(1);
        book().PickTitle[1] = QStringLiteral("12345678901234");
        fake(1)->reportTitle(QStringLiteral("anything"));
        QCOMPARE(captions().last(), QStringLiteral("Pick:1234567890"));
    }

    void theTablessFirstBrowserTouchesNoCaption()
    {
        window->NewP();
        window->tabs().selectPosition(1);
        window->tabs().closeCurrent();
        fake(0)->reportTitle(QStringLiteral("still running"));
        QCOMPARE(window->windowTitle(), QStringLiteral("still running"));
        QCOMPARE(captions(), QStringList{QString()});
    }

    void newWindowOpensATabThatGetsTheFocus()
    {
        BrowserPage *target = fake(0)->openNewWindow();
        QCOMPARE(book().TabList, (QList<int>{0, 1}));
        QCOMPARE(target, window->tabs().browser(1));
        QCOMPARE(fake(1)->focusRequests > 0, true);
    }

    void twoReleasesWithinTheWindowClose_data()
    {
        QTest::addColumn<int>("gapMs");
        QTest::addColumn<bool>("closes");
        // Timer2 is scaled to 500 ms: 400 ms stands for 4 s, 600 ms for 6 s.
        QTest::newRow("4 s") << 400 << true;
        QTest::newRow("6 s") << 600 << false;
    }
    void twoReleasesWithinTheWindowClose()
    {
        QFETCH(int, gapMs);
        QFETCH(bool, closes);
        window.reset();
        makeWindow(Intervals::scaled(0.1));
        window->NewP();
        VerticalTabBar *strip = window->tabs().strip();
        strip->resize(230, 300);
        const QPoint onSecondTab = strip->tabRect(1).center();
        QTest::mouseClick(strip, Qt::LeftButton, {}, onSecondTab);
        QTest::qWait(gapMs);
        QTest::mouseClick(strip, Qt::LeftButton, {}, onSecondTab);
        QCOMPARE(window->tabs().count(), closes ? 1 : 2);
    }

    void thereIsNoLimitOnTheNumberOfTabs()
    {
        for (int i = 0; i < 300; ++i)
            window->NewP();
        QCOMPARE(window->tabs().count(), 301);
        QCOMPARE(book().CurIndex, 300);
        fake(300)->reportTitle(QStringLiteral("tab three hundred"));
        QCOMPARE(window->tabs().captionAt(301), QStringLiteral("tabt"));
        book().PickingFlag[300] = -1;
        window->tabs().closeCurrent();
        QCOMPARE(window->tabs().count(), 301);
    }

    void accessTicksSaturate()
    {
        window->AccessTicks = 32766;
        window->TimerAccess.setInterval(1);
        QTRY_COMPARE_WITH_TIMEOUT(window->AccessTicks, qint16(32767), 2000);
        QTest::qWait(20);
        QCOMPARE(window->AccessTicks, qint16(32767));
    }

    void menusCarryTheirTextsAndShortcuts()
    {
        const QList<QAction *> items = window->fileMenu()->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items[0]->text(), QStringLiteral("新建"));
        QCOMPARE(items[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QCOMPARE(items[2]->text(), QStringLiteral("退出"));
        QCOMPARE(items[3]->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
        items[3]->trigger();
        QCOMPARE(dialogs.messages.last().text,
                 QStringLiteral("软件名称：Pictorra\r软件版本:Ver3.2"));
        QCOMPARE(dialogs.messages.last().title, QStringLiteral("软件版本信息"));
        items[1]->trigger();
        QVERIFY(window->batchWindow()->isVisible());
        QCOMPARE(window->batchWindow()->windowTitle(), QStringLiteral("批量采集"));
        QVERIFY(!window->batchWindow()->isModal());
    }

    void command1PutsTheTabColumnSecondInTheTabOrder()
    {
        window->show();
        window->Command1->click();
        QWidget *first = window->nextInFocusChain();
        while (!(first->focusPolicy() & Qt::TabFocus))
            first = first->nextInFocusChain();
        QWidget *second = first->nextInFocusChain();
        while (!(second->focusPolicy() & Qt::TabFocus))
            second = second->nextInFocusChain();
        QCOMPARE(second, static_cast<QWidget *>(window->tabs().strip()));
    }

    void helpNamesTheHomePageHost()
    {
        window->showHelp();
        const QString text = dialogs.messages.last().text;
        QCOMPARE(dialogs.messages.last().title, QStringLiteral("使用帮助"));
        QVERIFY(text.startsWith(QStringLiteral("软件功能：阿里巴巴产品主图和描述图采集下载。\r\n使用方法：方法1)")));
        QVERIFY(text.contains(QStringLiteral("\r\n          方法2)直接在地址栏输入home.test网址回车")));
        QVERIFY(text.endsWith(QStringLiteral("选择目录保存图片。\r\n")));
    }

    void closingRunsTheShutdownSteps()
    {
        int steps = 0;
        window->addShutdownStep([&steps] { ++steps; });
        window->show();
        window->close();
        QCOMPARE(steps, 1);
        window.reset();
        QCOMPARE(steps, 1);
    }

    void layoutFollowsTheWindowSize()
    {
        window->show();
        for (const QSize size : {QSize(1000, 700), QSize(700, 500)}) {
            window->resize(size);
            QTRY_COMPARE(window->size(), size);
            const QWidget *client = window->clientArea();
            const MainLayout expected = MainLayout::compute(client->width(), client->height());
            QCOMPARE(fake(0)->widget()->geometry(), expected.browser);
            QCOMPARE(window->tabs().mesg(0)->geometry(), expected.mesg);
            QCOMPARE(window->tabs().strip()->geometry(), QRect(0, 64, 230, expected.browser.height()));
            QCOMPARE(window->addressStrip().DownLoad_B->geometry(), expected.downloadButton);
        }
        // Too small: the pages keep their place and the window stays visible.
        const QRect before = fake(0)->widget()->geometry();
        window->resize(200, 300);
        QTRY_COMPARE(window->size(), QSize(200, 300));
        QCOMPARE(fake(0)->widget()->geometry(), before);
        QVERIFY(window->isVisible());
    }
};

PICTORRA_TEST_MAIN(TabSetTest)
#include "tst_tabset.moc"
