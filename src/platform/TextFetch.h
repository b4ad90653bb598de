#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

// One small file fetched whole (a description file): http and https only,
// failed when the server sends nothing for `stallMs`, when the answer grows
// past `maxBytes`, when it is not a 2xx answer, or when the whole answer takes
// longer than a few stall times (a server that sends a byte now and then). The callback runs once,
// and only while the object lives; the object deletes itself afterwards.
class TextFetch : public QObject
{
    Q_OBJECT
public:
    using Callback = std::function<void(std::optional<QByteArray>)>;

    static void start(QNetworkAccessManager *network, const QUrl &url, int stallMs, qint64 maxBytes,
                      QObject *context, Callback done);

private:
    TextFetch(QObject *context, Callback done);
    void begin(QNetworkAccessManager *network, const QUrl &url, int stallMs);
    void onReadyRead();
    void onFinished();
    void settle(std::optional<QByteArray> body);

    QPointer<QObject> m_context;
    Callback m_done;
    QPointer<QNetworkReply> m_reply;
    QTimer m_stall;
    QTimer m_total;
    QByteArray m_body;
    qint64 m_maxBytes = 0;
    bool m_settled = false;
};
