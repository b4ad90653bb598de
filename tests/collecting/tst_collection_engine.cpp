// Collecting list pages on the real engine, against pages served on the
// loopback interface: every form of product link, offers drawn late, and
// the ways a list goes on to its next page (or does not).
#include "ListPages.h"
#include "collecting/Collection.h"
#include "engine/Engine.h"
#include "picking/designs/BlockedPage.h"
#include "platform/BrowserProfile.h"
#include "support/EngineWindow.h"
#include "support/LoopbackServer.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"

#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

class CollectionEngineTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    QWebEngineProfile *profile = nullptr;

    struct Run
    {
        QStringList addresses;
        int pages = 0;
        QString problem;
        qint64 ms = 0;
    };

    // A tenth of the program's timing; the pause at a list's end short too.
    static Intervals testIntervals()
    {
        Intervals intervals = Intervals::scaled(0.1);
        intervals.accessTickMs = 200;
        return intervals;
    }

    Run collect(const QString &path, int pages, int delayMs = 0, const Intervals &intervals = testIntervals())
    {
        Engine engine(intervals, profile);
        Collection collection(engine);
        collection.setPages(pages);
        collection.setDelay([delayMs] { return delayMs; });
        collection.setPauseOnBlock(false);
        QSignalSpy finished(&collection, &Collection::finished);
        QElapsedTimer clock;
        clock.start();
        collection.start(server.url(path));
        if (!finished.wait(60000))
            qWarning("the collection did not end");
        return {collection.addresses(), collection.pagesRead(), collection.problem(), clock.elapsed()};
    }

    QStringList local(const QList<int> &numbers) const
    {
        QStringList out;
        for (int n : numbers)
            out << server.url(u"/offer/%1.html"_s.arg(n));
        return out;
    }

    static QList<int> range(int from, int count)
    {
        QList<int> out;
        for (int n = from; n < from + count; ++n)
            out << n;
        return out;
    }

private Q_SLOTS:
    void initTestCase()
    {
        profile = BrowserProfile::offTheRecord(this);
    }

    // Each form of link once, repeats and links that are no offers among them,
    // offers drawn by script after the load and offers appended when the end
    // of the page is scrolled into view.
    void onePageGivesEachOfferOnceInItsWrittenForm()
    {
        server.serve(u"/shop/forms.html"_s, ListPages::everyForm());
        const Run run = collect(u"/shop/forms.html"_s, 1);
        QStringList expected;
        for (int n : {101, 102, 103, 104})
            expected << u"https://detail.1688.com/offer/%1.html"_s.arg(n);
        expected << local({5, 6, 7, 8});
        QCOMPARE(run.addresses, expected);
        QCOMPARE(run.pages, 1);
        QVERIFY2(run.problem.isEmpty(), qPrintable(run.problem));
    }

    // 下一页 links across a shop, with the batch's delay between pages; the
    // page limit; the last page's 下一页 is disabled although it links on.
    void followsNextLinksToTheLastPage()
    {
        server.serve(u"/shop/1.html"_s, ListPages::shopPage(1, 10, u"2.html"_s));
        server.serve(u"/shop/2.html"_s, ListPages::shopPage(11, 10, u"3.html?page=3"_s));
        server.serve(u"/shop/3.html"_s, ListPages::page(ListPages::offers(21, 5)
                                                        + u"<li class=disabled><a href=\"4.html\">下一页</a></li>"_s));
        server.serve(u"/shop/4.html"_s, ListPages::shopPage(900, 5, {}));
        const Run all = collect(u"/shop/1.html"_s, 10, 300);
        QCOMPARE(all.addresses, local(range(1, 25)));
        QCOMPARE(all.pages, 3);
        QVERIFY2(all.problem.isEmpty(), qPrintable(all.problem));
        QVERIFY2(all.ms >= 600, "two pauses between three pages");

        const Run two = collect(u"/shop/1.html"_s, 2);
        QCOMPARE(two.addresses, local(range(1, 20)));
        QCOMPARE(two.pages, 2);
    }

    // A search whose 下一页 is a button that redraws the list by script, a
    // little later, and is disabled on the last page.
    void pressesANextButtonAndAwaitsTheList()
    {
        server.serve(u"/search.html"_s, ListPages::searchPage(3, 8));
        const Run run = collect(u"/search.html"_s, 10);
        QCOMPARE(run.addresses, local(range(100, 8) + range(200, 8) + range(300, 8)));
        QCOMPARE(run.pages, 3);
    }

    // Two pages whose 下一页 point at each other; a page that adds nothing new;
    // a verification page without anyone to pass it.
    void stopsWhereAListGoesRound()
    {
        server.serve(u"/ring/a.html"_s, ListPages::shopPage(1, 3, u"b.html"_s));
        server.serve(u"/ring/b.html"_s, ListPages::shopPage(4, 3, u"a.html#top"_s));
        const Run ring = collect(u"/ring/a.html"_s, 10);
        QCOMPARE(ring.addresses, local(range(1, 6)));
        QCOMPARE(ring.pages, 2);
        QCOMPARE(ring.problem, u"下一页是看过的页面"_s);

        server.serve(u"/same/1.html"_s, ListPages::shopPage(1, 3, u"2.html"_s));
        server.serve(u"/same/2.html"_s, ListPages::shopPage(1, 3, u"3.html"_s));
        const Run same = collect(u"/same/1.html"_s, 10);
        QCOMPARE(same.pages, 2);
        QCOMPARE(same.addresses.size(), 3);
        QCOMPARE(same.problem, u"这一页没有新的宝贝"_s);

        // A page that grows for ever is read as it is at the pick's deadline.
        server.serve(u"/endless.html"_s, ListPages::endlessPage());
        Intervals shortDeadline = testIntervals();
        shortDeadline.pickDeadlineMs = 1500;
        const Run endless = collect(u"/endless.html"_s, 1, 0, shortDeadline);
        QVERIFY(!endless.addresses.isEmpty());
        QVERIFY2(endless.problem.isEmpty(), qPrintable(endless.problem));
        QVERIFY2(endless.ms < 6000, "ends at the deadline");

        server.serve(u"/blocked.html"_s, "<html><head><title>security-X5</title></head><body>请按住滑块</body></html>");
        const Run blocked = collect(u"/blocked.html"_s, 10);
        QCOMPARE(blocked.pages, 0);
        QCOMPARE(blocked.problem, BlockedPage::Message);
    }

    // With someone there, a verification pauses the collection, and it reads
    // the page again once the user has passed it.
    void aVerificationPausesForTheUser()
    {
        LoopbackServer::Answer check, list;
        check.body = "<html><head><title>security-X5</title></head><body></body></html>";
        list.body = ListPages::shopPage(1, 4, {});
        server.serveScript(u"/checked/1.html"_s, {check, list}, u"text/html; charset=utf-8"_s);
        const Intervals intervals = testIntervals();
        Engine engine(intervals, profile);
        Collection collection(engine);
        QSignalSpy paused(&collection, &Collection::paused);
        QSignalSpy finished(&collection, &Collection::finished);
        collection.start(server.url(u"/checked/1.html"_s));
        QVERIFY(paused.wait(30000));
        QCOMPARE(collection.state(), Collection::State::Paused);
        collection.resume();
        QVERIFY(finished.wait(30000));
        QCOMPARE(collection.addresses(), local(range(1, 4)));
        QCOMPARE(collection.summary(), u"共1页，找到4个宝贝地址"_s);
    }

    // The window's command: the selected tab's offers join 批量采集, and a
    // second time none of them is new.
    void theWindowCommandFillsTheBatchList()
    {
        server.serve(u"/win/1.html"_s, ListPages::shopPage(1, 6, u"2.html"_s));
        server.serve(u"/win/2.html"_s, ListPages::shopPage(7, 6, {}));
        QTemporaryDir program;
        RecordingDialogs dialogs;
        const Intervals intervals = testIntervals();
        auto window = engineWindow(dialogs, program.path(), profile, intervals);
        BrowserPage *page = window->tabs().currentBrowser();
        page->Navigate(server.url(u"/win/1.html"_s));
        QTRY_COMPARE_WITH_TIMEOUT(page->ReadyState(), int(BrowserPage::ReadyComplete), 20000);
        window->showManager();
        QWidget *batch = window->batchWindow();
        batch->findChild<QCheckBox *>(u"pageOn"_s)->setChecked(true);
        for (QSpinBox *box : batch->findChildren<QSpinBox *>())
            if (box->objectName() != u"pageCount"_s)
                box->setValue(0);  // no pause between the pages
        auto *status = batch->findChild<QLabel *>(u"status"_s);
        auto *command = window->findChild<QAction *>(u"collectAddresses"_s);
        QVERIFY(command);
        command->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(u"个是新的"_s), 30000);
        QCOMPARE(status->text(), u"共2页，找到12个宝贝地址, 其中 12 个是新的, 已加入列表"_s);
        const QString list = batch->findChild<QPlainTextEdit *>(u"addresses"_s)->toPlainText();
        QCOMPARE(list, local(range(1, 12)).join(u'\n'));
        QCOMPARE(window->tabs().count(), 1);  // the collection's own tab has gone again
        command->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(status->text().contains(u"其中 0 个是新的"_s), 30000);
    }

    // --collect prints the addresses alone on standard output, a list that
    // --batch reads as it is, and the summary on standard error.
    void theCommandLinePrintsOneAddressALine()
    {
        server.serve(u"/cli/1.html"_s, ListPages::shopPage(1, 4, u"2.html"_s));
        server.serve(u"/cli/2.html"_s, ListPages::shopPage(5, 4, {}));
        server.serve(u"/cli/empty.html"_s, ListPages::page(u"<a href=\"/about.html\">关于我们</a>"_s));
        auto run = [](const QStringList &arguments, QByteArray *out, QString *err) {
            QProcess process;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
            environment.insert(u"PICTORRA_TIME_SCALE"_s, u"0.1"_s);
            process.setProcessEnvironment(environment);
            process.start(QStringLiteral(PICTORRA_EXE), arguments);
            process.waitForFinished(120000);
            *out = process.readAllStandardOutput();
            *err = QString::fromLocal8Bit(process.readAllStandardError());
            return process.exitCode();
        };
        QByteArray out;
        QString err;
        QCOMPARE(run({u"--collect"_s, server.url(u"/cli/1.html"_s), u"--pages"_s, u"5"_s, u"--delay"_s, u"0"_s}, &out, &err), 0);
        QCOMPARE(QString::fromUtf8(out), local(range(1, 8)).join(u'\n') + u'\n');
        QVERIFY2(err.contains(u"共2页，找到8个宝贝地址"_s), qPrintable(err));
        QCOMPARE(run({u"--collect"_s, server.url(u"/cli/1.html"_s)}, &out, &err), 0);
        QCOMPARE(out.count('\n'), 4);  // the given page only
        QCOMPARE(run({u"--collect"_s, server.url(u"/cli/empty.html"_s)}, &out, &err), 1);
        QVERIFY(out.isEmpty());
        QVERIFY2(err.contains(u"共1页，找到0个宝贝地址"_s), qPrintable(err));
    }
};

PICTORRA_TEST_MAIN(CollectionEngineTest)
#include "tst_collection_engine.moc"
