#pragma once

#include <QByteArray>

// One request head of the sample shop's server, as far as a static file
// server needs it. Bodies are never read: a request that announces one is
// answered and its connection closed, so no body is mistaken for a request.
struct DemoShopRequest
{
    bool valid = false;        // a request line of the form "METHOD /target HTTP/1.x"
    QByteArray method;
    QByteArray target;         // as sent, query included
    bool keepAlive = false;    // the connection may carry another request
    bool hasBody = false;

    static DemoShopRequest parse(const QByteArray &head);

    // Where the head ends in `buffer` (the index of the blank line) and how
    // long the separator is; -1 while the head is incomplete.
    static qsizetype headEnd(const QByteArray &buffer, qsizetype *separatorLength);
};
