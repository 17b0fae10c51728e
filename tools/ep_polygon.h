// Stars and regular polygons of the drawing tools.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include <vector>

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
