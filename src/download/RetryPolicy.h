#pragma once

#include "download/FetchLimits.h"

#include <QByteArray>
#include <QDateTime>
#include <QNetworkReply>

// Which failed tries of a picture are worth another: a busy or restarting
// server (408, 429, 500, 502, 503, 504), a connection reset or cut short, a
// stall. A 404, 403 or any other answer is the server's last word.
bool IsTransientStatus(int httpStatus);
bool IsTransientError(QNetworkReply::NetworkError error);

// A Retry-After header (seconds or an HTTP date) in milliseconds from `now`;
// -1 when there is none or it cannot be read.
qint64 RetryAfterMs(const QByteArray &header, const QDateTime &now);

// The pause after try number `triesSoFar` (1 after the first): the growing
// pause of the limits, or longer when the server asked for it, up to the cap.
int PauseBeforeNextTry(const FetchLimits &limits, int triesSoFar, qint64 retryAfterMs);
