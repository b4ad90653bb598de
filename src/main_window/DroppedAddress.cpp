#include "main_window/DroppedAddress.h"

#include <QMimeData>
#include <QUrl>

QString DroppedAddress(const QMimeData *data)
{
    if (!data)
        return {};
    for (const QUrl &url : data->urls())
        if (url.isValid() && !url.isLocalFile())
            return url.toString();
    const QString text = data->text().trimmed();
    if (text.isEmpty() || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char(' ')))
        return {};
    const QUrl url = QUrl::fromUserInput(text);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == u"http" || scheme == u"https") ? text : QString();
}
