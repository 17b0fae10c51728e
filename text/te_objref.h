// Object reference codes (75) of the editing commands.
#pragma once
#include "support/qmwin.h"

// For an object reference code 75 at `code` with six 32-bit values p0..p5:
// left += p0, top += p1, bottom += p4, right += p5, a = p2, b = p3. A code
// of another number, or too short to hold the six values, changes nothing.
void teApplyObjectRef(const char *code, RECT *rect, int32_t *a, int32_t *b);
