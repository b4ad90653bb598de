// The result pages in the skin's colours.
#include "main_window/MainForm.h"

#include "picking/ResultPageStyle.h"

#include <QApplication>
#include <QPalette>

void MainForm::followSkin()
{
    m_skinPending = false;
    // Without a skin the page keeps its own light look.
    const bool skinned = !qApp->styleSheet().isEmpty();
    // A window not yet shown takes its colours from the sheet only when polished.
    m_client->ensurePolished();
    const QColor background = skinned ? m_client->palette().color(QPalette::Window) : QColor();
    const QColor text = skinned ? m_client->palette().color(QPalette::WindowText) : QColor();
    if (background == m_pageBackground)
        return;
    m_pageBackground = background;
    ResultPageStyle::followSkin(background, text);
    // A written page does not restyle itself: the results are written again.
    for (Tab *tab : m_tabs->tabs())
        if (tab)
            tab->redrawResult();
}
