#include "support/gdi_edge.h"
#include "support/gdi_draw.h"
#include <algorithm>

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
    // The rings lie inside the rectangle: the bevel rings run along the
    // rectangle's last column and row, so they get the right and bottom
    // edges one pixel in. Only the rings that still have room are drawn.
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    int fits = (std::min(width, height) + 1) / 2;
    RECT frame = {rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    gdiDraw3DFrame(dc, &frame, std::min(depth, fits), topLeft, bottomRight);
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
    gdiDrawDropArrow(dc, pt, size, colour, direction);
}
