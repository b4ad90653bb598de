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

// The page shows a price range instead of tiers when the price depends on
// the SKU: its tiers are then the lowest and the highest price.
bool isRange(const ProductData &product)
{
    return product.priceDisplayType == u"skuPrice"_s && product.prices.size() >= 2;
}

double priceNumber(const QJsonValue &tier)
{
    return valueText(tier[u"price"]).toDouble();
}

// The lowest starting amount, and the lowest and the highest price, as the
// page gives them.
QList<QStringList> rangeRow(const QJsonArray &prices, const QString &unit)
{
    qint64 least = -1;
    QJsonValue low = prices.first();
    QJsonValue high = low;
    for (const QJsonValue &tier : prices) {
        const qint64 amount = tier[u"beginAmount"].toInteger(-1);
        if (amount >= 0 && (least < 0 || amount < least))
            least = amount;
        if (priceNumber(tier) < priceNumber(low))
            low = tier;
        if (priceNumber(tier) > priceNumber(high))
            high = tier;
    }
    const QString amount = least < 0 ? QString() : u"≥"_s + QString::number(least) + unit;
    return {{amount}, {priceText(low[u"price"]) + u" - "_s + valueText(high[u"price"])}};
}

} // namespace

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
            u"<video preload=\"none\" controls src=\""_s
            + HtmlEscaped(videoUrl) + u"\"></video></div>"_s;
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
    if (product.prices.isEmpty())
        return;
    const QString unit = product.unit;
    if (isRange(product)) {
        ProductTable table(u"价格"_s, {u"起批量"_s, u"价格"_s}, 1);
        table.addRow(rangeRow(product.prices, unit));
        out << table.pieces();
        return;
    }
    ProductTable table(u"价格"_s, {u"起批量"_s, u"价格"_s}, product.prices.size());
    for (const QJsonValue &tier : product.prices) {
        if (table.full())
            break;
        const QString amount = valueText(tier[u"beginAmount"]);
        table.addRow({{amount.isEmpty() ? amount : u"≥"_s + amount + unit}, {priceText(tier[u"price"])}});
    }
    out << table.pieces();
}

void ProductSection::appendSkus(QStringList &out, const ProductData &product)
{
    if (product.skus.isEmpty())
        return;
    ProductTable table(u"商品SKU"_s, {u"规格"_s, u"价格"_s, u"库存"_s}, product.skus.size());
    for (const ProductSku &sku : product.skus) {
        if (table.full())
            break;
        table.addRow({sku.names, {priceText(sku.price)}, {valueText(sku.stock)}});
    }
    out << table.pieces();
}
