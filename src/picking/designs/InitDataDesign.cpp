#include "picking/designs/InitDataDesign.h"

#include "picking/designs/GalleryVideo.h"
#include "picking/designs/JsonSearch.h"
#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PictureAddress.h"
#include "picking/designs/ProductReading.h"
#include "picking/designs/ScriptText.h"
#include "picking/designs/SkuPictureList.h"

#include <QJsonArray>
#include <QJsonObject>

using JsonSearch::find;

namespace {

const QString Marker = QStringLiteral("__INIT_DATA");

// The index of the '{' that `window.__INIT_DATA =` at `at` assigns; -1 when
// something else follows.
qsizetype assignedObject(QStringView script, qsizetype at)
{
    static const QLatin1String name("window.__INIT_DATA");
    qsizetype i = at + name.size();
    bool assigned = false;
    while (i < script.size()) {
        if (const qsizetype after = ScriptText::skipComment(script, i); after != i)
            i = after;
        else if (script[i].isSpace())
            ++i;
        else if (script[i] == u'=' && !assigned && (i + 1 >= script.size() || script[i + 1] != u'=')) {
            assigned = true;
            ++i;
        } else
            return assigned && script[i] == u'{' ? i : -1;
    }
    return -1;
}

// As for window.context: a few tries, not one per broken copy.
constexpr int MaxTries = 8;

std::optional<QJsonValue> initData(const QStringList &scripts, QByteArray *json)
{
    int tries = 0;
    for (const QString &script : scripts) {
        for (qsizetype at = ScriptText::find(script, u"window.__INIT_DATA"); at >= 0 && tries < MaxTries;
             at = ScriptText::find(script, u"window.__INIT_DATA", at + 1)) {
            const qsizetype open = assignedObject(script, at);
            if (open < 0)
                continue;
            ++tries;
            if (std::optional<QJsonValue> value = ObjectLiteral::parse(ObjectLiteral::extract(script, open), json))
                return value;
        }
    }
    return std::nullopt;
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
    QByteArray json;
    const std::optional<QJsonValue> data = initData(facts.scripts, &json);
    if (!data)
        return std::nullopt;
    const QString scheme = PictureAddress::schemeOf(facts.url);
    DesignReading reading;
    QStringList &mainPics = reading.media.addresses(MediaKind::Main);
    for (const QJsonValue &picture : find(*data, QStringLiteral("offerImgList"), isList).toArray())
        if (const QString full = PictureAddress::fullSize(picture.toString(), scheme); !full.isEmpty())
            mainPics << full;
    QJsonValue detail = find(*data, QStringLiteral("detailUrl"), isFileAddress);
    if (detail.isUndefined())
        detail = find(*data, QStringLiteral("detailUrl"), [](const QJsonValue &v) { return v.isString(); });
    reading.detailUrl = detail.toString();
    if (mainPics.isEmpty() && reading.detailUrl.isEmpty())
        return std::nullopt;
    SkuPictureList skus(reading);
    QHash<QString, int> numbers;
    for (const QJsonValue &sku : find(*data, QStringLiteral("skuImages"), isList).toArray()) {
        const QString picture = PictureAddress::fullSize(sku[QStringLiteral("imgUrl")].toString(), scheme);
        const QString name = sku[QStringLiteral("name")].toString();
        skus.add(picture, name);
        if (const int number = skus.number(picture); number > 0 && !numbers.contains(name))
            numbers.insert(name, number);
    }
    reading.videoUrl = GalleryVideo::fromInitData(*data, scheme);
    reading.product = ProductReading::fromInlineData(*data, json, facts.url);
    ProductReading::nameSkuPictures(reading.product, numbers, reading.media.addresses(MediaKind::Sku));
    return reading;
}
