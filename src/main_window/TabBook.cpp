#include "main_window/TabBook.h"

#include "picking/CleanName.h"

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

int TabBook::PickedPosition(int n) const
{
    const qsizetype index = PickedTabs.indexOf(n);
    return index < 0 ? 0 : int(index) + 1;
}

QString TabBook::tabCaption(int n, const QString &title) const
{
    // The cut comes before the cleaning, so a caption may be shorter than the cut.
    if (PickedPosition(n) != 0)
        return QStringLiteral("Pick:") + CleanName(PickTitle.value(n).left(10));
    return CleanName(title.left(5));
}
