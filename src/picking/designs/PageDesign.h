#pragma once

#include "picking/designs/ProductData.h"
#include "picking/PickResult.h"
#include "platform/DocumentSnapshot.h"
#include "platform/PageFacts.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a design found on a product page. Pages of the old design are read
// from their picture containers after scrolling; pages that carry their data
// inline are read at once and get their description from `detailUrl`.
struct DesignReading
{
    bool scrollContainers = false;  // the old road: scroll, then read the containers
    // The main pictures, the SKU pictures (not main pictures, no repeats,
    // one name each) and whatever else the page lists; the description
    // pictures come with the description file and the video beside them.
    MediaGroups media;
    QString detailUrl;

    // Beside the pictures: the gallery video's address (empty when none) and
    // the product's own data, as far as the page carries them.
    QString videoUrl;
    ProductData product;
};

// One way the marketplace has laid out its product pages. A new redesign is
// one more of these (and one fixture), tried in order by PageDesigns.
class PageDesign
{
public:
    virtual ~PageDesign() = default;
    // Markers of the inline scripts whose text this design reads.
    virtual QStringList scriptMarkers() const { return {}; }
    // nullopt when the page is not of this design (or not yet complete).
    virtual std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const = 0;

    // The road after recognition. A design whose pictures load only while
    // they are scrolled into view is scrolled to the page's end first and
    // then read again from the page; the others are complete once their
    // description file (detailUrl) is read.
    virtual bool scrollsFirst() const { return false; }
    // After the scroll the page is gathered whole (BrowserPage::readRenderedPage)
    // and read again by read(), which then gives every list it found.
    virtual bool readsRenderedPage() const { return false; }
    // PickResult::reader of what this design read: empty for a named design.
    virtual QString readerName() const { return {}; }
    // The <div>s this design reads from the document.
    virtual QStringList containerIds() const { return {}; }
    // After the scroll: the pictures the scrolled page shows.
    virtual void readScrolled(const DocumentSnapshot &snapshot, PickResult &result) const
    {
        Q_UNUSED(snapshot)
        Q_UNUSED(result)
    }
};
