#pragma once

#include "download/DownloadSummary.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

struct TimedRun
{
    double seconds = -1; // negative when the run did not finish
    DownloadSummary summary;
    QString error;
};

// One whole per-item download, as the Download command runs it, on a fresh
// network manager (so it opens its own connections): from start() to
// finished(), `parallel` pictures at once (1: one after another). The item
// folder is "bench" inside `folder`.
TimedRun RunTabDownload(const QString &folder, const QStringList &mainPics, const QStringList &descPics,
                        int parallel = 16);

// One curl process fetching `urls` into `folder` as f0.jpg, f1.jpg …, one
// after another over one connection, or `parallelMax` at once when it is
// above 0: from the process start to its end.
TimedRun RunCurl(const QString &folder, const QStringList &urls, int parallelMax = 0);

// Whether `folder` holds exactly `pictures`, the i-th as name(i), byte for byte.
bool HoldsPictures(const QString &folder, const std::vector<QByteArray> &pictures,
                   const std::function<QString(int)> &name, QString *error);
