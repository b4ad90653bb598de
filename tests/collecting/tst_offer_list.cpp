#include "collecting/OfferList.h"

#include "support/TestMain.h"

using namespace Qt::StringLiterals;

class TestOfferList : public QObject
{
    Q_OBJECT

    static QStringList links(int from, int count)
    {
        QStringList out;
        for (int n = from; n < from + count; ++n)
            out << u"/offer/%1.html"_s.arg(n);
        return out;
    }

private Q_SLOTS:
    // An offer counts once whatever its host; the first host seen names it.
    void eachOfferOnce()
    {
        OfferList list;
        const QUrl page(u"http://shop.test/list.html"_s);
        QCOMPARE(list.addPage({u"/offer/1.html"_s, u"https://other.test/offer/1.html"_s, u"/about.html"_s, u"/offer/2.html#a"_s}, page), 2);
        QCOMPARE(list.addPage({u"/offer/2.html?x=1"_s, u"/offer/3.html"_s}, page), 1);
        QCOMPARE(list.addresses(), (QStringList{u"http://shop.test/offer/1.html"_s, u"http://shop.test/offer/2.html"_s,
                                                u"http://shop.test/offer/3.html"_s}));
    }

    // A page lists at most 10,000 offers, and a collection holds at most 100,000.
    void bounded()
    {
        OfferList list;
        const QUrl page(u"http://shop.test/list.html"_s);
        QCOMPARE(list.addPage(links(1, OfferList::MaxPerPage + 500), page), OfferList::MaxPerPage);
        for (int p = 1; p < 11; ++p)
            list.addPage(links(p * 20000, OfferList::MaxPerPage), page);
        QCOMPARE(list.size(), OfferList::MaxTotal);
        QVERIFY(list.full());
        QCOMPARE(list.addPage(links(900000, 5), page), 0);
    }
};

PICTORRA_TEST_MAIN(TestOfferList)
#include "tst_offer_list.moc"
