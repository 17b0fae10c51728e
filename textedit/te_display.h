// The editor's display: while a text is edited the editor paints it itself
// on the session DC. Every edit first notes what it may disturb (changed
// lines, an area to erase, the extent of the lines before the change); the
// repaint then compares the new extent with the old one, grows the frame
// when the text outgrew it, erases the noted area and redraws only the
// affected lines. Inside a table cell the area is invalidated instead.
#pragma once
#include "support/qmwin.h"

// ---- notes
void teResetDisplayNotes();
void teNoteBeforeChange(MemHandle line);
void teNoteEditAtCaret();
void teAddChangedArea(const RECT *r);
void teAddChangedFromLine(MemHandle line);
void teMarkLinesChanged(MemHandle from, MemHandle to);
// 1 caret line, 2 caret line to its paragraph's end, 3 the caret's
// paragraph, 4 caret line to the last line, 5 the caret's paragraph start
// to the last line, 10 every line and the frame.
void teMarkRangeChanged(int what);
// The notes as they stand (tests and the key handler): changed line
// indexes (-1 none), the changed area, the old extent.
void teGetDisplayNotes(int32_t *firstChanged, int32_t *lastChanged, RECT *area,
                       int32_t *oldExtent);

// ---- areas
void teTextArea(HWND window, RECT *out);
void teInvalidateText(HWND window, BOOL erase);

// ---- repainting
void teCheckGrowth(HWND window);
void teFlushDisplay(HWND window);
void teRepaintChanges(HWND window);
void teRepaintPending(HWND window);
void teRepaintAfterCommand(HWND window);
void teDrawLines(HDC dc, MemHandle first, MemHandle last);
void teDrawCaretLine(HDC dc);
// The full repaint of the edited text (WM_PAINT while editing); clip in
// twips or null for all.
void tePaintText(HWND window, HDC dc, const RECT *clip);

// Lines drawn so far by teDrawLines and teDrawCaretLine, and the index of
// the first line of the last call (the display tests count repaints).
int32_t teGetDrawnLineCount();
int32_t teGetLastDrawnFirst();
