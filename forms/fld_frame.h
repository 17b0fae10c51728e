// Field frames: the 16-bit frame-style word of fields, counters, entry
// references, notes and text frames (frame kind in the low byte, line kind
// in the high byte).
#pragma once
#include "support/qmwin.h"

// Frame kinds of the low byte that field objects use here.
enum : uint16_t {
    FLD_FRAME_NONE = 0,
};
// The high byte that marks the double line: two half-point lines, the second
// 40 twips inside the first.
const uint16_t kFldDoubleLine = 3;

// Half the width of the frame's line, in twips: 0 when the frame kind is 0,
// 40 for the double line, else half the pen width of the line kind (the
// line-style decoder of the drawing primitives).
int32_t fldFrameBorderHalfWidth(uint16_t frameStyle);
