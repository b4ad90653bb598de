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
