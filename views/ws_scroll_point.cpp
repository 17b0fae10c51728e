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
    // Whole steps, enough to bring the point inside; the caret may lie
    // anywhere on the page, so the page width sets no limit here.
    int32_t dx = 0, dy = 0;
    wsAutoScrollAtEdge(&client, pt, stepX, stepY, INT32_MAX / 2, 0, &dx, &dy);
    int moved = 0;
    if (dx && wsScrollDevX(ws, dx))
        moved = 1;
    if (dy && wsScrollDevY(ws, dy, SB_THUMBPOSITION, FALSE))
        moved = 1;
    return moved;
}
