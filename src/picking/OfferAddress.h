#pragma once

#include <QString>
#include <QUrl>

// A product address as a list page links to it: an http(s) address whose path
// is /offer/<digits>.html on any host, or the mobile /page/index.html?offerId=<digits>.
// The offer number is what makes two links the same offer, so each offer has
// one written form: the desktop page on the marketplace's host, and
// /offer/<digits>.html on its own host for any other host. Queries and
// fragments (tracking, anchors) never reach that form.
class OfferAddress
{
public:
    // The link as a page at `page` names it: relative and protocol-relative
    // links are resolved against the page, surrounding spaces ignored.
    // Anything that is no product address reads as invalid.
    static OfferAddress fromLink(const QString &link, const QUrl &page = QUrl());

    bool isValid() const { return !m_number.isEmpty(); }
    // The digits that name the offer; empty when invalid.
    const QString &number() const { return m_number; }
    // The one written form of the offer; empty when invalid.
    const QString &address() const { return m_address; }

private:
    QString m_number;
    QString m_address;
};
