#include "TestPictures.h"
#include "download/PictureFetcher.h"
#include "download/ProductFiles.h"
#include "download/TabDownload.h"
#include "support/LoopbackServer.h"
#include "support/TestMain.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {
const QByteArray Mp4 = QByteArray("\0\0\0\x18" "ftypisom", 12) + QByteArray(4000, 'v');

QJsonObject infoOf(const QString &itemFolder)
{
    return QJsonDocument::fromJson(FileBytes(itemFolder + u"/商品信息.json"_s)).object();
}
}

// The gallery video saved with the pictures, and the product's data beside them.
class VideoDownloadTest : public QObject
{
    Q_OBJECT
    LoopbackServer server;
    QNetworkAccessManager network;
    PictureFetcher fetcher{&network};
    QTemporaryDir dir;

    PickResult result(const QString &videoPath) const
    {
        PickResult r;
        r.title = u"ABC"_s; // the folder is named after the product's own title
        r.addresses(MediaKind::Main) = {server.url(u"/main.jpg"_s)};
        r.addresses(MediaKind::Sku) = {server.url(u"/main.jpg"_s)};
        r.media.names(MediaKind::Sku) = {u"红色"_s};
        if (!videoPath.isEmpty())
            r.addresses(MediaKind::Video) = {videoPath.contains(u':') ? videoPath : server.url(videoPath)};
        r.product.url = u"https://detail.example/offer/1.html"_s;
        r.product.title = u"=纸扇"_s;
        r.product.skus = {{{u"红色"_s, u"9个装"_s}, QJsonValue(u"9.50"_s), QJsonValue(12), u"SKU图1.jpg"_s}};
        return r;
    }

    DownloadSummary run(TabDownload &download)
    {
        QSignalSpy finished(&download, &TabDownload::finished);
        if (!finished.wait(20000))
            return {};
        return finished.at(0).at(0).value<DownloadSummary>();
    }

    DownloadSummary start(const PickResult &r)
    {
        TabDownload download(&fetcher);
        download.start(dir.path(), r);
        return run(download);
    }

private slots:
    void initTestCase()
    {
        FetchLimits quick;
        quick.pausesMs = {20, 50};
        fetcher.setLimits(quick);
        fetcher.setVideoLimits(quick.forKind(MediaKinds::of(MediaKind::Video)));
        fetcher.setStallTimeout(300);
        server.serve(u"/main.jpg"_s, PictureBytes(300, "JPG"), u"image/jpeg"_s);
        server.serve(u"/v.mp4"_s, Mp4, u"video/mp4"_s);
        server.serve(u"/page.mp4"_s, "<html>not found</html>", u"video/mp4"_s);
        server.serve(u"/picture.mp4"_s, PictureBytes(300, "JPG"), u"video/mp4"_s);
        server.serveCutShort(u"/huge.mp4"_s, Mp4, 2ll << 30);
        server.serveStalled(u"/stall.mp4"_s, 100000);
    }
    void cleanup() { QDir(dir.path()).removeRecursively(), QDir().mkpath(dir.path()); }

    void videoAndProductFilesJoinThePictureTree()
    {
        const DownloadSummary s = start(result(u"/v.mp4"_s));
        QCOMPARE(TreeOf(dir.path() + u"/=纸扇"_s),
                 (QStringList{u"SKU图/"_s, u"SKU图/SKU图1.jpg"_s, u"主图/"_s, u"主图/主图1.jpg"_s, u"商品SKU.csv"_s,
                              u"商品信息.json"_s, u"描述图/"_s, u"视频/"_s, u"视频/视频1.mp4"_s}));
        QCOMPARE(FileBytes(dir.path() + u"/=纸扇/视频/视频1.mp4"_s), Mp4);
        QCOMPARE((QList<int>{s.total, s.saved, s.kept[MediaKind::Video], s.failed}), (QList<int>{3, 2, 1, 0}));
        QVERIFY(s.line.endsWith(u"（视频1个）"_s));
        QCOMPARE(infoOf(dir.path() + u"/=纸扇"_s).value(u"video"_s).toString(), u"视频1.mp4"_s);
        QCOMPARE(FileBytes(dir.path() + u"/=纸扇/商品SKU.csv"_s),
                 "\xEF\xBB\xBF" + u"规格,价格,库存,图片\r\n红色 / 9个装,9.50,12,SKU图1.jpg\r\n"_s.toUtf8());
    }

    void hostileVideosFailByNameAndEnd_data()
    {
        QTest::addColumn<QString>("video");
        QTest::newRow("an error page") << u"/page.mp4"_s;
        QTest::newRow("a picture") << u"/picture.mp4"_s;
        QTest::newRow("2 GiB declared") << u"/huge.mp4"_s;
        QTest::newRow("stalls") << u"/stall.mp4"_s;
        QTest::newRow("javascript:") << u"javascript:alert(1)"_s;
        QTest::newRow("file:") << u"file:///etc/passwd"_s;
        QTest::newRow("data:") << u"data:video/mp4;base64,AAAAGGZ0eXA="_s;
    }
    void hostileVideosFailByNameAndEnd()
    {
        QFETCH(QString, video);
        QElapsedTimer clock;
        clock.start();
        const DownloadSummary s = start(result(video));
        QVERIFY(clock.elapsed() < 10000);
        QCOMPARE(s.outcome, DownloadSummary::Outcome::Completed);
        QCOMPARE((QList<int>{s.saved, s.kept[MediaKind::Video], s.failed}), (QList<int>{2, 0, 1}));
        QCOMPARE(s.failures.first().name(), u"视频1"_s);
        // No empty 视频 folder stays behind.
        QVERIFY(!QFileInfo::exists(dir.path() + u"/=纸扇/视频"_s));
        QVERIFY(!infoOf(dir.path() + u"/=纸扇"_s).contains(u"video"_s));
        // Nothing of it anywhere else either.
        QCOMPARE(TreeOf(dir.path()).filter(u"mp4"_s), QStringList());
    }

    void aRetriedVideoIsNamedInTheProductFile()
    {
        const DownloadSummary first = start(result(u"/page.mp4"_s));
        QCOMPARE(first.failed, 1);
        QList<FailedPicture> failures = first.failures;
        failures.first().url = server.url(u"/v.mp4"_s);
        TabDownload retry(&fetcher);
        retry.retry(first.itemFolder, failures);
        const DownloadSummary s = run(retry);
        QCOMPARE((QList<int>{s.kept[MediaKind::Video], s.failed}), (QList<int>{1, 0}));
        const QJsonObject info = infoOf(first.itemFolder);
        QCOMPARE(info.value(u"video"_s).toString(), u"视频1.mp4"_s);
        QCOMPARE(info.value(u"title"_s).toString(), u"=纸扇"_s);
    }

    void aResumedItemKeepsItsSavedVideo()
    {
        const QString item = dir.path() + u"/=纸扇"_s;
        QDir().mkpath(item + u"/视频"_s);
        QFile old(item + u"/视频/视频1.mp4"_s);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("saved before") > 0);
        old.close();
        TabDownload download(&fetcher);
        download.resume(item, result(u"/page.mp4"_s));
        const DownloadSummary s = run(download);
        QCOMPARE((QList<int>{s.kept[MediaKind::Video], s.failed}), (QList<int>{1, 0}));
        QCOMPARE(FileBytes(item + u"/视频/视频1.mp4"_s), QByteArray("saved before"));
        QCOMPARE(infoOf(item).value(u"video"_s).toString(), u"视频1.mp4"_s);
    }
};

PICTORRA_TEST_MAIN(VideoDownloadTest)
#include "tst_VideoDownload.moc"
