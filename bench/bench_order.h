// Select All, By Position and their undo steps on one page of many boxes;
// each step prints its time.
#pragma once
#include "support/qmwin.h"

void benchSelectionOrder(int boxes);
