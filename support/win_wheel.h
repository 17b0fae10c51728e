// Mouse-wheel support: the native wheel message, or the messages of an
// older wheel driver window, and the lines one notch scrolls.
#pragma once
#include "support/qmwin.h"

// Finds the wheel driver window (class "MouseZ", title "Magellan MSWHEEL")
// and registers its three messages; TRUE when the driver window exists.
BOOL winInitWheel();
// TRUE for WM_MOUSEWHEEL, and for the driver's roll message when a driver
// window was found.
BOOL winIsWheelMessage(UINT message);
// Lines one notch scrolls: the driver's answer when a driver window exists,
// else the system setting (0 when the system has no wheel support).
int winWheelScrollLines();
