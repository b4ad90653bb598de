#pragma once

#include "picking/MediaKind.h"

#include <QList>

// The table of the kinds of media, one row each, in MediaKind::Id order.
// A new kind is one more Id and one more row here.
class MediaKinds
{
public:
    static const QList<MediaKind> &all();
    static const MediaKind &of(MediaKind::Id id) { return all().at(id); }
    // The kind whose folder is `folder` (the group of a failed picture); null when none.
    static const MediaKind *byFolder(const QString &folder);
    // The kind whose key is `key` (a link of the result page); null when none.
    static const MediaKind *byKey(const QString &key);
};
