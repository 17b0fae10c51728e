// Table steps of the benchmark; each prints its time.
#pragma once
#include "support/qmwin.h"

void benchTable();
