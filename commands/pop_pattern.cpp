#include "commands/pop_pattern.h"

BOOL popDrawPatternItem(const DRAWITEMSTRUCT *) { return FALSE; }
BOOL popMeasurePatternItem(MEASUREITEMSTRUCT *) { return FALSE; }
