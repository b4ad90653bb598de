// The product section of the result page: page text stays text, big tables
// stay small on screen, and only an http(s) address becomes a video.
#include "picking/ProductSection.h"
#include "picking/ProductTable.h"

#include "support/TestMain.h"

using namespace Qt::StringLiterals;

namespace {

QString written(const ProductData &product, const QString &video = {})
{
    return ProductSection::pieces(product, video).join(QString());
}

ProductSku sku(const QStringList &names, int stock)
{
    ProductSku entry;
    entry.names = names;
    entry.stock = stock;
    return entry;
}

} // namespace

class ProductSectionTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hostileNamesStayText()
    {
        const QString rlo = QString(QChar(0x202E));
        ProductData product;
        product.attributes = {{u"</table><script>x()</script>"_s, u"a\"b&c"_s + rlo + u"fed"_s}};
        product.skus = {sku({u"红\u0001色"_s + rlo, u"<b>大</b>"_s, QString(5000, u'长')}, 1)};
        const QString html = written(product);
        QVERIFY(!html.contains(u"<script"_s) && !html.contains(u"<b>"_s));
        QCOMPARE(html.count(u"<table"_s), 2);
        QCOMPARE(html.count(u"</table>"_s), 2);
        QVERIFY(html.contains(u"&lt;/table&gt;&lt;script&gt;"_s));
        QVERIFY(html.contains(u"a&quot;b&amp;c"_s));
        // Each name in its own isolate, so a bidi control cannot reach the next.
        QVERIFY(html.contains(u"<td><bdi>红色"_s + rlo + u"</bdi> / <bdi>&lt;b&gt;大&lt;/b&gt;</bdi> / <bdi>"_s));
        for (const QChar c : html)
            QVERIFY(c.unicode() >= 0x20 && (c.unicode() < 0x7f || c.unicode() > 0x9f));
        QVERIFY(html.size() < 2000);
        QCOMPARE(ProductTable::cellText(QString(300, u'x')), u"<bdi>"_s + QString(200, u'x') + u"…</bdi>"_s);
    }

    void bigTablesAreCutShortAndSayBy()
    {
        ProductData product;
        for (int i = 0; i < 10000; ++i)
            product.skus << sku({u"颜色"_s + QString::number(i), u"尺码"_s}, i);
        const QString html = written(product);
        QVERIFY(html.contains(u"商品SKU(10000):"_s));
        QCOMPARE(html.count(u"<tr>"_s), ProductTable::MaxRows + 1);
        QVERIFY(html.contains(u"还有9700条未显示"_s));
        QVERIFY(html.contains(u"颜色299"_s) && !html.contains(u"颜色300<"_s));
        QVERIFY(html.size() < 60000);
    }

    void onlyWebAddressesBecomeAVideo()
    {
        const ProductData none;
        QVERIFY(ProductSection::pieces(none, {}).isEmpty());
        for (const QString &address : {u"javascript:alert(1)//x.mp4"_s, u"file:///etc/passwd"_s,
                                       u"data:video/mp4;base64,AAAA"_s, u"JavaScript://x.mp4"_s,
                                       u"https://"_s + QString(5000, u'a') + u".mp4"_s})
            QVERIFY2(written(none, address).isEmpty(), qPrintable(address.left(40)));
        QVERIFY(!written(none, u"https://v.example/a.mp4?x=\"><script>"_s).contains(u"<script"_s));
        const QString html = written(none, u"https://v.example/a.mp4?a=1&b=2"_s);
        // Its first frame shows; a note waits for a video the engine cannot play.
        QVERIFY(html.contains(u"<video preload=\"metadata\" controls src=\"https://v.example/a.mp4?a=1&amp;b=2\"></video>"
                              u"<div class=\"video-unplayable\" hidden>"_s));
        QVERIFY(!html.contains(u"autoplay"_s));
    }

    // Quantity tiers are listed; a price that depends on the SKU is one range.
    // SKUs without a price of their own show the item's, marked as such.
    void pricesAsTiersOrRange()
    {
        ProductData product;
        product.unit = u"件"_s;
        product.priceDisplayType = u"rangePrice"_s;
        product.prices = QJsonArray{QJsonObject{{u"price"_s, u"9.50"_s}, {u"beginAmount"_s, 3}},
                                    QJsonObject{{u"price"_s, u"8.50"_s}, {u"beginAmount"_s, 300}}};
        QVERIFY(written(product).contains(u"价格(2):"_s));
        QVERIFY(written(product).contains(u"<td><bdi>≥3件</bdi></td><td><bdi>¥9.50</bdi></td></tr>"
                                          u"<tr><td><bdi>≥300件</bdi></td><td><bdi>¥8.50</bdi></td>"_s));
        product.skus = {ProductSku{{u"红"_s}, {}, 5, {}}, ProductSku{{u"蓝"_s}, u"9.00"_s, 5, {}}};
        QVERIFY(written(product).contains(u"<td><bdi>红</bdi></td><td><bdi>¥8.50 - 9.50（商品价）</bdi></td>"_s));
        QVERIFY(written(product).contains(u"<td><bdi>蓝</bdi></td><td><bdi>¥9.00</bdi></td>"_s));
        product.priceDisplayType = u"skuPrice"_s;
        product.prices = {};
        product.priceRange = QJsonObject{{u"low"_s, u"0.09"_s}, {u"high"_s, u"1.30"_s}, {u"beginAmount"_s, 50}};
        QVERIFY(written(product).contains(u"价格(1):"_s));
        QVERIFY(written(product).contains(u"<td><bdi>≥50件</bdi></td><td><bdi>¥0.09 - 1.30</bdi></td>"_s));
        QVERIFY(written(product).contains(u"<td><bdi>红</bdi></td><td><bdi>¥0.09 - 1.30（商品价）</bdi></td>"_s));
    }
};

PICTORRA_TEST_MAIN(ProductSectionTest)
#include "tst_product_section.moc"
