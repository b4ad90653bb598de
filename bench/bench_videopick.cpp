// Picking and saving a today's page that has a gallery video: the pick on a
// stand-in page fed with the real page's inline data (the design reading, the
// description file and the hand-over to the result), then the save of the
// picked item (pictures, the video and the product files) from a loopback
// server. Usage: bench_videopick [REAL_PAGE_FOLDER]

#include "download/PictureFetcher.h"
#include "download/TabDownload.h"
#include "picking/Pick.h"
#include "picking/designs/PageDesigns.h"
#include "support/FakeBrowserPage.h"
#include "support/LoopbackServer.h"

#include <httplib.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString readText(const QString &path)
{
    return QString::fromUtf8(readBytes(path));
}

// The inline scripts carrying one of the designs' markers, as the browser hands them over.
QStringList markedScripts(const QString &html, const QStringList &markers)
{
    static const QRegularExpression script(QStringLiteral("<script[^>]*>(.*?)</script>"),
                                           QRegularExpression::DotMatchesEverythingOption);
    QStringList out;
    for (auto it = script.globalMatch(html); it.hasNext();) {
        const QString text = it.next().captured(1);
        if (std::any_of(markers.begin(), markers.end(), [&text](const QString &m) { return text.contains(m); }))
            out << text;
    }
    return out;
}

struct Figures
{
    double bestMs = 0;
    double medianMs = 0;
};

Figures figures(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QStringLiteral("/work/shared/real-pages/1007511748868");
    const QString html = readText(folder + QStringLiteral("/page.html"));
    const QJsonObject summary = QJsonDocument::fromJson(readText(folder + QStringLiteral("/summary.json")).toUtf8()).object();
    if (html.isEmpty() || summary.isEmpty()) {
        std::fprintf(stderr, "no real page in %s\n", qPrintable(folder));
        return 1;
    }
    const PageDesigns designs;
    FakeBrowserPage page;
    page.facts.hasDocument = true;
    page.facts.readyState = QStringLiteral("complete");
    page.facts.url = QStringLiteral("https://detail.1688.com/offer/%1.html").arg(summary.value(QStringLiteral("offerId")).toVariant().toString());
    page.facts.scripts = markedScripts(html, designs.scriptMarkers());
    page.location = page.facts.url;
    page.document.title = summary.value(QStringLiteral("title")).toString();
    page.files.insert(summary.value(QStringLiteral("detailUrl")).toString(), readText(folder + QStringLiteral("/description.js")).toUtf8());

    Intervals intervals = Intervals::scaled(0.001);
    std::vector<double> pickMs;
    PickOutcome last;
    for (int run = 0; run < 300; ++run) {
        Pick pick(&page, designs, intervals);
        QEventLoop loop;
        QObject::connect(&pick, &Pick::ended, &loop, [&](const PickOutcome &outcome) {
            last = outcome;
            loop.quit();
        });
        const auto start = Clock::now();
        pick.start(page.facts.url);
        loop.exec();
        pickMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    if (!last.picked()) {
        std::fprintf(stderr, "the pick did not complete: %s\n", qPrintable(last.message));
        return 1;
    }
    const Figures pick = figures(pickMs);
    std::printf("pick of a today's page: best %.3f ms, median %.3f ms (300 runs; %lld pictures)\n", pick.bestMs,
                pick.medianMs, qlonglong(last.result.addresses(MediaKind::Main).size() + last.result.addresses(MediaKind::Sku).size() + last.result.addresses(MediaKind::Description).size()));
    // The save: every picture, the video and the data files, from loopback.
    LoopbackServer server;
    const std::string picture = readBytes(QStringLiteral("%1/../picture.jpg").arg(folder)).toStdString();
    const std::string video = readBytes(QStringLiteral("%1/../video.mp4").arg(folder)).toStdString();
    server.serveHandler(QStringLiteral("/cbu01/.*"), [picture](const httplib::Request &, httplib::Response &response) {
        response.set_content(picture, "image/jpeg");
    });
    server.serveHandler(QStringLiteral("/video/.*"), [video](const httplib::Request &, httplib::Response &response) {
        response.set_content(video, "video/mp4");
    });
    PickResult result = last.result;
    auto local = [&server](QStringList list) {
        for (QString &address : list)
            address.replace(QStringLiteral("https://cbu01.alicdn.com/"), server.url(QStringLiteral("/cbu01/")))
                .replace(QStringLiteral("https://cloud.video.taobao.com/"), server.url(QStringLiteral("/video/")));
        return list;
    };
    result.addresses(MediaKind::Main) = local(result.addresses(MediaKind::Main));
    result.addresses(MediaKind::Sku) = local(result.addresses(MediaKind::Sku));
    result.addresses(MediaKind::Description) = local(result.addresses(MediaKind::Description));
    result.addresses(MediaKind::Video) = local(result.addresses(MediaKind::Video));
    QNetworkAccessManager network;
    PictureFetcher fetcher(&network);
    std::vector<double> saveMs;
    DownloadSummary saved;
    for (int run = 0; run < 5; ++run) {
        QTemporaryDir saveFolder;
        TabDownload download(&fetcher);
        QEventLoop loop;
        QObject::connect(&download, &TabDownload::finished, &loop, [&](const DownloadSummary &s) {
            saved = s;
            loop.quit();
        });
        const auto start = Clock::now();
        download.start(saveFolder.path(), result);
        loop.exec();
        saveMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const Figures save = figures(saveMs);
    std::printf("save of the item: best %.1f ms, median %.1f ms (5 runs; %d pictures, %d video, %d failed, data files %s)\n",
                save.bestMs, save.medianMs, saved.saved, saved.kept[MediaKind::Video], saved.failed,
                saved.dataError.isEmpty() ? "written" : qPrintable(saved.dataError));
    return saved.kept[MediaKind::Video] == 1 && saved.failed == 0 ? 0 : 1;
}
