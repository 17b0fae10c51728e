// The object library's window classes: the library manager "olbview" (menu
// "olbview"), its object grid "ogwgridclass" and the object viewer
// "qm_objviewer", registered with the default procedure until the library
// windows land.
#pragma once
#include "support/qmwin.h"

BOOL olbRegisterViewClass(HINSTANCE instance);
BOOL ogwRegisterClass(HINSTANCE instance);
BOOL ovRegisterClass(HINSTANCE instance);
