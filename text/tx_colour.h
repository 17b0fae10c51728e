// Colour codes inside text streams.
#pragma once
#include "support/qmwin.h"

// Removes the text object's own foreground (id 6) or background (id 10)
// colour codes so that the object colour shows; 1.
int txClearColorCodes(HWND frame, MemHandle textObject, COLORREF colour, int colourId);
// The same for a label (type 138).
int txClearLabelColorCodes(HWND frame, MemHandle label, COLORREF colour, int colourId);
