#pragma once

#include "picking/designs/PageDesign.h"

// Pages of 2021-2024 and today's mobile pages: window.__INIT_DATA holds
// components, one with the gallery (offerImgList) and the SKU pictures
// (skuImages), another with the description file's address (detailUrl).
class InitDataDesign : public PageDesign
{
public:
    QStringList scriptMarkers() const override;
    std::optional<DesignReading> read(const PageFacts &facts, const DocumentSnapshot &snapshot) const override;
};
