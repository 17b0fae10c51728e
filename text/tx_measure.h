// Text measuring. Text is laid out once, in twips, on a reference context:
// the printer's information context when one is installed and printer
// metrics are on, else a screen context at 100 percent; the painted context
// is used only when neither exists. Font metrics, runs, embedded objects,
// tab stops, lines and whole streams are measured here; nothing is cached.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

struct CharFormat;
struct TextHeader;

const int32_t kTxMaxExtent = kObMaxExtent;   // 20 inches: the limit of boxes and lines

// ---- reference contexts
// Installs the printer's information context (0 = no printer), maps it at
// 100 percent; printer metrics are used when dc is set and flag is 0.
int txSetPrinterRefDC(HDC dc, BOOL flag);
HDC txGetPrinterRefDC();
BOOL txUsePrinterMetrics();
void txSetPrinterMetricsFlag(BOOL on);
// A print job measures on its own context while on.
void txSwitchRefDCForPrinting(HDC dc, BOOL on);
// While on, a mapped context of the frame window is the measuring context.
void txUseScreenRefDC(BOOL on);
HDC txChooseMeasureDC(HDC dc);
// The printer reference when asked and set, else a context of the window
// (the desktop's when none) mapped to twips at 100 percent.
HDC txGetMeasureDC(HWND window, BOOL usePrinter);
void txReleaseMeasureDC(HWND window, HDC dc, BOOL usePrinter);
void txUpdatePixelSize();
int32_t txPixelWidth();
// The context of the current drawing or measuring pass (set by txBeginDraw).
HDC txGetCurrentMeasureDC();
void txSetCurrentMeasureDC(HDC dc);
BOOL txColorsEnabled();
void txSetColorsEnabled(BOOL on);
// Back to the start state (tests).
void txResetMeasureModule();

// ---- font metrics
BOOL txGetTextMetrics(HDC dc, const CharFormat *fmt, TEXTMETRICA *tm);
BOOL txGetTextMetricsFont(HDC dc, HFONT font, TEXTMETRICA *tm);
BOOL txGetTextMetricsLF(HDC dc, const LOGFONTA *lf, TEXTMETRICA *tm);
BOOL txGetFontMetrics(HDC dc, const CharFormat *fmt, int spacing, int32_t *avgWidth,
                      int32_t *height, int32_t *extLeading, int32_t *lineHeight, int32_t *ascent);
int32_t txGetLineHeight(HDC dc, const CharFormat *fmt);
// Folds the run whose font is selected in dc into the line's running height
// and ascent (both in and out); the ascent is kept as txLastAscent.
void txLineAscentDescent(HDC dc, const CharFormat *fmt, int32_t *height, int32_t *ascent);
int32_t txLastAscent();
void txSetLastAscent(int32_t ascent);

// The line advance of ruled text: |height| + |height| / 3 plus the extra
// spacing (tenths of a point) in twips.
int32_t txLineAdvance(const CharFormat *fmt, uint16_t tenths);

// ---- runs, characters and objects
SIZE txRunExtent(HDC dc, const char *text, int32_t n, uint16_t cellWidth);
MemHandle txCharWidths(HDC dc, const char *text, int32_t n);
SIZE txRunWidthByChars(HDC dc, const char *text, int32_t n);
BOOL txCharCell(HDC dc, const char *p, uint32_t codePage, RECT *rect);
// Size of an embedded object (width low, height high), drawn when asked.
uint32_t txMeasureObject(HDC dc, HDC measureDC, int32_t x, int32_t y, int32_t angle,
                         const char *obj, BOOL draw, COLORREF color, int32_t *height,
                         int32_t *ascent);
MemHandle txCharPositions(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t *count);

// ---- tab stops
int32_t txTabIndexAt(int32_t x, int32_t count, const int32_t *tabs);
int32_t txNextTabStop(int32_t x, int32_t count, const int32_t *tabs);
int32_t txTabAt(int32_t i, int32_t count, const int32_t *tabs);

// ---- lines and streams
// Width (low 16 bits) and height (high 16 bits), each at most 28800.
uint32_t txMeasureLine(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t count,
                       const int32_t *tabs);
uint32_t txWalkLine(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t count,
                    const int32_t *tabs);
void txMeasureText(HDC dc, const char *s, CharFormat *fmt, int32_t *width, int32_t *height);
int32_t txMeasureHeight(HDC dc, const char *s, CharFormat *fmt);
void txMeasureWithLogFont(HDC dc, const char *s, const LOGFONTA *lf, int32_t *width,
                          int32_t *height);
BOOL txFitBoxHeight(const char *s, const TextHeader *header, RECT *rect, BOOL onlyGrow);
BOOL txFitBoxHeightAny(const char *s, const TextHeader *header, RECT *rect);
const char *txMeasureLines(HDC dc, const char *s, CharFormat *fmt, int32_t count,
                           const int32_t *tabs, int32_t maxHeight);

// The union of the rectangles of the lines of laid-out text placed in the
// format's line rectangle by its alignment, each turned by angle (tenths of
// a degree) about the rectangle's centre; returns the height used.
int32_t txTextBounds(HDC dc, const char *s, CharFormat *fmt, int32_t angle, int32_t count,
                     const int32_t *tabs, RECT *rect);

// Packs a width and height, each clamped to 0..28800.
uint32_t txPackExtent(int32_t width, int32_t height);
// Draws an embedded image object whose top-left corner is (x, y); the
// drawn size (width low, height high).
uint32_t teDrawImageObject(HDC dc, const char *object, int32_t x, int32_t y,
                           int32_t lineHeight, int32_t ascent);

// ---- the font metrics of a LOGFONT record on a context (callers that only
// need a font's sizes)
int txMeasureFont(HDC dc, const void *fontRecord, int32_t *aveWidth, int32_t *height,
                  int32_t *leading, int32_t *heightLeading, int32_t *ascent);
int txMeasureFontOn(HWND workspace, const void *fontRecord, int32_t *aveWidth,
                    int32_t *height, int32_t *leading);
