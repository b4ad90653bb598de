#include "main_window/VerticalTabBar.h"

#include <QStyleOptionTab>
#include <QStylePainter>

VerticalTabBar::VerticalTabBar(QWidget *parent) : QTabBar(parent)
{
    setShape(QTabBar::RoundedWest);
    setExpanding(false);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideRight);
    setDrawBase(false);
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
        option.text = fontMetrics().elidedText(tabText(i), Qt::ElideRight, option.rect.width() - 12);
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    }
}

void VerticalTabBar::mouseReleaseEvent(QMouseEvent *event)
{
    QTabBar::mouseReleaseEvent(event);
    emit mouseReleased();
}

void VerticalTabBar::resizeEvent(QResizeEvent *event)
{
    QTabBar::resizeEvent(event);
    // Tab widths follow the column's width.
    setIconSize(iconSize());
}
