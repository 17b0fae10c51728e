// The form field and control types entered into the type table
// (model/ob_types.h) with their file forms: push buttons (43), check boxes
// (44), radio buttons (57, drawn as the check box's box with a round
// mark), group boxes (58), entry, list and equation fields (41, 42, 124),
// the older field type 51, counters (96) and entry references (116). Also
// installs the frame width the drawn rectangles of framed objects take
// (model/ob_draw.h).
#pragma once
#include "support/qmwin.h"

// Called once at start-up (and by each test program's kit) before any
// object is sized, drawn or read; calling it again changes nothing.
void fldRegisterTypes();
