#pragma once

#include <QString>

// Names of favourite files. The name cleaner leaves characters that still
// cannot stand in a file name here, and a name starting with "." would be a
// hidden file that the favourites window never lists.
namespace FavouriteName {

// The name a favourite of a page with this window caption is saved under,
// without ".link". Never empty: "收藏" when nothing usable is left.
QString fromCaption(const QString &caption);

// The new file name a rename answer asks for; empty when it asks for nothing
// usable (the favourite then keeps its name).
QString fromAnswer(const QString &answer);

// The cleaned text without NUL characters and leading dots.
QString fileNameSafe(const QString &cleaned);

// Cut to at most maxBytes in the file system's encoding, on a character boundary.
QString shortened(const QString &name, qsizetype maxBytes);

} // namespace FavouriteName
