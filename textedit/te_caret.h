// The caret of the text editor: a position {caret line, caret offset} in
// the edited text, from which come its place in twips, the system caret of
// the right size and the caret format that menus and the message bar show.
#pragma once
#include "support/qmwin.h"
#include "textedit/te_lines.h"

// ---- position
MemHandle teCaretLine();
int32_t teCaretOffset();
void teGetCaretPos(TePos *out);
void teSetCaretLine(MemHandle line);
void teSetCaretOffset(int32_t offset);
void teSetCaret(MemHandle line, int32_t offset);
void teSetCaretPos(const TePos *pos);
void teCaretToLineEnd();
void teCaretToLineLength();
BOOL teCaretAtLineEnd();
BOOL teCaretAtTextEnd();
BOOL teCaretAtTextStart();
void teClearCaretLine();
int32_t teCaretNextUnit();
int32_t teCaretPrevUnit();
void teNormalizePos(MemHandle *line, int32_t *offset);
int32_t teCaretAbs();
void teSetCaretAbs(int32_t offset);
void teTextEndPos(TePos *out);

// ---- format at a position
BOOL teFormatAt(MemHandle line, int32_t offset, CharFormat *out);
BOOL teFormatBetween(MemHandle from, const CharFormat *fmt, MemHandle toLine, int32_t toOffset,
                     CharFormat *out);
BOOL teFormatAtPos(const TePos *pos, CharFormat *out);
BOOL teCaretLineFormat(CharFormat *out);
int32_t teCaretLineWidth();
void teClearParaFields(CharFormat *fmt, int code);

// ---- bytes at the caret
int32_t teInsertByteAtCaret(char byte);
int32_t teInsertPairAtCaret(const char pair[2]);
int32_t teInsertBytesAtCaret(const char *bytes, int32_t count);
int32_t teTypeByteAtCaret(char byte);
int32_t teTypePairAtCaret(const char pair[2]);
BOOL teSetCaretLineText(const char *stream);
int32_t teCaretLineLength();
void teSetCaretLineLength(int32_t length);
void teMeasureCaretLine();
void teNormalizeCaretLine();
void teNormalizeLineAt(TePos *pos);
void teNormalizeLineRange(TePos *start, TePos *end);
void teTrimTrailingCodes();

// ---- drawing the caret
void teCreateCaret(HWND window);
void teHideCaret(HWND window);
void teShowCaret(HWND window);
void teDestroyCaret();
int tePlaceCaret(HWND window);
void teCaretPoint(int32_t *x, int32_t *y);
int32_t teXAtOffset(MemHandle line, int32_t offset);
int32_t teYAtOffset(MemHandle line, int32_t offset);
void teOffsetPoint(const TePos *pos, POINT *out);
int teScrollCaretIntoView(HWND window);
int teScrollCaretAboveWindow(HWND window, HWND cover, const TePos *pos);
