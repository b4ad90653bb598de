#include "main_window/FavouriteCommands.h"

#include "download/FolderNaming.h"
#include "favourites/FavouriteOpening.h"
#include "favourites/FavouriteStore.h"
#include "favourites/linka.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

FavouriteCommands::FavouriteCommands(MainForm &window, QObject *parent) : QObject(parent), m_window(window) {}

QString FavouriteCommands::folder() const
{
    return FavouriteStore::folderIn(m_window.services().programFolder);
}

void FavouriteCommands::openfile(const QString &path, bool flag)
{
    const FavouriteOpening opening = FavouriteOpening::decide(path, flag, m_window.addressStrip().address());
    switch (opening.action) {
    case FavouriteOpening::Action::Nothing:
        return;
    case FavouriteOpening::Action::ShowFormatError:
    case FavouriteOpening::Action::Refuse:
        m_window.dialogs().messageBox(opening.message);
        return;
    case FavouriteOpening::Action::Load:
        if (opening.newTab)
            m_window.NewP();
        if (BrowserPage *page = m_window.tabs().currentBrowser())
            page->Navigate(opening.address);
        return;
    }
}

void FavouriteCommands::bookmark()
{
    const FavouriteStore store(folder());
    // A result page lives at about:blank; the favourite is the item's own page.
    QString address = m_window.addressStrip().address();
    // Named as the item's folder is: the product, not the site.
    QString name = FolderNaming::withoutSiteName(m_window.windowTitle());
    if (const Tab *tab = m_window.tabs().current(); tab && tab->holdsResult()) {
        address = tab->result()->address;
        name = FolderNaming::productTitle(*tab->result());
    }
    if (store.find(address))
        m_window.dialogs().messageBox(QStringLiteral("收藏夹里已有这一页"));
    else if (store.save(name, address))
        m_window.dialogs().messageBox(QStringLiteral("已加入收藏夹"));
    else
        m_window.dialogs().messageBox(QStringLiteral("收藏失败：无法在收藏夹目录中写入文件。\n") + folder());
}

void FavouriteCommands::openHome()
{
    openfile(FavouriteStore(folder()).homeFile(), false);
}

void FavouriteCommands::showFavourites()
{
    // Owned by the main window: it stays above it, also after its own boxes.
    if (!m_linka)
        m_linka = new linka(folder(), m_window.dialogs(),
                            [this](const QString &path) { openfile(path, false); }, &m_window);
    m_linka->show();
    m_linka->raise();
    m_linka->activateWindow();
}

linka *FavouriteCommands::favouritesWindow() const
{
    return m_linka.data();
}
