// The font dialogs of text editing.
//
// Not yet here: the dialogs themselves. Until they exist the choices
// answer Cancel and leave the font as it is.
#pragma once
#include "support/qmwin.h"

// 1 on OK with the new font (and its colour); 0 (unchanged) on Cancel.
int txChooseFont(HWND owner, LOGFONTA *font, uint32_t flags, COLORREF *colour);
// The "Font Size" dialog for a face: 1 on OK with the height (a LOGFONT
// height in twips, negative); 0 (unchanged) on Cancel.
int txAskFontSize(HWND owner, const char *face, int32_t *height);
