// Device-to-logical coordinate conversions that the object moves need,
// over the static 96-pixel-per-inch, 100 percent mapping of support/dm_map.
// Replaced when the view mapping lands.
#pragma once
#include "support/qmwin.h"

// MulDiv(v + scroll, window extent, viewport extent) + window origin.
int32_t dmDevToLogX(int32_t v);
int32_t dmDevToLogY(int32_t v);
