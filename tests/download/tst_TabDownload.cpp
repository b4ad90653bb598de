#include "TestPictures.h"
#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/TabDownload.h"
#include "support/LoopbackServer.h"
#include "support/TestMain.h"

#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
struct Outcome
{
    QStringList lines; // every progress line, in order
    DownloadSummary summary;
};
}

class TabDownloadTest : public QObject
{
    Q_OBJECT
    LoopbackServer server;
    QNetworkAccessManager network;
    PictureFetcher fetcher{&network};
    QTemporaryDir dir;

    QStringList urls(const QStringList &paths) const
    {
        QStringList list;
        for (const QString &path : paths)
            list << server.url(path);
        return list;
    }

    Outcome run(const QStringList &mainPics, const QStringList &descPics, const QString &title = u"ABC"_s,
                QString folder = {})
    {
        TabDownload download(&fetcher);
        Outcome outcome;
        connect(&download, &TabDownload::progress, this, [&](int, int, const QString &line) { outcome.lines << line; });
        QSignalSpy finished(&download, &TabDownload::finished);
        download.start(folder.isNull() ? dir.path() : folder, title, urls(mainPics), urls(descPics));
        if (finished.wait(20000))
            outcome.summary = finished.at(0).at(0).value<DownloadSummary>();
        return outcome;
    }

private slots:
    void initTestCase()
    {
        FetchLimits quick;
        quick.pausesMs = {20, 50};
        fetcher.setLimits(quick);
        fetcher.setStallTimeout(300);
        for (int width : {300, 449, 450, 750})
            server.serve(u"/w%1.png"_s.arg(width), PictureBytes(width), u"image/png"_s);
        server.serve(u"/main.jpg"_s, PictureBytes(300, "JPG"), u"image/jpeg"_s);
        server.serve(u"/text.png"_s, "<html>no picture</html>", u"image/png"_s);
        server.serveStatus(u"/missing.jpg"_s, 404, "<html>gone</html>");
        server.serveStalled(u"/stall.png"_s);
    }
    void cleanup() { QDir(dir.path()).removeRecursively(), QDir().mkpath(dir.path()); }

    void narrowDescriptionPicturesGiveUpTheirNumber()
    {
        const Outcome out = run({u"/main.jpg"_s, u"/main.jpg"_s, u"/main.jpg"_s},
                                {u"/w750.png"_s, u"/w300.png"_s, u"/w450.png"_s, u"/w449.png"_s, u"/w750.png"_s});
        QStringList expected;
        for (int done = 1; done <= 8; ++done)
            expected << ProgressLine(done, 8);
        QCOMPARE(out.lines, expected);
        QVERIFY(out.lines.last().endsWith(u"8/8 100%"_s));
        QCOMPARE(TreeOf(dir.path()),
                 (QStringList{u"ABC/"_s, u"ABC/主图/"_s, u"ABC/主图/主图1.jpg"_s, u"ABC/主图/主图2.jpg"_s,
                              u"ABC/主图/主图3.jpg"_s, u"ABC/描述图/"_s, u"ABC/描述图/描述图1.png"_s,
                              u"ABC/描述图/描述图2.png"_s, u"ABC/描述图/描述图3.png"_s}));
        QCOMPARE(FileBytes(dir.path() + u"/ABC/描述图/描述图2.png"_s), PictureBytes(450));
        QCOMPARE(FileBytes(dir.path() + u"/ABC/主图/主图3.jpg"_s), PictureBytes(300, "JPG"));
        const DownloadSummary &s = out.summary;
        QCOMPARE(s.outcome, DownloadSummary::Outcome::Completed);
        QCOMPARE((QList<int>{s.total, s.saved, s.dropped, s.failed}), (QList<int>{8, 6, 2, 0}));
        QCOMPARE(s.line, CompletionLine(dir.path() + u"/ABC"_s, 0));
    }

    void failuresAreCountedAndTheRunGoesOn()
    {
        const Outcome out = run({u"/missing.jpg"_s, u"/main.jpg"_s}, {u"/stall.png"_s, u"/text.png"_s, u"/w450.png"_s});
        QCOMPARE(out.lines.size(), 5);
        QCOMPARE(TreeOf(dir.path() + u"/ABC"_s), (QStringList{u"主图/"_s, u"主图/主图2.jpg"_s, u"描述图/"_s, u"描述图/描述图1.png"_s}));
        QCOMPARE(out.summary.failed, 3);
        QVERIFY(out.summary.line.endsWith(u"->双击打开（3张下载失败）"_s));
    }

    void emptyResultsStillMakeTheFolders()
    {
        const Outcome out = run({}, {}, u"a/b:c"_s);
        QCOMPARE(out.lines, QStringList());
        QCOMPARE(TreeOf(dir.path()), (QStringList{u"abc/"_s, u"abc/主图/"_s, u"abc/描述图/"_s}));
        QVERIFY(out.summary.line.contains(u"没有可下载的图片"_s) && !out.summary.line.contains(u"下载完成"_s));
        QCOMPARE(FolderFromLine(out.summary.line), dir.path() + u"/abc"_s);
        QCOMPARE(run({}, {}).summary.itemFolder, dir.path() + u"/ABC"_s);
        QCOMPARE(run({}, {}).summary.itemFolder, dir.path() + u"/ABC1"_s);
        QCOMPARE(run({}, {}, {}).summary.itemFolder, dir.path() + u"/1"_s);
    }

    void nothingIsWrittenWithoutAFolder()
    {
        const QString file = dir.path() + u"/plain"_s;
        QFile(file).open(QIODevice::WriteOnly);
        const Outcome refused = run({u"/main.jpg"_s}, {}, u"ABC"_s, file);
        QCOMPARE(refused.summary.outcome, DownloadSummary::Outcome::FolderFailed);
        QCOMPARE(refused.summary.line, FolderErrorLine(file + u"/ABC"_s));
        QVERIFY(!refused.summary.error.isEmpty());
        const Outcome cancelled = run({u"/main.jpg"_s}, {}, u"ABC"_s, u""_s);
        QCOMPARE(cancelled.summary.outcome, DownloadSummary::Outcome::NoFolder);
        QCOMPARE(refused.lines + cancelled.lines, QStringList());
        QCOMPARE(TreeOf(dir.path()), QStringList{u"plain"_s});
    }

    void stoppingMidFetchIsSafe()
    {
        const QStringList pics = urls({u"/w750.png"_s, u"/stall.png"_s, u"/w750.png"_s});
        fetcher.setStallTimeout(10000);
        auto aborted = std::make_unique<TabDownload>(&fetcher);
        auto deleted = std::make_unique<TabDownload>(&fetcher);
        QSignalSpy finished(aborted.get(), &TabDownload::finished);
        for (TabDownload *d : {aborted.get(), deleted.get()})
            d->start(dir.path(), d == aborted.get() ? u"A"_s : u"D"_s, {}, pics);
        // The window's thread keeps running while a picture hangs.
        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] { ++ticks; });
        timer.start(10);
        // A receiver may delete the download from its own progress signal.
        auto *selfDeleting = new TabDownload(&fetcher);
        connect(selfDeleting, &TabDownload::progress, this, [selfDeleting] { delete selfDeleting; });
        selfDeleting->start(dir.path(), u"S"_s, {}, pics);
        QTRY_COMPARE(fetcher.running(), 2);
        QTest::qWait(200);
        aborted->abort();
        deleted.reset();
        QTRY_COMPARE(finished.size(), 1);
        fetcher.setStallTimeout(300);
        QCOMPARE(finished.at(0).at(0).value<DownloadSummary>().outcome, DownloadSummary::Outcome::Aborted);
        QCOMPARE(fetcher.running(), 0);
        QVERIFY(ticks > 10);
        QCOMPARE(TreeOf(dir.path() + u"/A/描述图"_s), QStringList{u"描述图1.png"_s});
        QCOMPARE(TreeOf(dir.path() + u"/D/描述图"_s), QStringList{u"描述图1.png"_s});
        // S went on its first progress, whichever picture came first.
        QVERIFY(TreeOf(dir.path() + u"/S/描述图"_s).size() <= 1);
    }
};

PICTORRA_TEST_MAIN(TabDownloadTest)
#include "tst_TabDownload.moc"
