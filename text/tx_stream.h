// Text streams: the zero-terminated byte strings of all formatted text
// (text objects, labels, cells, fields, the editor, the "QM32Text"
// clipboard format). Characters, layout bytes, control codes bracketed by
// ESC and FS and embedded objects bracketed by GS and RS follow one another;
// the format in force at a byte is found by applying every code before it
// (text/tx_format.h).
//
// A control code: ESC, L, code number, payload (L - 3 bytes), L, FS; the
// unit is L + 2 bytes. An embedded object has the same frame with GS, a kind
// and RS. Numbers in payloads are little-endian and unaligned.
#pragma once
#include "support/qmwin.h"

struct CharFormat;

// Byte classes.
enum : uint8_t {
    TX_END = 0,
    TX_INDENT = 5,   // hanging indent: following lines start at the next tab stop
    TX_TAB = 9,
    TX_SEOL = 10,    // soft line end made by layout
    TX_RETURN = 13,  // paragraph return
    TX_ESC = 27,     // control code start
    TX_FS = 28,      // control code end
    TX_GS = 29,      // embedded object start
    TX_RS = 30,      // embedded object end
};

// Control code numbers.
enum TxCode : int {
    TXC_BOLD_ON = 1, TXC_BOLD_OFF = 2, TXC_ITALIC_ON = 3, TXC_ITALIC_OFF = 4,
    TXC_UNDERLINE_ON = 5, TXC_UNDERLINE_OFF = 6, TXC_STRIKE_ON = 7, TXC_STRIKE_OFF = 8,
    TXC_SUB_ON = 9, TXC_SUB_OFF = 10, TXC_SUP_ON = 11, TXC_SUP_OFF = 12,
    TXC_HEIGHT = 13, TXC_FACE = 14, TXC_CHARSET = 15, TXC_OUT_PRECISION = 16,
    TXC_CLIP_PRECISION = 17, TXC_QUALITY = 18, TXC_PITCH_FAMILY = 19,
    TXC_ESCAPEMENT = 20, TXC_ORIENTATION = 21, TXC_INVERSE_ON = 22, TXC_INVERSE_OFF = 23,
    TXC_OPAQUE_ON = 24, TXC_OPAQUE_OFF = 25, TXC_WEIGHT = 32, TXC_ANY = 40,
    TXC_OFFSET = 42, TXC_POSITION = 43, TXC_ALIGN = 45, TXC_SPACING = 46,
    TXC_JUSTIFY_ON = 47, TXC_JUSTIFY_OFF = 48, TXC_FORE = 50, TXC_BACK = 51,
    TXC_OVERSTRIKE_ON = 60, TXC_OVERSTRIKE_OFF = 61, TXC_WIDTH = 62, TXC_NEW_COLUMN = 63,
    TXC_MOVE_LINE_RECT = 65, TXC_SET_LINE_RECT = 66, TXC_RESET_LINE_RECT = 67,
    TXC_ADD_TAB = 70, TXC_DEL_TAB = 71, TXC_REP_TAB = 72, TXC_TAB_ARRAY = 73,
    TXC_APPEND_TABS = 74, TXC_PLACEMENT = 75, TXC_LEFT_OFFSET = 80, TXC_RIGHT_OFFSET = 81,
    TXC_MARK_ON = 96, TXC_MARK_OFF = 97, TXC_TEMP_ON = 98, TXC_TEMP_OFF = 99,
    TXC_LINE_INFO = 100, TXC_PAGE_BREAK = 101, TXC_SKIP_ON = 102, TXC_SKIP_OFF = 103,
    TXC_HYPER_MARK = 110, TXC_HYPER_OFF = 111, TXC_HYPER_ON = 112,
    TXC_SELECT_ON = 113, TXC_SELECT_OFF = 114, TXC_CARET = 116, TXC_ANCHOR = 117,
    TXC_CHAR_SPACING = 180,
};

// Embedded object kinds.
enum : int { TXO_SYMBOL = 1, TXO_OBJECT = 2, TXO_IMAGE = 3 };
const uint32_t kTxImageFixed = 34;    // an image unit's bytes besides its file name

const int32_t kTxLineInfoSize = 13;   // a code 100
const int32_t kTxMaxString = 251;     // characters of a string payload
const int32_t kTxMaxBlock = 249;      // bytes of a block payload
const int32_t kTxMaxTabs = 125;       // stops of a tab array

// Line information (code 100) payload.
#pragma pack(push, 1)
struct TxLineInfo {
    int16_t n;      // bytes of the line's text that follow the code
    int16_t nBLO;   // baseline offset from the top of the line
    uint16_t W;     // width, twips
    uint16_t H;     // height, twips
};
#pragma pack(pop)
static_assert(sizeof(TxLineInfo) == 8, "code 100 payload is 8 bytes");

// Code classes.
int txOppositeCode(int code);
BOOL txIsFontCode(int code);     // 1-8, 13-21, 32, 62
BOOL txIsAttrCode(int code);     // 1-12
BOOL txIsScriptCode(int code);   // 9-12
BOOL txIsParaCode(int code);     // 45-48
BOOL txIsHyperCode(int code);    // 110-112

// ---- builders: each writes a whole unit at dst and returns its length (0
// and nothing written when refused); dst must have room.
// payload: flag codes none; word codes a 16-bit value; dword codes a 32-bit
// value; string codes a zero-terminated text; 43 and 65 two 32-bit values;
// 66 four; 73 and 74 a 16-bit count then the 16-bit positions.
int32_t txMakeCode(char *dst, int code, const void *payload);
int32_t txMakeFlagCode(char *dst, int code);
int32_t txMakeWordCode(char *dst, int code, int16_t value);
int32_t txMakeDwordCode(char *dst, int code, uint32_t value);
int32_t txMakeStringCode(char *dst, int code, const char *text);   // 0 above 251 characters
int32_t txMakeFaceCode(char *dst, const char *face);
int32_t txMakeBlockCode(char *dst, int code, const void *bytes, int32_t n);  // n <= 249
int32_t txMakeTabArrayCode(char *dst, int code, const int16_t *tabs);       // 1..125 stops
int32_t txMakeOffsetCode(char *dst, uint32_t packed);
// Moves the whole stream (terminator included) up and writes the code at
// its head: the stream's room must take the extra bytes.
int32_t txInsertWordCode(char *stream, int code, int16_t value);   // the new length
int32_t txInsertPositionCode(char *stream, const int32_t xy[2]);   // the code's length
int32_t txMakeSymbolObject(char *dst, uint16_t n);
// The unit size a code will have; payload as for txMakeCode (only strings
// and tab arrays are read). 0 for numbers the builders do not write.
int32_t txCodeSize(int code, const void *payload);

// ---- unit readers
int txCodeNumber(const char *p);          // 0 when p is not an ESC
int32_t txCodeUnitSize(const char *p);    // L + 2, 0 when not an ESC
int32_t txObjectSize(const char *p);      // L + 2, 0 when not a GS
int32_t txSkipCodeAt(const char *s, int32_t off);
int32_t txSkipCodes(const char *s, int32_t off);
int32_t txObjectUnitSize(const char *s, int32_t off);   // past an object, else off
int32_t txSkipParaCodes(int32_t off, const char *s);
BOOL txIsLineInfo(const char *p);
char *txFindLineInfo(char *s);
// The payload address of the code or object at p.
inline const uint8_t *txPayload(const char *p) { return reinterpret_cast<const uint8_t *>(p) + 3; }
// The end of the one unit at off (a whole code or object, else one byte);
// off itself at the terminator.
inline int32_t txUnitEnd(const char *s, int32_t off)
{
    uint8_t b = (uint8_t)s[off];
    return b == 0 ? off : (b == 27 || b == 29) ? off + (uint8_t)s[off + 1] + 2 : off + 1;
}
// The length of a stream held in size bytes (units stepped whole, so the
// zeros inside code payloads do not end it); at most size.
inline int32_t txstrnlen(const char *s, int32_t size)
{
    int32_t i = 0;
    while (i < size && s[i]) {
        int32_t n = txUnitEnd(s, i);
        if (n > size)
            return size;
        i = n;
    }
    return i < size ? i : size;
}

// ---- backward readers (off at an FS or RS)
int32_t txCodeBefore(const char *s, int32_t off);
int32_t txCodesBefore(const char *s, int32_t off);
int32_t txObjectBefore(const char *s, int32_t off);

// ---- walkers and counters (codes and objects stepped over whole)
int32_t txstrlen(const char *s);
int32_t txCharCount(const char *s, BOOL countObjects);
int32_t txCharCountAll(const char *s);
BOOL txHasText(const char *s, BOOL countObjects);
int32_t txCharCountDBCS(const char *s, BOOL countObjects, CharFormat *fmt);
char *txNthChar(char *s, int32_t n);
BOOL txTruncateAt(char *s, int32_t n);
// The line at s: its length and its length with its end; returns where the
// next line starts, null when s is at the end.
char *txNextLine(char *s, int32_t *len, int32_t *lenWithEnd);
int32_t txLineCount(const char *s);
int32_t txNextUnit(const char *s, int32_t off);
int32_t txNextCharDBCS(const char *s, int32_t off, uint32_t codePage);
int32_t txNextCharPair(const char *s, int32_t off);
int32_t txPrevUnit(const char *s, int32_t off);
char *txSkipUnits(char *p);
int32_t txSkipCharRun(const char *s, int32_t off, char c);
int32_t txSkipCharRunBack(const char *s, int32_t off, char c);
char *txNextWord(char *p);
// 1 when byte b of the code page starts a two-byte character (and the next
// byte is not the terminator).
BOOL txIsDBCSLead(uint32_t codePage, const char *p);

// ---- search and copy
char *txstrcpy(char *dst, const char *src);
char *txstrcat(char *dst, const char *src);
BOOL txstrstr(const char *s, const char *text, int32_t range[2]);
BOOL txstristr(const char *s, const char *text, int32_t range[2]);
char *txstrchr(char *s, char c);
char *txstrnchr(char *s, int32_t n, char c);
char *txstrpbrk(char *s, const char *set);
char *txstrrchr(char *s, int32_t off, char c);
int32_t txstrrevpbrk(const char *s, int32_t off, const char *set);
char *txFindNextCode(char *p);
char *txFindCode(char *p, int code);
BOOL txHasFontCode(const char *s);
BOOL txHasJustifyAlign(const char *s);

// ---- editing in place
int32_t txDeleteCodeAt(char *s, int32_t off);
int32_t txDeleteObjectAt(char *s, int32_t off);
int32_t txStripCode(char *s, int code);        // code 0: every code
int32_t txStripAllCodes(char *s);
MemHandle txStripAllCodesH(MemHandle h);
int32_t txStripFontCodes(char *s);
int32_t txStripParaCodes(char *s);
int32_t txStripChar(char *s, char c);
int32_t txStripLayoutCodes(char *s);
void txSymbolToChar(char *obj, char c);
void txSymbolToPair(char *obj, const char pair[2]);
void txUpperCase(char *s);
void txLowerCase(char *s);
void txTitleCase(char *s);
int32_t txAlignOffset(const char *s, const CharFormat *fmt, int32_t off);

// ---- validation
int32_t txCheckCode(const char *p);
int32_t txCheckObject(const char *p);
int32_t txCheckStream(const char *s);
// The check for streams from files, blocks and the clipboard: every unit
// must lie within `size` bytes, carry the payload its number needs and
// frame correctly, and the terminator must come before `size`. Returns the
// stream's length, -1 when anything fails. Reads nothing at or past size.
int32_t txCheckStreamBounded(const char *s, uint32_t size);

// ---- hyperlinks
int32_t txCleanHyperlinks(char *s);
MemHandle txCloseHyperlinks(MemHandle h);
// Rewrites the n of every code 100 to the bytes up to the next one (the
// last: up to the end).
void txFixLineLengths(char *s);
