#pragma once

#include <QList>

// The tab strip's bookkeeping, free of widgets: which browser index sits at
// which tab position and which tab is selected. There is no limit on the index.
class TabBook
{
public:
    QList<int> TabList;      // browser index of each tab position, in strip order
    int CurIndex = 0;        // browser index of the selected tab

    // The smallest browser index no tab uses.
    int smallestFreeIndex() const;
    // 1-based position of the (last) tab showing browser `n`; 0 when none.
    int TabPosition(int n) const;
};
