#pragma once

#include "picking/MediaGroup.h"
#include "picking/designs/ProductData.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// What one completed pick found on its page: the hand-over from the pick to
// the result page, the tab that holds it and the download.
struct PickResult
{
    QString title;          // PickTitle: the cleaned document title
    QString address;        // PickUrl: the page's address when it was read
    QStringList mainPics;   // gallery pictures, in order
    QStringList skuPics;    // SKU pictures that are not main pictures, no repeats, in order
    QStringList skuNames;   // one name per entry of skuPics (may be empty strings)
    QStringList descPics;   // description pictures, in order, repeats kept
    QStringList videos;     // the gallery video (one at most), an http(s) address
    ProductData product;    // the product's own data, as far as the page carries it
    QString note;           // what the pick could not do (e.g. description not loaded), or empty
    // The page has a description file that could not be read: the item is
    // not complete until a later run reads it.
    bool descriptionMissing = false;

    // The media as groups, in the order they are shown, saved and printed.
    QList<MediaGroup> groups() const
    {
        return {{MediaGroup::Kind::Main, mainPics, {}},
                {MediaGroup::Kind::Sku, skuPics, skuNames},
                {MediaGroup::Kind::Description, descPics, {}},
                {MediaGroup::Kind::Video, videos, {}}};
    }
    // Every file the download fetches: the pictures and the video.
    qsizetype pictureCount() const
    {
        qsizetype count = 0;
        for (const MediaGroup &group : groups())
            count += group.addresses.size();
        return count;
    }
};

Q_DECLARE_METATYPE(PickResult)
