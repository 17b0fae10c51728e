// Font steps of the benchmark: the installed faces listed with a warm
// cache, and one face matched 1,000 times; each prints its time beside its
// budget (20 ms and 50 ms).
#pragma once
#include "support/qmwin.h"

void benchFonts();
