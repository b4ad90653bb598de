#include "picking/designs/SkuPictureList.h"

SkuPictureList::SkuPictureList(DesignReading &reading)
    : m_reading(reading), m_main(reading.mainPics.cbegin(), reading.mainPics.cend())
{
}

void SkuPictureList::add(const QString &picture, const QString &name)
{
    if (picture.isEmpty() || m_main.contains(picture) || m_numbers.contains(picture))
        return;
    m_reading.skuPics << picture;
    m_reading.skuNames << name;
    m_numbers.insert(picture, int(m_reading.skuPics.size()));
}
