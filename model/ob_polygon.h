// Building polygon records from points.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// A new polygon record (type 15): the source's head and name, point count n,
// the n points (relative to the centre), then the fill block of the source's
// fill kind when one is given. length = 86 + name + 2 + 8 n (+ the block).
// 0 on allocation failure or a negative count.
MemHandle epMakePolygonRecord(const ObjectRecord *source, const POINT *points, int16_t n,
                              const void *fillBlock);
