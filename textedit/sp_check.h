// The spelling check of the edited text.
#pragma once
#include "support/qmwin.h"

// 1 when the check ran to its end or was cancelled, 0 when it cannot start.
int spCheckEditedText(HWND window, int report);
