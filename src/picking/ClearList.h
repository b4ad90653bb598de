#pragma once

// Empties a list by taking off its last entry while it has any; used on the
// picture lists and on the collection of running pick threads.
template <typename List>
void ClearList(List &list)
{
    while (!list.isEmpty())
        list.removeLast();
}
