// Composite objects (type 500): copies of a source object laid out by the
// composite's own rules; they cast their shadow as one.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// Draws the shadow of all the composite's copies in the colour, offset by
// (dx, dy). The copies are made by the composite's drawing; until that is
// in the program a composite draws nothing, so it casts no shadow either.
void shCompositeShadow(HDC dc, ObjectRecord *rec, COLORREF colour, int32_t dx, int32_t dy);
