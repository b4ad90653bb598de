// SaveChoice's text forms: what the options, config.ini and the journal read.
#include "download/SaveChoice.h"
#include "support/TestMain.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class SaveChoiceTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsGoodValuesOverWhatItHad()
    {
        SaveChoice choice;
        QVERIFY(!choice.parseOnly(u"desc, main,info"_s));
        QVERIFY(!choice.parseMin(u"--min-width"_s, u"main=300,desc=0"_s));
        QVERIFY(!choice.parseMin(u"--min-height"_s, u"sku=200"_s));
        QCOMPARE(choice.onlyText(), u"main,desc,info"_s);
        QCOMPARE(choice.minText(true), u"main=300,sku=0,desc=0"_s);
        QCOMPARE(choice.minText(false), u"main=0,sku=200,desc=0"_s);
        QVERIFY(!choice.keeps(MediaKind::Video));
        QVERIFY(choice.judged(MediaKind::Main) && choice.judged(MediaKind::Sku) && !choice.judged(MediaKind::Description));
        QCOMPARE(choice.judge(MediaKind::Main, QSize(299, 999)), SaveChoice::Narrow);
        QCOMPARE(choice.judge(MediaKind::Sku, QSize(999, 199)), SaveChoice::Low);
        // A size the header did not give is no reason to drop.
        QCOMPARE(choice.judge(MediaKind::Main, QSize(-1, -1)), std::nullopt);
    }

    void refusesBadValuesNamingThemAndKeepsWhatItHad_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("value");
        QTest::newRow("unknown kind") << u"--only"_s << u"main,pics"_s;
        QTest::newRow("nothing") << u"--only"_s << u" "_s;
        QTest::newRow("negative") << u"--min-width"_s << u"desc=-1"_s;
        QTest::newRow("not a number") << u"--min-height"_s << u"main=12px"_s;
        QTest::newRow("no size for a video") << u"--min-width"_s << u"video=10"_s;
        QTest::newRow("no pair") << u"--min-width"_s << u"450"_s;
        QTest::newRow("too large") << u"--min-width"_s << u"desc=100001"_s;
    }

    void refusesBadValuesNamingThemAndKeepsWhatItHad()
    {
        QFETCH(QString, option);
        QFETCH(QString, value);
        SaveChoice choice;
        const auto refusal = option == u"--only"_s ? choice.parseOnly(value) : choice.parseMin(option, value);
        QVERIFY(refusal);
        QVERIFY2(refusal->startsWith(option + u' ' + value.trimmed()) || value.trimmed().isEmpty(), qPrintable(*refusal));
        QVERIFY(choice == SaveChoice());
    }

    void theJournalAndConfigIniGiveBackWhatTheyKept()
    {
        SaveChoice choice;
        QVERIFY(!choice.parseOnly(u"sku"_s));
        QVERIFY(!choice.parseMin(u"--min-height"_s, u"sku=90"_s));
        choice.dedupe = true;
        choice.setTick(MediaKind::Sku, 2, SaveChoice::Tick::Off);
        QVERIFY(SaveChoice::fromJson(choice.toJson()) == choice.rulesOnly());
        // A journal written before there was a choice: the download of before.
        QVERIFY(SaveChoice::fromJson({}) == SaveChoice());
        QTemporaryDir folder;
        const QString file = folder.filePath(u"config.ini"_s);
        SaveChoice nothing;
        nothing.kinds.fill(false);
        nothing.info = false;
        {
            QSettings ini(file, QSettings::IniFormat);
            nothing.store(ini);
        }
        QVERIFY(SaveChoice::fromSettings(QSettings(file, QSettings::IniFormat)) == nothing);
        {
            QSettings ini(file, QSettings::IniFormat);
            ini.setValue(u"save/minWidth"_s, u"desc=wide"_s);
        }
        // One damaged value costs only itself.
        const SaveChoice read = SaveChoice::fromSettings(QSettings(file, QSettings::IniFormat));
        QCOMPARE(read.rules[MediaKind::Description].minWidth, MinDescWidth);
        QVERIFY(!read.keeps(MediaKind::Main));
    }

    void ticksChooseThePlacesFetched()
    {
        SaveChoice choice;
        choice.setTick(MediaKind::Main, 1, SaveChoice::Tick::Off);
        choice.setTick(MediaKind::Main, 3, SaveChoice::Tick::On);
        QCOMPARE(choice.places(MediaKind::Main, 5), (QList<int>{0, 2, 3, 4}));
        choice.kinds[MediaKind::Main] = false;
        QVERIFY(choice.places(MediaKind::Main, 5).isEmpty());
    }
};

PICTORRA_TEST_MAIN(SaveChoiceTest)
#include "tst_SaveChoice.moc"
