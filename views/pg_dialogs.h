// The page dialogs: choosing a page by name and deleting pages.
#pragma once
#include "support/qmwin.h"

// "SELPAGEBYNAME": the page-name list (items "%d. name" separated by
// character 27) with page *index selected; a caption of null or "" keeps
// "Select Page". Nonzero on OK, *index then the chosen page (0-based).
int pgSelectByNameDialog(HWND owner, const char *caption, MemHandle names, int count, int *index);
// Deletes the current page after asking; refuses with fewer than two pages.
// The page is written out before anything is deleted: when that fails the
// user is told and nothing is deleted. Afterwards the form's page count and
// current index match the directory and the new current page is shown.
// Nonzero when deleted.
int pgDeleteCurrentPage(HWND ws);
// "Select Pages To Delete" (views/pg_dialogs_standins.cpp).
int pgDeletePagesDlg(HWND ws);
