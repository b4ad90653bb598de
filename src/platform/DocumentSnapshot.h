#pragma once

#include "platform/PagePicture.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
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

    // The rendered page, gathered whole (BrowserPage::readRenderedPage) for
    // the reader of designs we do not know: where it is, its pictures in
    // document order, the texts of its inline data scripts (JSON, JSON-LD,
    // code) and its <meta> properties (og:title …), each list capped.
    bool rendered = false;
    QString url;
    QList<PagePicture> pictures;
    QStringList dataScripts;
    QList<QPair<QString, QString>> metas;

    // Turns what the page script returned (plain JSON-able data) into a snapshot;
    // anything malformed reads as "no document".
    static DocumentSnapshot fromScriptResult(const QVariant &value);
};
