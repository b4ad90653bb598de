#include "picking/PageExtractor.h"
#include "platform/DemoShop.h"
#include "support/TestMain.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

struct Answer
{
    int status = 0;
    QByteArray type;
    qint64 length = -1;
    QByteArray body;
};

// The whole conversation of one raw request on its own connection, until the
// server closes it. Raw, because an HTTP client tidies "/../" away itself.
QByteArray converse(quint16 port, const QByteArray &request)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(request);
    QByteArray received;
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&] { received += socket.readAll(); });
    QSignalSpy closed(&socket, &QTcpSocket::disconnected);
    if (socket.state() != QAbstractSocket::UnconnectedState)
        closed.wait(5000);
    return received + socket.readAll();
}

int statusOf(const QByteArray &response)
{
    return response.startsWith("HTTP/1.1 ") ? response.mid(9, 3).toInt() : 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class DemoShopTest : public QObject
{
    Q_OBJECT

    QString m_folder;
    DemoShop *m_shop = nullptr;
    QNetworkAccessManager m_network;

    Answer fetch(const QString &path, bool headOnly = false)
    {
        const QNetworkRequest request(QUrl(m_shop->baseUrl().toString() + path));
        std::unique_ptr<QNetworkReply> reply(headOnly ? m_network.head(request) : m_network.get(request));
        if (!reply->isFinished())
            QSignalSpy(reply.get(), &QNetworkReply::finished).wait(5000);
        Answer answer;
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.type = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        answer.length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        answer.body = reply->readAll();
        return answer;
    }

    QString base() const { return m_shop->baseUrl().toString(); }

    // The pictures in the order the page shows them.
    QStringList descriptionPictures()
    {
        PicLists lists;
        PageExtractor::DescPicsFromHtml(QString::fromUtf8(fetch(u"/desc.html"_s).body), 0, lists);
        return lists.DescPics(0);
    }

private slots:
    void initTestCase()
    {
        m_folder = DemoShop::defaultFolder();
        m_shop = new DemoShop(m_folder, this);
        QVERIFY2(m_shop->start(), qPrintable(m_shop->errorString()));
        QVERIFY(m_shop->start()); // a second call keeps the same server
        QCOMPARE(m_shop->baseUrl().host(), u"127.0.0.1"_s);
        QVERIFY(m_shop->baseUrl().port() > 0);
        QCOMPARE(m_shop->itemUrl().toString(), base() + u"/item.html"_s);
    }

    void theShopIsFoundBesideTheProgramOrInTheSources()
    {
        QVERIFY(QFileInfo::exists(m_folder + u"/item.html"_s));
        const QString built = QString::fromUtf8(PICTORRA_SAMPLE_SHOP_BUILT);
        for (const QString &name : QDir(m_folder + u"/img"_s).entryList(QDir::Files))
            QCOMPARE(readFile(built + u"/img/"_s + name), readFile(m_folder + u"/img/"_s + name));
        QCOMPARE(readFile(built + u"/item.html"_s), readFile(m_folder + u"/item.html"_s));
    }

    void startFailsWithoutAShop()
    {
        QTemporaryDir empty;
        for (const QString &folder : {empty.path(), empty.path() + u"/missing"_s}) {
            DemoShop shop(folder);
            QVERIFY(!shop.start());
            QVERIFY2(shop.errorString().contains(folder), qPrintable(shop.errorString()));
            QVERIFY(shop.baseUrl().isEmpty());
            QVERIFY(shop.itemUrl().isEmpty());
        }
    }

    void productPageNamesItsPicturesByAbsoluteAddress()
    {
        const Answer page = fetch(u"/item.html"_s);
        QCOMPARE(page.status, 200);
        QCOMPARE(page.type, QByteArray("text/html; charset=utf-8"));
        QCOMPARE(page.length, page.body.size());
        const QString html = QString::fromUtf8(page.body);
        QVERIFY(!html.contains(u"{{BASE}}"_s));
        QVERIFY(html.contains(u"<div id=\"mod-detail\">"_s));
        QVERIFY(html.contains(u"<div id=\"desc-lazyload-container\""_s));

        QStringList originals;
        static const QRegularExpression gallery(u"data-imgs='([^']*)'"_s);
        for (const QRegularExpressionMatch &m : gallery.globalMatch(html)) {
            const QJsonObject entry = QJsonDocument::fromJson(m.captured(1).toUtf8()).object();
            QVERIFY2(entry.value(u"preview"_s).toString().startsWith(base() + u"/img/"_s), qPrintable(m.captured(1)));
            originals.append(entry.value(u"original"_s).toString());
        }
        const QStringList expected = {base() + u"/img/main1.jpg"_s, base() + u"/img/main2.jpg"_s,
                                      base() + u"/img/main3.jpg"_s, base() + u"/img/main4.jpg"_s,
                                      base() + u"/img/main5.png"_s};
        QCOMPARE(originals, expected);
        // What a pick reads out of the gallery is exactly that list.
        PicLists lists;
        PageExtractor::MainPicsFromHtml(html, 1, 0, lists);
        QCOMPARE(lists.MainPics(0), expected);
    }

    void descriptionIsFetchedByThePageAndNamesEightPictures()
    {
        const QString html = QString::fromUtf8(fetch(u"/item.html"_s).body);
        QVERIFY(html.contains(u"data-tfs-url=\""_s + base() + u"/desc.html\""_s));
        QStringList expected;
        for (const char *name : {"desc1.jpg", "desc2.png", "desc3.png", "desc4.jpg", "desc5.jpg",
                                 "desc6.png", "desc7.jpg", "desc8.png"})
            expected.append(base() + u"/img/"_s + QLatin1String(name));
        QCOMPARE(descriptionPictures(), expected);
    }

    void picturesComeByteForByte()
    {
        const QStringList names = QDir(m_folder + u"/img"_s).entryList(QDir::Files);
        QCOMPARE(names.size(), 13);
        for (const QString &name : names) {
            const QByteArray bytes = readFile(m_folder + u"/img/"_s + name);
            const QByteArray type = name.endsWith(u".png"_s) ? "image/png" : "image/jpeg";
            // The gallery's thumbnails carry a query; it names the same file.
            for (const QString &path : {u"/img/"_s + name, u"/img/"_s + name + u"?size=60x60"_s}) {
                const Answer answer = fetch(path);
                QCOMPARE(answer.status, 200);
                QCOMPARE(answer.type, type);
                QCOMPARE(answer.length, bytes.size());
                QVERIFY2(answer.body == bytes, qPrintable(path));
            }
            const Answer head = fetch(u"/img/"_s + name, true);
            QCOMPARE(head.length, bytes.size());
            QVERIFY(head.body.isEmpty());
        }
    }

    void picturesHaveTheWidthsThePickJudges()
    {
        qint64 total = 0;
        QList<int> widths;
        const QStringList pictures = QStringList{u"/img/main1.jpg"_s, u"/img/main2.jpg"_s, u"/img/main3.jpg"_s,
                                                 u"/img/main4.jpg"_s, u"/img/main5.png"_s}
                                     + descriptionPictures().replaceInStrings(base(), QString());
        for (const QString &path : pictures) {
            QByteArray bytes = fetch(path).body;
            QVERIFY2(bytes.size() <= 60 * 1024, qPrintable(path));
            total += bytes.size();
            QBuffer buffer(&bytes);
            QImageReader reader(&buffer);
            QVERIFY2(reader.canRead(), qPrintable(path));
            widths.append(reader.size().width());
            if (path.contains(u"main"_s))
                QCOMPARE(reader.size(), QSize(800, 800));
        }
        QVERIFY(total <= 1024 * 1024);
        QCOMPARE(widths.mid(5), (QList<int>{750, 300, 750, 449, 750, 450, 750, 750}));
    }

    void refusesWhatIsNoFileOfTheShop_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<int>("status");
        auto get = [](const QByteArray &target) {
            return "GET " + target + " HTTP/1.1\r\nHost: shop\r\nConnection: close\r\n\r\n";
        };
        QTest::newRow("missing") << get("/nothere.jpg") << 404;
        QTest::newRow("folder") << get("/img") << 404;
        QTest::newRow("root") << get("/") << 404;
        QTest::newRow("hidden") << get("/.hidden") << 404;
        // samples/CMakeLists.txt sits right above the shop.
        QTest::newRow("dot dot") << get("/../CMakeLists.txt") << 400;
        QTest::newRow("dot dot deeper") << get("/img/../../CMakeLists.txt") << 400;
        QTest::newRow("escaped dots") << get("/%2e%2e/CMakeLists.txt") << 400;
        QTest::newRow("escaped slash") << get("/img/%2E%2E%2F%2E%2E%2FCMakeLists.txt") << 400;
        QTest::newRow("backslash") << get("/img%5C..%5C..%5CCMakeLists.txt") << 400;
        QTest::newRow("overlong dots") << get("/%C0%AE%C0%AE/CMakeLists.txt") << 400;
        QTest::newRow("nul") << get("/item.html%00.jpg") << 400;
        QTest::newRow("bad escape") << get("/item%zz.html") << 400;
        QTest::newRow("not a path") << get("item.html") << 400;
        QTest::newRow("absolute form") << get("http://127.0.0.1/item.html") << 400;
        QTest::newRow("post") << QByteArray("POST /item.html HTTP/1.1\r\nContent-Length: 0\r\n\r\n") << 405;
        QTest::newRow("get with body") << QByteArray("GET /item.html HTTP/1.1\r\nContent-Length: 3\r\n\r\nabc") << 400;
        QTest::newRow("not http") << QByteArray("GET /item.html SPDY/3\r\n\r\n") << 400;
        QTest::newRow("endless head") << "GET /item.html HTTP/1.1\r\nX-Long: " + QByteArray(20000, 'a') << 431;
    }

    void refusesWhatIsNoFileOfTheShop()
    {
        QFETCH(QByteArray, request);
        QFETCH(int, status);
        const QByteArray response = converse(m_shop->baseUrl().port(), request);
        QCOMPARE(statusOf(response), status);
        QVERIFY(!response.contains("pictorra_sample"));
    }

    void symbolicLinksDoNotLeadOut()
    {
        QTemporaryDir root;
        QDir(root.path()).mkpath(u"shop"_s);
        QDir(root.path()).mkpath(u"outside"_s);
        QFile page(root.path() + u"/shop/item.html"_s);
        QVERIFY(page.open(QIODevice::WriteOnly) && page.write("<p>{{BASE}}</p>") > 0);
        page.close();
        QFile secret(root.path() + u"/outside/secret.txt"_s);
        QVERIFY(secret.open(QIODevice::WriteOnly) && secret.write("secret") > 0);
        secret.close();
        QVERIFY(QFile::link(u"../outside/secret.txt"_s, root.path() + u"/shop/secret.txt"_s));
        QVERIFY(QFile::link(u"../outside"_s, root.path() + u"/shop/out"_s));
        QVERIFY(QFile::link(u"item.html"_s, root.path() + u"/shop/same.html"_s));

        DemoShop shop(root.path() + u"/shop"_s);
        QVERIFY(shop.start());
        const quint16 port = quint16(shop.baseUrl().port());
        auto status = [port](const QByteArray &target) {
            return statusOf(converse(port, "GET " + target + " HTTP/1.0\r\n\r\n"));
        };
        QCOMPARE(status("/secret.txt"), 404);
        QCOMPARE(status("/out/secret.txt"), 404);
        const QByteArray inside = converse(port, "GET /same.html HTTP/1.0\r\n\r\n");
        QCOMPARE(statusOf(inside), 200);
        QVERIFY(inside.endsWith("<p>" + shop.baseUrl().toString().toUtf8() + "</p>"));
    }

    void servesManyClientsAtOnceWhileOneStalls()
    {
        QTcpSocket stalled; // half a request, never finished
        stalled.connectToHost(QHostAddress::LocalHost, quint16(m_shop->baseUrl().port()));
        stalled.write("GET /item.html HTTP/1.1\r\nHost: sh");

        const QByteArray page = fetch(u"/item.html"_s).body;
        const QByteArray picture = readFile(m_folder + u"/img/main1.jpg"_s);
        std::vector<std::unique_ptr<QTcpSocket>> clients;
        std::vector<QByteArray> received(60);
        for (int i = 0; i < 60; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            QTcpSocket *s = socket.get();
            connect(s, &QTcpSocket::readyRead, this, [s, &received, i] { received[i] += s->readAll(); });
            s->connectToHost(QHostAddress::LocalHost, quint16(m_shop->baseUrl().port()));
            // Two requests in one go: the answers must come in order.
            s->write("GET /img/main1.jpg HTTP/1.1\r\nHost: shop\r\n\r\n"
                     "GET /item.html HTTP/1.1\r\nHost: shop\r\nConnection: close\r\n\r\n");
            clients.push_back(std::move(socket));
        }
        QTRY_VERIFY_WITH_TIMEOUT(std::all_of(clients.begin(), clients.end(), [](const auto &s) {
                                     return s->state() == QAbstractSocket::UnconnectedState;
                                 }), 10000);
        for (const QByteArray &response : received) {
            QCOMPARE(response.count("HTTP/1.1 200 OK\r\n"), 2);
            const qsizetype second = response.indexOf("HTTP/1.1 200 OK\r\n", 1);
            QVERIFY(response.left(second).endsWith(picture));
            QVERIFY(response.endsWith(page));
        }
        QCOMPARE(stalled.state(), QAbstractSocket::ConnectedState);
    }
};

PICTORRA_TEST_MAIN(DemoShopTest)
#include "tst_demo_shop.moc"
