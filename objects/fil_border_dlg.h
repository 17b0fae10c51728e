// The "Field Style" dialog over a field's frame style and frame value.
//
// Not yet here: the dialog itself. Until it exists the choice answers
// Cancel and leaves both values as they are.
#pragma once
#include "support/qmwin.h"

// 1 on OK with the new style and value; 0 (unchanged) on Cancel.
int filBorderStyleDlg(HWND owner, const char *caption, uint16_t *frameStyle, uint32_t *frameValue);
