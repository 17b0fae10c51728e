// The frame's services over its document windows: the window title of a
// document and the question before a modified document closes.
#pragma once
#include "support/qmwin.h"

enum { DW_TITLE_SIZE = 600, DW_PAGE_NAME_MAX = 256 };

// The title of a document window: the path ("Untitled" without one), then
// on a page " - Page %d of %d " with the page's name (at most 256
// characters) and " *" when modified; on the base page (-1) " - Base page".
// Cut to fit `size` bytes.
char *dwFormatTitle(char *out, int size, const char *path, int pageIndex, int pageCount,
                    const char *pageName, BOOL modified);
// Sets the document window's title from its workspace; nothing without a
// current page.
void dwUpdateTitle(HWND doc);
// Before a document window closes: 1 to go on, 0 to cancel. An unmodified
// document goes on at once; a modified quick note is saved without a
// question when any of its pages has objects and closes unsaved only when
// the whole document has none;
// any other modified document asks "Save changes to the current
// document?" (Yes saves, No goes on, Cancel stops).
int dwQuerySave(HWND doc);
