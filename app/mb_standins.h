// The message bar's object cells as the drags show them.
#pragma once
#include "support/qmwin.h"

// The top-left of the dragged object (twips).
void mbShowObjectPos(int32_t x, int32_t y);
// The frame menu's bitmap pop-up brought up to date before it is tracked.
void appInitBitmapMenu(HMENU menu);
