#include "appearance/SkinCommands.h"

#include "appearance/skin.h"
#include "platform/ProgramFolder.h"

SkinCommands::SkinCommands(const QString &programFolder, Dialogs &dialogs)
    : m_settings(programFolder), m_skins(programFolder, ProgramFolder::installed()), m_dialogs(dialogs)
{
}

SkinCommands::~SkinCommands()
{
    delete m_window.data();
}

void SkinCommands::applyRemembered()
{
    m_skins.applyRemembered(m_settings);
}

void SkinCommands::showSkinWindow()
{
    if (!m_window)
        m_window = new skin(m_settings, m_skins, m_dialogs);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

skin *SkinCommands::skinWindow() const
{
    return m_window.data();
}
