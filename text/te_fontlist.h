// Installed faces and font sizes of the text editing subsystem.
#pragma once
#include "support/qmwin.h"

// Whether a face of exactly this name is installed: where 0 on the screen,
// 1 on the printer, 2 on the printer and then on the screen.
BOOL txFaceExists(int where, const char *face);
// Sets the LOGFONT width to the font's average character width, measured on
// the printer reference (the window's context when there is none).
void txSetAverageWidth(HWND window, LOGFONTA *font);
