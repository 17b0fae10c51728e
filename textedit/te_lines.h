// Line blocks: while a text is edited it is held as one movable block per
// laid-out line, chained both ways, the ends kept in the edit session. A
// block is a line record head (links, the format at the line's first byte,
// its code 100) followed by the line's n text bytes and a 0. Typing changes
// the caret's block in place; re-breaking a paragraph reuses, grows, adds
// and frees its blocks; committing writes the chain back as laid-out text.
#pragma once
#include "support/qmwin.h"
#include "text/tx_break.h"
#include "text/tx_stream.h"

#include <string>

const uint32_t kTeLineHead = sizeof(TxLineRecord);   // 180
const uint16_t kTeLineStep = 32;

// A position in the edited text: a line and a byte offset into its text.
struct TePos {
    MemHandle line;
    int32_t offset;
};

// ---- blocks and links
MemHandle teLineAlloc(MemHandle line, int32_t textLength);
MemHandle teLineNew(const char *text, int32_t length, const CharFormat *fmt);
MemHandle teLinePrev(MemHandle line);
MemHandle teLineNext(MemHandle line);
int32_t teLineLength(MemHandle line);
int32_t teLineHeight(MemHandle line);
int32_t teLineWidth(MemHandle line);
int32_t teLineBaseline(MemHandle line);
BOOL teLineGetFormat(MemHandle line, CharFormat *out);
BOOL teLineEndFormat(MemHandle line, CharFormat *out);
void teLineLink(MemHandle a, MemHandle b);
void teLineInsertAfter(MemHandle after, MemHandle line);
void teLineInsertMeasured(MemHandle after, MemHandle line);
void teLineAppend(MemHandle line);
void teSetLineList(MemHandle first);
void teLineFree(MemHandle line);
void teLinesFree(MemHandle from, MemHandle to);
void teLinesFreeAll();
void teLinesClear();
BOOL teLineReplaceFrom(MemHandle line, MemHandle saved);
MemHandle teLineSetText(MemHandle line, const char *stream);
MemHandle teLineAppendBytes(MemHandle line, const char *bytes, int32_t count);
int32_t teLineInsertStream(MemHandle *line, int32_t offset, const char *stream);
// Locked access to one block; the text pointer and its line information.
char *teLineText(TxLineRecord *rec);
TxLineInfo *teLineInfo(TxLineRecord *rec);
// A copy of the line's text bytes (bounded by its n); empty for none.
std::string teLineString(MemHandle line);
// Moves the caret and selection ends in the line at (inclusive) or after `at`
// by delta.
void teShiftPositions(MemHandle line, int32_t at, int32_t delta, BOOL inclusive);
// Called when growing a block moved it: the caret and the selection follow.
void teLineMoved(MemHandle from, MemHandle to);

// ---- navigation
int32_t teLineIndex(MemHandle line);
MemHandle teLineAt(int32_t index);
int32_t teLineCount();
int32_t teCaretLineIndex();
BOOL teLineEndsPara(MemHandle line);
MemHandle teLinePrevInPara(MemHandle line);
MemHandle teParaFirstLine(MemHandle line);
MemHandle teParaLastLine(MemHandle line);
MemHandle teNextParaLine(MemHandle line);
void teParaLines(MemHandle line, MemHandle *first, MemHandle *last);
BOOL teParaRange(MemHandle line, TePos *start, TePos *end);
BOOL teAtParaStart(const TePos *pos);

// ---- paragraph text
int32_t teParaLength(MemHandle line);
MemHandle teParaStream(MemHandle line);
int32_t teParaText(const TePos *pos, MemHandle *nextLine, MemHandle *buffer);

// ---- measuring
HDC teGetMeasuringDC(BOOL *release);
void teReleaseMeasuringDC(HDC dc, BOOL release);
void teMeasureLines(MemHandle first, CharFormat *fmt, MemHandle last);
void teMeasureLine(MemHandle line, const CharFormat *fmt);

// ---- streams out
int32_t teBytesBetween(const TePos *start, const TePos *end);
MemHandle teGetRangeText(const TePos *start, const TePos *end);
MemHandle teLinesToStream(MemHandle from, MemHandle to);
int32_t teLinesStreamLength(MemHandle from, MemHandle to);
int32_t teWriteLines(char *dst, MemHandle from, MemHandle to);

// ---- building from a stream
MemHandle teLinesFromStream(const char *stream, MemHandle after, const CharFormat *fmt);

// ---- codes in lines
BOOL teFindCodeForward(TePos *pos, int code);
BOOL teFindCodeBackward(TePos *pos, int code);
char *teLockAt(const TePos *pos);
void teUnlockAt(const TePos *pos);
int32_t teDeleteCodeAt(const TePos *pos);
int32_t teLineStripCode(MemHandle line, int code);
int32_t teLineStripCodeAt(MemHandle line, int code, TePos *pos);
BOOL teStripCodeInLines(MemHandle from, MemHandle to, int code, TePos *pos);

// ---- line positions (twips)
// Horizontal lines hang from the frame's top (no vertical centring or
// bottom placement, or the text is clipped to its frame).
BOOL teIsTopPlaced();
int32_t teLineTop(MemHandle line);
int32_t teLineBottom(MemHandle line);
int32_t teLineLeft(MemHandle line);
int32_t teLineRight(MemHandle line);
MemHandle teLineAtY(int32_t y, int32_t *top);
MemHandle teLineAtX(int32_t x, int32_t *edge);

// ---- re-breaking
MemHandle teRewrapPara(TePos *pos, int32_t width, CharFormat *fmt, BOOL wantFirstChanged,
                       BOOL force);
MemHandle teRewrapFrom(MemHandle line, BOOL force);
MemHandle teRewrapParas(MemHandle from, MemHandle to);
MemHandle teRewrapParasEx(MemHandle from, MemHandle *to);
void teRewrapAll();

// ---- the editor's line geometry
int32_t teMaxLineWidth();
int32_t teDepthFrom(MemHandle line);
void teLinesRect(RECT *out);
void teRectFromLine(MemHandle line, RECT *out);
void teRectBetween(MemHandle first, MemHandle last, RECT *out);
MemHandle teLineAtTop(const RECT *r);
MemHandle teLineAtBottom(const RECT *r);
void teLinesInRect(const RECT *r, MemHandle *first, MemHandle *last);
int teSetFrame(HWND window, const RECT *r);
int teGrowHeight(HWND window, int32_t depth);
int teGrowWidth(HWND window, int32_t width);
