#include "picking/designs/OldContainersDesign.h"

#include "picking/PageExtractor.h"

void PageDesign::addSku(DesignReading &reading, const QString &picture, const QString &name)
{
    if (picture.isEmpty() || reading.mainPics.contains(picture) || reading.skuPics.contains(picture))
        return;
    reading.skuPics << picture;
    reading.skuNames << name;
}

std::optional<DesignReading> OldContainersDesign::read(const PageFacts &, const DocumentSnapshot &snapshot) const
{
    PicLists unused;
    if (!PageExtractor::ExtractPics(snapshot, 1, 0, true, unused))
        return std::nullopt;
    DesignReading reading;
    reading.scrollContainers = true;
    return reading;
}

QStringList OldContainersDesign::containerIds() const
{
    return PageExtractor::ContainerIds();
}

void OldContainersDesign::readScrolled(const DocumentSnapshot &snapshot, PickResult &result) const
{
    PicLists lists;
    PageExtractor::ExtractPics(snapshot, 1, 0, false, lists);
    result.mainPics = lists.MainPics(0);
    result.descPics = lists.DescPics(0);
}
