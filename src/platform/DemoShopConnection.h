#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

class QTcpSocket;
struct DemoShopRequest;

// One client of the sample shop's server. Requests are answered in order
// (keep-alive and pipelining work); a client that stops reading is not fed
// more than a few megabytes, one that sends an endless head or stays silent
// is dropped. Deletes itself when the connection ends.
class DemoShopConnection : public QObject
{
    Q_OBJECT
public:
    // Takes over `socket`. `root` is the canonical folder, `base` what
    // "{{BASE}}" becomes in pages.
    DemoShopConnection(QTcpSocket *socket, const QString &root, const QByteArray &base,
                       QObject *parent = nullptr);

    static constexpr qsizetype MaxHeadBytes = 16 * 1024;
    static constexpr qint64 MaxPendingBytes = 4 * 1024 * 1024;
    static constexpr int IdleMs = 30000;

private:
    void process();
    void answer(const DemoShopRequest &request);
    void answerFile(const QString &path, bool withBody, bool keepAlive);
    void send(int status, const QByteArray &type, const QByteArray &body, bool withBody,
              bool keepAlive, const QByteArray &extraHeaders = QByteArray());
    void sendError(int status, bool keepAlive, bool withBody = true,
                   const QByteArray &extraHeaders = QByteArray());
    void drop();

    QTcpSocket *m_socket;
    QString m_root;
    QByteArray m_base;
    QByteArray m_buffer;
    QTimer m_idle;
    bool m_closing = false;
};
