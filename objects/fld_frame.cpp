// Field frames: measures, text area, shadow, fill, border and bevels.
#include "objects/fld_frame.h"
#include "objects/sh_arrow.h"
#include "model/ob_shadow.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <algorithm>

namespace {

int frameKind(uint16_t style) { return style & 0xFF; }
bool isDouble(uint16_t style) { return (style >> 8) == kFldDoubleLine; }
bool isCellKind(int kind) { return kind >= FLD_FRAME_CELLS_BOXED && kind <= FLD_FRAME_CELLS_QUARTER; }

// Arrow shape code of frame kinds 32 to 37; 0 for the others.
int16_t arrowCode(int kind)
{
    static const int16_t codes[] = {400, 431, 432, 401, 441, 442};
    if (kind < FLD_FRAME_ARROW_FIRST || kind > FLD_FRAME_ARROW_LAST)
        return 0;
    return codes[kind - FLD_FRAME_ARROW_FIRST];
}

// What the fill and shadow draw for a kind.
enum Shape { SHAPE_NONE, SHAPE_RECT, SHAPE_ROUND, SHAPE_ELLIPSE, SHAPE_ARROW };

Shape filledShape(int kind)
{
    switch (kind) {
    case 0: case 1: case 2: case 5: case 6: case 9: case 10: case 11:
        return SHAPE_RECT;
    case 3:
        return SHAPE_ROUND;
    case 4: case 13:
        return SHAPE_ELLIPSE;
    default:
        return arrowCode(kind) ? SHAPE_ARROW : SHAPE_NONE;
    }
}

// The shape drawn with the brush and pen already selected.
void drawShape(HDC dc, const RECT *r, Shape shape, uint32_t frameValue, int kind)
{
    switch (shape) {
    case SHAPE_RECT:
        gdiRectangle(dc, r->left, r->top, r->right, r->bottom);
        break;
    case SHAPE_ROUND: {
        int32_t cw, ch;
        fldFrameCornerSize(r, frameValue, &cw, &ch);
        gdiRoundRect(dc, r->left, r->top, r->right, r->bottom, cw, ch);
        break;
    }
    case SHAPE_ELLIPSE:
        gdiEllipse(dc, r->left, r->top, r->right, r->bottom);
        break;
    case SHAPE_ARROW: {
        POINT pts[kShShapeCodeMaxPoints];
        int16_t n = 0;
        int16_t code = arrowCode(kind);
        // Every code of the frame kinds is a polygon.
        if (shIsArrowShapeCode(code) && shArrowShapePoints(r, code, pts, &n))
            gdiPolygon(dc, pts, n);
        break;
    }
    default:
        break;
    }
}

// A shape filled with a solid brush of the colour and the null pen.
void fillShape(HDC dc, const RECT *r, Shape shape, uint32_t frameValue, int kind,
               COLORREF colour)
{
    if (shape == SHAPE_NONE)
        return;
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    GdiSelect selBrush(dc, brush);
    GdiSelect selPen(dc, GetStockObject(NULL_PEN));
    drawShape(dc, r, shape, frameValue, kind);
}

// The pen of the style's line kind in the colour.
HPEN linePen(uint16_t style, COLORREF colour)
{
    int32_t width, penStyle;
    gdiDecodeLineWidth((uint16_t)(style & GDI_LINE_STYLE_MASK), &width, &penStyle);
    return CreatePen(penStyle, width, colour);
}

// The border's pen selected with a hollow brush for the scope, both put
// back (and the pen deleted) at its end.
struct BorderPen {
    BorderPen(HDC dc, uint16_t frameStyle, COLORREF colour)
        : pen(linePen(frameStyle, colour)), selPen(dc, pen),
          selBrush(dc, GetStockObject(NULL_BRUSH))
    {
    }
    GdiObject<HPEN> pen;
    GdiSelect selPen;
    GdiSelect selBrush;
};

// The inner outline of a double border.
RECT doubleInner(const RECT &rect)
{
    RECT in = rect;
    geoInflateRect(&in, -kFldDoubleInset, -kFldDoubleInset);
    return in;
}

void fillPolygon(HDC dc, const POINT *pts, int16_t n, COLORREF colour)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    GdiSelect selBrush(dc, brush);
    gdiPolygon(dc, pts, n);
}

// The two bands of a bevel.
void bevelBands(HDC dc, const RECT *r, int32_t dx, int32_t dy, COLORREF topLeft,
                COLORREF bottomRight)
{
    int32_t p = dmGetPixelSize();
    POINT tl[6] = {{r->left, r->top},           {r->right, r->top},
                   {r->right - dx, r->top + dy}, {r->left + dx, r->top + dy},
                   {r->left + dx, r->bottom - dy}, {r->left, r->bottom}};
    POINT br[6] = {{r->left, r->bottom},
                   {r->left + dx, r->bottom - dy + p},
                   {r->right - dx + p, r->bottom - dy + p},
                   {r->right - dx + p, r->top + dy},
                   {r->right, r->top},
                   {r->right, r->bottom}};
    GdiSelect selPen(dc, GetStockObject(NULL_PEN));
    fillPolygon(dc, tl, 6, topLeft);
    fillPolygon(dc, br, 6, bottomRight);
}

void polyline3(HDC dc, POINT a, POINT b, POINT c, COLORREF colour)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 20, colour));
    GdiSelect selPen(dc, pen);
    POINT pts[3] = {a, b, c};
    gdiPolyline(dc, pts, 3);
}

}  // namespace

// ---- measures ------------------------------------------------------------------------------

int32_t fldFrameBorderHalfWidth(uint16_t frameStyle)
{
    if (frameKind(frameStyle) == FLD_FRAME_NONE)
        return 0;
    if (isDouble(frameStyle))
        return 40;
    int32_t width, style;
    gdiDecodeLineWidth((uint16_t)(frameStyle & GDI_LINE_STYLE_MASK), &width, &style);
    // The 1-unit and null pens have no width worth a margin.
    if (style != GDI_PEN_SOLID)
        return 0;
    return width / 2;
}

int32_t fldDoubleLineInset(uint16_t frameStyle)
{
    return isDouble(frameStyle) ? kFldDoubleInset : 0;
}

void fldFrameCornerSize(const RECT *rect, uint32_t frameValue, int32_t *width, int32_t *height)
{
    int32_t w, h;
    if (frameValue) {
        w = (int32_t)(frameValue & 0xFFFF);
        h = (int32_t)(frameValue >> 16);
    } else {
        w = h = rect ? std::min(rect->right - rect->left, rect->bottom - rect->top) / 6 : 0;
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
}

void fldFrameInnerRectEx(RECT *rect, uint16_t frameStyle, uint32_t frameValue,
                         uint32_t frameFlags)
{
    if (!rect)
        return;
    int32_t mx = kFldTextMargin, my = kFldTextMargin;
    int32_t b = fldFrameBorderHalfWidth(frameStyle);
    if (frameFlags & kFldFrameDropButton) {
        int32_t button = dmDevToLogW(kFldDropButtonPixels);
        if (rect->right - button >= rect->left)
            rect->right -= button;
    }
    int kind = frameKind(frameStyle);
    if (kind == FLD_FRAME_ROUND) {
        int32_t cw, ch;
        fldFrameCornerSize(rect, frameValue, &cw, &ch);
        mx = std::max(kFldTextMargin, cw >> 2);
        my = std::max(kFldTextMargin, ch >> 2);
    } else if (kind == FLD_FRAME_ELLIPSE || kind == FLD_FRAME_ELLIPSE2) {
        mx = (rect->right - rect->left) / 4;
        my = (rect->bottom - rect->top) / 4;
    }
    mx = std::max(mx, b);
    my = std::max(my, b);
    rect->top += my;
    rect->bottom -= my;
    if (isCellKind(kind))
        return;
    rect->left += mx;
    rect->right -= mx;
}

void fldFrameInnerRect(RECT *rect, uint16_t frameStyle, uint32_t frameValue)
{
    fldFrameInnerRectEx(rect, frameStyle, frameValue, 0);
}

// ---- drawing ---------------------------------------------------------------------------------

void fldFillFrame(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue,
                  COLORREF colour)
{
    if (!dc || !rect)
        return;
    int kind = frameKind(frameStyle);
    fillShape(dc, rect, filledShape(kind), frameValue, kind, colour);
}

void fldDrawFrameShadow(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue)
{
    if (!dc || !rect)
        return;
    int kind = frameKind(frameStyle);
    Shape shape = filledShape(kind);
    if (shape == SHAPE_ARROW || shape == SHAPE_NONE)
        return;   // the arrow outlines cast no shadow
    RECT moved = *rect;
    int32_t dx, dy;
    obGetShadowOffset(&dx, &dy);
    geoOffsetRect(&moved, dx, dy);
    fillShape(dc, &moved, shape, frameValue, kind, obGetShadowColour());
}

void fldDrawCellFrame(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue)
{
    if (!dc || !rect)
        return;
    int32_t s = (int32_t)(frameValue & 0xFFFF);
    int32_t n = (int32_t)(frameValue >> 16);
    int32_t l = rect->left, t = rect->top, r = rect->right, b = rect->bottom;
    int kind = frameKind(frameStyle);
    switch (kind) {
    case FLD_FRAME_CELLS_BOXED:
        gdiRectangle(dc, l, t, r, b);
        for (int32_t i = 1; i < n; ++i)
            gdiLine(dc, l + i * s, t, l + i * s, b);
        break;
    case FLD_FRAME_CELLS_TICKS:
    case FLD_FRAME_CELLS_HALF:
    case FLD_FRAME_CELLS_QUARTER: {
        int32_t from = t;
        if (kind == FLD_FRAME_CELLS_HALF)
            from = b - (b - t) / 2;
        else if (kind == FLD_FRAME_CELLS_QUARTER)
            from = b - (b - t) / 4;
        gdiLine(dc, l, b, r, b);
        // Ticks are not clipped to the right edge.
        for (int32_t i = 0; i <= n; ++i)
            gdiLine(dc, l + i * s, from, l + i * s, b);
        break;
    }
    default:
        break;
    }
}

void fldDrawFrameBorder(HDC dc, const RECT *rect, uint16_t frameStyle, uint32_t frameValue,
                        const COLORREF colours[3])
{
    if (!dc || !rect || !colours)
        return;
    BorderPen tools(dc, frameStyle, colours[FLD_PEN]);
    bool dbl = isDouble(frameStyle);
    RECT in = doubleInner(*rect);
    const RECT &r = *rect;
    switch (frameKind(frameStyle)) {
    case FLD_FRAME_RECT:
        gdiRectangle(dc, r.left, r.top, r.right, r.bottom);
        if (dbl)
            gdiRectangle(dc, in.left, in.top, in.right, in.bottom);
        break;
    case FLD_FRAME_UNDERLINE:
        gdiLine(dc, r.left, r.bottom, r.right, r.bottom);
        if (dbl)
            gdiLine(dc, r.left, in.bottom, r.right, in.bottom);
        break;
    case FLD_FRAME_ROUND: {
        int32_t cw, ch;
        fldFrameCornerSize(&r, frameValue, &cw, &ch);
        gdiRoundRect(dc, r.left, r.top, r.right, r.bottom, cw, ch);
        if (dbl) {
            // An automatic corner shrinks with the inner rectangle.
            fldFrameCornerSize(&in, frameValue, &cw, &ch);
            gdiRoundRect(dc, in.left, in.top, in.right, in.bottom, cw, ch);
        }
        break;
    }
    case FLD_FRAME_ELLIPSE:
    case FLD_FRAME_ELLIPSE2:
        gdiEllipse(dc, r.left, r.top, r.right, r.bottom);
        if (dbl)
            gdiEllipse(dc, in.left, in.top, in.right, in.bottom);
        break;
    case FLD_FRAME_RAISED:
        fldDrawRaisedBevel(dc, &r, kFldBevelWidth, kFldBevelWidth, colours);
        break;
    case FLD_FRAME_SUNKEN:
        fldDrawSunkenBevel(dc, &r, kFldBevelWidth, kFldBevelWidth, colours);
        break;
    case FLD_FRAME_CELLS_BOXED:
    case FLD_FRAME_CELLS_TICKS:
    case FLD_FRAME_CELLS_HALF:
    case FLD_FRAME_CELLS_QUARTER:
        fldDrawCellFrame(dc, &r, frameStyle, frameValue);
        break;
    case FLD_FRAME_SIDES:
        gdiLine(dc, r.left, r.top, r.left, r.bottom);
        gdiLine(dc, r.right, r.top, r.right, r.bottom);
        if (dbl) {
            gdiLine(dc, in.left, r.top, in.left, r.bottom);
            gdiLine(dc, in.right, r.top, in.right, r.bottom);
        }
        break;
    default:
        break;
    }
}

void fldDrawFrameBorderRotated(HDC dc, const RECT *rect, int16_t angle, uint16_t frameStyle,
                               uint32_t frameValue, const COLORREF colours[3])
{
    if (!dc || !rect || !colours)
        return;
    int kind = frameKind(frameStyle);
    if (angle == 0 || kind == FLD_FRAME_RAISED || kind == FLD_FRAME_SUNKEN || isCellKind(kind)) {
        fldDrawFrameBorder(dc, rect, frameStyle, frameValue, colours);
        return;
    }
    BorderPen tools(dc, frameStyle, colours[FLD_PEN]);
    bool dbl = isDouble(frameStyle);
    RECT in = doubleInner(*rect);
    POINT centre;
    geoRectCentre(rect, &centre);
    double radians = geoTenthsToRadians(-angle);
    POINT outer[4], inner[4];
    geoRectToCorners(rect, outer);
    geoRectToCorners(&in, inner);
    geoRotatePointsAbout(outer, 4, centre, radians);
    geoRotatePointsAbout(inner, 4, centre, radians);
    switch (kind) {
    case FLD_FRAME_RECT:
        gdiPolygon(dc, outer, 4);
        if (dbl)
            gdiPolygon(dc, inner, 4);
        break;
    case FLD_FRAME_UNDERLINE:
        gdiLinePts(dc, outer[3], outer[2]);
        if (dbl)
            gdiLinePts(dc, inner[3], inner[2]);
        break;
    case FLD_FRAME_ROUND: {
        int32_t cw, ch;
        fldFrameCornerSize(rect, frameValue, &cw, &ch);
        gdiRoundRectRotated(dc, rect->left, rect->top, rect->right, rect->bottom, cw, ch, angle);
        if (dbl) {
            fldFrameCornerSize(&in, frameValue, &cw, &ch);
            gdiRoundRectRotated(dc, in.left, in.top, in.right, in.bottom, cw, ch, angle);
        }
        break;
    }
    case FLD_FRAME_ELLIPSE:
    case FLD_FRAME_ELLIPSE2:
        gdiEllipseRotated(dc, rect->left, rect->top, rect->right, rect->bottom, angle);
        if (dbl)
            gdiEllipseRotated(dc, in.left, in.top, in.right, in.bottom, angle);
        break;
    case FLD_FRAME_SIDES:
        gdiLinePts(dc, outer[0], outer[3]);
        gdiLinePts(dc, outer[1], outer[2]);
        if (dbl) {
            gdiLinePts(dc, inner[0], inner[3]);
            gdiLinePts(dc, inner[1], inner[2]);
        }
        break;
    default:
        break;
    }
}

// ---- bevels ------------------------------------------------------------------------------------

int32_t fldBevelWidth() { return kFldBevelWidth; }

void fldDrawRaisedBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                        const COLORREF colours[3])
{
    if (!dc || !rect || !colours)
        return;
    COLORREF c = colours[FLD_BACK];
    bevelBands(dc, rect, dx, dy, gdiLightenColor34(c), gdiDarkenColor23(c));
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 20, colours[FLD_PEN]));
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
    gdiRectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
}

void fldDrawSunkenBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                        const COLORREF colours[3])
{
    if (!dc || !rect || !colours)
        return;
    COLORREF c = colours[FLD_BACK];
    bevelBands(dc, rect, dx, dy, gdiDarkenColor23(c), gdiLightenColor34(c));
    const RECT &r = *rect;
    polyline3(dc, POINT{r.left, r.bottom}, POINT{r.left, r.top}, POINT{r.right, r.top},
              gdiLightenColor34(gdiDarkenColor23(c)));
    polyline3(dc, POINT{r.right, r.top}, POINT{r.right, r.bottom}, POINT{r.left, r.bottom},
              gdiDarkenColor23(gdiLightenColor34(c)));
}

void fldDrawRectBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                      const COLORREF colours[3], int kind)
{
    if (!dc || !rect || !colours)
        return;
    fillShape(dc, rect, SHAPE_RECT, 0, FLD_FRAME_RECT, colours[FLD_BACK]);
    if (kind == FLD_FRAME_SUNKEN)
        fldDrawSunkenBevel(dc, rect, dx, dy, colours);
    else
        fldDrawRaisedBevel(dc, rect, dx, dy, colours);
}

void fldDrawRoundBevel(HDC dc, const RECT *rect, uint32_t frameValue, int32_t dx, int32_t dy,
                       const COLORREF colours[3])
{
    if (!dc || !rect || !colours)
        return;
    COLORREF c = colours[FLD_BACK];
    RECT back = {rect->left + dx, rect->top + dy, rect->right, rect->bottom};
    int32_t cw, ch;
    fldFrameCornerSize(&back, frameValue, &cw, &ch);
    {
        GdiObject<HBRUSH> brush(CreateSolidBrush(gdiDarkenColor23(c)));
        GdiSelect selBrush(dc, brush);
        GdiSelect selPen(dc, GetStockObject(NULL_PEN));
        gdiRoundRect(dc, back.left, back.top, back.right, back.bottom, cw, ch);
    }
    GdiObject<HBRUSH> brush(CreateSolidBrush(c));
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colours[FLD_PEN]));
    GdiSelect selBrush(dc, brush);
    GdiSelect selPen(dc, pen);
    gdiRoundRect(dc, rect->left, rect->top, rect->right - dx, rect->bottom - dy, cw, ch);
}

void fldDrawEllipseBevel(HDC dc, const RECT *rect, int32_t dx, int32_t dy,
                         const COLORREF colours[3])
{
    if (!dc || !rect || !colours)
        return;
    COLORREF c = colours[FLD_BACK];
    {
        GdiObject<HBRUSH> brush(CreateSolidBrush(gdiDarkenColor23(c)));
        GdiSelect selBrush(dc, brush);
        GdiSelect selPen(dc, GetStockObject(NULL_PEN));
        gdiEllipse(dc, rect->left + dx, rect->top + dy, rect->right, rect->bottom);
    }
    GdiObject<HBRUSH> brush(CreateSolidBrush(c));
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colours[FLD_PEN]));
    GdiSelect selBrush(dc, brush);
    GdiSelect selPen(dc, pen);
    gdiEllipse(dc, rect->left, rect->top, rect->right - dx, rect->bottom - dy);
}
