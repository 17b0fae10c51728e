// The full-screen view's window class "qmfsvclass" (CS_DBLCLKS, 8 window
// bytes, the settings' background), registered at start-up; the view itself
// comes with its own work.
#pragma once
#include "support/qmwin.h"

BOOL fsRegisterClass(HINSTANCE instance);
