#include "picking/PictureFileName.h"

QString SafeUrlTail(const QString &url)
{
    QString tail = url.right(4);
    for (QChar &c : tail) {
        // Separators would leave the group folder, ":" names a stream on
        // Windows, and control characters (NUL first) cut or garble names.
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'_';
    }
    return tail;
}

QString PictureFileName(const QString &groupFolder, const QString &groupName, int number, const QString &url)
{
    return groupFolder + u'/' + groupName + QString::number(number) + SafeUrlTail(url);
}

QString MediaFileName(const QString &groupFolder, const MediaKind &kind, int number, const QString &url)
{
    if (kind.extension.isEmpty())
        return PictureFileName(groupFolder, kind.folder, number, url);
    return groupFolder + u'/' + kind.folder + QString::number(number) + kind.extension;
}
