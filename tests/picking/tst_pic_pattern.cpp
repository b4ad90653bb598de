#include "picking/PicPattern.h"
#include "picking/PicPatterns.h"
#include "picking/PicScanner.h"
#include "picking/Re2Syntax.h"

#include "support/TestMain.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace {

QLatin1String patternNamed(const QString &name)
{
    return name == u"main" ? MainPattern : name == u"src" ? SrcPattern : PlainPattern;
}

// A page text made of the pieces the patterns care about, in random order.
QString randomText(QRandomGenerator &random)
{
    static const QStringList pieces = {
        u"http://"_s, u"https://"_s, u"HtTpS://"_s, u"http:/"_s, u"\"original\":\""_s,
        u"\"ORIGINAL\":\""_s, u"src=\""_s, u"SRC=\""_s, u".jpg"_s, u".JPG"_s, u".pNg"_s,
        u".gif"_s, u".bmp"_s, u".jpeg"_s, u"\\"_s, u"\n"_s, u"\r"_s, u"\u2028"_s, u"\u2029"_s,
        u"ſ"_s, u"\u212A"_s, u"图片"_s, u"a"_s, u" "_s, u"\""_s, u"."_s, u"/"_s, u"\U0001F600"_s,
        QString(QChar(0xD800)), QString(QChar(0xDC01)), u"?"_s};
    QString text;
    const int count = random.bounded(40);
    for (int i = 0; i < count; ++i)
        text += pieces.at(random.bounded(pieces.size()));
    return text;
}

} // namespace

class TestPicPattern : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matchesAsPageScripts_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        const QString lone = QString(QChar(0xD800));
        QTest::newRow("shortest run") << u"plain"_s << u"x http://a/1.jpg.png?v=2 y"_s
                                      << QStringList{u"http://a/1.jpg"_s};
        QTest::newRow("empty run") << u"plain"_s << u"http://.gif"_s << QStringList{u"http://.gif"_s};
        QTest::newRow("leftmost start runs on") << u"plain"_s << u"http://a/p.html http://b/c.jpeg x.PNG"_s
                                                << QStringList{u"http://a/p.html http://b/c.jpeg x.PNG"_s};
        QTest::newRow("second head alternative") << u"plain"_s << u"HTTPS://A/B.Jpg"_s
                                                 << QStringList{u"HTTPS://A/B.Jpg"_s};
        QTest::newRow("no slashes") << u"plain"_s << u"http:/a.jpg https:a.png"_s << QStringList{};
        QTest::newRow("\\n stops") << u"plain"_s << u"http://a\n.jpg http://b.bmp"_s
                                   << QStringList{u"http://b.bmp"_s};
        QTest::newRow("\\r stops") << u"plain"_s << u"http://a\r.jpg"_s << QStringList{};
        QTest::newRow("U+2028 stops") << u"plain"_s << u"http://a\u2028.jpg"_s << QStringList{};
        QTest::newRow("U+2029 stops") << u"plain"_s << u"http://a\u2029.jpg"_s << QStringList{};
        QTest::newRow("long s is not s") << u"plain"_s << u"httpſ://a.jpg"_s << QStringList{};
        QTest::newRow("long s in src") << u"src"_s << u"ſrc=\"http://a.jpg"_s << QStringList{};
        QTest::newRow("wide text around") << u"plain"_s << u"图http://例/图\U0001F600.png图http://b.GIF"_s
                                          << QStringList{u"http://例/图\U0001F600.png"_s, u"http://b.GIF"_s};
        QTest::newRow("lone surrogate kept") << u"plain"_s << u"图http://a/"_s + lone + u".jpg"_s
                                             << QStringList{u"http://a/"_s + lone + u".jpg"_s};
        QTest::newRow("gallery key") << u"main"_s << u"{\"original\":\"https://h/1.jpg\",\"x\":\"http://h/2.png\"}"_s
                                     << QStringList{u"\"original\":\"https://h/1.jpg"_s};
    }

    void matchesAsPageScripts()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        const PicPattern onRe2(patternNamed(pattern));
        QVERIFY(onRe2.runsOnRe2());
        QCOMPARE(onRe2.matches(text), expected);
        QCOMPARE(PicScanner(patternNamed(pattern)).matches(text), expected);
    }

    void bothEnginesAgree()
    {
        QRandomGenerator random(20240601);
        for (const QString &name : {u"main"_s, u"plain"_s, u"src"_s}) {
            const PicPattern onRe2(patternNamed(name));
            const PicScanner scanner(patternNamed(name));
            for (int i = 0; i < 3000; ++i) {
                const QString text = randomText(random);
                QCOMPARE(onRe2.matches(text), scanner.matches(text));
                QCOMPARE(onRe2.firstMatch(text).value_or(QString()),
                         scanner.matches(text, 1).value(0));
            }
        }
    }

    void unsupportedSyntaxIsRefused()
    {
        for (const char *pattern : {"[a-z]+", "a\\d", "(?i)a", "^a", "a{2}", "a\\?", "\\"})
            QVERIFY2(!Re2FromEcmaScript(QLatin1String(pattern)), pattern);
        QVERIFY(!PicScanner(QLatin1String("a.*?b")).isValid());
    }

    void hugeSingleLine()
    {
        // Twelve megabytes on one line: where a backtracking engine gives up.
        const QString chunk = u"<a href=\"http://h/p.html\">商品</a><img src=\"http://h/i.jpg\">"_s;
        const qsizetype count = 12 * 1024 * 1024 / chunk.size() + 1;
        const QString text = chunk.repeated(count) + u"https://h/last.png"_s;
        const QStringList found = PicPattern(PlainPattern).matches(text);
        QCOMPARE(found.size(), count + 1);
        QCOMPARE(found.first(), u"http://h/p.html\">商品</a><img src=\"http://h/i.jpg"_s);
        QCOMPARE(found.last(), u"https://h/last.png"_s);
    }

    void starvedEnginesStillFindEverything()
    {
        QString text;
        for (int i = 0; i < 5000; ++i)
            text += u"<p>图 http://h/p%1.html <img src=\"https://h/%1.gif\">\n"_s.arg(i);
        const QStringList expected = PicPattern(PlainPattern).matches(text);
        QCOMPARE(expected.size(), 5000);

        // Too little memory for RE2's fast automaton: it finishes with its slow one.
        const PicPattern starved(PlainPattern, 4000);
        QVERIFY(starved.runsOnRe2());
        QCOMPARE(starved.matches(text), expected);

        // Too little to compile at all: the scanner takes over.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"RE2 refused"_s));
        const PicPattern refused(PlainPattern, 100);
        QVERIFY(!refused.runsOnRe2());
        QVERIFY(refused.isValid());
        QCOMPARE(refused.matches(text), expected);
    }
};

PICTORRA_TEST_MAIN(TestPicPattern)
#include "tst_pic_pattern.moc"
