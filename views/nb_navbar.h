// The page navigation bars of a document window: two modeless dialogs
// beside the workspace. The bottom bar ("BTOOL") holds the first, previous,
// next and last page buttons, the page field ("%d of %d") and the
// workspace's horizontal scroll bar; the right bar ("RTOOL") the vertical
// scroll bar, the scroll-style button (802) and the button that scrolls to
// the aligned page rectangle (801). The workspace drives them through
// WM_COMMAND 42 to 48 and 53 to 58 to the document window; they report the
// user's actions back to the document window as WM_COMMAND (the page
// commands 684, 617, 618, 685, 619 and the scroll notifications 31 to 39).
#pragma once
#include "support/qmwin.h"

enum {
    NB_DUMMY = 99,
    NB_FIRST = 101, NB_PREV = 102, NB_NEXT = 103, NB_LAST = 104,
    NB_FIELD = 110, NB_HSCROLL = 200, NB_COUNT = 301,
    NB_STYLE = 802, NB_VSCROLL = 800, NB_TO_MARGINS = 801,
    NB_FIELD_LIMIT = 12,
};

// The distance a scroll code asks of a bar (codes 0-7: line, page, thumb
// position and track, top, bottom), clamped to at most (max - page) - (pos
// - 1) and at least min - pos.
int32_t nbScrollDistance(int code, int32_t min, int32_t max, int32_t page, int32_t pos,
                         int32_t track, int32_t line);
// The same on a bar control (SB_CTL) from its SCROLLINFO; a non-zero
// distance is added to the bar's position. 0 when the bar cannot be read.
int32_t nbScrollBy(HWND bar, int kind, int code, int32_t line);
// The 0-based page a typed field text names (the text up to its first
// blank, a number 1 to count); -1 when it names none.
int nbParsePageField(const char *text, int count);
// Which of the four page buttons are enabled: first/previous, next/last.
void nbButtonStates(int count, int index, BOOL *back, BOOL *forward);
void nbEnableButtons(HWND bar, int count, int index);

// The bars, created as children of the document window and placed along
// its bottom / right edge.
HWND nbCreateBottomBar(HWND doc, int32_t min, int32_t max, int32_t pos, int32_t page);
HWND nbCreateRightBar(HWND doc, int32_t min, int32_t max, int32_t pos, int32_t page);
INT_PTR CALLBACK BToolDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RToolDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam);
