#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QStringList>

// A picture of the given width, encoded in memory.
inline QByteArray PictureBytes(int width, const char *format = "PNG", int height = 12)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Everything below `root`, as sorted relative paths ("a/", "a/b.png").
inline QStringList TreeOf(const QString &root)
{
    QStringList found;
    const QDir dir(root);
    for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        found << info.fileName() + (info.isDir() ? QStringLiteral("/") : QString());
        if (info.isDir())
            for (const QString &inner : TreeOf(info.filePath()))
                found << info.fileName() + u'/' + inner;
    }
    return found;
}

inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
