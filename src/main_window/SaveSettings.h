#pragma once

#include "download/SaveChoice.h"

#include <QString>

// What to save as 选项 keeps it in config.ini (section "save"), for the
// window's downloads, the batch and, under the options of the command line,
// --save and --batch. A missing, damaged or oversized file reads as the default.
namespace SaveSettings {

SaveChoice load(const QString &configFile);
// False when config.ini could not be written.
bool store(const QString &configFile, const SaveChoice &choice);

} // namespace SaveSettings
