// The page layout sheet: the property sheet in which the user chooses the
// layout of a new page ("Create New Page") or of an existing one ("Change
// Page Layout"): Standard Size, Presentation, Business Card, Label and
// Custom Size pages, and the Template page when a page is made.
#pragma once
#include "support/qmwin.h"

// Runs the sheet on the page (caption null: by `create`). The sheet works
// on a copy; on OK the page takes the kind, size, orientation, unit and
// margins of the sheet page shown when OK was pressed (a chosen template
// page replaces the page instead), and the unit flag tells whether the
// display unit changed. Nonzero for OK; 0 (page untouched) for Cancel.
INT_PTR pvPageLayoutSheet(HWND owner, const char *caption, MemHandle *page, BOOL create,
                          BOOL *unitChanged);

// Tests answer the sheet in place of the user: a hook set here runs instead
// of the sheet, with the same arguments and result. Null restores the sheet.
typedef INT_PTR (*PvLayoutSheetHook)(HWND owner, const char *caption, MemHandle *page,
                                     BOOL create, BOOL *unitChanged);
void pvSetLayoutSheetHook(PvLayoutSheetHook hook);

// The display-unit combo box: "Inch" (3), "Feet" (4), "cm" (6) with the
// unit selected (inches for any other code); the selected code, 0 for none.
void pgSetUnitCombo(HWND dlg, int control, int unit);
int pgGetUnitCombo(HWND dlg, int control);
