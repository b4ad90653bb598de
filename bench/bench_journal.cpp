// The batch journal's cost per item: bytes written (snapshot, log and the
// folding of one into the other) while a runner works through lists of 100
// and 10,000 addresses with a stand-in worker, and items per second.

#include "../tests/batch/FakeBatchWorker.h"
#include "batch/BatchRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    for (int count : {100, 10000})
        measure(count);
    return 0;
}
