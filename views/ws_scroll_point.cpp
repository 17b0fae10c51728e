// Bringing a client point into the view, as the text editor keeps its caret
// visible.
#include "views/ws_scroll.h"
#include "support/dm_map.h"

int wsScrollToPoint(HWND ws, POINT pt)
{
    RECT client;
    if (!ws || !GetClientRect(ws, &client))
        return 0;
    int32_t stepX = dmLogToDevW(dmUnitsToLogX(0.5));
    int32_t stepY = dmLogToDevH(dmUnitsToLogY(0.5));
    if (stepX < 1)
        stepX = 1;
    if (stepY < 1)
        stepY = 1;
    // Whole steps, enough to bring the point inside.
    auto steps = [](int32_t distance, int32_t step) {
        return ((distance + step - 1) / step) * step;
    };
    int32_t dx = 0, dy = 0;
    if (pt.x < client.left)
        dx = -steps(client.left - pt.x, stepX);
    else if (pt.x >= client.right)
        dx = steps(pt.x - client.right + 1, stepX);
    if (pt.y < client.top)
        dy = -steps(client.top - pt.y, stepY);
    else if (pt.y >= client.bottom)
        dy = steps(pt.y - client.bottom + 1, stepY);
    int moved = 0;
    if (dx && wsScrollDevX(ws, dx))
        moved = 1;
    if (dy && wsScrollDevY(ws, dy, SB_THUMBPOSITION, FALSE))
        moved = 1;
    return moved;
}
