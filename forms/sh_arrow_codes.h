// Shape codes of the arrow family: the polygon of a code within a
// rectangle. Field frames of kinds 32 to 37 fill these outlines.
#pragma once
#include "support/qmwin.h"

const int kShShapeCodeMaxPoints = 12;

// The points of the code for the rectangle into `pts` (room for
// kShShapeCodeMaxPoints) and their count; 0 (count 0) for a code it does
// not know. Known: 400, 431, 432 (right-pointing block arrows) and 401,
// 441, 442 (down-pointing block arrows).
int shArrowShapePoints(const RECT *rect, int16_t code, POINT *pts, int16_t *count);
// 1 for the codes drawn as polygons (400, 401, 405, 406, 407, 409, 410, 421,
// 422, 431, 432, 441, 442, 480, 481), else 0.
int shArrowIsPolygon(int16_t code);
