#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QStringList>

// The data a page of a design we do not know carries in its inline scripts:
// whole JSON blocks (<script type="application/json">, JSON-LD) and the
// object literals in code. Read as data, never run; bounded per script and
// in all, so that a page of any size costs a bounded read.
struct PageDataValue
{
    QJsonValue value;
    QByteArray json;  // the text it was parsed from: its order is the page's

    // Where `text` first stands in the data's text (-1 when it does not): a
    // data value's keys lose their order once parsed, the text keeps it.
    qsizetype positionOf(const QString &text) const;
    bool isStructuredData() const;  // JSON-LD (it has an "@context")
};

namespace PageData {

QList<PageDataValue> read(const QStringList &scripts);

} // namespace PageData
