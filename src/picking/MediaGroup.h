#pragma once

#include "picking/MediaKinds.h"

#include <QString>
#include <QStringList>

// The media of one kind a pick found, saved into a folder of its own in the
// item folder. What a kind is called and how it is handled is its row in
// MediaKinds.
struct MediaGroup
{
    using Kind = MediaKind::Id;

    Kind kind = MediaKind::Main;
    QStringList addresses;
    QStringList names;  // one per address where the kind has names (SKU), else empty

    const MediaKind &describe() const { return MediaKinds::of(kind); }
    // The folder in the item folder, which is also the start of each file's name.
    QString folder() const { return describe().folder; }
    // The key of this group's list in a `--pick` line.
    QString key() const { return describe().key; }
};
