#include "picking/CleanName.h"

#include "support/TestMain.h"

class TestCleanName : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleans_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("every removed text") << QStringLiteral("a/b\\c:d|e*f?g<h>i-j k...lPickm\"n")
                                            << QStringLiteral("abcdefghijklmn");
        QTest::newRow("case-sensitive") << QStringLiteral("pick") << QStringLiteral("pick");
        QTest::newRow("one run of three stops") << QStringLiteral("....") << QStringLiteral(".");
        QTest::newRow("Pick formed by an earlier step") << QStringLiteral("P-ick") << QString();
        QTest::newRow("stops formed by removing spaces") << QStringLiteral(". . .") << QString();
        QTest::newRow("Pick formed by the last step") << QStringLiteral("Pi\"ck")
                                                      << QStringLiteral("Pick");
        QTest::newRow("only removed characters") << QStringLiteral("/:* ?\"") << QString();
        QTest::newRow("full-width punctuation stays")
            << QStringLiteral("女装：连衣裙／新款　2024夏") << QStringLiteral("女装：连衣裙／新款　2024夏");
        // What a page script can put in document.title: a NUL that would cut the
        // folder name, terminal escapes, and text that reorders the line.
        QTest::newRow("controls and bidi overrides go")
            << QStringLiteral("nul") + QChar(0) + QString::fromUtf16(u"a\tb\nc\rd\x1b[31me\x7f" "f\u0085g\u202eh\u2066i\u2069j")
            << QStringLiteral("nulabcd[31mefghij");
        QTest::newRow("a Pick formed by removing a control stays") << QStringLiteral("Pi\tck") << QStringLiteral("Pick");
    }

    void cleans()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(CleanName(text), expected);
    }

    void terminalTextShowsWithoutEffect()
    {
        QCOMPARE(TerminalText(QString::fromUtf16(u"a\x1b[2Jb\u202ec %1\U0001F600")),
                 QString::fromUtf16(u"a\uFFFD[2Jb\uFFFDc %1\U0001F600"));
        QCOMPARE(CutToBytes(QStringLiteral("ab货"), 4), QStringLiteral("ab"));
    }
};

PICTORRA_TEST_MAIN(TestCleanName)
#include "tst_clean_name.moc"
