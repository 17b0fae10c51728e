// Scrolling the workspace view while a drag runs.
#include "commands/ws_autoscroll.h"
#include "support/dm_map.h"
#include "views/ws_window.h"
#include <algorithm>

namespace {

// Whole steps covering a distance d > 0.
int32_t wholeSteps(int32_t d, int32_t step) { return (d + step - 1) / step * step; }

}  // namespace

void wsAutoScrollDistance(const RECT *client, POINT pt, int32_t stepX, int32_t stepY,
                          int32_t *dx, int32_t *dy)
{
    stepX = std::max<int32_t>(stepX, 1);
    stepY = std::max<int32_t>(stepY, 1);
    *dx = *dy = 0;
    if (pt.x >= client->right)
        *dx = wholeSteps(pt.x - client->right + 1, stepX);
    else if (pt.x < client->left)
        *dx = -wholeSteps(client->left - pt.x, stepX);
    if (pt.y >= client->bottom)
        *dy = wholeSteps(pt.y - client->bottom + 1, stepY);
    else if (pt.y < client->top)
        *dy = -wholeSteps(client->top - pt.y, stepY);
}

int wsDragAutoScroll(HWND ws, POINT *pt)
{
    if (!ws || !pt)
        return 0;
    RECT client;
    GetClientRect(ws, &client);
    int32_t dx, dy;
    wsAutoScrollDistance(&client, *pt, dmGetUnitPixelsX() / 2, dmGetUnitPixelsY() / 2, &dx, &dy);
    if (!dx && !dy)
        return 0;
    int32_t sx, sy;
    dmGetScrollPos(&sx, &sy);
    dmSetScrollPos(sx + dx, sy + dy);
    if (dy)
        ScrollWindowEx(ws, 0, -dy, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    if (dx)
        ScrollWindowEx(ws, -dx, 0, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
    int bits = (dx ? 1 : 0) | (dy ? 2 : 0);
    wsInvalidateRulers(ws, bits);
    wsUpdateRulers(ws, bits);
    UpdateWindow(ws);
    pt->x -= dx;
    pt->y -= dy;
    POINT screen = *pt;
    ClientToScreen(ws, &screen);
    SetCursorPos(screen.x, screen.y);
    return 1;
}
