#pragma once

#include "platform/PagePicture.h"

#include <QList>
#include <QStringList>

// The offer's pictures as a page of a design we do not know shows them once
// scrolled to its end. The gallery is the offer's large pictures at the top
// (a thumbnail that is a smaller copy, …jpg_60x60.jpg, counts as the picture
// itself); the description is the longest run of content pictures below it,
// in order, lazy ones included. Logos, icons, avatars, pictures in links to
// other offers and pictures under a content picture's size are not the offer's.
struct RenderedMedia
{
    QStringList gallery;
    QStringList description;
};

namespace RenderedPictures {

// A content picture is at least this large (CSS pixels) either way round.
constexpr double MinContentSide = 200;
constexpr double MinContentHeight = 100;

RenderedMedia read(const QList<PagePicture> &pictures, const QString &scheme, const QString &offerNumber);

} // namespace RenderedPictures
