// The tab marks of a workspace's rulers while a text is edited.
#pragma once
#include "support/qmwin.h"

// Shows or hides the tab marks of one ruler (1 horizontal, 2 vertical).
void wsShowRulerTabs(HWND ws, int ruler, BOOL show);
