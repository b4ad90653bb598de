#include "picking/designs/ProductData.h"

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

void put(QJsonObject &object, const QString &key, const QString &text)
{
    if (const QString kept = ProductData::fileText(text); !kept.isEmpty())
        object.insert(key, kept);
}

void put(QJsonObject &object, const QString &key, const QJsonValue &value)
{
    if (!value.isUndefined() && !value.isNull())
        object.insert(key, ProductData::fileValue(value));
}

QJsonObject skuJson(const ProductSku &sku)
{
    QJsonArray names;
    for (const QString &name : sku.names)
        names.append(ProductData::fileText(name));
    QJsonObject object{{QStringLiteral("names"), names}};
    put(object, QStringLiteral("price"), sku.price);
    put(object, QStringLiteral("stock"), sku.stock);
    put(object, QStringLiteral("picture"), sku.picture);
    return object;
}

QJsonArray tiersJson(const QJsonArray &prices)
{
    QJsonArray tiers;
    for (const QJsonValue &tier : prices) {
        QJsonObject entry = tier.toObject();
        for (auto field = entry.begin(); field != entry.end(); ++field)
            field.value() = ProductData::fileValue(field.value());
        tiers.append(entry);
    }
    return tiers;
}

} // namespace

QString ProductData::fileText(const QString &text)
{
    QString kept = text;
    kept.removeIf(isControl);
    return kept;
}

QJsonValue ProductData::fileValue(const QJsonValue &value)
{
    return value.isString() ? QJsonValue(fileText(value.toString())) : value;
}

QJsonObject ProductData::toJson() const
{
    QJsonObject object;
    put(object, QStringLiteral("url"), url);
    put(object, QStringLiteral("offerId"), offerId);
    put(object, QStringLiteral("title"), title);
    put(object, QStringLiteral("seller"), seller);
    put(object, QStringLiteral("unit"), unit);
    put(object, QStringLiteral("minOrder"), minOrder);
    if (const QJsonArray tiers = tiersJson(prices); !tiers.isEmpty())
        object.insert(QStringLiteral("prices"), tiers);
    if (!priceRange.isEmpty())
        object.insert(QStringLiteral("priceRange"), tiersJson({priceRange}).first());
    put(object, QStringLiteral("priceDisplayType"), priceDisplayType);
    QJsonArray list;
    for (const ProductAttribute &attribute : attributes)
        list.append(QJsonObject{{QStringLiteral("name"), fileText(attribute.name)},
                                {QStringLiteral("value"), fileText(attribute.value)}});
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
