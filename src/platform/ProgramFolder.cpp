#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ProgramFolder {

QString resolve()
{
    const QString beside = QCoreApplication::applicationDirPath();
    // An installed program's bin/ may be writable (to root), but it is no place for a user's data.
    if (QFileInfo(beside).isWritable() && installed() == beside)
        return beside;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QString installed()
{
    // A portable copy carries its files beside the executable; an installed
    // one (bin/pictorra) finds them in share/pictorra.
    const QString beside = QCoreApplication::applicationDirPath();
    if (QFileInfo(join(beside, QStringLiteral("皮肤"))).isDir())
        return beside;
    const QString shared = QDir(beside).absoluteFilePath(QStringLiteral("../share/pictorra"));
    return QFileInfo(shared).isDir() ? QDir::cleanPath(shared) : beside;
}

QString join(const QString &folder, const QString &name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace ProgramFolder
