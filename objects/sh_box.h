// The box shapes: Square (6), Rectangle (7), Round Rect (8), Circle (9),
// Ellipse (10) and Diamond (13), each a box of a width and a height centred
// on the object's centre and turned by its rotation.
//
// Type data: i32 box width, i32 box height; a Round Rect adds i32 corner
// width and i32 corner height. The fill block (objects/fil_fill.h) follows
// the geometry. The box relative to the centre is left = (-width) / 2
// (truncated towards zero), right = left + width, and likewise vertically,
// so an odd width keeps its extra unit on the right. Square and Circle are
// Rectangle and Ellipse with equal sides: rescaling chooses the code from
// the new sides. A half turn is stored as rotation 0.
//
// Like every shape module these are plain functions over a locked record
// (ObjectRecord *) with handle forms that lock it; a null record or handle
// gives 0 or does nothing. Operations that may grow the record return the
// handle that is valid afterwards.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kShBoxGeometry = 8;         // width, height
const uint32_t kShRoundRectGeometry = 16;  // width, height, corner width, corner height

// A box shape read from a file: its head and the width and height of its
// type data within the page limits (the diamond's check: a record of other
// data under its type word reads as sizes beyond them).
BOOL shBoxReadCheck(const ObjectRecord *rec, uint32_t length);

// 6, 7, 8, 9, 10 and 13.
BOOL shIsBoxType(int16_t type);
// Bytes of the type's geometry before the fill block: 16 for a Round Rect,
// 8 for the other box types, 0 for any other type.
uint32_t shBoxGeometrySize(int16_t type);

// A rectangle relative to the centre scaled by the scale words: a word
// other than 65535 multiplies left and right (top and bottom) by word /
// 65535, truncated.
void shApplyScaleWords(const ObjectRecord *rec, RECT *local);

// ---- geometry ------------------------------------------------------------------------------
// The box relative to the centre from the first two i32 of the type data
// (from the head's width and height when the record is too short for them).
void shGetBox(const ObjectRecord *rec, RECT *box);
// The corner width and height of a Round Rect (0, 0 when absent).
void shGetCorner(const ObjectRecord *rec, int32_t *cornerW, int32_t *cornerH);
// The box's corners clockwise from the top left (top-left, top-right,
// bottom-right, bottom-left), turned by the record's rotation, relative to
// the centre.
void shGetRotatedBoxCorners(const ObjectRecord *rec, POINT corners[4]);
// The diamond's vertices top, left, bottom, right (halves truncated),
// turned by the rotation, relative to the centre.
void shGetDiamondVertices(const ObjectRecord *rec, POINT vertices[4]);
// A polygon region, in device pixels of the view mapping, of the rounded
// rectangle (logical units) with the corner size, turned by the rotation.
// The caller deletes it; null when it cannot be made.
HRGN shRoundRectRegion(const RECT *r, int32_t cornerW, int32_t cornerH, int16_t rotation);

// ---- size: stores and returns 86 + name + geometry + fill block ----------------------------------
// A rotation of 1800 or 3600 is stored as 0. The Diamond takes the
// rectangle's.
uint32_t shRectSize(ObjectRecord *rec);
uint32_t shRectSize(MemHandle h);
uint32_t shRoundRectSize(ObjectRecord *rec);
uint32_t shRoundRectSize(MemHandle h);
uint32_t shEllipseSize(ObjectRecord *rec);
uint32_t shEllipseSize(MemHandle h);

// ---- drawing ---------------------------------------------------------------------------------
// The shape filled by its fill kind and outlined with its pen (the fill
// contract of objects/fil_fill.h). Rectangles and diamonds with flag
// 0x40000 add a line between every pair of their vertices.
void shRectDraw(HDC dc, ObjectRecord *rec);
void shRectDraw(HDC dc, MemHandle h);
void shRoundRectDraw(HDC dc, ObjectRecord *rec);
void shRoundRectDraw(HDC dc, MemHandle h);
void shEllipseDraw(HDC dc, ObjectRecord *rec);
void shEllipseDraw(HDC dc, MemHandle h);
void shDiamondDraw(HDC dc, ObjectRecord *rec);
void shDiamondDraw(HDC dc, MemHandle h);
// The same figure with the DC's own pen and brush (rubber bands during
// drags), inside the object's DC modes.
void shRectOutline(HDC dc, ObjectRecord *rec);
void shRoundRectOutline(HDC dc, ObjectRecord *rec);
void shEllipseOutline(HDC dc, ObjectRecord *rec);
void shDiamondOutline(HDC dc, ObjectRecord *rec);
// Tier 1 of the outline dispatcher for the box types: 1 when drawn.
int shBoxOutline(HDC dc, ObjectRecord *rec);

// ---- points (a new handle of points relative to the centre, and the count) ----------------------
MemHandle shRectPoints(ObjectRecord *rec, int16_t *count);       // 4 turned corners
// The 25 control points of the rounded rectangle as a poly-Bezier, turned.
MemHandle shRoundRectPoints(ObjectRecord *rec, int16_t *count);
MemHandle shEllipsePoints(ObjectRecord *rec, int16_t *count);    // 13 control points, turned
MemHandle shDiamondPoints(ObjectRecord *rec, int16_t *count);    // 4 turned vertices

// ---- bounds: the head's width and height recomputed (the centre kept), the
// bounding rectangle in page coordinates returned ---------------------------------------------------
// The figure's bounding rectangle relative to the centre is scaled by the
// scale words (a word other than 65535: left and right times word / 65535,
// truncated), stored as width and height, moved by the centre.
void shRectBounds(ObjectRecord *rec, RECT *r);
BOOL shRectBounds(MemHandle h, RECT *r);
void shRoundRectBounds(ObjectRecord *rec, RECT *r);
BOOL shRoundRectBounds(MemHandle h, RECT *r);
void shEllipseBounds(ObjectRecord *rec, RECT *r);
BOOL shEllipseBounds(MemHandle h, RECT *r);
void shDiamondBounds(ObjectRecord *rec, RECT *r);
BOOL shDiamondBounds(MemHandle h, RECT *r);

// ---- rescaling to a target rectangle -----------------------------------------------------------------
// A turned Rectangle or Diamond becomes a Polygon, a turned Round Rect or
// Ellipse a Closed Curve, which is then rescaled; otherwise the box takes
// the target's sides and the target becomes the record's centre and size,
// with type 6 or 7 (9 or 10) by whether the sides are equal. Returns the
// valid handle; 0 when a conversion could not get memory (the record is
// then as it was).
MemHandle shRectRescale(MemHandle h, const RECT *target);
MemHandle shRoundRectRescale(MemHandle h, const RECT *target);
MemHandle shEllipseRescale(MemHandle h, const RECT *target);
MemHandle shDiamondRescale(MemHandle h, const RECT *target);

// ---- rotating about a point by an angle (tenths of a degree) --------------------------------------
// The centre turns about the point and the angle is added to the rotation.
// A quarter turn of a Rectangle, Square, Round Rect or Ellipse is stored as
// rotation 0 with the sides (head, scale words, box and corner) exchanged,
// a half turn as 0; a Circle only moves and keeps rotation 0; a Diamond
// keeps the angle. The bounds are recomputed (not for a Circle).
void shRectRotate(MemHandle h, POINT pt, int16_t angle);
void shRoundRectRotate(MemHandle h, POINT pt, int16_t angle);
void shEllipseRotate(MemHandle h, POINT pt, int16_t angle);
void shDiamondRotate(MemHandle h, POINT pt, int16_t angle);

// ---- conversions, in place -----------------------------------------------------------------------
// To a Polygon (15) of the 4 turned corners or vertices: the record grows by
// 26 bytes, the fill block moves behind the points, the points' bounds
// become the centre and size, rotation 0. Returns the valid handle (the
// record's neighbours and owner are relinked when it moved); 0 when memory
// fails or the record is not a rectangle or diamond with its geometry, the
// record then unchanged.
MemHandle shRectToPolygon(MemHandle h);
MemHandle shDiamondToPolygon(MemHandle h);
// To a Closed Curve (19) of the 25 (Round Rect) or 13 (Ellipse) control
// points of the box, turned by the rotation; rotation 0. The bounds are the
// caller's to recompute. Returns the valid handle, 0 as above.
MemHandle shRoundRectToCurve(MemHandle h);
MemHandle shEllipseToCurve(MemHandle h);
