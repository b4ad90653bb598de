#pragma once

#include "picking/designs/PageData.h"

#include <QPair>
#include <QString>
#include <QStringList>

// What a page's data of a design we do not know says of the offer's media,
// read by what the values are (picture, video and description addresses,
// HTML) and by the names of the keys that lead to them, never by a layout:
// the gallery is the first ordered list of pictures that is the offer's (not
// under a key of recommendations, the shop or the site, and no list of links
// to other offers); SKU pictures come from lists under SKU keys, with the
// value names the data pairs them with.
struct DataMedia
{
    QStringList gallery;
    QList<QPair<QString, QString>> skus;  // picture and value name
    QStringList description;              // pictures of a description the data holds
    QString detailUrl;                    // or the address it names for one
    QString video;
};

namespace DataPictures {

// Links are read as the page at `pageUrl` reads them: one to another offer
// than the page's makes the list it is in not the offer's.
DataMedia read(const QList<PageDataValue> &values, const QString &pageUrl);

// Words in a key or a picture's names that mark what is not the offer's.
bool isForeignWord(const QString &lowerText);

} // namespace DataPictures
