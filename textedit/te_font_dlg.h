// The font dialog of text editing.
//
// Not yet here: the dialog itself. Until it exists the choice answers
// Cancel and leaves the font as it is.
#pragma once
#include "support/qmwin.h"

// 1 on OK with the new font (and its colour); 0 (unchanged) on Cancel.
int txChooseFont(HWND owner, LOGFONTA *font, uint32_t flags, COLORREF *colour);
