// The generic reader on product pages of designs no named design knows, on
// the real engine against pages of our own served on loopback: page data of
// keys of its own, structured data only, markup only; a taken-down offer and
// list pages are refused.
#include "download/ResultJson.h"
#include "picking/Pick.h"
#include "picking/ResultPage.h"
#include "picking/designs/GenericDesign.h"
#include "picking/designs/PageDesigns.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "support/LoopbackServer.h"
#include "support/TestMain.h"

#include <httplib.h>

#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineProfile>

class GenericReaderTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    QWebEngineProfile *profile = nullptr;
    PageDesigns designs;

    QByteArray fixture(const QString &name) const
    {
        QFile file(QStringLiteral(PICTORRA_FIXTURES "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).replace(QLatin1String("http://HOST"), server.url(QString()))
            .replace(QLatin1String("//HOST"), server.url(QString()).mid(5)).toUtf8();
    }

    static std::string picture(int side)
    {
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(QColor(90, 140, 200));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes.toStdString();
    }

    // "a1 a2" as the addresses of pictures a1.jpg and a2.jpg.
    QStringList pics(const char *names) const
    {
        QStringList out;
        for (const QString &name : QString::fromLatin1(names).split(u' '))
            out << server.url(QStringLiteral("/pics/") + name + QStringLiteral(".jpg"));
        return out;
    }

    PickOutcome pick(const QString &path)
    {
        QWidget host;
        host.resize(1000, 800);
        auto *page = new WebEngineBrowser(profile, &host);
        page->widget()->resize(host.size());
        host.show();
        Intervals intervals = Intervals::scaled(0.05);
        intervals.accessTickMs = 1000;  // a busy machine still gets its pages in time
        Pick pick(page, designs, intervals);
        QSignalSpy ended(&pick, &Pick::ended);
        pick.start(server.url(path));
        [&] { QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 60000); }();
        delete page;
        return ended.isEmpty() ? PickOutcome() : qvariant_cast<PickOutcome>(ended.first().first());
    }

private Q_SLOTS:
    void initTestCase()
    {
        const std::string tiny = picture(32), thumb = picture(60), large = picture(600);
        server.serveHandler(QStringLiteral("/pics/.*"), [=](const httplib::Request &request, httplib::Response &response) {
            const bool small = request.path.find("small") != std::string::npos || request.path.find("logo") != std::string::npos
                || request.path.find("icon") != std::string::npos;
            const bool copy = request.path.find("_60x60") != std::string::npos;
            response.set_content(small ? tiny : copy ? thumb : large, "image/png");
        });
        server.serve(QStringLiteral("/media/a.mp4"), QByteArray("\0\0\0\x18" "ftypisom", 12) + QByteArray(2000, 'v'),
                     QStringLiteral("video/mp4"));
        server.serve(QStringLiteral("/desc/5001.json"), fixture(QStringLiteral("generic-description.json")),
                     QStringLiteral("application/json"));
        server.serve(QStringLiteral("/offer/5001.html"), fixture(QStringLiteral("generic-data-page.html")));
        const QByteArray structured = fixture(QStringLiteral("generic-structured-page.html"));
        server.serve(QStringLiteral("/offer/5002.html"), structured);
        // The same page with Open Graph in place of its JSON-LD.
        QByteArray graph = structured;
        const qsizetype from = graph.indexOf("<!--STRUCTURED-->"), to = graph.indexOf("<!--/STRUCTURED-->");
        graph.replace(from, to - from, "<meta property=\"og:title\" content=\"B款\"><meta property=\"og:image\" content=\""
                      + server.url(QStringLiteral("/pics/b1.jpg")).toUtf8() + "\"><meta property=\"og:image\" content=\""
                      + server.url(QStringLiteral("/pics/b2.jpg")).toUtf8() + "\">");
        server.serve(QStringLiteral("/page/index.html"), graph);
        server.serve(QStringLiteral("/offer/5003.html"), fixture(QStringLiteral("generic-markup-page.html")));
        server.serve(QStringLiteral("/offer/7001.html"), fixture(QStringLiteral("generic-gone-page.html")));
        server.serve(QStringLiteral("/offer/7002.html"), fixture(QStringLiteral("generic-list-page.html")));
        server.serve(QStringLiteral("/offers/list.html"), fixture(QStringLiteral("generic-list-page.html")));
        // Far more than any product page: pictures by the thousand, megabytes of script that never close.
        QByteArray huge = "<html><head><title>D</title></head><body><img src=\"" + server.url(QStringLiteral("/pics/g1.jpg")).toUtf8()
            + "\" width=\"400\" height=\"400\"><script>var a = " + QByteArray(3 << 20, '{') + "</script>";
        for (int i = 0; i < 8000; ++i)
            huge += "<img width=\"8\" height=\"8\" data-src=\"http://x.example/p" + QByteArray::number(i) + ".jpg\">";
        server.serve(QStringLiteral("/offer/5004.html"), huge + "</body></html>");
        profile = BrowserProfile::offTheRecord(this);
    }

    void eachDesignGivesTheOffersOwnPictures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("main");
        QTest::addColumn<QStringList>("skuNames");
        QTest::addColumn<QStringList>("description");
        QTest::addColumn<bool>("video");
        QTest::newRow("page data of its own keys") << QStringLiteral("/offer/5001.html") << pics("a1 a2 a3")
            << QStringList{QStringLiteral("红色"), QStringLiteral("蓝色")} << pics("ad1 ad2 ad1") << true;
        QTest::newRow("JSON-LD only") << QStringLiteral("/offer/5002.html") << pics("b1 b2") << QStringList()
            << pics("bd1 bd2 bd3") << false;
        QTest::newRow("Open Graph, mobile address") << QStringLiteral("/page/index.html?offerId=5002") << pics("b1 b2")
            << QStringList() << pics("bd1 bd2 bd3") << false;
        QTest::newRow("no data at all") << QStringLiteral("/offer/5003.html") << pics("c1 c2 c3") << QStringList()
            << pics("cd1 cd2 cd3 cd4") << false;
    }

    void eachDesignGivesTheOffersOwnPictures()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, main);
        QFETCH(QStringList, skuNames);
        QFETCH(QStringList, description);
        QFETCH(bool, video);
        const PickOutcome outcome = pick(path);
        QVERIFY2(outcome.picked(), qPrintable(outcome.message));
        const PickResult &r = outcome.result;
        QCOMPARE(r.reader, GenericDesign::ReaderName);
        QCOMPARE(r.addresses(MediaKind::Main), main);
        QCOMPARE(r.media.names(MediaKind::Sku), skuNames);
        QCOMPARE(r.addresses(MediaKind::Description), description);
        QCOMPARE(r.addresses(MediaKind::Video).size(), video ? 1 : 0);
        QVERIFY(r.note.isEmpty());
        // The user is told to check: on the result page and in the JSON line.
        QVERIFY(ResultPage::pieces(r).join(QString()).contains(GenericDesign::Notice));
        const QJsonObject line = QJsonDocument::fromJson(ResultJson::line(r, nullptr)).object();
        QCOMPARE(line.value(QStringLiteral("reader")).toString(), QStringLiteral("generic"));
    }

    void aPageOfAnySizeIsReadInBoundedTime()
    {
        QElapsedTimer clock;
        clock.start();
        const PickOutcome outcome = pick(QStringLiteral("/offer/5004.html"));
        QVERIFY2(outcome.picked(), qPrintable(outcome.message));
        QCOMPARE(outcome.result.addresses(MediaKind::Main), pics("g1"));
        QVERIFY(outcome.result.addresses(MediaKind::Description).isEmpty());
        QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
    }

    void pagesWithoutPicturesOfTheOffersOwnAreRefused_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("says");
        QTest::newRow("taken down") << QStringLiteral("/offer/7001.html") << Pick::NoPicturesMessage;
        QTest::newRow("list at a product address") << QStringLiteral("/offer/7002.html") << Pick::NoPicturesMessage;
        QTest::newRow("list page") << QStringLiteral("/offers/list.html") << Pick::NotProductMessage;
    }

    void pagesWithoutPicturesOfTheOffersOwnAreRefused()
    {
        QFETCH(QString, path);
        QFETCH(QString, says);
        const PickOutcome outcome = pick(path);
        QCOMPARE(int(outcome.kind), int(PickOutcome::Kind::NotProduct));
        QCOMPARE(outcome.message, says);
    }
};

PICTORRA_TEST_MAIN(GenericReaderTest)
#include "tst_generic_reader.moc"
