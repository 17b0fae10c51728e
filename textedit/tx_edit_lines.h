// The format operations that work on the text editor's line blocks: code
// stripping over a range, format changes written into the text, checking
// blocks, and the two saved positions of a format change's undo.
#pragma once
#include "support/qmwin.h"
#include "text/tx_format.h"

struct TePos;

// Removes the codes of a kind from start up to end (end, the caret and the
// selection ends move back with each removal): 27 script codes, 28
// paragraph codes, 29 font codes, 30 attribute codes, else that code (and
// its opposite when asked). The lines are measured again when asked.
BOOL txStripCodeKindInLines(const TePos *start, TePos *end, int code, BOOL withOpposite,
                            BOOL relayout);
// Writes the codes that turn oldFmt into newFmt at pos; the bytes written.
int32_t txInsertFormatChange(TePos *pos, const CharFormat *oldFmt, const CharFormat *newFmt);
// A block whose text fails the stream check is left as it was (0); else
// its length is set from the check (and its codes normalised when asked).
BOOL txCheckLineBlock(MemHandle block, BOOL renormalise);
// 0 at the first block that fails the check, else 1.
BOOL txCheckAllLines();
void txResetFormatUndo();
void txGetFormatUndo(int32_t *a, int32_t *b);
void txSetFormatUndo(int32_t a, int32_t b);
// The undo of a format change: the text between the two saved positions
// (the changed text with its codes) is replaced by the saved stream, the
// selection and caret restored and the lines marked for repainting.
void txReapplyFormatUndo(HWND window, const char *saved);
