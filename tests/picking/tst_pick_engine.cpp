// The Pick command end to end on the real engine, against product pages
// served on the loopback interface.
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "picking/CleanName.h"
#include "picking/PageExtractor.h"
#include "main_window/PickCommand.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "support/EngineWindow.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QTemporaryDir>

#include <QJsonArray>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QWebEngineProfile>

#include <memory>

class PickEngineTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    QWebEngineProfile *profile = nullptr;
    std::unique_ptr<MainForm> window;
    ProductPage item;

    void makeWindow(const Intervals &intervals)
    {
        window.reset();
        window = engineWindow(dialogs, programFolder.path(), profile, intervals);
    }

    // Presses 采集 on the selected tab with `address` in the address box.
    void pick(const QString &address)
    {
        window->addressStrip().setAddress(address);
        window->addressStrip().pick_B->click();
    }

    bool waitForPicks(QSignalSpy &ended, int count, int timeoutMs = 60000)
    {
        QElapsedTimer timer;
        timer.start();
        while (ended.count() < count && timer.elapsed() < timeoutMs)
            ended.wait(500);
        return ended.count() >= count;
    }

    // What the download will read back from a result tab.
    std::pair<QStringList, QStringList> readBack(int b)
    {
        std::optional<DocumentSnapshot> snapshot;
        window->tabs().browser(b)->readDocument({}, this, [&](const DocumentSnapshot &s) { snapshot = s; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(snapshot.has_value(), 10000); }();
        PicLists lists;
        PageExtractor::ExtractPics(snapshot.value_or(DocumentSnapshot{}), 0, b, false, lists);
        return {lists.MainPics(b), lists.DescPics(b)};
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (int i = 1; i <= 3; ++i)
            item.mainPics << server.url(QStringLiteral("/img/main%1.jpg").arg(i));
        for (int i = 1; i <= 5; ++i)
            item.descPics << server.url(QStringLiteral("/img/desc%1.png").arg(i));
        server.serve(QStringLiteral("/item.html"), item.html());
        ProductPage plain = item;
        plain.withGallery = false;
        server.serve(QStringLiteral("/plain.html"), plain.html());
        ProductPage hostile = item;
        hostile.mainPics = {QStringLiteral("https://h/x\"><script>document.title=\"owned\"</script>.jpg")};
        hostile.title = QStringLiteral("<b>bold</b> & \"quoted\"");
        QByteArray hostileHtml = hostile.html();
        // The gallery's thumbnails would not survive the quote; keep only the data attribute.
        hostileHtml.replace("<img src=\"https://h/x\"><script>document.title=\"owned\"</script>.jpg?s=60\">", "");
        server.serve(QStringLiteral("/hostile.html"), hostileHtml);
        ProductPage shortPage = item;
        shortPage.fillerHeight = 300;
        shortPage.descHeight = 300;
        server.serve(QStringLiteral("/short.html"), shortPage.html());
        // Long enough that the first second's scroll does not already reach the end.
        ProductPage medium = item;
        medium.descHeight = 800;
        server.serve(QStringLiteral("/medium.html"), medium.html());
        profile = BrowserProfile::offTheRecord(this);
    }

    void init()
    {
        dialogs = RecordingDialogs();
        Intervals intervals = Intervals::scaled(0.05);
        intervals.accessTickMs = 1000;  // a busy machine still gets its pages in time
        makeWindow(intervals);
    }

    void cleanup() { window.reset(); }

    void aProductPageBecomesItsResultPage()
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        QSignalSpy status(&window->pickCommand(), &PickCommand::statusChanged);
        pick(server.url(QStringLiteral("/item.html")));
        QVERIFY(window->tabs().tab(0)->isPicking());
        QCOMPARE(window->tabs().mesg(0)->item(0)->text(),
                 QStringLiteral("消息提示:图片采集中,估算已用时0s，采集过程中请勿做其它操作！"));
        QVERIFY(window->tabs().mesg(0)->isVisible());
        QVERIFY(waitForPicks(ended, 1));
        QCOMPARE(ended.first().at(1).toBool(), true);

        const Tab *tab = window->tabs().tab(0);
        QCOMPARE(tab->pickedTitle(), QStringLiteral("2024新款时尚女包阿里巴巴"));
        QCOMPARE(tab->pickedAddress(), server.url(QStringLiteral("/item.html")));
        QVERIFY(!tab->isPicking());
        QTRY_COMPARE(window->tabs().captionAt(1), QStringLiteral("Pick:2024新款时尚女包"));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Pick:2024新款时尚女包阿里巴巴"));
        QCOMPARE(window->tabs().mesg(0)->item(0)->text(), PickCommand::CompletedLine);
        const auto [main, desc] = readBack(0);
        QCOMPARE(main, item.mainPics);
        QCOMPARE(desc, item.descPics);
        QCOMPARE(window->pickCommand().runningPicks(), 0);
        // The seconds counted up while scrolling.
        bool counted = false;
        for (const QList<QVariant> &change : status)
            counted |= change.at(1).toString().contains(QStringLiteral("已用时3s"));
        QVERIFY(counted);
    }

    void pagesWithoutBothContainersAreRefused()
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        pick(server.url(QStringLiteral("/plain.html")));
        QVERIFY(waitForPicks(ended, 1));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("不是阿里巴巴宝贝地址"));
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("友情提示"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Critical);
        QVERIFY(!window->tabs().mesg(0)->isVisible());
        QCOMPARE(window->tabs().tab(0)->isPicking(), false);
        QVERIFY(!window->tabs().tab(0)->isPicked());
    }

    void aResultTabIsNotPickedAgain()
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        pick(server.url(QStringLiteral("/short.html")));
        QVERIFY(waitForPicks(ended, 1));
        QTRY_VERIFY(window->tabs().captionAt(1).startsWith(QLatin1String("Pick:")));
        pick(server.url(QStringLiteral("/short.html")));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("已经是采集结果，无需再采集，请直接下载！"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Information);
        QCOMPARE(window->tabs().tab(0)->isPicking(), false);
        QCOMPARE(window->tabs().mesg(0)->count(), 1);  // refused before anything moved: no status row
        QCOMPARE(window->tabs().browser(0)->LocationURL(), QStringLiteral("about:blank"));
    }

    void pickingAPickingTabPicksInANewTab()
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        pick(server.url(QStringLiteral("/item.html")));
        pick(server.url(QStringLiteral("/short.html")));
        QCOMPARE(window->tabs().book().TabList, (QList<int>{0, 1}));
        QCOMPARE(window->pickCommand().runningPicks(), 2);
        QVERIFY(waitForPicks(ended, 2));
        QTRY_VERIFY(window->tabs().captionAt(1).startsWith(QLatin1String("Pick:")));
        QTRY_VERIFY(window->tabs().captionAt(2).startsWith(QLatin1String("Pick:")));
        QCOMPARE(readBack(0).first, item.mainPics);
        QCOMPARE(readBack(1).second, item.descPics);
    }

    void hostileAddressesStayText()
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        pick(server.url(QStringLiteral("/hostile.html")));
        QVERIFY(waitForPicks(ended, 1));
        QTRY_VERIFY(window->tabs().captionAt(1).startsWith(QLatin1String("Pick:")));
        const auto [main, desc] = readBack(0);
        QCOMPARE(main, QStringList{QStringLiteral("https://h/x\"><script>document.title=\"owned\"</script>.jpg")});
        QCOMPARE(desc, item.descPics);
        QTest::qWait(100);
        QCOMPARE(window->windowTitle(), QStringLiteral("Pick:bboldb&quoted"));
        QCOMPARE(window->tabs().browser(0)->LocationURL(), QStringLiteral("about:blank"));
    }

    void closingTheWindowDuringAPickCancelsIt()
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        pick(server.url(QStringLiteral("/item.html")));
        QTRY_VERIFY_WITH_TIMEOUT(window->tabs().tab(0)->isPicked(), 20000);
        window->close();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().at(1).toBool(), false);
        QCOMPARE(window->pickCommand().runningPicks(), 0);
        QVERIFY(dialogs.messages.isEmpty());
        window.reset();
    }

    void onePickAtRealSpeed()
    {
        makeWindow(Intervals());
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        pick(server.url(QStringLiteral("/medium.html")));
        QVERIFY(waitForPicks(ended, 1, 60000));
        QCOMPARE(ended.first().at(1).toBool(), true);
        QCOMPARE(readBack(0).second, item.descPics);
    }

    void theScreenlessRunPrintsEachPick()
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PICTORRA_TIME_SCALE"), QStringLiteral("0.05"));
        env.remove(QStringLiteral("DISPLAY"));  // no screen: the program goes offscreen by itself
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PICTORRA_EXE),
                      {QStringLiteral("--pick"), server.url(QStringLiteral("/item.html")),
                       server.url(QStringLiteral("/plain.html"))});
        QVERIFY(process.waitForFinished(90000));
        const QList<QByteArray> lines = process.readAllStandardOutput().trimmed().split('\n');
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(lines.size(), 2);
        // Each page is printed as its pick ends: the refused one usually comes first.
        const bool itemFirst = lines[0].contains("/item.html");
        const QJsonObject first = QJsonDocument::fromJson(lines[itemFirst ? 0 : 1]).object();
        QCOMPARE(first.value(QStringLiteral("url")).toString(), server.url(QStringLiteral("/item.html")));
        QCOMPARE(first.value(QStringLiteral("title")).toString(), QStringLiteral("2024新款时尚女包阿里巴巴"));
        QCOMPARE(first.value(QStringLiteral("productTitle")).toString(), QStringLiteral("2024新款时尚女包"));
        QVERIFY(lines[itemFirst ? 0 : 1].endsWith("\"productTitle\": \"2024新款时尚女包\"}"));
        QCOMPARE(first.value(QStringLiteral("main")).toVariant().toStringList(), item.mainPics);
        QCOMPARE(first.value(QStringLiteral("desc")).toVariant().toStringList(), item.descPics);
        QCOMPARE(first.value(QStringLiteral("sku")).toArray().size(), 0);
        QVERIFY(lines[0].startsWith("{\"url\": "));
        const QJsonObject second = QJsonDocument::fromJson(lines[itemFirst ? 1 : 0]).object();
        QCOMPARE(second.value(QStringLiteral("error")).toString(), QStringLiteral("不是阿里巴巴宝贝地址"));
        // Not a terminal: no bar, only what went wrong and the closing summary.
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("共2页，采集成功1页")) && !err.contains(QStringLiteral("已用时")), qPrintable(err));

        QProcess bad;
        bad.start(QStringLiteral(PICTORRA_EXE), {QStringLiteral("--pick")});
        QVERIFY(bad.waitForFinished(30000));
        QCOMPARE(bad.exitCode(), 2);
        const QByteArray refused = bad.readAllStandardError();
        QVERIFY2(refused.startsWith("pictorra: --pick ") && refused.contains("\n用法: pictorra"), refused.constData());
    }
};

PICTORRA_TEST_MAIN(PickEngineTest)
#include "tst_pick_engine.moc"
