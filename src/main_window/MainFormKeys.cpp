// The keys of the window: stepping through the tabs, the browser's keys, and menu keys over the address box.
#include "main_window/MainForm.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainToolbar.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>

bool MainForm::isMenuShortcut(const QKeySequence &keys) const
{
    const QList<QAction *> menus = menuBar()->actions();
    for (const QAction *menu : menus)
        if (menu->menu())
            for (const QAction *action : menu->menu()->actions())
                if (!action->shortcut().isEmpty() && action->shortcut().matches(keys) == QKeySequence::ExactMatch)
                    return true;
    return false;
}

void MainForm::addTabKeys()
{
    const auto add = [this](QKeyCombination keys, int step) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(keys));
        connect(action, &QAction::triggered, this, [this, step] { selectNeighbourTab(step); });
        addAction(action);
    };
    add(Qt::CTRL | Qt::Key_Tab, 1);
    // Shift+Tab arrives as Backtab.
    add(Qt::CTRL | Qt::Key_Backtab, -1);
    add(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, -1);
    const auto command = [this](QKeyCombination keys, std::function<void()> run) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(keys));
        connect(action, &QAction::triggered, this, std::move(run));
        addAction(action);
    };
    command(Qt::CTRL | Qt::Key_L, [this] { focusAddress(); });
    // The toolbar's 刷新: a result page is written again, not reloaded blank.
    command(QKeyCombination(Qt::Key_F5), [this] { MainToolbar::hooks(*this).refresh(); });
}

void MainForm::newTab()
{
    NewP();
    focusAddress();
}

void MainForm::focusAddress()
{
    m_address->urladress->setFocus(Qt::ShortcutFocusReason);
    if (QLineEdit *line = m_address->urladress->lineEdit())
        line->selectAll();
}

void MainForm::selectNeighbourTab(int step)
{
    const int count = m_tabs->count();
    if (count < 2)
        return;
    const int position = m_tabs->selectedPosition();
    m_tabs->selectPosition((position - 1 + step + count) % count + 1);
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        relayout();
    if (watched == m_address->urladress && event->type() == QEvent::ShortcutOverride
        && isMenuShortcut(QKeySequence(static_cast<QKeyEvent *>(event)->keyCombination()))) {
        // Left unaccepted, the key goes on to the menu's shortcut.
        event->ignore();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
