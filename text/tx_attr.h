// Whole-object attributes of text objects: line spacing, alignment,
// colours, font, size, styles, wrapping, vertical text and the direction of
// its lines. Each change sets the base value in the header and either
// rewrites every code of its kind (spacing, alignment) or removes them so
// that the base value shows everywhere; then the layout is refreshed and
// the box re-wrapped or fitted.
#pragma once
#include "support/qmwin.h"

int txSetLineSpacing(HWND window, MemHandle obj, uint8_t quarters);
int txSetAlignment(HWND window, MemHandle obj, uint16_t align);
// Removes the text colour codes (50), or the background ones (51) when
// which is 10; 1.
int txClearColorCodes(HWND window, MemHandle obj, COLORREF colour, int which);
MemHandle txSetFont(HWND window, MemHandle obj, const LOGFONTA *font);
MemHandle txSetFontHeight(HWND window, MemHandle obj, int32_t height);
// code 1 bold, 3 italic, 5 underline, 7 strikeout, 30 all four off.
MemHandle txSetStyleAttr(HWND window, MemHandle obj, int code, BOOL on);
void txClearWrap(MemHandle obj);
void txSetWrap(MemHandle obj);
void txToggleWrap(MemHandle obj);
// 1 when the whole text shows the attribute (1, 3, 5 or 7).
int txHasAttr(MemHandle obj, int code);

// Vertical text.
void txSetVertical(MemHandle obj, BOOL on);
void txSetVerticalAngles(LOGFONTA *font);
BOOL txIsVerticalFace(const char *face);
// 1, or 0 when the user cancels the font dialog (nothing changed). *obj
// receives the handle to use afterwards.
int txToVertical(HWND window, MemHandle *obj);
int txFromVertical(HWND window, MemHandle *obj);

// The removals shared with Labels: the stream (in place) loses the codes of
// the font (1-8, 13-21, 32, 62), of the size (13) or of a style; the new
// length.
int32_t txStripStyleCodes(char *s, int code);
// The attribute test over a base LOGFONT and a stream.
int txStreamHasAttr(const LOGFONTA *font, const char *s, int code);
