#pragma once

#include <QString>

// The look of the result page, as one <style> piece for its head. It only
// styles: the markup the download reads the addresses back from stays as it
// is written. Thumbnails keep their aspect ratio inside a fixed box, the
// picture rows fill the window's width, and the product tables stay compact.
class ResultPageStyle
{
public:
    static QString piece();
};
