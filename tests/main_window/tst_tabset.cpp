#include "download/SummaryRows.h"
#include "main_window/DownloadCommand.h"
#include "main_window/AddressStrip.h"
#include "main_window/Launcher.h"
#include "main_window/MainForm.h"
#include "main_window/MainLayout.h"
#include "main_window/VerticalTabBar.h"
#include "support/FakeBrowserPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QTemporaryDir>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

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
    // Tab `n` shows a completed pick of `title`, as the pick leaves it.
    void showResult(int n, const QString &title)
    {
        PickResult result;
        result.title = title;
        result.address = QStringLiteral("http://shop.test/item/%1").arg(n);
        result.addresses(MediaKind::Main) = {QStringLiteral("http://img.test/1.jpg")};
        Tab *tab = window->tabs().tab(n);
        tab->markPicked(title, result.address);
        fake(n)->location = QStringLiteral("about:blank");
        tab->showResult(result);
        QTRY_VERIFY(tab->holdsResult());
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
        window->tabs().tab(0)->markPicked(QStringLiteral("包"), QString());
        window->tabs().closeCurrent();
        QCOMPARE(book().TabList, QList<int>{0});
        QCOMPARE(window->tabs().count(), 1);
        QCOMPARE(fake(0)->navigations.last(), QStringLiteral("http://home.test/"));
        QVERIFY(!window->tabs().tab(0)->isPicked());
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

    // Ctrl+W, × and the double click ask before a result not yet downloaded
    // goes; 重新打开关闭的标签页 brings closed tabs back, results as they were.
    void anUnsavedResultIsAskedForAndComesBack()
    {
        window->NewP();
        showResult(1, QStringLiteral("紫砂茶壶"));
        const QString address = window->tabs().tab(1)->result()->address;
        auto *closeKey = window->findChild<QAction *>(QStringLiteral("closeTab"));
        QCOMPARE(closeKey->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
        dialogs.questionAnswer = false;
        closeKey->trigger();
        window->findChild<QPushButton *>(QStringLiteral("Close_B"))->click();
        VerticalTabBar *strip = window->tabs().strip();
        strip->resize(230, 300);
        QTest::mouseDClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
        QCOMPARE(dialogs.questions, QStringList(3, TabSet::unsavedQuestion()));
        QCOMPARE(book().TabList, (QList<int>{0, 1}));

        dialogs.questionAnswer = true;
        closeKey->trigger();
        QCOMPARE(book().TabList, QList<int>{0});
        fake(0)->location = QStringLiteral("http://shop.test/plain");
        window->tabs().closeCurrent(); // the only tab goes home, and can come back too
        QCOMPARE(dialogs.questions.size(), 4);

        auto *reopen = window->findChild<QAction *>(QStringLiteral("reopenTab"));
        QCOMPARE(reopen->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+T")));
        reopen->trigger();
        QCOMPARE(window->tabs().count(), 2);
        QCOMPARE(static_cast<FakeBrowserPage *>(window->tabs().currentBrowser())->navigations.last(),
                 QStringLiteral("http://shop.test/plain"));
        reopen->trigger();
        Tab *back = window->tabs().current();
        QTRY_VERIFY(back->holdsResult());
        QCOMPARE(back->result()->address, address);
        QCOMPARE(captions().last(), QStringLiteral("Pick:紫砂茶壶"));
        QVERIFY(!window->tabs().reopenClosed());

        // A downloaded result goes without a question.
        back->markDownloaded(DownloadSummary());
        window->tabs().closeCurrent();
        QCOMPARE(dialogs.questions.size(), 4);
        QCOMPARE(window->tabs().count(), 2);
    }

    // An address dropped on the tab column opens a tab; on the address box it replaces the text.
    void droppedAddressesOpenATabOrFillTheBox()
    {
        QMimeData data;
        data.setUrls({QUrl(QStringLiteral("http://shop.test/dropped"))});
        // A drop goes where the drag entered, and only where it was welcome.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->tabs().strip(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent onStrip(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->tabs().strip(), &onStrip);
        QCOMPARE(window->tabs().count(), 2);
        QCOMPARE(window->tabs().selectedPosition(), 2);
        QCOMPARE(static_cast<FakeBrowserPage *>(window->tabs().currentBrowser())->navigations.last(),
                 QStringLiteral("http://shop.test/dropped"));

        window->addressStrip().setAddress(QStringLiteral("http://old.test/"));
        QMimeData text;
        text.setText(QStringLiteral("  https://detail.1688.com/offer/123.html \n"));
        QLineEdit *box = window->addressStrip().urladress->lineEdit();
        QDragEnterEvent enterBox(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &enterBox);
        QDropEvent onBox(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(box, &onBox);
        QCOMPARE(window->addressStrip().address(), QStringLiteral("https://detail.1688.com/offer/123.html"));
        QCOMPARE(window->tabs().count(), 2);
    }

    // A dark skin gives the result pages its colours; no skin, their own.
    void resultPagesFollowTheSkin()
    {
        showResult(0, QStringLiteral("茶杯"));
        QVERIFY(!fake(0)->written.join(QString()).contains(QStringLiteral("#1e1f22")));
        qApp->setStyleSheet(QStringLiteral("QWidget { background-color: #1E1F22; color: #E4E6EB; }"));
        QTRY_VERIFY(fake(0)->written.join(QString()).contains(QStringLiteral("body { background: #1e1f22; color: #e4e6eb; }")));
        QVERIFY(window->tabs().tab(0)->holdsResult());
        qApp->setStyleSheet(QString());
        QTRY_VERIFY(!fake(0)->written.join(QString()).contains(QStringLiteral("#1e1f22")));
    }

    void aPickingTabCannotBeClosed()
    {
        window->NewP();
        window->tabs().tab(1)->startPicking();
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
        QCOMPARE(captions(), (QStringList{QString(), QStringLiteral("Hello")}));  // no "Pick:" of the page's own
        fake(0)->reportTitle(QStringLiteral("Hi"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Hi"));  // background tabs too
        QCOMPARE(captions().first(), QStringLiteral("Hi"));
        window->tabs().tab(1)->markPicked(QStringLiteral("12345678901234"), QString());
        fake(1)->reportTitle(QStringLiteral("anything"));
        QCOMPARE(captions().last(), QStringLiteral("Pick:12345678901234"));
        // The cut comes before the cleaning; the strip shows what fits, the tip the whole title.
        const QString longTitle = QStringLiteral("ab:") + QString(50, QLatin1Char('x'));
        window->tabs().tab(1)->markPicked(longTitle, QString());
        fake(1)->reportTitle(QString());
        QCOMPARE(captions().last(), QStringLiteral("Pick:ab") + QString(Tab::CaptionChars - 3, QLatin1Char('x')));
        QCOMPARE(window->tabs().strip()->tabToolTip(1),
                 QStringLiteral("ab") + QString(50, QLatin1Char('x')) + QStringLiteral("\n双击关闭"));
        fake(0)->reportTitle(QStringLiteral("a-b c/defgh"));
        QCOMPARE(captions().first(), QStringLiteral("abcdefgh"));
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

    void onlyADoubleClickOnOneTabClosesIt()
    {
        window->NewP();
        window->NewP();
        VerticalTabBar *strip = window->tabs().strip();
        strip->resize(230, 300);
        // Clicks down the list, however quick, close nothing.
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(0).center());
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center(), 2000);
        QCOMPARE(window->tabs().count(), 3);
        QTest::mouseDClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
        QCOMPARE(book().TabList, (QList<int>{0, 2}));
    }

    void thereIsNoLimitOnTheNumberOfTabs()
    {
        for (int i = 0; i < 300; ++i)
            window->NewP();
        QCOMPARE(window->tabs().count(), 301);
        QCOMPARE(book().CurIndex, 300);
        fake(300)->reportTitle(QStringLiteral("tab three hundred"));
        QCOMPARE(window->tabs().captionAt(301), QStringLiteral("tabthreehundred"));
        window->tabs().tab(300)->startPicking();
        window->tabs().closeCurrent();
        QCOMPARE(window->tabs().count(), 301);
    }

    void menusCarryTheirTextsAndShortcuts()
    {
        const QList<QAction *> items = window->fileMenu()->actions();
        QCOMPARE(items.size(), 5);
        QCOMPARE(items[0]->text(), QStringLiteral("新建"));
        QCOMPARE(items[4]->text(), QStringLiteral("选项"));
        QCOMPARE(items[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+M")));
        QCOMPARE(items[2]->text(), QStringLiteral("退出"));
        QCOMPARE(items[3]->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
        items[3]->trigger();
        QCOMPARE(dialogs.messages.last().text,
                 QStringLiteral("软件名称：Pictorra\r软件版本：Ver3.2"));
        QCOMPARE(dialogs.messages.last().title, QStringLiteral("软件版本信息"));
        items[1]->trigger();
        QVERIFY(window->batchWindow()->isVisible());
        QCOMPARE(window->batchWindow()->windowTitle(), QStringLiteral("批量采集"));
        QVERIFY(!window->batchWindow()->isModal());
    }

    void helpNamesTheHomePageHost()
    {
        window->showHelp();
        const QString text = dialogs.messages.last().text;
        QCOMPARE(dialogs.messages.last().title, QStringLiteral("使用帮助"));
        QVERIFY(text.startsWith(QStringLiteral("Pictorra 使用帮助\r\n\r\n软件功能：")));
        for (const char16_t *kind : {u"主图", u"SKU图", u"描述图", u"视频", u"商品信息"})
            QVERIFY2(text.section(QStringLiteral("\r\n"), 2, 2).contains(QStringView(kind)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\r\n使用方法：方法1)")));
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
            QCOMPARE(window->tabs().mesg(0)->geometry().topLeft(), expected.mesg.topLeft());
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

    void aTabIsAResultByItsStateOnly()
    {
        // A page may call itself "Pick:…": that makes no result.
        fake(0)->reportTitle(QStringLiteral("Pick:fake"));
        window->downloadCommand().DownLoad_B_Click();
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("页面上无采集结果,采集结果标题以Pick开头"));
        QVERIFY(dialogs.folderRequests.isEmpty());

        showResult(0, QStringLiteral("真皮手提包"));
        QCOMPARE(captions(), QStringList{QStringLiteral("Pick:真皮手提包")});
        QVERIFY(window->tabs().tab(0)->holdsResult());
        fake(0)->reportTitle(QStringLiteral("Pick:真皮手提包"));  // its own page's title keeps it
        QVERIFY(window->tabs().tab(0)->holdsResult());

        // Leaving the result page (typed address, 主页, link, back) ends it.
        window->addressStrip().setAddress(QStringLiteral("http://other.test/"));
        emit window->addressStrip().addressEntered(QStringLiteral("http://other.test/"));
        QVERIFY(!window->tabs().tab(0)->holdsResult());
        QVERIFY(!window->tabs().tab(0)->isPicked());
        fake(0)->reportTitle(QStringLiteral("Another page"));
        QCOMPARE(captions(), QStringList{QStringLiteral("Anotherpage")});
        window->downloadCommand().DownLoad_B_Click();
        QVERIFY(dialogs.folderRequests.isEmpty());
    }

    void aResultPageFinishedAfterItsTabClosedIsNotKept()
    {
        // The first tab outlives its place in the strip, and a batch may close
        // it while its result page is still being written.
        window->NewP();
        const QPointer<Tab> zero = window->tabs().tab(0);
        PickResult result;
        result.title = QStringLiteral("旧宝贝");
        bool written = false;
        zero->showResult(result, [&written](bool done) { written = done; });
        window->tabs().closeTab(zero);
        QTRY_VERIFY(written);
        QVERIFY(!zero->holdsResult());
        window->NewP();
        QCOMPARE(window->tabs().tab(0), zero.data());
        window->downloadCommand().DownLoad_B_Click();
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("页面上无采集结果,采集结果标题以Pick开头"));
    }

    void downloadCountsFailuresAndRetry()
    {
        showResult(0, QStringLiteral("紫砂茶壶"));
        DownloadSummary summary;
        summary.itemFolder = QStringLiteral("/saved/紫砂茶壶");
        summary.total = 6;
        summary.saved = 3;
        summary.dropped = 1;
        summary.failed = 2;
        summary.unknownWidth = 1;
        summary.failures = {{QStringLiteral("主图"), 1, QStringLiteral("http://img.test/a.jpg")},
                            {QStringLiteral("描述图"), 3, QStringLiteral("http://img.test/b.png")}};
        MesgList *list = window->tabs().mesg(0);
        list->setRow(0, QStringLiteral("消息提示:下载完成,保存至->/saved/紫砂茶壶->双击打开"));
        list->setCounts(SummaryRows::CountsLine(summary));
        window->tabs().tab(0)->markDownloaded(summary);

        QCOMPARE(list->item(1)->text(),
                 QStringLiteral("保存3张 丢弃1张(宽度小于450像素) 失败2张 宽度未知1张 失败的图片:主图1, 描述图3"));
        QCOMPARE(captions(), QStringList{QStringLiteral("已下载(2张失败):紫砂茶壶")});
        summary.failed = 0;
        summary.failures.clear();
        summary.saved = 0;
        window->tabs().tab(0)->markDownloaded(summary);
        QCOMPARE(captions(), QStringList{QStringLiteral("已下载(无图片):紫砂茶壶")});

        // Rows are as high as their font and the page starts below them.
        window->show();
        list->show();
        QVERIFY(list->height() >= 2 * list->fontMetrics().height());
        QVERIFY(fake(0)->widget()->geometry().top() >= list->geometry().bottom());
    }

    void retryAndOpeningTheFolder()
    {
        showResult(0, QStringLiteral("紫砂茶壶"));
        DownloadSummary summary;
        summary.itemFolder = QStringLiteral("/saved/紫砂茶壶");
        summary.failed = 1;
        summary.failures = {{QStringLiteral("描述图"), 3, QStringLiteral("http://img.test/b.png")}};
        MesgList *list = window->tabs().mesg(0);
        list->setRow(0, QStringLiteral("消息提示:下载完成,保存至->/saved/紫砂茶壶->双击打开"));
        window->tabs().tab(0)->markDownloaded(summary);
        QVERIFY(list->retryAction()->isEnabled());
        QVERIFY(!list->retryButton()->isHidden());

        QSignalSpy retried(&window->downloadCommand(), &DownloadCommand::retryStarted);
        list->retryButton()->click();
        QCOMPARE(retried.size(), 1);
        QCOMPARE(retried[0][1].toString(), summary.itemFolder);
        const auto asked = retried[0][2].value<QList<FailedPicture>>();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].name(), QStringLiteral("描述图3"));

        // The folder comes from the tab's state: its rows may say anything.
        list->setRow(0, QStringLiteral("->/elsewhere->"));
        window->downloadCommand().setFolderOpener([](const QString &) { return false; });
        dialogs.messages.clear();
        window->downloadCommand().mesgDblClick(window->tabs().tab(0));
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].text.contains(QStringLiteral("/saved/紫砂茶壶")));
    }

    void retryKeepsWhatWasSavedBefore()
    {
        // The first run saved two pictures and the video; the one picture it
        // lost fails again (no http address: no network needed).
        QTemporaryDir saved;
        showResult(0, QStringLiteral("紫砂茶壶"));
        DownloadSummary summary;
        summary.itemFolder = saved.path();
        summary.total = 4;
        MediaCounts kept;
        kept[MediaKind::Main] = 2;
        kept[MediaKind::Video] = 1;
        summary.setKept(kept);
        summary.failed = 1;
        summary.failures = {{QStringLiteral("主图"), 2, QStringLiteral("file:///nowhere.jpg")}};
        window->tabs().tab(0)->markDownloaded(summary);

        QSignalSpy ended(&window->downloadCommand(), &DownloadCommand::tabDownloaded);
        window->downloadCommand().retryFailed(window->tabs().tab(0));
        QVERIFY(ended.wait());
        const auto merged = ended[0][1].value<DownloadSummary>();
        QCOMPARE((QList<int>{merged.saved, merged.kept[MediaKind::Video], merged.failed}), (QList<int>{2, 1, 1}));
        QCOMPARE(window->tabs().mesg(0)->item(1)->text(),
                 QStringLiteral("保存2张 丢弃0张(宽度小于450像素) 失败1张 视频1个 失败的图片:主图2"));
    }

    void menuShortcutsWinOverTheAddressBox()
    {
        // Where the X11 key bindings hold, the line edit claims Ctrl+E (end of
        // line) before the menu sees it. The window's filter on the box
        // leaves menu keys unclaimed, and only those.
        QObject *form = window.get();
        QComboBox *box = window->addressStrip().urladress;
        QKeyEvent menuKey(QEvent::ShortcutOverride, Qt::Key_E, Qt::ControlModifier);
        menuKey.setAccepted(true);
        QVERIFY(form->eventFilter(box, &menuKey));
        QVERIFY(!menuKey.isAccepted());
        QKeyEvent boxKey(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(!form->eventFilter(box, &boxKey));

        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->addressStrip().urladress->setFocus();
        QTRY_VERIFY(window->addressStrip().urladress->hasFocus());
        QTest::keyClick(window->addressStrip().urladress, Qt::Key_E, Qt::ControlModifier);
        QTRY_VERIFY(!window->isVisible());
    }

    // Last: it changes the application's locale for the rest of the run.
    void theApplicationSpeaksChineseAndAddsNothingToTitles()
    {
        const QStringList loaded = Launcher::setUpApplication(*qApp);
        QVERIFY2(loaded.contains(QStringLiteral("qtwebengine")), qPrintable(loaded.join(u',')));
        QCOMPARE(QLocale().name(), QStringLiteral("zh_CN"));
        // An unset display name follows the application name: nothing is appended to titles.
        QCoreApplication::setApplicationName(QStringLiteral("renamed"));
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("renamed"));
    }
};

PICTORRA_TEST_MAIN(TabSetTest)
#include "tst_tabset.moc"
