// Scroll-bar arithmetic.
#include "support/win_scroll.h"
#include <algorithm>

int32_t winScrollCodeDelta(int32_t code, int32_t thumb, int32_t min, int32_t max,
                           int32_t position, int32_t line, int32_t page)
{
    int64_t delta;
    switch (code) {
    case SB_LINEUP: delta = -(int64_t)line; break;
    case SB_LINEDOWN: delta = line; break;
    case SB_PAGEUP: delta = -(int64_t)std::max(line, page); break;
    case SB_PAGEDOWN: delta = std::max(line, page); break;
    case SB_THUMBPOSITION: delta = (int64_t)thumb - position; break;
    case SB_TOP: delta = (int64_t)min - position; break;
    case SB_BOTTOM: delta = (int64_t)max - position; break;
    default: delta = 0; break;
    }
    delta = std::min(delta, (int64_t)max - position);
    delta = std::max(delta, (int64_t)min - position);
    return (int32_t)std::min<int64_t>(std::max<int64_t>(delta, INT32_MIN), INT32_MAX);
}

int32_t winScrollBarDelta(HWND window, int bar, int32_t code, int32_t position, int32_t line,
                          int32_t page)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(window, bar, &si))
        return 0;
    return winScrollCodeDelta(code, si.nTrackPos, si.nMin, si.nMax, position, line, page);
}

int32_t winScrollDelta(WPARAM wParam, HWND scrollBar, int32_t min, int32_t max,
                       int32_t position, int32_t line, int32_t page)
{
    int32_t thumb = HIWORD(wParam);
    if (scrollBar) {
        // The thumb's 32-bit place: the track position, which during a thumb
        // message is where the user put it (the plain position still holds
        // the old value until the owner moves it).
        SCROLLINFO si = {};
        si.cbSize = sizeof(si);
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(scrollBar, SB_CTL, &si))
            thumb = si.nTrackPos;
    }
    return winScrollCodeDelta(LOWORD(wParam), thumb, min, max, position, line, page);
}

void winSetScrollRanges(HWND window, int32_t minX, int32_t contentWidth, int32_t minY,
                        int32_t contentHeight)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(window, &client);
    SetScrollRange(window, SB_HORZ, minX, std::max(contentWidth - client.right, minX), FALSE);
    SetScrollRange(window, SB_VERT, minY, std::max(contentHeight - client.bottom, minY), FALSE);
}
