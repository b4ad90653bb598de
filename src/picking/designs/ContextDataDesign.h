#pragma once

#include "picking/designs/PageDesign.h"

// The desktop design of 2025-2026: a shell page whose inline script
// window.context=(function(b,d){...})(window.contextPath,{"result":...})
// carries the gallery, the SKUs and the description file's address.
class ContextDataDesign : public PageDesign
{
public:
    QStringList scriptMarkers() const override;
    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const override;
};
