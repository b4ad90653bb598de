#include "appearance/TrayIcon.h"

#include "appearance/Artwork.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

TrayIcon::TrayIcon(QWidget *mainWindow, QMenu *menu, QObject *parent)
    : QObject(parent), m_window(mainWindow), m_icon(Artwork::programIcon())
{
    m_icon.setToolTip(QStringLiteral("Pictorra"));
    // The platform opens the context menu itself on the right button, under
    // the pointer; below 显示/隐藏 come the very actions of the window's menu.
    QAction *toggle = m_menu.addAction(QStringLiteral("显示/隐藏"));
    toggle->setObjectName(QStringLiteral("showHide"));
    connect(toggle, &QAction::triggered, this, &TrayIcon::toggleWindow);
    if (menu) {
        m_menu.addSeparator();
        m_menu.addActions(menu->actions());
    }
    m_icon.setContextMenu(&m_menu);
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

void TrayIcon::toggleWindow()
{
    if (!m_window)
        return;
    if (m_window->isVisible() && !m_window->isMinimized()) {
        m_window->hide();
        return;
    }
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}
