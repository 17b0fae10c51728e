// Group-member steps of the benchmark: Distribute and Same Size on a group
// of 2,000 members (each one sort), with the undo copy the commands take
// first; each prints its time.
#pragma once
#include "support/qmwin.h"

void benchArrange();
