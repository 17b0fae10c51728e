// Stand-in for the pattern dialog ("ptnsel"): not built yet, it answers
// Cancel (0) and leaves the pattern as it is.
#pragma once
#include "support/qmwin.h"
#include "objects/fil_fill.h"

int ptnSelectDialog(HWND ws, PatternFill *pattern);
