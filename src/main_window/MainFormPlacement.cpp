// Where the window and its parts go: at start, on a resize, and when minimized.
#include "main_window/MainForm.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainLayout.h"
#include "main_window/WindowPlacement.h"

#include <QEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

void MainForm::placeAtStart()
{
    if (m_services.rememberPlace)
        return WindowPlacement(configFile()).restore(*this);
    const QRect wanted(MainLayout::px(4440), MainLayout::px(2880), MainLayout::px(12225),
                       MainLayout::px(6960) + menuBar()->sizeHint().height());
    // The frame is not known before the window is shown: the title bar's
    // height and a border stand in for it.
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 2;
    const QMargins frame(border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + border, border, border);
    const QRect available = screen() ? screen()->availableGeometry() : wanted.marginsAdded(frame);
    const QRect place = MainLayout::startGeometry(wanted, frame, available);
    resize(place.size());
    move(place.topLeft() - QPoint(frame.left(), frame.top()));
}

void MainForm::replaceToolbar(QToolBar *toolbar)
{
    delete m_toolbar;
    m_toolbar = toolbar;
    toolbar->setParent(m_client);
    toolbar->show();
    relayout();
}

void MainForm::relayout()
{
    const MainLayout layout = MainLayout::compute(m_client->width(), m_client->height());
    m_toolbar->setGeometry(layout.toolbar);
    m_address->applyLayout(layout);
    m_tabs->applyLayout(layout);
}

void MainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::StyleChange && !m_skinPending) {
        // A skin restyles every widget at once: the pages follow once it is done.
        m_skinPending = true;
        QTimer::singleShot(0, this, [this] { followSkin(); });
    }
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_hideOnMinimize)
        QTimer::singleShot(0, this, [this] { if (isMinimized()) hide(); });
}
