#include "download/PictureSize.h"

#include <QImage>
#include <QImageReader>

QSize PictureSize(const QString &file)
{
    const QSize size = QImageReader(file).size();
    if (size.isValid() && size.width() > 0)
        return size;
    const QImage image = QImageReader(file).read();
    return image.isNull() ? QSize(-1, -1) : image.size();
}
