#include "batch/BatchRow.h"
#include "main_window/CommandLine.h"
#include "support/TestMain.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

class BatchCommandLineTest : public QObject
{
    Q_OBJECT
private slots:
    void batchArguments()
    {
        auto parse = [](const QString &line) { return CommandLine::parse((u"pictorra "_s + line).split(u' ')); };
        const CommandLine full = parse(u"--batch list.txt --save out --parallel 3 --delay 0"_s);
        QVERIFY(full.valid);
        QVERIFY(full.headless());
        QCOMPARE(*full.batch, u"list.txt"_s);
        QCOMPARE(*full.save, u"out"_s);
        QCOMPARE(full.parallel, 3);
        QCOMPARE(full.delay, 0.0);
        const CommandLine plain = parse(u"--save out --batch list.txt"_s);
        QVERIFY(plain.valid);
        QCOMPARE(plain.parallel, 1);
        QVERIFY(plain.delay < 0);
        for (const QString &bad : {u"--batch list.txt"_s, u"--batch list.txt --save out --parallel 5"_s,
                                   u"--batch list.txt --save out --parallel x"_s,
                                   u"--batch list.txt --save out --delay -3"_s, u"--save out --parallel 2"_s,
                                   u"--pick http://a/ --batch list.txt --save out"_s, u"--batch"_s})
            QVERIFY2(!parse(bad).valid, qPrintable(bad));
        QVERIFY(parse(u"--pick http://a/ --save out"_s).valid);
    }

    void jsonLinesForEachEnd()
    {
        BatchRow row;
        row.url = u"http://a/1"_s;
        row.state = BatchState::Partial;
        row.title = u"杯子"_s;
        row.found[MediaKind::Main] = 5;
        row.failed = 1;
        row.note = u"描述图2 404"_s;
        QJsonObject line = QJsonDocument::fromJson(batchJsonLine(row)).object();
        QCOMPARE(line.value(u"state"_s).toString(), u"partial"_s);
        QCOMPARE(line.value(u"main"_s).toInt(), 5);
        QCOMPARE(line.value(u"failed"_s).toInt(), 1);
        QCOMPARE(line.value(u"error"_s).toString(), row.note); // picked, yet not whole: it says why
        // What a page says reaches a terminal as data, never as bidi or C1 controls.
        row.title = u"杯\u202Egpj.exe\u009B\u2066"_s;
        const QByteArray bytes = batchJsonLine(row);
        QVERIFY2(bytes.contains("\\u202e") && bytes.contains("\\u009b") && bytes.contains("\\u2066"), bytes.constData());
        QCOMPARE(QJsonDocument::fromJson(bytes).object().value(u"title"_s).toString(), row.title);
        row.state = BatchState::Unreachable;
        QVERIFY(QJsonDocument::fromJson(batchJsonLine(row)).object().contains(u"error"_s));
        row.state = BatchState::NeedsCheck;
        line = QJsonDocument::fromJson(batchJsonLine(row)).object();
        QCOMPARE(line.keys(), (QStringList{u"error"_s, u"state"_s, u"url"_s}));
        QCOMPARE(line.value(u"state"_s).toString(), u"blocked"_s);
        row.state = BatchState::AlreadySaved;
        QCOMPARE(QJsonDocument::fromJson(batchJsonLine(row)).object().value(u"state"_s).toString(), u"skipped"_s);
    }
};

PICTORRA_TEST_MAIN(BatchCommandLineTest)
#include "tst_BatchCommandLine.moc"
