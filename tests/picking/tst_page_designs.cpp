// Reading the data of today's product pages: the object-literal quirks of
// the inline data, picture addresses, the designs on our fixtures, and the
// interstitial check.
#include "picking/designs/BlockedPage.h"
#include "picking/designs/DescriptionFile.h"
#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PageDesigns.h"
#include "picking/designs/PictureAddress.h"
#include "support/ManySkuPage.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {
QString fixture(const QString &name)
{
    QFile file(QStringLiteral(PICTORRA_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).replace(QLatin1String("HOST"), QLatin1String("h"));
}

// The inline scripts of a fixture page, as the page read gives them.
PageFacts factsOf(const QString &page)
{
    PageFacts facts;
    facts.hasDocument = true;
    facts.readyState = QStringLiteral("complete");
    qsizetype at = 0;
    while ((at = page.indexOf(QLatin1String("<script>"), at)) >= 0) {
        const qsizetype end = page.indexOf(QLatin1String("</script>"), at);
        facts.scripts << page.mid(at + 8, end - at - 8);
        at = end;
    }
    return facts;
}
}

class PageDesignsTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void objectLiteralQuirksBecomeData()
    {
        const QString text = QStringLiteral(
            "x=f({\"a\":{1:\"one\",300:{'k':'it\\'s'}},\"t\":\"\\u65b0\\u6b3e\",\"b\":\"}{\\\"]\",\"h\":'\\x41\\/',"
            " /* note */ n: undefined, \"list\":[1,2,],});");
        const QStringView literal = ObjectLiteral::extract(text, 0);
        QVERIFY(literal.endsWith(u"}"));
        QVERIFY(literal.startsWith(u"{\"a\""));
        const std::optional<QJsonValue> value = ObjectLiteral::parse(literal);
        QVERIFY(value.has_value());
        const QJsonObject object = value->toObject();
        QCOMPARE(object[u"a"][u"1"].toString(), QStringLiteral("one"));
        QCOMPARE(object[u"a"][u"300"][u"k"].toString(), QStringLiteral("it's"));
        QCOMPARE(object[u"t"].toString(), QStringLiteral("新款"));
        QCOMPARE(object[u"b"].toString(), QStringLiteral("}{\"]"));
        QCOMPARE(object[u"h"].toString(), QStringLiteral("A/"));
        QVERIFY(object[u"n"].isNull());
        QCOMPARE(object[u"list"].toArray().size(), 2);

        // What does not close, or is no data, reads as nothing.
        QVERIFY(ObjectLiteral::extract(u"{\"a\":\"}", 0).isEmpty());
        QVERIFY(!ObjectLiteral::parse(u"{\"a\": function () { return 1; }}").has_value());
        QVERIFY(!ObjectLiteral::parse(u"{\"a\":\"open}").has_value());
    }

    void addressesEndAtTheirPictureExtension()
    {
        const QString base = QStringLiteral("https://cbu01.alicdn.com/img/ibank/O1CN01_!!22-0-cib");
        const QString full = base + QStringLiteral(".jpg");
        QCOMPARE(PictureAddress::fullSize(full + QStringLiteral("?__r__=1676294637239")), full);
        QCOMPARE(PictureAddress::fullSize(base + QStringLiteral(".310x310.jpg")), full);
        QCOMPARE(PictureAddress::fullSize(full + QStringLiteral("_b.jpg")), full);
        QCOMPARE(PictureAddress::fullSize(full + QStringLiteral("_.webp")), full);
        QCOMPARE(PictureAddress::fullSize(base + QStringLiteral("_sum.jpg")), full);
        QCOMPARE(PictureAddress::fullSize(full + QStringLiteral("?x-oss-process=image/resize,w_300")), full);
        QCOMPARE(PictureAddress::fullSize(QStringLiteral("//img.alicdn.com/a/b.PNG")), QStringLiteral("https://img.alicdn.com/a/b.PNG"));
        QCOMPARE(PictureAddress::fullSize(u"//img.alicdn.com/a/b.PNG"_s, PictureAddress::schemeOf(u"HTTP://shop/x"_s)),
                 u"http://img.alicdn.com/a/b.PNG"_s);
        QCOMPARE(PictureAddress::schemeOf(u"about:blank"_s), u"https"_s);
        QCOMPARE(PictureAddress::fullSize(QStringLiteral("https://x/noext")), QStringLiteral("https://x/noext"));
        QVERIFY(PictureAddress::fullSize(QStringLiteral("javascript:alert(1)//a.jpg")).isEmpty());
        QVERIFY(PictureAddress::fullSize(QStringLiteral("file:///etc/a.jpg")).isEmpty());
        QCOMPARE(PictureAddress::imageSources(QStringLiteral("<IMG alt=\"a\" SRC='http://h/a.jpg?x'><p><img src=http://h/b.png /><img data-src=\"http://h/c.jpg\">")),
                 (QStringList{QStringLiteral("http://h/a.jpg"), QStringLiteral("http://h/b.png")}));
    }

    void contextDataPageIsRead()
    {
        PageDesigns designs;
        const std::optional<DesignReading> reading = designs.read(factsOf(fixture(QStringLiteral("context-page.html"))), {});
        QVERIFY(reading.has_value());
        QVERIFY(!reading->scrollContainers);
        QCOMPARE(reading->media.addresses(MediaKind::Main), (QStringList{QStringLiteral("http://h/cbu01/img/ibank/m1.jpg"), QStringLiteral("http://h/cbu01/img/ibank/m2.jpg"),
                                                 QStringLiteral("http://h/cbu01/img/ibank/m3.jpg")}));
        QCOMPARE(reading->media.addresses(MediaKind::Sku), (QStringList{QStringLiteral("http://h/cbu01/img/ibank/s1.jpg"), QStringLiteral("http://h/cbu01/img/ibank/s2.jpg")}));
        QCOMPARE(reading->media.names(MediaKind::Sku).at(0), QStringLiteral("红色"));
        QCOMPARE(reading->media.names(MediaKind::Sku).at(1), QStringLiteral("<b>蓝</b>色<script>document.title='owned'</script>"));
        QCOMPARE(reading->detailUrl, QStringLiteral("http://h/itemcdn/1688offer/icoss1001"));
    }

    void initDataPageIsRead()
    {
        PageDesigns designs;
        const std::optional<DesignReading> reading = designs.read(factsOf(fixture(QStringLiteral("init-page.html"))), {});
        QVERIFY(reading.has_value());
        QCOMPARE(reading->media.addresses(MediaKind::Main), (QStringList{QStringLiteral("http://h/cbu01/img/ibank/w1.jpg"), QStringLiteral("http://h/cbu01/img/ibank/w2.jpg")}));
        QCOMPARE(reading->media.addresses(MediaKind::Sku), (QStringList{QStringLiteral("http://h/cbu01/img/ibank/k1.jpg"), QStringLiteral("http://h/cbu01/img/ibank/k2.jpg")}));
        QCOMPARE(reading->media.names(MediaKind::Sku), (QStringList{QStringLiteral("蓝色"), QStringLiteral("湖蓝色")}));
        QCOMPARE(reading->detailUrl, QStringLiteral("http://h/itemcdn/1688offer/icoss3003"));
        QVERIFY(!designs.read(factsOf(QStringLiteral("<script>window.context=1;</script>")), {}).has_value());
    }

    // Addresses without a scheme take the page's, in every design's data and
    // in the description file; a commented-out block is never the data, and
    // a comment inside the data (even right after its opening brace) does not end it.
    void pageDataIsReadAsTheBrowserWould()
    {
        const QString decoy = u"{\"result\":{\"data\":{\"gallery\":{\"fields\":{\"mainImage\":[\"//h/old.jpg\"]}}}}}"_s;
        PageFacts context;
        context.url = u"http://detail.example/offer/1.html"_s;
        context.scripts << u"/* window.context=(f)(x,"_s + decoy + u"); */\n// window.context=(f)(x,"_s + decoy
                + u");\nwindow.context=(function(b,d){return d})(window.contextPath,{ // it's the data\n\"result\":{\"data\":{ // it's the real one\n"
                  "\"gallery\":{\"fields\":{\"mainImage\":[\"//h/real.jpg\" /* it's */]}}}}});"_s;
        PageDesigns designs;
        std::optional<DesignReading> reading = designs.read(context, {});
        QVERIFY(reading.has_value());
        QCOMPARE(reading->media.addresses(MediaKind::Main), QStringList{u"http://h/real.jpg"_s});

        PageFacts init;
        init.url = u"http://m.example/page/index.html"_s;
        init.scripts << u"// window.__INIT_DATA={\"data\":{\"offerImgList\":[\"//h/old.jpg\"]}};\n"
                        "var s = \"window.__INIT_DATA={\\\"offerImgList\\\":[\\\"//h/quoted.jpg\\\"]}\";\n"
                        "window.__INIT_DATA = /* it's */ {\"data\":{\"offerImgList\":[\"//h/real.jpg\"], // it's\n"
                        "\"skuImages\":[{\"imgUrl\":\"//h/k.jpg\",\"name\":\"蓝\"}]}};"_s;
        reading = designs.read(init, {});
        QVERIFY(reading.has_value());
        QCOMPARE(reading->media.addresses(MediaKind::Main), QStringList{u"http://h/real.jpg"_s});
        QCOMPARE(reading->media.addresses(MediaKind::Sku), QStringList{u"http://h/k.jpg"_s});

        const QByteArray description = "var offer_details={\"content\":\"<img src=\\\"//h/d.jpg\\\">\"};";
        QCOMPARE(DescriptionFile::pictures(description, u"http"_s).value_or(QStringList()), QStringList{u"http://h/d.jpg"_s});
    }

    // 100,000 SKU entries, each with a picture of its own: the read grows with
    // the data (it once compared every picture with every earlier one).
    void manySkuEntriesAreReadInLinearTime()
    {
        PageFacts facts;
        facts.scripts << ManySkuScript(100000);
        QElapsedTimer timer;
        timer.start();
        const std::optional<DesignReading> reading = PageDesigns().read(facts, {});
        const qint64 ms = timer.elapsed();
        QVERIFY(reading.has_value());
        QCOMPARE(reading->media.addresses(MediaKind::Sku).size(), 100000);
        QCOMPARE(reading->media.addresses(MediaKind::Sku).last(), u"https://h/sku/99999.jpg"_s);
        QCOMPARE(reading->product.skus.size(), 100000);
        QVERIFY2(ms < 15000, qPrintable(u"%1 ms"_s.arg(ms)));
    }

    void descriptionFileGivesItsPicturesInOrder()
    {
        const std::optional<QStringList> pictures = DescriptionFile::pictures(fixture(QStringLiteral("context-description.js")).toUtf8());
        QCOMPARE(pictures.value_or(QStringList()),
                 (QStringList{QStringLiteral("http://h/cbu01/img/ibank/d1.jpg"), QStringLiteral("http://h/cbu01/img/ibank/d2.png"),
                              QStringLiteral("http://h/cbu01/img/ibank/d1.jpg"), QStringLiteral("http://h/cbu01/img/ibank/narrow.jpg")}));
        QVERIFY(!DescriptionFile::pictures("<html>not here</html>").has_value());
    }

    void interstitialsAndLoginPagesAreBlocked()
    {
        PageFacts product;
        product.url = QStringLiteral("https://detail.1688.com/offer/1.html");
        product.text = QStringLiteral("向右滑动查看更多") + QString(400, QLatin1Char('x'));
        QVERIFY(!BlockedPage::isBlocked(product));
        for (const QString &url : {QStringLiteral("https://login.1688.com/member/signin.htm"),
                                   QStringLiteral("https://passport.example/login"),
                                   QStringLiteral("https://detail.1688.com/offer/1.html/_____tmd_____/punish?x5secdata=a")}) {
            PageFacts facts = product;
            facts.url = url;
            QVERIFY2(BlockedPage::isBlocked(facts), qPrintable(url));
        }
        PageFacts slider = product;
        slider.title = QStringLiteral("security-X5");
        QVERIFY(BlockedPage::isBlocked(slider));
        PageFacts form = product;
        form.formActions = {QStringLiteral("/_____tmd_____/slide")};
        QVERIFY(BlockedPage::isBlocked(form));
        QVERIFY(BlockedPage::Message.contains(QStringLiteral("验证")));
    }
};

PICTORRA_TEST_MAIN(PageDesignsTest)
#include "tst_page_designs.moc"
