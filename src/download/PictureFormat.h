#pragma once

#include <QByteArray>
#include <QString>

// Whether `head` (the first bytes of a body, 16 are enough) starts like a
// picture: JPEG, PNG, GIF, WebP, BMP, AVIF/HEIF, ICO or TIFF. An error page
// served under a picture's name does not.
bool IsPictureFormat(const QByteArray &head);

inline constexpr int PictureHeadBytes = 16;

// Whether the whole body saved in `file`, which starts with `head`, is a
// picture whose header can be read. The formats decoded here (JPEG, PNG, GIF,
// BMP, WebP) must give their size: a few bytes that only start like one are
// no picture. Formats not decoded here (AVIF/HEIF, ICO, TIFF) cannot be told
// and pass.
bool HasReadableHeader(const QString &file, const QByteArray &head);
