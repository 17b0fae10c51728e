// The selection core of a workspace: the one current object and everything
// that follows it (handles, current type and layer, tool buttons, menus,
// message bar, field property pane), the select mode's installation, the
// editable test, and the hook that forgets an object about to be freed.
#pragma once
#include "support/qmwin.h"

// Undo kinds the drawing tools record.
const int16_t kEpUndoInserted = 7;   // an object put into the page
const int16_t kEpUndoCreated = 8;    // an object drawn in create mode

// Select-mode window words of the workspace (16-bit, among the tool bytes).
enum {
    EP_SEL_WORD_FOCUS = 16,   // 1 after WM_SETFOCUS until the next mouse move, command or press
    EP_SEL_WORD_ZONE = 18,    // hot zone under the mouse, -1 none
};

// Makes the object (or nothing) current: epSetSelection with keep-undo 0.
// Answers 1.
int epSelectObject(HWND ws, MemHandle object);
// The selection core. With keepUndo 0 a new object other than the current
// one drops the pending undo step.
void epSetSelection(HWND ws, MemHandle object, BOOL keepUndo);
// Erases the current object's handles, selects the object and draws its
// handles (nothing when both are null); the Keep form keeps the undo step.
void epSwitchSelection(HWND ws, MemHandle object);
void epSwitchSelectionKeep(HWND ws, MemHandle object);
// Erases the old object's handles, selects the new one, draws its handles
// and scrolls it into view.
void epSelectAndReveal(HWND ws, MemHandle object, MemHandle old);
// No current object and current type 0, nothing else.
void epClearCurrent(HWND ws);
// Select mode (2) with the object selected, and the object refreshed.
void epEnterSelectMode(HWND ws, MemHandle object);
LRESULT CALLBACK SelectToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);
// Invalidates an object's area (the current one with its rotate handle).
void epRefreshObject(HWND ws, MemHandle object);
// 1 when the object's layer is editable and shown and the object is not
// locked; 0 for none.
int epIsEditable(HWND ws, MemHandle object);
// "Can not <verb> the object because ..." in an information box.
void epReportNotEditable(HWND ws, const char *verb);
// The refusal of a locked object or one on a layer that cannot be edited:
// true (with the message above) when the object is given and not editable;
// false for none.
bool epRefuseNotEditable(HWND ws, MemHandle object, const char *verb);
// Whether the Edit button (401) can serve the kind.
BOOL epHasEditCommand(int16_t type);
// The kind-dependent pop-up names of the frame's menu.
void popSetItemKindText(HWND frame, int16_t type);
void popSetTableItemText(HWND frame, int16_t type);

// Forgets an object that is about to be freed: when it (or, with wholeTree,
// anything in its tree) is the workspace's current object, tracked object
// or the object of the pending undo step, that reference is cleared (the
// undo step dropped) so that no freed handle is ever used again. Every
// routine that frees an object of a workspace's page calls this first.
void epForgetObject(HWND ws, MemHandle object, BOOL wholeTree = TRUE);
