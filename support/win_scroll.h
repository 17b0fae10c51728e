// Scroll-bar arithmetic.
#pragma once
#include "support/qmwin.h"

// The delta a scroll code asks for: SB_LINEUP -line, SB_LINEDOWN +line,
// SB_PAGEUP / SB_PAGEDOWN -/+ the larger of line and page, SB_THUMBPOSITION
// thumb - position, SB_TOP min - position, SB_BOTTOM max - position, every
// other code (SB_THUMBTRACK too) 0; then clamped so that the position stays
// within min..max.
int32_t winScrollCodeDelta(int32_t code, int32_t thumb, int32_t min, int32_t max,
                           int32_t position, int32_t line, int32_t page);
// The same for a window's scroll bar (SB_HORZ or SB_VERT), whose range and
// thumb are read from the bar; 0 when they cannot be read.
int32_t winScrollBarDelta(HWND window, int bar, int32_t code, int32_t position, int32_t line,
                          int32_t page);
// The same for a scroll message's word parameter: the code in its low 16
// bits, the thumb in its high 16 bits, or, when a scroll-bar control is
// given, the control's 32-bit thumb position.
int32_t winScrollDelta(WPARAM wParam, HWND scrollBar, int32_t min, int32_t max,
                       int32_t position, int32_t line, int32_t page);
// Horizontal range min x .. max(content width - client width, min x),
// vertical likewise; no redraw.
void winSetScrollRanges(HWND window, int32_t minX, int32_t contentWidth, int32_t minY,
                        int32_t contentHeight);
