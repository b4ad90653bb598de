#pragma once

#include <QTabBar>

// The tab column at the left of the window: tabs stacked top to bottom with
// their captions written across, readable without tilting one's head.
class VerticalTabBar : public QTabBar
{
    Q_OBJECT
public:
    explicit VerticalTabBar(QWidget *parent = nullptr);

Q_SIGNALS:
    // An address was dropped on the column: it opens in a tab of its own.
    void addressDropped(const QString &address);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};
