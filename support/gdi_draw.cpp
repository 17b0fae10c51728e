// Drawing primitives, line-style pens, shadows and 3-D edges.
#include "support/gdi_draw.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <algorithm>

namespace {

struct ShadowSettings {
    int16_t depthPoints;
    int16_t stockIndex;   // 0: a solid brush of the colour
    COLORREF colour;
};

const ShadowSettings kDefaultShadow = {5, GRAY_BRUSH, 0};
ShadowSettings g_shadow = kDefaultShadow;

uint8_t lighten(uint8_t c) { return (uint8_t)(255 - (255 - c) / 4); }
uint8_t darken(uint8_t c) { return (uint8_t)(c * 2 / 3); }

}  // namespace

// ---- primitives ------------------------------------------------------------------

BOOL gdiLine(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    MoveToEx(dc, x1, y1, nullptr);
    return LineTo(dc, x2, y2);
}

BOOL gdiLineXY(HDC dc, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    return gdiLine(dc, x1, y1, x2, y2);
}

BOOL gdiLinePts(HDC dc, POINT p, POINT q) { return gdiLine(dc, p.x, p.y, q.x, q.y); }
BOOL gdiMoveToPt(HDC dc, POINT p) { return MoveToEx(dc, p.x, p.y, nullptr); }
BOOL gdiLineToPt(HDC dc, POINT p) { return LineTo(dc, p.x, p.y); }

COLORREF gdiSetPixel(HDC dc, int32_t x, int32_t y, COLORREF colour)
{
    return SetPixel(dc, x, y, colour);
}

BOOL gdiRectanglePlain(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return Rectangle(dc, l, t, r, b);
}

BOOL gdiRectangle(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return Rectangle(dc, l, t, r + dmGetPixelWidth(), b + dmGetPixelHeight());
}

BOOL gdiFrameRect(HDC dc, const RECT *r)
{
    MoveToEx(dc, r->left, r->top, nullptr);
    BOOL ok = LineTo(dc, r->right, r->top);
    ok = LineTo(dc, r->right, r->bottom) && ok;
    ok = LineTo(dc, r->left, r->bottom) && ok;
    return LineTo(dc, r->left, r->top) && ok;
}

BOOL gdiRectAtRotated(HDC dc, POINT c, int32_t halfW, int32_t halfH, double radians)
{
    if (radians == 0.0)
        return gdiRectangle(dc, c.x - halfW, c.y - halfH, c.x + halfW, c.y + halfH);
    POINT pts[4] = {{c.x - halfW, c.y + halfH},
                    {c.x + halfW, c.y + halfH},
                    {c.x + halfW, c.y - halfH},
                    {c.x - halfW, c.y - halfH}};
    geoRotatePointsAbout(pts, 4, c, radians);
    return gdiPolygon(dc, pts, 4);
}

BOOL gdiEllipse(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    return Ellipse(dc, l, t, r, b);
}

BOOL gdiRoundRectPlain(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                       int32_t cornerH)
{
    return RoundRect(dc, l, t, r, b, cornerW, cornerH);
}

BOOL gdiRoundRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t cornerW,
                  int32_t cornerH)
{
    return RoundRect(dc, l, t, r + dmGetPixelWidth(), b + dmGetPixelHeight(), cornerW, cornerH);
}

BOOL gdiArc(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
            int32_t x2, int32_t y2)
{
    return Arc(dc, l, t, r, b, x1, y1, x2, y2);
}

BOOL gdiPie(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b, int32_t x1, int32_t y1,
            int32_t x2, int32_t y2)
{
    return Pie(dc, l, t, r, b, x1, y1, x2, y2);
}

BOOL gdiPolyline(HDC dc, const POINT *pts, int16_t n) { return Polyline(dc, pts, n); }
BOOL gdiPolygon(HDC dc, const POINT *pts, int16_t n) { return Polygon(dc, pts, n); }

int gdiDrawAllChords(HDC dc, const POINT *pts, int16_t n)
{
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            MoveToEx(dc, pts[i].x, pts[i].y, nullptr);
            LineTo(dc, pts[j].x, pts[j].y);
        }
    }
    if (n > 0) {
        MoveToEx(dc, pts[0].x, pts[0].y, nullptr);
        LineTo(dc, pts[n - 1].x, pts[n - 1].y);
    }
    return 1;
}

int gdiFillRectIncl(HDC dc, const RECT *r, HBRUSH brush)
{
    RECT incl = {r->left, r->top, r->right + 1, r->bottom + 1};
    return FillRect(dc, &incl, brush);
}

BOOL gdiTextOut(HDC dc, int32_t x, int32_t y, const char *text, int32_t len)
{
    return TextOutA(dc, x, y, text, len);
}

BOOL gdiExtTextOut(HDC dc, int32_t x, int32_t y, UINT options, const RECT *clip,
                   const char *text, UINT len, const INT *dx)
{
    return ExtTextOutA(dc, x, y, options, clip, text, len, dx);
}

// ---- line styles and colours -------------------------------------------------------

void gdiDecodeLineWidth(uint16_t styleWord, int32_t *width, int32_t *penStyle)
{
    switch (styleWord & GDI_LINE_STYLE_MASK) {
    case 0x000:
    case 0x300: *width = 10; *penStyle = GDI_PEN_SOLID; break;
    case 0x100: *width = 30; *penStyle = GDI_PEN_SOLID; break;
    case 0x200: *width = 40; *penStyle = GDI_PEN_SOLID; break;
    case 0x400: *width = 1; *penStyle = GDI_PEN_DASH; break;
    case 0x500: *width = 1; *penStyle = GDI_PEN_DOT; break;
    case 0x600: *width = 1; *penStyle = GDI_PEN_DASHDOT; break;
    default: *width = 1; *penStyle = GDI_PEN_NULL; break;
    }
}

int32_t gdiLineStylePen(uint16_t styleWord)
{
    int32_t width, style;
    gdiDecodeLineWidth(styleWord, &width, &style);
    return style;
}

COLORREF gdiDarkenColor23(COLORREF c)
{
    return RGB(darken(GetRValue(c)), darken(GetGValue(c)), darken(GetBValue(c)));
}

COLORREF gdiLightenColor34(COLORREF c)
{
    return RGB(lighten(GetRValue(c)), lighten(GetGValue(c)), lighten(GetBValue(c)));
}

// ---- shadows and edges -------------------------------------------------------------

void gdiSetShadowBrush(int16_t stockIndex, COLORREF colour)
{
    g_shadow.stockIndex = stockIndex;
    if (stockIndex == 0)
        g_shadow.colour = colour;
}

int16_t gdiSetShadowDepth(int16_t points)
{
    int16_t previous = g_shadow.depthPoints;
    g_shadow.depthPoints = points;
    return previous;
}

void gdiResetModule() { g_shadow = kDefaultShadow; }

BOOL gdiDrawRectShadow(HDC dc, const RECT *r)
{
    int32_t d = dmPointsToTwips(g_shadow.depthPoints);
    int32_t px = dmGetPixelWidth(), py = dmGetPixelHeight();
    GdiObject<HBRUSH> own(g_shadow.stockIndex ? nullptr : CreateSolidBrush(g_shadow.colour));
    HBRUSH brush = g_shadow.stockIndex ? (HBRUSH)GetStockObject(g_shadow.stockIndex) : own.get();
    if (!brush)
        return FALSE;
    RECT right = {r->right + px, r->top + d, r->right + px + d, r->bottom + d};
    RECT below = {r->left + d, r->bottom + py, r->right + d + px, r->bottom + py + d};
    BOOL ok = gdiFillRectIncl(dc, &right, brush);
    return gdiFillRectIncl(dc, &below, brush) && ok;
}

void gdiDraw3DFrame(HDC dc, const RECT *r, int32_t depth, const COLORREF *topLeft,
                    const COLORREF *bottomRight)
{
    if (depth < 1)
        return;
    RECT ring = *r;
    HGDIOBJ previous = GetCurrentObject(dc, OBJ_PEN);
    HPEN held = nullptr;   // the pen selected now, released when replaced
    auto stroke = [&](const POINT pts[3], COLORREF colour) {
        HPEN pen = CreatePen(PS_SOLID, 0, colour);
        if (!pen)
            return;   // no pen, no line
        SelectObject(dc, pen);
        if (held)
            DeleteObject(held);
        held = pen;
        Polyline(dc, pts, 3);
    };
    for (int32_t i = 0; i < depth; ++i) {
        POINT pts[3];
        geoRectUpperTriangle(&ring, pts);
        stroke(pts, topLeft[i]);
        geoRectLowerTriangle(&ring, pts);
        stroke(pts, bottomRight[i]);
        InflateRect(&ring, -1, -1);
    }
    SelectObject(dc, previous);
    if (held)
        DeleteObject(held);
}

void gdiDrawButtonEdge(HDC dc, const RECT *r, BOOL raised, int32_t depth)
{
    depth = std::min(depth, 2);
    if (depth < 1)
        return;
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF light = GetSysColor(COLOR_3DLIGHT);
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF raisedTL[2] = {highlight, light};
    COLORREF raisedBR[2] = {depth == 1 ? shadow : dark, shadow};
    COLORREF pressedTL[2] = {dark, shadow};
    COLORREF pressedBR[2] = {highlight, light};
    if (raised)
        gdiDraw3DFrame(dc, r, depth, raisedTL, raisedBR);
    else
        gdiDraw3DFrame(dc, r, depth, pressedTL, pressedBR);
}

void gdiDrawButtonEdgeInset(HDC dc, const RECT *r)
{
    RECT inset = {r->left, r->top, r->right - 1, r->bottom - 2};
    gdiDrawButtonEdge(dc, &inset, TRUE, 2);
}

void geoDeflateRect3(RECT *r) { InflateRect(r, -3, -3); }

void gdiDrawDropArrow(HDC dc, POINT centre, int32_t size, COLORREF colour, int32_t kind)
{
    if (kind != 1 || size < 0)
        return;
    for (int32_t k = 0; k <= 2 * size; ++k) {
        int32_t y = centre.y - size + k;
        for (int32_t x = centre.x - 2 * size + k; x <= centre.x + 2 * size - k; ++x)
            SetPixel(dc, x, y, colour);
    }
}
