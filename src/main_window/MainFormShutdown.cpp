// Closing the window: what must not be cut off, and what goes with it.
#include "main_window/MainForm.h"

#include "main_window/WindowPlacement.h"
#include "appearance/SkinCommands.h"
#include "appearance/TrayIcon.h"
#include "appearance/skin.h"
#include "main_window/FavouriteCommands.h"
#include "favourites/linka.h"

#include <QCloseEvent>
#include <QCoreApplication>

void MainForm::closeEvent(QCloseEvent *event)
{
    if (!m_shutDown && !m_transfers.mayClose(dialogs())) {
        event->ignore();
        return;
    }
    if (m_services.rememberPlace && !m_shutDown)
        WindowPlacement(configFile()).remember(*this);
    shutdown();
    event->accept();
    if (m_services.quitOnClose)
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void MainForm::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    for (auto &step : m_shutdownSteps)
        step();
    m_shutdownSteps.clear();
    if (m_plcj)
        m_plcj->close();
    if (linka *favourites = m_favourites->favouritesWindow())
        favourites->close();
    if (skin *skinWindow = m_skins->skinWindow())
        skinWindow->close();
    if (m_tray)
        m_tray->remove();
}
