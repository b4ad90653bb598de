#include "main_window/VerticalTabBar.h"

#include "main_window/DroppedAddress.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QStyleOptionTab>
#include <QStylePainter>

VerticalTabBar::VerticalTabBar(QWidget *parent) : QTabBar(parent)
{
    setShape(QTabBar::RoundedWest);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideRight);
    setDrawBase(false);
    setAcceptDrops(true);
}

void VerticalTabBar::dragEnterEvent(QDragEnterEvent *event)
{
    if (!DroppedAddress(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void VerticalTabBar::dropEvent(QDropEvent *event)
{
    const QString address = DroppedAddress(event->mimeData());
    if (address.isEmpty())
        return;
    event->acceptProposedAction();
    emit addressDropped(address);
}

QSize VerticalTabBar::tabSizeHint(int index) const
{
    const QSize natural = QTabBar::tabSizeHint(index);
    return QSize(qMax(width(), 40), qMax(natural.width(), fontMetrics().height() + 12));
}

QSize VerticalTabBar::minimumTabSizeHint(int index) const
{
    return tabSizeHint(index);
}

void VerticalTabBar::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        option.shape = QTabBar::RoundedNorth;
        // Elided to the room the style leaves for text: a longer text is
        // centred and loses its first letters ("已下载" must stay readable).
        const int room = style()->subElementRect(QStyle::SE_TabBarTabText, &option, this).width();
        option.text = fontMetrics().elidedText(tabText(i), Qt::ElideRight, qMax(0, qMin(room, option.rect.width() - 12) - 4));
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    }
}

void VerticalTabBar::resizeEvent(QResizeEvent *event)
{
    QTabBar::resizeEvent(event);
    // Tab widths follow the column's width.
    setIconSize(iconSize());
}
