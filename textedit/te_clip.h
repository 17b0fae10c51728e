// The text clipboard and the edit operations over the edited text: the
// private "QM32Text" format (a TextStream that starts with the codes of the
// format in force at the start of the copied range) beside CF_TEXT with
// CR LF line ends; Copy, Cut and Paste of the editor; the paragraph codes
// (alignment, line spacing) applied to the selected paragraphs.
#pragma once
#include "support/qmwin.h"
#include "textedit/te_lines.h"

// Registers "QM32Text" once and returns its id; a failure shows its message
// and gives 0 (tried again on the next call).
UINT teRegisterClipFormat();
// 1 when CF_TEXT is on the clipboard, or when the edited text takes formats
// and "QM32Text" is on it.
BOOL teCanPaste();

// A whole text object's text for the clipboard, which the caller has opened
// and emptied: "QM32Text" (the base format's codes, then the stream) when
// the object has text, then CF_TEXT. 1 when anything was placed.
int teCopyObjectText(MemHandle object);

// ---- bounded readers of clipboard data (the clipboard open)
// CF_TEXT read within its block (no terminator needed): CR LF, lone CR and
// lone LF become paragraph returns (13), other bytes below 32 but the tab
// become blanks. A new zero-terminated handle; 0 when empty or unreadable.
MemHandle teClipReadText(HANDLE data);
// "QM32Text" read within its block: 0 with a beep when the stream fails the
// bounded check; else a copy without its layout (line information, soft
// line ends, page and column breaks).
MemHandle teClipReadStream(HANDLE data);
// The same over a byte range (tests and callers holding bytes).
MemHandle teClipTextFromBytes(const char *bytes, uint32_t size);
MemHandle teClipStreamFromBytes(const char *bytes, uint32_t size);

// The data made for a copy: the QM32Text block of a stream that starts in
// a format, and the CF_TEXT of a stream (codes and objects dropped, soft
// line ends dropped, returns as CR LF). Global movable blocks.
HGLOBAL teMakeClipStream(const char *stream, const CharFormat *fmt);
HGLOBAL teMakeClipText(const char *stream);

// ---- the editor's operations
int teCopy(HWND window);
// 1 when text was pasted; 0 when the clipboard holds nothing the editor
// takes (the command goes on to the object paste); -1 when the editor took
// the command but pasted nothing (a damaged stream refused with a beep, or
// a paste cancelled with its message).
int tePasteClipboard(HWND window);
int tePaste(HWND window, MemHandle stream, BOOL formatted);
int tePasteHandle(HWND window, MemHandle stream);
// The message code of the last paste: 0 none, 1 too long for the text area,
// 2 too long for the page.
uint16_t teGetPasteMessage();
// The pasted text's range.
void teGetPasteRange(TePos *start, TePos *end);

// Paragraph codes over the selected paragraphs (or the caret's): alignment
// (code 45) with a value, and the line spacing dialog then code 46.
int teApplyParagraphCode(HWND window, int32_t value);
int teLineSpacingCommand(HWND window);
// Writes a paragraph code of a kind with a value over the range's
// paragraphs, with the undo step (kind 13) holding the range's lines.
int teApplyParagraphCodeKind(HWND window, int code, int32_t value);

// Keeps the first line of a stream: cut at the first paragraph return or
// LF outside a code's or object's payload. The new length.
int32_t teKeepFirstLine(char *stream);
