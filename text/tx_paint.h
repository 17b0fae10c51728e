// Line painting: laid-out text drawn line by line with the fonts and
// colours its codes give, each run measured on the reference context
// (text/tx_measure.h) so that the screen matches the page; justified lines
// spread their spare width over their spaces.
#pragma once
#include "support/qmwin.h"

struct CharFormat;

// The colours of hyperlinks (blue) and of temporary runs (RGB 0, 0, 192).
void txSetHyperlinkColor(COLORREF c);
COLORREF txGetHyperlinkColor();
void txSetTempColor(COLORREF c);
COLORREF txGetTempColor();

// A drawing pass: chooses the measuring context, selects the format's font
// into both contexts; the end restores them and deletes the font.
void txBeginDraw(HDC dc, const CharFormat *fmt);
void txEndDraw(HDC dc);
void txSelectFormatFont(HDC dc, const CharFormat *fmt);
// The format's font (two thirds high for scripts, underlined inside a
// hyperlink) selected into both contexts; the previous font goes to
// *oldFont, or is deleted when no slot is given. Returns the new font.
HFONT txCreateFormatFont(HDC dc, HDC measureDC, const CharFormat *fmt, HFONT *oldFont);
void txApplyColors(HDC dc, HDC measureDC, const CharFormat *fmt);
HFONT txSelectFormat(HDC dc, HDC measureDC, const CharFormat *fmt, HFONT *oldFont, HFONT font,
                     BOOL fontChanged);

// Draws a stream in a rectangle with a base format made from a LOGFONT;
// colours {text, background}, or the context's own when null. A leading
// tab-array code gives the tab stops. Returns the height used.
int32_t txDrawStream(HDC dc, const RECT *rect, const char *stream, const LOGFONTA *lf,
                     uint16_t align, uint8_t spacing, uint16_t charSpacing,
                     const COLORREF *colors);
// The labels' and fields' form: vertical and right-to-left stacking flags,
// colours {pen, text, background}, the height of one line (0: the font's).
int32_t txDrawStreamEx(HDC dc, const RECT *rect, int vertical, int rightToLeft,
                       const char *stream, const LOGFONTA *font, uint16_t align,
                       int32_t reserved1, int32_t reserved2, const COLORREF colours[3],
                       int32_t lineHeight, int32_t plainFlag);
int32_t txDrawText(HDC dc, const RECT *rect, const char *s, CharFormat *fmt, int32_t count,
                   const int32_t *tabs);
int32_t txDrawLines(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                    const int32_t *tabs);
int32_t txDrawColumns(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                      const int32_t *tabs);
uint32_t txDrawLine(HDC dc, int32_t x, int32_t y, int32_t width, const char *text, int32_t n,
                    CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw);
uint32_t txPaintLine(HDC dc, HDC measureDC, int32_t x, int32_t y, const char *text, int32_t n,
                     CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw);
uint32_t txPaintLineRef(HDC dc, int32_t x, int32_t y, const char *text, int32_t n,
                        CharFormat *fmt, int32_t count, const int32_t *tabs, BOOL draw);
uint32_t txWalkLineDraw(HDC dc, int32_t x, int32_t y, const char *text, int32_t n,
                        CharFormat *fmt, int32_t count, const int32_t *tabs);
void txJustifyRun(HDC dc, const char *text, int32_t n, int32_t charExtra, int32_t width,
                  int32_t spaces);
int32_t txDrawRunSpread(HDC dc, int32_t x, int32_t y, const char *text, int32_t n,
                        char spaceChar, int32_t spread, int32_t extraCount);
int32_t txSplitSpread(int32_t total, int32_t used, int32_t spaces, int32_t *remainder);
void txDrawCells(HDC dc, int32_t x, int32_t y, const char *text, int32_t n, uint16_t cellWidth);
void txAdvanceRotated(int32_t *x, int32_t *y, int32_t d, int32_t angle);
void txAdvanceReturn(HDC dc, CharFormat *fmt, int32_t *x, int32_t *y, int32_t *width);
