#pragma once

#include "picking/designs/PageDesign.h"

// The marketplace's first design: a gallery container "mod-detail" and a
// description container "desc-lazyload-container", read after scrolling.
class OldContainersDesign : public PageDesign
{
public:
    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const override;
};
