// Pie (11), a filled sector of an ellipse, and Arc (12), an open piece of
// its outline. The record's box is the bounding box of the visible piece;
// the ellipse keeps its own size and centre in the type data:
//   +0 i32 ellipse width, +4 i32 ellipse height,
//   +8 i32, +12 i32 the ellipse centre relative to the record's centre,
//   +16 i16 start angle, +18 i16 end angle (tenths of a degree).
// A Pie's fill block follows at +20; an Arc has none. The piece runs
// counter-clockwise from the start to the end angle; equal angles mean the
// whole ellipse (a pie then has no centre point). The rotation turns the
// whole ellipse.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kShArcGeometry = 20;

// The ellipse box in page coordinates (left = E.x - width / 2 truncated,
// right = left + width, likewise vertically) and its centre E = record
// centre + stored offset; `centre` may be null.
void shArcEllipseBox(const ObjectRecord *rec, RECT *box, POINT *centre);
// The same box relative to the record's centre.
void shArcLocalEllipseBox(const ObjectRecord *rec, RECT *box);

// A pie or arc read from a file: its head, the ellipse's size and its
// centre's offset within the page limits.
BOOL shArcReadCheck(const ObjectRecord *rec, uint32_t length);

// ---- size: 86 + name + 20 (+ the fill block for a pie), stored and returned ----------------
uint32_t shArcSize(ObjectRecord *rec);
uint32_t shPieSize(ObjectRecord *rec);
// Either of the two by the record's type.
uint32_t shArcRecordSize(ObjectRecord *rec);

// ---- drawing -------------------------------------------------------------------------------
// The arc in the object's pen; the pie filled by its fill kind and framed.
void shArcDraw(HDC dc, ObjectRecord *rec);
void shPieDraw(HDC dc, ObjectRecord *rec);
// The same figures with the DC's own pen (and brush), inside the object's
// DC modes (rubber bands during drags).
void shArcOutline(HDC dc, ObjectRecord *rec);
void shPieOutline(HDC dc, ObjectRecord *rec);

// ---- points: the control points of the arc (open) or pie (closed) as a
// poly-Bezier, relative to the centre, turned by the rotation ---------------------------------
MemHandle shArcPiePoints(ObjectRecord *rec, int16_t *count);

// ---- bounds: the box of the rotated piece (scaled by the scale words)
// becomes the record's centre and size; the ellipse stays where it was ----------------------
void shArcPieBounds(ObjectRecord *rec, RECT *r);
BOOL shArcPieBounds(MemHandle h, RECT *r);

// ---- rescale to a target rectangle: a rotated piece becomes a curve
// (Bezier or Closed Curve) rescaled as such; otherwise the ellipse and the
// angles follow the stretch so the ends stay on the same points of the
// stretched ellipse. Returns the valid handle; 0 when a conversion found no
// memory (the record then as it was) ------------------------------------------------------------
MemHandle shArcRescale(MemHandle h, const RECT *target);
MemHandle shPieRescale(MemHandle h, const RECT *target);

// ---- rotate about pt by an angle: the record centre and the ellipse
// centre turn, the angle is added to the rotation; nothing for 0 -------------------------------
void shArcPieRotate(MemHandle h, POINT pt, int16_t angle);

// ---- mirror about the centre (the caller mirrors the centre) ------------------------------------
void shArcPieFlipH(ObjectRecord *rec);
void shArcPieFlipV(ObjectRecord *rec);

// ---- conversions in place: to Bezier (18) or Closed Curve (19) of the
// control points, rotation 0, a pie's fill block kept behind the points.
// Returns the valid handle (the record grows through obResize); 0 when the
// points or the memory could not be had, the record then unchanged ------------------------
MemHandle shArcToCurve(MemHandle h);
MemHandle shPieToCurve(MemHandle h);

// The geometry of a new Arc or Pie made from a dragged rectangle: the record
// resized to its type data + 20, the ellipse the head's width and height,
// no offset, start 0 and end 3600. When it cannot be resized the record is
// freed and 0 returned.
MemHandle shMakeEllipseArc(MemHandle h);
