// The current page of a workspace's document: which page is shown, going to
// a page, storing the page before the view lets it go, and releasing the
// document.
#pragma once
#include "support/qmwin.h"
#include "model/ws_document.h"   // pvGetCurrentPageIndex, pvGetPageCount
// The current page's name into a buffer of `size` bytes (empty when none).
char *pvGetCurrentPageName(HWND ws, char *buffer, int size);
// Whether the current page holds objects.
BOOL wsPageHasObjects(HWND ws);
// Stores the colour palette window's colours into the current page.
void pvBuildPagePalette(HWND ws);
// Commands 598 and 601: the page layout sheet on the current page (or, with
// no document, on the settings' default page that new documents start
// from). On OK the page's shadow style, unit and placement are put in
// force; an unchanged size posts 911; a new size rebuilds the page table,
// recomputes the ranges and re-fits a fit zoom (911 otherwise); the
// document is marked modified. When the page table cannot be rebuilt the
// page keeps its old size. Cancel changes nothing.
void pvCmdPageLayout(HWND frame, HWND ws);
// The page whose name matches (case ignored) is shown; 0 when none does.
int pvCmdGoToPageByName(HWND ws, const char *name);

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

// ---- pages of the document -------------------------------------------------------------
// The document's base page (none without document or base page).
MemHandle pvGetBasePage(HWND ws);
// The page switch: ends the tool (1025, reason 1), clears the selection,
// stores the page, swaps a real page out to its temporary file and lets it
// go, shows page `index` and invalidates the workspace. 1 when switched; 0
// for the current index or an index without a page. A page that cannot be
// swapped out is reported and kept in memory.
int pvSwitchToPage(HWND ws, int index);
// Next page, from the last to the first; previous page, from the first to
// the last.
int pvNextPageWrap(HWND ws);
int pvPrevPageWrap(HWND ws);
// "Select Page": the list of page names; switches to the page chosen.
int pvCmdSelectPageByName(HWND ws);
// 628: the page-name dialog on the current page; on a change the document
// is marked modified and the title updated.
int pvCmdPageName(HWND ws);
// A new page (a copy of the current page's settings with the flag and a
// current page, else laid out in the page dialog) appended / inserted at
// the position and shown. 1 when shown; 0 when the current page could not
// be swapped out (nothing more happens) or the page was not made or shown
// (back to select mode).
int pvAppendPageAndShow(HWND ws, BOOL fromCurrent);
int pvInsertPageAndShow(HWND ws, int position, BOOL fromCurrent);
// Command 199: the current real page read back from its stored copy, or
// emptied when it has none. 1 when done.
int pvReloadCurrentPage(HWND ws);
// Stores a page: its index word, object count and attributes brought up to
// date and its directory entry written back. The page, or none.
MemHandle pvStorePage(HWND ws, MemHandle page, int index);
// Message 1027 to the workspace: the tool shows its final state.
void pvSendRefresh(HWND ws);
// Attaches a form (or none) and goes to page `index`; whether a form was
// given.
int pvSetDocument(HWND ws, MemHandle form, int index);
// The form's own size + 40 + its directory entries and their pages.
uint32_t pvEstimateSize(MemHandle form);
// The page's palette record given to the colour menu.
void pvInstallPagePalette(HWND ws, MemHandle page);

// ---- the document's path ----------------------------------------------------------------
MemHandle wsDupDocPath(HWND ws);
// File name with its extension / drive and folder, into 260 bytes; nonzero
// when not empty.
BOOL wsGetDocFileName(HWND ws, char *buffer);
BOOL wsGetDocFolder(HWND ws, char *buffer);

// The current page's object list: commands/ws_objects.h.
// A property of the current page by id.
int wsGetPageProp(HWND ws, int id, void *value);
int wsSetPageProp(HWND ws, int id, const void *value);
