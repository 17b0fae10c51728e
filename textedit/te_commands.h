// The editing commands' operations that other parts of the editor call.
#pragma once
#include "support/qmwin.h"
#include "textedit/te_lines.h"

// Applies a code with a value over a range with a format: the range's codes
// of that number are replaced by one at its start; the lines are measured
// again and the text marked modified.
int teApplyCodeToRange(HWND window, const TePos *start, const TePos *end, int code,
                       int32_t value, const CharFormat *fmt);

// Word delimiters: a word's start (29 bytes) and its end.
extern const char kTeWordStartDelims[];
extern const char kTeWordEndDelims[];
int32_t teWordStart(MemHandle line, int32_t offset);
int32_t teWordEnd(MemHandle line, int32_t offset);

// Caret moves (window, clear the selection first); 1 when handled.
int teCaretLeft(HWND window, BOOL clear);
int teCaretRight(HWND window, BOOL clear);
int teCaretLineUp(HWND window, BOOL clear);
int teCaretLineDown(HWND window, BOOL clear);
int teCaretLineStart(HWND window, BOOL clear);
int teCaretLineEnd(HWND window, BOOL clear);
int teCaretWordLeft(HWND window, BOOL clear);
int teCaretWordRight(HWND window, BOOL clear);
int teCaretTextStart(HWND window, BOOL clear);
int teCaretTextEnd(HWND window, BOOL clear);
int tePageScroll(HWND window, BOOL clear, BOOL down);
// The page move itself (Shift extension keeps the selection).
int teMoveCaretByPage(HWND window, BOOL down);

// Scrolling the workspace by a logical distance, the ruler repainted; the
// distance scrolled, 0 for none.
int32_t teScrollByX(HWND window, int32_t d);
int32_t teScrollByY(HWND window, int32_t d);

// Resets in fmt the attributes that the codes of the stream switch.
void teResetFormatAttrs(const char *stream, CharFormat *fmt);
