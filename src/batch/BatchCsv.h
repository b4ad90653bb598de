#pragma once

#include <QString>

class QAbstractItemModel;

// Writes a table as CSV in UTF-8 with a byte order mark, so that a
// spreadsheet opens the Chinese text as it is.
namespace BatchCsv {

// One cell as CSV: quoted when needed. Text from web pages that a
// spreadsheet would take for a formula (=, +, -, @ first) gets a leading '.
QString field(const QString &text);

bool write(const QString &path, const QAbstractItemModel &model, QString *error = nullptr);

} // namespace BatchCsv
