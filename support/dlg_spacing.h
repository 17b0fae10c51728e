// The "Line Spacing" dialog: a pick list of line spacings from 1.00 to 5.00
// lines in quarter steps. A spacing code counts quarter lines (4 = single).
#pragma once
#include "support/qmwin.h"

// Shows "txspacing" on the code; 1 on OK with the chosen code written back,
// 0 on Cancel (the code untouched).
int dlgLineSpacing(HWND owner, uint8_t *code);
// Fills a combo box with the 17 entries "1.00" .. "5.00" and selects the
// entry of the code (entry 0 for code 0).
void winFillSpacingCombo(HWND dialog, int comboId, int code);
// The code of the selected entry; FALSE when nothing is selected.
BOOL winGetSpacingCode(HWND dialog, int comboId, int *code);
