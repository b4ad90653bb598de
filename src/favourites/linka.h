#pragma once

#include "favourites/FavouriteStore.h"

#include <QList>
#include <QWidget>

#include <functional>

class Dialogs;
class QAction;
class QListWidget;
class QMenuBar;

// The favourites window: the favourite files under a menu bar to open,
// delete, rename one or make it the home page. It reads the folder when it is
// made and deletes itself when closed, so each showing starts afresh.
class linka : public QWidget
{
    Q_OBJECT

public:
    // openfile: the main window's openfile(path, false).
    linka(const QString &folder, Dialogs &dialogs, std::function<void(const QString &path)> openfile,
          QWidget *parent = nullptr);

    // Full path of the favourite last selected; empty while there is none.
    QString selectedFavourite() const { return m_selected; }

    // 0 open, 1 delete, 2 rename, 3 set as home page. A failing command ends
    // at once, without a word and without re-reading the list.
    void menu_Click(int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildMenu();
    void Form_Load();
    void refresh(const QString &preferredName, bool orFirst = true);
    void File1_Click();
    void File1_DblClick();
    void openCommand();
    void deleteCommand();
    void renameCommand();
    void setAsHomeCommand();

    FavouriteStore m_store;
    Dialogs &m_dialogs;
    std::function<void(const QString &)> m_openfile;
    QString m_selected;
    QMenuBar *m_menuBar = nullptr;
    QList<QAction *> m_menu;
    QListWidget *File1 = nullptr;
    bool m_placed = false;
};
