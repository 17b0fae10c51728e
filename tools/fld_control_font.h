// The label font and flag word of check boxes, radio buttons and group
// boxes (the ControlPart of forms/fld_check.h).
#pragma once
#include "support/qmwin.h"

// Copies the label LOGFONT out; 1, or 0 for no control.
int fldGetLabelFont(MemHandle control, LOGFONTA *font);
// Stores the label font, then lets the control grow to its natural size;
// returns the handle (0 for no control).
MemHandle fldSetLabelFont(MemHandle control, const LOGFONTA *font);
// Sets bit value 4 of the control's flag word.
void fldSetFlag4(MemHandle control);
