// Small window-level services: the instance of a window, class cursors and
// the nesting wait cursor, invalidation, child and frame rectangles, the
// etched separator line, the screen DC, packed mouse positions, brush
// colours, bringing a window forward and searches for windows by class.
#pragma once
#include "support/qmwin.h"

HINSTANCE winGetInstance(HWND window);
// SetClassLongPtr(GCLP_HCURSOR); returns the previous class cursor.
HCURSOR winSetClassCursor(HWND window, HCURSOR cursor);

// The hourglass, nesting: each push keeps the cursor that was current and
// each pop puts the last kept one back. A pop with nothing pushed does
// nothing at all.
void winPushWaitCursor();
void winPopWaitCursor();
int32_t winWaitCursorDepth();
// Frees the stack of kept cursors (without setting any).
void winResetWaitCursor();

// Invalidates the whole window with erasing; winRedrawNow also updates it.
void winInvalidate(HWND window);
void winRedrawNow(HWND window);
// The child's window rectangle in the parent's client coordinates.
BOOL winGetChildRect(HWND parent, HWND child, RECT *out);
// AdjustWindowRectEx with the window's own styles and menu.
BOOL winAdjustFrameRect(HWND window, RECT *r);
// Outer size for a client rectangle, with room for the scroll bars asked
// for: width in the low 16 bits, height in the high 16 bits.
uint32_t winFrameSizeForClient(int32_t left, int32_t top, int32_t right, int32_t bottom,
                               DWORD style, DWORD exStyle, BOOL hasMenu, BOOL verticalBar,
                               BOOL horizontalBar);
// A one-pixel line in the button-shadow colour at y and one in the
// button-highlight colour at y + 1, from x1 to x2; the pen is put back.
void winEtchedLine(HDC dc, int32_t x1, int32_t x2, int32_t y);
HDC winGetScreenDC();
void winReleaseScreenDC(HDC dc);
// The cursor position relative to the window's top-left corner; TRUE when
// both coordinates are at least 1.
BOOL winCursorInWindow(HWND window, POINT *out);

// Packed mouse positions: x in the signed low 16 bits, y in the signed high
// 16 bits.
void winLParamToPoint(LPARAM packed, POINT *out);
LPARAM winPointToLParam(POINT p);

// The colour of a brush; a window-class background given as a system colour
// index plus 1 (1..33) gives that system colour (white for an index the
// system does not know); anything else that is not a brush gives white.
COLORREF winBrushColor(HBRUSH brush);
// Brings the window to the top (restored when minimised) and makes its last
// active popup (or itself) the foreground window; returns that popup.
HWND winBringToFront(HWND window);
// A live window whose class (first 31 characters) and, when a title is
// given, text (first 127 characters) equal the given ones ignoring case.
BOOL winIsWindowOfClass(HWND window, const char *className, const char *title);
// First descendant for which winIsWindowOfClass holds, or 0.
HWND winFindChildOfClass(HWND parent, const char *className, const char *title);
// First direct child of class "edit", or 0.
HWND winFindEditChild(HWND window);

// Registers a window class of the instance with an arrow cursor and, when an
// icon resource is named, that icon in both sizes, unless it is registered
// already; FALSE when registration fails.
BOOL winRegisterClassOnce(HINSTANCE instance, const char *className, WNDPROC proc, UINT style,
                          int wndExtra, HBRUSH background, const char *icon = nullptr);

// A window's record: the memory handle kept in a window long. The getter
// answers 0 for no window, no handle or a block smaller than minSize; the
// maker allocates a zero-filled block, stores it in the long and returns it
// (0 when memory fails).
MemHandle winGetRecord(HWND window, int index, uint32_t minSize);
MemHandle winNewRecord(HWND window, int index, uint32_t size);
