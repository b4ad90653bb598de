#include "picking/designs/PageDesigns.h"

#include "picking/designs/ContextDataDesign.h"
#include "picking/designs/InitDataDesign.h"
#include "picking/designs/OldContainersDesign.h"

PageDesigns::PageDesigns()
{
    m_designs.push_back(std::make_unique<OldContainersDesign>());
    m_designs.push_back(std::make_unique<ContextDataDesign>());
    m_designs.push_back(std::make_unique<InitDataDesign>());
}

PageDesigns::~PageDesigns() = default;

QStringList PageDesigns::scriptMarkers() const
{
    QStringList markers;
    for (const auto &design : m_designs)
        markers << design->scriptMarkers();
    return markers;
}

std::optional<DesignReading> PageDesigns::read(const PageFacts &facts, const DocumentSnapshot &snapshot) const
{
    for (const auto &design : m_designs)
        if (std::optional<DesignReading> reading = design->read(facts, snapshot))
            return reading;
    return std::nullopt;
}
