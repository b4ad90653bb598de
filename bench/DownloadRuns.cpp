#include "DownloadRuns.h"

#include "download/PictureFetcher.h"
#include "download/TabDownload.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTimer>

namespace {
constexpr int RunLimitMs = 120000;
}

TimedRun RunTabDownload(const QString &folder, const QStringList &mainPics, const QStringList &descPics,
                        int parallel)
{
    QNetworkAccessManager network;
    PictureFetcher fetcher(&network);
    TabDownload download(&fetcher);
    download.setParallel(parallel);
    QEventLoop loop;
    TimedRun run;
    QElapsedTimer clock;
    QObject::connect(&download, &TabDownload::finished, &loop, [&](const DownloadSummary &summary) {
        run.seconds = double(clock.nsecsElapsed()) / 1e9;
        run.summary = summary;
        loop.quit();
    });
    QTimer::singleShot(RunLimitMs, &loop, [&] {
        run.error = QStringLiteral("no end after %1 s").arg(RunLimitMs / 1000);
        loop.quit();
    });
    clock.start();
    download.start(folder, QStringLiteral("bench"), mainPics, descPics);
    loop.exec();
    if (run.seconds >= 0 && run.summary.outcome != DownloadSummary::Outcome::Completed)
        run.error = QStringLiteral("the download did not complete: %1").arg(run.summary.line);
    return run;
}

TimedRun RunCurl(const QString &folder, const QStringList &urls, int parallelMax)
{
    TimedRun run;
    // A config file keeps the command line short; -q keeps ~/.curlrc out.
    const QString config = folder + QStringLiteral("/urls.curl");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        run.error = file.errorString();
        return run;
    }
    for (int i = 0; i < urls.size(); ++i)
        file.write(QStringLiteral("url = \"%1\"\noutput = \"%2/f%3.jpg\"\n").arg(urls.at(i), folder).arg(i).toUtf8());
    file.close();
    QProcess curl;
    QElapsedTimer clock;
    clock.start();
    QStringList arguments{QStringLiteral("-q"), QStringLiteral("-s"), QStringLiteral("-K"), config};
    if (parallelMax > 0)
        arguments << QStringLiteral("--parallel") << QStringLiteral("--parallel-max") << QString::number(parallelMax);
    curl.start(QStringLiteral("curl"), arguments);
    const bool ended = curl.waitForFinished(RunLimitMs);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    if (!ended || curl.exitStatus() != QProcess::NormalExit || curl.exitCode() != 0) {
        run.error = QStringLiteral("curl failed (exit %1): %2")
                        .arg(curl.exitCode())
                        .arg(curl.error() == QProcess::FailedToStart ? QStringLiteral("not found")
                                                                     : QString::fromLocal8Bit(curl.readAllStandardError()));
        run.seconds = -1;
    }
    return run;
}

bool HoldsPictures(const QString &folder, const std::vector<QByteArray> &pictures,
                   const std::function<QString(int)> &name, QString *error)
{
    for (int i = 0; i < int(pictures.size()); ++i) {
        QFile file(folder + u'/' + name(i));
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != pictures.at(size_t(i))) {
            *error = QStringLiteral("%1 is missing or differs").arg(file.fileName());
            return false;
        }
    }
    return true;
}
