// The spin pattern of the dialogs: an edit field paired with a small
// vertical scroll bar whose arrows step the number in the field and wrap
// around at its limits.
#pragma once
#include "support/qmwin.h"

// Steps the integer of a dialog field for a scroll code: SB_LINEUP and
// SB_PAGEUP add the step, SB_LINEDOWN and SB_PAGEDOWN subtract it, other
// codes leave it; above the maximum it becomes the minimum, below the
// minimum the maximum. Computed in signed 16 bits. Nothing changes when the
// field does not hold a number. 1.
int winSpinDlgInt(HWND dialog, int item, int code, int step, int min, int max);
