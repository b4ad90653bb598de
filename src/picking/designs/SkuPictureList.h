#pragma once

#include "picking/designs/PageDesign.h"

#include <QHash>

// Gathers a design's SKU pictures into its reading: neither main pictures nor
// repeats, in page order, each with its number in the SKU picture group. A
// page may list tens of thousands of SKU values: every check is a hash look-up.
class SkuPictureList
{
public:
    // The reading's main pictures must be in place.
    explicit SkuPictureList(DesignReading &reading);

    void add(const QString &picture, const QString &name);
    bool isEmpty() const { return m_reading.media.addresses(MediaKind::Sku).isEmpty(); }
    // 1 for the first SKU picture; 0 for an address that is none of them.
    int number(const QString &picture) const { return m_numbers.value(picture); }

private:
    DesignReading &m_reading;
    QHash<QString, int> m_numbers;
    QSet<QString> m_main;
};
