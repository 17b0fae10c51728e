// The flash-text window class "qm_flashtxw_class" (style 0, 12 window
// bytes), registered at start-up; the window itself comes with its own work.
#pragma once
#include "support/qmwin.h"

BOOL winRegisterFlashText(HINSTANCE instance);
