#pragma once

#include <QString>

// One cell of a CSV file: quoted when needed. Text from web pages that a
// spreadsheet would take for a formula (=, +, -, @ first) gets a leading '.
QString CsvCell(const QString &text);
