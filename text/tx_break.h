// Line breaking and laying out text: flowing text broken into lines of a
// width and written as laid-out text (a code 100 before each line).
#pragma once
#include "support/qmwin.h"
#include "text/tx_format.h"

struct TextHeader;

// One line of broken text: links (0 here), the format at the line's first
// byte and its code 100.
#pragma pack(push, 1)
struct TxLineRecord {
    uint32_t prev;
    uint32_t next;
    CharFormat fmt;
    char info[13];
};
#pragma pack(pop)
static_assert(sizeof(TxLineRecord) == 180, "a line record is 180 bytes");

// Breaks s into lines no wider than width; fmt is carried to the end.
// Returns a handle of *lineCount line records, 0 for an empty stream.
MemHandle txBreakIntoLines(HDC dc, const char *s, CharFormat *fmt, int32_t width, int32_t count,
                           const int32_t *tabs, int32_t *lineCount);
// Offset at which the line starting at s breaks inside an overlong run: the
// first character that no longer fits, at least one character in.
int32_t txBreakWord(HDC dc, const char *s, int32_t n, CharFormat *fmt, int32_t width,
                    int32_t count, const int32_t *tabs);
// Where the next line of the width starts (runs measured with one following
// space; tabs, soft line ends and returns are break opportunities), 0 when
// the rest fits; fmt is left as at the break.
int32_t txNextBreak(HDC dc, const char *s, CharFormat *fmt, int32_t width, int32_t count,
                    const int32_t *tabs);
// Laid-out text of s at the width (at least 4 points) with a base format
// made from the LOGFONT; a tab-array code of the stops goes first when asked.
MemHandle txLayoutStream(HDC dc, const char *s, int32_t width, const LOGFONTA *lf,
                         uint16_t align, uint8_t spacing, uint16_t charSpacing, COLORREF fore,
                         COLORREF back, int32_t count, const int32_t *tabs, BOOL writeTabs);
// The same for a stream that may start with its own tab-array code, which
// gives the stops and is written back in front.
MemHandle txBreakLines(HDC dc, int32_t width, const char *stream, const TextHeader *header,
                       uint16_t align, uint8_t spacing);
