#pragma once

#include "picking/designs/PageData.h"

#include <QPair>
#include <QString>
#include <QStringList>

// What a page says of itself for search engines and link previews: a JSON-LD
// `Product` (its `name` and `image`), else Open Graph (`og:title`, `og:image`).
struct StructuredProduct
{
    QString title;
    QStringList gallery;
};

namespace StructuredData {

StructuredProduct read(const QList<PageDataValue> &values, const QList<QPair<QString, QString>> &metas,
                       const QString &scheme);

} // namespace StructuredData
