#pragma once

#include "picking/designs/ProductData.h"
#include "platform/DocumentSnapshot.h"

#include <QByteArrayView>
#include <QHash>

// Reads a ProductData from what a page design holds. Linear in the size of
// the data: a page with tens of thousands of SKUs is read in one pass.
namespace ProductReading {

// Inline data (window.context or __INIT_DATA), parsed, and the JSON text it
// was parsed from, whose order of keys gives the SKUs their page order.
ProductData fromInlineData(const QJsonValue &data, QByteArrayView json, const QString &url);

// The old design: its title and the attribute table of its markup.
ProductData fromOldPage(const DocumentSnapshot &snapshot, const QString &url);

// Gives each SKU the saved file name of the SKU picture of its first name
// that has one: `numbers` maps a property value's name to the number of its
// picture in `skuPics` (counted from 1).
void nameSkuPictures(ProductData &product, const QHash<QString, int> &numbers, const QStringList &skuPics);

} // namespace ProductReading
