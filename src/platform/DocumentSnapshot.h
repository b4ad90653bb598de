#pragma once

#include <QList>
#include <QString>
#include <QVariant>

// What the extraction needs of a page: its first <title> and its <div>s in
// document order. Attribute values inside html show '"' and '&' as themselves.
struct DivElement
{
    QString id;
    QString html;
};

struct DocumentSnapshot
{
    bool hasDocument = false;
    bool hasBody = false;
    QString title;
    QList<DivElement> divs;

    // Turns what the page script returned (plain JSON-able data) into a snapshot;
    // anything malformed reads as "no document".
    static DocumentSnapshot fromScriptResult(const QVariant &value);
};
