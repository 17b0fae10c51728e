// Entry field boxes: the glue between a field's box and its text.
//
// Not yet here: breaking a field's text into lines for its box and fitting
// the box to it (obReflowAttachedText leaves the text as it is until text
// measuring and line breaking exist), and the line-height sizing rules.
#pragma once
#include "support/qmwin.h"

// Scales a packed corner size (x in the low 16 bits, y in the high 16 bits)
// from the old rectangle to the new one when the frame kind (the low byte
// of the frame word) is 3 and the size is not 0 (integer division, only
// where the extents differ); any other frame kind sets it to 0. Nothing
// when the old rectangle has no width or no height.
void obScalePackedSize(const RECT *oldRect, const RECT *newRect, uint16_t frameStyle,
                       uint32_t *packed);
// Lays the field's text (attribute 2) out again at the box width and returns
// the handle valid afterwards. For now the text is kept as it stands.
MemHandle obReflowAttachedText(HWND window, MemHandle field);
