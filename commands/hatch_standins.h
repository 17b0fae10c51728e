// Stand-in until the attribute commands (line, fill, hatch, pattern and
// gradient) come: of them only the rescale of the hatch spacing is here,
// which the resize by percent needs.
#pragma once
#include "support/qmwin.h"

// For the object and every object linked below it whose fill kind is 4
// (hatch): the spacing (high 4 bits of the hatch byte, 0 read as 6 points)
// becomes percent x spacing / 100, at least 2 and at most 15; the style
// stays.
void hatchTreeScaleSpacing(MemHandle object, int32_t percent);
