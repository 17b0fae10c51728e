// The owner-drawn pattern items 535 to 540 of the menus. Until the patterns
// are drawn the items are left to the default processing.
#pragma once
#include "support/qmwin.h"

enum { POP_PATTERN_FIRST = 535, POP_PATTERN_LAST = 540 };

// TRUE when the item is a pattern item and was drawn or measured.
BOOL popDrawPatternItem(const DRAWITEMSTRUCT *item);
BOOL popMeasurePatternItem(MEASUREITEMSTRUCT *item);
