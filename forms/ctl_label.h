// The label of a check box, radio button or group box.
#pragma once
#include "support/qmwin.h"

// Replaces the label (label length = text length + 1, or 0 for an empty
// text), moving the attribute records behind it, and recomputes the
// record's length. Returns the valid handle (0 on failure, the old one
// unchanged); a moved record is relinked.
MemHandle ctlSetLabelText(MemHandle h, const char *text);
