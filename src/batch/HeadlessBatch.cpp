#include "batch/HeadlessBatch.h"

#include "batch/BatchAddressStream.h"
#include "batch/BatchAddresses.h"
#include "batch/BatchRunner.h"
#include "batch/PickBatchWorker.h"
#include "platform/TerminalProgress.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace {

void printLine(const BatchRow &row)
{
    std::printf("%s\n", batchJsonLine(row).constData());
    std::fflush(stdout);
}

void drawBar(const BatchRunner &runner, TerminalProgress &progress)
{
    progress.show(runner.finishedCount(), int(runner.rows().size()));
}

bool allSaved(const BatchRunner &runner)
{
    return runner.tally().saved() == runner.rows().size();
}

QString noAddresses()
{
    return QStringLiteral("列表中没有宝贝地址");
}

QString summary(const BatchRunner &runner)
{
    return QStringLiteral("共%1个地址，已保存%2个，失败%3个")
        .arg(runner.rows().size())
        .arg(runner.tally().saved())
        .arg(runner.tally().failures());
}

} // namespace

int HeadlessBatch::run(Engine &engine, const Options &options, TerminalProgress &progress)
{
    QString error;
    BatchAddressStream stream;
    const bool streamed = BatchAddressStream::isStream(options.list);
    QStringList addresses;
    if (streamed)
        stream.open(options.list, &error);
    else
        addresses = BatchAddresses::readFile(options.list, &error);
    if (!error.isEmpty() || (!streamed && addresses.isEmpty())) {
        progress.say(QStringLiteral("pictorra: ") + options.list + QStringLiteral(": ")
                     + (error.isEmpty() ? noAddresses() : error));
        return 2;
    }
    PickBatchWorker worker(engine);
    BatchRunner runner(&worker);
    runner.setPauseOnBlock(false); // nobody is there to pass the check
    runner.setParallel(options.parallel);
    runner.setChoice(options.choice);
    if (options.delaySeconds >= 0)
        runner.setDelay([ms = int(options.delaySeconds * 1000)] { return ms; });
    if (!runner.open(QDir(options.saveFolder).absolutePath(), addresses, &error)) {
        progress.say(QStringLiteral("pictorra: ") + error);
        return 2;
    }
    // A resumed batch keeps the choice it started with: say so when this run would choose otherwise.
    const QString kept = runner.choice().describe();
    if (kept != options.choice.rulesOnly().describe())
        progress.say(QStringLiteral("pictorra: 此文件夹中的批量采集沿用开始时的选择"));
    progress.say(QStringLiteral("pictorra: 保存 ") + kept);
    for (const BatchRow &row : runner.rows()) {
        if (row.state == BatchState::AlreadySaved)
            printLine(row);
    }
    drawBar(runner, progress);
    QObject::connect(&runner, &BatchRunner::rowFinished, &runner, [&runner, &progress](int row) {
        printLine(runner.rows()[row]);
        drawBar(runner, progress);
    });
    // A list still being written ends the run only once it has ended too.
    auto endIfIdle = [&runner, &progress, &stream, streamed](BatchRunner::Status status, const QString &reason) {
        if (!reason.isEmpty())
            progress.say(QStringLiteral("pictorra: ") + reason);
        if (status == BatchRunner::Status::Finished && streamed && !stream.atEnd())
            return;
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
    QObject::connect(&stream, &BatchAddressStream::arrived, &runner, [&runner, &progress](const QStringList &list) {
        runner.add(list);
        drawBar(runner, progress);
    });
    QObject::connect(&stream, &BatchAddressStream::ended, &runner, [&runner, endIfIdle] {
        if (runner.status() != BatchRunner::Status::Running)
            endIfIdle(runner.status(), {});
    });
    // A run again on the same journal also tries what failed last time; what was saved stays.
    runner.retryFailed();
    if (runner.status() == BatchRunner::Status::Running || (streamed && !stream.atEnd()))
        QCoreApplication::exec();
    progress.end();
    if (streamed && runner.rows().isEmpty()) {
        progress.say(QStringLiteral("pictorra: ") + options.list + QStringLiteral(": ") + noAddresses());
        return 2;
    }
    progress.say(summary(runner));
    return allSaved(runner) ? 0 : 1;
}
