#include "favourites/FavouriteName.h"

#include "picking/CleanName.h"

#include <QFile>

namespace FavouriteName {

namespace {

// File names may hold 255 bytes on the common file systems; this leaves room
// for ".link" and the "#" of many clashes.
constexpr qsizetype MaxSavedNameBytes = 200;

} // namespace

QString fileNameSafe(const QString &cleaned)
{
    QString name = cleaned;
    name.remove(QChar(u'\0'));
    qsizetype dots = 0;
    while (dots < name.size() && name[dots] == u'.')
        ++dots;
    return name.mid(dots);
}

QString shortened(const QString &name, qsizetype maxBytes)
{
    QString result = name;
    while (!result.isEmpty() && QFile::encodeName(result).size() > maxBytes) {
        const bool pair = result.size() >= 2 && result.back().isLowSurrogate()
                          && result[result.size() - 2].isHighSurrogate();
        result.chop(pair ? 2 : 1);
    }
    return result;
}

QString fromCaption(const QString &caption)
{
    const QString name = shortened(fileNameSafe(CleanName(caption)), MaxSavedNameBytes);
    return name.isEmpty() ? QStringLiteral("收藏") : name;
}

QString fromAnswer(const QString &answer)
{
    return fileNameSafe(CleanName(answer));
}

} // namespace FavouriteName
