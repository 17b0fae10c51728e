// The current page of a workspace's document.
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
