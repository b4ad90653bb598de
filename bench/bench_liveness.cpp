// Window liveness during a download: a 10 ms timer on the main thread, and
// the longest gap between two of its ticks while pictures arrive.

#include "DownloadRuns.h"
#include "PictureShop.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

struct Ticks
{
    double longestGapMs = 0;
    int count = 0;
};

// Runs `work` (which spins its own event loop) under a 10 ms timer.
Ticks watchTicks(const std::function<void()> &work)
{
    Ticks ticks;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(10);
    QElapsedTimer clock;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        ticks.longestGapMs = std::max(ticks.longestGapMs, double(clock.nsecsElapsed()) / 1e6);
        ++ticks.count;
        clock.restart();
    });
    clock.start();
    timer.start();
    work();
    timer.stop();
    // The time since the last tick counts too: work may have ended on a stall.
    ticks.longestGapMs = std::max(ticks.longestGapMs, double(clock.nsecsElapsed()) / 1e6);
    return ticks;
}

bool report(const char *label, const TimedRun &run, const Ticks &ticks)
{
    if (!run.error.isEmpty() || run.summary.failed > 0) {
        std::printf("%s: the download failed: %s\n", label, qPrintable(run.error));
        return false;
    }
    std::printf("%s: download %.2f s, %d ticks, longest gap %.1f ms (goal < 100 ms: %s)\n", label, run.seconds,
                ticks.count, ticks.longestGapMs, ticks.longestGapMs < 100 ? "met" : "NOT MET");
    std::fflush(stdout);
    return ticks.longestGapMs < 100;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    if (!root.isValid())
        return 2;

    const Ticks idle = watchTicks([] {
        QEventLoop loop;
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
    });
    std::printf("idle event loop, 1 s: %d ticks, longest gap %.1f ms (this machine's timer jitter)\n", idle.count,
                idle.longestGapMs);

    // 100 KiB in 2 KiB pieces 100 ms apart: about 5 s. A description picture,
    // so the width check runs at its end as well.
    PictureShop dribbling(0, 0);
    const QByteArray slow = NoisyJpeg(750, 100 * 1024, 7);
    dribbling.server().serveDribble(u"/slow.jpg"_s, slow, 2048, 100, u"image/jpeg"_s);
    TimedRun run;
    Ticks ticks = watchTicks([&] { run = RunTabDownload(root.path(), {}, {dribbling.server().url(u"/slow.jpg"_s)}); });
    bool ok = report("one 100KB picture dribbling in over ~5 s", run, ticks);
    QDir(root.filePath(u"bench"_s)).removeRecursively();

    PictureShop shop(240, 60 * 1024);
    shop.server().setAnswerDelay(50);
    ticks = watchTicks([&] { run = RunTabDownload(root.path(), shop.urls(), {}); });
    ok = report("240x60KB pictures, 50 ms before each answer, 16 at once", run, ticks) && ok;
    QDir(root.filePath(u"bench"_s)).removeRecursively();
    shop.server().setAnswerDelay(0);
    ticks = watchTicks([&] { run = RunTabDownload(root.path(), {}, shop.urls()); });
    ok = report("240x60KB description pictures at full speed, 16 at once", run, ticks) && ok;
    return ok ? 0 : 1;
}
