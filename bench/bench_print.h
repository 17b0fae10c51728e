// Printing benchmark step of qm_bench.
#pragma once
#include "support/qmwin.h"

// Prints pages x objects (pages made by buildPage) to a recording printer at
// 300 dpi and prints the time.
void benchPrinting(int pages, int objects, MemHandle (*buildPage)(int, int));
