#include "TestPictures.h"
#include "download/PictureFetcher.h"
#include "download/PictureFormat.h"
#include "download/RetryPolicy.h"
#include "support/LoopbackServer.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimeZone>

#include <optional>

using namespace Qt::StringLiterals;

class PictureFetcherTest : public QObject
{
    Q_OBJECT
    LoopbackServer server; // outlives the manager: its idle connections close first
    QNetworkAccessManager network;
    QTemporaryDir dir;
    QByteArray noise;
    FetchLimits limits;

    QString target(const QString &name = u"主图1.jpg"_s) const { return dir.path() + u'/' + name; }

    // `where` is a path on the server or a whole address.
    FetchResult fetch(const QString &where, const QString &file, int stallTimeout = 5000)
    {
        PictureFetcher fetcher(&network);
        fetcher.setLimits(limits);
        fetcher.setStallTimeout(stallTimeout);
        std::optional<FetchResult> outcome;
        const QString url = where.startsWith(u'/') ? server.url(where) : where;
        fetcher.DownloadPicture(url, file, nullptr, [&](const FetchResult &r) { outcome = r; });
        [&] {
            QVERIFY2(!outcome, "reported from inside the call");
            QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 10000);
        }();
        return outcome.value_or(FetchResult{});
    }

private slots:
    void initTestCase()
    {
        // A whole JPEG with noise behind it; the noise alone only starts like one.
        QByteArray tail(300 * 1024, Qt::Uninitialized);
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(tail.data()), tail.size() / 4);
        noise = PictureBytes(40, "JPEG") + tail;
        server.serve(u"/fake.jpg"_s, QByteArray("\xFF\xD8\xFF\xE0") + tail, u"image/jpeg"_s);
        server.serve(u"/signature.png"_s, PictureBytes(40, "PNG").left(20), u"image/png"_s);
        server.serve(u"/picture.avif"_s, QByteArray("\0\0\0\x1c" "ftypavif", 12) + noise.right(100), u"image/avif"_s);
        FetchLimits quick;
        quick.pausesMs = {20, 50};
        quick.totalMs = 2000;
        limits = quick;
        server.serve(u"/noise.jpg"_s, noise, u"image/jpeg"_s);
        server.serve(u"/empty.gif"_s, {}, u"image/gif"_s);
        server.serveStatus(u"/missing.jpg"_s, 404, "<html><body>Not here</body></html>");
        server.serveCutShort(u"/cut.jpg"_s, noise.left(1000), 5000);
        server.serveStalled(u"/stall.jpg"_s);
        server.serveDribble(u"/slow.jpg"_s, noise.left(4000), 1000, 150);
        server.serveDribble(u"/trickle.jpg"_s, noise.left(4000), 10, 100);
        server.serveRedirect(u"/moved.jpg"_s, u"/noise.jpg"_s);
        server.serveStatus(u"/choices.jpg"_s, 300, "<html>pick one</html>");
    }
    void cleanup() { QDir(dir.path()).removeRecursively(), QDir().mkpath(dir.path()); }

    void savesBodiesByteForByte()
    {
        // AVIF is not decoded here: its size cannot be checked, so it is kept.
        for (const auto &[path, body] : {std::pair{u"/noise.jpg"_s, noise}, {u"/moved.jpg"_s, noise},
                                         {u"/slow.jpg"_s, noise.left(4000)},
                                         {u"/picture.avif"_s, QByteArray("\0\0\0\x1c" "ftypavif", 12) + noise.right(100)}}) {
            // The slow one pauses 150 ms between pieces: under the 400 ms stall limit.
            const FetchResult result = fetch(path, target(), 400);
            QVERIFY2(result.ok, qPrintable(path + u' ' + result.error));
            QCOMPARE(result.bytes, body.size());
            QCOMPARE(FileBytes(target()), body);
        }
    }

    void failuresLeaveNoFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("404 page") << u"/missing.jpg"_s;
        QTest::newRow("empty") << u"/empty.gif"_s;
        QTest::newRow("300 without a place to go") << u"/choices.jpg"_s;
        QTest::newRow("cut short") << u"/cut.jpg"_s;
        QTest::newRow("stalled") << u"/stall.jpg"_s;
        QTest::newRow("trickling past the deadline") << u"/trickle.jpg"_s;
        QTest::newRow("refused") << u"http://127.0.0.1:1/x.jpg"_s;
        QTest::newRow("JPEG start, no frame") << u"/fake.jpg"_s;
        QTest::newRow("PNG signature, no header") << u"/signature.png"_s;
    }
    void failuresLeaveNoFile()
    {
        QFETCH(QString, path);
        QElapsedTimer clock;
        clock.start();
        const FetchResult result = fetch(path, target(), 300);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(clock.elapsed() < 5000);
        QCOMPARE(TreeOf(dir.path()), QStringList());
    }

    void aFailureLeavesAnOlderFileAloneAndSuccessReplacesItWhole()
    {
        QFile old(target());
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write(QByteArray(500 * 1024, 'x')) > 0);
        old.close();
        QVERIFY(!fetch(u"/missing.jpg"_s, target()).ok);
        QCOMPARE(FileBytes(target()), QByteArray(500 * 1024, 'x'));
        QVERIFY(fetch(u"/noise.jpg"_s, target()).ok);
        QCOMPARE(FileBytes(target()), noise);
    }

    void unwritableTargetsFail()
    {
        QVERIFY(QDir(dir.path()).mkdir(u"taken.jpg"_s));
        for (const QString &file : {target(u"gone/主图1.jpg"_s), target(u"taken.jpg"_s)}) {
            const FetchResult result = fetch(u"/noise.jpg"_s, file);
            QVERIFY2(!result.ok && !result.error.isEmpty(), qPrintable(file));
        }
        QCOMPARE(TreeOf(dir.path()), QStringList{u"taken.jpg/"_s});
    }

    void onlyHttpAddressesAreFetched()
    {
        QFile secret(target(u"secret.jpg"_s));
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("private") > 0);
        secret.close();
        QVERIFY(!fetch(QUrl::fromLocalFile(secret.fileName()).toString(), target()).ok);
        QVERIFY(!QFile::exists(target()));
    }

    void abortAndLostContextsSilenceTheCallback()
    {
        auto fetcher = std::make_unique<PictureFetcher>(&network);
        auto context = std::make_unique<QObject>();
        int calls = 0;
        fetcher->DownloadPicture(server.url(u"/noise.jpg"_s), target(u"a.jpg"_s), context.get(), [&](auto &) { ++calls; });
        fetcher->DownloadPicture(server.url(u"/stall.jpg"_s), target(u"b.jpg"_s), this, [&](auto &) { ++calls; });
        fetcher->DownloadPicture(server.url(u"/stall.jpg"_s), target(u"c.jpg"_s), nullptr, [&](auto &) { ++calls; });
        context.reset();
        fetcher->abort(this);
        QCOMPARE(fetcher->running(), 2);
        QTest::qWait(300);
        fetcher.reset(); // with a fetch still in flight
        QTest::qWait(100);
        QCOMPARE(calls, 0);
        QVERIFY(!QFile::exists(target(u"b.jpg"_s)) && !QFile::exists(target(u"c.jpg"_s)));
    }

    void picturesAreKnownByTheirFirstBytes()
    {
        for (const char *format : {"JPEG", "PNG", "GIF", "BMP", "ICO", "TIFF", "WEBP"}) {
            const QByteArray bytes = PictureBytes(20, format);
            QVERIFY2(bytes.isEmpty() || IsPictureFormat(bytes.left(PictureHeadBytes)), format);
        }
        QVERIFY(IsPictureFormat(QByteArray("\0\0\0\x1c" "ftypavif", 12)));
        for (const QByteArray &no : {QByteArray("<!DOCTYPE html>"), QByteArray("{\"error\":1}"), QByteArray("BM"),
                                     QByteArray("II*"), QByteArray("\0\0\0\x1c" "ftypmp42", 12)})
            QVERIFY2(!IsPictureFormat(no), no.constData());
    }

    void retryAfterIsHonouredUpToItsCap()
    {
        const QDateTime now = QDateTime::fromSecsSinceEpoch(1797000000, QTimeZone::utc());
        QCOMPARE(RetryAfterMs(" 3 ", now), 3000);
        QCOMPARE(RetryAfterMs(QLocale::c().toString(now.addSecs(5), u"ddd, dd MMM yyyy hh:mm:ss 'GMT'"_s).toLatin1(), now), 5000);
        QCOMPARE(RetryAfterMs("soon", now), -1);
        FetchLimits limits;
        QCOMPARE((QList<int>{PauseBeforeNextTry(limits, 1, -1), PauseBeforeNextTry(limits, 2, -1),
                             PauseBeforeNextTry(limits, 1, 1000), PauseBeforeNextTry(limits, 1, 3600000)}),
                 (QList<int>{500, 2000, 1000, 10000}));
        QVERIFY(IsTransientStatus(503) && !IsTransientStatus(404) && !IsTransientStatus(403));
    }

    void aManagerThatGoesAwayEndsItsFetches()
    {
        auto manager = std::make_unique<QNetworkAccessManager>();
        PictureFetcher fetcher(manager.get());
        std::optional<FetchResult> outcome;
        fetcher.DownloadPicture(server.url(u"/stall.jpg"_s), target(), nullptr, [&](auto &r) { outcome = r; });
        QTest::qWait(100);
        manager.reset();
        QTRY_VERIFY(outcome.has_value());
        QVERIFY(!outcome->ok && !QFile::exists(target()));
    }
};

PICTORRA_TEST_MAIN(PictureFetcherTest)
#include "tst_PictureFetcher.moc"
