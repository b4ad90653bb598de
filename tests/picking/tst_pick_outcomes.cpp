// How a pick ends, one page kind at a time, on the real engine against
// pages served on the loopback interface; and the screenless run that picks
// many addresses in tabs it closes again.
#include "engine/Engine.h"
#include "screenless/HeadlessPick.h"
#include "main_window/MainForm.h"
#include "picking/Pick.h"
#include "picking/designs/BlockedPage.h"
#include "picking/designs/PageDesigns.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "support/EngineWindow.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QWebEngineProfile>

class PickOutcomesTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    QWebEngineProfile *profile = nullptr;
    PageDesigns designs;
    ProductPage item;
    QString closedPort;

    QByteArray fixture(const QString &name) const
    {
        QFile file(QStringLiteral(PICTORRA_FIXTURES "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).replace(QLatin1String("http://HOST"), server.url(QString())).toUtf8();
    }

    static Intervals intervals()
    {
        Intervals scaled = Intervals::scaled(0.05);
        scaled.accessTickMs = 1000;  // a busy machine still gets its pages in time
        return scaled;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (int i = 1; i <= 2; ++i) {
            item.mainPics << server.url(QStringLiteral("/img/main%1.jpg").arg(i));
            item.descPics << server.url(QStringLiteral("/img/desc%1.png").arg(i));
        }
        server.serve(QStringLiteral("/item.html"), item.html());
        ProductPage plain = item;
        plain.withGallery = false;
        server.serve(QStringLiteral("/plain.html"), plain.html());
        const QString js = QStringLiteral("application/javascript; charset=utf-8");
        server.serve(QStringLiteral("/offer/1001.html"), fixture(QStringLiteral("context-page.html")));
        server.serve(QStringLiteral("/itemcdn/1688offer/icoss1001"), fixture(QStringLiteral("context-description.js")), js);
        server.serve(QStringLiteral("/offer/3003.html"), fixture(QStringLiteral("init-page.html")));
        server.serve(QStringLiteral("/itemcdn/1688offer/icoss3003"), fixture(QStringLiteral("init-description.js")), js);
        server.serve(QStringLiteral("/offer/blocked.html"), fixture(QStringLiteral("blocked-page.html")));
        server.serveStatus(QStringLiteral("/gone.html"), 404, "<html><body>Not Found</body></html>");
        QTcpServer listener;
        QVERIFY(listener.listen(QHostAddress::LocalHost));
        closedPort = QStringLiteral("http://127.0.0.1:%1/item.html").arg(listener.serverPort());
        listener.close();
        profile = BrowserProfile::offTheRecord(this);
    }

    void eachPageKindEndsWithItsOutcome_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("skuPics");
        using Kind = PickOutcome::Kind;
        QTest::newRow("old design") << server.url(QStringLiteral("/item.html")) << int(Kind::Picked) << QString() << 0;
        QTest::newRow("context data") << server.url(QStringLiteral("/offer/1001.html")) << int(Kind::Picked) << QString() << 2;
        QTest::newRow("init data") << server.url(QStringLiteral("/offer/3003.html")) << int(Kind::Picked) << QString() << 2;
        QTest::newRow("not a product") << server.url(QStringLiteral("/plain.html")) << int(Kind::NotProduct)
                                       << Pick::NotProductMessage << 0;
        QTest::newRow("verification") << server.url(QStringLiteral("/offer/blocked.html")) << int(Kind::NeedsVerification)
                                      << BlockedPage::Message << 0;
        QTest::newRow("closed port") << closedPort << int(Kind::CouldNotLoad) << QStringLiteral("网络错误") << 0;
        QTest::newRow("HTTP 404") << server.url(QStringLiteral("/gone.html")) << int(Kind::CouldNotLoad)
                                  << QStringLiteral("HTTP 404") << 0;
    }

    void eachPageKindEndsWithItsOutcome()
    {
        QFETCH(QString, address);
        QFETCH(int, kind);
        QFETCH(QString, says);
        QFETCH(int, skuPics);
        QWidget host;
        host.resize(1000, 800);
        auto *page = new WebEngineBrowser(profile, &host);
        page->widget()->resize(host.size());
        host.show();
        Pick pick(page, designs, intervals());
        QSignalSpy ended(&pick, &Pick::ended);
        pick.start(address);
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 60000);
        const auto outcome = qvariant_cast<PickOutcome>(ended.first().first());
        QCOMPARE(int(outcome.kind), kind);
        QVERIFY2(outcome.message.contains(says), qPrintable(outcome.message));
        if (outcome.kind != PickOutcome::Kind::Picked)
            return delete page;
        QCOMPARE(outcome.result.address, address);
        QVERIFY(!outcome.result.title.isEmpty());
        QVERIFY(!outcome.result.addresses(MediaKind::Main).isEmpty());
        QVERIFY(!outcome.result.addresses(MediaKind::Description).isEmpty());
        QCOMPARE(outcome.result.addresses(MediaKind::Sku).size(), skuPics);
        QVERIFY(outcome.result.note.isEmpty());
        delete page;
    }

    void aPageClosedUnderItsPickCancelsIt()
    {
        QWidget host;
        auto *page = new WebEngineBrowser(profile, &host);
        host.show();
        Pick pick(page, designs, intervals());
        QSignalSpy ended(&pick, &Pick::ended);
        pick.start(server.url(QStringLiteral("/item.html")));
        QSignalSpy identified(&pick, &Pick::identified);
        QVERIFY(identified.wait(30000));
        delete page;
        QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 10000);
        QVERIFY(qvariant_cast<PickOutcome>(ended.first().first()).kind == PickOutcome::Kind::Cancelled);
    }

    void theScreenlessRunNamesTheNetworkFailure()
    {
        Engine engine(intervals(), profile);
        HeadlessPick run(engine, {closedPort});
        QSignalSpy finished(&run, &HeadlessPick::finished);
        run.start();
        QVERIFY(finished.wait(60000));
        const QJsonObject line = QJsonDocument::fromJson(HeadlessPick::jsonLine(run.results().first())).object();
        QVERIFY2(line.value(QStringLiteral("error")).toString().contains(QStringLiteral("网络错误")),
                 HeadlessPick::jsonLine(run.results().first()).constData());
    }
};

PICTORRA_TEST_MAIN(PickOutcomesTest)
#include "tst_pick_outcomes.moc"
