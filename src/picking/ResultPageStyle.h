#pragma once

#include <QColor>
#include <QString>

// The look of the result page, as one <style> piece for its head. It only
// styles: the markup the download reads the addresses back from stays as it
// is written. Thumbnails keep their aspect ratio inside a fixed box, the
// picture rows fill the window's width, and the product tables stay compact.
class ResultPageStyle
{
public:
    static QString piece();
    // The page follows the window's skin (ResultPageSkin.cpp): a dark window
    // gets a dark page. An invalid background brings the page's own look back.
    static void followSkin(const QColor &background, const QColor &text);

private:
    static QString ownPiece();
    static QString skinPiece();
};
