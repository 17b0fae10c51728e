// Scrolling the workspace view while a drag runs: when the pointer leaves
// the client area the view moves towards it in steps of half a measurement
// unit, and the pointer is moved back by the distance scrolled, so that it
// stays over the same page point.
#pragma once
#include "support/qmwin.h"

// The step distances (device pixels, signed) that bring a pointer outside
// the client rectangle back towards it: beyond the right or bottom edge the
// overshoot rounded up to whole steps, beyond the left or top edge the
// (negative) position rounded away from zero to whole steps; 0 inside.
// Steps below 1 count as 1.
void wsAutoScrollDistance(const RECT *client, POINT pt, int32_t stepX, int32_t stepY,
                          int32_t *dx, int32_t *dy);
// During a drag: pt is the pointer in client pixels, changed in place. When
// it lies outside the client area the view scrolls (vertically first), the
// rulers of the moved directions are invalidated and updated, the window is
// updated, and the point and the cursor move back by the distance
// scrolled. 1 when the view scrolled.
int wsDragAutoScroll(HWND ws, POINT *pt);
