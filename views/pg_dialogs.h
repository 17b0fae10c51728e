// The page dialogs: page numbers, page order, ruler, background,
// initialisation commands, page name, choosing a page by name, deleting
// pages and the page shadow.
#pragma once
#include "support/qmwin.h"
#include "model/ob_shadow.h"
#include "model/pg_numbers.h"
#include <string>
#include <vector>

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
// 614: "Select Pages To Delete" (all pages may not be chosen: the user may
// choose again), a confirmation, then pgDeletePages. Nonzero when deleted.
int pgDeletePagesDlg(HWND ws);
// Deletes the pages of the indexes (those outside the pages ignored); never
// all of them. When the current page is among them it is written out first
// (a failure is reported and nothing is deleted) and the first kept page at
// or after it, else the last kept page, is shown. Nonzero when deleted.
int pgDeletePages(HWND ws, const std::vector<int> &indexes);

// 624 "PAGENUM": the document's page numbers; nonzero on OK.
int pgCmdPageNumbers(HWND ws);
// Location bottom, centred, "1, 2, 3", start number 1, "Arial" 10 points.
void pgDefaultNumberSettings(PageNumberSettings *settings);
// 629: the pages in the order the user gives them ("Shuffle Pages");
// nonzero when reordered (the document then marked modified).
int pgCmdShuffle(HWND ws);
// The pages put in the order of the old indexes: entry i becomes the old
// page order[i]; pages not listed are deleted. Only a permutation or a
// subset is taken (every index within the pages, none twice); 0 and
// nothing changed otherwise. The current page follows its page, else the
// nearest listed page above it, else below.
int pgReorderPages(HWND ws, const std::vector<int> &order);

// "RULER": divisions (1..100), display rulers, grid kind (0 none, 1
// points, 2 lines); nonzero on OK with the values written back.
int pgRulerDialog(HWND owner, int *divisions, BOOL *rulers, int *grid);
// "PAGEBKGND": the page's colour and background image file; nonzero on OK
// with the page (which may move) updated.
int pgBackgroundDialog(HWND owner, MemHandle *page);
// "PGINIT": the page's initialisation commands (attribute 16); nonzero on
// OK with the page (which may move) updated.
int pgInitDialog(HWND owner, MemHandle *page);
// "PAGENAME": the current page's name; nonzero when it changed, *name then
// the new name (0 when cleared).
int pgNameDialog(HWND ws, MemHandle *name);
// A name counts as changed when the page had none and it is not empty, or
// when it differs from the old one ignoring case.
BOOL pgNameIsChanged(const char *name, const char *old);
// A changed name that another page of the page-name list carries (the
// "%d. " prefix left aside, case ignored).
BOOL pgNameIsTaken(const char *name, const char *old, const std::vector<std::string> &items,
                   int current);
// 595: the shadow dialog on the page's shadow style; that dialog's result.
int pgShadowDialog(HWND owner, MemHandle page);
// The object commands' page shadow dialog on a shadow style; nonzero on OK.
int shdPageShadowDialog(HWND owner, ShadowStyle *style);
