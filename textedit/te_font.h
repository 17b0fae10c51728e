// The default text font of new text (face and point size), set at start-up.
#pragma once
#include "support/qmwin.h"

void txSetDefaultFont(const char *face, int points);
// The face (at most 31 characters) into a buffer of 32 bytes; the size.
int txGetDefaultFont(char *face);
