#include "main_window/SaveSettings.h"

#include <QFileInfo>
#include <QSettings>

namespace {
// Far above any real config.ini; a larger one is not ours and is not parsed.
constexpr qint64 MaxConfigBytes = 1024 * 1024;
}

namespace SaveSettings {

SaveChoice load(const QString &configFile)
{
    if (QFileInfo(configFile).size() > MaxConfigBytes)
        return SaveChoice();
    return SaveChoice::fromSettings(QSettings(configFile, QSettings::IniFormat));
}

bool store(const QString &configFile, const SaveChoice &choice)
{
    QSettings ini(configFile, QSettings::IniFormat);
    choice.rulesOnly().store(ini);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

} // namespace SaveSettings
