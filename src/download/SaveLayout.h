#pragma once

#include "download/DownloadSummary.h"
#include "picking/PictureFileName.h"

#include <QString>

// Where an item's pictures go and what its message list says about them.
// Paths are joined with "/" as they stand: no cleaning, no normalisation.

// Creates the first free one of path, path1, path2 … (the counter replaces
// everything after baseLength characters) and returns it. A name held by a
// file counts as taken. The parent must exist. The last name of the base is
// made an item name first (see ItemName). Returns an empty string and sets
// *error when no candidate can be created, when the system's answer
// contradicts what it said of the name a moment before, or after
// MaxFolderTries candidates: a name that cannot be made must not keep the
// window busy counting.
QString mkdiruser(const QString &path, int counter, int baseLength, QString *error = nullptr);
constexpr int MaxFolderTries = 10000;

// A cleaned title made fit for an item folder: cut to ItemNameBytes bytes on
// a character boundary (leaving room for the counter within the 255 bytes
// file systems allow) and without leading dots, which would hide the folder.
// A name that fits and starts otherwise is returned as it is.
QString ItemName(const QString &cleaned);
constexpr qsizetype ItemNameBytes = 200;

// done * 100 / total, an exact half going to the even neighbour.
int ProgressPercent(qint64 done, qint64 total);
QString ProgressLine(qint64 done, qint64 total);
QString CompletionLine(const QString &itemFolder, int failed);
// The line for a completed download: as above, but never "下载完成" alone
// when nothing was there to save, every picture failed or none was kept.
QString CompletionLine(const DownloadSummary &summary);
QString FolderErrorLine(const QString &path);
// For each kind counted apart from the pictures that was saved, its count
// ("视频1个") between `open` and `close`, in the kinds' order.
QString ApartCounts(const DownloadSummary &summary, const QString &open, const QString &close = {});

// The folder a message line points at: the text between its first and second
// "->" (or up to its end); empty when the line has no "->".
QString FolderFromLine(const QString &line);
