#pragma once

#include "picking/MediaKind.h"

#include <QString>

// group folder + "/" + group name + number + the URL's last 4 characters,
// those made harmless so that the file stays inside its group folder.
QString PictureFileName(const QString &groupFolder, const QString &groupName, int number,
                        const QString &url);
QString SafeUrlTail(const QString &url);
// The same for a file of `kind`, whose own extension (a video's .mp4) wins
// over the address's tail.
QString MediaFileName(const QString &groupFolder, const MediaKind &kind, int number, const QString &url);
