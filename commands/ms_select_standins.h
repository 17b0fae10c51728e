// Stand-ins until the multiple selection's alignment and its ending into
// a chain come (see the .cpp for what is missing).
#pragma once
#include "support/qmwin.h"

// Aligns the objects gathered in multiple-selection mode (420-426).
int msAlign(HWND ws, int command);
// Ends multiple-selection mode into a chain of the gathered objects, which
// becomes the current object.
int msEndToChain(HWND ws);
