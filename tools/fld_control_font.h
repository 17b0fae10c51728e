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
// Replaces the label text of a check box, radio button or group box: the
// control record's own label update (forms/ctl_label.h), which keeps the
// label's terminating zero and the attribute area behind it. The record's
// length changes by the difference of the label lengths. Returns the
// possibly moved handle, or 0 when memory ran out (the old handle then
// stays valid and unchanged).
MemHandle fldSetLabelText(MemHandle control, const char *text);
