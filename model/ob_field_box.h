// Entry field boxes: scaling the packed corner size of a field's frame with
// its box. (The sizing rules and the field text are forms/fld_box.h.)
#pragma once
#include "support/qmwin.h"

// Scales a packed corner size (x in the low 16 bits, y in the high 16 bits)
// from the old rectangle to the new one when the frame kind (the low byte
// of the frame word) is 3 and the size is not 0 (integer division, only
// where the extents differ); any other frame kind sets it to 0. Nothing
// when the old rectangle has no width or no height.
void obScalePackedSize(const RECT *oldRect, const RECT *newRect, uint16_t frameStyle,
                       uint32_t *packed);
