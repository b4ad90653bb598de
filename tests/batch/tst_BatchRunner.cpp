#include "FakeBatchWorker.h"
#include "batch/BatchCsv.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;
using PickEnd = BatchItemWorker::PickEnd;

namespace {

QList<BatchState> states(const QList<BatchRow> &rows)
{
    QList<BatchState> list;
    for (const BatchRow &row : rows)
        list << row.state;
    return list;
}

QString url(int n)
{
    return u"http://shop.test/offer/%1.html"_s.arg(n);
}

} // namespace

class BatchRunnerTest : public QObject
{
    Q_OBJECT
private slots:
    void fiveAddressesGiveTheirStates()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        worker.scripts = {{url(1), {PickEnd::Picked, u"杯子"_s}},
                          {url(2), {PickEnd::Refused, {}}},
                          {url(3), {PickEnd::Picked, u"茶壶"_s, 1}},
                          {url(4), {PickEnd::Blocked, {}}},
                          {url(5), {PickEnd::Picked, u"碗"_s}}};
        BatchRunner runner(&worker);
        runner.setDelay([] { return 0; });
        runner.setParallel(2);
        QVERIFY(runner.open(dir.path(), {url(1), url(2), url(3), url(4), url(5)}));
        QSignalSpy finished(&runner, &BatchRunner::rowFinished);
        runner.start();
        // The verification page pauses the batch and is shown to the user.
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Paused);
        QTRY_COMPARE(runner.runningCount(), 0);
        QCOMPARE(worker.broughtToFront.size(), 1);
        QCOMPARE(runner.rows()[0].state, BatchState::Done);
        QCOMPARE(runner.rows()[1].state, BatchState::NotProduct);
        QCOMPARE(runner.rows()[2].state, BatchState::Partial);
        QCOMPARE(runner.rows()[2].failed, 1);
        QCOMPARE(runner.rows()[3].state, BatchState::NeedsCheck);

        // The user passed the check in that tab: 继续 picks it again first.
        worker.scripts[url(4)] = {PickEnd::Picked, u"盘子"_s};
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(states(runner.rows()), (QList<BatchState>{BatchState::Done, BatchState::NotProduct, BatchState::Partial,
                                                          BatchState::Done, BatchState::Done}));
        QCOMPARE(worker.picks.count(url(4)), 2);
        QCOMPARE(runner.rows()[4].folder, dir.filePath(u"碗"_s));
        QCOMPARE(runner.rows()[4].mainPics, 2);
        QCOMPARE(runner.secondsLeft().value_or(-1), 0);
        QCOMPARE(runner.finishedCount(), 5);

        // What is on disk is what the table shows; a second run does nothing again.
        const QList<BatchRow> journal = BatchJournal(dir.path()).load();
        QCOMPARE(states(journal), states(runner.rows()));
        worker.picks.clear();
        worker.downloads.clear();
        QVERIFY(runner.open(dir.path(), {url(1), url(5)}));
        QCOMPARE(runner.rows()[0].state, BatchState::AlreadySaved);
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QVERIFY(worker.picks.isEmpty());

        // 重试失败 runs the refused and the partial row again, the partial in its own folder.
        worker.scripts[url(2)] = {PickEnd::Picked, u"勺子"_s};
        worker.scripts[url(3)].failed = 0;
        runner.retryFailed();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(worker.picks, (QStringList{url(2), url(3)}));
        QCOMPARE(worker.downloads.last(), qMakePair(url(3), dir.filePath(u"茶壶"_s)));
        QCOMPARE(runner.rows()[2].state, BatchState::Done);
        QCOMPARE(worker.madeFolders.count(dir.filePath(u"茶壶"_s)), 1);
    }

    void threeRefusalsInARowPause()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        worker.scripts = {{url(1), {PickEnd::Refused, {}}}, {url(2), {PickEnd::Refused, {}}},
                          {url(3), {PickEnd::Refused, {}}}, {url(4), {PickEnd::Picked, u"杯子"_s}}};
        BatchRunner runner(&worker);
        runner.setDelay([] { return 0; });
        runner.setPauseOnBlock(false);
        QVERIFY(runner.open(dir.path(), {url(1), url(2), url(3), url(4)}));
        QSignalSpy status(&runner, &BatchRunner::statusChanged);
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Paused);
        QVERIFY(status.last().at(1).toString().contains(u"3"_s));
        QCOMPARE(runner.rows()[3].state, BatchState::Waiting);
        QVERIFY(!worker.picks.contains(url(4)));
    }

    void pauseStopAndCrashLeaveNothingHalfDone()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        worker.scripts = {{url(1), {PickEnd::Picked, u"杯子"_s}},
                          {url(2), {PickEnd::Picked, u"茶壶"_s, 0, true}},
                          {url(3), {PickEnd::Picked, u"碗"_s}}};
        const QStringList list{url(1), url(2), url(3)};
        auto runner = std::make_unique<BatchRunner>(&worker);
        runner->setDelay([] { return 0; });
        QVERIFY(runner->open(dir.path(), list));
        runner->start();
        QTRY_VERIFY(worker.holding());
        // 暂停 lets the item under way finish and starts nothing new.
        runner->pause();
        worker.finishHeld();
        QCOMPARE(runner->rows()[1].state, BatchState::Done);
        QTest::qWait(20);
        QCOMPARE(runner->rows()[2].state, BatchState::Waiting);
        QCOMPARE(worker.picks.size(), 2);

        // 停止 in the middle of a download: the row waits again, its folder kept.
        worker.scripts[url(3)].hold = true;
        runner->start();
        QTRY_VERIFY(worker.holding());
        runner->stop();
        QVERIFY(!worker.holding());
        QCOMPARE(runner->rows()[2].state, BatchState::Waiting);
        QCOMPARE(runner->rows()[2].folder, dir.filePath(u"碗"_s));
        QCOMPARE(BatchJournal(dir.path()).load()[2].folder, dir.filePath(u"碗"_s));

        // Killed in the middle of the download: the journal says so...
        runner->start();
        QTRY_VERIFY(worker.holding());
        QCOMPARE(BatchJournal(dir.path()).load()[2].state, BatchState::Downloading);
        runner.reset();
        // ...and a new run completes the item in its folder without redoing the others.
        worker.picks.clear();
        worker.scripts[url(3)].hold = false;
        BatchRunner again(&worker);
        again.setDelay([] { return 0; });
        QVERIFY(again.open(dir.path(), list));
        QCOMPARE(states(again.rows()), (QList<BatchState>{BatchState::AlreadySaved, BatchState::AlreadySaved, BatchState::Waiting}));
        again.start();
        QTRY_COMPARE(again.status(), BatchRunner::Status::Finished);
        QCOMPARE(worker.picks, QStringList{url(3)});
        QCOMPARE(worker.downloads.last(), qMakePair(url(3), dir.filePath(u"碗"_s)));
        QCOMPARE(worker.madeFolders.count(dir.filePath(u"碗"_s)), 1);
        QCOMPARE(again.rows()[2].state, BatchState::Done);
    }

    void tableExportsAsCsvThatSpreadsheetsRead()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        // Titles come from web pages: a formula must stay text in a spreadsheet.
        worker.scripts = {{url(1), {PickEnd::Picked, u"=HYPERLINK(\"x\",\"杯子,大号\")"_s}},
                          {url(2), {PickEnd::Refused, {}}}};
        BatchRunner runner(&worker);
        runner.setDelay([] { return 0; });
        BatchTableModel model(&runner);
        QVERIFY(runner.open(dir.path(), {url(1), url(2)}));
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.cellText(0, BatchTableModel::State), u"等待"_s);
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(model.cellText(0, BatchTableModel::State), u"完成"_s);
        QCOMPARE(model.cellText(0, BatchTableModel::Main), u"2"_s);
        QCOMPARE(model.cellText(1, BatchTableModel::State), u"不是宝贝页"_s);
        QCOMPARE(model.cellText(1, BatchTableModel::Failed), QString());

        const QString path = dir.filePath(u"table.csv"_s);
        QVERIFY(BatchCsv::write(path, model));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s);
        QCOMPARE(lines[0], u"地址,标题,状态,主图,SKU图,描述图,失败,文件夹"_s);
        QVERIFY2(lines[1].startsWith(url(1) + u",\"'=HYPERLINK(\"\"x\"\",\"\"杯子,大号\"\")\",完成,2,0,1,0,"_s),
                 qPrintable(lines[1]));
    }
};

PICTORRA_TEST_MAIN(BatchRunnerTest)
#include "tst_BatchRunner.moc"
