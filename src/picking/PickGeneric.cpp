// The generic reader's road: after the scroll the page is gathered whole and
// read; what it names as the description is fetched like a description file.
#include "picking/Pick.h"

#include "platform/BrowserPage.h"

void Pick::readRenderedPage()
{
    m_page->readRenderedPage(this, [this](const DocumentSnapshot &snapshot) {
        if (m_ended || gone())
            return;
        if (navigatedAway())
            return end(PickOutcome::Kind::NavigatedAway, NavigatedMessage);
        readGeneric(snapshot);
    });
}

void Pick::readGeneric(const DocumentSnapshot &snapshot)
{
    PageFacts facts;
    facts.url = m_address;
    const std::optional<DesignReading> reading = snapshot.rendered ? m_design->read(facts, snapshot) : std::nullopt;
    // Never another offer's pictures in place of the missing ones.
    if (!reading || reading->media.addresses(MediaKind::Main).isEmpty())
        return end(PickOutcome::Kind::NotProduct, NoPicturesMessage);
    emit identified();
    if (m_ended || gone())
        return;
    m_videoUrl = reading->videoUrl;
    m_product = reading->product;
    if (!reading->detailUrl.isEmpty())
        return readDescription(*reading);
    PickResult result;
    result.media = reading->media;
    picked(result);
}
