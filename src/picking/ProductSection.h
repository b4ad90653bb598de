#pragma once

#include "picking/designs/ProductData.h"

#include <QString>
#include <QStringList>

// The part of the result page under the pictures: the gallery video, the
// attributes, the price tiers and the SKU table, as the page's data gives
// them. Everything taken from the page is shown as text; only an http(s)
// video address becomes a player, and nothing plays by itself. Big tables
// are cut short on screen; the saved files keep every row.
class ProductSection
{
public:
    // After the item's price in the SKU table's price column of a SKU
    // without a price of its own.
    static const QString ItemPriceMark;
    // Shown under the video when the engine cannot play it (its first frame
    // shows otherwise).
    static const QString UnplayableVideo;

    static QStringList pieces(const ProductData &product, const QString &videoUrl);

    // http or https with a host, and of a sane length; anything else is no video.
    static bool playable(const QString &videoUrl);

private:
    static void appendVideo(QStringList &out, const QString &videoUrl);
    static void appendAttributes(QStringList &out, const ProductData &product);
    static void appendPrices(QStringList &out, const ProductData &product);
    static void appendSkus(QStringList &out, const ProductData &product);
};
