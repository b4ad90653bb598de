#include "appearance/TrayIcon.h"

#include "appearance/Artwork.h"

#include <QMenu>
#include <QWidget>

TrayIcon::TrayIcon(QWidget *mainWindow, QMenu *menu, QObject *parent)
    : QObject(parent), m_window(mainWindow), m_icon(Artwork::programIcon())
{
    m_icon.setToolTip(QStringLiteral("Pictorra"));
    // The platform opens the context menu itself on the right button, under
    // the pointer; the menu's actions stay those of the window's menu.
    m_icon.setContextMenu(menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::onActivated);
}

void TrayIcon::add()
{
    m_icon.show();
}

void TrayIcon::remove()
{
    m_icon.hide();
}

void TrayIcon::onActivated(QSystemTrayIcon::ActivationReason reason)
{
    // A double click arrives after the Trigger of its first press, which did the work.
    if (reason != QSystemTrayIcon::Trigger || !m_window)
        return;
    if (!m_window->isMinimized() && m_window->isVisible())
        return;
    m_window->showNormal();
    m_window->activateWindow();
}
