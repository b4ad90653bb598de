#pragma once

#include "picking/MediaKinds.h"

#include <array>

// A count per kind of media: found by a pick, left on disk by a download.
class MediaCounts
{
public:
    int &operator[](MediaKind::Id kind) { return m_counts[kind]; }
    int operator[](MediaKind::Id kind) const { return m_counts[kind]; }

    MediaCounts &operator+=(const MediaCounts &other)
    {
        for (int kind = 0; kind < MediaKind::Count; ++kind)
            m_counts[kind] += other.m_counts[kind];
        return *this;
    }
    bool operator==(const MediaCounts &other) const = default;

    // The kinds counted as pictures (张), every kind but those counted apart.
    int pictures() const
    {
        int sum = 0;
        for (const MediaKind &kind : MediaKinds::all())
            sum += kind.apartCount.isEmpty() ? m_counts[kind.id] : 0;
        return sum;
    }

private:
    std::array<int, MediaKind::Count> m_counts{};
};
