// Scaling the size codes of a text stream when its object is resized.
#pragma once
#include "support/qmwin.h"

// Size (13) and character-spacing (180) codes scaled by sy, width codes
// (62) by sx, rounding halves away from zero.
void teScaleSizeCodes(char *stream, double sx, double sy);
