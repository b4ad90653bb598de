#pragma once

#include "picking/MediaKind.h" // MinDescWidth

#include <QString>

// Width in pixels of the picture saved in `file`, read from its header
// (decoded whole only for a format whose header does not tell); -1 when the
// file is no picture we can read.
int DescWidth(const QString &file);
