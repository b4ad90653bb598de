#include "download/PictureFormat.h"

#include <QByteArrayView>
#include <QImageReader>

namespace {

bool At(const QByteArray &head, qsizetype offset, QByteArrayView magic)
{
    return head.size() >= offset + magic.size() && QByteArrayView(head).sliced(offset, magic.size()) == magic;
}

// ISO media files (AVIF, HEIF) name their brand in an "ftyp" box at offset 4.
bool IsIsoPicture(const QByteArray &head)
{
    if (!At(head, 4, "ftyp"))
        return false;
    for (const char *brand : {"avif", "avis", "heic", "heix", "hevc", "heim", "heis", "mif1", "msf1"})
        if (At(head, 8, brand))
            return true;
    return false;
}

} // namespace

bool IsPictureFormat(const QByteArray &head)
{
    return At(head, 0, "\xFF\xD8\xFF")                                 // JPEG
        || At(head, 0, "\x89PNG\r\n\x1A\n")                            // PNG
        || At(head, 0, "GIF87a") || At(head, 0, "GIF89a")              // GIF
        || (At(head, 0, "RIFF") && At(head, 8, "WEBP"))                // WebP
        || (At(head, 0, "BM") && head.size() >= 14)                    // BMP
        || IsIsoPicture(head)                                          // AVIF, HEIF
        || At(head, 0, QByteArrayView("\0\0\1\0", 4))                  // ICO
        || At(head, 0, QByteArrayView("\0\0\2\0", 4))                  // CUR
        || At(head, 0, QByteArrayView("II*\0", 4)) || At(head, 0, QByteArrayView("MM\0*", 4)); // TIFF
}

bool HasReadableHeader(const QString &file, const QByteArray &head)
{
    QByteArray format;
    if (At(head, 0, "\xFF\xD8\xFF"))
        format = "jpeg";
    else if (At(head, 0, "\x89PNG\r\n\x1A\n"))
        format = "png";
    else if (At(head, 0, "GIF8"))
        format = "gif";
    else if (At(head, 0, "RIFF") && At(head, 8, "WEBP"))
        format = "webp";
    else if (At(head, 0, "BM"))
        format = "bmp";
    static const QList<QByteArray> decoded = QImageReader::supportedImageFormats();
    if (format.isEmpty() || !decoded.contains(format))
        return true;
    QImageReader reader(file, format);
    const QSize size = reader.size();
    return size.isValid() && !size.isEmpty();
}
