// The product's data beside its pictures: read from a real page's inline
// data, the gallery video's address, hostile names kept as data, and the
// files written into the item folder.
#include "download/ProductFiles.h"
#include "download/VideoFormat.h"
#include "picking/designs/GalleryVideo.h"
#include "picking/designs/PageDesigns.h"
#include "picking/designs/ProductReading.h"
#include "support/TestMain.h"

#include <QJsonDocument>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

PageFacts factsOf(const QString &fixture, const QString &url)
{
    QFile file(QStringLiteral(PICTORRA_FIXTURES "/") + fixture);
    const QString page = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    PageFacts facts;
    facts.url = url;
    for (qsizetype at = page.indexOf(u"<script>"_s); at >= 0; at = page.indexOf(u"<script>"_s, at + 1))
        facts.scripts << page.sliced(at + 8, page.indexOf(u"</script>"_s, at) - at - 8);
    return facts;
}

QJsonValue json(const char *text)
{
    return QJsonDocument::fromJson(text).object();
}

} // namespace

class ProductDataTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Offer 1007511748868 as its page gave it: three tiers, nine attributes,
    // eleven SKUs whose names are "colour&gt;pack", and a gallery video.
    void realPageGivesItsProductData()
    {
        const QString url = u"https://detail.1688.com/offer/1007511748868.html"_s;
        const std::optional<DesignReading> reading = PageDesigns().read(factsOf(u"real-context-page.html"_s, url), {});
        QVERIFY(reading.has_value());
        QCOMPARE(reading->videoUrl, u"https://cloud.video.taobao.com/play/u/2221089585610/p/2/e/6/t/1/547417934541.mp4"_s);
        const QJsonObject product = reading->product.toJson();
        QCOMPARE(product[u"url"].toString(), url);
        QCOMPARE(product[u"offerId"].toInteger(), 1007511748868);
        QCOMPARE(product[u"title"].toString(), u"新款墙面装饰花朵纸扇花生日派对橱窗背景墙装饰悬挂纸扇装饰"_s);
        QCOMPARE(product[u"seller"].toString(), u"义乌市盛典工艺品厂（个体工商户）"_s);
        QCOMPARE(product[u"unit"].toString(), u"件"_s);
        QCOMPARE(product[u"minOrder"].toInt(), 3);
        QCOMPARE(product[u"priceDisplayType"].toString(), u"rangePrice"_s);
        QCOMPARE(QJsonDocument(product[u"prices"].toArray()).toJson(QJsonDocument::Compact),
                 QByteArray("[{\"beginAmount\":3,\"price\":\"9.50\"},{\"beginAmount\":300,\"price\":\"8.50\"},{\"beginAmount\":1000,\"price\":\"7.80\"}]"));
        const QJsonArray attributes = product[u"attributes"].toArray();
        QCOMPARE(attributes.size(), 9);
        QCOMPARE(attributes.first()[u"name"].toString() + attributes.first()[u"value"].toString(), u"材质纸"_s);
        const QList<ProductSku> &skus = reading->product.skus;
        QCOMPARE(skus.size(), 11);
        QCOMPARE(skus.first().names, (QStringList{u"粉色+橙色+玫红花朵扇"_s, u"9个装"_s}));
        QCOMPARE(skus.first().stock.toInteger(), 10000);
        QCOMPARE(skus.last().names.first(), u"彩色花朵扇"_s);
        QVERIFY(skus.first().price.isUndefined());
        // Each SKU points at the saved picture of its colour, numbered as the SKU picture group is.
        for (const ProductSku &sku : skus) {
            const qsizetype number = sku.picture.mid(4).section(u'.', 0, 0).toInt();
            QVERIFY2(sku.picture.startsWith(u"SKU图"_s) && sku.picture.endsWith(u".jpg"_s) && number >= 1
                         && number <= reading->media.addresses(MediaKind::Sku).size(),
                     qPrintable(sku.picture));
        }
        QVERIFY(skus.at(0).picture != skus.at(1).picture);
    }

    // Only an http(s) address is a video; design by design, as each gives it.
    void galleryVideoAddresses()
    {
        const char *context = "{\"result\":{\"data\":{\"gallery\":{\"fields\":{\"video\":{\"videoId\":%1,\"videoUrl\":\"%2\"}}}}}}";
        auto video = [context](const char *id, const char *address) {
            return GalleryVideo::fromContext(json(QByteArray(context).replace("%1", id).replace("%2", address)), u"https"_s);
        };
        QCOMPARE(video("5", "//v.example/a.mp4"), u"https://v.example/a.mp4"_s);
        QVERIFY(video("0", "https://v.example/a.mp4").isEmpty());
        QVERIFY(video("5", "").isEmpty());
        QVERIFY(video("5", "javascript:alert(1)//a.mp4").isEmpty());
        QVERIFY(video("5", "file:///etc/passwd").isEmpty());
        QVERIFY(video("5", "data:video/mp4;base64,AAAA").isEmpty());
        QVERIFY(GalleryVideo::fromInitData(json("{\"data\":{\"videoId\":376602972885}}"), u"https"_s).isEmpty());
        QCOMPARE(GalleryVideo::fromInitData(json("{\"a\":{\"videoUrl\":\"file:///x\"},\"b\":{\"videoUrl\":\"http://v/b.mp4\"}}"), u"https"_s),
                 u"http://v/b.mp4"_s);
        DocumentSnapshot old;
        old.divs << DivElement{u"x"_s, u"<div data-mod-config='{\"videoUrl\":\"http://v/o.mp4?a=1&amp;b=2\"}'>"_s};
        QCOMPARE(GalleryVideo::fromMarkup(old, u"https"_s), u"http://v/o.mp4?a=1&b=2"_s);

        QVERIFY(IsVideoFormat(QByteArray("\0\0\0\x20" "ftypisom", 12)));
        QVERIFY(!IsVideoFormat("<html>ftyp</html>") && !IsVideoFormat("\xFF\xD8\xFF\xE0"));
    }

    // Names and values are data whatever they hold; entities are decoded once.
    void hostileDataStaysData()
    {
        const QString longName(5000, u'长');
        const QByteArray data = "{\"offerTitle\":\"<b>t</b>\",\"skuInfoMap\":{"
                                "\"k1\":{\"specAttrs\":\"=cmd|' /C calc'!A0&gt;&amp;gt;\",\"price\":\"1.00\",\"discountPrice\":\"0.90\",\"canBookCount\":5},"
                                "\"\\u202Eevil\\u0007\":{\"canBookCount\":1},"
                                "\"LONG\":{\"specAttrs\":\"LONG\",\"price\":-2},"
                                "\"c\":{\"specAttrs\":\"红\\u0000\\u001b[2J\\u0007\\u0085色&gt;\\u009bL\",\"price\":\"9\\u001b.5\"}},"
                                "\"priceModel\":{\"currentPrices\":[{\"price\":\"1\\u0007.0\"}]},"
                                "\"propsList\":[{\"name\":\"<script>x</script>\",\"value\":\"a,b\"}]}";
        const QByteArray text = QByteArray(data).replace("LONG", longName.toUtf8());
        const ProductData product = ProductReading::fromInlineData(QJsonDocument::fromJson(text).object(), text, u"u"_s);
        QCOMPARE(product.title, u"<b>t</b>"_s);
        QCOMPARE(product.attributes.first().name, u"<script>x</script>"_s);
        QCOMPARE(product.skus.size(), 4);
        QCOMPARE(product.skus.at(0).names, (QStringList{u"=cmd|' /C calc'!A0"_s, u"&gt;"_s}));
        QCOMPARE(product.skus.at(0).price.toString(), u"0.90"_s);
        QCOMPARE(product.skus.at(1).names, QStringList{u"\u202Eevil\u0007"_s});
        QCOMPARE(product.skus.at(2).names.first().size(), 5000);
        QCOMPARE(product.toJson()[u"prices"][0][u"price"].toString(), u"1.0"_s);

        QTemporaryDir dir;
        QVERIFY(ProductFiles::write(dir.path(), product));
        QFile csv(dir.filePath(ProductFiles::SkuFile));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray bytes = csv.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.sliced(3)).split(u"\r\n"_s);
        QCOMPARE(lines.first(), u"规格,价格,库存,图片"_s);
        QCOMPARE(lines.at(1), u"'=cmd|' /C calc'!A0 / &gt;,0.90,5,"_s);
        QCOMPARE(lines.at(3).section(u',', 1, 1), u"'-2"_s);
        // The controls the result page drops stay out of both files too.
        QCOMPARE(lines.at(4), u"红[2J色 / L,9.5,,"_s);
        QFile info(dir.filePath(ProductFiles::InfoFile));
        QVERIFY(info.open(QIODevice::ReadOnly));
        const QJsonObject saved = QJsonDocument::fromJson(info.readAll()).object();
        QCOMPARE(saved, product.toJson());
        const QJsonObject last = saved[u"skus"].toArray().last().toObject();
        QCOMPARE(last[u"names"].toArray(), (QJsonArray{u"红[2J色"_s, u"L"_s}));
        QCOMPARE(last[u"price"].toString(), u"9.5"_s);
        QCOMPARE(saved[u"skus"].toArray().at(1)[u"names"].toArray(), QJsonArray{u"\u202Eevil"_s});
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);

        // No SKUs, no table; no folder, nothing written anywhere.
        QTemporaryDir plain;
        QVERIFY(ProductFiles::write(plain.path(), ProductData{}));
        QCOMPARE(QDir(plain.path()).entryList(QDir::Files), QStringList{ProductFiles::InfoFile});
        QString error;
        QVERIFY(!ProductFiles::write(plain.filePath(u"gone"_s), product, &error) && !error.isEmpty());
    }

    // As the page's script reads its data: a SKU named twice (under one key
    // or two) has its last value, in the place of its first.
    void aSkuNamedTwiceKeepsItsLastValue()
    {
        const QByteArray text = "{\"skuInfoMap\":{\"红&gt;L\":{\"price\":\"1\",\"canBookCount\":1},\"蓝\":{\"price\":\"5\"},"
                                "\"9\":{\"specAttrs\":\"红&gt;L\",\"price\":\"2\",\"canBookCount\":7},"
                                "\"蓝\":{\"price\":\"6\"}}}";
        const ProductData product = ProductReading::fromInlineData(QJsonDocument::fromJson(text).object(), text, u"u"_s);
        QCOMPARE(product.skus.size(), 2);
        QCOMPARE(product.skus.at(0).names, (QStringList{u"红"_s, u"L"_s}));
        QCOMPARE(product.skus.at(0).price.toString() + product.skus.at(0).stock.toVariant().toString(), u"27"_s);
        QCOMPARE(product.skus.at(1).price.toString(), u"6"_s);
    }

    // Offer 41537815714: priced by SKU, "≥100个 ¥0.09 - 1.30" is one range, not two tiers.
    void aPriceBySkuIsOneRange()
    {
        const QByteArray text = "{\"priceModel\":{\"currentPrices\":[{\"price\":\"1.30\",\"beginAmount\":100},"
                                "{\"price\":\"0.09\",\"beginAmount\":100}],\"priceDisplayType\":\"skuPrice\"}}";
        const QJsonObject saved = ProductReading::fromInlineData(QJsonDocument::fromJson(text).object(), text, u"u"_s).toJson();
        QVERIFY(!saved.contains(u"prices"_s));
        QCOMPARE(QJsonDocument(saved[u"priceRange"].toObject()).toJson(QJsonDocument::Compact),
                 QByteArray("{\"beginAmount\":100,\"high\":\"1.30\",\"low\":\"0.09\"}"));
        QCOMPARE(saved[u"minOrder"].toInt(), 100);
    }

    void oldPageGivesItsAttributeTable()
    {
        DocumentSnapshot snapshot;
        snapshot.title = u"运动手表_vibe3 - 阿里巴巴"_s;
        snapshot.divs << DivElement{u"mod-detail-attributes"_s,
                                    u"<table><tr><td class=\"de-feature\">建议零售价</td>\n<td class=\"de-value\">&yen;399.00</td>"
                                    "<td class=\"de-feature\">适用人群</td><td class=\"de-value\"><b>商务</b>,成人</td></tr>"
                                    "<tr><td class=\"de-feature\">操作方式</td></table>"_s};
        const ProductData product = ProductReading::fromOldPage(snapshot, u"u"_s);
        QCOMPARE(product.title, u"运动手表_vibe3"_s);
        QCOMPARE(product.attributes.size(), 2);
        QCOMPARE(product.attributes.at(0).value, u"¥399.00"_s);
        QCOMPARE(product.attributes.at(1).name + product.attributes.at(1).value, u"适用人群商务,成人"_s);
    }
};

PICTORRA_TEST_MAIN(ProductDataTest)
#include "tst_product_data.moc"
