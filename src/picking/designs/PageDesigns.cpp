#include "picking/designs/PageDesigns.h"

#include "picking/designs/ContextDataDesign.h"
#include "picking/designs/GenericDesign.h"
#include "picking/designs/InitDataDesign.h"
#include "picking/designs/OldContainersDesign.h"

PageDesigns::PageDesigns() : m_generic(std::make_unique<GenericDesign>())
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

QStringList PageDesigns::containerIds() const
{
    QStringList ids;
    for (const auto &design : m_designs)
        for (const QString &id : design->containerIds())
            if (!ids.contains(id))
                ids << id;
    return ids;
}

std::optional<PageDesigns::Match> PageDesigns::match(const PageFacts &facts, const DocumentSnapshot &snapshot) const
{
    for (const auto &design : m_designs)
        if (std::optional<DesignReading> reading = design->read(facts, snapshot))
            return Match{design.get(), *reading};
    return std::nullopt;
}

std::optional<DesignReading> PageDesigns::read(const PageFacts &facts, const DocumentSnapshot &snapshot) const
{
    const std::optional<Match> found = match(facts, snapshot);
    return found ? std::optional<DesignReading>(found->reading) : std::nullopt;
}

std::optional<PageDesigns::Match> PageDesigns::matchGeneric(const PageFacts &facts, const DocumentSnapshot &snapshot) const
{
    if (std::optional<DesignReading> reading = m_generic->read(facts, snapshot))
        return Match{m_generic.get(), *reading};
    return std::nullopt;
}
