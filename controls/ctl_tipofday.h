// The Tip of the Day. The tips file ("iwtips.txt") is a data file that the
// program does not bring; without it there is nothing to show.
#pragma once
#include "support/qmwin.h"

// Shows the tips of the file from *index; *show and *index receive the
// user's choices. 0 when nothing was shown (no tips file, or the dialog is
// not available), and the values are then left as they were.
int ctlTipOfDay(HWND frame, const char *tipsFile, int *show, int *index);
