// Font services the factory needs for new text objects: measuring the
// default font and choosing the font of a vertical text.
#pragma once
#include "support/qmwin.h"

// GetTextMetricsA with the font record's LOGFONT selected into the DC:
// average character width, height, external leading, height plus leading
// and ascent (each optional). 1, or 0 when the font could not be made.
int txMeasureFont(HDC dc, const void *fontRecord, int32_t *aveWidth, int32_t *height,
                  int32_t *leading, int32_t *heightLeading, int32_t *ascent);
// The same on the workspace's mapped DC (a mapped memory DC without one).
int txMeasureFontOn(HWND workspace, const void *fontRecord, int32_t *aveWidth,
                    int32_t *height, int32_t *leading);
// The user chooses the font of a vertical text, starting from `font`
// (the common font dialog); on OK the face is made a vertical ("@") face.
// 0 when cancelled (the font unchanged).
int txChooseVerticalFont(HWND owner, LOGFONTA *font);
