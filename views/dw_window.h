// The document window ("xqmdoc"): the MDI child that holds one document in
// its workspace window. This is the window's first form: it makes its
// workspace over the whole client area, forwards focus and commands to it,
// asks before a modified document closes, and keeps the frame's idea of the
// active workspace; the rulers and page-navigation bars come with the view.
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
// The workspace window (long 2); 0 for a null window.
HWND dwGetWorkspace(HWND doc);
// Asks to save a modified document, then destroys the window; 1 when it was
// closed, 0 when the user cancelled or the window is not a document window.
BOOL dwClose(HWND doc);
