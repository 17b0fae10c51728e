// The object types the shape and picture modules own, entered into the
// type table (model/ob_types.h): lines, polylines, polygons, curves and
// cubes; rectangles, squares, round rectangles, circles, ellipses,
// diamonds, pies and arcs; arrows, composites, grids, 3D text, page insets,
// box objects, pictures, metafiles, dimension spans, rules, brush lines,
// bitmaps, images and the round-box codes 802 and 803. Also installs the
// model's hooks these modules serve: the object-name list's refresh after a
// rename and the default pattern of new pages.
#pragma once
#include "support/qmwin.h"

// Called once at start-up (and by each test program's kit) before any
// object is sized, drawn or read; calling it again changes nothing.
void objRegisterTypes();
