#include "main_window/MainLayout.h"

MainLayout MainLayout::compute(int width, int height)
{
    MainLayout layout;
    const int w = width * 15;
    const int h = height * 15;
    layout.toolbar = QRect(0, 0, width, px(630));
    layout.addressStrip = QRect(0, px(630), width, px(420));
    if (w < 3710 || h < 1200)
        return layout;
    layout.browsersMoved = true;
    layout.browser = QRect(px(3710), px(960), px(w - 3710), px(h - 1200));
    // The address strip reaches below 960 twips: a list starting there would
    // lie under the strip's lower edge, or over the 采集/下载 buttons.
    const int mesgTop = qMax(px(960), layout.addressStrip.bottom() + 1);
    layout.mesg = QRect(px(3710), mesgTop, px(w - 3710), px(240));
    layout.tabStrip = QRect(0, px(960), px(w - (w - 3710) - 255), px(h - 1200));
    layout.closeButton = QRect(layout.tabStrip.width(), px(960), px(255), px(255));
    layout.urladress = QRect(px(840), px(60), px(w - 3600), px(300));
    layout.pickButton = QRect(px(w - 2750), 0, px(975), px(375));
    layout.downloadButton = QRect(px(w - 1775), 0, px(975), px(375));
    return layout;
}

QRect MainLayout::startGeometry(const QRect &wanted, const QMargins &margins, const QRect &available)
{
    QRect frame = wanted.marginsAdded(margins);
    frame.setSize(frame.size().boundedTo(available.size()));
    frame.moveRight(qMin(frame.right(), available.right()));
    frame.moveBottom(qMin(frame.bottom(), available.bottom()));
    frame.moveLeft(qMax(frame.left(), available.left()));
    frame.moveTop(qMax(frame.top(), available.top()));
    return frame.marginsRemoved(margins);
}
