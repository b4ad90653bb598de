#include "picking/OfferAddress.h"

#include <QRegularExpression>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

// An offer number is a run of digits; a bound keeps page text from making one huge.
const QRegularExpression &offerPath()
{
    static const QRegularExpression pattern(uR"(^/offer/(\d{1,20})\.html$)"_s);
    return pattern;
}

const QRegularExpression &offerDigits()
{
    static const QRegularExpression pattern(uR"(^\d{1,20}$)"_s);
    return pattern;
}

bool onMarketplace(const QString &host)
{
    return host == u"1688.com"_s || host.endsWith(u".1688.com"_s);
}

QString numberOf(const QUrl &url)
{
    const QString path = url.path(QUrl::FullyEncoded);
    if (const QRegularExpressionMatch match = offerPath().match(path); match.hasMatch())
        return match.captured(1);
    if (path != u"/page/index.html"_s)
        return {};
    const QString id = QUrlQuery(url).queryItemValue(u"offerId"_s);
    return offerDigits().match(id).hasMatch() ? id : QString();
}

QString writtenForm(const QUrl &url, const QString &number)
{
    const QString host = url.host(QUrl::FullyEncoded).toLower();
    if (onMarketplace(host))
        return u"https://detail.1688.com/offer/"_s + number + u".html"_s;
    QUrl out;
    const QString scheme = url.scheme().toLower();
    out.setScheme(scheme);
    out.setHost(host);
    const int defaultPort = scheme == u"http"_s ? 80 : 443;
    if (url.port() != -1 && url.port() != defaultPort)
        out.setPort(url.port());
    out.setPath(u"/offer/"_s + number + u".html"_s);
    return out.toString(QUrl::FullyEncoded);
}

} // namespace

OfferAddress OfferAddress::fromLink(const QString &link, const QUrl &page)
{
    OfferAddress offer;
    const QUrl given(link.trimmed(), QUrl::StrictMode);
    if (!given.isValid())
        return offer;
    const QUrl url = given.isRelative() && page.isValid() ? page.resolved(given) : given;
    const QString scheme = url.scheme().toLower();
    if ((scheme != u"http"_s && scheme != u"https"_s) || url.host().isEmpty())
        return offer;
    offer.m_number = numberOf(url);
    if (offer.isValid())
        offer.m_address = writtenForm(url, offer.m_number);
    return offer;
}
