// The current page of a workspace's document: which page is shown, going to
// a page, storing the page before the view lets it go, and releasing the
// document.
#pragma once
#include "support/qmwin.h"

// 0-based index of the page shown, -1 the base page, -2 none (also without
// document).
int pvGetCurrentPageIndex(HWND ws);
// The document's page count (0 without document).
int pvGetPageCount(HWND ws);
// The current page's name into a buffer of `size` bytes (empty when none).
char *pvGetCurrentPageName(HWND ws, char *buffer, int size);
// Whether the current page holds objects.
BOOL wsPageHasObjects(HWND ws);
// Stores the colour palette window's colours into the current page.
void pvStorePagePalette(HWND ws);
// The page layout sheet on the current page (or the default page without a
// workspace).
void pvCmdPageLayout(HWND frame, HWND ws);

// Shows page `index` (-1 the base page, -2 none): "Can not open page %d"
// and 0 when it does not exist; announces WM_COMMAND 42 (index | count <<
// 16) to the document window. 0 without a document.
int pvGoToPage(HWND ws, int index);
// Makes a page the shown one: its unit, ruler divisions and the page
// placement. The page, or none.
MemHandle pvShowPage(HWND ws, MemHandle page);
// Before the page is let go: 1027 to the workspace, the form stamped. The
// document, or none without one.
MemHandle pvCommitPage(HWND ws);
// Stores the page, resets the rulers' markers, lets a page kept in a file
// go from memory and shows no page (-2).
void pvLeavePage(HWND ws);
// Leaves the page, frees the form, forgets it and destroys the thumbnail
// grid.
void pvReleaseDocument(HWND ws);
