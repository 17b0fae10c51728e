// Services of other modules that the settings call, kept here until those
// modules land; each moves to its owner then (the editor colour and font
// dialog hand-offs to the text editor).
#pragma once
#include "support/qmwin.h"

// Receivers of the stored settings at start-up.
void txSetEditorColor(COLORREF colour);
void txSetFontDialogBits(uint16_t bits);
