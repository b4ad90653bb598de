// What one row of a batch costs as the list grows, for lists of 100 and
// 10,000 addresses, with a stand-in worker: the window working through its
// list (its table, bar and counts answer every row change), 重试失败 waking
// every failed row at once, the screenless run's bookkeeping for a finished
// row (its JSON line and bar), and 导入 of N new addresses into a list of N.
// A figure that grows with the list is work done per row over the whole list.
// Each figure is the best of three runs.

#include "../tests/batch/FakeBatchWorker.h"
#include "../tests/support/RecordingDialogs.h"
#include "batch/BatchJournal.h"
#include "batch/BatchRunner.h"
#include "main_window/BatchWindow.h"
#include "platform/TerminalProgress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;
using PickEnd = BatchItemWorker::PickEnd;

namespace {

QString address(int n)
{
    return u"https://detail.1688.com/offer/%1.html"_s.arg(1000000 + n);
}

QStringList addresses(int from, int count)
{
    QStringList list;
    for (int i = from; i < from + count; ++i)
        list << address(i);
    return list;
}

// The journal syncs every change: on a disk the syncs would hide the rest.
std::unique_ptr<QTemporaryDir> scratch()
{
    if (QFileInfo(u"/dev/shm"_s).isDir())
        return std::make_unique<QTemporaryDir>(u"/dev/shm/bench_batchrows-XXXXXX"_s);
    return std::make_unique<QTemporaryDir>();
}

void waitUntilIdle(BatchRunner &runner)
{
    if (runner.status() != BatchRunner::Status::Running)
        return;
    QEventLoop loop;
    QObject::connect(&runner, &BatchRunner::statusChanged, &loop, [&loop](BatchRunner::Status status) {
        if (status != BatchRunner::Status::Running)
            loop.quit();
    });
    loop.exec();
}

double microsPerRow(qint64 nanoseconds, int rows)
{
    return double(nanoseconds) / 1000.0 / rows;
}

double windowRun(int count)
{
    auto dir = scratch();
    QTemporaryDir program;
    FakeBatchWorker worker;
    const QStringList list = addresses(0, count);
    for (const QString &url : list)
        worker.scripts[url] = {PickEnd::Picked, u"宝贝"_s + url.right(12)};
    RecordingDialogs dialogs;
    BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
    window.runner().setDelay([] { return 0; });
    window.runner().setParallel(BatchRunner::MaxParallel);
    window.setAddresses(list.join(u'\n'));
    window.setSaveFolder(dir->path());
    QElapsedTimer clock;
    clock.start();
    window.startClicked();
    waitUntilIdle(window.runner());
    return microsPerRow(clock.nsecsElapsed(), count);
}

double retryAll(int count)
{
    auto dir = scratch();
    QTemporaryDir program;
    FakeBatchWorker worker;
    QList<BatchRow> failed;
    for (const QString &url : addresses(0, count)) {
        BatchRow row;
        row.url = url;
        row.state = BatchState::NotProduct;
        failed << row;
    }
    BatchJournal(dir->path()).save(failed);
    RecordingDialogs dialogs;
    BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
    window.setSaveFolder(dir->path());
    window.startClicked(); // nothing waits: finished at once
    QElapsedTimer clock;
    clock.start();
    window.runner().retryFailed();
    const qint64 spent = clock.nsecsElapsed();
    window.stopTransfers();
    return microsPerRow(spent, count);
}

// The --batch road's answer to a finished row, as HeadlessBatch gives it.
double screenlessBookkeeping(int count)
{
    auto dir = scratch();
    FakeBatchWorker worker;
    const QStringList list = addresses(0, count);
    for (const QString &url : list)
        worker.scripts[url] = {PickEnd::Picked, u"宝贝"_s + url.right(12)};
    BatchRunner runner(&worker);
    runner.setDelay([] { return 0; });
    runner.setParallel(BatchRunner::MaxParallel);
    if (!runner.open(dir->path(), list))
        return -1;
    std::FILE *sink = std::fopen("/dev/null", "w");
    TerminalProgress progress(sink, true);
    qint64 spent = 0;
    QObject::connect(&runner, &BatchRunner::rowFinished, &runner, [&](int row) {
        QElapsedTimer clock;
        clock.start();
        std::fprintf(sink, "%s\n", batchJsonLine(runner.rows()[row]).constData());
        progress.show(runner.finishedCount(), int(runner.rows().size()));
        spent += clock.nsecsElapsed();
    });
    runner.start();
    waitUntilIdle(runner);
    progress.end();
    std::fclose(sink);
    return microsPerRow(spent, count);
}

double import(int count)
{
    QTemporaryDir program;
    const QString file = program.filePath(u"list.txt"_s);
    QFile list(file);
    if (!list.open(QIODevice::WriteOnly) || list.write(addresses(count, count).join(u'\n').toUtf8()) < 0)
        return -1;
    list.close();
    FakeBatchWorker worker;
    RecordingDialogs dialogs;
    BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
    window.setAddresses(addresses(0, count).join(u'\n'));
    QElapsedTimer clock;
    clock.start();
    window.importList(file);
    const qint64 spent = clock.nsecsElapsed();
    if (window.findChild<QPlainTextEdit *>(u"addresses"_s)->blockCount() != 2 * count)
        std::printf("import lost lines\n");
    return microsPerRow(spent, count);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("microseconds per row       %10s %10s\n", "100 rows", "10000 rows");
    // The best of three: the machine's other work only ever adds time.
    auto best = [](double (*measure)(int), int rows) {
        return std::min({measure(rows), measure(rows), measure(rows)});
    };
    auto line = [best](const char *what, double (*measure)(int)) {
        const double small = best(measure, 100);
        const double large = best(measure, 10000);
        std::printf("%-26s %10.1f %10.1f\n", what, small, large);
    };
    line("window run (row changes)", windowRun);
    line("retry failed (all rows)", retryAll);
    line("--batch bookkeeping", screenlessBookkeeping);
    line("import N into N", import);
    return 0;
}
