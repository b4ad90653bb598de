#include "download/DescWidth.h"

#include <QImage>
#include <QImageReader>

int DescWidth(const QString &file)
{
    const QSize size = QImageReader(file).size();
    if (size.isValid() && size.width() > 0)
        return size.width();
    const QImage image = QImageReader(file).read();
    return image.isNull() ? -1 : image.width();
}
