#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What a list page (a shop's offers, a search) shows of itself: the links
// that may name an offer, in page order, and how to reach its next page.
struct ListPage
{
    enum class Next { None, Link, Button };

    bool hasDocument = false;
    bool loaded = false;  // document.readyState is "complete"
    QString url;
    QStringList links;    // absolute, as the browser resolved them
    Next next = Next::None;
    QString nextHref;     // for a link
    bool pressed = false; // the button was pressed by this read

    // The script's JSON text; anything malformed reads as "no document", and
    // no more than `maxLinks` links are taken.
    static ListPage fromScriptResult(const QVariant &value, int maxLinks);
};
