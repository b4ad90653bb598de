#include "main_window/TabBook.h"

int TabBook::smallestFreeIndex() const
{
    int n = 0;
    while (TabList.contains(n))
        ++n;
    return n;
}

int TabBook::TabPosition(int n) const
{
    const qsizetype index = TabList.lastIndexOf(n);
    return index < 0 ? 0 : int(index) + 1;
}
