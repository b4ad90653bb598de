#pragma once

#include "download/FetchResult.h"
#include "download/PictureFile.h"

#include <QNetworkReply>
#include <QObject>
#include <QPointer>

#include <functional>

// One fetch of PictureFetcher: streams a 2xx body into a PictureFile and
// commits it only when the answer ended without error. Reports from the event
// loop, never from inside a call, and deletes itself once it has reported.
class PictureTransfer : public QObject
{
    Q_OBJECT
public:
    using Done = std::function<void(const FetchResult &)>;

    PictureTransfer(const QString &file, QObject *context, Done done, QObject *parent);
    ~PictureTransfer() override;

    // Opens the target; on failure the transfer reports that and returns false.
    bool prepare();
    void start(QNetworkReply *reply, int stallTimeout);
    void failBeforeStart(const QString &error);
    // Stops the fetch: no file (unless one was already committed), no report.
    void cancel();

    QObject *context() const { return m_context; }
    bool cancelled() const { return m_cancelled; }
    bool pending() const { return !m_cancelled && !m_reported; }

private:
    void onReadyRead();
    void onFinished();
    void onReplyGone();
    int status() const;
    void fail(const QString &error);
    QString replyError() const;
    void reportLater(const FetchResult &result);
    void report(const FetchResult &result);

    PictureFile m_file;
    QPointer<QNetworkReply> m_reply;
    QPointer<QObject> m_context;
    bool m_hadContext = false;
    Done m_done;
    QString m_error;
    qint64 m_written = 0;
    int m_stallTimeout = 0;
    bool m_cancelled = false;
    bool m_reported = false;
};
