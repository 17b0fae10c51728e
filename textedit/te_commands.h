// The editing commands' operations that other parts of the editor call.
#pragma once
#include "support/qmwin.h"
#include "textedit/te_lines.h"

// Applies a code with a value over a range with a format: an undo step of
// kind 13 keeps the range's lines; the range's codes of that number are
// replaced by one at its start; the lines are measured again and the text
// marked modified.
int teApplyCodeToRange(HWND window, const TePos *start, const TePos *end, int code,
                       int32_t value, const CharFormat *fmt);
// The lines a kind-13 step replaces on Undo: those from the start's line to
// the end's line, held as offsets that edits inside the range leave alone.
void teSetCodeRangeUndo(const TePos *start, const TePos *end);
void teClearCodeRangeUndo();
// Replaces those lines by the saved stream's, selection and caret restored.
int teRestoreCodeRange(HWND window, const char *stream);

// ---- deleting and inserting
// Deletes the bytes between two positions (either order), joining lines;
// the caret at the start, no selection; lines re-broken or measured.
BOOL teDeleteRange(HWND window, const TePos *start, const TePos *end);
// Deletes the selected text; FALSE when nothing is selected.
BOOL teDeleteSelection(HWND window);
// Inserts a text stream at the caret, split into lines at its paragraph
// returns (CR LF and a lone LF count as one); the caret after it. fmt is
// the format at the caret (or null): the new lines take the format that
// runs on from the caret line's start. The bytes inserted.
int32_t teInsertStreamAtCaret(HWND window, const char *stream, const CharFormat *fmt);

// ---- typing and deleting (1 when the text changed)
int teInsertChar(HWND window, char byte);
int teInsertDbcs(HWND window, const char pair[2]);
int teNewParagraph(HWND window);
int teBackspace(HWND window);
int teDelete(HWND window);
int teDeleteForward(HWND window);

// ---- format changes
// Applies the change from oldFmt to newFmt over the selection (undo kind
// 11, codes of the code kind stripped from it) or at the caret (kind 9).
int teApplyFormatChange(HWND window, const CharFormat *oldFmt, const CharFormat *newFmt,
                        int codeKind);
// Attribute commands 456, 457, 459, 461, 462, 463, 468, 477, 478.
int teToggleAttribute(HWND window, int command, BOOL on);
int teFontCommand(HWND window);
int teSizeCommand(HWND window);
int teSpacingCommand(HWND window);
int teSetFaceByName(HWND window, const char *face);
int teSetSizeByName(HWND window, const char *size);
// 487 UPPERCASE, 488 lowercase, 497 Title Case over the selection.
int teChangeCase(HWND window, int command);
// 350 "Object Foreground", 351 "Object Background", 352 "Object Frame".
int teObjectColour(HWND window, int command);

// ---- images
// The embedded image object of a picture file (width limited to the
// frame's); 0 when the file cannot be read or its name is too long
// ("Image file name too long.  Can not insert." when messages are asked).
MemHandle teMakeImageObject(HWND window, const char *fileName, int32_t widthLimit,
                            BOOL showMessages);
// 206 Insert and 236: asks for a picture file and inserts it at the caret.
int teInsertImage(HWND window);
// Inserts a picture file's image object at the caret; 1 when inserted.
int teInsertImageFile(HWND window, const char *fileName);
void teSetImageOption(uint32_t value);
uint32_t teGetImageOption();

// The select byte of a format (codes 113 and 114).
void teFormatSetSelect(CharFormat *fmt);
void teFormatClearSelect(CharFormat *fmt);

// ---- text of a range
// CF_TEXT of a range (paragraph returns as CR LF, codes and objects
// dropped), its length and character count; the plain text with lines
// joined by LF into a buffer (at least teRangeTextLength + 1 bytes).
MemHandle teRangeToText(const TePos *start, const TePos *end);
int32_t teRangeTextLength(const TePos *start, const TePos *end);
int32_t teRangeCharCount(const TePos *start, const TePos *end);
int32_t teRangeToPlain(const TePos *start, const TePos *end, char *buffer);

// ---- scrolling commands
int teScrollLineUp(HWND window);
int teScrollLineDown(HWND window);
int teScrollPageUp(HWND window);
int teScrollPageDown(HWND window);

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
