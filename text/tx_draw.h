// Text drawing of labels: the text-stream drawer as far as plain labels
// need it (lines broken at LF or CR LF and wrapped at word breaks inside
// the rectangle, one font, one colour). Control codes of text streams are
// not interpreted.
#pragma once
#include "support/qmwin.h"

// Draws `stream` into `rect` (twips) with the font and the alignment word
// (horizontal: 1 centre, 2 right in bits 0x3; vertical: 8 centre, 16 bottom
// in bits 0x1C) in the fill colour of the triple {pen, fill, background}.
// The vertical flags and the reserved arguments are not read; lineHeight is
// the height of one line (0: the font's own). The DC's background mode is
// left as the caller set it. Returns the height drawn, 0 for nothing.
int32_t txDrawStreamEx(HDC dc, const RECT *rect, int vertical, int verticalFace,
                       const char *stream, const LOGFONTA *font, uint16_t align,
                       int32_t reserved1, int32_t reserved2, const COLORREF colours[3],
                       int32_t lineHeight, int32_t reserved3);
