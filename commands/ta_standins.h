// Stand-ins for the edit commands of 3D Text and anchors
// (the per-type tool actions): not built yet, each answers 0.
#pragma once
#include "support/qmwin.h"

int cmdEdit3DText(HWND ws, MemHandle object);
int cmdEditAnchor(HWND ws, MemHandle object);
