#pragma once

#include <QByteArray>

// Whether `head` (the first bytes of a body, 8 are enough) starts like an MP4
// video: an ISO media file names its type in an "ftyp" box at offset 4. An
// error page or a picture served at a video's address does not.
bool IsVideoFormat(const QByteArray &head);

inline constexpr int VideoHeadBytes = 8;
