// The rotate tool's drag feedback and the making of a composite; each step
// prints its time.
#pragma once
#include "support/qmwin.h"

// "rotate outline": the turned outline of a 2,000-point polyline erased and
// drawn again per mouse message (400 messages) into a 1600 x 1200 bitmap;
// "composite of 64 copies": a composite of 8 x 8 copies of a 500-point
// curve made around it, and its first paint.
void benchRotate();
