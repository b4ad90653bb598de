// Pick on today's page designs and on hostile pages, on the real engine,
// against fixtures modelled on the marketplace's pages served on loopback.
#include "download/PictureFetcher.h"
#include "download/ProductFiles.h"
#include "download/TabDownload.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "picking/PageExtractor.h"
#include "main_window/PickCommand.h"
#include "picking/Pick.h"
#include "picking/designs/BlockedPage.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePage.h"
#include "support/EngineWindow.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <httplib.h>

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineScript>

#include <memory>

class PickDesignsTest : public QObject
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

    QString site(const QString &path) const { return server.url(path); }

    QByteArray fixture(const QString &name, const QString &detailPath = QString()) const
    {
        QFile file(QStringLiteral(PICTORRA_FIXTURES "/") + name);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QString text = QString::fromUtf8(file.readAll());
        if (!detailPath.isEmpty())
            text.replace(QRegularExpression(QStringLiteral("http://HOST/itemcdn/1688offer/icoss\\d+")), site(detailPath));
        return text.replace(QLatin1String("http://HOST"), site(QString())).toUtf8();
    }

    static QByteArray picture(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(200, 120, 40));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "JPG", 60);
        return bytes;
    }

    QString pic(const QString &name) const { return site(QStringLiteral("/cbu01/img/ibank/") + name); }

    struct Outcome
    {
        bool completed = false;
        QString message;
        PickResult result;
    };

    Outcome pick(const QString &path, int timeoutMs = 60000)
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        QSignalSpy ready(&window->pickCommand(), &PickCommand::resultReady);
        window->addressStrip().setAddress(site(path));
        window->addressStrip().pick_B->click();
        QElapsedTimer timer;
        timer.start();
        while (ended.isEmpty() && timer.elapsed() < timeoutMs)
            ended.wait(200);
        Outcome outcome;
        if (ended.isEmpty())
            return outcome;
        outcome.completed = ended.first().at(1).toBool();
        outcome.message = ended.first().at(2).toString();
        if (!ready.isEmpty())
            outcome.result = qvariant_cast<PickResult>(ready.first().at(1));
        return outcome;
    }

    DocumentSnapshot document(int b)
    {
        std::optional<DocumentSnapshot> snapshot;
        window->tabs().browser(b)->readDocument({}, this, [&](const DocumentSnapshot &s) { snapshot = s; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(snapshot.has_value(), 10000); }();
        return snapshot.value_or(DocumentSnapshot{});
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<PickResult>();
        const QByteArray square = picture(800, 800);
        for (const char *name : {"m1.jpg", "m2.jpg", "m3.jpg", "s1.jpg", "s2.jpg", "w1.jpg", "w2.jpg", "k1.jpg", "k2.jpg"})
            server.serve(QStringLiteral("/cbu01/img/ibank/") + QLatin1String(name), square, QStringLiteral("image/jpeg"));
        const QByteArray tall = picture(790, 1000);
        for (const char *name : {"d1.jpg", "d2.png", "e1.jpg", "e2.jpg"})
            server.serve(QStringLiteral("/cbu01/img/ibank/") + QLatin1String(name), tall, QStringLiteral("image/jpeg"));
        server.serve(QStringLiteral("/cbu01/img/ibank/narrow.jpg"), picture(300, 200), QStringLiteral("image/jpeg"));

        const QString js = QStringLiteral("application/javascript; charset=utf-8");
        server.serve(QStringLiteral("/offer/1001.html"), fixture(QStringLiteral("context-page.html")));
        server.serve(QStringLiteral("/itemcdn/1688offer/icoss1001"), fixture(QStringLiteral("context-description.js")), js);
        server.serve(QStringLiteral("/offer/3003.html"), fixture(QStringLiteral("init-page.html")));
        // Its second picture has no scheme: it takes the one of the (http) page.
        server.serve(QStringLiteral("/itemcdn/1688offer/icoss3003"), fixture(QStringLiteral("init-description.js")).replace("src='http://", "src='//"), js);
        server.serve(QStringLiteral("/offer/404.html"), fixture(QStringLiteral("context-page.html"), QStringLiteral("/missing")));
        server.serve(QStringLiteral("/offer/stall.html"), fixture(QStringLiteral("context-page.html"), QStringLiteral("/stalled")));
        server.serveStalled(QStringLiteral("/stalled"));
        // A description served only to a visitor with the page's cookie.
        QByteArray withCookie = fixture(QStringLiteral("context-page.html"), QStringLiteral("/members-only"));
        withCookie.replace("<div id=\"root\"></div>", "<div id=\"root\"></div><script>document.cookie = 'visitor=v42; path=/';</script>");
        server.serve(QStringLiteral("/offer/cookie.html"), withCookie);
        const std::string description = fixture(QStringLiteral("context-description.js")).toStdString();
        server.serveHandler(QStringLiteral("/members-only"), [description](const httplib::Request &request, httplib::Response &response) {
            if (request.get_header_value("Cookie").find("visitor=v42") == std::string::npos)
                response.status = 403;
            else
                response.set_content(description, "application/javascript; charset=utf-8");
        });
        server.serve(QStringLiteral("/offer/blocked.html"), fixture(QStringLiteral("blocked-page.html")));
        server.serveRedirect(QStringLiteral("/offer/login.html"), QStringLiteral("/passport/member/signin.htm"));
        server.serve(QStringLiteral("/passport/member/signin.htm"), fixture(QStringLiteral("login-page.html")));

        for (int i = 1; i <= 3; ++i)
            item.mainPics << site(QStringLiteral("/img/main%1.jpg").arg(i));
        for (int i = 1; i <= 2; ++i)
            item.descPics << site(QStringLiteral("/img/desc%1.png").arg(i));
        server.serve(QStringLiteral("/item.html"), item.html());
        // The description container comes over 4 s after the gallery.
        QByteArray slow = item.html();
        slow.replace("<div id=\"desc-lazyload-container\"", "<!--" + QByteArray(9000, 'x') + "--><div id=\"desc-lazyload-container\"");
        server.serveDribble(QStringLiteral("/slow.html"), slow, 1024, 500, QStringLiteral("text/html; charset=utf-8"));
        QByteArray away = item.html();
        away.replace("</body>", "<script>window.addEventListener('scroll', function () { if (window.gone) return;"
                                " window.gone = 1; setTimeout(function () { location.href = '/item.html'; }, 100); });</script></body>");
        server.serve(QStringLiteral("/away.html"), away);
        QByteArray growing = item.html();
        growing.replace("</body>", "<script>setInterval(function () { var d = document.createElement('div');"
                                   " d.style.height = '1000px'; document.body.appendChild(d); }, 50);</script></body>");
        server.serve(QStringLiteral("/growing.html"), growing);
        // A today's page as the marketplace serves it, its hosts pointed here.
        QByteArray real = fixture(QStringLiteral("real-context-page.html"));
        real.replace("https://cbu01.alicdn.com/", site(QStringLiteral("/cbu01/")).toUtf8())
            .replace("https://itemcdn.tmall.com/", site(QStringLiteral("/itemcdn/")).toUtf8())
            .replace("https://cloud.video.taobao.com/", site(QStringLiteral("/video/")).toUtf8());
        server.serve(QStringLiteral("/offer/real.html"), real);
        server.serve(QStringLiteral("/itemcdn/1688offer/icoss1516487213c4a2fa40226c2e8b"),
                     fixture(QStringLiteral("context-description.js")), js);
        const std::string jpeg = square.toStdString();
        server.serveHandler(QStringLiteral("/cbu01/.*"), [jpeg](const httplib::Request &, httplib::Response &response) {
            response.set_content(jpeg, "image/jpeg");
        });
        server.serve(QStringLiteral("/video/.*"), QByteArray("\0\0\0\x18" "ftypisom", 12) + QByteArray(5000, 'v'),
                     QStringLiteral("video/mp4"));
        profile = BrowserProfile::offTheRecord(this);
    }

    void init()
    {
        dialogs = RecordingDialogs();
        Intervals intervals = Intervals::scaled(0.05);
        intervals.accessTickMs = 1000;     // a busy machine still gets its pages in time
        intervals.pageLoadWaitMs = 30000;
        makeWindow(intervals);
    }

    void cleanup() { window.reset(); }

    void aContextDataPageIsPickedWithItsSkuPictures()
    {
        const Outcome outcome = pick(QStringLiteral("/offer/1001.html"));
        QVERIFY(outcome.completed);
        const PickResult &r = outcome.result;
        QCOMPARE(r.title, QStringLiteral("2026新款帆布托特包阿里巴巴"));
        QCOMPARE(r.address, site(QStringLiteral("/offer/1001.html")));
        QCOMPARE(r.addresses(MediaKind::Main), (QStringList{pic(QStringLiteral("m1.jpg")), pic(QStringLiteral("m2.jpg")), pic(QStringLiteral("m3.jpg"))}));
        QCOMPARE(r.addresses(MediaKind::Sku), (QStringList{pic(QStringLiteral("s1.jpg")), pic(QStringLiteral("s2.jpg"))}));
        QCOMPARE(r.media.names(MediaKind::Sku), (QStringList{QStringLiteral("红色"), QStringLiteral("<b>蓝</b>色<script>document.title='owned'</script>")}));
        QCOMPARE(r.addresses(MediaKind::Description), (QStringList{pic(QStringLiteral("d1.jpg")), pic(QStringLiteral("d2.png")), pic(QStringLiteral("d1.jpg")),
                                          pic(QStringLiteral("narrow.jpg"))}));
        QVERIFY(r.note.isEmpty());
        QCOMPARE(window->tabs().mesg(0)->item(0)->text(), PickCommand::CompletedLine);
        QTRY_VERIFY(window->tabs().captionAt(1).startsWith(QLatin1String("Pick:")));

        // The result page: the old containers read back as before, the SKU
        // section beside them with its names as text.
        const DocumentSnapshot page = document(0);
        PicLists lists;
        PageExtractor::ExtractPics(page, 0, 0, false, lists);
        QCOMPARE(lists.MainPics(0), r.addresses(MediaKind::Main));
        QCOMPARE(lists.DescPics(0), r.addresses(MediaKind::Description));
        QString sku;
        for (const DivElement &div : page.divs)
            if (div.id == QLatin1String("sku-pics"))
                sku = div.html;
        QVERIFY(sku.startsWith(QStringLiteral("<font fontsize=\"8\">SKU图(")));
        QVERIFY(sku.contains(QStringLiteral("&lt;b&gt;蓝&lt;/b&gt;色&lt;script&gt;")));
        QVERIFY(sku.contains(pic(QStringLiteral("s2.jpg"))));
        QTest::qWait(100);
        QVERIFY(!window->windowTitle().contains(QLatin1String("owned")));
        // 刷新 writes the whole result again, its SKU section included.
        auto *browser = static_cast<WebEngineBrowser *>(window->tabs().browser(0));
        browser->page()->runJavaScript(QStringLiteral("document.title = 'stale'"), QWebEngineScript::ApplicationWorld);
        QTRY_COMPARE(browser->LocationName(), QStringLiteral("stale"));
        QVERIFY(window->tabs().tab(0)->redrawResult());
        QTRY_VERIFY_WITH_TIMEOUT(browser->LocationName().startsWith(QLatin1String("Pick:")), 10000);
        bool skuAgain = false;
        for (const DivElement &div : document(0).divs)
            skuAgain |= div.id == QLatin1String("sku-pics") && div.html.contains(pic(QStringLiteral("s2.jpg")));
        QVERIFY(skuAgain);
        // For looking at the page by eye: PICTORRA_SHOT=/tmp/x.png under a real display.
        if (const QString shot = qEnvironmentVariable("PICTORRA_SHOT"); !shot.isEmpty()) {
            window->resize(1200, 1000);
            browser->page()->runJavaScript(QStringLiteral("document.getElementById('sku-pics').scrollIntoView()"),
                                           QWebEngineScript::ApplicationWorld);
            QTest::qWait(1500);
            window->grab().save(shot);
        }
    }

    // Picked and saved as the 下载 button, --save and the batch do: the
    // pictures' tree as before, the video and the product's data beside it.
    void aTodaysPageIsSavedWithItsVideoAndData()
    {
        const Outcome outcome = pick(QStringLiteral("/offer/real.html"));
        QVERIFY(outcome.completed);
        const PickResult &r = outcome.result;
        QCOMPARE(r.addresses(MediaKind::Video), QStringList{site(QStringLiteral("/video/play/u/2221089585610/p/2/e/6/t/1/547417934541.mp4"))});
        QCOMPARE(r.product.skus.size(), 11);
        // The stand-in video is no video the engine can play: the result page says so.
        auto *browser = static_cast<WebEngineBrowser *>(window->tabs().browser(0));
        QVariant hidden;
        QTRY_VERIFY_WITH_TIMEOUT((browser->page()->runJavaScript(QStringLiteral("document.querySelector('.video-unplayable').hidden"),
                                                                 QWebEngineScript::ApplicationWorld,
                                                                 [&hidden](const QVariant &v) { hidden = v; }),
                                  hidden.isValid() && !hidden.toBool()), 15000);
        QNetworkAccessManager network;
        PictureFetcher fetcher(&network);
        QTemporaryDir saveFolder;
        TabDownload download(&fetcher);
        QSignalSpy finished(&download, &TabDownload::finished);
        download.start(saveFolder.path(), r);
        QVERIFY(finished.wait(60000));
        const auto summary = finished.first().first().value<DownloadSummary>();
        QCOMPARE((QList<int>{summary.kept[MediaKind::Video], summary.failed}), (QList<int>{1, 0}));
        QDir item(summary.itemFolder);
        QStringList entries = item.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        entries.sort();
        QStringList expected{QStringLiteral("SKU图"), QStringLiteral("主图"), ProductFiles::SkuFile, ProductFiles::InfoFile,
                             QStringLiteral("描述图"), QStringLiteral("视频")};
        expected.sort();
        QCOMPARE(entries, expected);
        QCOMPARE(QDir(item.filePath(QStringLiteral("主图"))).count() - 2, uint(r.addresses(MediaKind::Main).size()));
        QVERIFY(QFileInfo(item.filePath(QStringLiteral("视频/视频1.mp4"))).size() > 5000);
        QFile info(item.filePath(ProductFiles::InfoFile));
        QVERIFY(info.open(QIODevice::ReadOnly));
        const QJsonObject json = QJsonDocument::fromJson(info.readAll()).object();
        QCOMPARE(json.value(QStringLiteral("video")).toString(), QStringLiteral("视频1.mp4"));
        QCOMPARE(json.value(QStringLiteral("skus")).toArray().size(), 11);
        QVERIFY(!json.value(QStringLiteral("attributes")).toArray().isEmpty());
        QFile csv(item.filePath(ProductFiles::SkuFile));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll().count("\r\n"), 12);
    }

    void anInitDataPageIsPicked()
    {
        const Outcome outcome = pick(QStringLiteral("/offer/3003.html"));
        QVERIFY(outcome.completed);
        QCOMPARE(outcome.result.title, QStringLiteral("拍立得3寸照片插页式相册"));
        QCOMPARE(outcome.result.addresses(MediaKind::Main), (QStringList{pic(QStringLiteral("w1.jpg")), pic(QStringLiteral("w2.jpg"))}));
        QCOMPARE(outcome.result.addresses(MediaKind::Sku), (QStringList{pic(QStringLiteral("k1.jpg")), pic(QStringLiteral("k2.jpg"))}));
        QCOMPARE(outcome.result.media.names(MediaKind::Sku), (QStringList{QStringLiteral("蓝色"), QStringLiteral("湖蓝色")}));
        QCOMPARE(outcome.result.addresses(MediaKind::Description), (QStringList{pic(QStringLiteral("e1.jpg")), pic(QStringLiteral("e2.jpg"))}));
    }

    void aDescriptionThatCannotBeLoadedLeavesMainAndSku_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("404") << QStringLiteral("/offer/404.html");
        QTest::newRow("stall") << QStringLiteral("/offer/stall.html");
    }

    void aDescriptionThatCannotBeLoadedLeavesMainAndSku()
    {
        QFETCH(QString, path);
        const Outcome outcome = pick(path);
        QVERIFY(outcome.completed);
        QCOMPARE(outcome.result.addresses(MediaKind::Main).size(), 3);
        QCOMPARE(outcome.result.addresses(MediaKind::Sku).size(), 2);
        QVERIFY(outcome.result.addresses(MediaKind::Description).isEmpty());
        QCOMPARE(outcome.result.note, Pick::DescriptionNote);
        QVERIFY(window->tabs().mesg(0)->item(0)->text().contains(QStringLiteral("描述图未能加载")));
    }

    void theDescriptionIsFetchedWithTheTabsCookies()
    {
        const Outcome outcome = pick(QStringLiteral("/offer/cookie.html"));
        QVERIFY(outcome.completed);
        QVERIFY(outcome.result.note.isEmpty());
        QCOMPARE(outcome.result.addresses(MediaKind::Description).size(), 4);
    }

    void blockedAndLoginPagesStayForTheUser_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("staysOn");
        QTest::newRow("slider") << QStringLiteral("/offer/blocked.html") << QStringLiteral("/offer/blocked.html");
        QTest::newRow("login") << QStringLiteral("/offer/login.html") << QStringLiteral("/passport/member/signin.htm");
    }

    void blockedAndLoginPagesStayForTheUser()
    {
        QFETCH(QString, path);
        QFETCH(QString, staysOn);
        const Outcome outcome = pick(path);
        QVERIFY(!outcome.completed);
        QCOMPARE(outcome.message, BlockedPage::Message);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, BlockedPage::Message);
        QCOMPARE(window->tabs().browser(0)->LocationURL(), site(staysOn));
    }

    void aSlowPageIsWaitedForNotRefused()
    {
        QElapsedTimer timer;
        timer.start();
        const Outcome outcome = pick(QStringLiteral("/slow.html"));
        QVERIFY2(outcome.completed, qPrintable(outcome.message));
        QVERIFY(timer.elapsed() > 3000);
        QCOMPARE(outcome.result.addresses(MediaKind::Main), item.mainPics);
        QCOMPARE(outcome.result.addresses(MediaKind::Description), item.descPics);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void aPageThatNavigatesAwayIsRefused()
    {
        const Outcome outcome = pick(QStringLiteral("/away.html"));
        QVERIFY(!outcome.completed);
        QCOMPARE(outcome.message, Pick::NavigatedMessage);
    }

    void aGrowingPageEndsAtItsDeadline()
    {
        QElapsedTimer timer;
        timer.start();
        const Outcome outcome = pick(QStringLiteral("/growing.html"));
        QVERIFY(outcome.completed);
        QVERIFY(timer.elapsed() < 30000);
        QCOMPARE(outcome.result.note, Pick::DeadlineNote);
        QCOMPARE(outcome.result.addresses(MediaKind::Main), item.mainPics);
        QCOMPARE(outcome.result.addresses(MediaKind::Description), item.descPics);
        QVERIFY(window->tabs().mesg(0)->item(0)->text().endsWith(Pick::DeadlineNote));
    }
};

PICTORRA_TEST_MAIN(PickDesignsTest)
#include "tst_pick_designs.moc"
