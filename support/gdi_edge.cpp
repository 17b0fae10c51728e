#include "support/gdi_edge.h"

void gdiFillSolid(HDC dc, const RECT &rect, COLORREF colour)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    COLORREF old = SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void gdiDrawEdgeColours(HDC dc, const RECT &rect, int depth, const COLORREF *topLeft,
                        const COLORREF *bottomRight)
{
    RECT r = rect;
    for (int i = 0; i < depth; ++i) {
        if (r.right - r.left < 1 || r.bottom - r.top < 1)
            break;
        // Bottom and right first, then top and left over the shared corners.
        RECT bottom = {r.left, r.bottom - 1, r.right, r.bottom};
        RECT right = {r.right - 1, r.top, r.right, r.bottom};
        gdiFillSolid(dc, bottom, bottomRight[i]);
        gdiFillSolid(dc, right, bottomRight[i]);
        RECT top = {r.left, r.top, r.right - 1, r.top + 1};
        RECT left = {r.left, r.top, r.left + 1, r.bottom - 1};
        gdiFillSolid(dc, top, topLeft[i]);
        gdiFillSolid(dc, left, topLeft[i]);
        InflateRect(&r, -1, -1);
    }
}

void gdiDraw3DEdge(HDC dc, const RECT &rect, BOOL raised, int depth)
{
    if (depth < 1)
        return;
    if (depth > 2)
        depth = 2;
    COLORREF light[2] = {GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DLIGHT)};
    COLORREF dark[2] = {GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNSHADOW)};
    if (raised)
        gdiDrawEdgeColours(dc, rect, depth, light, dark);
    else
        gdiDrawEdgeColours(dc, rect, depth, dark, light);
}

void gdiDrawButtonEdge(HDC dc, const RECT &rect)
{
    RECT r = {rect.left, rect.top, rect.right - 1, rect.bottom - 2};
    gdiDraw3DEdge(dc, r, TRUE, 2);
}

void gdiEtchedHLine(HDC dc, int x1, int x2, int y)
{
    RECT a = {x1, y, x2, y + 1};
    RECT b = {x1, y + 1, x2, y + 2};
    gdiFillSolid(dc, a, GetSysColor(COLOR_BTNSHADOW));
    gdiFillSolid(dc, b, GetSysColor(COLOR_BTNHIGHLIGHT));
}

void gdiDrawDownTriangle(HDC dc, POINT pt, int size, COLORREF colour, int direction)
{
    if (size < 0 || direction != 1)
        return;
    for (int k = 0; k <= 2 * size; ++k) {
        RECT row = {pt.x - 2 * size + k, pt.y - size + k, pt.x + 2 * size - k + 1, pt.y - size + k + 1};
        gdiFillSolid(dc, row, colour);
    }
}
