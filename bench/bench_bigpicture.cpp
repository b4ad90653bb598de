// One endless-looking picture: a server that answers with --mb MiB (2048 by
// default) as fast as loopback goes. Run under /usr/bin/time -v to see the
// peak memory: the reply's read buffer holds back the server, so the program
// stays small whether the picture is refused at the size cap or, with
// --cap-mb above --mb, streamed whole to the disk.

#include "download/PictureFetcher.h"
#include "support/LoopbackServer.h"

#include <httplib.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const auto argument = [&](const QString &name, qint64 fallback) {
        const qsizetype at = args.indexOf(name);
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong() : fallback;
    };
    const qint64 total = argument(u"--mb"_s, 2048) << 20;
    const qint64 cap = argument(u"--cap-mb"_s, FetchLimits().maxBytes >> 20) << 20;
    // --chunked: no Content-Length, so only the bytes themselves tell the size.
    const bool chunked = args.contains(u"--chunked"_s);
    LoopbackServer server;
    server.serveHandler(u"/big.jpg"_s, [total, chunked](const httplib::Request &, httplib::Response &res) {
        auto sent = std::make_shared<qint64>(0);
        auto provide = [total, sent](size_t, size_t length, httplib::DataSink &sink) {
            static char block[64 * 1024];
            block[0] = char(0xFF), block[1] = char(0xD8), block[2] = char(0xFF);
            if (*sent > 0)
                std::memset(block, 'x', 3);
            const size_t n = std::min<size_t>({length, sizeof block, size_t(total - *sent)});
            *sent += qint64(n);
            if (n == 0) {
                sink.done();
                return true;
            }
            return sink.write(block, n);
        };
        if (chunked)
            res.set_chunked_content_provider("image/jpeg", [provide](size_t offset, httplib::DataSink &sink) {
                return provide(offset, 64 * 1024, sink);
            });
        else
            res.set_content_provider(size_t(total), "image/jpeg", provide);
    });
    QTemporaryDir dir;
    QNetworkAccessManager network;
    PictureFetcher fetcher(&network);
    FetchLimits limits;
    limits.maxBytes = cap;
    fetcher.setLimits(limits);
    QElapsedTimer clock;
    clock.start();
    fetcher.DownloadPicture(server.url(u"/big.jpg"_s), dir.filePath(u"big.jpg"_s), nullptr, [&](const FetchResult &r) {
        std::printf("%lld MiB answer, cap %lld MiB: %s after %.1f s, %lld bytes written%s%s\n", total >> 20, cap >> 20,
                    r.ok ? "saved" : "failed", clock.elapsed() / 1000.0, r.bytes, r.ok ? "" : ": ",
                    qPrintable(r.error));
        app.quit();
    });
    return app.exec();
}
