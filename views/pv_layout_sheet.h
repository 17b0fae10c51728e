// The page layout sheet: the property sheet in which the user chooses the
// layout of a new page ("Create New Page") or of an existing one ("Change
// Page Layout"). Its "Standard Size" page sets the paper size and the
// orientation.
#pragma once
#include "support/qmwin.h"

// Runs the sheet on the page (caption null: by `create`). On OK the page
// takes the chosen paper code and orientation with the paper's size in
// twips, centred at half; the unit flag tells whether the display unit
// changed. Nonzero for OK; 0 (page untouched) for Cancel.
INT_PTR pvPageLayoutSheet(HWND owner, const char *caption, MemHandle *page, BOOL create,
                          BOOL *unitChanged);

// Tests answer the sheet in place of the user: a hook set here runs instead
// of the sheet, with the same arguments and result. Null restores the sheet.
typedef INT_PTR (*PvLayoutSheetHook)(HWND owner, const char *caption, MemHandle *page,
                                     BOOL create, BOOL *unitChanged);
void pvSetLayoutSheetHook(PvLayoutSheetHook hook);
