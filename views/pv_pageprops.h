// The launchers of the page property dialogs: shadow (595), background
// (596), initialisation commands (597), shuffle (629) and the page
// attribute record (879). The page name (628) is views/pv_page.h.
#pragma once
#include "support/qmwin.h"

int pvCmdPageShadow(HWND ws);
int pvCmdPageBackground(HWND ws);
int pvCmdPageInit(HWND ws);
int pvCmdShufflePages(HWND ws);
// Reads the current page's 70-byte attribute record and asks the page
// attribute dialog, which in this program always answers 0: nothing
// changes.
int pvCmdPageAttr(HWND ws);
