#pragma once

#include <QString>

// Where likepage, 皮肤 and config.ini live: beside the executable when that
// folder is writable (a portable install), otherwise the per-user data folder.
namespace ProgramFolder {
QString resolve();
// The folder of the executable, where the shipped skins are, writable or not.
QString installed();
QString join(const QString &folder, const QString &name);
}
