// The auto-repeat scroll button "tv_scrollbtn": a small button showing the
// bitmap named by its text, which repeats its command while held.
#pragma once
#include "support/qmwin.h"

extern const char ctlScrollBtnClass[];   // "tv_scrollbtn"
enum {
    CTL_SCROLLBTN_TEXT_MAX = 8,          // characters kept of the text
    CTL_SCROLLBTN_REPEAT = 100,          // ms between repeats
    CTL_SCROLLBTN_TIMER = 1,
};

BOOL ctlRegisterScrollBtn(HINSTANCE instance);
// A visible child button with the id, showing the bitmap resource named by
// the text (at most 8 characters are kept).
HWND ctlCreateScrollBtn(HWND parent, const RECT *rect, int id, const char *text);
// Paints the raised edge and the bitmap (combined by AND) into a DC.
void ctlPaintScrollBtn(HWND button, HDC dc);
// The kept text (buffer of at least 9 bytes).
void ctlGetScrollBtnText(HWND button, char *buffer);
