#include "picking/designs/ContextDataDesign.h"

#include "picking/designs/GalleryVideo.h"
#include "picking/designs/JsonSearch.h"
#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PictureAddress.h"
#include "picking/designs/ProductReading.h"
#include "picking/designs/ScriptText.h"
#include "picking/designs/SkuPictureList.h"

#include <QJsonArray>
#include <QJsonObject>

using JsonSearch::at;

namespace {

const QString Marker = QStringLiteral("window.context=");

QStringList strings(const QJsonValue &value, const QString &scheme)
{
    QStringList out;
    for (const QJsonValue &entry : value.toArray())
        out << entry.toString();
    return PictureAddress::fullSize(out, scheme);
}

// A page assigns its data once; a few more tries cover a broken copy before
// it, and the bound keeps a page of many broken copies from costing each a
// read of the rest of the script.
constexpr int MaxTries = 8;

// The '{' in code at or after `from` that opens the data: its first key, past
// any spaces and comments ("{ // it's the data"), is "result". -1 when none.
qsizetype dataStart(QStringView script, qsizetype from)
{
    for (qsizetype brace = ScriptText::find(script, u"{", from); brace >= 0; brace = ScriptText::find(script, u"{", brace + 1))
        if (script.sliced(ScriptText::skipSpaceAndComments(script, brace + 1)).startsWith(u"\"result\""))
            return brace;
    return -1;
}

// The data of the first assignment in code (not in a comment) that reads as data.
std::optional<QJsonValue> contextData(const QStringList &scripts, QByteArray *json)
{
    int tries = 0;
    for (const QString &script : scripts) {
        for (qsizetype start = ScriptText::find(script, Marker); start >= 0 && tries++ < MaxTries;
             start = ScriptText::find(script, Marker, start + 1)) {
            const qsizetype data = dataStart(script, start);
            if (data < 0)
                break;
            if (std::optional<QJsonValue> value = ObjectLiteral::parse(ObjectLiteral::extract(script, data), json))
                return value;
        }
    }
    return std::nullopt;
}

} // namespace

QStringList ContextDataDesign::scriptMarkers() const
{
    return {Marker};
}

std::optional<DesignReading> ContextDataDesign::read(const PageFacts &facts, const DocumentSnapshot &) const
{
    QByteArray json;
    const std::optional<QJsonValue> context = contextData(facts.scripts, &json);
    if (!context)
        return std::nullopt;
    const QString scheme = PictureAddress::schemeOf(facts.url);
    const QJsonValue data = at(*context, {QStringLiteral("result"), QStringLiteral("data")});
    const QJsonValue offer = at(*context, {QStringLiteral("result"), QStringLiteral("global"), QStringLiteral("globalData"),
                                           QStringLiteral("model"), QStringLiteral("offerDetail")});
    const QJsonValue gallery = at(data, {QStringLiteral("gallery"), QStringLiteral("fields")});
    DesignReading reading;
    QStringList &mainPics = reading.media.addresses(MediaKind::Main);
    mainPics = strings(gallery[QStringLiteral("mainImage")], scheme);
    if (mainPics.isEmpty())
        mainPics = strings(offer[QStringLiteral("mainImageList")], scheme);
    reading.detailUrl = at(data, {QStringLiteral("description"), QStringLiteral("fields"), QStringLiteral("detailUrl")}).toString();
    if (reading.detailUrl.isEmpty())
        reading.detailUrl = offer[QStringLiteral("detailUrl")].toString();
    if (mainPics.isEmpty() && reading.detailUrl.isEmpty())
        return std::nullopt;
    SkuPictureList skus(reading);
    QHash<QString, int> numbers;
    for (const QJsonValue &prop : offer[QStringLiteral("skuProps")].toArray())
        for (const QJsonValue &value : prop[QStringLiteral("value")].toArray()) {
            const QString picture = PictureAddress::fullSize(value[QStringLiteral("imageUrl")].toString(), scheme);
            const QString name = value[QStringLiteral("name")].toString();
            skus.add(picture, name);
            if (const int number = skus.number(picture); number > 0 && !numbers.contains(name))
                numbers.insert(name, number);
        }
    // Without SKU properties the gallery list still names the SKU pictures after the main ones.
    if (skus.isEmpty())
        for (const QString &picture : strings(gallery[QStringLiteral("offerImgList")], scheme))
            skus.add(picture, QString());
    reading.videoUrl = GalleryVideo::fromContext(*context, scheme);
    reading.product = ProductReading::fromInlineData(*context, json, facts.url);
    ProductReading::nameSkuPictures(reading.product, numbers, reading.media.addresses(MediaKind::Sku));
    return reading;
}
