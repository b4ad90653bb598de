#include "batch/HeadlessBatch.h"

#include "batch/BatchAddresses.h"
#include "batch/BatchRunner.h"
#include "batch/PickBatchWorker.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

void printLine(const BatchRow &row)
{
    std::printf("%s\n", batchJsonLine(row).constData());
    std::fflush(stdout);
}

void drawBar(const BatchRunner &runner)
{
    constexpr int Width = 30;
    const int total = int(runner.rows().size());
    const int done = runner.finishedCount();
    const int filled = total > 0 ? done * Width / total : Width;
    std::fprintf(stderr, "\r[%s%s] %d/%d", QByteArray(filled, '#').constData(),
                 QByteArray(Width - filled, ' ').constData(), done, total);
    std::fflush(stderr);
}

bool allSaved(const BatchRunner &runner)
{
    return std::all_of(runner.rows().cbegin(), runner.rows().cend(), [](const BatchRow &row) {
        return row.state == BatchState::Done || row.state == BatchState::AlreadySaved;
    });
}

} // namespace

int HeadlessBatch::run(MainForm &window, const Options &options)
{
    QString error;
    const QStringList addresses = BatchAddresses::readFile(options.list, &error);
    if (!error.isEmpty() || addresses.isEmpty()) {
        std::fprintf(stderr, "pictorra: %s: %s\n", qPrintable(options.list),
                     qPrintable(error.isEmpty() ? QStringLiteral("no product addresses") : error));
        return 2;
    }
    PickBatchWorker worker(window);
    BatchRunner runner(&worker);
    runner.setPauseOnBlock(false); // nobody is there to pass the check
    runner.setParallel(options.parallel);
    if (options.delaySeconds >= 0)
        runner.setDelay([ms = int(options.delaySeconds * 1000)] { return ms; });
    if (!runner.open(QDir(options.saveFolder).absolutePath(), addresses, &error)) {
        std::fprintf(stderr, "pictorra: %s\n", qPrintable(error));
        return 2;
    }
#ifdef Q_OS_UNIX
    const bool terminal = ::isatty(2);
#else
    const bool terminal = false;
#endif
    for (const BatchRow &row : runner.rows()) {
        if (row.state == BatchState::AlreadySaved)
            printLine(row);
    }
    QObject::connect(&runner, &BatchRunner::rowFinished, &runner, [&runner, terminal](int row) {
        printLine(runner.rows()[row]);
        if (terminal)
            drawBar(runner);
    });
    auto endIfIdle = [&runner](BatchRunner::Status status, const QString &reason) {
        if (!reason.isEmpty())
            std::fprintf(stderr, "pictorra: %s\n", qPrintable(reason));
        if (status == BatchRunner::Status::Finished || runner.runningCount() == 0)
            QCoreApplication::exit(0);
    };
    QObject::connect(&runner, &BatchRunner::statusChanged, &runner,
                     [&runner, endIfIdle](BatchRunner::Status status, const QString &reason) {
                         if (status != BatchRunner::Status::Running)
                             endIfIdle(status, reason);
                     });
    // A pause (the line is down, the journal cannot be written) waits for the
    // items under way, then ends the run.
    QObject::connect(&runner, &BatchRunner::rowFinished, &runner, [&runner, endIfIdle](int) {
        if (runner.status() == BatchRunner::Status::Paused && runner.runningCount() == 0)
            endIfIdle(runner.status(), {});
    }, Qt::QueuedConnection);
    // A run again on the same journal also tries what failed last time; what was saved stays.
    runner.retryFailed();
    if (runner.status() == BatchRunner::Status::Running)
        QCoreApplication::exec();
    if (terminal)
        std::fputs("\n", stderr);
    return allSaved(runner) ? 0 : 1;
}
