#include "picking/designs/DescriptionFile.h"

#include "picking/designs/ObjectLiteral.h"
#include "picking/designs/PictureAddress.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

// The first text of the data that holds a picture's markup.
QString firstHtml(const QJsonValue &value, int depth = 0)
{
    if (value.isString())
        return value.toString().contains(QLatin1String("<img"), Qt::CaseInsensitive) ? value.toString() : QString();
    if (depth > 32)
        return {};
    const QJsonArray entries = value.isArray() ? value.toArray() : QJsonArray();
    for (const QJsonValue &entry : entries)
        if (QString html = firstHtml(entry, depth + 1); !html.isEmpty())
            return html;
    const QJsonObject object = value.toObject();
    for (auto member = object.begin(); member != object.end(); ++member)
        if (QString html = firstHtml(member.value(), depth + 1); !html.isEmpty())
            return html;
    return {};
}

} // namespace

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

std::optional<QStringList> anyPictures(const QByteArray &file, const QString &scheme)
{
    if (std::optional<QStringList> described = pictures(file, scheme); described && !described->isEmpty())
        return described;
    const QString text = QString::fromUtf8(file);
    if (const qsizetype brace = text.indexOf(u'{'); brace >= 0)
        if (const std::optional<QJsonValue> data = ObjectLiteral::parse(ObjectLiteral::extract(text, brace)))
            if (const QString html = firstHtml(*data); !html.isEmpty())
                return PictureAddress::imageSources(html, scheme);
    QStringList shown = PictureAddress::imageSources(text, scheme);
    return shown.isEmpty() ? std::nullopt : std::optional<QStringList>(shown);
}

} // namespace DescriptionFile
