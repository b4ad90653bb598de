#pragma once

#include "picking/designs/PageDesign.h"

#include <memory>
#include <vector>

// Every page design the pick knows, tried in order: the old containers
// first, so that old pages go the road they always went.
class PageDesigns
{
public:
    PageDesigns();
    ~PageDesigns();

    QStringList scriptMarkers() const;
    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const;

private:
    std::vector<std::unique_ptr<PageDesign>> m_designs;
};
