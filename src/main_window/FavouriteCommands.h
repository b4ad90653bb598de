#pragma once

#include <QObject>
#include <QPointer>

class MainForm;
class linka;

// What the main window does with favourites: open one, bookmark the current
// address, open the home page, show the favourites window.
class FavouriteCommands : public QObject
{
    Q_OBJECT
public:
    explicit FavouriteCommands(MainForm &window, QObject *parent = nullptr);

    QString folder() const;
    void openfile(const QString &path, bool flag);
    void bookmark();
    void openHome();
    void showFavourites();
    linka *favouritesWindow() const;

private:
    MainForm &m_window;
    QPointer<linka> m_linka;
};
