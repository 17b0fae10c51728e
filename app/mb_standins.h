// The message bar's object cells as the drags show them.
#pragma once
#include "support/qmwin.h"

// The top-left of the dragged object (twips).
void mbShowObjectPos(int32_t x, int32_t y);
// The face and size of a font (null: none) in the font boxes.
void mbShowFont(const LOGFONTA *lf);
// The frame menu's bitmap pop-up brought up to date before it is tracked.
void appInitBitmapMenu(HMENU menu);
