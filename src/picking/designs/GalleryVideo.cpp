#include "picking/designs/GalleryVideo.h"

#include "picking/designs/HtmlText.h"
#include "picking/designs/JsonSearch.h"

#include <QJsonObject>
#include <QUrl>

namespace GalleryVideo {

QString address(const QString &text, const QString &scheme)
{
    QString out = text.trimmed();
    if (out.startsWith(QLatin1String("//")))
        out.prepend(scheme + u':');
    const QUrl url(out, QUrl::StrictMode);
    const QString urlScheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (urlScheme != QLatin1String("http") && urlScheme != QLatin1String("https")))
        return QString();
    return out;
}

QString fromContext(const QJsonValue &context, const QString &scheme)
{
    auto usable = [&scheme](const QJsonValue &video) {
        const QJsonValue id = video[QStringLiteral("videoId")];
        const bool noId = id.isDouble() ? id.toDouble() == 0 : id.toString() == QLatin1String("0");
        return video.isObject() && !noId && !address(video[QStringLiteral("videoUrl")].toString(), scheme).isEmpty();
    };
    QJsonValue video = JsonSearch::at(context, {QStringLiteral("result"), QStringLiteral("data"), QStringLiteral("gallery"),
                                                QStringLiteral("fields"), QStringLiteral("video")});
    if (!usable(video))
        video = JsonSearch::find(context, QStringLiteral("video"), usable);
    return video.isObject() ? address(video[QStringLiteral("videoUrl")].toString(), scheme) : QString();
}

QString fromInitData(const QJsonValue &data, const QString &scheme)
{
    const QJsonValue video = JsonSearch::find(data, QStringLiteral("videoUrl"), [&scheme](const QJsonValue &v) {
        return !address(v.toString(), scheme).isEmpty();
    });
    return address(video.toString(), scheme);
}

QString fromMarkup(const DocumentSnapshot &snapshot, const QString &scheme)
{
    static const QLatin1String key("\"videoUrl\":\"");
    for (const DivElement &div : snapshot.divs) {
        const qsizetype start = div.html.indexOf(key);
        const qsizetype end = start < 0 ? -1 : div.html.indexOf(u'"', start + key.size());
        if (end > 0)
            // Attribute values in the snapshot may still carry their entities.
            return address(HtmlText::decodeEntities(div.html.sliced(start + key.size(), end - start - key.size())), scheme);
    }
    return QString();
}

} // namespace GalleryVideo
