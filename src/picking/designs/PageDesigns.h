#pragma once

#include "picking/designs/PageDesign.h"

#include <memory>
#include <vector>

// Every page design the pick knows, tried in order: the old containers
// first, so that old pages go the road they always went. The generic reader
// is tried last, and only by the pick that would otherwise refuse the page.
class PageDesigns
{
public:
    // A page recognised: by which design, and what it read.
    struct Match
    {
        const PageDesign *design = nullptr;
        DesignReading reading;
    };

    PageDesigns();
    ~PageDesigns();

    QStringList scriptMarkers() const;
    QStringList containerIds() const;
    std::optional<Match> match(const PageFacts &facts, const DocumentSnapshot &snapshot) const;
    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const;
    // The generic reader (GenericDesign) on a page no named design knows.
    std::optional<Match> matchGeneric(const PageFacts &facts, const DocumentSnapshot &snapshot) const;

private:
    std::vector<std::unique_ptr<PageDesign>> m_designs;
    std::unique_ptr<PageDesign> m_generic;
};
