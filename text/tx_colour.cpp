// Colour codes inside text streams. Text objects carry no text stream yet:
// the stream and its codes arrive with the text object module, which fills
// these in; until then there are no codes to remove.
#include "text/tx_colour.h"

int txClearColorCodes(HWND, MemHandle, COLORREF, int) { return 1; }
int txClearLabelColorCodes(HWND, MemHandle, COLORREF, int) { return 1; }
