// Keeping a text object's stored layout and box in step with its text:
// replacing and appending text, re-laying out lines, re-wrapping at the box,
// fitting the box within 28800 twips, resizing, splitting for page flow,
// character spacing and the plain-text conversions.
//
// Every operation measures on the measuring context (the printer reference
// when printer metrics are on, else the window's context at 100 percent).
// Operations that rewrite the stream return the handle to use afterwards.
#pragma once
#include "support/qmwin.h"

struct TextHeader;

// Text kinds of the text-setting operations.
enum : int {
    TXK_PLAIN = 3,    // bytes with CR and LF line ends, converted on entry
    TXK_CODED = 14,   // a text stream with codes, taken as it is
};

// String ids of the fitting warnings.
const UINT kTxStrHeightTooLarge = 984;
const UINT kTxStrWidthTooLarge = 985;

// Recomputes every line-information code in place (no re-breaking).
void txRelayout(MemHandle obj);
// Re-breaks wrapped text at the box (columns are made again); fits the box.
MemHandle txRewrap(HWND window, MemHandle obj, BOOL warn);
// 0 (untouched) for an object flagged against fitting (0x200), else 1.
int txFitBoxEx(MemHandle obj, BOOL fitFlow, BOOL exact, BOOL warn);
int txFitBox(MemHandle obj, BOOL fitFlow, BOOL exact);
// The rectangle (0, 0, w, h) the text needs, borders included.
RECT txMeasureBox(MemHandle obj);
int txFitHeight(HWND window, MemHandle obj);
int txFitWidth(HWND window, MemHandle obj);

MemHandle txReplaceText(HWND window, MemHandle obj, const char *text, int kind, BOOL rewrap,
                        BOOL warn);
MemHandle txReplaceTextWarn(HWND window, MemHandle obj, const char *text, int kind, BOOL warn);
MemHandle txReplaceTextAll(HWND window, MemHandle obj, const char *text, int kind);
MemHandle txAppendText(HWND window, MemHandle obj, const char *text, int kind);
MemHandle txAppendObjectText(MemHandle target, MemHandle source, BOOL paragraphBreak);
MemHandle txGetFormattedStream(MemHandle obj);

// Page flow: the part that goes on (a new object) and the part that stays
// (*rest); see the source for the three outcomes.
MemHandle txSplitAtBottom(HWND window, MemHandle obj, const RECT *limit, MemHandle *rest);
MemHandle txSplitAt(HWND window, MemHandle obj, int32_t height, MemHandle *rest);

// Sets the object to the rectangle bounding the two corners.
MemHandle txResize(MemHandle obj, const POINT corners[2], BOOL exact);
MemHandle txResizeTo(MemHandle obj, const POINT corners[2]);
// The rescale dispatch's form: the object takes the rectangle.
MemHandle txRescale(MemHandle obj, const RECT *target);
MemHandle txFitPastedWrap(MemHandle obj, int32_t extraPoints);

// Character spacing (tenths of a point).
int txAskCharSpacing(HWND window, uint16_t *value);
MemHandle txSetCharSpacing(HWND window, MemHandle obj, uint16_t value);
MemHandle txClearFormats(HWND window, MemHandle obj);
MemHandle txResetFormats(HWND window, MemHandle obj);

// Plain text.
MemHandle txPlainToStream(const char *text);
MemHandle txGetPlainText(MemHandle obj);
int32_t txVisibleCharCount(const char *stream, BOOL countCrAsTwo);
// Writes the plain text of a stream to dest (null: only counts); returns
// the bytes written, terminator not counted.
int32_t txStripToPlain(char *dest, const char *stream, BOOL expandCr);
MemHandle txExpandCr(const char *text);
MemHandle txWrapPlainText(HWND window, int32_t width, const char *text, const TextHeader *header);
MemHandle txWideToStream(const WCHAR *wide, uint8_t charset);
int32_t txParsePoints(const char *text);
