// The text types, text objects (40) and Labels (138), entered into the
// type table (model/ob_types.h) with their file forms.
#pragma once
#include "support/qmwin.h"

// Called once at start-up (and by each test program's kit) before any
// object is sized, drawn or read; calling it again changes nothing.
void txRegisterTypes();
