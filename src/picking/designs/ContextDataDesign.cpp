#include "picking/designs/ContextDataDesign.h"

#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PictureAddress.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QString Marker = QStringLiteral("window.context=");

QJsonValue at(QJsonValue value, const QStringList &path)
{
    for (const QString &key : path)
        value = value.toObject().value(key);
    return value;
}

QStringList strings(const QJsonValue &value)
{
    QStringList out;
    for (const QJsonValue &entry : value.toArray())
        out << entry.toString();
    return PictureAddress::fullSize(out);
}

std::optional<QJsonValue> contextData(const QStringList &scripts)
{
    for (const QString &script : scripts) {
        const qsizetype start = script.indexOf(Marker);
        const qsizetype data = start < 0 ? -1 : script.indexOf(QLatin1String("{\"result\""), start);
        if (data < 0)
            continue;
        if (std::optional<QJsonValue> value = ObjectLiteral::parse(ObjectLiteral::extract(script, data)))
            return value;
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
    const std::optional<QJsonValue> context = contextData(facts.scripts);
    if (!context)
        return std::nullopt;
    const QJsonValue data = at(*context, {QStringLiteral("result"), QStringLiteral("data")});
    const QJsonValue offer = at(*context, {QStringLiteral("result"), QStringLiteral("global"), QStringLiteral("globalData"),
                                           QStringLiteral("model"), QStringLiteral("offerDetail")});
    const QJsonValue gallery = at(data, {QStringLiteral("gallery"), QStringLiteral("fields")});
    DesignReading reading;
    reading.mainPics = strings(gallery[QStringLiteral("mainImage")]);
    if (reading.mainPics.isEmpty())
        reading.mainPics = strings(offer[QStringLiteral("mainImageList")]);
    reading.detailUrl = at(data, {QStringLiteral("description"), QStringLiteral("fields"), QStringLiteral("detailUrl")}).toString();
    if (reading.detailUrl.isEmpty())
        reading.detailUrl = offer[QStringLiteral("detailUrl")].toString();
    if (reading.mainPics.isEmpty() && reading.detailUrl.isEmpty())
        return std::nullopt;
    for (const QJsonValue &prop : offer[QStringLiteral("skuProps")].toArray())
        for (const QJsonValue &value : prop[QStringLiteral("value")].toArray())
            addSku(reading, PictureAddress::fullSize(value[QStringLiteral("imageUrl")].toString()),
                   value[QStringLiteral("name")].toString());
    // Without SKU properties the gallery list still names the SKU pictures after the main ones.
    if (reading.skuPics.isEmpty())
        for (const QString &picture : strings(gallery[QStringLiteral("offerImgList")]))
            addSku(reading, picture, QString());
    return reading;
}
