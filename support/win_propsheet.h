// The small set-up steps every property sheet of the program shares: page
// records, the sheet's font, centring on the first activation and opening on
// a chosen page.
#pragma once
#include "support/qmwin.h"
#include <commctrl.h>
#include <prsht.h>

// Fills a page record (its size is the platform's own structure size; the
// icon is left as the caller set it).
void winFillPropPage(PROPSHEETPAGEA *record, DWORD flags, HINSTANCE instance,
                     const char *dialogTemplate, const char *title, DLGPROC procedure,
                     LPARAM parameter, LPFNPSPCALLBACKA callback);
// The first time (the flag set): centres the sheet (the page's parent) in
// the work area and, with a font, sets it on the sheet's tab control. The
// flag is cleared in every case, so the rule runs once per sheet.
void winPropSheetFirstInit(HWND page, BOOL *first, HFONT font);
// Shows the page of the index in the page's sheet; the page's own change of
// page (the notification being answered) is refused.
void winPropSheetGoTo(HWND page, int index);
// The sheets' font: the interface face at a character height of 13 pixels,
// or of size pixels. The caller deletes it.
HFONT winSheetFont();
HFONT winSheetFontOfSize(int size);
// Sets the font on every control of a window (a sheet's page).
void winSetControlsFont(HWND window, HFONT font);
