#pragma once

#include <QString>

// group folder + "/" + group name + number + the URL's last 4 characters,
// those made harmless so that the file stays inside its group folder.
QString PictureFileName(const QString &groupFolder, const QString &groupName, int number,
                        const QString &url);
QString SafeUrlTail(const QString &url);
