#pragma once

#include "picking/designs/PageDesign.h"

// The reader behind the named designs, for a product address (/offer/<n>.html
// on any host, or the mobile offerId page) whose page none of them knows: a
// redesign of the marketplace is read without a change of ours. Recognised by
// its address alone, it scrolls the page like the old design, then reads the
// page as rendered, each list from the first source that has it: the page's
// data (JSON and object literals in its scripts), its structured data
// (JSON-LD, Open Graph), the pictures it shows. A reading without a picture
// of the offer's own means no offer (taken down, an error page).
class GenericDesign : public PageDesign
{
public:
    static const QString ReaderName;   // "generic", as the JSON lines say it
    // What the result page says of such a pick, and the mark after its state
    // in the batch's table.
    static const QString Notice;
    static const QString StateMark;

    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const override;
    bool scrollsFirst() const override { return true; }
    bool readsRenderedPage() const override { return true; }
    QString readerName() const override { return ReaderName; }
};
