#pragma once

#include "download/DownloadSummary.h"
#include "picking/PickResult.h"

#include <QByteArray>

// The line a screenless pick prints for one page: its address, title and a
// list per kind of media (with the names of a kind that has them), whether
// the pick was cut short and what it could not do (`cutShort`, `note`, only
// when there is something to say), and when
// `saved` is given, what saving them came to. Keys keep their order; text
// unsafe on a terminal is escaped.
namespace ResultJson {

QByteArray line(const PickResult &pick, const DownloadSummary *saved = nullptr);
// For a page that gave no result.
QByteArray errorLine(const QString &address, const QString &error);

} // namespace ResultJson
