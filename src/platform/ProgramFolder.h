#pragma once

#include <QString>

// Where likepage, 皮肤 and config.ini live: beside the executable when that
// folder is writable (a portable install), otherwise the per-user data folder.
namespace ProgramFolder {
QString resolve();
// Where the shipped skins and catalogues are, writable or not: the folder of
// the executable, or share/pictorra beside its bin/ when installed.
QString installed();
QString join(const QString &folder, const QString &name);
}
