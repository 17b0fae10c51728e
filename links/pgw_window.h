// The popup page window class "qm_pgwin", registered at start-up with the
// default procedure; no window of it is made.
#pragma once
#include "support/qmwin.h"

BOOL pgwRegisterClass(HINSTANCE instance);
