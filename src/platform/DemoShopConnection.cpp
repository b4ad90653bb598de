#include "platform/DemoShopConnection.h"

#include "platform/DemoShopFiles.h"
#include "platform/DemoShopRequest.h"

#include <QFile>
#include <QTcpSocket>

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 431: return "Request Header Fields Too Large";
    default: return "Internal Server Error";
    }
}

} // namespace

DemoShopConnection::DemoShopConnection(QTcpSocket *socket, const QString &root,
                                       const QByteArray &base, QObject *parent)
    : QObject(parent), m_socket(socket), m_root(root), m_base(base)
{
    m_socket->setParent(this);
    // Unread input stays in the kernel, so a flood of pipelined requests
    // waits there instead of in our memory.
    m_socket->setReadBufferSize(64 * 1024);
    m_idle.setSingleShot(true);
    m_idle.setInterval(IdleMs);
    connect(&m_idle, &QTimer::timeout, this, &DemoShopConnection::drop);
    connect(m_socket, &QTcpSocket::readyRead, this, &DemoShopConnection::process);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &DemoShopConnection::process);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    m_idle.start();
    process();
}

void DemoShopConnection::process()
{
    m_idle.start();
    while (!m_closing && m_socket->bytesToWrite() <= MaxPendingBytes) {
        qsizetype separator = 0;
        const qsizetype end = DemoShopRequest::headEnd(m_buffer, &separator);
        if (end < 0) {
            if (m_buffer.size() >= MaxHeadBytes)
                return sendError(431, false);
            const QByteArray more = m_socket->read(MaxHeadBytes - m_buffer.size());
            if (more.isEmpty())
                return;
            m_buffer += more;
            continue;
        }
        const QByteArray head = m_buffer.left(end);
        m_buffer.remove(0, end + separator);
        // Blank lines between requests are allowed.
        if (!head.trimmed().isEmpty())
            answer(DemoShopRequest::parse(head));
    }
}

void DemoShopConnection::answer(const DemoShopRequest &request)
{
    if (!request.valid)
        return sendError(400, false);
    const bool head = request.method == "HEAD";
    if (request.method != "GET" && !head)
        return sendError(405, false, true, "Allow: GET, HEAD\r\n");
    if (request.hasBody)
        return sendError(400, false);
    const DemoShopFiles::Lookup found = DemoShopFiles::find(m_root, request.target);
    if (found.status != 200)
        return sendError(found.status, request.keepAlive, !head);
    answerFile(found.path, !head, request.keepAlive);
}

void DemoShopConnection::answerFile(const QString &path, bool withBody, bool keepAlive)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sendError(500, keepAlive, withBody);
    QByteArray body = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return sendError(500, keepAlive, withBody);
    if (DemoShopFiles::isTemplate(path))
        body.replace("{{BASE}}", m_base);
    send(200, DemoShopFiles::contentType(path), body, withBody, keepAlive);
}

void DemoShopConnection::send(int status, const QByteArray &type, const QByteArray &body,
                              bool withBody, bool keepAlive, const QByteArray &extraHeaders)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) + "\r\n";
    head += "Content-Type: " + type + "\r\n";
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    // The port changes from run to run; nothing here is worth caching.
    head += "Cache-Control: no-store\r\n";
    head += extraHeaders;
    head += keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n";
    m_socket->write(withBody ? head + body : head);
    if (!keepAlive) {
        m_closing = true;
        m_socket->disconnectFromHost();
    }
}

void DemoShopConnection::sendError(int status, bool keepAlive, bool withBody,
                                   const QByteArray &extraHeaders)
{
    const QByteArray text = QByteArray::number(status) + ' ' + reason(status);
    send(status, "text/html; charset=utf-8", "<!DOCTYPE html><title>" + text + "</title><h1>" + text + "</h1>\n",
         withBody, keepAlive, extraHeaders);
}

void DemoShopConnection::drop()
{
    m_closing = true;
    m_socket->abort();
    deleteLater();
}
