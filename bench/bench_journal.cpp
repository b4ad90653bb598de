// The batch journal's cost per item: bytes written (snapshot, log and the
// folding of one into the other) while a runner works through lists of 100
// and 10,000 addresses with a stand-in worker, and items per second. Then
// how long a one-item batch takes to start behind a change log of a million
// lines (one row changed over and over, and a million rows added), and the
// memory the program holds after.

#include "../tests/batch/FakeBatchWorker.h"
#include "batch/BatchRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void measure(int count)
{
    QTemporaryDir dir;
    FakeBatchWorker worker;
    QStringList list;
    for (int i = 0; i < count; ++i) {
        list << u"http://shop.test/offer/%1.html"_s.arg(1000000 + i);
        worker.scripts[list.last()] = {BatchItemWorker::PickEnd::Picked, u"宝贝%1"_s.arg(i)};
    }
    BatchRunner runner(&worker);
    runner.setDelay([] { return 0; });
    runner.setParallel(BatchRunner::MaxParallel);
    QElapsedTimer clock;
    clock.start();
    if (!runner.open(dir.path(), list)) {
        std::printf("cannot open %s\n", qPrintable(dir.path()));
        return;
    }
    const qint64 opened = runner.journalBytesWritten();
    QEventLoop loop;
    QObject::connect(&runner, &BatchRunner::statusChanged, &loop, [&loop](BatchRunner::Status status) {
        if (status == BatchRunner::Status::Finished || status == BatchRunner::Status::Paused)
            loop.quit();
    });
    runner.start();
    loop.exec();
    const double seconds = double(clock.elapsed()) / 1000.0;
    const qint64 total = runner.journalBytesWritten();
    std::printf("%6d addresses: open %9lld bytes, then %7.0f bytes per item (%lld in all), %7.1f items/s\n",
                count, static_cast<long long>(opened), double(total - opened) / count,
                static_cast<long long>(total), count / seconds);
}

long residentKilobytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// A log as a batch killed at the wrong moments (or someone else) could leave.
void writeLongLog(const QString &folder, int lines, bool addRows)
{
    QFile snapshot(folder + u"/批量采集.json"_s);
    snapshot.open(QIODevice::WriteOnly);
    snapshot.write(R"({"rows":[{"url":"http://shop.test/offer/1.html","state":"failed"}],"log":"bench"})");
    QFile log(folder + u"/批量采集.json.log"_s);
    log.open(QIODevice::WriteOnly);
    log.write("{\"log\":\"bench\"}\n");
    for (int i = 0; i < lines; ++i)
        log.write(QByteArray(R"({"url":"http://shop.test/offer/)") + QByteArray::number(addRows ? 2 + i : 1)
                  + R"(.html","title":"宝贝","state":"failed","saved":1,"failed":2,"folder":"宝贝","note":"HTTP status 500","i":)"
                  + QByteArray::number(addRows ? 1 + i : 0) + "}\n");
}

void measureLongLog(int lines, bool addRows)
{
    QTemporaryDir dir;
    writeLongLog(dir.path(), lines, addRows);
    FakeBatchWorker worker;
    BatchRunner runner(&worker);
    runner.setDelay([] { return 0; });
    QElapsedTimer clock;
    clock.start();
    QString error;
    if (!runner.open(dir.path(), {u"http://shop.test/offer/1.html"_s}, &error)) {
        std::printf("cannot open: %s\n", qPrintable(error));
        return;
    }
    const qint64 opened = clock.elapsed();
    runner.retryFailed(); // as --batch does
    std::printf("%7d log lines (%s): open %6lld ms, first item asked for at %6lld ms, %lld rows, %ld kB resident\n",
                lines, addRows ? "rows added" : "one row changed", static_cast<long long>(opened),
                static_cast<long long>(worker.picks.isEmpty() ? -1 : clock.elapsed()),
                static_cast<long long>(runner.rows().size()), residentKilobytes());
    runner.stop();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool onlyLog = argc > 1 && QByteArray(argv[1]) == "--log";
    if (!onlyLog)
        for (int count : {100, 10000})
            measure(count);
    measureLongLog(1000000, false);
    measureLongLog(1000000, true);
    return 0;
}
