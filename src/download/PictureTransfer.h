#pragma once

#include "download/AnswerVerdict.h"
#include "download/FetchLimits.h"
#include "download/FetchResult.h"
#include "download/PictureFile.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

// One picture of PictureFetcher: streams a whole 2xx picture body into a
// PictureFile and commits it only when the answer ended without error and
// AnswerVerdict finds it whole. A
// transient failure (408, 429, 5xx gateway/unavailable, a reset, a cut-short
// body, a stall) is tried again after a growing pause, within the limits.
// Reports from the event loop, never from inside a call, and deletes itself
// once it has reported.
class PictureTransfer : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const FetchResult &)>;

    PictureTransfer(QNetworkAccessManager *network, const QUrl &url, const QString &file,
                    const FetchLimits &limits, QObject *context, Done done, QObject *parent);
    ~PictureTransfer() override;

    void start();
    void failBeforeStart(const QString &error);
    // Stops the fetch: no file (unless one was already committed), no report.
    void cancel();

    QObject *context() const { return m_context; }
    bool cancelled() const { return m_cancelled; }
    bool pending() const { return !m_cancelled && !m_reported; }

private:
    void attempt();
    void onReadyRead();
    void onFinished();
    void onReplyGone();
    void onDeadline();
    int status() const { return AnswerVerdict::status(m_reply); }
    void fail(const QString &error);
    QString verdict(bool *transient);
    void dropReply();
    void reportLater(const FetchResult &result);
    void report(const FetchResult &result);

    QPointer<QNetworkAccessManager> m_network;
    QUrl m_url;
    FetchLimits m_limits;
    PictureFile m_file;
    QPointer<QNetworkReply> m_reply;
    QPointer<QObject> m_context;
    bool m_hadContext = false;
    Done m_done;
    QTimer m_pause;
    QTimer m_deadline;
    QString m_error;
    QByteArray m_head;
    qint64 m_written = 0;
    int m_tries = 0;
    bool m_cancelled = false;
    bool m_reported = false;
};
