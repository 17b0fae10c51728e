// Fitting digitized points with a run of cubic Bezier segments (the
// piecewise least-squares fit of freehand input), used by the freehand
// curve tool and the brush line tool.
#pragma once
#include "support/qmwin.h"

// Fits the points with segments whose every point lies at a squared
// distance below `tolerance` from the curve at its chord-length parameter
// (a tolerance of 0 or less counts as the smallest positive one). Returns a
// new handle of 1 + 3k POINTs, starting at the first and ending at the last
// point, and k in *segments; 0 for fewer than two points or when memory
// fails.
MemHandle epBrushLineFitCurve(const POINT *points, int count, double tolerance,
                              int32_t *segments);
