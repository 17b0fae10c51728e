// The text object (type 40): a box, a TextHeader, a table of tab stops and
// a text stream, after the common object head and the name. Type data:
//   0  u32 box width, 4 u32 box height, 8 TextHeader (122 bytes),
//   130 n u32 tab stops, 130 + 4n the stream with its terminator (L bytes,
//   none when L is 0).
// Operations that rewrite the stream return the handle to use afterwards.
#pragma once
#include "support/qmwin.h"
#include "text/tx_header.h"

struct CharFormat;

const uint32_t kTxDataFixed = 130;      // box size and header
const uint32_t kTxRecordFixed = 216;    // head, box size and header

// ---- construction and whole records
MemHandle txNewTextObject(const RECT *box, const COLORREF colours[3], const TextHeader *header,
                          const char *stream);
MemHandle txNewPlainTextObject(HWND window, const RECT *box, const TextHeader *header,
                               const char *text);
BOOL txSplitRecord(MemHandle object, MemHandle parts[4]);
MemHandle txJoinRecord(MemHandle parts[4]);
uint32_t txRecordSize(MemHandle object);
// The size of a locked record held in blockSize bytes (the dispatch's
// form): what the header says when it fits, else what is held.
struct ObjectRecord;
uint32_t txRecSize(ObjectRecord *rec, uint32_t blockSize);

// ---- accessors (a null handle reads as 0)
BOOL txIsVertical(MemHandle h);
BOOL txIsRightToLeft(MemHandle h);
BOOL txIsVerticalOrRtl(MemHandle h);
BOOL txIsWrapped(MemHandle h);
BOOL txIsCurved(MemHandle h);
BOOL txHasColumns(MemHandle h);
BOOL txIsOpaque(MemHandle h);
void txSetOpaque(MemHandle h, BOOL on);
BOOL txSetRuled(MemHandle h, BOOL on);
void txSetRightToLeft(MemHandle h, BOOL on);
void txSetOrigin(MemHandle h, const POINT *origin);
BOOL txGetOrigin(MemHandle h, POINT *origin);
uint32_t txGetStreamLength(MemHandle h);
char *txLockStream(MemHandle h);           // the caller unlocks (utUnlock)
TextHeader *txLockHeader(MemHandle h);
MemHandle txCopyStream(MemHandle h);
void txSetBoxSize(MemHandle h, int32_t width, int32_t height);
BOOL txGetBoxRect(MemHandle h, RECT *r);
BOOL txGetTextRect(MemHandle h, RECT *r);
void txInsetByBorder(RECT *r, const TextHeader *header);
uint16_t txGetCharSpacing(MemHandle h);
BOOL txHasFontCodes(MemHandle h);
BOOL txHasObjectText(MemHandle h);
int32_t txCountLines(MemHandle h);
BOOL txGetCharFormat(MemHandle h, CharFormat *fmt);
MemHandle txGetStreamWithTabs(MemHandle h, int32_t *length);
// The tab stops of a line of the text rectangle's width (its height for
// vertical text): a new handle of u32 stops, 0 for none.
// header: a record's own (txLockHeader), whose tab table follows it.
MemHandle txGetTabStops(const RECT *textRect, const TextHeader *header, BOOL vertical,
                        int32_t *count, int32_t *spacing);
MemHandle txRefitTabs(MemHandle h);
