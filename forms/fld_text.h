// Measuring label texts of form controls in twips.
#pragma once
#include "support/qmwin.h"

// The extent in twips of the first n bytes of the text set in the LOGFONT
// (height in twips), measured on the printer reference context when one is
// set, else on the screen. FALSE (and 0 x 0) when no context could be had.
BOOL fldMeasureText(const LOGFONTA *font, const char *text, int n, SIZE *extent);
