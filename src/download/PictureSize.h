#pragma once

#include <QSize>
#include <QString>

// Size in pixels of the picture saved in `file`, read from its header
// (decoded whole only for a format whose header does not tell, within Qt's
// allocation limit); invalid (-1 × -1) when the file is no picture we can read.
QSize PictureSize(const QString &file);
