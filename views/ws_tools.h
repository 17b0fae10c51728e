// Tool modes of a workspace window: an interactive tool is a window
// procedure swapped in place of the workspace's own procedure. Entering a
// mode keeps the procedure and mode it replaces, sets the mode's cursor and
// posts 1026 (entered) and WM_COMMAND 910 (mode changed); leaving puts back
// the workspace's own procedure (or the replaced one) and posts 910 again.
//
// Window words: long 0 the workspace's own procedure, long 4 the replaced
// procedure, word 8 the current mode, word 10 the replaced mode; bytes 16
// to 35 belong to the installed tool. Procedures are kept in the 4-byte
// longs as tokens of a process-wide table (a 64-bit procedure does not fit).
#pragma once
#include "support/qmwin.h"

enum {
    WS_LONG_OWN_PROC = 0,
    WS_LONG_PREV_PROC = 4,
    WS_WORD_MODE = 8,
    WS_WORD_PREV_MODE = 10,
    WS_TOOL_BYTES = 16,       // first of the tool's own bytes (16 to 35)
};

// Private workspace messages.
enum : UINT {
    WS_MSG_LEAVE_MODE = 1025,   // sent; lParam the reason (1 forced, 0 another takes over)
    WS_MSG_ENTER_MODE = 1026,   // posted; wParam and lParam the installer's arguments
    WS_MSG_REFRESH = 1027,      // sent before the current page is stored
};
enum : WORD {
    WS_CMD_MODE_CHANGED = 910,
    WS_CMD_BACK_TO_SELECT = 400,
};

// ToolMode values.
enum : uint16_t {
    TM_NONE = 0, TM_SELECT = 2, TM_SIZEALL = 3, TM_MULTISELECT = 4, TM_CREATE = 5,
    TM_PASTE_AT = 6, TM_VIEW = 7, TM_ZOOM_RECT = 9, TM_TEXT_A = 19, TM_TEXT = 20, TM_TABLE = 21,
    TM_CUBE_DEPTH = 23, TM_NOTE = 25, TM_ARC = 30, TM_ROUND_RECT = 31, TM_ROTATE = 32,
    TM_GRADIENT = 33, TM_COMPOSITE = 34, TM_DIMENSION = 35, TM_NODE = 40, TM_NODE_41 = 41,
    TM_NODE_42 = 42, TM_NODE_43 = 43, TM_BRUSH = 47, TM_PRINTING = 52,
};

// A token for a window procedure value (0 for none) and back.
uint32_t wsProcToken(LONG_PTR proc);
LONG_PTR wsProcFromToken(uint32_t token);

// Installs the tool's procedure under the mode; 1 (nothing changed) when
// the mode is current already, else the mode.
int wsEnterToolMode(HWND ws, uint16_t mode, WNDPROC proc, uint16_t argument, LPARAM second);
// Back to the replaced procedure and mode (restorePrevious) or to the
// workspace's own procedure and mode 0; the mode now current.
int wsLeaveToolMode(HWND ws, BOOL restorePrevious);
// Push (push nonzero) a temporary tool over the mode, or pop it; the mode
// now current, 0 without a record.
int wsPushToolMode(HWND ws, uint16_t mode, WNDPROC proc, BOOL push);
// Sends 1025 with the reason; what the mode procedure answers.
LRESULT wsSendLeaveMode(HWND ws, uint16_t reason);
// The workspace's own procedure with the message.
LRESULT wsDefProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);

uint16_t wsGetToolMode(HWND ws);
void wsSetToolModeWord(HWND ws, uint16_t mode);
uint16_t wsGetPrevToolMode(HWND ws);
// The cursor of a mode (ToolCursor); the create mode looks at the current
// object type, text editing at the edited text's direction.
HCURSOR wsToolCursor(HWND ws, uint16_t mode);
// Sets the current mode's cursor as the class cursor and the cursor.
void wsSetToolCursor(HWND ws);
