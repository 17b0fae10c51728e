// Marker symbols.
#include "support/gdi_marks.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>

namespace {

int32_t g_exactPixels = 0;

void pixel(HDC dc, int32_t *px, int32_t *py)
{
    uint32_t p = gdiMarkerPixelSize(dc);
    *px = (int32_t)(p & 0xFFFF);
    *py = (int32_t)(p >> 16);
}

void turnAbout(POINT *pts, int16_t n, POINT centre, double turn)
{
    if (turn != 0.0)
        geoRotatePointsAbout(pts, n, centre, turn);
}

void lines(HDC dc, const POINT *pts, int pairs)
{
    for (int i = 0; i < pairs; ++i) {
        MoveToEx(dc, pts[2 * i].x, pts[2 * i].y, nullptr);
        LineTo(dc, pts[2 * i + 1].x, pts[2 * i + 1].y);
    }
}

}  // namespace

void gdiSetMarkerExactPixels(int32_t flag) { g_exactPixels = flag; }

uint32_t gdiMarkerPixelSize(HDC dc)
{
    if (g_exactPixels || !dc)
        return 1u | (1u << 16);
    POINT p[2] = {{0, 0}, {1, 1}};
    DPtoLP(dc, p, 2);
    int32_t w = abs(p[1].x - p[0].x), h = abs(p[1].y - p[0].y);
    if (w < 1)
        w = 1;
    if (h < 1)
        h = 1;
    return (uint32_t)(w & 0xFFFF) | ((uint32_t)(h & 0xFFFF) << 16);
}

void gdiDiamondSnapped(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h)
{
    // The centre on a whole device pixel, the size in whole device pixels
    // (measured from the origin, so it does not depend on the position).
    POINT c = {x, y};
    LPtoDP(dc, &c, 1);
    DPtoLP(dc, &c, 1);
    POINT s[2] = {{0, 0}, {w, h}};
    LPtoDP(dc, s, 2);
    DPtoLP(dc, s, 2);
    w = s[1].x - s[0].x;
    h = s[1].y - s[0].y;
    POINT pts[4] = {{c.x - w, c.y}, {c.x, c.y + h}, {c.x + w, c.y}, {c.x, c.y - h}};
    Polygon(dc, pts, 4);
}

void gdiDiamondInRect(HDC dc, int32_t l, int32_t t, int32_t r, int32_t b)
{
    const int32_t mx = (int32_t)(((int64_t)l + r) / 2), my = (int32_t)(((int64_t)t + b) / 2);
    POINT pts[4] = {{mx, t}, {l, my}, {mx, b}, {r, my}};
    Polygon(dc, pts, 4);
}

void gdiDiamondRotated(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    if (turn == 0.0) {
        gdiDiamondSnapped(dc, c.x, c.y, w, h);
        return;
    }
    POINT pts[4] = {{c.x - w, c.y}, {c.x, c.y + h}, {c.x + w, c.y}, {c.x, c.y - h}};
    turnAbout(pts, 4, c, turn);
    gdiPolygon(dc, pts, 4);
}

void gdiDot(HDC dc, POINT c, int32_t r)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    Ellipse(dc, c.x - r, c.y - r, c.x + r + px, c.y + r + py);
}

void gdiSquareRotated(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[4] = {{c.x - w, c.y - h}, {c.x + w + px, c.y - h}, {c.x + w + px, c.y + h + py},
                    {c.x - w, c.y + h + py}};
    turnAbout(pts, 4, c, turn);
    Polygon(dc, pts, 4);
}

void gdiDrawXMark(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[4] = {{c.x - w, c.y - h}, {c.x + w + px, c.y + h + py}, {c.x - w, c.y + h},
                    {c.x + w + px, c.y - h - py}};
    turnAbout(pts, 4, c, turn);
    lines(dc, pts, 2);
}

void gdiDrawPlusMark(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[4] = {{c.x, c.y - h}, {c.x, c.y + h + py}, {c.x - w, c.y}, {c.x + w + px, c.y}};
    turnAbout(pts, 4, c, turn);
    lines(dc, pts, 2);
}

void gdiDrawDashMark(HDC dc, POINT c, int32_t w, int32_t, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[2] = {{c.x - w, c.y}, {c.x + w + px, c.y}};
    turnAbout(pts, 2, c, turn);
    lines(dc, pts, 1);
}

void gdiDrawDivideMark(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    gdiDrawDashMark(dc, c, w, h, turn);
    int32_t px, py;
    pixel(dc, &px, &py);
    const int32_t r = w / 8 > px ? w / 8 : px;
    const int32_t g = 3 * px > 2 ? 3 * px : 2;
    gdiDot(dc, POINT{c.x, c.y - g}, r);
    gdiDot(dc, POINT{c.x, c.y + g}, r);
}

void gdiDrawCheckMark(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    const int32_t dx = -w / 4, dy = h / 4;
    POINT pts[3] = {{c.x - w / 2 + dx, c.y - h / 2 + dy},
                    {c.x + dx, c.y + h / 2 + dy},
                    {c.x + w + dx, c.y - h + dy}};
    turnAbout(pts, 3, c, turn);
    Polyline(dc, pts, 3);
}

void gdiDrawCompareMark(HDC dc, POINT c, int32_t w, int32_t h, BOOL greater)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    int32_t ww = w - px;
    const int32_t hh = h - py;
    if (!greater)
        ww = -ww;
    POINT chevron[3] = {{c.x - ww, c.y - hh / 2}, {c.x + ww, c.y}, {c.x - ww, c.y + hh / 2}};
    Polyline(dc, chevron, 3);
    // The underline lies a device pixel below the bar's lowest reach.
    const int32_t y = c.y + hh + py;
    MoveToEx(dc, c.x - ww, y, nullptr);
    LineTo(dc, c.x + ww, y);
}

void geoTriangleMarkPoints(POINT out[3], int32_t size, int code)
{
    static const double kLeft[6] = {-0.57735, 0, 0.288675, 0.5, 0.288675, -0.5};
    static const double kUp[6] = {0, -0.57735, -0.5, 0.288675, 0.5, 0.288675};
    static const double kDown[6] = {0, 0.57735, 0.5, -0.288675, -0.5, -0.288675};
    static const double kRight[6] = {0.57735, 0, -0.288675, -0.5, -0.288675, 0.5};
    const double *t = (code == 44 || code == 45)   ? kLeft
                      : (code == 46 || code == 47) ? kUp
                      : (code == 48 || code == 49) ? kDown
                                                   : kRight;
    for (int i = 0; i < 3; ++i) {
        out[i].x = geoRound(t[2 * i] * size);
        out[i].y = geoRound(t[2 * i + 1] * size);
    }
}

void gdiDrawTriangleMark(HDC dc, POINT c, int32_t size, double turn, int code)
{
    POINT pts[3];
    geoTriangleMarkPoints(pts, size, code);
    if (turn != 0.0)
        geoRotatePoints(pts, 3, turn);
    for (POINT &p : pts) {
        p.x += c.x;
        p.y += c.y;
    }
    gdiPolygon(dc, pts, 3);
}
