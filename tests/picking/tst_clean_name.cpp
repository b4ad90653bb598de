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
            << QStringLiteral("女装：连衣裙／新款　2024\t夏") << QStringLiteral("女装：连衣裙／新款　2024\t夏");
    }

    void cleans()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(CleanName(text), expected);
    }
};

PICTORRA_TEST_MAIN(TestCleanName)
#include "tst_clean_name.moc"
