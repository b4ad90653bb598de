#include "download/RetryPolicy.h"

#include <algorithm>

bool IsTransientStatus(int code)
{
    return code == 408 || code == 429 || code == 500 || code == 502 || code == 503 || code == 504;
}

bool IsTransientError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::RemoteHostClosedError:       // reset, or a body cut short
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:      // the stall time-out
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::UnknownNetworkError:
        return true;
    default:
        return false;
    }
}

qint64 RetryAfterMs(const QByteArray &header, const QDateTime &now)
{
    const QByteArray value = header.trimmed();
    if (value.isEmpty())
        return -1;
    bool number = false;
    const qint64 seconds = value.toLongLong(&number);
    if (number)
        return seconds < 0 ? -1 : std::min<qint64>(seconds, 24 * 3600) * 1000;
    // HTTP dates end in "GMT", which Qt's RFC 2822 reader does not take.
    QString text = QString::fromLatin1(value);
    if (text.endsWith(QLatin1String(" GMT")))
        text.replace(text.size() - 3, 3, QStringLiteral("+0000"));
    const QDateTime when = QDateTime::fromString(text, Qt::RFC2822Date);
    return when.isValid() ? std::max<qint64>(0, now.msecsTo(when)) : -1;
}

int PauseBeforeNextTry(const FetchLimits &limits, int triesSoFar, qint64 retryAfterMs)
{
    const QList<int> &pauses = limits.pausesMs;
    qint64 pause = pauses.isEmpty() ? 0 : pauses.at(std::clamp<qsizetype>(triesSoFar - 1, 0, pauses.size() - 1));
    if (retryAfterMs >= 0)
        pause = std::max(pause, std::min<qint64>(retryAfterMs, limits.retryAfterCapMs));
    return int(pause);
}
