#include "picking/designs/SkuPictureList.h"

SkuPictureList::SkuPictureList(DesignReading &reading)
    : m_reading(reading)
{
    const QStringList &main = reading.media.addresses(MediaKind::Main);
    m_main = QSet<QString>(main.cbegin(), main.cend());
}

void SkuPictureList::add(const QString &picture, const QString &name)
{
    if (picture.isEmpty() || m_main.contains(picture) || m_numbers.contains(picture))
        return;
    MediaGroup &skus = m_reading.media.group(MediaKind::Sku);
    skus.addresses << picture;
    skus.names << name;
    m_numbers.insert(picture, int(skus.addresses.size()));
}
