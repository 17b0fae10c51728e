// The object factory: the one place where a drawing object's record is made
// from a type code and a few points. A new object takes the current page's
// defaults (head, fill, gradient, line ends, font, field style), the shape
// rules that turn a drag into a well-formed object, and its type's data
// behind the 86-byte head. Beside it: the equal-sided constraint, the
// rounded-rectangle ratio, point-mark hit tests and drawing shared by the
// create, node and handle tools.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/sh_gradient.h"

// The page defaults a new object receives. Create mode reads them once per
// drag from the workspace's current page (epGetPageDefaults); tests and
// converters may fill them directly.
struct EpPageDefaults {
    ObjectRecord head;            // page property 40
    uint8_t fillKind;             // 44
    uint8_t pattern[24];          // 46: the two-colour pattern block (fill kind 2)
    GradientFillBlock gradient;   // 47: the gradient block (fill kind 3)
    uint16_t lineEnds[4];         // 48, 49 start and end kinds; 50, 51 their sizes
    uint8_t font[122];            // 55: the text format, a LOGFONT first
    uint8_t field[100];           // 56: the field format
    HWND workspace;               // for generated names and text measuring; may be 0
    MemHandle form;               // the document, for generated names; kept current
    MemHandle page;               // the page (margins of new text); may be 0
};

const uint32_t kEpNewBlockSize = 338;     // a new record's zero-filled block
const uint32_t kEpTextDataSize = 130;     // width, height, the font record
const uint32_t kEpFontRecordSize = 122;
const uint32_t kEpFieldRecordSize = 100;
const uint32_t kEpTextMarginInset = 120;  // 6 points inside the page margins

// The defaults of the workspace's current page (all zero without one).
void epGetPageDefaults(HWND workspace, EpPageDefaults *defaults);
// The defaults of one page record; `workspace` is kept for names.
void epPageDefaultsFrom(MemHandle page, HWND workspace, EpPageDefaults *defaults);

// Makes (null handle) or re-initialises in place (a handle) the record of
// `type` from n points (twips; n = 2: two opposite corners, or the two ends
// of a line). Returns the valid handle, or 0 when memory runs out, the
// vertical font choice is cancelled or a type builder fails; a block made
// here is then freed. The points are not changed.
MemHandle epCreateObject(HWND workspace, MemHandle h, int16_t type, const POINT *points,
                         uint16_t n);
// epCreateObject for the active workspace: the factory the shape modules
// call (objects/sh_arrow.h, shSetObjectFactory).
MemHandle epShapeFactory(MemHandle h, int16_t type, const POINT *points, uint16_t n);
MemHandle epCreateObjectFrom(EpPageDefaults *defaults, MemHandle h, int16_t type,
                             const POINT *points, uint16_t n);

// The head from the defaults' head (the record's own links and extra data
// kept), then name length 0, the type, the current layer, both scale words
// 65535 and fill kind 0.
void epInitObjectHead(HWND workspace, MemHandle h, int16_t type);
void epInitObjectHeadFrom(const EpPageDefaults *defaults, MemHandle h, int16_t type);

// The end that makes a square on the start: m = min(|dx|, |dy|); the end is
// start + (m sign dx, m sign dy), or the start itself when either is 0.
void epMakeEqualSided(POINT start, POINT end, POINT *out);

// The rounded rectangle's corner ratio; 0.0 (the initial value) means 1/6.
void epSetRoundRectRatio(double ratio);
double epGetRoundRectRatio();
// The rounding of a rectangle: the ratio (1/6 for 0.0) x the smaller side,
// rounded half away from zero.
int32_t epRoundRectRounding(int32_t width, int32_t height);

// The size of a record recomputed by its type, the point kinds, arcs, pies,
// cubes and dimension spans included (with their fill block and line-end
// records); the other kinds by the model's dispatcher.
uint32_t epRecordSize(ObjectRecord *rec);

// ---- point marks --------------------------------------------------------------------------
// The first point whose handle square (point +- the handle half-size,
// edges included) holds `pt`, else -1.
int epPointMarkHit(const POINT *points, int n, POINT pt);
// Sets the class cursor to the cross and returns 1 on a hit, else 0.
int epPointMarkCursor(HWND window, const POINT *points, int n, POINT pt);
int epPointHitTol(const POINT *points, int n, POINT pt, int32_t tolerance);
int epPointHitTolXY(const POINT *points, int n, POINT pt, int32_t tx, int32_t ty);
// A handle square at each point with the ROP2: hollow with a one-pixel pen
// of the colour, or (mode 1) filled with a brush of it and no pen.
void epDrawPointMarks(HDC dc, const POINT *points, int n, COLORREF colour, int mode, int rop);
void epDrawPointMarksExcept(HDC dc, const POINT *points, int n, int skip, COLORREF colour,
                            int mode, int rop);
void epHandleRectAt(POINT pt, RECT *r);
// 0 when the object's box is wider or taller than three handle sizes; else
// whether the point lies in it (edges included).
int epPtInSmallObject(MemHandle object, POINT pt);
// A dotted one-pixel blue line between two points with the ROP2.
void epDrawDotLine(HDC dc, POINT a, POINT b, int rop);
// The page's margin rectangle shrunk by 120 twips on every side (the page
// rectangle when it has no margins); 0 without a page.
int epTextWidthLimitPage(MemHandle page, RECT *r);
int epTextWidthLimit(HWND workspace, RECT *r);
