// Character formats: the complete character and paragraph state at one
// point of a text stream, how each control code changes it, and the way
// back from a format (or the difference of two) to codes.
#pragma once
#include "support/qmwin.h"

struct TextHeader;

#pragma pack(push, 1)
struct CharFormat {
    LOGFONTA lf;            // height in twips (negative: character height)
    uint32_t codePage;      // for double-byte tests, from the character set
    uint32_t foreColor;     // text colour
    uint32_t reserved1;
    uint32_t backColor;
    uint16_t align;         // AlignWord
    uint8_t subscript;
    uint8_t superscript;
    uint8_t inverse;        // text and background colours swap when painted
    uint8_t bkMode;         // 1 transparent, 2 opaque
    uint8_t spacing;        // line spacing in quarter lines, 4 = single
    uint8_t indentLevel;    // tab-stop index of the left margin after an indent byte
    uint8_t indentAux;
    uint8_t justify;
    uint8_t overstrike;
    uint8_t hyperlink;
    uint8_t selected;
    uint8_t temp;
    uint8_t skip;
    int16_t leftOffset;     // paragraph offsets, twips
    int16_t rightOffset;
    uint16_t flags;         // TX_FMT_*
    RECT frameRect;         // the text frame, twips
    RECT lineRect;          // the rectangle lines are laid into
    int32_t borderX;        // border offsets, twips
    int32_t borderY;
    uint8_t reserved2[8];
    uint16_t columns;       // at least 1
    uint16_t columnIndex;
    uint32_t columnFlags;   // bit 0: a new-column code was met
    uint16_t cellWidth;     // fixed character cell width, 0 proportional
    uint16_t charSpacing;   // tenths of a point
    uint16_t ruledExtra;    // ruled-line extra spacing, tenths of a point
};
#pragma pack(pop)
static_assert(sizeof(LOGFONTA) == 60, "a LOGFONT is 60 bytes");
static_assert(sizeof(CharFormat) == 159, "CharFormat is 159 packed bytes");

// CharFormat flags (the header's format word plus three of our own).
enum : uint16_t {
    TX_FMT_NO_PIVOT = 0x1,     // the pen does not pivot at orientation codes
    TX_FMT_RULED = 0x2,        // ruled plain text
    TX_FMT_VERTICAL = 0x4,
    TX_FMT_RTL = 0x8,          // lines stacked right to left
};

// The code page of a character set for double-byte tests (0: the system's
// ANSI code page).
uint32_t txCharsetCodePage(uint8_t charset);

void txFormatFromLogFont(CharFormat *fmt, const LOGFONTA *lf, uint16_t align, uint8_t spacing,
                         uint16_t charSpacing, COLORREF fore, COLORREF back);
void txFormatFromHeader(CharFormat *fmt, const TextHeader *header, const RECT *frameRect,
                        COLORREF fore, COLORREF back);

// Applies the code at p to fmt (null: nothing changes) and returns its unit
// length, 0 when p is not an ESC. x and y move with the position codes (43
// from the origin, 42 relatively); offset receives a 42's packed payload (or
// 75's), turn the folded angle of an orientation code, fontChanged is set
// when the font changed. Every output may be null; offset and turn are
// cleared first.
int32_t txApplyCode(CharFormat *fmt, const char *p, int32_t originX, int32_t originY,
                    int32_t *x, int32_t *y, uint32_t *offset, int32_t *turn,
                    BOOL *fontChanged);
int32_t txApplyCodeSimple(CharFormat *fmt, const char *p, uint32_t *offset, BOOL *fontChanged);
// Every code of the run at p; the bytes consumed. offset: the sums of the
// x and y halves, each kept in 16 bits; fontChanged: any code changed the
// font. The ...ToLink form stops before a hyperlink code (110-112).
int32_t txApplyCodeRun(CharFormat *fmt, const char *p, uint32_t *offset, BOOL *fontChanged);
int32_t txApplyCodeRunToLink(CharFormat *fmt, const char *p, uint32_t *offset,
                             BOOL *fontChanged);
const char *txSkipApplyCodes(const char *p, CharFormat *fmt, int32_t *len);
// The turn an orientation code (21) at p carries, 0 for any other code.
int32_t txCodeAngle(const char *p, int32_t *len);
// Applies the codes of the first n bytes of s to fmt; paragraph returns
// clear the indent level. A range holding an indent byte is walked by the
// line measurer on dc instead, which sets the indent level from the tab
// stops.
void txApplyRange(HDC dc, const char *s, int32_t n, CharFormat *fmt, int32_t count = 0,
                  const int32_t *tabs = nullptr);

BOOL txFormatHasAttr(const CharFormat *fmt, int code);
void txSetFormatAttr(CharFormat *fmt, int code, BOOL on);

// The whole format as codes.
int32_t txEncodeFormat(char *dst, const CharFormat *fmt);
int32_t txEncodeFormatSize(const CharFormat *fmt);
MemHandle txFormatToCodes(const CharFormat *fmt);
MemHandle txPrefixFormat(MemHandle h, const CharFormat *fmt);
MemHandle txAppendFormat(MemHandle h, const CharFormat *fmt);

// The codes that turn oldFmt into newFmt; the size is exact.
int32_t txEncodeFormatChange(char *dst, const CharFormat *oldFmt, const CharFormat *newFmt);
int32_t txFormatChangeSize(const CharFormat *oldFmt, const CharFormat *newFmt);

// Collapses each run of codes into the shortest run giving the same format
// (never longer than the run it replaces, so the stream only shrinks). fmt
// is the format at the start and becomes the format at the end. The line
// lengths of laid-out text are brought up to date. Returns the new length.
int32_t txNormaliseCodes(char *s, CharFormat *fmt);
int32_t txNormaliseStream(char *s, CharFormat *fmt, int32_t *pos);
int32_t txNormaliseRange(char *s, CharFormat *fmt, int32_t *start, int32_t *end);
