// Pages that work against the program, on the real engine: each pick and
// each save still ends, bounded, under a name that is safe to show.
#include "download/DownloadSummary.h"
#include "engine/Engine.h"
#include "screenless/HeadlessPick.h"
#include "screenless/HeadlessSave.h"
#include "main_window/MainForm.h"
#include "main_window/PickCommand.h"
#include "platform/BrowserPage.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "support/EngineWindow.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"
#include "../download/TestPictures.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <algorithm>
#include <memory>

class HostilePagesTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    QWebEngineProfile *profile = nullptr;
    std::unique_ptr<MainForm> window;
    QStringList mainPics;

    void makeWindow(const Intervals &intervals)
    {
        window = engineWindow(dialogs, programFolder.path(), profile, intervals);
    }

    ProductPage page(const QString &title) const
    {
        ProductPage item;
        item.title = title;
        item.mainPics = mainPics;
        return item;
    }

    // `script` runs first thing in the page's body.
    void serveWithScript(const QString &path, const ProductPage &item, const QByteArray &script)
    {
        server.serve(path, item.html().replace("<body>", "<body><script>" + script + "</script>"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (int i = 1; i <= 2; ++i) {
            const QString name = QStringLiteral("/img/m%1.jpg").arg(i);
            server.serve(name, PictureBytes(300 + i, "JPEG"), QStringLiteral("image/jpeg"));
            mainPics << server.url(name);
        }
        serveWithScript(QStringLiteral("/nul.html"), page(QStringLiteral("x")),
                        "document.title = 'nul\\u0000after\\u001b[2J%1';");
        serveWithScript(QStringLiteral("/popups.html"), page(QStringLiteral("popups")),
                        "for (var i = 0; i < 40; ++i) window.open('/fast0.html?' + i);"
                        "setInterval(function () { window.open('/fast0.html'); }, 20);");
        for (int i = 0; i < 5; ++i)
            server.serve(QStringLiteral("/fast%1.html").arg(i), page(QStringLiteral("fast%1").arg(i)).html());
        // So tall that scrolling it takes many doublings of the step.
        ProductPage slow = page(QStringLiteral("slow"));
        slow.fillerHeight = 450000; // tall, but below the height at which a pick stops scrolling
        server.serve(QStringLiteral("/slow.html"), slow.html());
        profile = BrowserProfile::offTheRecord(this);
    }

    void cleanup() { window.reset(); }

    // A NUL in the title once had the folder maker count towards INT_MAX.
    void aTitleWithNulIsSavedAndEnds()
    {
        QTemporaryDir target;
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PICTORRA_TIME_SCALE"), QStringLiteral("0.05"));
        process.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(PICTORRA_EXE), {QStringLiteral("--pick"), server.url(QStringLiteral("/nul.html")),
                                                     QStringLiteral("--save"), target.path()});
        QVERIFY(process.waitForFinished(60000));
        qInfo("NUL title, pick to saved: %lld ms", timer.elapsed());
        const QByteArray out = process.readAllStandardOutput();
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(process.exitCode() == 0, (out + err.toUtf8()).constData());
        // One line per page, printed once its save ended, the save's outcome in it.
        const QList<QByteArray> lines = out.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        const QJsonObject line = QJsonDocument::fromJson(lines[0]).object();
        QCOMPARE(line.value(QStringLiteral("title")).toString(), QStringLiteral("nulafter[2J%1"));
        QCOMPARE(line.value(QStringLiteral("sku")).toArray().size(), 0);
        QCOMPARE(line.value(QStringLiteral("skuNames")).toArray().size(), 0);
        const QString item = target.path() + QStringLiteral("/nulafter[2J%1");
        QCOMPARE(line.value(QStringLiteral("folder")).toString(), item);
        QCOMPARE(line.value(QStringLiteral("saved")).toInt(), 2);
        QCOMPARE(line.value(QStringLiteral("failed")).toInt(), 0);
        // The human summary on standard error, printed as it is: no escape
        // reaches the terminal, "%1" stays "%1".
        QVERIFY2(err.contains(item + QStringLiteral("\t保存2张")), qPrintable(err));
        QCOMPARE(QDir(item + QStringLiteral("/主图")).entryList(QDir::Files).size(), 2);
    }

    void scriptOpenedWindowsOpenNoTab()
    {
        makeWindow(Intervals::scaled(0.05));
        window->tabs().browser(0)->Navigate(server.url(QStringLiteral("/popups.html")));
        QTRY_COMPARE_WITH_TIMEOUT(window->tabs().browser(0)->ReadyState(), BrowserPage::ReadyComplete, 20000);
        QTest::qWait(1500);
        QCOMPARE(window->tabs().count(), 1);
    }

    void manyAddressesPickFourAtATimeAndNoneWaitsForTheSlowOne()
    {
        Intervals intervals = Intervals::scaled(0.1);
        intervals.accessTickMs = 1000;
        // Without a window: the engine's own pages.
        Engine engine(intervals, profile);
        QStringList addresses{server.url(QStringLiteral("/slow.html"))};
        for (int i = 0; i < 5; ++i)
            addresses << server.url(QStringLiteral("/fast%1.html").arg(i));
        HeadlessPick run(engine, addresses);
        int most = 0;
        // Every running pick has a page of its own.
        const auto pages = [&] { return int(engine.findChildren<BrowserPage *>().size()); };
        const auto count = [&] { most = std::max(most, pages()); };
        QList<int> order;
        connect(&run, &HeadlessPick::picked, this, [&](int index) { count(); order << index; });
        QSignalSpy finished(&run, &HeadlessPick::finished);
        run.start();
        QVERIFY(finished.wait(120000));
        QCOMPARE(most, HeadlessPick::MaxRunning);
        QCOMPARE(order.size(), 6);
        QCOMPARE(order.last(), 0);
        QVERIFY(run.allCompleted());
        QCOMPARE(run.results().at(3).pick.title, QStringLiteral("fast2"));
        QCOMPARE(run.results().at(3).pick.addresses(MediaKind::Main), mainPics);
        QTRY_COMPARE(pages(), 0);  // each page closed once printed
    }

    void titlesAreNotFormatStrings()
    {
        DownloadSummary summary;
        summary.itemFolder = QStringLiteral("/t/a%1b%2");
        summary.saved = 3;
        QCOMPARE(HeadlessSave::summaryLine(summary), QStringLiteral("/t/a%1b%2\t保存3张\t丢弃(宽度小于450像素)0张\t失败0张"));
    }
};

PICTORRA_TEST_MAIN(HostilePagesTest)
#include "tst_hostile_pages.moc"
