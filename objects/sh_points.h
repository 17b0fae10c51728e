// The point shapes: Line (2), type 3, H-Line (4), V-Line (5), Polyline
// (14), Polygon (15), Poly-HV (17), the curves (18, 19, objects/sh_curve.h)
// and Cube (36). Their type data begins with an i16 count n and n points
// (two i32 each) relative to the record's centre; the open shapes keep
// their line-end records behind the points (objects/sh_lineend.h), the
// closed ones their fill block. H-Line and V-Line are Lines and Poly-HV a
// Polyline under codes of their own. A Cube holds the six points of its
// outline; its inner corner is p0 + p2 - p1, joined to p0, p2 and p4.
//
// A point shape may have an attached object: a marker drawn centred on
// every vertex.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The point shapes' type codes: 2 to 5, 14, 15, 17, 18, 19 and 36.
BOOL shIsPointShape(int16_t type);

// The points the record holds: its count, never more than the points that
// lie within its length or the block (blockSize 0: its length alone), never
// negative. Null (and 0) when it cannot hold its count word.
uint8_t *shPointData(ObjectRecord *rec, uint32_t blockSize, int32_t *count);

// A record read from a file: its head within the page limits
// (model/ob_record.h).
BOOL shPointsReadCheck(const ObjectRecord *rec, uint32_t length);
// Whether a point stored relative to the record's centre lies within the
// page limits once placed.
BOOL shOffsetWithinLimits(const ObjectRecord *rec, int32_t dx, int32_t dy);

// ---- size ------------------------------------------------------------------------------------
// 86 + name + 2 + 8n, plus 6 for each line-end flag (open shapes), or plus
// the fill block (Polygon, Closed Curve, Cube); n is the count, or the
// points held when the count reaches past the block. The size is returned
// and stored when the block holds it; otherwise the record keeps a length
// within its block and the size it needs is returned for the caller that
// grows it. A record that cannot hold its count word, or whose count is
// negative, keeps its length within the block.
uint32_t shPolylineSize(ObjectRecord *rec, uint32_t blockSize);
uint32_t shPolygonSize(ObjectRecord *rec, uint32_t blockSize);

// ---- drawing ---------------------------------------------------------------------------------
// The points (a turned copy when the rotation is not 0) moved by the centre
// in the object's pen: open shapes through their line ends when they have
// any, closed ones filled by their fill kind; every chord with flag
// 0x40000; then the attached marker at each vertex (its own position
// unchanged afterwards).
void shPolylineDraw(HDC dc, ObjectRecord *rec);
void shPolygonDraw(HDC dc, ObjectRecord *rec);
// The Polygon of its six points, then the three inner edges.
void shCubeDraw(HDC dc, ObjectRecord *rec);
// The drag outlines, with the DC's own pen and brush (rubber bands), of the
// points as drawn (turned by the rotation, moved by the centre): the open
// run of a Line, Polyline or Poly-HV (H-Line and V-Line are Lines), the
// closed Polygon, the Bezier run of a curve (closed for the Closed Curve),
// the cube's closed ring of six points and its three inner edges. 1 when
// drawn, 0 for a record that is no point shape.
int shLineOutline(HDC dc, ObjectRecord *rec);
int shHVLineOutline(HDC dc, ObjectRecord *rec);
int shPolygonOutline(HDC dc, ObjectRecord *rec);
int shBezierOutline(HDC dc, ObjectRecord *rec);
int shClosedCurveOutline(HDC dc, ObjectRecord *rec);
int shCubeOutline(HDC dc, ObjectRecord *rec);

// ---- points ------------------------------------------------------------------------------------
// A new handle with a copy of the points (relative to the centre) and their
// count; moved by the centre for the Abs form. 0 when there are none.
MemHandle shGetPoints(ObjectRecord *rec, int16_t *count);
MemHandle shGetPointsAbs(ObjectRecord *rec, int16_t *count);
// Locks a point shape and returns the address of its points (relative to
// the centre) with their count; the caller unlocks the handle (utUnlock).
// Null, and nothing left locked, for any other record.
POINT *shLockPoints(MemHandle h, int16_t *count);
// A new unnamed Polyline (type 14, length 88 + 8n) of n page points held in
// a handle: their bounds become its centre and size. 0 for fewer than one
// point or no memory.
MemHandle shNewPolylineRecord(MemHandle points, int16_t n);

// ---- bounds, rescale, rotate, flip --------------------------------------------------------------
// The points' bounding rectangle (page coordinates) becomes the record's
// centre and size and the points are made relative to it; returns it. A
// record without points keeps its box (returned).
void shPointsBounds(ObjectRecord *rec, RECT *r);
BOOL shPointsBounds(MemHandle h, RECT *r);
// Rescaled to the target rectangle: every point scaled by the target's
// width and height over the head's (1.0 for a side of no size), truncated;
// the target becomes the record's centre and size.
void shPointsRescale(ObjectRecord *rec, const RECT *target);
void shPointsRescale(MemHandle h, const RECT *target);
// Turned about pt by the angle plus the record's rotation: the turn is
// baked into the points, the bounds recomputed, rotation 0; an H-Line or
// V-Line becomes a Line and a Poly-HV a Polyline. A total of a whole turn
// only sets rotation 0.
void shPointsRotate(MemHandle h, POINT pt, int16_t angle);
// Mirror the points in place about the centre: x (left-right) or y
// (up-down) negated, as many as the count says and the record holds. A
// gradient fill is left to the mirror's caller, which mirrors it once.
void shPointsFlipH(ObjectRecord *rec);
void shPointsFlipV(ObjectRecord *rec);
