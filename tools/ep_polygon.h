// Building polygon records from points.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include <vector>

// A new polygon record (type 15): the source's head and name, point count n,
// the n points (relative to the centre), then the fill block of the source's
// fill kind when one is given. length = 86 + name + 2 + 8 n (+ the block).
// 0 on allocation failure or a negative count.
MemHandle epMakePolygonRecord(const ObjectRecord *source, const POINT *points, int16_t n,
                              const void *fillBlock);

// The star and regular-polygon shape of the drawing tools: the corner count
// (shared by both) and the star's inner radius in percent of the outer.
void epSetStarConfig(int16_t count, int16_t percent);
void epSetPolygonCorners(int16_t count);
void epGetStarConfig(int16_t *count, int16_t *percent);
// The vertices of a star (24: 2 x count points, inner radius = outer x
// percent / 100) or a regular polygon (25: count points) dragged from start
// to end: the outer radius is half the drag's width, whichever way it was
// dragged, and the figure is centred in the dragged rectangle. The points
// are page points, ready for a Polygon (15). Empty for other types, a count
// below 3 or no memory.
std::vector<POINT> epStarPolygonPoints(int16_t type, POINT start, POINT end);
