#include "collecting/OfferList.h"

#include "picking/OfferAddress.h"

int OfferList::addPage(const QStringList &links, const QUrl &page)
{
    QSet<QString> onPage;
    int added = 0;
    for (const QString &link : links) {
        if (onPage.size() >= MaxPerPage || full())
            break;
        const OfferAddress offer = OfferAddress::fromLink(link, page);
        if (!offer.isValid())
            continue;
        onPage.insert(offer.number());
        if (m_numbers.contains(offer.number()))
            continue;
        m_numbers.insert(offer.number());
        m_addresses << offer.address();
        ++added;
    }
    return added;
}
