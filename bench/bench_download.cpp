// Whole per-item download against curl: the same pictures from the same
// loopback server into a fresh folder each run. Ours fetches in parallel (as
// the Download command does) and one by one (as it did before); curl fetches
// one by one over one connection, and with --parallel --parallel-max 6. The
// server waits --delay ms before each answer, as a distant picture server's
// round trip would. Runs alternate so that all see the same machine.

#include "BenchStats.h"
#include "DownloadRuns.h"
#include "PictureShop.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

enum class Runner { Ours, OursSerial, Curl, CurlParallel };

QString freshFolder(const QTemporaryDir &root, const QString &name)
{
    const QString path = root.filePath(name);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

// One run, checked byte for byte; the time, or -1.
double runOnce(const PictureShop &shop, const QTemporaryDir &root, Runner runner, bool asDescription)
{
    const bool curl = runner == Runner::Curl || runner == Runner::CurlParallel;
    const QString folder = freshFolder(root, curl ? u"curl"_s : u"ours"_s);
    const QStringList none;
    const TimedRun run = curl ? RunCurl(folder, shop.urls(), runner == Runner::CurlParallel ? 6 : 0)
                              : RunTabDownload(folder, asDescription ? none : shop.urls(),
                                               asDescription ? shop.urls() : none, runner == Runner::Ours ? 16 : 1);
    QString error = run.error;
    const auto name = [&](int i) {
        if (curl)
            return u"f%1.jpg"_s.arg(i);
        return asDescription ? u"bench/描述图/描述图%1.jpg"_s.arg(i + 1) : u"bench/主图/主图%1.jpg"_s.arg(i + 1);
    };
    if (error.isEmpty())
        HoldsPictures(folder, shop.pictures(), name, &error);
    QDir(folder).removeRecursively();
    if (!error.isEmpty()) {
        std::printf("  run failed: %s\n", qPrintable(error));
        return -1;
    }
    return run.seconds;
}

bool compare(const PictureShop &shop, const QTemporaryDir &root, const char *label, bool asDescription, int runs,
             bool withSerial)
{
    std::vector<Runner> runners{Runner::Ours, Runner::CurlParallel, Runner::Curl};
    if (withSerial)
        runners.push_back(Runner::OursSerial);
    // One untimed run each first: libraries, plugins and the curl binary are
    // loaded and cached before anything is measured.
    for (Runner r : runners)
        if (runOnce(shop, root, r, asDescription) < 0)
            return false;
    std::vector<std::vector<double>> times(runners.size());
    for (int i = 0; i < runs; ++i)
        for (size_t r = 0; r < runners.size(); ++r) {
            times[r].push_back(runOnce(shop, root, runners[r], asDescription));
            if (times[r].back() < 0)
                return false;
        }
    const BenchFigures ours = FiguresOf(times[0]), parallel = FiguresOf(times[1]), serial = FiguresOf(times[2]);
    const double ratio = ours.median / parallel.median;
    std::printf("%s: ours %.3f s (best %.3f); curl --parallel-max 6 %.3f s (best %.3f); curl one by one %.3f s",
                label, ours.median, ours.best, parallel.median, parallel.best, serial.median);
    if (withSerial)
        std::printf("; ours one by one %.3f s", FiguresOf(times[3]).median);
    std::printf(" (medians of %d). ours / curl --parallel = %.2f (goal <= 1.2: %s)\n", runs, ratio,
                ratio <= 1.2 ? "met" : "NOT MET");
    std::fflush(stdout);
    return true;
}

int argument(const QStringList &args, const QString &name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int count = argument(args, u"--count"_s, 240);
    const int size = argument(args, u"--size-kb"_s, 60);
    const int delay = argument(args, u"--delay"_s, 50);
    const int runs = argument(args, u"--runs"_s, 3);
    PictureShop shop(count, size * 1024);
    QTemporaryDir root;
    if (!root.isValid()) {
        std::printf("cannot make a temporary folder\n");
        return 2;
    }
    std::printf("%d pictures of %d KB from a loopback server\n", count, size);
    shop.server().setAnswerDelay(delay);
    const QByteArray delayed = u"%1 ms before each answer, main list"_s.arg(delay).toUtf8();
    bool ok = compare(shop, root, delayed.constData(), false, runs, true);
    shop.server().setAnswerDelay(0);
    ok = compare(shop, root, "no delay, main list", false, runs, true) && ok;
    ok = compare(shop, root, "no delay, description list (width checked)", true, runs, false) && ok;
    return ok ? 0 : 1;
}
