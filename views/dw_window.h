// The document window ("xqmdoc"): the MDI child that holds one document. It
// owns one workspace window, the rulers with their corner button and the
// page-navigation bars, lays them out, forwards focus and commands to the
// workspace, stores the current page when deactivated or closed, and tells
// the frame when it is activated, deactivated or closed.
//
// Window bytes (DocWindowWords): long 2 the workspace, long 18 the bottom
// navigation bar, long 22 the right navigation bar; longs 6, 10, 14 and 26
// stay zero.
#pragma once
#include "support/qmwin.h"

extern const char dwClassName[];   // "xqmdoc"

enum {
    DW_WINDOW_BYTES = 30,
    DW_LONG_WORKSPACE = 2,
    DW_LONG_BOTTOM_BAR = 18,
    DW_LONG_RIGHT_BAR = 22,
    DW_CASCADE_STEP = 16,
    DW_MIN_DEFAULT_SIZE = 160,
    DW_RULER_SIZE = 16,
};

// Layout areas of dwLayoutRect.
enum {
    DW_AREA_RULERS = 1,
    DW_AREA_WORKSPACE = 2,
    DW_AREA_THUMBNAILS = 4,
    DW_AREA_THUMBNAILS_2 = 5,
    DW_AREA_CLIENT = 6,
    DW_AREA_BOTTOM_BAR = 7,
    DW_AREA_RIGHT_BAR = 8,
};

BOOL dwRegisterClass(HINSTANCE instance);
LRESULT CALLBACK DocMDIWndProc(HWND doc, UINT msg, WPARAM wParam, LPARAM lParam);

// Creates a document window in the MDI client with a workspace child of the
// given class; the title "Untitled" when none is given; maximised when no
// rectangle is given and no document window is active. Null on failure.
HWND dwCreate(HWND frame, HWND mdiClient, const char *workspaceClass, const char *title,
              const RECT *rect);
// The cascade rectangle for a new window: the client rectangle moved 16
// pixels right and down per document window already there and shrunk by 16
// on the right and bottom; FALSE when narrower or lower than 160.
BOOL dwDefaultRect(HWND mdiClient, RECT *out);
// The MDI client's children without an owner.
int dwCountDocWindows(HWND mdiClient);
// The rectangle of a layout area in the window's client coordinates.
RECT dwLayoutRect(HWND doc, int area);

// The workspace window (long 2); 0 for a null window.
HWND dwGetWorkspace(HWND doc);
// The navigation bars (longs 18 and 22) and the scroll bars inside them;
// none without bar.
HWND dwGetBottomBar(HWND doc);
HWND dwGetRightBar(HWND doc);
HWND dwGetBottomScrollBar(HWND doc);
HWND dwGetRightScrollBar(HWND doc);

// Asks to save a modified document, then closes the workspace and the
// window and posts the frame 933; 1 when it was closed, 0 when the user
// cancelled or the window is not a document window.
BOOL dwClose(HWND doc);

// The open flag of a new document whose first page the user sets up in the
// page dialog ("Create the First Page of the New File"); without it the
// first page takes the default page settings. Cancelling the dialog makes
// no document.
const uint32_t DW_OPEN_ASK_FIRST_PAGE = 0x80000000u;

// Opens a document into a window: from a path (the document read from it),
// or a new one without a path. reuse: in 0 first new document, 1 a new
// untouched document may take the file, out 1 or 2. Null when nothing was
// read or no window could be made (the form read is then freed).
HWND dwOpenDocument(HWND frame, const char *workspaceClass, const char *path, int linkedPage,
                    uint32_t openFlags, int *reuse, BOOL fitToPage, MemHandle templateArg);
HWND dwOpenDocumentFile(HWND frame, const char *workspaceClass, const char *path,
                        uint32_t openFlags, int *reuse, BOOL fitToPage, MemHandle templateArg);
// Shows a form record in the window: navigation bars, the old document
// dropped, page 0, rulers placed, title, select mode.
void dwAttachDocument(HWND doc, MemHandle form);
// A window rectangle sized to the page's margin rectangle at the percent
// (100 for 0); 1 when computed.
int dwFitRectToPage(HWND parent, MemHandle form, MemHandle page, RECT *out, int *needsH,
                    int *needsV, int percent);
// Moves the workspace and shows or hides the rulers as the document asks.
void dwPlaceRulers(HWND doc);
// The window remembered as the untouched new document (null when none).
HWND dwGetUntouchedDocument();

// Message handlers.
void dwOnCreate(HWND doc, const char *workspaceClass);
void dwOnSize(HWND doc);
// WM_SETFOCUS: the focus goes on to the workspace.
void dwOnSetFocus(HWND doc);
// The missing page navigation bars made (bottom, long 18; right, long 22)
// with the workspace's stored ranges, in the room the layout keeps for them.
void dwCreateNavBars(HWND doc);
// The workspace placed at a rectangle of the document window (an empty one
// is ignored); at a fit zoom (-100, -101) with a page shown the zoom is
// computed again for the page at the new size and the view re-centred,
// else only the scroll ranges are brought up to date.
void wsFitToWindow(HWND ws, const RECT *area);
void dwOnActivate(HWND doc, HWND deactivated, HWND activated);
// 0 when handled.
LRESULT dwOnCommand(HWND doc, int command, LPARAM lParam);

// Drops what the module keeps for the process (tests).
void dwResetModule();
