#pragma once

#include <QString>

// One picture of a rendered page as our gathering script saw it after the
// pick's scroll: what a reader of unknown designs tells the offer's own
// pictures by. Sizes are CSS pixels; 0 where the page did not say.
struct PagePicture
{
    QString src;        // the address the element shows now (currentSrc or src)
    QString lazySrc;    // data-src and the like: what a lazy picture loads in view
    double width = 0;   // as rendered
    double height = 0;
    double naturalWidth = 0;  // as loaded; 0 while not loaded
    double naturalHeight = 0;
    double top = 0;     // from the top of the document
    QString link;       // the href of the link around it, empty when none
    QString words;      // id, class and alt of it and its nearest ancestors, lower case
};
