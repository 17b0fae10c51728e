// The workspace window ("vaqm_ws"): the page view inside a document window.
// This is the view's first form: it keeps the document's path, modified flag
// and page count in a small record, paints an empty white page on the
// settings' background, and takes dropped files; the full workspace record,
// scrolling, zoom and the tool modes come with the view itself.
#pragma once
#include "support/qmwin.h"

extern const char wsClassName[];   // "vaqm_ws"

enum {
    WS_WINDOW_BYTES = 36,
    WS_LONG_RECORD = 12,
    WS_PAGE_MARGIN = 16,            // pixels between the window's edge and the page
    WS_PAGE_WIDTH_TWIPS = 12240,    // 8.5 inches
    WS_PAGE_HEIGHT_TWIPS = 15840,   // 11 inches
};

// Registers the class: CS_DBLCLKS, 36 extra bytes, icon "XQMDOC_S", the
// settings' workspace background brush.
BOOL wsRegisterClass(HINSTANCE instance);
LRESULT CALLBACK WorkspaceWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);

// The document window the workspace belongs to (its "xqmdoc" parent), or 0.
HWND wsGetDocWindow(HWND ws);
// 1 for no workspace, else whether its document window is minimised.
BOOL wsIsDocIconic(HWND ws);

// The document's path (buffer of 260 bytes): nonzero when not empty.
BOOL wsGetDocPath(HWND ws, char *buffer);
BOOL wsDocHasPath(HWND ws);
void wsSetDocPath(HWND ws, const char *path);

BOOL wsIsModified(HWND ws);
// Sets the modified flag; the first change updates the document window's
// title. Clearing updates it when the flag was set.
void wsMarkModified(HWND ws);
void wsClearModified(HWND ws);
// The quick-note style of the document (saved without a question).
BOOL wsIsQuickNote(HWND ws);
void wsSetQuickNote(HWND ws, BOOL on);

// The document command dispatcher: 0 when the command was handled, 1 when it
// is not a document command.
int wsOnCommand(HWND ws, int command, LPARAM lParam);

// The wheel services of the view: zoom by a wheel notch (Ctrl held) and
// scrolling by a distance in twips; nonzero when the view changed.
int wsZoomWheelStep(HWND ws, int wheelDelta);
int wsScrollByLogY(HWND ws, int32_t twips);
// The rulers of the view, chosen by bits (1 horizontal, 2 vertical);
// nothing without rulers.
void wsInvalidateRulers(HWND ws, int bits);
void wsUpdateRulers(HWND ws, int bits);

// The page rectangle in the client area: 8.5 by 11 inches at the screen's
// resolution, WS_PAGE_MARGIN pixels from the top-left corner.
void wsPageRectIn(HDC dc, RECT *page);
// Paints the view into a DC: the background in the settings' colour and an
// empty white page with a black outline and a grey shadow.
void wsPaintView(HDC dc, const RECT &client, HBRUSH background);
