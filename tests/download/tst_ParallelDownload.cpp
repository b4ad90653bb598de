// Many pictures at once: the tree a one-by-one run makes, retries of what a
// busy server fails, and what is no picture.
#include "TestPictures.h"
#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/TabDownload.h"
#include "support/LoopbackServer.h"
#include "support/TestMain.h"

#include <httplib.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <thread>

using namespace Qt::StringLiterals;

class ParallelDownloadTest : public QObject
{
    Q_OBJECT
    LoopbackServer server;
    QNetworkAccessManager network;
    PictureFetcher fetcher{&network};
    QTemporaryDir dir;
    QStringList lines;

    QString picture(const QString &path, const QByteArray &bytes, int delayMs = 0)
    {
        server.serveHandler(path, [bytes, delayMs](const httplib::Request &, httplib::Response &res) {
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            res.set_content(bytes.constData(), size_t(bytes.size()), "image/png");
        });
        return server.url(path);
    }

    DownloadSummary run(TabDownload &download, const std::function<bool()> &start)
    {
        lines.clear();
        connect(&download, &TabDownload::progress, this, [this](int, int, const QString &line) { lines << line; });
        QSignalSpy finished(&download, &TabDownload::finished);
        if (!start() || !finished.wait(30000))
            return {};
        return finished.at(0).at(0).value<DownloadSummary>();
    }

    DownloadSummary run(const QString &folder, const PickResult &result, int parallel = TabDownload::DefaultParallel)
    {
        TabDownload download(&fetcher);
        download.setParallel(parallel);
        return run(download, [&] { return download.start(folder, result); });
    }

    static QStringList hidden(const QStringList &tree)
    {
        QStringList found;
        for (const QString &entry : tree)
            if (entry.section(u'/', -1).startsWith(u'.') || entry.endsWith(u".part"_s))
                found << entry;
        return found;
    }

private slots:
    void initTestCase()
    {
        FetchLimits quick;
        quick.stallMs = 2000;
        quick.pausesMs = {50, 100};
        fetcher.setLimits(quick);
    }
    void cleanup() { QDir(dir.path()).removeRecursively(), QDir().mkpath(dir.path()); }

    // Later pictures answer first, so arrival order is the reverse of list order.
    void parallelTreeIsTheSerialTree()
    {
        PickResult result;
        result.title = u"并行"_s;
        const QByteArray heif = QByteArray("\0\0\0\x18" "ftypheic", 12) + QByteArray(200, 'h');
        for (int i = 0; i < 40; ++i) {
            const int delay = (40 - i) * 3;
            const QString path = u"/t/%1.png"_s.arg(i);
            if (i < 10)
                result.addresses(MediaKind::Main) << picture(path, PictureBytes(300 + i, "PNG"), delay);
            else if (i < 16)
                result.addresses(MediaKind::Sku) << picture(path, PictureBytes(200 + i, "PNG"), delay);
            else if (i == 20 || i == 33)
                result.addresses(MediaKind::Description) << picture(path, heif, delay); // no decoder: width unknown
            else
                result.addresses(MediaKind::Description) << picture(path, PictureBytes(i % 3 ? 460 + i : 300 + i), delay);
        }
        result.addresses(MediaKind::Main)[3] = server.url(u"/t/missing.png"_s);
        result.addresses(MediaKind::Description)[5] = server.url(u"/t/missing.png"_s);
        server.serveStatus(u"/t/missing.png"_s, 404, "<html>gone</html>");
        QDir(dir.path()).mkpath(u"par"_s);
        QDir(dir.path()).mkpath(u"ser"_s);
        server.setAnswerDelay(50);
        server.resetCounts();
        const DownloadSummary parallel = run(dir.filePath(u"par"_s), result);
        const int peak = server.peakInFlight();
        QStringList expected;
        for (int done = 1; done <= 40; ++done)
            expected << ProgressLine(done, 40);
        QCOMPARE(lines, expected);
        const DownloadSummary serial = run(dir.filePath(u"ser"_s), result, 1);
        server.setAnswerDelay(0);
        QVERIFY2(peak > 1 && peak <= 6, qPrintable(QString::number(peak)));

        const QStringList tree = TreeOf(dir.filePath(u"par"_s));
        QCOMPARE(tree, TreeOf(dir.filePath(u"ser"_s)));
        for (const QString &entry : tree)
            QCOMPARE(FileBytes(dir.filePath(u"par/"_s + entry)), FileBytes(dir.filePath(u"ser/"_s + entry)));
        QVERIFY(tree.contains(u"并行/SKU图/SKU图6.png"_s) && tree.contains(u"并行/主图/主图10.png"_s));
        QCOMPARE(hidden(tree), QStringList());
        for (const DownloadSummary &s : {parallel, serial}) {
            QCOMPARE((QList<int>{s.total, s.saved, s.dropped, s.failed, s.unknownWidth}), (QList<int>{40, 32, 6, 2, 2}));
            QCOMPARE(s.failures.size(), 2);
            QCOMPARE(s.failures.at(0).name(), u"主图4"_s);
            QCOMPARE(s.failures.at(1).name(), u"描述图18"_s); // after the 17 kept ones
        }
        QVERIFY(tree.contains(u"并行/描述图/描述图17.png"_s) && !tree.contains(u"并行/描述图/描述图18.png"_s));
    }

    void transientFailuresAreTriedAgain()
    {
        const QByteArray good = PictureBytes(500);
        server.serveScript(u"/busy.png"_s, {{503, "busy", {}, false}, {503, "busy", {}, false}, {200, good, {}, false}});
        server.serveScript(u"/gone.png"_s, {{404, "gone", {}, false}, {200, good, {}, false}});
        server.serveScript(u"/reset.png"_s, {{200, good, {}, true}, {200, good, {}, false}});
        server.serveScript(u"/later.png"_s, {{429, "later", "1", false}, {200, good, {}, false}});
        PickResult result;
        result.title = u"T"_s;
        for (const QString &path : {u"/busy.png"_s, u"/gone.png"_s, u"/reset.png"_s, u"/later.png"_s})
            result.addresses(MediaKind::Main) << server.url(path);
        server.resetCounts();
        QElapsedTimer clock;
        clock.start();
        const DownloadSummary s = run(dir.path(), result);
        QVERIFY(clock.elapsed() >= 1000); // Retry-After: 1
        QCOMPARE((QList<int>{s.saved, s.failed}), (QList<int>{3, 1}));
        QCOMPARE(s.failures.at(0).name(), u"主图2"_s);
        QCOMPARE((QList<int>{server.hits(u"/busy.png"_s), server.hits(u"/gone.png"_s), server.hits(u"/reset.png"_s),
                             server.hits(u"/later.png"_s)}),
                 (QList<int>{3, 1, 2, 2}));
        for (int i : {1, 3, 4})
            QCOMPARE(FileBytes(dir.filePath(u"T/主图/主图%1.png"_s.arg(i))), good);
        QCOMPARE(TreeOf(dir.filePath(u"T/主图"_s)).size(), 3);
    }

    void whatIsNoPictureIsNotSaved()
    {
        const QByteArray good = PictureBytes(500);
        server.serveStatus(u"/partial.png"_s, 206, good.left(good.size() / 2), u"image/png"_s);
        server.serveStatus(u"/nothing.png"_s, 204, {});
        server.serve(u"/empty.png"_s, {}, u"image/png"_s);
        server.serve(u"/page.jpg"_s, "<!DOCTYPE html><html>shop</html>", u"image/jpeg"_s);
        server.serve(u"/huge.png"_s, good + QByteArray(300 * 1024, 'x'), u"image/png"_s);
        FetchLimits limits = fetcher.limits();
        limits.maxBytes = 256 * 1024;
        fetcher.setLimits(limits);
        PickResult result;
        result.title = u"N"_s;
        for (const QString &path : {u"/partial.png"_s, u"/nothing.png"_s, u"/empty.png"_s, u"/page.jpg"_s, u"/huge.png"_s})
            result.addresses(MediaKind::Main) << server.url(path);
        result.addresses(MediaKind::Sku) << server.url(u"/page.jpg"_s);
        server.resetCounts();
        const DownloadSummary s = run(dir.path(), result);
        limits.maxBytes = FetchLimits().maxBytes;
        fetcher.setLimits(limits);
        QCOMPARE((QList<int>{s.saved, s.failed}), (QList<int>{0, 6}));
        QCOMPARE(TreeOf(dir.filePath(u"N"_s)), (QStringList{u"SKU图/"_s, u"主图/"_s, u"描述图/"_s}));
        QCOMPARE(server.hits(u"/huge.png"_s) + server.hits(u"/partial.png"_s), 2); // not tried again
        QVERIFY(s.line.contains(u"6张图片全部未能下载"_s) && !s.line.contains(u"下载完成"_s));
        QCOMPARE(FolderFromLine(s.line), dir.filePath(u"N"_s));
    }

    void abortLeavesNothingHalfDone()
    {
        server.serveStalled(u"/stall.png"_s);
        const QString good = picture(u"/fine.png"_s, PictureBytes(600));
        PickResult result;
        result.title = u"A"_s;
        result.addresses(MediaKind::Main) = QStringList(4, server.url(u"/stall.png"_s));
        result.addresses(MediaKind::Description) = {server.url(u"/stall.png"_s), good, good};
        TabDownload download(&fetcher);
        QSignalSpy finished(&download, &TabDownload::finished);
        QSignalSpy progressed(&download, &TabDownload::progress);
        download.start(dir.path(), result);
        QTRY_COMPARE(progressed.size(), 2); // the good ones wait for the first description
        QVERIFY(hidden(TreeOf(dir.filePath(u"A/描述图"_s))).size() >= 2);
        download.abort();
        QTRY_COMPARE(finished.size(), 1);
        QCOMPARE(finished.at(0).at(0).value<DownloadSummary>().outcome, DownloadSummary::Outcome::Aborted);
        QCOMPARE(fetcher.running(), 0);
        QTest::qWait(100);
        // No empty folder stays; the mark says what is missing.
        QCOMPARE(TreeOf(dir.filePath(u"A"_s)), (QStringList{u"下载未完成.txt"_s}));
    }

    void retryFetchesJustTheFailures()
    {
        const QString wide = picture(u"/wide.png"_s, PictureBytes(700));
        server.serveScript(u"/flaky.png"_s, {{404, "gone", {}, false}, {200, PictureBytes(650), {}, false}});
        server.serveScript(u"/flakyNarrow.png"_s, {{404, "gone", {}, false}, {200, PictureBytes(100), {}, false}});
        server.serveScript(u"/flakyMain.png"_s, {{404, "gone", {}, false}, {200, PictureBytes(50), {}, false}});
        PickResult result;
        result.title = u"R"_s;
        result.addresses(MediaKind::Main) = {wide, server.url(u"/flakyMain.png"_s)};
        result.addresses(MediaKind::Description) = {wide, server.url(u"/flaky.png"_s), wide, server.url(u"/flakyNarrow.png"_s)};
        const DownloadSummary first = run(dir.path(), result);
        QCOMPARE(first.failures.size(), 3);
        const QString item = first.itemFolder;
        // A killed run's leftovers: the old one goes, a young one may be a live run's.
        for (const QString &name : {u"/描述图/.old.part"_s, u"/描述图/.young.part"_s}) {
            QFile part(item + name);
            QVERIFY(part.open(QIODevice::WriteOnly));
            if (name.contains(u"old"_s))
                part.setFileTime(QDateTime::currentDateTime().addSecs(-7200), QFileDevice::FileModificationTime);
        }
        TabDownload again(&fetcher);
        const DownloadSummary s = run(again, [&] { return again.retry(item, first.failures); });
        QCOMPARE((QList<int>{s.total, s.saved, s.dropped, s.failed}), (QList<int>{3, 2, 1, 0}));
        QVERIFY(s.line.contains(u"下载完成"_s));
        QCOMPARE(TreeOf(item), (QStringList{u"主图/"_s, u"主图/主图1.png"_s, u"主图/主图2.png"_s, u"描述图/"_s,
                                            u"描述图/.young.part"_s, u"描述图/描述图1.png"_s, u"描述图/描述图2.png"_s,
                                            u"描述图/描述图3.png"_s}));
        QCOMPARE(FileBytes(item + u"/描述图/描述图3.png"_s), PictureBytes(650));
        QCOMPARE(FileBytes(item + u"/主图/主图2.png"_s), PictureBytes(50));
    }

    // A run killed part-way: some main pictures and some description names
    // are there, with its hidden leftovers. Resuming ends with the tree of an
    // uninterrupted run, even when a picture saved before fails this time,
    // and never replaces what an earlier run saved.
    void resumeCompletesACutOffItemInItsFolder()
    {
        PickResult result;
        result.title = u"续"_s;
        for (int i = 0; i < 4; ++i)
            result.addresses(MediaKind::Main) << picture(u"/m/%1.png"_s.arg(i), PictureBytes(500 + i));
        for (int i = 0; i < 6; ++i)
            result.addresses(MediaKind::Description) << picture(u"/d/%1.png"_s.arg(i), PictureBytes(i == 1 ? 100 : 600 + i));
        QDir(dir.path()).mkpath(u"whole"_s);
        QDir(dir.path()).mkpath(u"cut"_s);
        run(dir.filePath(u"whole"_s), result);
        const DownloadSummary first = run(dir.filePath(u"cut"_s), result);
        const QString item = first.itemFolder;
        for (const QString &gone : {u"/主图/主图3.png"_s, u"/描述图/描述图4.png"_s, u"/描述图/描述图5.png"_s})
            QVERIFY(QFile::remove(item + gone));
        for (const QString &part : {u"/主图/.主图3.png.1f.part"_s, u"/描述图/.描述图-5.part"_s})
            QVERIFY(QFile(item + part).open(QIODevice::WriteOnly));
        server.serveStatus(u"/d/2.png"_s, 404, "gone"); // saved as 描述图2 before
        server.resetCounts();
        auto resume = [&] {
            TabDownload again(&fetcher);
            return run(again, [&] { return again.resume(item, result); });
        };
        auto sameAsWhole = [&] {
            const QStringList tree = TreeOf(item);
            QCOMPARE(tree, TreeOf(dir.filePath(u"whole/续"_s)));
            for (const QString &entry : tree)
                QCOMPARE(FileBytes(item + u'/' + entry), FileBytes(dir.filePath(u"whole/续/"_s + entry)));
        };
        DownloadSummary s = resume();
        QCOMPARE((QList<int>{s.total, s.saved, s.dropped, s.failed}), (QList<int>{10, 9, 1, 0}));
        QCOMPARE(server.hits(u"/m/0.png"_s), 0);
        sameAsWhole();
        QCOMPARE(QDir(dir.filePath(u"cut"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

        // The user removed the folder meanwhile: it is made anew.
        server.serve(u"/d/2.png"_s, PictureBytes(602), u"image/png"_s);
        QVERIFY(QDir(item).removeRecursively());
        s = resume();
        QCOMPARE(s.failed, 0);
        sameAsWhole();

        // A name that holds other bytes stays; that picture is added later.
        QFile other(item + u"/描述图/描述图3.png"_s);
        QVERIFY(other.open(QIODevice::WriteOnly | QIODevice::Truncate) && other.write("x") == 1);
        other.close();
        s = resume();
        QCOMPARE(s.failed, 1);
        QCOMPARE(s.failures.at(0).name(), u"描述图6"_s);
        QCOMPARE(FileBytes(item + u"/描述图/描述图3.png"_s), QByteArray("x"));
        QCOMPARE(FileBytes(item + u"/描述图/描述图5.png"_s), PictureBytes(605));
    }
};

PICTORRA_TEST_MAIN(ParallelDownloadTest)
#include "tst_ParallelDownload.moc"
