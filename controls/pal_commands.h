// The frame commands of the colour palette: 620 edit, 621 open, 622 save,
// 623 built-in colours, 1243 pick a colour from the screen.
#pragma once
#include "support/qmwin.h"

// 0 when the id was handled, 1 otherwise.
int clrPaletteCommand(HWND frame, int command);
// Picks a screen colour into the palette window: it replaces the
// highlighted swatch or is appended. Picking from the screen comes with the
// object commands; until then nothing is picked. Returns 0.
int clrPickColorFromScreen(HWND window);
