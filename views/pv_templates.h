// Page templates: a collection of template documents kept under short
// names in "~iwtmpl.fav" (a record library of file paths), the Template
// page of the page layout sheet and the stand-alone template chooser.
#pragma once
#include "support/qmwin.h"

// Opens the collection at the path (made and seeded from "~qmtmpl.dat" of
// the home folder when it does not exist yet: every item "name::path" of its
// section "defaulttmpl" whose file exists; without the control file the user
// is told once and the collection stays empty). Nonzero when open.
int tmplOpenCollection(HWND frame, const char *path);
// Frees the collection and what the chooser kept.
void tmplCloseCollection();
// The collection's short names in order, each followed by LF (empty when
// none or not open).
int tmplListNames(char *buffer, int size);
// The path stored under a short name; FALSE when there is none.
BOOL tmplGetPath(const char *name, char *path, int size);
// Stores a path under a short name; FALSE when it could not be stored.
BOOL tmplAddPath(HWND owner, const char *name, const char *path);

// The Template page ("PAGE_TMPL") of the page layout sheet. The sheet
// calls tmplBeginSheet before it runs and tmplEndSheet afterwards, which
// hands over the template page chosen on OK (0 when none).
INT_PTR CALLBACK tmplPageProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);
void tmplBeginSheet();
MemHandle tmplEndSheet();
// The Template page's Apply: takes the picked page of the chosen template
// document. TRUE (the sheet closes) in every case.
BOOL tmplApplyPage(HWND dlg);

// The chooser "PAGE_TMPL_SEL": the chosen template page (the caller's) or
// 0; *code 0 cancelled, 1 blank page, 2 template chosen.
MemHandle tmplSelectDialog(HWND ws, int *code);
INT_PTR CALLBACK tmplSelectDlgProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// The page grid's notification: a page of the shown template document was
// picked (lParam its index).
enum { TMPL_PAGE_PICKED = 1000 };
