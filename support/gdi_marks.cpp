// Marker figures.
#include "support/gdi_marks.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>

namespace {

BOOL g_pixelMode = FALSE;

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

void dot(HDC dc, int32_t x, int32_t y, int32_t r, int32_t px, int32_t py)
{
    Ellipse(dc, (int16_t)(x - r), (int16_t)(y - r), (int16_t)(x + r + px), (int16_t)(y + r + py));
}

}  // namespace

void gdiMarkPixelMode(BOOL on) { g_pixelMode = on; }

uint32_t gdiMarkerPixelSize(HDC dc)
{
    if (g_pixelMode || !dc)
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

void gdiMarkDiamond(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    if (turn == 0.0) {
        // Centre and size snapped to whole device pixels.
        POINT p[2] = {c, {c.x + w, c.y + h}};
        LPtoDP(dc, p, 2);
        DPtoLP(dc, p, 2);
        c = p[0];
        w = p[1].x - p[0].x;
        h = p[1].y - p[0].y;
    }
    POINT pts[4] = {{c.x - w, c.y}, {c.x, c.y + h}, {c.x + w, c.y}, {c.x, c.y - h}};
    turnAbout(pts, 4, c, turn);
    Polygon(dc, pts, 4);
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

void gdiMarkLines1(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[4] = {{c.x - w, c.y - h}, {c.x + w + px, c.y + h + py}, {c.x - w, c.y + h},
                    {c.x + w + px, c.y - h - py}};
    turnAbout(pts, 4, c, turn);
    lines(dc, pts, 2);
}

void gdiMarkLines2(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[4] = {{c.x, c.y - h}, {c.x, c.y + h + py}, {c.x - w, c.y}, {c.x + w + px, c.y}};
    turnAbout(pts, 4, c, turn);
    lines(dc, pts, 2);
}

void gdiMarkLines3(HDC dc, POINT c, int32_t w, int32_t, double turn)
{
    int32_t px, py;
    pixel(dc, &px, &py);
    POINT pts[2] = {{c.x - w, c.y}, {c.x + w + px, c.y}};
    turnAbout(pts, 2, c, turn);
    lines(dc, pts, 1);
}

void gdiMarkLines4(HDC dc, POINT c, int32_t w, int32_t h, double turn)
{
    gdiMarkLines3(dc, c, w, h, turn);
    int32_t px, py;
    pixel(dc, &px, &py);
    int32_t r = w / 8 > px ? w / 8 : px;
    int32_t g = 3 * px > 2 ? 3 * px : 2;
    dot(dc, c.x, c.y - g, r, px, py);
    dot(dc, c.x, c.y + g, r, px, py);
}

void gdiMarkTick(HDC dc, POINT c, int32_t w, int32_t h, BOOL direction)
{
    int32_t sx = direction ? 1 : -1;
    POINT pts[3] = {{c.x + sx * (-w / 2 - w / 4), c.y - h / 2 + h / 4},
                    {c.x + sx * (-w / 4), c.y + h / 2 + h / 4},
                    {c.x + sx * (w - w / 4), c.y - h + h / 4}};
    Polyline(dc, pts, 3);
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

void gdiMarkTriangle(HDC dc, POINT c, int32_t size, double turn, int code)
{
    POINT pts[3];
    geoTriangleMarkPoints(pts, size, code);
    if (turn != 0.0)
        geoRotatePoints(pts, 3, turn);
    for (POINT &p : pts) {
        p.x += c.x;
        p.y += c.y;
    }
    Polygon(dc, pts, 3);
}
