#pragma once

#include "picking/PicLists.h"
#include "platform/DocumentSnapshot.h"

#include <QString>
#include <QStringList>

// Reads a pick out of a document: the item title, whether the page is a
// product page (both picture containers present), and the picture addresses
// of the two containers. The lists only ever grow here; emptying them is the
// consumers' business.
namespace PageExtractor {

// The ids of the two picture containers: the divs a document read needs.
QStringList ContainerIds();

// The text of the document's first <title>; empty without one.
QString GetPageTitle(const DocumentSnapshot &document);

// checkOnly: true when the document has a "mod-detail" and a
// "desc-lazyload-container" div; nothing is touched. Otherwise appends the
// addresses of every such div, in document order, to the lists of
// `browserIndex` and returns true. patternMode 1 reads the gallery's
// "original" entries, any other mode plain picture addresses.
bool ExtractPics(const DocumentSnapshot &document, int patternMode, int browserIndex,
                 bool checkOnly, PicLists &lists);

void MainPicsFromHtml(const QString &html, int patternMode, int browserIndex, PicLists &lists);
void DescPicsFromHtml(const QString &html, int browserIndex, PicLists &lists);

} // namespace PageExtractor
