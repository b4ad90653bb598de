// 采集本页地址's figures. A shop of 100 offers on three pages (下一页 links)
// collected from a loopback server on the real engine with the program's own
// timing: the whole collection, with the batch's default pause between pages
// (a random 2 to 5 s; a first argument sets a fixed one, in seconds), and the
// part the pages took. Then 10,000 collected addresses
// added to the batch window: to an idle list, and to a batch under way (its
// rows, journal and table); the longest the event loop then went unserved is
// what the user would feel.

#include "../tests/batch/FakeBatchWorker.h"
#include "../tests/support/RecordingDialogs.h"
#include "ListPages.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "collecting/Collection.h"
#include "engine/Engine.h"
#include "main_window/BatchWindow.h"
#include "platform/BrowserProfile.h"
#include "support/LoopbackServer.h"
#include "support/TestMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

void collectShop(double pauseSeconds)
{
    // The pauses as drawn, summed: a random one differs from run to run.
    qint64 pausedMs = 0;
    const std::function<int()> draw = pauseSeconds >= 0 ? std::function<int()>([ms = int(pauseSeconds * 1000)] { return ms; })
                                                        : BatchRunner::randomDelay(2000, 5000);
    LoopbackServer server;
    server.serve(u"/shop/1.html"_s, ListPages::shopPage(1, 34, u"2.html"_s));
    server.serve(u"/shop/2.html"_s, ListPages::shopPage(35, 33, u"3.html"_s));
    server.serve(u"/shop/3.html"_s, ListPages::shopPage(68, 33, {}));
    Engine engine(Intervals(), BrowserProfile::offTheRecord(qApp));
    Collection collection(engine);
    collection.setPages(10);
    collection.setDelay([&pausedMs, draw] {
        const int ms = draw();
        pausedMs += ms;
        return ms;
    });
    QEventLoop loop;
    QObject::connect(&collection, &Collection::finished, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    collection.start(server.url(u"/shop/1.html"_s));
    loop.exec();
    const double seconds = clock.elapsed() / 1000.0;
    const double paused = pausedMs / 1000.0;
    std::printf("3-page shop: %d pages, %lld offers in %.1f s (%.1f s of it the pauses between pages, %.1f s the pages)\n",
                collection.pagesRead(), qlonglong(collection.addresses().size()), seconds, paused, seconds - paused);
}

QStringList collected(int from, int count)
{
    QStringList list;
    for (int n = from; n < from + count; ++n)
        list << u"https://detail.1688.com/offer/%1.html"_s.arg(5000000 + n);
    return list;
}

// The time of one add, and the longest gap of a 10 ms timer around it.
void timeAdd(BatchWindow &window, const QStringList &list, const char *what)
{
    QElapsedTimer gap;
    qint64 longest = 0;
    QTimer beat;
    beat.setInterval(10);
    QObject::connect(&beat, &QTimer::timeout, &beat, [&] {
        longest = std::max(longest, gap.restart());
    });
    gap.start();
    beat.start();
    QElapsedTimer clock;
    clock.start();
    const int rowsBefore = window.model().rowCount();
    const int added = window.addCollected(list, u"共1页"_s);
    // A batch under way takes them a few at a time: until its table has them all.
    const bool running = window.runner().status() == BatchRunner::Status::Running;
    while (running && window.model().rowCount() < rowsBefore + added)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 ms = clock.elapsed();
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    longest = std::max(longest, gap.elapsed());
    std::printf("10,000 addresses into %s: %d new in %lld ms; the window went unserved for at most %lld ms; "
                "table rows %d\n", what, added, qlonglong(ms), qlonglong(longest), window.model().rowCount());
}

void addToWindow()
{
    QTemporaryDir program;
    QTemporaryDir save;
    FakeBatchWorker worker;
    worker.scripts[u"https://detail.1688.com/offer/1.html"_s] = {BatchItemWorker::PickEnd::Picked, u"宝贝"_s, 0, true};
    RecordingDialogs dialogs;
    BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
    window.runner().setDelay([] { return 0; });
    window.show();
    timeAdd(window, collected(0, 10000), "an idle list");
    window.setAddresses(u"https://detail.1688.com/offer/1.html"_s);
    window.setSaveFolder(save.path());
    window.startClicked();
    QEventLoop held;
    QTimer::singleShot(200, &held, &QEventLoop::quit);
    held.exec();
    timeAdd(window, collected(20000, 10000), "a batch under way");
    window.stopTransfers();
}

} // namespace

int main(int argc, char *argv[])
{
    pictorraPrepareTestEnvironment();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const double pause = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : -1.0;
    // A second argument "window" leaves the shop out (for a profiler's look at the window).
    if (argc <= 2 || qstrcmp(argv[2], "window") != 0)
        collectShop(pause);
    addToWindow();
    return 0;
}
