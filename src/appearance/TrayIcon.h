#pragma once

#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class QMenu;
class QWidget;

// The program's icon in the notification area, tool tip "Pictorra", for the
// main window's whole life. A left click brings a minimized (hidden) main
// window back at normal size; the right button opens the given menu.
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

private:
    QPointer<QWidget> m_window;
    QSystemTrayIcon m_icon;
};
