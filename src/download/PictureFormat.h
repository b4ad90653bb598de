#pragma once

#include <QByteArray>

// Whether `head` (the first bytes of a body, 16 are enough) starts like a
// picture: JPEG, PNG, GIF, WebP, BMP, AVIF/HEIF, ICO or TIFF. An error page
// served under a picture's name does not.
bool IsPictureFormat(const QByteArray &head);

inline constexpr int PictureHeadBytes = 16;
