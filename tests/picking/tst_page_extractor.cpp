#include "picking/ClearList.h"
#include "picking/PageExtractor.h"

#include "support/TestMain.h"

using namespace Qt::StringLiterals;
using namespace PageExtractor;

Q_DECLARE_METATYPE(DocumentSnapshot)

namespace {

DocumentSnapshot documentWith(const QList<DivElement> &divs, const QString &title = QString())
{
    DocumentSnapshot document;
    document.hasDocument = true;
    document.hasBody = true;
    document.title = title;
    document.divs = divs;
    return document;
}

} // namespace

class TestPageExtractor : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checksBothContainers_data()
    {
        QTest::addColumn<DocumentSnapshot>("document");
        QTest::addColumn<bool>("expected");
        const DivElement main{u"mod-detail"_s, u"\"original\":\"http://h/1.jpg"_s};
        const DivElement desc{u"desc-lazyload-container"_s, u"http://h/d.jpg"_s};
        const DivElement other{u"header"_s, QString()};
        QTest::newRow("both") << documentWith({other, desc, main}) << true;
        QTest::newRow("main only") << documentWith({main, other}) << false;
        QTest::newRow("description only") << documentWith({desc}) << false;
        QTest::newRow("neither") << documentWith({other}) << false;
        QTest::newRow("id differs in case") << documentWith({{u"Mod-Detail"_s, QString()}, desc}) << false;
        QTest::newRow("no document") << DocumentSnapshot() << false;
    }

    void checksBothContainers()
    {
        QFETCH(DocumentSnapshot, document);
        QFETCH(bool, expected);
        PicLists lists;
        QCOMPARE(ExtractPics(document, 1, 3, true, lists), expected);
        QVERIFY(lists.MainPics(3).isEmpty() && lists.DescPics(3).isEmpty());
    }

    void readsGalleryEntries()
    {
        PicLists lists;
        MainPicsFromHtml(u"\"original\":\"https://host/x/1.jpg\",\"original\":\"https://host/x/2.png\","
                         "\"ORIGINAL\":\"HTTP://host/X.JPG?v=2\",\"original\":\"http://h/a.webp\",\"s\":"
                         "\"c.gif\"\n\"original\":\"http://h/b.htm\\\" src=\\\"http://h/p.jpg"_s,
                         1, 7, lists);
        QCOMPARE(lists.MainPics(7), (QStringList{u"https://host/x/1.jpg"_s, u"https://host/x/2.png"_s,
                                                 u"HTTP://host/X.JPG"_s,
                                                 u"http://h/a.webp\",\"s\":\"c.gif"_s,
                                                 u"http://h/b.htm"_s}));
    }

    void readsPlainAddressesInOtherModes()
    {
        PicLists lists;
        const QString html = u"<img src=\"http://h/1.jpg \"> \"original\":\"http://h/2.png"_s;
        MainPicsFromHtml(html, 0, 0, lists);
        MainPicsFromHtml(html, 2, 0, lists);
        const QStringList once{u"http://h/1.jpg"_s, u"http://h/2.png"_s};
        QCOMPARE(lists.MainPics(0), once + once);
    }

    void readsDescriptionPictures()
    {
        PicLists lists;
        DescPicsFromHtml(u"<a href=\"http://host/page.html\"><img src=\"http://host/d1.jpg\"></a>"
                         "<p>https://host/d2.png</p><img SRC=\"HTTPS://host/d1.jpg\">"
                         "<img src=\"http://host/d1.jpg\">\"http://host/x.htm\\\" src=\\\"http://host/p.jpg"_s,
                         5, lists);
        QCOMPARE(lists.DescPics(5), (QStringList{u"http://host/d1.jpg"_s, u"https://host/d2.png"_s,
                                                 u"HTTPS://host/d1.jpg"_s, u"http://host/d1.jpg"_s,
                                                 u"http://host/x.htm"_s}));
    }

    void extractsEveryContainerInOrderAndAppends()
    {
        const DocumentSnapshot document = documentWith({
            {u"mod-detail"_s, u"\"original\":\"http://h/m1.jpg"_s},
            {u"desc-lazyload-container"_s, u"<img src=\"http://h/d1.png\">"_s},
            {u"Mod-Detail"_s, u"\"original\":\"http://h/no.jpg"_s},
            {u"mod-detail"_s, u"\"original\":\"http://h/m2.gif"_s},
        });
        PicLists lists;
        QVERIFY(ExtractPics(document, 1, 300, false, lists));
        QVERIFY(ExtractPics(document, 1, 300, false, lists));
        const QStringList once{u"http://h/m1.jpg"_s, u"http://h/m2.gif"_s};
        QCOMPARE(lists.MainPics(300), once + once);
        QCOMPARE(lists.DescPics(300), (QStringList{u"http://h/d1.png"_s, u"http://h/d1.png"_s}));
        QVERIFY(lists.MainPics(1).isEmpty());

        QVERIFY(ExtractPics(DocumentSnapshot(), 1, 301, false, lists));
        QVERIFY(lists.MainPics(301).isEmpty() && lists.DescPics(301).isEmpty());
    }

    void listsStayPutAndEmpty()
    {
        PicLists lists;
        QStringList &first = lists.MainPics(0);
        first.append(u"http://h/a.jpg"_s);
        for (int b = 1; b < 2000; ++b)
            lists.DescPics(b).append(QString::number(b));
        first.append(u"http://h/b.jpg"_s);
        QCOMPARE(std::as_const(lists).MainPics(0).size(), 2);
        QCOMPARE(std::as_const(lists).DescPics(1999), QStringList{u"1999"_s});
        ClearList(first);
        QVERIFY(lists.MainPics(0).isEmpty());
    }

    void readsTitle()
    {
        QCOMPARE(GetPageTitle(documentWith({}, u"女装 - 商品"_s)), u"女装 - 商品"_s);
        QCOMPARE(GetPageTitle(documentWith({})), QString());
        DocumentSnapshot gone;
        gone.title = u"stale"_s;
        QCOMPARE(GetPageTitle(gone), QString());
    }
};

PICTORRA_TEST_MAIN(TestPageExtractor)
#include "tst_page_extractor.moc"
