// Stand-in: the editor's display does not note changed lines yet, so there
// is nothing pending to flush.
#include "textedit/te_display.h"

void teFlushDisplay(HWND) {}
