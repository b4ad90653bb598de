#include "FakeBatchWorker.h"
#include "base/CsvCell.h"
#include "batch/BatchCsv.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "download/SaveLayout.h"
#include "picking/designs/GenericDesign.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <memory>

#include <sys/stat.h>

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

QStringList itemFolders(const QString &saveFolder)
{
    return QDir(saveFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// The runner keeps its counts row by row; whenever anyone hears of a change
// they must be what counting the whole list gives. Counts the times they were not.
std::shared_ptr<int> watchCounts(BatchRunner &runner)
{
    auto wrong = std::make_shared<int>(0);
    auto check = [&runner, wrong] {
        const QList<BatchState> all = states(runner.rows());
        auto count = [&all](auto test) { return int(std::count_if(all.cbegin(), all.cend(), test)); };
        const BatchTally &tally = runner.tally();
        *wrong += tally.finished() != count(batchStateIsFinal) || tally.failures() != count(batchStateIsFailure)
            || tally.saved() != count([](BatchState s) { return s == BatchState::Done || s == BatchState::AlreadySaved; });
    };
    QObject::connect(&runner, &BatchRunner::rowChanged, &runner, check);
    QObject::connect(&runner, &BatchRunner::rowsReset, &runner, check);
    QObject::connect(&runner, &BatchRunner::statusChanged, &runner, check);
    return wrong;
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
        worker.scripts = {{url(1), {PickEnd::Picked, u"杯子阿里巴巴"_s}},
                          {url(2), {PickEnd::Refused, {}}},
                          {url(3), {PickEnd::Picked, u"茶壶"_s, 1}},
                          {url(4), {PickEnd::Blocked, {}}},
                          {url(5), {PickEnd::Picked, u"碗"_s}}};
        BatchRunner runner(&worker);
        runner.setDelay([] { return 0; });
        runner.setParallel(2);
        const std::shared_ptr<int> wrongCounts = watchCounts(runner);
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
        QCOMPARE(runner.rows()[4].found[MediaKind::Main], 2);
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
        QCOMPARE(itemFolders(dir.path()), (QStringList{u"勺子"_s, u"杯子"_s, u"盘子"_s, u"碗"_s, u"茶壶"_s}));
        QCOMPARE(*wrongCounts, 0);
    }

    // Bad addresses at the head of a list never stop the good ones after them;
    // only a run of unreachable pages (the line is down) pauses.
    void badAddressesNeverStopTheBatch()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        QStringList list;
        for (int i = 1; i <= 12; ++i) {
            list << url(i);
            worker.scripts[url(i)] = {PickEnd::Picked, u"宝贝%1"_s.arg(i)};
        }
        worker.scripts[url(1)].end = PickEnd::Unreachable;
        worker.scripts[url(2)].end = PickEnd::Refused;
        worker.scripts[url(3)].end = PickEnd::Refused;
        for (int i = 8; i <= 12; ++i)
            worker.scripts[url(i)].end = PickEnd::Unreachable;
        BatchRunner runner(&worker);
        BatchTableModel model(&runner);
        runner.setDelay([] { return 0; });
        QVERIFY(runner.open(dir.path(), list.mid(0, 7)));
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(runner.rows()[0].state, BatchState::Unreachable);
        QCOMPARE(model.cellText(0, BatchTableModel::State), u"无法打开"_s);
        QCOMPARE(runner.rows()[1].state, BatchState::NotProduct);
        for (int i = 3; i < 7; ++i)
            QCOMPARE(runner.rows()[i].state, BatchState::Done);

        QSignalSpy status(&runner, &BatchRunner::statusChanged);
        QVERIFY(runner.open(dir.path(), list));
        worker.scripts[url(1)].end = PickEnd::Picked;
        runner.retryFailed(); // the unreachable one is tried again, like a failure
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Paused);
        QVERIFY(status.last().at(1).toString().contains(u"无法打开"_s));
        QCOMPARE(runner.rows()[0].state, BatchState::Done);
        QCOMPARE(runner.rows()[11].state, BatchState::Unreachable);
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
        const std::shared_ptr<int> wrongCounts = watchCounts(*runner);
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
        QCOMPARE(runner->finishedCount(), 2);
        QCOMPARE(*wrongCounts, 0);

        // Killed in the middle of the download: the journal says so...
        runner->start();
        QTRY_VERIFY(worker.holding());
        QCOMPARE(BatchJournal(dir.path()).load()[2].state, BatchState::Downloading);
        runner.reset();
        // The folder was made and journalled before the download began, and
        // a fresh item is saved into it, not resumed.
        QVERIFY(!worker.downloads.first().second.isEmpty());
        QVERIFY(!worker.resumed.first());
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
        QVERIFY(worker.resumed.last());
        QCOMPARE(itemFolders(dir.path()), (QStringList{u"杯子"_s, u"碗"_s, u"茶壶"_s}));
        QCOMPARE(again.rows()[2].state, BatchState::Done);
    }

    // A journalled folder is used again only when it leads nowhere outside
    // the save folder; one the user removed is made anew. An item is saved
    // only with its description and at least one picture.
    void itemFoldersAndWhatCountsAsSaved()
    {
        QTemporaryDir dir, outside;
        FakeBatchWorker worker;
        worker.scripts = {{url(1), {PickEnd::Picked, u"杯子阿里巴巴"_s}},
                          {url(2), {PickEnd::Picked, u"碗"_s}},
                          {url(3), {PickEnd::Picked, u"壶"_s, 0, false, true}},
                          {url(4), {PickEnd::Picked, u"盘"_s, 3}}};
        QVERIFY(QFile::link(outside.path(), dir.filePath(u"link"_s)));
        QVERIFY(QDir(dir.path()).mkpath(u"inner/主图"_s));
        QVERIFY(QFile::link(outside.path(), dir.filePath(u"inner/描述图"_s)));
        auto row = [&](int n, const QString &folder) {
            BatchRow r;
            r.url = url(n);
            r.state = BatchState::Downloading;
            r.folder = dir.filePath(folder);
            return r;
        };
        QVERIFY(BatchJournal(dir.path()).save({row(1, u"link"_s), row(2, u"碗"_s), row(5, u"inner"_s)}));
        worker.scripts[url(5)] = {PickEnd::Picked, u"勺"_s};
        BatchRunner runner(&worker);
        runner.setDelay([] { return 0; });
        QVERIFY(runner.open(dir.path(), {url(1), url(2), url(3), url(4), url(5)}));
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(worker.downloads[0].second, dir.filePath(u"杯子"_s));
        QCOMPARE(worker.downloads[1].second, dir.filePath(u"碗"_s));
        QVERIFY(QFileInfo(dir.filePath(u"碗"_s)).isDir());
        QCOMPARE(worker.downloads[2].second, dir.filePath(u"勺"_s));
        QVERIFY(QDir(outside.path()).isEmpty());
        QCOMPARE(states(runner.rows()), (QList<BatchState>{BatchState::Done, BatchState::Done, BatchState::Done,
                                                          BatchState::Partial, BatchState::Failed}));
        QCOMPARE(batchStateText(runner.rows()[4].state), u"失败"_s);
        // Named by the product, not the site; the JSON line's title stays the document's.
        BatchTableModel model(&runner);
        QCOMPARE(model.cellText(0, BatchTableModel::Title), u"杯子"_s);
        const QJsonObject line = QJsonDocument::fromJson(batchJsonLine(runner.rows()[0])).object();
        QCOMPARE(line.value(u"title"_s).toString(), u"杯子阿里巴巴"_s);
        QCOMPARE(line.value(u"productTitle"_s).toString(), u"杯子"_s);

        // A rerun reads the description and completes the item where it is.
        worker.scripts[url(3)].descMissing = false;
        runner.retryFailed();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(runner.rows()[3].state, BatchState::Done);
        QCOMPARE(runner.rows()[3].folder, dir.filePath(u"壶"_s));
        QVERIFY(!QFileInfo::exists(dir.filePath(u"壶1"_s)));
    }

    // Data files not written, or only the video kept: partial; no picture
    // written (the folder turned read-only): failed. Each says why in the
    // note, the JSON line, the table and its CSV; a rerun completes it in the
    // same folder.
    void whatADownloadKeptDecidesItsState()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        worker.scripts = {{url(1), {PickEnd::Picked, u"杯子"_s}}, {url(2), {PickEnd::Picked, u"碗"_s}},
                          {url(3), {PickEnd::Picked, u"盘"_s}}};
        worker.scripts[url(3)].summary = [](DownloadSummary &s) {
            s.failures = {{u"主图"_s, 1, {}}, {u"主图"_s, 2, {}}};
            s.failed = s.total = 2;
            s.setKept({});
            s.line = CompletionLine(s);
        };
        worker.scripts[url(1)].summary = [](DownloadSummary &s) { s.dataError = u"cannot write 商品SKU.csv"_s; };
        worker.scripts[url(2)].summary = [](DownloadSummary &s) {
            s.failures = {{u"主图"_s, 1, {}}, {u"主图"_s, 2, {}}, {u"描述图"_s, 1, {}}};
            s.failed = 3;
            s.total = 4;
            MediaCounts kept;
            kept[MediaKind::Video] = 1;
            s.setKept(kept);
            s.line = CompletionLine(s);
        };
        BatchRunner runner(&worker);
        BatchTableModel model(&runner);
        runner.setDelay([] { return 0; });
        QVERIFY(runner.open(dir.path(), {url(1), url(2), url(3)}));
        runner.start();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(states(runner.rows()), (QList<BatchState>{BatchState::Partial, BatchState::Partial, BatchState::Failed}));
        const QString reason = runner.rows()[2].note;
        QVERIFY2(reason.contains(u"下载失败"_s), qPrintable(reason));
        QCOMPARE(QJsonDocument::fromJson(batchJsonLine(runner.rows()[2])).object()[u"error"_s].toString(), reason);
        QCOMPARE(model.cellText(2, BatchTableModel::Reason), reason);
        const QString csv = dir.filePath(u"table.csv"_s);
        QVERIFY(BatchCsv::write(csv, model));
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(file.readAll()).contains(CsvCell(reason)));
        QVERIFY2(runner.rows()[0].note.contains(u"商品信息未能保存"_s), qPrintable(runner.rows()[0].note));
        QVERIFY2(runner.rows()[1].note.startsWith(u"消息提示:只保存了视频1个,未保存图片(丢弃0张"_s), qPrintable(runner.rows()[1].note));
        const QJsonObject line = QJsonDocument::fromJson(batchJsonLine(runner.rows()[1])).object();
        QCOMPARE(line[u"failedNames"_s].toArray(), (QJsonArray{u"主图1"_s, u"主图2"_s, u"描述图1"_s}));

        worker.scripts[url(1)].summary = worker.scripts[url(2)].summary = worker.scripts[url(3)].summary = {};
        worker.scripts[url(2)].reader = GenericDesign::ReaderName;
        runner.retryFailed();
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(states(runner.rows()), (QList<BatchState>{BatchState::Done, BatchState::Done, BatchState::Done}));
        QCOMPARE(worker.downloads.last(), qMakePair(url(3), dir.filePath(u"盘"_s)));
        const QJsonObject done = QJsonDocument::fromJson(batchJsonLine(runner.rows()[1])).object();
        QVERIFY(done[u"failedNames"_s].toArray().isEmpty());
        QVERIFY(!done.contains(u"error"_s));
        // Whole, but read by the generic reader: the row says so, other rows stay as they were.
        QCOMPARE(done[u"reader"_s].toString(), u"generic"_s);
        QCOMPARE(model.cellText(1, BatchTableModel::State), u"完成（通用读取）"_s);
        QVERIFY(!QJsonDocument::fromJson(batchJsonLine(runner.rows()[0])).object().contains(u"reader"_s));
        QCOMPARE(model.cellText(0, BatchTableModel::State), u"完成"_s);
    }

    // A second batch on a folder in use is refused; a long list of failures
    // is retried without first rewriting the journal row by row.
    void oneBatchPerFolderAndLongRetriesStartAtOnce()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        QList<BatchRow> failed;
        QStringList list;
        for (int i = 0; i < 3000; ++i) {
            BatchRow r;
            r.url = url(i);
            r.state = BatchState::NotProduct;
            r.note = QString(200, u'x');
            failed << r;
            list << r.url;
        }
        QVERIFY(BatchJournal(dir.path()).save(failed));
        auto runner = std::make_unique<BatchRunner>(&worker);
        QVERIFY(runner->open(dir.path(), list));
        BatchRunner second(&worker);
        QString error;
        QVERIFY(!second.open(dir.path(), list, &error));
        QVERIFY2(error.contains(u"另一个批量采集"_s), qPrintable(error));

        QElapsedTimer clock;
        clock.start();
        runner->retryFailed();
        QCOMPARE(worker.picks.size(), 1);
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(BatchJournal(dir.path()).load()[2999].state, BatchState::Waiting);
        runner.reset();
        QVERIFY(second.open(dir.path(), list, &error));
    }

    // A list still being read adds its addresses as they come: once each,
    // journalled, and a batch that had run out starts again on them.
    void addressesAddedLaterAreRunToo()
    {
        QTemporaryDir dir;
        FakeBatchWorker worker;
        BatchRunner runner(&worker);
        runner.setDelay([] { return 0; });
        QVERIFY(runner.open(dir.path(), {}));
        runner.start();
        QCOMPARE(runner.status(), BatchRunner::Status::Finished);
        runner.add({url(1), url(1) + u"#top"_s});
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        runner.add({url(1), url(2)});
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(worker.picks, (QStringList{url(1), url(2)}));
        QCOMPARE(runner.tally().finished(), 2);
        QCOMPARE(BatchJournal(dir.path()).load().size(), 2);
    }

    // A lock planted as a link or a pipe stops the batch before anything, with its name.
    void aPlantedLockStopsTheBatch()
    {
        QTemporaryDir dir, outside;
        FakeBatchWorker worker;
        const QString lock = dir.filePath(BatchRunner::LockFileName);
        for (bool pipe : {false, true}) {
            QFile::remove(lock);
            QVERIFY(pipe ? ::mkfifo(QFile::encodeName(lock), 0600) == 0 : QFile::link(outside.filePath(u"x"_s), lock));
            BatchRunner runner(&worker);
            QString error;
            QVERIFY(!runner.open(dir.path(), {url(1)}, &error));
            QVERIFY2(error.contains(lock), qPrintable(error));
            QVERIFY(QDir(outside.path()).isEmpty());
            QVERIFY(!QFileInfo::exists(dir.filePath(BatchJournal::FileName)));
        }
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
        QCOMPARE(model.cellText(0, BatchTableModel::kindColumn(MediaKind::Main)), u"2"_s);
        QCOMPARE(model.cellText(1, BatchTableModel::State), u"不是宝贝页"_s);
        QCOMPARE(model.cellText(1, BatchTableModel::Failed), QString());

        const QString path = dir.filePath(u"table.csv"_s);
        QVERIFY(BatchCsv::write(path, model));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s);
        QCOMPARE(lines[0], u"地址,标题,状态,主图,SKU图,描述图,视频,失败,文件夹,原因"_s);
        // The 标题 column holds the clean name the folder has; a formula in it stays text.
        QVERIFY2(lines[1].startsWith(url(1) + u",\"'=HYPERLINK(x,杯子,大号)\",完成,2,0,1,0,0,"_s),
                 qPrintable(lines[1]));
    }
};

PICTORRA_TEST_MAIN(BatchRunnerTest)
#include "tst_BatchRunner.moc"
