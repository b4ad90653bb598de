#pragma once

#include "picking/designs/ProductData.h"

#include <QByteArray>
#include <QString>

// The product's data beside its pictures, in the item folder:
// 商品信息.json (UTF-8, indented) and, where the product has SKUs,
// 商品SKU.csv (UTF-8 with a byte order mark, so that a spreadsheet opens the
// Chinese text as it is). Each file appears whole or not at all.
namespace ProductFiles {

extern const QString InfoFile;
extern const QString SkuFile;

QByteArray infoJson(const ProductData &product);
// Header 规格,价格,库存,图片 and one row per SKU.
QByteArray skuCsv(const ProductData &product);

// Writes the files into `itemFolder`, which must exist; false with *error
// set when one could not be written whole.
bool write(const QString &itemFolder, const ProductData &product, QString *error = nullptr);

// Names `video` in the 商品信息.json of `itemFolder`, keeping the rest as it
// is; true without a change where there is no such file.
bool setVideo(const QString &itemFolder, const QString &video, QString *error = nullptr);

} // namespace ProductFiles
