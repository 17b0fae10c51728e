// Hyperlinks in the edited text.
#pragma once
#include "support/qmwin.h"

// Editor commands 1137 (file link) and 1138 (general hyper command) on the
// selection; 1 when the text changed.
int teCmdHyperLink(HWND window, int id);
