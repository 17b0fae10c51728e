// Stand-in for the brush line tool, which is not in the program yet: no
// brush line is ever edited, so there is no current stroke. Missing: the
// tool's Create and Edit Modes and their stroke state.
#include "tools/ep_brushline_standins.h"

uint16_t epBrushLineEditState(HWND, uint16_t *first, uint16_t *hasStroke)
{
    if (first)
        *first = 0;
    if (hasStroke)
        *hasStroke = 0;
    return 0;
}
