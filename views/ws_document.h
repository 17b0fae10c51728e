// The document a workspace window shows and its pages: which form record
// it holds, which page is current, and the objects of the current page.
// Until the workspace record holds the document it hangs off the window as
// a window property; the current page is the form's current page index.
#pragma once
#include "support/qmwin.h"

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
