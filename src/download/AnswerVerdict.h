#pragma once

#include "download/FetchLimits.h"
#include "download/PictureFile.h"

#include <QByteArray>
#include <QString>

class QNetworkReply;

// Whether a finished answer is a whole file of the kind asked for: a 2xx
// answer with a body (not 204/205/206), not cut short, starting like the
// kind's format, with a readable picture header where a picture was asked
// for. A whole one is committed to its file here.
class AnswerVerdict
{
public:
    struct Verdict
    {
        QString error;          // empty: the file is saved
        bool transient = false; // trying again may help
    };

    static Verdict judge(QNetworkReply &reply, const FetchLimits &limits, qint64 written, const QByteArray &head,
                         PictureFile &file);
    static int status(const QNetworkReply *reply);
    // We never ask for a range: a partial answer is no whole picture, and the
    // answers without a body have none.
    static bool acceptedStatus(int code) { return code >= 200 && code <= 299 && code != 204 && code != 205 && code != 206; }
};
