// The flash-text window (class "qm_flashtxw_class", style 0, 12 window
// bytes: offset 0 the font, 4 the text record, 8 the text position x | y <<
// 16): one line of text in chosen colours over another window, sized to
// its text and kept inside the parent's client area.
//
// The text record has the object record's layout: u32 length (86 + text +
// 1), i16 type 299, no name, the text colour in the fill colour (+36), the
// background in the back colour (+40), the text after the 86-byte head.
#pragma once
#include "support/qmwin.h"

enum { WIN_FLASH_TEXT_TYPE = 299, WIN_FLASH_HEAD = 86 };

BOOL winRegisterFlashText(HINSTANCE instance);
// The text record; 0 for an empty text or when memory runs out.
MemHandle winFlashTextRecord(const char *text, COLORREF textColour, COLORREF background);
// A window at y with its left edge at x (alignment 0), centred on x (1) or
// its right edge at x (2), kept 4 pixels inside the parent's client area
// when it would stick out; shown and updated with the show flag. Null for
// an empty text.
HWND winCreateFlashText(HWND parent, int x, int y, HFONT font, const char *text,
                        COLORREF textColour, COLORREF background, int alignment, BOOL show);
// Replaces the text (colours kept; black on white without a record); the
// window grows only when the new text is wider: anchor 0 keeps the right
// edge, 9 the centre, any other the left edge. 1 when set.
int winFlashTextSet(HWND window, const char *text, int anchor);
// The text shown into a buffer of `size` bytes (empty when none).
int winFlashTextGet(HWND window, char *buffer, int size);
LRESULT CALLBACK FlashTextWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
