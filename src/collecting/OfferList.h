#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

// The offers a collection has found, each once (by its offer number), in the
// order first seen, in their one written form. Bounded, so that a page that
// lists without end cannot fill the memory or the batch.
class OfferList
{
public:
    static constexpr int MaxPerPage = 10000;
    static constexpr int MaxTotal = 100000;

    // Adds the offers among one page's links (at most MaxPerPage of them);
    // returns how many were not listed yet.
    int addPage(const QStringList &links, const QUrl &page);

    const QStringList &addresses() const { return m_addresses; }
    int size() const { return int(m_addresses.size()); }
    bool full() const { return size() >= MaxTotal; }

private:
    QStringList m_addresses;
    QSet<QString> m_numbers;
};
