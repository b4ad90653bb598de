#pragma once

#include "batch/BatchRow.h"

#include <QDir>
#include <QJsonObject>

// How a row is written in the journal's snapshot and in its log. Item
// folders are kept relative to the save folder: the folder can be moved with
// its journal, and a journal can never send a download elsewhere.
namespace BatchJournalFormat {

QJsonObject toJson(const QDir &saveFolder, const BatchRow &row);
// False when the object is no row (no address, unknown state).
bool fromJson(const QDir &saveFolder, const QJsonObject &object, BatchRow *row);

} // namespace BatchJournalFormat
