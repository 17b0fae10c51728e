// Drawing primitives over the platform's 2-D calls, the pens an object's
// line-style word selects, colour shading for bevels, the drop shadow of
// rectangles and the 3-D edges of tool buttons.
//
// Coordinates are logical: twips through the view mapping (support/dm_map.h)
// for page drawing, pixels on an unmapped DC for controls. Each primitive
// returns what the platform call returns. A pen or brush that cannot be
// created makes the call draw nothing; no error is reported.
#pragma once
#include "support/qmwin.h"

// Pen style codes (the Win32 values).
enum : int32_t {
    GDI_PEN_SOLID = PS_SOLID,
    GDI_PEN_DASH = PS_DASH,
    GDI_PEN_DOT = PS_DOT,
    GDI_PEN_DASHDOT = PS_DASHDOT,
    GDI_PEN_NULL = PS_NULL,
};

// The pen bits of a line style word.
const uint16_t GDI_LINE_STYLE_MASK = 0xF00;

// ---- primitives ------------------------------------------------------------------
// MoveToEx (x1, y1), LineTo (x2, y2). A pen of two device pixels or more
// goes the outline path below; the position is left at (x2, y2) either way.
BOOL gdiLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
BOOL gdiLineXY(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
BOOL gdiLinePts(HDC dc, POINT p, POINT q);
BOOL gdiMoveToPt(HDC dc, POINT p);
// LineTo, with the outline path for wide pens as gdiLine.
BOOL gdiLineToPt(HDC dc, POINT p);
COLORREF gdiSetPixel(HDC dc, int32_t x, int32_t y, COLORREF colour);
// Rectangle with the arguments unchanged.
BOOL gdiRectanglePlain(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b);
// Rectangle with the right and bottom edges moved out by one device pixel,
// so that the outline covers the given right and bottom edges.
BOOL gdiRectangle(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b);
// Four strokes from the top-left corner clockwise back to it; no fill.
BOOL gdiFrameRect(HDC dc, const RECT *r);
// A rectangle of half sizes about a centre, turned by the angle (radians,
// positive clockwise on the screen); at angle 0 a plain gdiRectangle.
BOOL gdiRectAtRotated(HDC dc, POINT centre, int32_t halfW, int32_t halfH, double radians);
// Ellipse with the arguments unchanged.
BOOL gdiEllipse(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b);
BOOL gdiRoundRectPlain(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                       int32_t cornerH);
// RoundRect with the right and bottom edges moved out by one device pixel,
// as gdiRectangle.
BOOL gdiRoundRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                  int32_t cornerH);
BOOL gdiArc(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
            int32_t x2, int32_t y2);
BOOL gdiPie(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
            int32_t x2, int32_t y2);
BOOL gdiPolyline(HDC dc, const POINT *pts, int16_t n);
BOOL gdiPolygon(HDC dc, const POINT *pts, int16_t n);
// Rectangles, ellipses, rounded boxes, polygons, polylines and lines
// drawn with a pen of two device pixels or more (solid or dashed: the
// system draws such a dashed pen solid) on a raster DC that copies the pen
// draw the pixels the system's own call draws, without its slow way of
// uniting the outline's pieces one by one (see gdi_draw.cpp). The outlines
// drawn so.
uint32_t gdiWideOutlineCount();

// ---- figures of any size -------------------------------------------------------
// A shape read from a file may be of any size, and GDI (the system's and
// Wine's) fails, crashes or takes unbounded time on figures far outside the
// device. Every figure the drawing primitives hand to GDI therefore stays
// within this many device pixels of the device origin: a figure beyond it
// is left out where it lies outside the DC's clip box and cut to the clip
// box (grown by its pen and a few pixels, so the cut edges never show)
// where it crosses it.
const double kGdiSafeDevice = 32000.0;
// 1 when the logical rectangle maps within the safe device range.
int gdiIsWithinSafeRange(HDC dc, double l, double t, double r, double b);
// The logical rectangle a figure beyond the safe range is cut to: the clip
// box grown by the current pen's width and 8 device pixels, within the safe
// range. 0 when nothing can show (an empty clip region).
int gdiGetCutRect(HDC dc, double *l, double *t, double *r, double *b);
// A closed figure of logical double points drawn with the DC's pen and
// brush: as one Polygon when it lies within the safe range, else left out
// when it misses the cut rectangle, or cut to it (Sutherland-Hodgman) and
// drawn. TRUE when nothing failed.
struct GeoPointF;
BOOL gdiPolygonF(HDC dc, const GeoPointF *pts, int n);
// A line between every pair of the points, then once more from the first to
// the last. Returns 1.
int gdiDrawAllChords(HDC dc, const POINT *pts, int16_t n);
// FillRect with the right and bottom edges included (each grown by 1).
int gdiFillRectIncl(HDC dc, const RECT *r, HBRUSH brush);
BOOL gdiTextOut(HDC dc, int32_t x, int32_t y, const char *text, int32_t len);
BOOL gdiExtTextOut(HDC dc, int32_t x, int32_t y, UINT options, const RECT *clip,
                   const char *text, UINT len, const INT *dx);

// ---- line styles and colours -------------------------------------------------------
// Pen width in twips and pen style of a line style word: 0x000 and 0x300
// solid 10 (half a point), 0x100 solid 30, 0x200 solid 40; 0x400 dash,
// 0x500 dot, 0x600 dash-dot, each of width 1; anything else width 1 with the
// null style. Bits outside 0xF00 are not read.
void gdiDecodeLineWidth(uint16_t styleWord, int32_t *width, int32_t *penStyle);
int32_t gdiLineStylePen(uint16_t styleWord);
// Each channel times 2 / 3.
COLORREF gdiDarkenColor23(COLORREF c);
// Each channel three quarters of the way to white: 255 - (255 - c) / 4.
COLORREF gdiLightenColor34(COLORREF c);

// ---- shadows and edges -------------------------------------------------------------
// The drop shadow of rectangles: a stock brush index (initially 2, the grey
// stock brush), or 0 and a colour for a solid brush of that colour.
void gdiSetShadowBrush(int16_t stockIndex, COLORREF colour);
// Shadow depth in points (initially 5); returns the previous depth.
int16_t gdiSetShadowDepth(int16_t points);
// Fills the strips right of and below the rectangle, depth x 20 twips wide,
// one device pixel clear of its edges.
BOOL gdiDrawRectShadow(HDC dc, const RECT *r);
// depth nested bevel rings, each a 1-pixel line in topLeft[i] along the left
// and top edges and in bottomRight[i] along the right and bottom edges, the
// rectangle shrinking by 1 per ring.
void gdiDraw3DFrame(HDC dc, const RECT *r, int32_t depth, const COLORREF *topLeft,
                    const COLORREF *bottomRight);
// A tool button's edge in the system 3-D colours, raised or pressed; depth 1
// or 2 (larger depths draw 2 rings).
void gdiDrawButtonEdge(HDC dc, const RECT *r, BOOL raised, int32_t depth);
// Raised edge of depth 2 with the right edge 1 and the bottom edge 2 units in.
void gdiDrawButtonEdgeInset(HDC dc, const RECT *r);
// Each edge 3 units inward.
void geoDeflateRect3(RECT *r);
// kind 1: a downward-pointing solid triangle of pixels, rows cy - size ..
// cy + size, the first from cx - 2 size to cx + 2 size and each next row one
// pixel shorter at both ends. Other kinds draw nothing.
void gdiDrawDropArrow(HDC dc, POINT centre, int32_t size, COLORREF colour, int32_t kind);
// Back to the initial shadow settings.
void gdiResetModule();
