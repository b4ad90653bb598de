#include "platform/DemoShopRequest.h"

#include <QList>

namespace {

QByteArray headerValue(const QByteArray &line, const QByteArray &name)
{
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.left(colon).trimmed().toLower() != name)
        return QByteArray();
    return line.mid(colon + 1).trimmed();
}

} // namespace

qsizetype DemoShopRequest::headEnd(const QByteArray &buffer, qsizetype *separatorLength)
{
    // Clients that end lines with a bare LF are tolerated.
    const qsizetype crlf = buffer.indexOf("\r\n\r\n");
    const qsizetype lf = buffer.indexOf("\n\n");
    if (crlf >= 0 && (lf < 0 || crlf < lf)) {
        *separatorLength = 4;
        return crlf;
    }
    *separatorLength = 2;
    return lf;
}

DemoShopRequest DemoShopRequest::parse(const QByteArray &head)
{
    DemoShopRequest request;
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    const QList<QByteArray> parts = lines.value(0).split(' ');
    if (parts.size() != 3 || !parts.at(2).startsWith("HTTP/1."))
        return request;
    request.method = parts.at(0);
    request.target = parts.at(1);
    request.valid = !request.method.isEmpty() && request.target.startsWith('/');
    const bool http11 = parts.at(2) == "HTTP/1.1";
    QByteArray connection;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray &line = lines.at(i);
        if (const QByteArray value = headerValue(line, "connection"); !value.isEmpty())
            connection = value.toLower();
        const QByteArray length = headerValue(line, "content-length");
        if (!length.isEmpty() && length != "0")
            request.hasBody = true;
        if (!headerValue(line, "transfer-encoding").isEmpty())
            request.hasBody = true;
    }
    request.keepAlive = http11 ? !connection.contains("close") : connection.contains("keep-alive");
    return request;
}
