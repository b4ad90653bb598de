#include "picking/designs/GenericDesign.h"

#include "picking/OfferAddress.h"
#include "picking/designs/DataPictures.h"
#include "picking/designs/PictureAddress.h"
#include "picking/designs/RenderedPictures.h"
#include "picking/designs/SkuPictureList.h"
#include "picking/designs/StructuredData.h"

const QString GenericDesign::ReaderName = QStringLiteral("generic");
const QString GenericDesign::StateMark = QStringLiteral("（通用读取）");
const QString GenericDesign::Notice = QStringLiteral("通用读取：这个页面的版式未知，图片由通用读取找出，请核对");

std::optional<DesignReading> GenericDesign::read(const PageFacts &facts, const DocumentSnapshot &snapshot) const
{
    const OfferAddress offer = OfferAddress::fromLink(facts.url);
    if (!offer.isValid())
        return std::nullopt;
    DesignReading reading;
    reading.scrollContainers = true;
    if (!snapshot.rendered)
        return reading;  // known by its address: the page is scrolled, then read
    const QString scheme = PictureAddress::schemeOf(facts.url);
    const QList<PageDataValue> values = PageData::read(snapshot.dataScripts);
    const DataMedia data = DataPictures::read(values, facts.url);
    const StructuredProduct structured = StructuredData::read(values, snapshot.metas, scheme);
    const RenderedMedia shown = RenderedPictures::read(snapshot.pictures, scheme, offer.number());

    QStringList &main = reading.media.addresses(MediaKind::Main);
    main = !data.gallery.isEmpty() ? data.gallery : !structured.gallery.isEmpty() ? structured.gallery : shown.gallery;
    SkuPictureList skus(reading);
    for (const auto &[picture, name] : data.skus)
        skus.add(picture, name);
    if (!data.description.isEmpty())
        reading.media.addresses(MediaKind::Description) = data.description;
    else if (!data.detailUrl.isEmpty())
        reading.detailUrl = data.detailUrl;
    else
        reading.media.addresses(MediaKind::Description) = shown.description;
    reading.videoUrl = data.video;
    reading.product.url = facts.url;
    reading.product.offerId = offer.number().toDouble();
    reading.product.title = structured.title;
    return reading;
}
