#include "picking/designs/ProductReading.h"

#include "picking/PictureFileName.h"
#include "picking/designs/HtmlText.h"
#include "picking/designs/JsonSearch.h"
#include "picking/MediaKinds.h"


namespace {

bool isText(const QJsonValue &value)
{
    return value.isString() && !value.toString().isEmpty();
}

bool isAmount(const QJsonValue &value)
{
    return value.isDouble() || isText(value);
}

bool hasPrices(const QJsonValue &value)
{
    return value[QStringLiteral("currentPrices")].isArray();
}

bool isList(const QJsonValue &value)
{
    return value.isArray() && !value.toArray().isEmpty();
}

bool isObject(const QJsonValue &value)
{
    return value.isObject();
}

enum Field { OfferId, OfferTitle, Subject, Seller, Unit, PriceModel, StartAmount, FeatureAttributes, PropsList, SkuInfoMap };

struct FieldPlace
{
    const char *path;  // where today's desktop data keeps it; nullptr when nowhere fixed
    const char *key;   // else the first value under this key anywhere
    bool (*accept)(const QJsonValue &);
};

// Indexed by Field.
const FieldPlace Places[] = {
    {"result.global.globalData.model.offerDetail.offerId", "offerId", isAmount},
    {nullptr, "offerTitle", isText},
    {"result.global.globalData.model.offerDetail.subject", "subject", isText},
    {"result.global.globalData.model.sellerModel.companyName", "companyName", isText},
    {"result.data.mainPrice.fields.unit", "unit", isText},
    {"result.data.mainPrice.fields.priceModel", "priceModel", hasPrices},
    {"result.data.shippingServices.fields.startAmount", "startAmount", isAmount},
    {"result.global.globalData.model.offerDetail.featureAttributes", "featureAttributes", isList},
    {nullptr, "propsList", isList},
    {"result.data.Root.fields.dataJson.skuModel.skuInfoMap", "skuInfoMap", isObject},
};

// Every field's value: at its path where that holds one, else from a single
// search of the whole data for the rest.
QList<QJsonValue> lookUp(const QJsonValue &data)
{
    QList<QJsonValue> values;
    QList<std::pair<QString, JsonSearch::Accept>> wanted;
    QList<qsizetype> searched;
    for (const FieldPlace &place : Places) {
        const QJsonValue value = place.path ? JsonSearch::at(data, QString::fromLatin1(place.path).split(u'.')) : QJsonValue();
        values << (place.accept(value) ? value : QJsonValue(QJsonValue::Undefined));
        if (values.last().isUndefined()) {
            wanted.append({QString::fromLatin1(place.key), place.accept});
            searched << values.size() - 1;
        }
    }
    const QList<QJsonValue> found = JsonSearch::findEach(data, wanted);
    for (qsizetype i = 0; i < searched.size(); ++i)
        values[searched.at(i)] = found.at(i);
    return values;
}

double priceNumber(const QJsonValue &tier)
{
    const QJsonValue price = tier[QStringLiteral("price")];
    return price.isDouble() ? price.toDouble() : price.toString().toDouble();
}

// A price that depends on the SKU is given as its lowest and highest price
// ("¥0.09 - 1.30"), both at the lowest starting amount: no quantity tiers.
QJsonObject rangeOf(const QJsonArray &tiers)
{
    qint64 least = -1;
    QJsonValue low = tiers.first();
    QJsonValue high = low;
    for (const QJsonValue &tier : tiers) {
        const qint64 amount = tier[QStringLiteral("beginAmount")].toInteger(-1);
        if (amount >= 0 && (least < 0 || amount < least))
            least = amount;
        if (priceNumber(tier) < priceNumber(low))
            low = tier;
        if (priceNumber(tier) > priceNumber(high))
            high = tier;
    }
    QJsonObject range{{QStringLiteral("low"), low[QStringLiteral("price")]}, {QStringLiteral("high"), high[QStringLiteral("price")]}};
    if (least >= 0)
        range.insert(QStringLiteral("beginAmount"), least);
    return range;
}

void readPrices(const QList<QJsonValue> &fields, ProductData &product)
{
    const QJsonValue model = fields.at(PriceModel);
    for (const QJsonValue &tier : model[QStringLiteral("currentPrices")].toArray()) {
        QJsonObject entry;
        for (const QString &key : {QStringLiteral("price"), QStringLiteral("beginAmount")})
            if (isAmount(tier[key]))
                entry.insert(key, tier[key]);
        if (!entry.isEmpty())
            product.prices.append(entry);
    }
    product.priceDisplayType = model[QStringLiteral("priceDisplayType")].toString();
    const QJsonValue first = product.prices.isEmpty() ? QJsonValue() : product.prices.first()[QStringLiteral("beginAmount")];
    product.minOrder = isAmount(fields.at(StartAmount)) ? fields.at(StartAmount) : first;
    if (product.priceDisplayType == QLatin1String("skuPrice") && product.prices.size() >= 2) {
        product.priceRange = rangeOf(product.prices);
        product.prices = QJsonArray();
    }
}

void readAttributes(const QList<QJsonValue> &fields, ProductData &product)
{
    const QJsonValue list = fields.at(FeatureAttributes).isUndefined() ? fields.at(PropsList) : fields.at(FeatureAttributes);
    for (const QJsonValue &entry : list.toArray()) {
        const QString name = entry[QStringLiteral("name")].toString();
        QString value = entry[QStringLiteral("value")].toString();
        if (!entry[QStringLiteral("value")].isString()) {
            QStringList values;
            for (const QJsonValue &v : entry[QStringLiteral("values")].toArray())
                values << v.toString();
            value = values.join(u',');
        }
        if (!name.isEmpty())
            product.attributes.append({name, value});
    }
}

ProductSku skuOf(const QJsonValue &entry, const QString &names)
{
    ProductSku sku;
    sku.names = names.split(u'>');
    for (const QString &field : {QStringLiteral("discountPrice"), QStringLiteral("price")})
        if (isAmount(entry[field])) {
            sku.price = entry[field];
            break;
        }
    if (isAmount(entry[QStringLiteral("canBookCount")]))
        sku.stock = entry[QStringLiteral("canBookCount")];
    return sku;
}

// The SKU map's entries in page order: its keys as the text gives them. One
// SKU named twice is kept as the page's script keeps it, as JavaScript keeps
// a key set twice: in its first place, with its last value.
void readSkus(const QJsonValue &map, QByteArrayView json, ProductData &product)
{
    const QJsonObject entries = map.toObject();
    if (entries.isEmpty())
        return;
    QHash<QString, qsizetype> places;
    for (const QString &key : JsonSearch::orderedKeys(json, QStringLiteral("skuInfoMap"))) {
        if (!entries.contains(key))
            continue;
        const QJsonValue entry = entries.value(key);
        const QString specAttrs = entry[QStringLiteral("specAttrs")].isString() ? entry[QStringLiteral("specAttrs")].toString() : key;
        const QString names = HtmlText::decodeEntities(specAttrs);
        if (const auto place = places.constFind(names); place != places.cend()) {
            product.skus[*place] = skuOf(entry, names);
        } else {
            places.insert(names, product.skus.size());
            product.skus.append(skuOf(entry, names));
        }
    }
}

} // namespace

namespace ProductReading {

ProductData fromInlineData(const QJsonValue &data, QByteArrayView json, const QString &url)
{
    const QList<QJsonValue> fields = lookUp(data);
    ProductData product;
    product.url = url;
    product.offerId = fields.at(OfferId);
    product.title = (fields.at(OfferTitle).isUndefined() ? fields.at(Subject) : fields.at(OfferTitle)).toString();
    product.seller = fields.at(Seller).toString();
    product.unit = fields.at(Unit).toString();
    readPrices(fields, product);
    readAttributes(fields, product);
    readSkus(fields.at(SkuInfoMap), json, product);
    return product;
}

void nameSkuPictures(ProductData &product, const QHash<QString, int> &numbers, const QStringList &skuPics)
{
    for (ProductSku &sku : product.skus)
        for (const QString &name : sku.names)
            if (const int number = numbers.value(name); number > 0 && number <= skuPics.size()) {
                // Named as the download names the picture itself.
                sku.picture = PictureFileName(QString(), MediaKinds::of(MediaKind::Sku).folder, number, skuPics.at(number - 1)).sliced(1);
                break;
            }
}

} // namespace ProductReading
