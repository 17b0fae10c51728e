// The buttons of the frame's standard command bar that the object
// commands switch: the Undo button (200) among them.
#pragma once
#include "support/qmwin.h"

enum : uint16_t { APP_CMD_UNDO = 200 };

// Enables or disables a button of the standard bar; nothing without one.
void appSetStdBarButton(uint16_t command, BOOL on);
void appEnableUndoButton(BOOL on);
// Whether the standard bar shows the button enabled (FALSE without one).
BOOL appIsStdBarButtonEnabled(uint16_t command);
