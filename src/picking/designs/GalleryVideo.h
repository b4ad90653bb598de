#pragma once

#include "platform/DocumentSnapshot.h"

#include <QJsonValue>
#include <QString>

// The address of a product's gallery video, where its page gives one. Only
// http(s) addresses count: anything else (javascript:, file:, data:) is no
// video. Empty when there is none.
namespace GalleryVideo {

// A video address as the page gives it; "//host/v.mp4" takes `scheme`.
QString address(const QString &text, const QString &scheme);

// Today's desktop data: the offer's main video, {"videoId": …, "videoUrl": …};
// none when its address is missing or empty or its videoId is 0.
QString fromContext(const QJsonValue &context, const QString &scheme);

// Other inline data: a direct videoUrl only (a videoId alone is no address).
QString fromInitData(const QJsonValue &data, const QString &scheme);

// The old design's markup: a "videoUrl":"…" in its widget configuration.
QString fromMarkup(const DocumentSnapshot &snapshot, const QString &scheme);

} // namespace GalleryVideo
