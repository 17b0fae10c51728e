// The view mapping between device pixels and twips.
#include "support/dm_map.h"

namespace {

struct ViewMapping {
    int32_t viewportExtX, viewportExtY;   // device pixels per inch at the zoom
    int32_t windowExtX, windowExtY;       // logical units per inch
    int32_t pixelWidth, pixelHeight, pixelSize;
};

// A 96-pixel-per-inch screen at 100 percent: one pixel is 15 twips.
ViewMapping g_map = {96, 96, 1440, 1440, 15, 15, 15};

}  // namespace

int32_t dmLogToDevW(int32_t v) { return MulDiv(v, g_map.viewportExtX, g_map.windowExtX); }
int32_t dmLogToDevH(int32_t v) { return MulDiv(v, g_map.viewportExtY, g_map.windowExtY); }
int32_t dmGetPixelWidth() { return g_map.pixelWidth; }
int32_t dmGetPixelHeight() { return g_map.pixelHeight; }
int32_t dmGetPixelSize() { return g_map.pixelSize; }
