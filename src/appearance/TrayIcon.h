#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QWidget;

// The program's icon in the notification area, tool tip "Pictorra", for the
// main window's whole life. A left click brings a minimized (hidden) main
// window back at normal size; the right button opens 显示/隐藏 and the given
// menu's items.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    TrayIcon(QWidget *mainWindow, QMenu *menu, QObject *parent = nullptr);

    QSystemTrayIcon *systemTrayIcon() { return &m_icon; }
    void add();     // puts the icon in the notification area
    void remove();  // takes it out again

public slots:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    // 显示/隐藏: a window in sight goes out of it, a hidden one comes back.
    void toggleWindow();

private:
    QPointer<QWidget> m_window;
    QMenu m_menu;
    QSystemTrayIcon m_icon;
};
