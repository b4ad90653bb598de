#pragma once

#include "picking/MediaGroups.h"
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
    // The gallery pictures, the SKU pictures that are not main pictures (no
    // repeats, each with a name, maybe empty), the description pictures
    // (repeats kept) and the gallery video (one at most), each in page order.
    MediaGroups media;
    ProductData product;    // the product's own data, as far as the page carries it
    QString note;           // what the pick could not do (e.g. description not loaded), or empty
    // The page has a description file that could not be read: the item is
    // not complete until a later run reads it.
    bool descriptionMissing = false;
    // The pick stopped at its deadline or at the page's height limit: what it
    // holds is what the page had loaded by then.
    bool cutShort = false;
    // Empty when a named design read the page; "generic" when the reader of
    // designs we do not know did: the user checks what it found.
    QString reader;

    // The media as groups, in the order they are shown, saved and printed.
    const QList<MediaGroup> &groups() const { return media.list(); }
    QStringList &addresses(MediaKind::Id kind) { return media.addresses(kind); }
    const QStringList &addresses(MediaKind::Id kind) const { return media.addresses(kind); }
    // Every file the download fetches: the pictures and the video.
    qsizetype pictureCount() const { return media.fileCount(); }
};

Q_DECLARE_METATYPE(PickResult)
