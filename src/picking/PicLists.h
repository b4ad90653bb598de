#pragma once

#include <QStringList>

#include <map>

// The main-picture and description-picture address lists of every browser
// index. A list comes into being empty on first use and only grows until a
// consumer empties it with ClearList.
//
// std::map keeps every list where it is when others are added, so a
// reference handed out stays valid for the life of this object.
class PicLists
{
public:
    QStringList &MainPics(int browserIndex) { return m_main[browserIndex]; }
    QStringList &DescPics(int browserIndex) { return m_desc[browserIndex]; }

    // Read-only look-ups that create nothing.
    const QStringList &MainPics(int browserIndex) const { return find(m_main, browserIndex); }
    const QStringList &DescPics(int browserIndex) const { return find(m_desc, browserIndex); }

private:
    static const QStringList &find(const std::map<int, QStringList> &lists, int browserIndex)
    {
        static const QStringList empty;
        const auto it = lists.find(browserIndex);
        return it == lists.end() ? empty : it->second;
    }

    std::map<int, QStringList> m_main;
    std::map<int, QStringList> m_desc;
};
