// Bullet symbols.
#include "text/tx_bullet.h"
#include "support/gdi_marks.h"
#include <math.h>

namespace {

uint16_t g_sample = 0;

// Rounds a logical length to whole device pixels.
int32_t snapLength(HDC dc, int32_t s)
{
    POINT p[2] = {{0, 0}, {s, s}};
    LPtoDP(dc, p, 2);
    DPtoLP(dc, p, 2);
    return p[1].x - p[0].x;
}

}  // namespace

uint32_t txBulletSize(HDC dc)
{
    TEXTMETRICA tm = {};
    if (!dc || !GetTextMetricsA(dc, &tm))
        return 0;
    int32_t w = 2 * tm.tmAveCharWidth, h = tm.tmAscent - tm.tmInternalLeading;
    return (uint32_t)(w & 0xFFFF) | ((uint32_t)(h & 0xFFFF) << 16);
}

void txSetBulletSample(BOOL on)
{
    g_sample = on ? 1 : 0;
    gdiMarkPixelMode(on);
}

uint16_t txGetBulletSample() { return g_sample; }

void txDrawBullet(HDC dc, const RECT *rect, int32_t angle, int n, COLORREF color)
{
    if (!dc || !rect)
        return;
    int32_t w = rect->right - rect->left, h = rect->bottom - rect->top;
    int32_t r = (w < h ? w : h) / 2;
    if (r < 0)
        r = -r;
    POINT c = {(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2};
    double turn = -angle * 0.1 * M_PI / 180.0;

    GdiObject<HPEN> pen(CreatePen(PS_SOLID, g_sample ? 1 : 13, color));
    GdiSelect penSel(dc, pen);
    bool filled = false;
    int cls = 2;
    switch (n) {
    case 1: case 5: case 9: case 13: case 15: case 19: case 30: cls = 1; break;
    case 3: case 7: case 11: case 21: cls = 1; filled = true; break;
    case 4: case 8: case 12: case 22: case 43: case 45: case 47: case 49: filled = true; break;
    case 60: cls = 3; break;
    case 61: cls = 3; filled = true; break;
    default: break;
    }
    GdiObject<HBRUSH> brush(filled ? CreateSolidBrush(color) : nullptr);
    GdiSelect brushSel(dc, filled ? (HGDIOBJ)brush.get() : GetStockObject(NULL_BRUSH));
    int32_t s = cls == 1 ? r / 3 : cls == 3 ? 7 * r / 8 : 2 * r / 3;
    // One device pixel down, and the size in whole device pixels.
    POINT d = c;
    LPtoDP(dc, &d, 1);
    d.y += 1;
    DPtoLP(dc, &d, 1);
    c = d;
    s = snapLength(dc, s);

    switch (n) {
    case 1: case 2: case 3: case 4:
        Ellipse(dc, c.x - s, c.y - s, c.x + s, c.y + s);
        break;
    case 5: case 6: case 7: case 8: case 60: case 61:
        if (turn == 0.0)
            Rectangle(dc, c.x - s, c.y - s, c.x + s, c.y + s);
        else
            gdiSquareRotated(dc, c, s, s, turn);
        break;
    case 9: case 10: case 11: case 12:
        gdiMarkDiamond(dc, c, s, s, turn);
        break;
    case 13: case 14: gdiMarkLines1(dc, c, s, s, turn); break;
    case 15: case 16: gdiMarkLines2(dc, c, s, s, turn); break;
    case 19: case 20: gdiMarkLines3(dc, c, s, s, turn); break;
    case 21: case 22: gdiMarkLines4(dc, c, s, s, turn); break;
    case 30: case 32: {
        POINT p[2] = {{0, 0}, {2, 2}};
        DPtoLP(dc, p, 2);
        int32_t two = p[1].x - p[0].x;
        int32_t up = r / 8 > two ? r / 8 : two;
        gdiMarkLines2(dc, POINT{c.x, c.y - up}, s, s, turn);
        gdiMarkLines3(dc, POINT{c.x, c.y + s}, s, s, turn);
        break;
    }
    case 33: case 34: gdiMarkTick(dc, c, s, s, n == 33); break;
    case 42: case 43: case 44: case 45: case 46: case 47: case 48: case 49:
        gdiMarkTriangle(dc, c, 2 * s, turn, n);
        break;
    default: break;
    }
}
