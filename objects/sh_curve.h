// The curve shapes, Bezier (18) and Closed Curve (19): a poly-Bezier of
// control points relative to the centre (an i16 count, then the points). The
// rotated round rectangles and ellipses become closed curves when they are
// rescaled.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The bounding rectangle of the curve flattened at view resolution becomes
// the record's centre and size (the points made relative to the new
// centre); then a scale word other than 65535 scales the stored width or
// height. Returns the unscaled rectangle. When the curve cannot be
// flattened the record keeps its centre and size and its box is returned.
void shBezierBounds(ObjectRecord *rec, RECT *r);
// The points scaled to the target (shPointsRescale), then the bounds.
void shCurveRescale(MemHandle h, const RECT *target);
