#include "main_window/MainToolbar.h"

#include "appearance/SkinCommands.h"
#include "appearance/Toolbar1.h"
#include "main_window/CollectCommand.h"
#include "main_window/FavouriteCommands.h"
#include "main_window/MainForm.h"
#include "platform/BrowserPage.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>

Toolbar1 *MainToolbar::create(MainForm &window)
{
    auto *toolbar = new Toolbar1;
    auto commands = std::make_shared<ToolbarCommands>(hooks(window));
    QObject::connect(toolbar, &Toolbar1::buttonClicked, &window, [commands](int index) { commands->run(index); });
    // No picture of its own: the skins draw the eight buttons only.
    toolbar->addSeparator();
    QAction *collect = toolbar->addAction(QStringLiteral("采集本页地址"));
    collect->setObjectName(QStringLiteral("collectAddresses"));
    collect->setToolTip(QStringLiteral("把本页的宝贝地址加入批量采集"));
    QObject::connect(collect, &QAction::triggered, &window, [&window] { window.collectCommand().collectCurrent(); });
    return toolbar;
}

BrowserPage *MainToolbar::selectedPage(MainForm &window)
{
    return window.tabs().currentBrowser();
}

ToolbarCommands::Hooks MainToolbar::hooks(MainForm &window)
{
    ToolbarCommands::Hooks hooks;
    hooks.paste = [&window] {
        if (BrowserPage *page = selectedPage(window)) {
            page->takeFocus();
            page->paste();
        }
    };
    hooks.copy = [&window] {
        // Cleared first: a copy that copies nothing leaves nothing behind.
        QGuiApplication::clipboard()->clear();
        if (BrowserPage *page = selectedPage(window))
            page->copy();
    };
    hooks.newPage = [&window] { window.NewP(); };
    hooks.home = [&window] { window.favourites().openHome(); };
    hooks.favourites = [&window] { window.favourites().showFavourites(); };
    hooks.bookmark = [&window] { window.favourites().bookmark(); };
    hooks.refresh = [&window] {
        // A result page was written, not loaded: a reload would blank it.
        if (Tab *tab = window.tabs().current(); tab && tab->redrawResult())
            return;
        if (BrowserPage *page = selectedPage(window))
            page->Refresh();
    };
    hooks.skin = [&window] { window.skins().showSkinWindow(); };
    return hooks;
}
