#include "picking/designs/DescriptionFile.h"

#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PictureAddress.h"

#include <QJsonObject>

namespace DescriptionFile {

std::optional<QStringList> pictures(const QByteArray &file, const QString &scheme)
{
    const QString text = QString::fromUtf8(file);
    const qsizetype start = text.indexOf(QLatin1String("offer_details"));
    if (start < 0)
        return std::nullopt;
    const std::optional<QJsonValue> data = ObjectLiteral::parse(ObjectLiteral::extract(text, start));
    if (!data || !data->toObject().value(QStringLiteral("content")).isString())
        return std::nullopt;
    return PictureAddress::imageSources(data->toObject().value(QStringLiteral("content")).toString(), scheme);
}

} // namespace DescriptionFile
