#include "WrittenPageDocument.h"

#include "picking/PageExtractor.h"
#include "picking/ResultPage.h"
#include "picking/ResultPageStyle.h"

#include "support/TestMain.h"

using namespace Qt::StringLiterals;

namespace {

const QString Head = u"<html><head><title>Pick:T</title></head><body>"_s;
const QString End = ResultPageStyle::piece() + u"</body></html>"_s;

QString mainIntro(int count)
{
    return u"<font fontsize=9>宝贝标题:T</font><p><a href=\"U\" target=\"_blank\">"
           "<font fontsize=9>宝贝网址:U</font></a><p><div id=\"mod-detail\">"
           "<font fontsize=8>主图缩略图(%1):</font><p>"_s.arg(count);
}

QString descIntro(int count)
{
    return u"<p><div id=\"desc-lazyload-container\"><font fontsize=8>描述缩略图(%1):</font><p>"_s.arg(count);
}

QString mainImage(const QString &address)
{
    return u"<img width=310 height=310 src=\""_s + address + u" \">&nbsp;</img>"_s;
}

QString descImage(const QString &address)
{
    return u"<img width=750  src=\""_s + address + u" \">&nbsp;</img>"_s;
}

QString written(const QStringList &mainPics, const QStringList &descPics)
{
    return ResultPage::pieces(u"T"_s, u"U"_s, mainPics, descPics).join(QString());
}

} // namespace

class TestResultPage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesBothSections()
    {
        const QString expected = Head + mainIntro(4) + mainImage(u"M1"_s) + mainImage(u"M2"_s)
            + mainImage(u"M3"_s) + u"<p>"_s + mainImage(u"M4"_s) + u"</div>"_s + descIntro(1)
            + descImage(u"D1"_s) + u"</div>"_s + End;
        QCOMPARE(written({u"M1"_s, u"M2"_s, u"M3"_s, u"M4"_s}, {u"D1"_s}), expected);
        QCOMPARE(expected,
                 u"<html><head><title>Pick:T</title></head><body><font fontsize=9>宝贝标题:T</font><p>"
                 "<a href=\"U\" target=\"_blank\"><font fontsize=9>宝贝网址:U</font></a><p>"
                 "<div id=\"mod-detail\"><font fontsize=8>主图缩略图(4):</font><p>"
                 "<img width=310 height=310 src=\"M1 \">&nbsp;</img><img width=310 height=310 src=\"M2 \">"
                 "&nbsp;</img><img width=310 height=310 src=\"M3 \">&nbsp;</img><p>"
                 "<img width=310 height=310 src=\"M4 \">&nbsp;</img></div><p>"
                 "<div id=\"desc-lazyload-container\"><font fontsize=8>描述缩略图(1):</font><p>"
                 "<img width=750  src=\"D1 \">&nbsp;</img></div>"_s + End);
    }

    void paragraphAfterEveryThirdPicture()
    {
        const QStringList pieces = ResultPage::pieces(u"T"_s, u"U"_s, {u"M1"_s, u"M2"_s, u"M3"_s},
                                                      {u"D1"_s, u"D2"_s, u"D3"_s, u"D4"_s, u"D5"_s, u"D6"_s});
        const qsizetype third = pieces.indexOf(mainImage(u"M3"_s));
        QCOMPARE(pieces.mid(third, 3), (QStringList{mainImage(u"M3"_s), u"<p>"_s, u"</div>"_s}));
        QCOMPARE(pieces.mid(pieces.size() - 4),
                 (QStringList{descImage(u"D6"_s), u"<p>"_s, u"</div>"_s, End}));
        QCOMPARE(pieces.count(u"<p>"_s), 3 + 3 + 2);
    }

    void leavesOutEmptySections()
    {
        QCOMPARE(written({}, {u"D1"_s, u"D2"_s}),
                 Head + descIntro(2) + descImage(u"D1"_s) + descImage(u"D2"_s) + u"</div>"_s + End);
        QCOMPARE(written({u"M1"_s}, {}), Head + mainIntro(1) + mainImage(u"M1"_s) + u"</div>"_s + End);
        QCOMPARE(written({}, {}), Head + End);
    }

    void escapesForeignText()
    {
        const QStringList pieces = ResultPage::pieces(u"A&B\"<i>'"_s, u"http://h/?a=1&b=\"2\""_s,
                                                      {u"http://h/<x>.jpg"_s}, {});
        QCOMPARE(pieces.at(0), u"<html><head><title>Pick:A&amp;B&quot;&lt;i&gt;'</title></head><body>"_s);
        QCOMPARE(pieces.at(3), u"<a href=\"http://h/?a=1&amp;b=&quot;2&quot;\" target=\"_blank\">"
                               "<font fontsize=9>宝贝网址:http://h/?a=1&amp;b=&quot;2&quot;</font></a>"_s);
        QVERIFY(pieces.contains(mainImage(u"http://h/&lt;x&gt;.jpg"_s)));
    }

    void readsBackWhatWasWritten_data()
    {
        QTest::addColumn<QStringList>("mainPics");
        QTest::addColumn<QStringList>("descPics");
        QTest::newRow("plain") << QStringList{u"https://h/1.jpg"_s, u"http://h/2.PNG"_s, u"https://h/1.jpg"_s,
                                              u"https://h/图/4.gif"_s, u"http://h/a.webp?x.bmp"_s}
                               << QStringList{u"http://h/d1.jpg"_s, u"https://h/d2.png"_s};
        QTest::newRow("hostile") << QStringList{u"https://h/x\"><script>alert(1)</script>.jpg"_s,
                                                u"https://h/a&amp;b&quot;</div><div id=\"desc-lazyload-container\">.png"_s}
                                 << QStringList{u"http://h/'onerror='alert(1)'.gif"_s,
                                                u"http://h/d&lt;>.jpg"_s};
        QTest::newRow("description only") << QStringList{} << QStringList{u"http://h/d.jpg"_s};
    }

    void readsBackWhatWasWritten()
    {
        QFETCH(QStringList, mainPics);
        QFETCH(QStringList, descPics);
        const QString title = u"女装<b>&\"连衣裙\""_s;
        const DocumentSnapshot page = WrittenPageDocument(
            ResultPage::pieces(title, u"https://detail/x?id=1&b=2"_s, mainPics, descPics));
        QCOMPARE(PageExtractor::GetPageTitle(page), u"Pick:"_s + title);
        PicLists lists;
        QVERIFY(PageExtractor::ExtractPics(page, 0, 9, false, lists));
        QCOMPARE(lists.MainPics(9), mainPics);
        QCOMPARE(lists.DescPics(9), descPics);
    }
};

PICTORRA_TEST_MAIN(TestResultPage)
#include "tst_result_page.moc"
