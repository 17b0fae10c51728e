// The message bar's position cell: the pointer position in measurement
// units, or its distance from a measuring origin, as the drag loops show
// it. The cell's text is kept in this module.
#pragma once
#include "support/qmwin.h"

// The device point becomes page coordinates and then units:
// "(%-6.2lf, %6.2lf)"; with a measuring origin set, the absolute distances
// from it: "(%6.2lf x %6.2lf)".
void mbShowPosition(POINT device);
// The measuring origin (twips), kept in measurement units.
void mbSetOrigin(int32_t x, int32_t y);
void mbClearOrigin();
BOOL mbHasOrigin();
void mbSetPositionText(const char *text);
void mbClearPositionText();
// The text of the position cell (up to size - 1 bytes); its length.
int mbGetPositionText(char *buffer, int size);
