#pragma once

#include "picking/MediaKind.h"

#include <QList>
#include <QtGlobal>

// The bounds every picture fetch keeps. A picture server is untrusted: it may
// stall, dribble, send without end or fail now and then. Tests shrink these.
// The defaults are those of a picture; forKind() gives those of any kind.
struct FetchLimits
{
    int stallMs = 30000;              // no byte for this long: this try fails
    int totalMs = 5 * 60 * 1000;      // one picture, every try and pause included
    qint64 maxBytes = 64ll << 20;     // a product picture is under 10 MB
    qint64 readBufferBytes = 1 << 20; // unread bytes Qt may hold before it stops reading
    int tries = 3;                    // for transient failures only
    QList<int> pausesMs{500, 2000};   // before the 2nd, 3rd … try (the last one repeats)
    int retryAfterCapMs = 10000;      // a longer Retry-After is waited for this long
    bool requirePicture = true;       // the body must start like a picture format
    bool requireVideo = false;        // the body must start like an MP4 video

    // The same patience for a silent server, with the kind's cap, time for
    // the whole and accepted format (a gallery video: more of both, an MP4).
    FetchLimits forKind(const MediaKind &kind) const
    {
        FetchLimits limits = *this;
        limits.maxBytes = kind.maxBytes;
        limits.totalMs = kind.totalMs;
        limits.requirePicture = kind.body == MediaKind::Body::Picture;
        limits.requireVideo = kind.body == MediaKind::Body::Video;
        return limits;
    }
};
