// The workspace window ("vaqm_ws"): the page view inside a document window.
// Its procedure is the base procedure for everything in the page: keys,
// characters, focus, the mouse, dropped files, painting and commands.
// Interactive tools replace it (views/ws_tools.h) and fall back to it. Its
// state is the workspace record (views/ws_record.h) in window long 12.
#pragma once
#include "support/qmwin.h"
#include "views/ws_record.h"

extern const char wsClassName[];   // "vaqm_ws"

enum {
    WS_WINDOW_BYTES = 36,
    WS_LONG_RECORD = 12,
    WS_PAGE_MARGIN = 16,            // pixels between the window's edge and the page
    WS_PAGE_WIDTH_TWIPS = 12240,    // 8.5 inches
    WS_PAGE_HEIGHT_TWIPS = 15840,   // 11 inches
    WS_DROP_NAME_MAX = 519,         // longest dropped file name taken
};

// Registers the class: CS_DBLCLKS, 36 extra bytes, arrow cursor, icon
// "XQMDOC_S", the settings' workspace background brush.
BOOL wsRegisterClass(HINSTANCE instance);
LRESULT CALLBACK WorkspaceWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
// A child workspace window of the class in the parent (extended style
// WS_EX_ACCEPTFILES, visible, clipping); "Can not create workspace window"
// and null on failure.
HWND wsCreateChildWindow(HWND parent, const char *className, const RECT *rect, BOOL visible);

// 1 for no workspace, else whether its document window is minimised.
BOOL wsIsDocIconic(HWND ws);

// The document's path (buffer of 260 bytes): nonzero when not empty.
BOOL wsGetDocPath(HWND ws, char *buffer);
BOOL wsDocHasPath(HWND ws);
void wsSetDocPath(HWND ws, const char *path);
// The quick-note style of the document (form style bit 0x0004).
BOOL wsIsQuickNote(HWND ws);
void wsSetQuickNote(HWND ws, BOOL on);
// Whether any page of the document, or its base page, holds an object.
BOOL wsDocumentHasObjects(HWND ws);

// The document command dispatcher: 0 when the command was handled, 1 when it
// is not a document command.
int wsOnCommand(HWND ws, int command, LPARAM lParam);

// Keys and characters: the command a key posts to the workspace (0 for
// none); ctrl and shift are the modifier states, zoomCode the view's.
// Page Up and Page Down answer WS_KEY_SCROLL_PAGE_UP/DOWN for scrolling.
enum { WS_KEY_SCROLL_PAGE_UP = -1, WS_KEY_SCROLL_PAGE_DOWN = -2 };
int wsKeyCommand(UINT key, BOOL ctrl, BOOL shift, int zoomCode, LPARAM *lParam);
// The command a character posts (0 for none).
int wsCharCommand(UINT ch, BOOL shift, uint16_t mode, int16_t currentType);

// Dropped files of the workspace; TRUE when any file was dropped.
BOOL wsOnDropFiles(HWND ws, HDROP drop);

// ---- the rulers -----------------------------------------------------------------------
// Each forwards to the workspace's rulers; nothing, and 0, without them.
int wsInvalidateRulers(HWND ws, int bits);
int wsUpdateRulers(HWND ws, int bits);
int wsClearRulerMarkers(HWND ws, uint16_t which);
int wsGetRulerMarkers(HWND ws, uint16_t which, MemHandle *list, int32_t *count);
int wsTrackRulers(HWND ws, LPARAM packedPoint);
// Both rulers' markers cleared.
void wsResetRulerMarkers(HWND ws);

// ---- view settings of the document (the form defaults without one) --------------------
int wsGetGridStyle(HWND ws);          // 0 none, 1 (bit 1), 2 (bit 8)
void wsSetGridStyle(HWND ws, int style);
BOOL wsIsSnapToRulers(HWND ws);
void wsSetSnapToRulers(HWND ws, BOOL on);
BOOL wsAreRulersShown(HWND ws);
void wsShowRulersFlag(HWND ws, BOOL on);
int wsGetRulerDivisions(HWND ws);     // 16 when unset
void wsSetRulerDivisions(HWND ws, int divisions);
// Snap and divisions together; the rulers are told.
void wsSetRulerSnap(HWND ws, BOOL snap, int divisions);
int wsGetUnit(HWND ws);               // a stored 0 reads 3 (inches)
void wsSetUnit(HWND ws, int unit);
uint32_t wsGetViewOptionWord(HWND ws);
int wsGetPagePlacementMode(HWND ws);

// ---- scroll bars -----------------------------------------------------------------------
// Through the document window's navigation bars when it has them, else the
// workspace's own scroll bars.
void wsSetHScrollRange(HWND ws, int32_t min, int32_t max, BOOL redraw);
void wsSetVScrollRange(HWND ws, int32_t min, int32_t max, BOOL redraw);
void wsSetHScrollPos(HWND ws, int32_t pos, BOOL redraw);
void wsSetVScrollPos(HWND ws, int32_t pos, BOOL redraw);
// The document window's client width less 96 pixels, at least 1.
int32_t wsHScrollPage(HWND ws);
// The smaller of the current page's height in pixels and the client height
// less 96 (half the client height up to 96 pixels), at least 1.
int32_t wsVScrollPage(HWND ws);
// With the flag, the navigation bar's page size (WM_COMMAND 48 / 58 to the
// document window); 0 otherwise.
int32_t wsGetHScrollPage(HWND ws, BOOL flag);
int32_t wsGetVScrollPage(HWND ws, BOOL flag);

// ---- the view's world, pages and placement (views/ws_view.cpp) ----------------------------
// The scrollable world: -8 to 22 inches both ways around the page origin,
// in inches or in logical units.
void wsGetScrollWorld(RECT *inches);
void wsGetScrollWorldLog(HWND ws, RECT *logical);
// A page's rectangle (twips): the continuous view's table entry, else the
// page object's rectangle (a page read only for it is let go again). FALSE
// when there is no such page.
BOOL wsGetPageRect(HWND ws, int index, RECT *out);
// Continuous view: the sum over the pages before it of height + 288 twips,
// in device units; 0 otherwise. The bottom adds the page's own height.
int32_t wsGetPageOffset(HWND ws, int index);
int32_t wsGetPageBottom(HWND ws, int index);
void wsStoreCurrentPageOffset(HWND ws);
// Continuous view: the page whose extent holds the device y (0 above the
// first, the last past every page); the current page otherwise.
int wsPageIndexAtPos(HWND ws, int32_t y);
// The continuous view's table of page rectangles, built anew; FALSE (the old
// table kept) without a document or when memory ran out.
BOOL wsBuildPageRects(HWND ws);
// The page's placement in the view (logical units) by zoom code and page
// placement mode.
void wsUpdatePagePlacement(HWND ws);
// Scrolling the view's origin (device units).
void wsScrollTo(HWND ws, int32_t x, int32_t y);
void wsScrollToPageXY(HWND ws, int32_t x, int32_t y);
void wsResetScrollToPlacement(HWND ws);
void wsScrollToPlacement(HWND ws);
void wsScrollToPageEnd(HWND ws);
void wsScrollToMarginRect(HWND ws);
void wsScrollToPageTop(HWND ws);
// The step of the move and nudge commands: one device pixel in logical
// units, or the ruler grid step when snapping to the rulers.
void wsGetMoveStep(HWND ws, int32_t *dx, int32_t *dy);
