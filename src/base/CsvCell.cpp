#include "base/CsvCell.h"

using namespace Qt::StringLiterals;

QString CsvCell(const QString &text)
{
    QString cell = text;
    if (!cell.isEmpty() && u"=+-@\t\r"_s.contains(cell.front()))
        cell.prepend(u'\'');
    if (cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r'))
        cell = u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
    return cell;
}
