// The node-edit services the handle drags need.
#pragma once
#include "support/qmwin.h"

// Writes n points (page twips) into a point record of the same count: the
// centre and size from their bounds, the points relative to the new
// centre. Returns the valid handle, 0 when the count differs.
MemHandle neWritePoints(MemHandle object, const POINT *points, int16_t n);
