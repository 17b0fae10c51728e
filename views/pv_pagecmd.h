// The page commands of a document: inserting, appending, deleting,
// selecting and reverting pages, stepping to the previous, next, first and
// last page, leaving the base page, and the refresh that follows every page
// change (view, rulers, title, standard bar buttons).
#pragma once
#include "support/qmwin.h"

// 619 and the commands that name a page: how -2 (0xFFFE) does nothing more
// than drop the pending undo; -1 (0xFFFF) brings the page's bottom into
// view. 1 when the page was switched.
int pvCmdShowPage(HWND ws, int index, int how);
int pvCmdGoToPage(HWND ws, int index);
int pvCmdFirstPage(HWND ws);                   // 684
int pvCmdLastPage(HWND ws);                    // 685
int pvCmdHomePage(HWND ws);                    // 1220
int pvCmdEndPage(HWND ws);                     // 1221
// 617: the previous page, from the first to the last after asking.
int pvCmdPrevPage(HWND ws);
// 618: the next page; on the last page a new page appended.
int pvCmdNextOrNewPage(HWND ws);
// 612 (after 1), 613 (after 0): a new page laid out in the page sheet.
int pvCmdInsertPageAt(HWND ws, int after);
// 615: a new page appended after the last; copy 1 takes the current page's
// settings instead of asking.
int pvCmdInsertPage(HWND ws, int copy);
// 616, 626, 627: the "Select Page" list of page names.
int pvCmdSelectPage(HWND ws, int command);
// 1251, "Go To Page...": asks the page number ("Go To Page"), then shows
// that page. 1 when the page was switched.
int pvCmdAskPage(HWND ws);
// 614, 780.
int pvCmdDeletePages(HWND ws);
int pvCmdDeleteCurrentPage(HWND ws);
// 199: asks, then reads the current page back from its stored copy.
int pvCmdRevertPage(HWND ws);
// Shows the page the base page was entered from; 0 when not on the base
// page or none is remembered.
int pvLeaveBasePage(HWND ws);
// After a page switch: the view placed on the page's default position (its
// bottom when showBottom is set and it lies below the view), a fit zoom
// re-applied, view, rulers and title redrawn, the select mode resumed and
// the standard bar's page buttons set.
void pvRefreshAfterPageChange(HWND ws, BOOL showBottom);
// Previous (617), next (618) and select page (616) on the standard bar, then
// the clipboard and undo buttons.
void pvUpdatePageButtons(HWND ws);
// After pages were added or deleted: modified, scroll ranges, refresh.
void pvAfterPagesChanged(HWND ws);
// Cut, copy, paste and undo as the tool mode allows them.
void pvGetSelectionCommandState(HWND ws, BOOL *cut, BOOL *copy, BOOL *paste, BOOL *undo);
