// The view mapping between device pixels and twips (1440 logical units to
// the inch at the current zoom).
//
// Until a device context is mapped the mapping holds the values of a
// 96-pixel-per-inch screen at 100 percent, so that conversions work from
// the start.
#pragma once
#include "support/qmwin.h"

// Logical lengths to device lengths: MulDiv(v, viewport extent, window
// extent) on that axis.
int32_t dmLogToDevW(int32_t v);
int32_t dmLogToDevH(int32_t v);
// Logical size of one device pixel (width, height, the larger of the two).
int32_t dmGetPixelWidth();
int32_t dmGetPixelHeight();
int32_t dmGetPixelSize();
