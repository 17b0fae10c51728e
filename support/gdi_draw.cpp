// Drawing primitives, line-style pens, shadows and 3-D edges.
#include "support/gdi_draw.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>
#include <stddef.h>
#include <algorithm>
#include <vector>

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
BOOL gdiPolygon(HDC dc, const POINT *pts, int16_t n)
{
    if (!pts || n <= 0)
        return FALSE;
    RECT b;
    geoPointsBounds(pts, n, &b);
    if (gdiIsWithinSafeRange(dc, b.left, b.top, b.right, b.bottom))
        return Polygon(dc, pts, n);
    std::vector<GeoPointF> f((size_t)n);
    for (int i = 0; i < n; ++i)
        f[(size_t)i] = GeoPointF{(double)pts[i].x, (double)pts[i].y};
    return gdiPolygonF(dc, f.data(), n);
}

// ---- figures of any size -------------------------------------------------------

namespace {

// The DC's mapping from logical to device units as device = o + s x logical
// (the program's mappings neither turn nor shear).
struct DeviceMap {
    double ox, oy, sx, sy;
};

bool deviceMap(HDC dc, DeviceMap *m)
{
    POINT p[3] = {{0, 0}, {65536, 0}, {0, 65536}};
    if (!LPtoDP(dc, p, 3))
        return false;
    m->ox = p[0].x;
    m->oy = p[0].y;
    m->sx = (p[1].x - (double)p[0].x) / 65536.0;
    m->sy = (p[2].y - (double)p[0].y) / 65536.0;
    return m->sx != 0 && m->sy != 0;
}

// The width of the DC's current pen in logical units (0 when unknown).
double penWidth(HDC dc)
{
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    if (!pen)
        return 0;
    LOGPEN lp;
    if (GetObjectA(pen, sizeof lp, &lp) == sizeof lp)
        return lp.lopnWidth.x;
    EXTLOGPEN ext;
    if (GetObjectA(pen, sizeof ext, &ext) >= (int)offsetof(EXTLOGPEN, elpColor))
        return ext.elpWidth;
    return 0;
}

// Sutherland-Hodgman against one side of the rectangle.
template <typename Inside, typename Cross>
void clipSide(std::vector<GeoPointF> &pts, Inside inside, Cross cross)
{
    std::vector<GeoPointF> out;
    size_t n = pts.size();
    out.reserve(n + 4);
    for (size_t i = 0; i < n; ++i) {
        const GeoPointF &a = pts[(i + n - 1) % n], &b = pts[i];
        bool ia = inside(a), ib = inside(b);
        if (ib) {
            if (!ia)
                out.push_back(cross(a, b));
            out.push_back(b);
        } else if (ia) {
            out.push_back(cross(a, b));
        }
    }
    pts.swap(out);
}

void clipToRect(std::vector<GeoPointF> &pts, double l, double t, double r, double b)
{
    auto atX = [](const GeoPointF &a, const GeoPointF &c, double x) {
        double k = (x - a.x) / (c.x - a.x);
        return GeoPointF{x, a.y + k * (c.y - a.y)};
    };
    auto atY = [](const GeoPointF &a, const GeoPointF &c, double y) {
        double k = (y - a.y) / (c.y - a.y);
        return GeoPointF{a.x + k * (c.x - a.x), y};
    };
    clipSide(pts, [&](const GeoPointF &p) { return p.x >= l; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atX(a, c, l); });
    clipSide(pts, [&](const GeoPointF &p) { return p.x <= r; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atX(a, c, r); });
    clipSide(pts, [&](const GeoPointF &p) { return p.y >= t; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atY(a, c, t); });
    clipSide(pts, [&](const GeoPointF &p) { return p.y <= b; },
             [&](const GeoPointF &a, const GeoPointF &c) { return atY(a, c, b); });
}

}  // namespace

int gdiIsWithinSafeRange(HDC dc, double l, double t, double r, double b)
{
    DeviceMap m;
    if (!deviceMap(dc, &m))
        return 0;
    for (double x : {l, r})
        if (fabs(m.ox + m.sx * x) > kGdiSafeDevice)
            return 0;
    for (double y : {t, b})
        if (fabs(m.oy + m.sy * y) > kGdiSafeDevice)
            return 0;
    return 1;
}

int gdiGetCutRect(HDC dc, double *l, double *t, double *r, double *b)
{
    DeviceMap m;
    RECT clip;
    int kind = GetClipBox(dc, &clip);
    if (kind == NULLREGION || !deviceMap(dc, &m))
        return 0;
    // The safe range in logical units, and the clip box within it.
    double sl = (-kGdiSafeDevice - m.ox) / m.sx, sr = (kGdiSafeDevice - m.ox) / m.sx;
    double st = (-kGdiSafeDevice - m.oy) / m.sy, sb = (kGdiSafeDevice - m.oy) / m.sy;
    if (sl > sr)
        std::swap(sl, sr);
    if (st > sb)
        std::swap(st, sb);
    double cl = sl, ct = st, cr = sr, cb = sb;
    if (kind != ERROR) {
        double grow = fabs(penWidth(dc)) + 8.0 * std::max(1.0 / fabs(m.sx), 1.0 / fabs(m.sy));
        cl = std::max(sl, clip.left - grow);
        cr = std::min(sr, clip.right + grow);
        ct = std::max(st, clip.top - grow);
        cb = std::min(sb, clip.bottom + grow);
    }
    if (cl >= cr || ct >= cb)
        return 0;
    *l = cl;
    *t = ct;
    *r = cr;
    *b = cb;
    return 1;
}

BOOL gdiPolygonF(HDC dc, const GeoPointF *pts, int n)
{
    if (!pts || n <= 0)
        return FALSE;
    double bl = pts[0].x, br = bl, bt = pts[0].y, bb = bt;
    for (int i = 1; i < n; ++i) {
        bl = std::min(bl, pts[i].x);
        br = std::max(br, pts[i].x);
        bt = std::min(bt, pts[i].y);
        bb = std::max(bb, pts[i].y);
    }
    std::vector<GeoPointF> f(pts, pts + n);
    if (!gdiIsWithinSafeRange(dc, bl, bt, br, bb)) {
        double l, t, r, b;
        if (!gdiGetCutRect(dc, &l, &t, &r, &b) || br < l || bl > r || bb < t || bt > b)
            return TRUE;   // nothing of it can show
        clipToRect(f, l, t, r, b);
        if (f.size() < 2)
            return TRUE;
    }
    std::vector<POINT> out;
    out.reserve(f.size());
    for (const GeoPointF &p : f) {
        POINT q = {(LONG)lround(p.x), (LONG)lround(p.y)};
        if (out.empty() || q.x != out.back().x || q.y != out.back().y)
            out.push_back(q);
    }
    return Polygon(dc, out.data(), (int)out.size());
}

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
