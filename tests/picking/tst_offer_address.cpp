#include "picking/OfferAddress.h"

#include "support/TestMain.h"

using namespace Qt::StringLiterals;

class TestOfferAddress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsLinks_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("expected"); // empty: not a product address
        const QString desktop = u"https://detail.1688.com/offer/647941709416.html"_s;
        QTest::newRow("desktop, tracking query") << u"https://detail.1688.com/offer/647941709416.html?spm=a.b&x=1"_s << desktop;
        QTest::newRow("mobile host, fragment") << u"http://m.1688.com/offer/647941709416.html#top"_s << desktop;
        QTest::newRow("mobile page form") << u"https://detail.m.1688.com/page/index.html?spm=x&offerId=647941709416"_s << desktop;
        QTest::newRow("a shop's own host") << u"https://shop1234.1688.com/offer/647941709416.html"_s << desktop;
        QTest::newRow("protocol-relative") << u"//detail.1688.com/offer/647941709416.html"_s << desktop;
        QTest::newRow("spaces around") << u"  https://DETAIL.1688.com/offer/647941709416.html \n"_s << desktop;
        QTest::newRow("relative to the page") << u"../offer/12.html?from=list"_s << u"http://127.0.0.1:8080/offer/12.html"_s;
        QTest::newRow("root-relative") << u"/offer/12.html"_s << u"http://127.0.0.1:8080/offer/12.html"_s;
        QTest::newRow("other host keeps its own, default port dropped")
            << u"HTTP://Shop.Test:80/offer/7.html?a=1"_s << u"http://shop.test/offer/7.html"_s;
        QTest::newRow("mobile form on another host") << u"/page/index.html?offerId=9"_s << u"http://127.0.0.1:8080/offer/9.html"_s;
        QTest::newRow("letters in the number") << u"https://detail.1688.com/offer/abc.html"_s << QString();
        QTest::newRow("offer deeper in the path") << u"offer/12.html"_s << QString();
        QTest::newRow("shop home") << u"https://shop1234.1688.com/"_s << QString();
        QTest::newRow("search") << u"https://s.1688.com/selloffer/offer_search.htm?keywords=cup"_s << QString();
        QTest::newRow("mobile page without a number") << u"/page/index.html?offerId=x1"_s << QString();
        QTest::newRow("javascript") << u"javascript:location='/offer/1.html'"_s << QString();
        QTest::newRow("other scheme") << u"ftp://shop.test/offer/1.html"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }

    void readsLinks()
    {
        QFETCH(QString, link);
        QFETCH(QString, expected);
        const OfferAddress offer = OfferAddress::fromLink(link, QUrl(u"http://127.0.0.1:8080/shop/list.html?page=2"_s));
        QCOMPARE(offer.address(), expected);
        QCOMPARE(offer.isValid(), !expected.isEmpty());
        if (offer.isValid())
            QVERIFY(expected.endsWith(u"/offer/"_s + offer.number() + u".html"_s));
        // The written form reads back as itself.
        if (offer.isValid())
            QCOMPARE(OfferAddress::fromLink(offer.address()).address(), expected);
    }
};

PICTORRA_TEST_MAIN(TestOfferAddress)
#include "tst_offer_address.moc"
