// The document a workspace window shows and its pages: which form record
// it holds, which page is current, and the objects of the current page.
// A workspace's record (views/ws_record) holds the document; a window
// without one (a drawing host of the tests or of a hidden view) keeps it as
// a window property. The current page is the form's current page index.
#pragma once
#include "support/qmwin.h"

// The slots of a workspace record that hold the model's values, installed
// by the views at start-up (wsWorkspaceRecordSlots). Each answers FALSE for
// a window without a workspace record, and the value then hangs off the
// window as a property; so does every value while no slots are installed.
struct WsRecordSlots {
    BOOL (*getDocument)(HWND workspace, MemHandle *form);
    // Also keeps the copy of the form's document options.
    BOOL (*setDocument)(HWND workspace, MemHandle form);
    // The hidden types (model/ws_hidden_types.h); the record owns its list
    // and frees the one it replaces.
    BOOL (*getHiddenTypes)(HWND workspace, MemHandle *types, int32_t *count);
    BOOL (*setHiddenTypes)(HWND workspace, MemHandle types, int32_t count);
};
// Null uninstalls them.
void wsSetRecordSlots(const WsRecordSlots *slots);
const WsRecordSlots *wsGetRecordSlots();   // null when none are installed

// Attaches a (possibly moved) form to the workspace; 0 detaches it.
void wsSetDocument(HWND workspace, MemHandle form);
// The workspace's form; 0 when it has none.
MemHandle wsGetDocument(HWND workspace);
// The document's file path into a buffer of `size` bytes; nonzero when not
// empty.
int wsGetDocPath(HWND workspace, char *buffer, uint32_t size);
// Number of pages of the document (0 without one).
int pvGetPageCount(HWND workspace);
// The 0-based index of the current page, -1 for the base page, -2 without
// a document.
int pvGetCurrentPageIndex(HWND workspace);
// The page of that index in the directory (-1 the base page); null outside
// 0..count-1 or when it is not in memory.
MemHandle pvGetPage(HWND workspace, int index);
MemHandle pvGetCurrentPage(HWND workspace);
// The workspace lets go of its current page before the page's directory
// entry is deleted: the page's records are freed and the entry forgets
// them.
void pvReleaseCurrentPage(HWND workspace);
// The first object of the current page's top-level list with that name
// (case ignored, unnamed objects skipped); null when none, and for no
// workspace.
MemHandle wsFindObjectByName(HWND workspace, const char *name);
