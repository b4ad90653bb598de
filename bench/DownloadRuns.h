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
// network manager (so it opens its own connection): from start() to
// finished(). The item folder is "bench" inside `folder`.
TimedRun RunTabDownload(const QString &folder, const QStringList &mainPics, const QStringList &descPics);

// One curl process fetching `urls` one after another over one connection into
// `folder` as f0.jpg, f1.jpg …: from the process start to its end.
TimedRun RunCurl(const QString &folder, const QStringList &urls);

// Whether `folder` holds exactly `pictures`, the i-th as name(i), byte for byte.
bool HoldsPictures(const QString &folder, const std::vector<QByteArray> &pictures,
                   const std::function<QString(int)> &name, QString *error);
