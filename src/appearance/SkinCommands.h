#pragma once

#include "appearance/SkinManager.h"
#include "appearance/SkinSettings.h"

#include <QPointer>

class Dialogs;
class skin;

// The remembered skin and the one skin window of the program.
class SkinCommands
{
public:
    SkinCommands(const QString &programFolder, Dialogs &dialogs);
    ~SkinCommands();

    // Start-up: the skin stored by name, or the default look.
    void applyRemembered();
    void showSkinWindow();
    skin *skinWindow() const;

private:
    SkinSettings m_settings;
    SkinManager m_skins;
    Dialogs &m_dialogs;
    QPointer<skin> m_window;
};
