// Font services the factory needs for new text objects: measuring the
// default font (text/tx_measure.h) and choosing the font of a vertical text.
#pragma once
#include "support/qmwin.h"
#include "text/tx_measure.h"   // txMeasureFont, txMeasureFontOn

// The user chooses the font of a vertical text, starting from `font`
// (the common font dialog); on OK the face is made a vertical ("@") face.
// 0 when cancelled (the font unchanged).
int txChooseVerticalFont(HWND owner, LOGFONTA *font);
// Tests answer the dialog through a hook (null: the real dialog).
typedef int (*TxVerticalFontHook)(HWND owner, LOGFONTA *font);
void txSetChooseVerticalFontHook(TxVerticalFontHook hook);
