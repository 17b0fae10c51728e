// The editor's display: changed lines noted and repainted.
#pragma once
#include "support/qmwin.h"

// Invalidates the band of the lines noted as changed.
void teFlushDisplay(HWND window);
