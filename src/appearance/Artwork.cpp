#include "appearance/Artwork.h"

namespace Artwork {

QString programIconPath()
{
    return QStringLiteral(":/icons/pictorra.svg");
}

QIcon programIcon()
{
    return QIcon(programIconPath());
}

QString picturePath(int number)
{
    if (number < 1 || number > 10)
        return {};
    return QStringLiteral(":/toolbar/picture%1.svg").arg(number);
}

QIcon picture(int number)
{
    const QString path = picturePath(number);
    return path.isEmpty() ? QIcon() : QIcon(path);
}

} // namespace Artwork
