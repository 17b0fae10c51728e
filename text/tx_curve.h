// Curved text.
#pragma once
#include "support/qmwin.h"

// Makes a curved text straight again (the curve flags cleared, wrapped and
// fitted).
void txStraighten(MemHandle obj);
