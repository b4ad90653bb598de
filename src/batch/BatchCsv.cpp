#include "batch/BatchCsv.h"

#include "base/CsvCell.h"

#include <QAbstractItemModel>
#include <QSaveFile>
#include <QStringList>

using namespace Qt::StringLiterals;

bool BatchCsv::write(const QString &path, const QAbstractItemModel &model, QString *error)
{
    QString text;
    auto line = [&text](const QStringList &cells) { text += cells.join(u',') + u"\r\n"_s; };
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column)
        header << CsvCell(model.headerData(column, Qt::Horizontal).toString());
    line(header);
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << CsvCell(model.data(model.index(row, column)).toString());
        line(cells);
    }
    const QByteArray bytes = "\xEF\xBB\xBF" + text.toUtf8();
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}
