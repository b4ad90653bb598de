#include "download/ProductFiles.h"

#include "base/CsvCell.h"
#include "platform/PlainFile.h"

#include <QDir>
#include <QJsonDocument>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

// A number as the page wrote it (no exponent for large counts), text as the
// JSON file keeps it.
QString cellText(const QJsonValue &value)
{
    return value.isDouble() ? value.toVariant().toString() : ProductData::fileText(value.toString());
}

QString namesText(const QStringList &names)
{
    QStringList kept;
    for (const QString &name : names)
        kept << ProductData::fileText(name);
    return kept.join(u" / "_s);
}

bool save(const QString &path, const QByteArray &bytes, QString *error)
{
    // Replaced, never written through a link that someone planted in its place.
    QString reason;
    if (PlainFile::replace(path, bytes, true, &reason))
        return true;
    if (error)
        *error = u"cannot write %1"_s.arg(reason);
    return false;
}

} // namespace

namespace ProductFiles {

const QString InfoFile = u"商品信息.json"_s;
const QString SkuFile = u"商品SKU.csv"_s;

QByteArray infoJson(const ProductData &product)
{
    return QJsonDocument(product.toJson()).toJson(QJsonDocument::Indented);
}

QByteArray skuCsv(const ProductData &product)
{
    QString text = u"规格,价格,库存,图片\r\n"_s;
    for (const ProductSku &sku : product.skus) {
        const QStringList cells{CsvCell(namesText(sku.names)), CsvCell(cellText(sku.price)),
                                CsvCell(cellText(sku.stock)), CsvCell(sku.picture)};
        text += cells.join(u',') + u"\r\n"_s;
    }
    return "\xEF\xBB\xBF" + text.toUtf8();
}

bool write(const QString &itemFolder, const ProductData &product, QString *error)
{
    if (!QFileInfo(itemFolder).isDir() || QFileInfo(itemFolder).isSymLink()) {
        if (error)
            *error = u"no folder %1"_s.arg(itemFolder);
        return false;
    }
    const QDir folder(itemFolder);
    if (!save(folder.filePath(InfoFile), infoJson(product), error))
        return false;
    return product.skus.isEmpty() || save(folder.filePath(SkuFile), skuCsv(product), error);
}

bool setVideo(const QString &itemFolder, const QString &video, QString *error)
{
    const QString path = QDir(itemFolder).filePath(InfoFile);
    QFile file;
    if (!QFileInfo(path).exists() && !QFileInfo(path).isSymLink())
        return true;
    // Our own file is a few megabytes at most, even for ten thousand SKUs.
    constexpr qint64 MaxInfoBytes = 64 << 20;
    QJsonParseError parsed{};
    const QJsonDocument document = PlainFile::openToRead(file, path) && file.size() <= MaxInfoBytes
        ? QJsonDocument::fromJson(file.readAll(), &parsed) : QJsonDocument();
    if (!document.isObject()) {
        if (error)
            *error = u"cannot read %1"_s.arg(path);
        return false;
    }
    QJsonObject object = document.object();
    object.insert(u"video"_s, video);
    return save(path, QJsonDocument(object).toJson(QJsonDocument::Indented), error);
}

} // namespace ProductFiles
