#include "batch/BatchCsv.h"

#include <QAbstractItemModel>
#include <QSaveFile>
#include <QStringList>

using namespace Qt::StringLiterals;

QString BatchCsv::field(const QString &text)
{
    QString cell = text;
    if (!cell.isEmpty() && u"=+-@\t\r"_s.contains(cell.front()))
        cell.prepend(u'\'');
    if (cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r'))
        cell = u'"' + cell.replace(u"\""_s, u"\"\""_s) + u'"';
    return cell;
}

bool BatchCsv::write(const QString &path, const QAbstractItemModel &model, QString *error)
{
    QString text;
    auto line = [&text](const QStringList &cells) { text += cells.join(u',') + u"\r\n"_s; };
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column)
        header << field(model.headerData(column, Qt::Horizontal).toString());
    line(header);
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << field(model.data(model.index(row, column)).toString());
        line(cells);
    }
    const QByteArray bytes = "\xEF\xBB\xBF" + text.toUtf8();
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}
