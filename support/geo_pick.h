// Picking a point on a cubic Bezier curve, and the markers drawn at picked
// points.
#pragma once
#include "support/qmwin.h"

// The most steps one segment is sampled in: a very long segment at a fine
// tolerance is walked in this many steps rather than more.
const int32_t kGeoBezierMaxSteps = 65536;

// Samples the segment P0..P3 at t = k / steps for k = 1 .. steps (P0 itself
// is not tested), steps being the rounded lengths of the control polygon's
// three legs added up and divided by the tolerance (at most
// kGeoBezierMaxSteps). The first curve point within the tolerance of the
// point in both x and y replaces the point and the answer is TRUE. FALSE for
// a tolerance below 2, for 0 steps, or when no sample is near.
BOOL geoBezierHitPoint(POINT *pt, int32_t tol, const POINT ctrl[4]);
// Tries the segments starting at points 0, 3, 6 ... (each needs four
// points: start + 3 < count) and returns the start of the first one
// geoBezierHitPoint accepts (the point moved onto it), or -1.
int16_t geoBezierHitSegment(POINT *pt, int32_t tol, const POINT *pts, int16_t count);
// A marker of the selection-handle size centred on the point: kind 0 a
// rectangle, 1 an ellipse; other kinds draw nothing.
void gdiMarkerAt(HDC dc, POINT pt, int kind);
