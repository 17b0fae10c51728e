// Line-end symbols (arrowheads, squares, circles, bars) at the first and
// last points of lines, polylines, Poly-HV and Bezier curves, the segment
// and polyline drawn under them, their bounds, and the variable-width
// strokes of brush lines.
//
// A point shape keeps its symbols in 6-byte LineEndRecords behind its point
// list: the record of the first point when ObjectFlags bit 0x20000 is set,
// then the record of the last point when bit 0x10000 is set (at +2 + 8n
// when there is no first one).
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
struct LineEndRecord {
    int16_t style;    // low byte the symbol kind; 0x100 a cross bar at the end point
    uint32_t size;    // twips; 0 draws nothing
};
// One entry of a stroke's width profile.
struct ShStrokeProfileEntry {
    double position;  // along the stroke, 0..1
    double factor;    // times the base width
    uint32_t unused;
};
#pragma pack(pop)
static_assert(sizeof(LineEndRecord) == 6, "a line-end record is 6 bytes");
static_assert(sizeof(ShStrokeProfileEntry) == 20, "a stroke profile entry is 20 bytes");

const uint16_t kShLineEndCrossBar = 0x100;

// Symbol kinds 1 to 5 and 7 to 9 are arrowheads.
BOOL shIsHeadKind(int kind);
// Whether the kind draws anything (the kinds of the symbol table).
BOOL shIsLineEndKind(int kind);

// The record of the first (last) point of a locked point shape, or null
// when its flag is clear or the record does not lie within the record's
// length.
LineEndRecord *shGetStartLineEnd(ObjectRecord *rec);
LineEndRecord *shGetEndLineEnd(ObjectRecord *rec);
// Sets (a record) or clears (null) the symbol of the first or last point:
// the flag changes, the other record keeps its content and moves to its
// place, the record grows or shrinks by 6. Returns the valid handle; 0 when
// it is no open point shape or memory fails (the record then unchanged).
MemHandle shSetLineEnd(MemHandle h, BOOL atStart, const LineEndRecord *end);

// One symbol at q, pointing from p towards q, drawn with a one-unit solid
// pen (and a solid brush for the filled kinds) of the colour.
void shDrawLineEnd(HDC dc, POINT p, POINT q, int16_t style, uint32_t size, COLORREF colour);
// The bounding rectangle of that symbol (with its cross bar); 0 when it
// draws nothing.
int shLineEndBounds(POINT p, POINT q, int16_t style, uint32_t size, RECT *out);
// The segment p to q in the line style, pen width and colour, with the
// start symbol at p and the end symbol at q (either null). A pen thicker
// than a device pixel is clipped under arrowheads so that it does not show
// past their tips.
void shDrawSegmentWithEnds(HDC dc, POINT p, POINT q, uint16_t lineStyle, int32_t penWidth,
                           const LineEndRecord *start, const LineEndRecord *end,
                           COLORREF colour);
// The absolute points of a locked point shape with its symbols: repeated
// points at either end are skipped, the two end segments carry the
// symbols and the points between are one Polyline with the caller's pen.
void shDrawPolylineWithEnds(HDC dc, const POINT *pts, int32_t n, ObjectRecord *rec);
// The union of both symbols' bounds of a locked point shape, moved by its
// centre; 0 when it has none.
int shLineEndsBounds(const ObjectRecord *rec, RECT *out);

// ---- variable-width strokes ----------------------------------------------------------------
double shStrokeLength(const POINT *pts, int32_t n);
// The width at t (0..1) by the profile; TRUE when it differs from *width.
// Without a profile (or fewer than two entries) *width becomes the base.
BOOL shStrokeWidthAt(const ShStrokeProfileEntry *profile, int32_t entries, double t,
                     int32_t base, int32_t *width);
void shDrawVariableStroke(HDC dc, const POINT *pts, int32_t n, int32_t base, COLORREF colour,
                          const ShStrokeProfileEntry *profile, int32_t entries);
void shVariableStrokeBounds(const POINT *pts, int32_t n, int32_t base,
                            const ShStrokeProfileEntry *profile, int32_t entries, RECT *out);
