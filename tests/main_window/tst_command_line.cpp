#include "main_window/CommandLine.h"
#include "support/TestMain.h"

#include <QFileInfo>
#include <QTemporaryDir>

class CommandLineTest : public QObject
{
    Q_OBJECT

    static CommandLine parse(const QStringList &arguments)
    {
        return CommandLine::parse(QStringList{QStringLiteral("pictorra")} + arguments);
    }

private Q_SLOTS:
    void acceptedLines()
    {
        QVERIFY(parse({}).valid);
        QVERIFY(!parse({}).headless());
        const CommandLine pick = parse({QStringLiteral("--pick"), QStringLiteral("http://a/1"), QStringLiteral("http://a/2"),
                                        QStringLiteral("--save"), QStringLiteral("out")});
        QVERIFY(pick.valid && pick.headless());
        QCOMPARE(pick.addresses, (QStringList{QStringLiteral("http://a/1"), QStringLiteral("http://a/2")}));
        QCOMPARE(pick.save, std::optional<QString>(QStringLiteral("out")));
        QVERIFY(parse({QStringLiteral("--demo")}).valid);
        QVERIFY(!parse({QStringLiteral("--demo")}).headless());
        QVERIFY(parse({QStringLiteral("--demo"), QStringLiteral("--save"), QStringLiteral("x")}).headless());
    }

    void refusedLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("pick without address") << QStringList{QStringLiteral("--pick")};
        QTest::newRow("save without pick") << QStringList{QStringLiteral("--save"), QStringLiteral("x")};
        QTest::newRow("save without folder") << QStringList{QStringLiteral("--pick"), QStringLiteral("u"), QStringLiteral("--save")};
        QTest::newRow("two saves") << QStringList{QStringLiteral("--demo"), QStringLiteral("--save"), QStringLiteral("a"),
                                                  QStringLiteral("--save"), QStringLiteral("b")};
        QTest::newRow("demo and pick") << QStringList{QStringLiteral("--demo"), QStringLiteral("--pick"), QStringLiteral("u")};
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--fast")};
        QTest::newRow("address without pick") << QStringList{QStringLiteral("http://a/1")};
    }
    void refusedLines()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(!parse(arguments).valid);
    }

    void theSaveFolderIsCheckedFirst()
    {
        QTemporaryDir dir;
        QCOMPARE(CommandLine::saveFolderProblem(dir.path()), std::nullopt);
        // A missing folder is made with its parents; a file is refused with the system's reason.
        QCOMPARE(CommandLine::saveFolderProblem(dir.path() + QStringLiteral("/missing/deeper")), std::nullopt);
        QVERIFY(QFileInfo(dir.path() + QStringLiteral("/missing/deeper")).isDir());
        QFile file(dir.path() + QStringLiteral("/file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(CommandLine::saveFolderProblem(file.fileName()).has_value());
        QVERIFY(CommandLine::saveFolderProblem(file.fileName() + QStringLiteral("/x"))->contains(QStringLiteral("Not a directory")));
    }
};

PICTORRA_TEST_MAIN(CommandLineTest)
#include "tst_command_line.moc"
