#pragma once

#include "picking/MediaCounts.h"
#include "picking/MediaGroup.h"

#include <QList>

// One group per kind of media, in the order of MediaKinds, each possibly empty.
class MediaGroups
{
public:
    MediaGroups()
    {
        for (const MediaKind &kind : MediaKinds::all())
            m_groups.append({kind.id, {}, {}});
    }

    const QList<MediaGroup> &list() const { return m_groups; }
    MediaGroup &group(MediaKind::Id kind) { return m_groups[kind]; }
    const MediaGroup &group(MediaKind::Id kind) const { return m_groups.at(kind); }
    QStringList &addresses(MediaKind::Id kind) { return m_groups[kind].addresses; }
    const QStringList &addresses(MediaKind::Id kind) const { return m_groups.at(kind).addresses; }
    QStringList &names(MediaKind::Id kind) { return m_groups[kind].names; }
    const QStringList &names(MediaKind::Id kind) const { return m_groups.at(kind).names; }

    // How many addresses each kind has.
    MediaCounts counts() const
    {
        MediaCounts counts;
        for (const MediaGroup &group : m_groups)
            counts[group.kind] = int(group.addresses.size());
        return counts;
    }
    // Every file a download fetches.
    qsizetype fileCount() const
    {
        qsizetype count = 0;
        for (const MediaGroup &group : m_groups)
            count += group.addresses.size();
        return count;
    }

private:
    QList<MediaGroup> m_groups;
};
