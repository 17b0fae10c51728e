// Grid objects made from two corner points: the object factory's grid,
// one-column and one-row tools.
#pragma once
#include "support/qmwin.h"

// Makes the record a grid (type 35, or 491 and 492 for the one-column and
// one-row tools, whose type the factory has already set): the type data
// holds the width and height of the two points' rectangle and the counts,
// the head the same size centred between the points. Unless a count is -1
// (the default: it reads as 4) the size is rounded down to whole cells.
// The fill block of the head's fill kind follows the 20 bytes. Returns the
// valid handle; 0 when the record cannot grow (it is then unchanged).
MemHandle gridNew(MemHandle h, POINT a, POINT b, int16_t columns, int16_t rows);
MemHandle gridNewOneColumn(MemHandle h, POINT a, POINT b, int16_t rows);
MemHandle gridNewOneRow(MemHandle h, POINT a, POINT b, int16_t columns);
