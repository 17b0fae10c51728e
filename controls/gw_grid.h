// The grid windows "qmgridwin" (menu "gwmenu"), "qmgridwinsimp" and
// "qmgwctrl", registered with the default procedure until the grid windows
// land.
#pragma once
#include "support/qmwin.h"

BOOL gwRegisterClasses(HINSTANCE instance);
