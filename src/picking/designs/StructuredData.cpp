#include "picking/designs/StructuredData.h"

#include "picking/designs/DataPictures.h"
#include "picking/designs/PictureAddress.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

bool isProduct(const QJsonObject &object)
{
    const QJsonValue type = object.value(QLatin1String("@type"));
    return type.toString() == QLatin1String("Product") || type.toArray().contains(QLatin1String("Product"));
}

// A JSON-LD block is a Product, a list of nodes or a "@graph" of them.
QJsonObject productOf(const QJsonValue &value)
{
    if (value.isObject() && isProduct(value.toObject()))
        return value.toObject();
    const QJsonArray nodes = value.isArray() ? value.toArray() : value[QLatin1String("@graph")].toArray();
    for (const QJsonValue &node : nodes)
        if (isProduct(node.toObject()))
            return node.toObject();
    return {};
}

// "image" is an address, an ImageObject or a list of either.
QStringList imagesOf(const QJsonValue &image, const QString &scheme)
{
    QStringList out;
    const QJsonArray list = image.isArray() ? image.toArray() : QJsonArray{image};
    for (const QJsonValue &entry : list) {
        const QString address = entry.isString() ? entry.toString() : entry[QLatin1String("url")].toString();
        if (PictureAddress::isPicture(address))
            out << PictureAddress::fullSize(address, scheme);
    }
    out.removeDuplicates();
    return out;
}

} // namespace

namespace StructuredData {

StructuredProduct read(const QList<PageDataValue> &values, const QList<QPair<QString, QString>> &metas,
                       const QString &scheme)
{
    StructuredProduct product;
    for (const PageDataValue &data : values) {
        const QJsonObject node = data.isStructuredData() ? productOf(data.value) : QJsonObject();
        if (node.isEmpty())
            continue;
        product.title = node.value(QLatin1String("name")).toString();
        product.gallery = imagesOf(node.value(QLatin1String("image")), scheme);
        if (!product.gallery.isEmpty())
            return product;
    }
    for (const auto &[name, content] : metas) {
        if (name == QLatin1String("og:title") && product.title.isEmpty())
            product.title = content;
        // The site's own logo stands in for pages without a picture (an offer taken down).
        else if (name == QLatin1String("og:image") && !DataPictures::isForeignWord(content.toLower()))
            product.gallery << imagesOf(content, scheme);
    }
    product.gallery.removeDuplicates();
    return product;
}

} // namespace StructuredData
