#include "picking/ProductSection.h"

#include "base/HtmlEscaped.h"
#include "picking/ProductTable.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype MaxVideoAddress = 4096;

// Prices arrive as text ("9.50"), amounts and stock as numbers.
QString valueText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (!value.isDouble())
        return {};
    const double number = value.toDouble();
    return number == double(value.toInteger()) ? QString::number(value.toInteger()) : QString::number(number);
}

QString priceText(const QJsonValue &value)
{
    const QString text = valueText(value);
    return text.isEmpty() ? text : u"¥"_s + text;
}

QString rangeText(const QJsonValue &low, const QJsonValue &high)
{
    return priceText(low) + u" - "_s + valueText(high);
}

QString amountText(const QJsonValue &amount, const QString &unit)
{
    const QString text = valueText(amount);
    return text.isEmpty() ? text : u"≥"_s + text + unit;
}

// The item's own price in one text, for SKUs without a price of their own:
// its range, or its tiers from the lowest price to the highest.
QString itemPrice(const ProductData &product)
{
    if (!product.priceRange.isEmpty())
        return rangeText(product.priceRange[u"low"], product.priceRange[u"high"]);
    if (product.prices.isEmpty())
        return {};
    QJsonValue low = product.prices.first()[u"price"];
    QJsonValue high = low;
    for (const QJsonValue &tier : product.prices) {
        const double price = valueText(tier[u"price"]).toDouble();
        if (price < valueText(low).toDouble())
            low = tier[u"price"];
        if (price > valueText(high).toDouble())
            high = tier[u"price"];
    }
    return valueText(low) == valueText(high) ? priceText(low) : rangeText(low, high);
}

} // namespace

const QString ProductSection::ItemPriceMark = u"（商品价）"_s;
const QString ProductSection::UnplayableVideo = u"这个视频无法在这里播放，下载后可用播放器打开。"_s;

QStringList ProductSection::pieces(const ProductData &product, const QString &videoUrl)
{
    QStringList out;
    appendVideo(out, videoUrl);
    appendAttributes(out, product);
    appendPrices(out, product);
    appendSkus(out, product);
    if (out.isEmpty())
        return out;
    out.prepend(u"<div id=\"product-info\">"_s);
    out << u"</div>"_s;
    return out;
}

bool ProductSection::playable(const QString &videoUrl)
{
    if (videoUrl.size() > MaxVideoAddress)
        return false;
    const QUrl url(videoUrl, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == u"http"_s || scheme == u"https"_s) && !url.host().isEmpty();
}

void ProductSection::appendVideo(QStringList &out, const QString &videoUrl)
{
    if (!playable(videoUrl))
        return;
    out << u"<div class=\"product-part\"><font fontsize=8>视频(1):</font>"_s
            u"<video preload=\"metadata\" controls src=\""_s
            + HtmlEscaped(videoUrl) + u"\"></video><div class=\"video-unplayable\" hidden>"_s + UnplayableVideo
            + u"</div></div>"_s;
}

void ProductSection::appendAttributes(QStringList &out, const ProductData &product)
{
    if (product.attributes.isEmpty())
        return;
    ProductTable table(u"商品属性"_s, {u"属性"_s, u"值"_s}, product.attributes.size());
    for (const ProductAttribute &attribute : product.attributes) {
        if (table.full())
            break;
        table.addRow({{attribute.name}, {attribute.value}});
    }
    out << table.pieces();
}

void ProductSection::appendPrices(QStringList &out, const ProductData &product)
{
    const QString unit = product.unit;
    if (!product.priceRange.isEmpty()) {
        ProductTable table(u"价格"_s, {u"起批量"_s, u"价格"_s}, 1);
        table.addRow({{amountText(product.priceRange[u"beginAmount"], unit)},
                      {rangeText(product.priceRange[u"low"], product.priceRange[u"high"])}});
        out << table.pieces();
        return;
    }
    if (product.prices.isEmpty())
        return;
    ProductTable table(u"价格"_s, {u"起批量"_s, u"价格"_s}, product.prices.size());
    for (const QJsonValue &tier : product.prices) {
        if (table.full())
            break;
        table.addRow({{amountText(tier[u"beginAmount"], unit)}, {priceText(tier[u"price"])}});
    }
    out << table.pieces();
}

void ProductSection::appendSkus(QStringList &out, const ProductData &product)
{
    if (product.skus.isEmpty())
        return;
    ProductTable table(u"商品SKU"_s, {u"规格"_s, u"价格"_s, u"库存"_s}, product.skus.size());
    const QString item = itemPrice(product);
    const QString itemShown = item.isEmpty() ? item : item + ProductSection::ItemPriceMark;
    for (const ProductSku &sku : product.skus) {
        if (table.full())
            break;
        const QString own = priceText(sku.price);
        table.addRow({sku.names, {own.isEmpty() ? itemShown : own}, {valueText(sku.stock)}});
    }
    out << table.pieces();
}
