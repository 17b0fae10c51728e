// Device-to-logical coordinates over the static mapping (no scroll, window
// origin 0, 1440 logical units to 96 pixels). Replaced when the view
// mapping lands.
#include "model/ob_pending_support.h"

int32_t dmDevToLogX(int32_t v) { return MulDiv(v, 1440, 96); }
int32_t dmDevToLogY(int32_t v) { return MulDiv(v, 1440, 96); }
