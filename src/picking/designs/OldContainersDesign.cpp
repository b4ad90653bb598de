#include "picking/designs/OldContainersDesign.h"

#include "picking/PageExtractor.h"
#include "picking/designs/GalleryVideo.h"
#include "picking/designs/PictureAddress.h"
#include "picking/designs/ProductReading.h"

std::optional<DesignReading> OldContainersDesign::read(const PageFacts &facts, const DocumentSnapshot &snapshot) const
{
    PicLists unused;
    if (!PageExtractor::ExtractPics(snapshot, 1, 0, true, unused))
        return std::nullopt;
    DesignReading reading;
    reading.scrollContainers = true;
    reading.videoUrl = GalleryVideo::fromMarkup(snapshot, PictureAddress::schemeOf(facts.url));
    reading.product = ProductReading::fromOldPage(snapshot, facts.url);
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
    result.addresses(MediaKind::Main) = lists.MainPics(0);
    result.addresses(MediaKind::Description) = lists.DescPics(0);
}
