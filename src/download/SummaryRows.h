#pragma once

#include "download/DownloadSummary.h"

#include <QString>

// What an item's message list says once its download ended.
namespace SummaryRows {

// The first row: where it saved, and how many pictures it lost.
QString FirstRow(const DownloadSummary &summary);
// The second row: what a download saved (each kind counted apart, e.g. the
// video, on its own), dropped and lost.
QString CountsLine(const DownloadSummary &summary);

} // namespace SummaryRows
