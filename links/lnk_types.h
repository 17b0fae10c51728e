// The image-file object (78), a picture or drawing file linked by name,
// entered into the type table (model/ob_types.h); also installs the loader
// of page backgrounds' picture files (model/pg_render.h).
#pragma once
#include "support/qmwin.h"

// Called once at start-up (and by each test program's kit) before any
// object is sized, drawn or read; calling it again changes nothing.
void lnkRegisterTypes();
