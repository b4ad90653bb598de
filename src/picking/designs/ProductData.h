#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

// The product as its page describes it, beside the pictures: what a seller
// copies into a shop of their own. Values stay as the page gives them (a
// number stays a number, a price stays text); what the page does not carry
// stays empty (undefined) and is left out of the saved file.

struct ProductAttribute
{
    QString name;
    QString value;
};

struct ProductSku
{
    QStringList names;     // one per SKU property, in the page's order
    QJsonValue price = QJsonValue(QJsonValue::Undefined);
    QJsonValue stock = QJsonValue(QJsonValue::Undefined);
    QString picture;       // file name under SKU图/, empty when none
};

struct ProductData
{
    QString url;
    QJsonValue offerId = QJsonValue(QJsonValue::Undefined);
    QString title;
    QString seller;
    QString unit;
    QJsonValue minOrder = QJsonValue(QJsonValue::Undefined);
    QJsonArray prices;     // [{"price": "9.50", "beginAmount": 3}, …]
    // Instead of tiers when the price depends on the SKU:
    // {"low": "0.09", "high": "1.30", "beginAmount": 100}.
    QJsonObject priceRange;
    QString priceDisplayType;
    QList<ProductAttribute> attributes;
    QList<ProductSku> skus;
    QString video;         // file name under 视频/, once one was saved

    // As 商品信息.json holds it: English keys, only what is there, and its
    // texts as fileText() gives them.
    QJsonObject toJson() const;

    // Page text as the data files keep it: without the C0 and C1 controls
    // (NUL, ESC, BEL …) and DEL, which the result page does not show either.
    static QString fileText(const QString &text);
    static QJsonValue fileValue(const QJsonValue &value);
};
