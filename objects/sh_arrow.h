// The arrow object (type 402): a block arrow along an axis between a tail
// and a head point. Type data: +6 tail, +14 head (relative to the centre),
// +22 tip half-angle, +26 back angle (degrees), +30 head half-width, +34
// shaft half-width (twips), +38 the seven outline points; the fill block
// follows at +94. The axis midpoint is the record's centre and the box is
// the bounding box of the axis points.
//
// Also the arrow-family shape codes (13 and 400 to 481): the points a
// dragged rectangle gives, made into ordinary Polygons (a Closed Curve for
// the callout 408) and used by field frames.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// 86 + name length + 94 + the fill block of the fill kind, stored as the
// record length and returned.
uint32_t shArrowSize(ObjectRecord *rec);
// Rebuilds the seven outline points from the axis and the four parameters;
// nothing when a half-width is not above 0 or the record is too short.
void shArrowOutline(ObjectRecord *rec);
// The rectangle the arrow covers when drawn: the bounding rectangle of the
// seven outline points moved by the centre, grown on every side by
// (pen width + 1) / 2. The box when the record is too short for the outline.
void shArrowDrawnRect(const ObjectRecord *rec, RECT *r);
// Mirror the arrow in place about its centre: the x (left-right) or the y
// (up-down) of both axis points and of the seven outline points negated.
void shArrowFlipH(ObjectRecord *rec);
void shArrowFlipV(ObjectRecord *rec);

// ---- the arrow object -------------------------------------------------------------------------
// Filled by its fill kind and framed: the seven outline points (a copy
// turned by the rotation when it is not 0) moved by the centre.
void shArrowDraw(HDC dc, ObjectRecord *rec);
// The seven vertices drawn closed with the DC's own pen and no fill, inside
// the object's DC modes (the drag outline); 0 when the record is too short.
int shArrowOutlineDraw(HDC dc, ObjectRecord *rec);
// The seven outline points relative to the centre (turned by a rotation
// other than 0) in a new handle; 0 when the record is too short.
MemHandle shArrowPoints(ObjectRecord *rec, int16_t *count);
// The two axis points (tail, head) moved by the centre; FALSE (points
// untouched) when the record is not an arrow with its data.
BOOL shArrowGetAxis(const ObjectRecord *rec, POINT axis[2]);
BOOL shArrowGetAxis(MemHandle h, POINT axis[2]);
// Rebuilds the outline; the axis points' bounding box moved by the centre
// becomes the record's centre and size, the axis and outline are moved so
// that the arrow stays in place. Returns the box.
void shArrowBounds(ObjectRecord *rec, RECT *r);
BOOL shArrowBounds(MemHandle h, RECT *r);
// Rescaled to the target: axis points times the target's width and height
// over the head's (1.0 for a side of no size), truncated; the half-widths
// times the mean of the two factors, rounded; the centre moved to the
// target's; then the bounds.
void shArrowRescale(MemHandle h, const RECT *target);
// Turned about pt by the rotation plus the angle: baked into the axis,
// rotation 0, then the bounds. A whole turn only sets rotation 0.
void shArrowRotate(MemHandle h, POINT pt, int16_t angle);

// ---- new arrows -------------------------------------------------------------------------------
// Sets the defaults of new arrows: head half-width 240, shaft half-width 80,
// tip half-angle 30 and back angle 60.
void obInitArrowDefaults();
// Turns a new record of type 402 into an arrow along the two dragged points
// (tail, head); returns the valid handle, 0 when it cannot grow.
MemHandle obMakeArrowRecord(MemHandle h, const POINT pts[2]);
// New axis ends for an existing arrow; returns the valid handle.
MemHandle obSetArrowEnds(MemHandle h, const POINT pts[2]);

// ---- arrow-family shape codes -------------------------------------------------------------------
const int kShShapeCodeMaxPoints = 34;
// The points of a code within the rectangle (room for kShShapeCodeMaxPoints)
// and their count; 0 (count 0) for a code it does not know (402, 403 and
// 404 among them).
int shArrowShapePoints(const RECT *rect, int16_t code, POINT *pts, int16_t *count);
// 1 for 400, 401, 405, 406, 407, 409, 410, 421, 422, 431, 432, 441, 442, 480
// and 481 (the codes field frames draw), else 0.
int shIsArrowShapeCode(int16_t code);
// The object factory installed by the editing tools at start-up: makes (or
// re-initialises) a record of a type from n points with the page defaults.
typedef MemHandle (*ShObjectFactory)(MemHandle h, int16_t type, const POINT *pts, uint16_t n);
void shSetObjectFactory(ShObjectFactory factory);
ShObjectFactory shGetObjectFactory();
// The points of the code made into a Closed Curve (408) or a Polygon (any
// other code) by the object factory, in `h` (0: a new record). The record,
// or 0 when the code has no points, no factory is installed or it failed.
MemHandle shCreateFromShapeCode(MemHandle h, const RECT *rect, int16_t code);
// The points of the code as one Polygon with the DC's pen and brush (the
// rubber band while dragging); nothing for a code without points.
void shDrawShapeCode(HDC dc, const RECT *rect, int16_t code);
