#pragma once

#include "picking/PickResult.h"

#include <QString>
#include <QStringList>

// The text of the result page that replaces a picked page: the pieces in the
// order they are written. The page is both the user's view of the pick and
// the hand-over to the download, which reads the addresses back with
// PageExtractor::ExtractPics in pattern mode 0.
//
// Title, address and picture addresses come from a foreign page, so they are
// written escaped: they can add no markup or script to ours. The browser
// decodes the entities again, and the document snapshot shows attribute
// values as they are, so the read-back returns the original strings.
class ResultPage
{
public:
    static QStringList pieces(const QString &title, const QString &address,
                              const QStringList &mainPics, const QStringList &descPics);
    // The same page with a section per kind of media that has pictures to
    // show (MediaKind::heading), in the kinds' order: "SKU图:" after the main
    // thumbnails shows each SKU picture over its name; pages without SKU
    // pictures are as above.
    static QStringList pieces(const PickResult &result);

private:
    // A heading's count, e.g. "(5)".
    static QString counted(const QStringList &pictures);
    static void appendPictures(QStringList &out, const QString &imageStart,
                               const QStringList &pictures);
    static void appendSection(QStringList &out, const PickResult &result, const MediaGroup &group);
    static void appendNamedPictures(QStringList &out, const QString &imageStart, const QStringList &pictures,
                                    const QStringList &names);
};
