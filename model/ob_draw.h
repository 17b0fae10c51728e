// Drawn rectangles of objects: what an object covers when it is drawn.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The box grown by the half pen width of lines and closed shapes
// ((penWidth + 1) / 2); other types keep their box.
void obRecGetDrawnRect(const ObjectRecord *rec, RECT *r);
// FALSE and an empty rectangle for no handle.
BOOL obGetDrawnRect(MemHandle h, RECT *r);
