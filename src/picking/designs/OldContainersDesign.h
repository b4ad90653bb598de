#pragma once

#include "picking/designs/PageDesign.h"

// The marketplace's first design: a gallery container "mod-detail" and a
// description container "desc-lazyload-container" whose pictures load only
// when scrolled into view: the page is scrolled to its end, then read.
class OldContainersDesign : public PageDesign
{
public:
    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const override;
    bool scrollsFirst() const override { return true; }
    QStringList containerIds() const override;
    void readScrolled(const DocumentSnapshot &snapshot, PickResult &result) const override;
};
