// Grid objects: a box divided into equal columns and rows by ruled lines,
// drawn with the shape's pen and filled like a closed shape. Three types
// share this module: 35, the boxed grid with its inner lines; 491, ruled
// horizontally with its top and bottom edges and no side edges; 492, ruled
// vertically with its side edges and no top or bottom edge.
//
// Type data, 20 bytes, stored in document files as in memory:
//   +0  i32 grid width, unturned (kept a whole multiple of the columns)
//   +4  i32 grid height, unturned (a whole multiple of the rows)
//   +8  i16 columns, +10 i16 rows: below 0 they count as 4, 0 as 1
//   +12 8 bytes the grid does not use
// The fill block of fill kind 2 or 3 follows at +20. The head's rotation
// turns the grid about its centre; the head's width and height hold the
// bounds of the turned grid, the type data the grid's own size.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kShGridDataSize = 20;
// The counts of a grid drawn and bounded (a damaged count never draws
// more lines than this).
const int32_t kShGridMaxCount = 32767;

// 35, 491 and 492.
BOOL shIsGridType(int16_t type);
// The counts as drawn: the stored i16 values, below 0 read as 4, 0 as 1.
int32_t shGridCountOf(int16_t stored);
// The grid's own width, height and counts from its type data (from the
// head's size and one column and row when the record is too short).
void shGridGeometry(const ObjectRecord *rec, int32_t *width, int32_t *height, int32_t *columns,
                    int32_t *rows);

// A grid read from a file: its head and its own size within the page
// limits, and no more columns or rows than twips across.
BOOL shGridReadCheck(const ObjectRecord *rec, uint32_t length);

// 86 + name + 20 + the fill block; stored and returned.
uint32_t shGridSize(ObjectRecord *rec);

// Rounds the width and height down to whole cells (stored), makes the
// head's size the bounds of the turned grid and returns them in page
// coordinates.
void shGridBounds(ObjectRecord *rec, RECT *r);
BOOL shGridBounds(MemHandle h, RECT *r);

// Fills the box by the fill kind, frames it (type 35) and rules its lines
// with the object's pen, all turned by the rotation.
void shGridDraw(HDC dc, ObjectRecord *rec);
void shGridDraw(HDC dc, MemHandle h);
// The turned box with the DC's own pen and brush (drag outlines).
void shGridOutline(HDC dc, ObjectRecord *rec);

// The four box corners (-w/2, -h/2) .. (w/2, h/2) turned by the rotation,
// relative to the centre.
MemHandle shGridPoints(ObjectRecord *rec, int16_t *count);

// The centre becomes the target's; the width and height scale with the
// head's (integer arithmetic, truncating); a head side of 0 keeps its
// side. Then the bounds.
void shGridRescale(MemHandle h, const RECT *target);
// The centre turns about the point, the angle is added to the rotation
// (0..3599), then the bounds.
void shGridRotate(MemHandle h, POINT pt, int16_t angle);
