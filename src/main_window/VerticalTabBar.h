#pragma once

#include <QTabBar>

// The tab column at the left of the window: tabs stacked top to bottom with
// their captions written across, readable without tilting one's head.
class VerticalTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit VerticalTabBar(QWidget *parent = nullptr);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
