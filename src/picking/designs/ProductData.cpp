#include "picking/designs/ProductData.h"

namespace {

void put(QJsonObject &object, const QString &key, const QString &text)
{
    if (!text.isEmpty())
        object.insert(key, text);
}

void put(QJsonObject &object, const QString &key, const QJsonValue &value)
{
    if (!value.isUndefined() && !value.isNull())
        object.insert(key, value);
}

QJsonObject skuJson(const ProductSku &sku)
{
    QJsonObject object{{QStringLiteral("names"), QJsonArray::fromStringList(sku.names)}};
    put(object, QStringLiteral("price"), sku.price);
    put(object, QStringLiteral("stock"), sku.stock);
    put(object, QStringLiteral("picture"), sku.picture);
    return object;
}

} // namespace

QJsonObject ProductData::toJson() const
{
    QJsonObject object;
    put(object, QStringLiteral("url"), url);
    put(object, QStringLiteral("offerId"), offerId);
    put(object, QStringLiteral("title"), title);
    put(object, QStringLiteral("seller"), seller);
    put(object, QStringLiteral("unit"), unit);
    put(object, QStringLiteral("minOrder"), minOrder);
    if (!prices.isEmpty())
        object.insert(QStringLiteral("prices"), prices);
    put(object, QStringLiteral("priceDisplayType"), priceDisplayType);
    QJsonArray list;
    for (const ProductAttribute &attribute : attributes)
        list.append(QJsonObject{{QStringLiteral("name"), attribute.name}, {QStringLiteral("value"), attribute.value}});
    if (!list.isEmpty())
        object.insert(QStringLiteral("attributes"), list);
    QJsonArray skuList;
    for (const ProductSku &sku : skus)
        skuList.append(skuJson(sku));
    if (!skuList.isEmpty())
        object.insert(QStringLiteral("skus"), skuList);
    put(object, QStringLiteral("video"), video);
    return object;
}
