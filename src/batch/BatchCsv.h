#pragma once

#include <QString>

class QAbstractItemModel;

// Writes a table as CSV in UTF-8 with a byte order mark, so that a
// spreadsheet opens the Chinese text as it is.
namespace BatchCsv {

bool write(const QString &path, const QAbstractItemModel &model, QString *error = nullptr);

} // namespace BatchCsv
