// The point shapes (lines, polylines, Poly-HV, polygons, curves, cubes):
// their type data begins with an i16 count n and n points (two i32 each)
// relative to the record's centre.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The point shapes' type codes: 2 to 5, 14, 15, 17, 18, 19 and 36.
BOOL shIsPointShape(int16_t type);
// Mirror the points in place about the centre: x (left-right) or y
// (up-down) negated, as many as the count says and the record holds. A
// gradient fill is left to the mirror's caller, which mirrors it once.
void shPointsFlipH(ObjectRecord *rec);
void shPointsFlipV(ObjectRecord *rec);
// Rescaled to the target rectangle: every point scaled by the target's
// width and height over the head's (1.0 for a side of no size), truncated;
// the target becomes the record's centre and size.
void shPointsRescale(ObjectRecord *rec, const RECT *target);
void shPointsRescale(MemHandle h, const RECT *target);
