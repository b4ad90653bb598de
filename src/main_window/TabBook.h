#pragma once

#include <QHash>
#include <QList>
#include <QString>

// The tab bookkeeping, free of widgets: which browser index sits at which tab
// position, which tab is selected, and what the picks stored per tab.
// Per-tab values live in growing tables, so there is no limit on the index.
class TabBook
{
public:
    QList<int> TabList;      // browser index of each tab position, in strip order
    int CurIndex = 0;        // browser index of the selected tab
    QList<int> PickedTabs;   // tabs on which a pick has started scrolling
    QHash<int, qint16> PickingFlag;  // -1 while a pick runs in that tab
    QHash<int, QString> PickTitle;
    QHash<int, QString> PickUrl;

    // The smallest browser index no tab uses.
    int smallestFreeIndex() const;
    // 1-based position of the (last) tab showing browser `n`; 0 when none.
    int TabPosition(int n) const;
    // 1-based position of `n` in PickedTabs; 0 when it was never picked.
    int PickedPosition(int n) const;
    bool isPicking(int n) const { return PickingFlag.value(n, 0) != 0; }
    // The caption a tab shows for a page title.
    QString tabCaption(int n, const QString &title) const;
};
