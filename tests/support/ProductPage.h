#pragma once

#include <QByteArray>
#include <QStringList>

// A product page built like the marketplace's: the gallery keeps its
// pictures in data-imgs attributes inside "mod-detail", and the description
// fills "desc-lazyload-container" by script only once the page is scrolled
// near it, growing the page.
struct ProductPage
{
    QString title = QStringLiteral("2024新款 时尚女包 - 阿里巴巴");
    QStringList mainPics;
    QStringList descPics;
    int fillerHeight = 1200;     // pixels between the gallery and the description
    int descHeight = 2400;       // what the description adds when it loads
    bool withGallery = true;
    bool withDescription = true;

    QByteArray html() const;
};
