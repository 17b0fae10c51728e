// The continuous view's services the select mode calls.
#pragma once
#include "support/qmwin.h"

// A press outside the current page in the continuous view: 1 when it
// switched to the neighbouring page under the point (twips).
int wsClickIntoOtherPage(HWND ws, POINT pt);
// The view menu ("&Single Page", "&Continuous") at the packed position.
void wsTrackScrollMenu(HWND ws, LPARAM lParam);
