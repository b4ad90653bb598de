#pragma once

#include <QMetaType>
#include <QString>

// The outcome of one picture fetch. ok means the file now holds the body of a
// 2xx answer, whole; otherwise no file was written.
struct FetchResult
{
    bool ok = false;
    qint64 bytes = 0;  // bytes written to the file (0 on failure)
    int status = 0;    // HTTP status of the final answer, 0 when none came
    QString error;     // readable reason when !ok
};

Q_DECLARE_METATYPE(FetchResult)
