// Whole per-item download against curl: the same pictures from the same
// loopback server, one after another over one connection, into a fresh
// folder each run. Runs alternate so that both see the same machine.

#include "BenchStats.h"
#include "DownloadRuns.h"
#include "PictureShop.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

struct Comparison
{
    const char *label;
    bool asDescription; // description pictures go through the width check
};

QString freshFolder(const QTemporaryDir &root, const QString &name)
{
    const QString path = root.filePath(name);
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

// One run of ours or curl, checked byte for byte; the time, or -1.
double runOnce(const PictureShop &shop, const QTemporaryDir &root, bool curl, bool asDescription)
{
    const QString folder = freshFolder(root, curl ? u"curl"_s : u"ours"_s);
    const QStringList none;
    const TimedRun run = curl ? RunCurl(folder, shop.urls())
                              : RunTabDownload(folder, asDescription ? none : shop.urls(),
                                               asDescription ? shop.urls() : none);
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
        std::printf("  %s run failed: %s\n", curl ? "curl" : "ours", qPrintable(error));
        return -1;
    }
    return run.seconds;
}

bool compare(const PictureShop &shop, const QTemporaryDir &root, const Comparison &what, int runs)
{
    // One untimed run each first: libraries, plugins and the curl binary are
    // loaded and cached before anything is measured.
    if (runOnce(shop, root, false, what.asDescription) < 0 || runOnce(shop, root, true, false) < 0)
        return false;
    std::vector<double> ours, curl;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(runOnce(shop, root, false, what.asDescription));
        curl.push_back(runOnce(shop, root, true, false));
        if (ours.back() < 0 || curl.back() < 0)
            return false;
    }
    const BenchFigures o = FiguresOf(ours), c = FiguresOf(curl);
    const double ratio = o.median / c.median;
    std::printf("download %dx%dKB %s: ours best %.3f s median %.3f s; curl best %.3f s median %.3f s; "
                "ratio %.2f (medians; best/best %.2f) (goal <= 1.3: %s)\n",
                int(shop.pictures().size()), int(shop.pictures().front().size() / 1024), what.label, o.best,
                o.median, c.best, c.median, ratio, o.best / c.best, ratio <= 1.3 ? "met" : "NOT MET");
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
    const int count = argument(args, u"--count"_s, 200);
    const int runs = argument(args, u"--runs"_s, 5);
    const PictureShop shop(count, 100 * 1024);
    QTemporaryDir root;
    if (!root.isValid()) {
        std::printf("cannot make a temporary folder\n");
        return 2;
    }
    bool ok = compare(shop, root, {"main list", false}, runs);
    ok = compare(shop, root, {"description list (width checked)", true}, runs) && ok;
    return ok ? 0 : 1;
}
