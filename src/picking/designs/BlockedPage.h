#pragma once

#include "platform/PageFacts.h"

// The marketplace's anti-robot interstitial (slider, "security-X5") or its
// log-in page: no product page, but one the user can pass in our tab.
namespace BlockedPage {

extern const QString Message;

bool isBlocked(const PageFacts &facts);

} // namespace BlockedPage
