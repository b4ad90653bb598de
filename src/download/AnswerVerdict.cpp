#include "download/AnswerVerdict.h"

#include "download/PictureFormat.h"
#include "download/RetryPolicy.h"
#include "download/VideoFormat.h"

#include <QNetworkReply>

int AnswerVerdict::status(const QNetworkReply *reply)
{
    return reply ? reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt() : 0;
}

AnswerVerdict::Verdict AnswerVerdict::judge(QNetworkReply &reply, const FetchLimits &limits, qint64 written,
                                            const QByteArray &head, PictureFile &file)
{
    const int code = status(&reply);
    if (code >= 300 || (code == 0 && reply.error() == QNetworkReply::NoError))
        return {QStringLiteral("HTTP status %1").arg(code), IsTransientStatus(code)};
    if (reply.error() != QNetworkReply::NoError) {
        const auto error = reply.error();
        if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
            return {QStringLiteral("no data for %1 ms").arg(limits.stallMs), IsTransientError(error)};
        return {reply.errorString(), IsTransientError(error)};
    }
    if (!acceptedStatus(code))
        return {QStringLiteral("HTTP status %1: no whole picture").arg(code)};
    if (written == 0)
        return {QStringLiteral("empty answer")};
    // Qt does not always flag a connection closed before the declared length;
    // a picture cut short must never be kept as if whole. Content-Length
    // counts the encoded bytes, so only an unencoded answer can be measured.
    const qint64 declared = reply.header(QNetworkRequest::ContentLengthHeader).toLongLong();
    if (declared > 0 && written < declared && reply.rawHeader("Content-Encoding").isEmpty())
        return {QStringLiteral("cut short: %1 of %2 bytes").arg(written).arg(declared), true};
    if (limits.requireVideo && !IsVideoFormat(head))
        return {QStringLiteral("not a video")};
    if (limits.requirePicture && !IsPictureFormat(head))
        return {QStringLiteral("not a picture")};
    if (limits.requirePicture && !(file.flush() && HasReadableHeader(file.partName(), head)))
        return {QStringLiteral("not a picture: its header cannot be read")};
    if (!file.commit())
        return {QStringLiteral("cannot save %1: %2").arg(file.fileName(), file.errorString())};
    return {};
}
