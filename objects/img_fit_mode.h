// The image fit choice: "Original" 1, "Original/Fit" 8, fit preserving the
// aspect ratio 2, stretch 4.
//
// Not yet here: the dialog that offers them. Until it exists the choice
// answers Cancel and leaves the value as it is.
#pragma once
#include "support/qmwin.h"

// 1 on OK with the new value; 0 (unchanged) on Cancel.
int obAskImageFitMode(HWND owner, const char *caption, uint32_t *value);
