// The "Alignment" dialog of the editing tools.
#pragma once
#include "support/qmwin.h"

// Edits an alignment word; nonzero on OK.
int epAlignmentDlg(HWND ws, uint16_t *align);
