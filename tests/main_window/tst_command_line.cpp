#include "main_window/CommandLine.h"
#include "support/TestMain.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

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
        const CommandLine batch = parse(u"--batch=- --save o --parallel 4 --delay 0"_s.split(u' '));
        QVERIFY(batch.valid && batch.headless());
        QCOMPARE(batch.batch, std::optional<QString>(u"-"_s));
        QCOMPARE(batch.parallel, 4);
        QCOMPARE(batch.delay, 0.0);
    }

    // Each refusal names what it refuses, printable on a terminal.
    void refusedLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        auto row = [](const char *name, const QString &line, const QString &named) {
            QTest::newRow(name) << line.split(u' ') << named;
        };
        row("pick without address", u"--pick"_s, u"--pick"_s);
        row("save without pick", u"--save x"_s, u"--save x"_s);
        row("save without folder", u"--pick u --save"_s, u"--save"_s);
        row("two saves", u"--demo --save a --save b"_s, u"--save 只能给一次: b"_s);
        row("demo and pick", u"--demo --pick u"_s, u"--pick 和 --demo"_s);
        row("unknown option", u"--fast"_s, u"--fast"_s);
        row("address without pick", u"http://a/1"_s, u"http://a/1"_s);
        row("delay minus one", u"--batch l --save o --delay -1"_s, u"--delay -1"_s);
        row("delay not a number", u"--batch l --save o --delay nan"_s, u"--delay nan"_s);
        row("parallel too many", u"--batch l --save o --parallel 5"_s, u"--parallel 5"_s);
        row("batch option alone", u"--pick u --delay 2"_s, u"--delay"_s);
        row("batch without save", u"--batch l"_s, u"--batch l"_s);
        row("control in a value", u"--\x1b[2Jx"_s, u"--\uFFFD[2Jx"_s);
        row("value to a switch", u"--verbose=yes"_s, u"--verbose 不带值: yes"_s);
        row("batch with pick", u"--batch l --save o --pick u"_s, u"--batch l"_s);
    }
    void refusedLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const CommandLine line = parse(arguments);
        QVERIFY(!line.valid);
        QVERIFY2(line.refusal.contains(named), qPrintable(line.refusal));
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
