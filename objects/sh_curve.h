// The curve shapes, Bezier (18) and Closed Curve (19): a poly-Bezier of
// control points relative to the centre (an i16 count, then the points: a
// start point and three points per cubic segment). A Bezier keeps the
// line-end records of a polyline behind its points, a Closed Curve its fill
// block. The rotated round rectangles and ellipses become closed curves
// when they are rescaled. Sizes, point lists, mirroring and outlines are
// those of the point shapes (objects/sh_points.h).
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The curve flattened at view resolution (a turned copy when the rotation
// is not 0), moved by the centre, in the object's pen; with flag 0x40000
// the chords between its anchors; then its line-end symbols, which follow
// the tangents at its ends (the curve itself is not shortened under them).
void shBezierDraw(HDC dc, ObjectRecord *rec);
// The closed curve flattened and filled by its fill kind; chords between
// the anchors with flag 0x40000. No line ends, no markers.
void shClosedCurveDraw(HDC dc, ObjectRecord *rec);
// The symbols of a locked curve at its absolute points: the start one at
// point 0 pointing from the first point that differs from it, the end one
// at the last point pointing from the last point before it that differs.
void shDrawCurveEnds(HDC dc, const POINT *pts, int32_t n, ObjectRecord *rec);
// The curve flattened at view resolution and moved by the centre, in a new
// handle with its count; 0 when it has no points or memory fails.
MemHandle shCurveFlatPoints(ObjectRecord *rec, int16_t *count);
MemHandle shCurveFlatPoints(MemHandle h, int16_t *count);

// The bounding rectangle of the curve flattened at view resolution becomes
// the record's centre and size (the points made relative to the new
// centre); then a scale word other than 65535 scales the stored width or
// height. Returns the unscaled rectangle. When the curve cannot be
// flattened the record keeps its centre and size and its box is returned.
void shBezierBounds(ObjectRecord *rec, RECT *r);
BOOL shBezierBounds(MemHandle h, RECT *r);
// The points scaled to the target (shPointsRescale), then the bounds.
void shCurveRescale(MemHandle h, const RECT *target);
// Turned about pt by the record's rotation plus the angle, baked into the
// points (rotation 0), then the bounds. Nothing for an angle of 0.
void shCurveRotate(MemHandle h, POINT pt, int16_t angle);
