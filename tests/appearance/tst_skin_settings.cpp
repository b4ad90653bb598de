#include "appearance/SkinManager.h"
#include "appearance/SkinSettings.h"
#include "appearance/ToolbarCommands.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

class TestSkinSettings : public QObject
{
    Q_OBJECT

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void nothingStoredReadsAsNothing()
    {
        QTemporaryDir dir;
        const SkinSettings settings(dir.path());
        QCOMPARE(settings.skin(), QString());
        QCOMPARE(settings.skinId(), std::nullopt);
        QVERIFY(!QFile::exists(settings.fileName()));
    }

    void storedChoiceIsUtf8IniInSectionConfig()
    {
        QTemporaryDir dir;
        const SkinSettings settings(dir.path());
        QVERIFY(settings.store(QStringLiteral("清爽白.qss"), 12));
        QCOMPARE(settings.fileName(), dir.filePath(QStringLiteral("config.ini")));
        const QString text = QString::fromUtf8(readFile(settings.fileName()));
        QVERIFY2(text.contains(QStringLiteral("[config]")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("skin=清爽白.qss")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("skinid=12")), qPrintable(text));
        QCOMPARE(settings.skin(), QStringLiteral("清爽白.qss"));
        QCOMPARE(settings.skinId(), 12);
    }

    void valuesWrittenByHand_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("skin");
        QTest::addColumn<std::optional<int>>("skinId");
        QTest::newRow("spaces trimmed") << QByteArray("[config]\nskin=  暗夜黑.qss  \nskinid= 3 \n")
                                        << QStringLiteral("暗夜黑.qss") << std::optional<int>(3);
        QTest::newRow("skinid not a number") << QByteArray("[config]\nskin=a.qss\nskinid=abc\n")
                                             << QStringLiteral("a.qss") << std::optional<int>();
        QTest::newRow("skinid empty") << QByteArray("[config]\nskinid=\n") << QString() << std::optional<int>();
        QTest::newRow("skinid too large") << QByteArray("[config]\nskinid=99999999999\n") << QString()
                                          << std::optional<int>();
        QTest::newRow("comma in name") << QByteArray("[config]\nskin=a,b.qss\n") << QStringLiteral("a,b.qss")
                                       << std::optional<int>();
        QTest::newRow("other section") << QByteArray("[other]\nskin=x.qss\nskinid=1\n") << QString()
                                       << std::optional<int>();
        QTest::newRow("a path is no skin name") << QByteArray("[config]\nskin=../../somefile\nskinid=1\n")
                                                << QString() << std::optional<int>(1);
        QTest::newRow("an absolute path neither") << QByteArray("[config]\nskin=/etc/passwd\n") << QString()
                                                  << std::optional<int>();
        QTest::newRow("over 1 MiB is not read")
            << QByteArray("[config]\nskin=a.qss\nskinid=1\n").append(QByteArray(1024 * 1024, ';'))
            << QString() << std::optional<int>();
        QTest::newRow("damaged") << QByteArray("\x01\xff garbage\n[config\nskin=\n[config]\nskinid=4\n")
                                 << QString() << std::optional<int>(4);
    }
    void valuesWrittenByHand()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        const SkinSettings settings(dir.path());
        writeFile(settings.fileName(), content);
        QTEST(settings.skin(), "skin");
        QTEST(settings.skinId(), "skinId");
    }

    void damagedFileIsOverwrittenWithTheChoice()
    {
        QTemporaryDir dir;
        const SkinSettings settings(dir.path());
        writeFile(settings.fileName(), "\x01\x02 garbage\n[config\n=\n");
        QVERIFY(settings.store(QStringLiteral("b.qss"), 1));
        QCOMPARE(settings.skin(), QStringLiteral("b.qss"));
        QCOMPARE(settings.skinId(), 1);
    }

    void storeKeepsOtherKeys()
    {
        QTemporaryDir dir;
        const SkinSettings settings(dir.path());
        writeFile(settings.fileName(), "[config]\nskin=old.qss\nskinid=0\n[window]\nleft=3\n");
        QVERIFY(settings.store(QStringLiteral("new.qss"), 2));
        QVERIFY(readFile(settings.fileName()).contains("left=3"));
        QCOMPARE(settings.skin(), QStringLiteral("new.qss"));
    }

    void unwritableFileIsReported()
    {
        QTemporaryDir dir;
        const SkinSettings settings(dir.path());
        // A folder in the file's place cannot be written, not even by root.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("config.ini")));
        const SkinSettings::WriteResult result = settings.store(QStringLiteral("a.qss"), 0);
        QVERIFY(!result);
        QCOMPARE(result.message, SkinSettings::storeFailedMessage());
        QCOMPARE(settings.skin(), QString());
    }

    // Anyone may drop files into the program folder: a pipe in place of the
    // settings, a skin or a picture a skin names is skipped, never waited on.
    void pipesAreSkippedNotWaitedOn()
    {
        QTemporaryDir dir;
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("config.ini"))), 0600) == 0);
        QCOMPARE(SkinSettings(dir.path()).skin(), QString());
        const SkinManager skins(dir.path());
        QVERIFY(QDir().mkpath(skins.skinsFolder()));
        const QString pipe = skins.skinsFolder() + QStringLiteral("/pipe.qss");
        QVERIFY(::mkfifo(QFile::encodeName(pipe), 0600) == 0);
        QVERIFY(!skins.applyFile(pipe));
        const QString picture = skins.skinsFolder() + QStringLiteral("/bg.png");
        QVERIFY(::mkfifo(QFile::encodeName(picture), 0600) == 0);
        writeFile(skins.skinsFolder() + QStringLiteral("/a.qss"), "QWidget { color: red; }");
        QVERIFY(skins.apply(QStringLiteral("a.qss")));
        writeFile(skins.skinsFolder() + QStringLiteral("/b.qss"), "QWidget { background: url('" + picture.toUtf8() + "'); }");
        QVERIFY(!skins.apply(QStringLiteral("b.qss")));
        QCOMPARE(qApp->styleSheet(), QString());
    }

    void toolbarCommandsRunTheHookOfTheirIndex()
    {
        QStringList ran;
        auto hook = [&ran](const char *name) { return [&ran, name] { ran << QLatin1String(name); }; };
        ToolbarCommands::Hooks hooks{hook("paste"), hook("copy"), hook("newPage"), hook("home"),
                                     hook("favourites"), hook("bookmark"), hook("refresh"), hook("skin")};
        const ToolbarCommands commands(hooks);
        for (int index : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, -1, 256})
            commands.run(index);
        QCOMPARE(ran.join(QLatin1Char(',')),
                 QStringLiteral("paste,copy,newPage,home,favourites,bookmark,refresh,skin"));
        ToolbarCommands({}).run(3);  // an empty hook does nothing
    }
};

PICTORRA_TEST_MAIN(TestSkinSettings)
#include "tst_skin_settings.moc"
