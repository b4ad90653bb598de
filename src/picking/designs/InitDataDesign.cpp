#include "picking/designs/InitDataDesign.h"

#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PictureAddress.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

const QString Marker = QStringLiteral("__INIT_DATA");

std::optional<QJsonValue> initData(const QStringList &scripts)
{
    static const QRegularExpression assignment(QStringLiteral("window\\.__INIT_DATA\\s*=\\s*(?=\\{)"));
    for (const QString &script : scripts) {
        const QRegularExpressionMatch match = assignment.match(script);
        if (!match.hasMatch())
            continue;
        if (std::optional<QJsonValue> value = ObjectLiteral::parse(ObjectLiteral::extract(script, match.capturedEnd())))
            return value;
    }
    return std::nullopt;
}

// The first value under `key` anywhere in the data that `accept` takes.
template<typename Accept>
QJsonValue find(const QJsonValue &value, const QString &key, Accept accept, int depth = 0)
{
    const QJsonValue none(QJsonValue::Undefined);
    if (depth > 64)
        return none;
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (const QJsonValue here = object.value(key); accept(here))
            return here;
        for (const QJsonValue &child : object)
            if (QJsonValue found = find(child, key, accept, depth + 1); !found.isUndefined())
                return found;
    } else if (value.isArray()) {
        for (const QJsonValue &child : value.toArray())
            if (QJsonValue found = find(child, key, accept, depth + 1); !found.isUndefined())
                return found;
    }
    return none;
}

bool isList(const QJsonValue &value)
{
    return value.isArray() && !value.toArray().isEmpty();
}

// The description file itself, not a viewer page that takes it as a parameter.
bool isFileAddress(const QJsonValue &value)
{
    const QString text = value.toString();
    return text.startsWith(QLatin1String("http")) && !text.contains(QLatin1Char('?'));
}

} // namespace

QStringList InitDataDesign::scriptMarkers() const
{
    return {Marker};
}

std::optional<DesignReading> InitDataDesign::read(const PageFacts &facts, const DocumentSnapshot &) const
{
    const std::optional<QJsonValue> data = initData(facts.scripts);
    if (!data)
        return std::nullopt;
    DesignReading reading;
    for (const QJsonValue &picture : find(*data, QStringLiteral("offerImgList"), isList).toArray())
        if (const QString full = PictureAddress::fullSize(picture.toString()); !full.isEmpty())
            reading.mainPics << full;
    QJsonValue detail = find(*data, QStringLiteral("detailUrl"), isFileAddress);
    if (detail.isUndefined())
        detail = find(*data, QStringLiteral("detailUrl"), [](const QJsonValue &v) { return v.isString(); });
    reading.detailUrl = detail.toString();
    if (reading.mainPics.isEmpty() && reading.detailUrl.isEmpty())
        return std::nullopt;
    for (const QJsonValue &sku : find(*data, QStringLiteral("skuImages"), isList).toArray())
        addSku(reading, PictureAddress::fullSize(sku[QStringLiteral("imgUrl")].toString()),
               sku[QStringLiteral("name")].toString());
    return reading;
}
