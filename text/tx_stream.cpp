// Text streams: building codes, walking, searching, cutting, checking and
// cleaning streams. Walkers step over a code or an embedded object whole
// (L + 2 bytes) and never look inside a payload, so payload bytes that look
// like terminators, returns or ESC are harmless.
#include "text/tx_stream.h"
#include "text/tx_format.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resources/resource.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

inline bool isUnitStart(uint8_t b) { return b == TX_ESC || b == TX_GS; }

// The offset after the code, object or single byte at off (off at the end).
inline int32_t stepUnit(const char *s, int32_t off)
{
    uint8_t b = B(s, off);
    if (b == 0)
        return off;
    if (isUnitStart(b))
        return off + B(s, off + 1) + 2;
    return off + 1;
}

inline uint16_t rd16(const void *p)
{
    uint16_t v;
    memcpy(&v, p, 2);
    return v;
}

inline void wr16(void *p, uint16_t v) { memcpy(p, &v, 2); }

// Writes the frame of a unit with an n-byte payload; returns its length.
int32_t frame(char *dst, uint8_t start, uint8_t end, int code, const void *payload, int32_t n)
{
    uint8_t L = (uint8_t)(n + 3);
    dst[0] = (char)start;
    dst[1] = (char)L;
    dst[2] = (char)code;
    if (n)
        memcpy(dst + 3, payload, (size_t)n);
    dst[L] = (char)L;
    dst[L + 1] = (char)end;
    return L + 2;
}

enum Shape { SH_NONE, SH_FLAG, SH_WORD, SH_DWORD, SH_STRING, SH_8, SH_16, SH_TABS };

Shape shapeOf(int code)
{
    if ((code >= 1 && code <= 12) || (code >= 22 && code <= 25) || code == 47 || code == 48 ||
        code == 60 || code == 61 || code == 67 || (code >= 96 && code <= 99) || code == 102 ||
        code == 103 || code == 110 || code == 111 || code == 113 || code == 114 || code == 116)
        return SH_FLAG;
    if (code == 13 || (code >= 15 && code <= 21) || code == 32 || code == 45 || code == 46 ||
        code == 62 || code == 80 || code == 81 || code == 180)
        return SH_WORD;
    if (code == 14 || code == 112 || code == 117)
        return SH_STRING;
    if (code == 42 || code == 50 || code == 51 || code == 63 || (code >= 70 && code <= 72))
        return SH_DWORD;
    if (code == 43 || code == 65)
        return SH_8;
    if (code == 66)
        return SH_16;
    if (code == 73 || code == 74)
        return SH_TABS;
    return SH_NONE;
}

bool validCodeNumber(int c)
{
    return (c >= 1 && c <= 25) || c == 32 || c == 40 || c == 42 || c == 43 ||
           (c >= 45 && c <= 48) || c == 50 || c == 51 || (c >= 60 && c <= 63) ||
           (c >= 70 && c <= 74) || (c >= 96 && c <= 103) || (c >= 110 && c <= 114) ||
           c == 116 || c == 117 || c == 180;
}

void brokenBox(UINT id) { utErrorBoxId(utGetDefaultOwner(), id); }

// The start of the unit that ends with the FS or RS at off, or -1 when the
// bytes there do not frame a unit (start byte, leading L).
int32_t unitStartBefore(const char *s, int32_t off, uint8_t startByte)
{
    if (off < 1)
        return -1;
    uint8_t L = B(s, off - 1);
    int32_t start = off - L - 1;
    if (start < 0 || B(s, start) != startByte || B(s, start + 1) != L)
        return -1;
    return start;
}

// Predicates for the strippers.
template <typename Drop>
int32_t stripUnits(char *s, Drop drop, bool fixLines)
{
    int32_t r = 0, w = 0;
    for (;;) {
        uint8_t b = B(s, r);
        if (b == 0)
            break;
        int32_t next = stepUnit(s, r);
        if (!drop(s + r)) {
            if (w != r)
                memmove(s + w, s + r, (size_t)(next - r));
            w += next - r;
        }
        r = next;
    }
    s[w] = 0;
    if (fixLines)
        txFixLineLengths(s);
    return w;
}

inline uint8_t upperByte(uint8_t c)
{
    char ch = (char)c;
    CharUpperBuffA(&ch, 1);
    return (uint8_t)ch;
}

inline uint8_t lowerByte(uint8_t c)
{
    char ch = (char)c;
    CharLowerBuffA(&ch, 1);
    return (uint8_t)ch;
}

// Plain characters: walks the stream calling fn on every character byte.
template <typename Fn>
void eachChar(char *s, Fn fn)
{
    for (int32_t i = 0; B(s, i);) {
        if (isUnitStart(B(s, i))) {
            i = stepUnit(s, i);
            continue;
        }
        fn(s + i);
        ++i;
    }
}

}  // namespace

// ---- code classes --------------------------------------------------------

int txOppositeCode(int code)
{
    switch (code) {
    case 1: return 2;   case 2: return 1;   case 3: return 4;   case 4: return 3;
    case 5: return 6;   case 6: return 5;   case 7: return 8;   case 8: return 7;
    case 9: return 10;  case 10: return 9;  case 11: return 12; case 12: return 11;
    case 22: return 23; case 23: return 22; case 24: return 25; case 25: return 24;
    case 47: return 48; case 48: return 47; case 60: return 61; case 61: return 60;
    case 96: return 97; case 97: return 96; case 98: return 99; case 99: return 98;
    case 102: return 103; case 103: return 102; case 110: return 111; case 111: return 110;
    case 113: return 114; case 114: return 113;
    default: return 0;
    }
}

BOOL txIsFontCode(int c) { return (c >= 1 && c <= 8) || (c >= 13 && c <= 21) || c == 32 || c == 62; }
BOOL txIsAttrCode(int c) { return c >= 1 && c <= 12; }
BOOL txIsScriptCode(int c) { return c >= 9 && c <= 12; }
BOOL txIsParaCode(int c) { return c >= 45 && c <= 48; }
BOOL txIsHyperCode(int c) { return c >= 110 && c <= 112; }

// ---- builders ------------------------------------------------------------

int32_t txMakeFlagCode(char *dst, int code)
{
    if (code <= 0 || code > 180)
        return 0;
    return frame(dst, TX_ESC, TX_FS, code, nullptr, 0);
}

int32_t txMakeWordCode(char *dst, int code, int16_t value)
{
    if (code <= 0 || code > 180)
        return 0;
    return frame(dst, TX_ESC, TX_FS, code, &value, 2);
}

int32_t txMakeDwordCode(char *dst, int code, uint32_t value)
{
    if (code <= 0 || code > 180)
        return 0;
    return frame(dst, TX_ESC, TX_FS, code, &value, 4);
}

int32_t txMakeStringCode(char *dst, int code, const char *text)
{
    if (code <= 0 || code > 180)
        return 0;
    size_t n = text ? strlen(text) : 0;
    if (n > (size_t)kTxMaxString)   // L is one byte: L = n + 4 must stay below 256
        return 0;
    dst[0] = (char)TX_ESC;
    uint8_t L = (uint8_t)(n + 4);
    dst[1] = (char)L;
    dst[2] = (char)code;
    if (n)
        memcpy(dst + 3, text, n);
    dst[3 + n] = 0;
    dst[L] = (char)L;
    dst[L + 1] = (char)TX_FS;
    return L + 2;
}

int32_t txMakeFaceCode(char *dst, const char *face) { return txMakeStringCode(dst, TXC_FACE, face); }

int32_t txMakeBlockCode(char *dst, int code, const void *bytes, int32_t n)
{
    if (code <= 0 || code > 180 || n < 0 || n > kTxMaxBlock)
        return 0;
    return frame(dst, TX_ESC, TX_FS, code, bytes, n);
}

int32_t txMakeTabArrayCode(char *dst, int code, const int16_t *tabs)
{
    if (!tabs || code <= 0 || code > 180)
        return 0;
    int16_t c = tabs[0];
    if (c <= 0 || c > kTxMaxTabs)
        return 0;
    return frame(dst, TX_ESC, TX_FS, code, tabs, 2 * c + 2);
}

int32_t txMakeOffsetCode(char *dst, uint32_t packed) { return txMakeDwordCode(dst, TXC_OFFSET, packed); }

int32_t txMakeCode(char *dst, int code, const void *payload)
{
    if (code <= 0 || code > 180)
        return 0;
    switch (shapeOf(code)) {
    case SH_FLAG: return txMakeFlagCode(dst, code);
    case SH_WORD: return payload ? frame(dst, TX_ESC, TX_FS, code, payload, 2) : 0;
    case SH_DWORD: return payload ? frame(dst, TX_ESC, TX_FS, code, payload, 4) : 0;
    case SH_STRING: return txMakeStringCode(dst, code, (const char *)payload);
    case SH_8: return payload ? frame(dst, TX_ESC, TX_FS, code, payload, 8) : 0;
    case SH_16: return payload ? frame(dst, TX_ESC, TX_FS, code, payload, 16) : 0;
    case SH_TABS: return txMakeTabArrayCode(dst, code, (const int16_t *)payload);
    default: return 0;
    }
}

int32_t txCodeSize(int code, const void *payload)
{
    if (code <= 0 || code > 180)
        return 0;
    switch (shapeOf(code)) {
    case SH_FLAG: return 5;
    case SH_WORD: return 7;
    case SH_DWORD: return 9;
    case SH_8: return 13;
    case SH_16: return 21;
    case SH_STRING: {
        size_t n = payload ? strlen((const char *)payload) : 0;
        return n > (size_t)kTxMaxString ? 0 : (int32_t)n + 6;
    }
    case SH_TABS: {
        if (!payload)
            return 0;
        int16_t c = rd16(payload);
        return (c <= 0 || c > kTxMaxTabs) ? 0 : 2 * c + 7;
    }
    default: return 0;
    }
}

int32_t txInsertWordCode(char *stream, int code, int16_t value)
{
    int32_t n = txstrlen(stream);
    char unit[8];
    int32_t k = txMakeWordCode(unit, code, value);
    if (!k)
        return n;
    memmove(stream + k, stream, (size_t)n + 1);
    memcpy(stream, unit, (size_t)k);
    return n + k;
}

int32_t txInsertPositionCode(char *stream, const int32_t xy[2])
{
    int32_t n = txstrlen(stream);
    memmove(stream + 13, stream, (size_t)n + 1);
    return frame(stream, TX_ESC, TX_FS, TXC_POSITION, xy, 8);
}

int32_t txMakeSymbolObject(char *dst, uint16_t n) { return frame(dst, TX_GS, TX_RS, TXO_SYMBOL, &n, 2); }

// ---- unit readers --------------------------------------------------------

int txCodeNumber(const char *p) { return (p && B(p, 0) == TX_ESC) ? B(p, 2) : 0; }
int32_t txCodeUnitSize(const char *p) { return (p && B(p, 0) == TX_ESC) ? B(p, 1) + 2 : 0; }
int32_t txObjectSize(const char *p) { return (p && B(p, 0) == TX_GS) ? B(p, 1) + 2 : 0; }

int32_t txSkipCodeAt(const char *s, int32_t off)
{
    return B(s, off) == TX_ESC ? off + B(s, off + 1) + 2 : off;
}

int32_t txSkipCodes(const char *s, int32_t off)
{
    while (B(s, off) == TX_ESC)
        off += B(s, off + 1) + 2;
    return off;
}

int32_t txObjectUnitSize(const char *s, int32_t off)
{
    return B(s, off) == TX_GS ? off + B(s, off + 1) + 2 : off;
}

int32_t txSkipParaCodes(int32_t off, const char *s)
{
    while (B(s, off) == TX_ESC && txIsParaCode(B(s, off + 2)))
        off += B(s, off + 1) + 2;
    return off;
}

BOOL txIsLineInfo(const char *p) { return p && B(p, 0) == TX_ESC && B(p, 2) == TXC_LINE_INFO; }

char *txFindLineInfo(char *s)
{
    for (int32_t i = 0; B(s, i); i = stepUnit(s, i))
        if (txIsLineInfo(s + i))
            return s + i;
    return nullptr;
}

// ---- backward readers ----------------------------------------------------

int32_t txCodeBefore(const char *s, int32_t off)
{
    if (off <= 0)
        return -2;
    if (B(s, off) != TX_FS)
        return off;
    int32_t start = unitStartBefore(s, off, TX_ESC);
    return start < 0 ? -2 : start - 1;
}

int32_t txCodesBefore(const char *s, int32_t off)
{
    while (off >= 0 && B(s, off) == TX_FS) {
        off = txCodeBefore(s, off);
        if (off == -2)
            return -2;
    }
    return off;
}

int32_t txObjectBefore(const char *s, int32_t off)
{
    if (off <= 0)
        return -2;
    if (B(s, off) != TX_RS)
        return off;
    int32_t start = unitStartBefore(s, off, TX_GS);
    return start < 0 ? -2 : start - 1;
}

// ---- walkers and counters ------------------------------------------------

int32_t txstrlen(const char *s)
{
    if (!s)
        return 0;
    int32_t i = 0;
    for (;;) {
        uint8_t b = B(s, i);
        if (b == 0)
            return i;
        i += isUnitStart(b) ? B(s, i + 1) + 2 : 1;
    }
}

int32_t txCharCount(const char *s, BOOL countObjects)
{
    if (!s)
        return 0;
    int32_t n = 0;
    for (int32_t i = 0; B(s, i);) {
        uint8_t b = B(s, i);
        if (b == TX_ESC) {
            i += B(s, i + 1) + 2;
        } else if (b == TX_GS) {
            if (countObjects)
                ++n;
            i += B(s, i + 1) + 2;
        } else {
            ++n;
            ++i;
        }
    }
    return n;
}

int32_t txCharCountAll(const char *s) { return txCharCount(s, TRUE); }

BOOL txHasText(const char *s, BOOL countObjects)
{
    if (!s)
        return FALSE;
    for (int32_t i = 0; B(s, i); i = stepUnit(s, i)) {
        uint8_t b = B(s, i);
        if (b == TX_GS ? countObjects : b != TX_ESC)
            return TRUE;
    }
    return FALSE;
}

BOOL txIsDBCSLead(uint32_t codePage, const char *p)
{
    uint8_t b = B(p, 0);
    return b >= 0x80 && B(p, 1) != 0 && IsDBCSLeadByteEx(codePage, b);
}

int32_t txCharCountDBCS(const char *s, BOOL countObjects, CharFormat *fmt)
{
    if (!s)
        return 0;
    int32_t n = 0;
    for (int32_t i = 0; B(s, i);) {
        uint8_t b = B(s, i);
        if (b == TX_ESC) {
            i += txApplyCodeSimple(fmt, s + i, nullptr, nullptr);
        } else if (b == TX_GS) {
            if (countObjects)
                ++n;
            i += B(s, i + 1) + 2;
        } else {
            ++n;
            i += txIsDBCSLead(fmt ? fmt->codePage : 0, s + i) ? 2 : 1;
        }
    }
    return n;
}

char *txNthChar(char *s, int32_t n)
{
    if (!s || n < 0)
        return nullptr;
    for (int32_t i = 0; B(s, i);) {
        if (isUnitStart(B(s, i))) {
            i = stepUnit(s, i);
            continue;
        }
        if (n-- == 0)
            return s + i;
        ++i;
    }
    return nullptr;
}

BOOL txTruncateAt(char *s, int32_t n)
{
    char *p = txNthChar(s, n);
    if (!p)
        return FALSE;
    *p = 0;
    return TRUE;
}

char *txNextLine(char *s, int32_t *len, int32_t *lenWithEnd)
{
    int32_t a = 0, b = 0;
    char *next = nullptr;
    if (s && B(s, 0)) {
        if (txIsLineInfo(s)) {
            int16_t n = (int16_t)rd16(s + 3);
            a = b = (n > 0 ? n : 0) + kTxLineInfoSize;
            next = s + a;
        } else {
            int32_t i = 0;
            while (B(s, i) && B(s, i) != TX_SEOL && B(s, i) != TX_RETURN &&
                   !(i > 0 && txIsLineInfo(s + i)))
                i = stepUnit(s, i);
            a = b = i;
            if (B(s, i) == TX_RETURN) {
                b = i + 1;
                next = s + b;
                if (B(s, b) == TX_SEOL)
                    ++next;
            } else if (B(s, i) == TX_SEOL) {
                b = i + 1;
                next = s + b;
            } else {
                next = s + i;
            }
        }
    }
    if (len)
        *len = a;
    if (lenWithEnd)
        *lenWithEnd = b;
    return next;
}

int32_t txLineCount(const char *s)
{
    int32_t n = 0;
    char *p = const_cast<char *>(s);
    while (p && *p) {
        p = txNextLine(p, nullptr, nullptr);
        ++n;
    }
    return n;
}

int32_t txNextUnit(const char *s, int32_t off)
{
    off = txSkipCodes(s, off);
    return stepUnit(s, off);
}

int32_t txNextCharDBCS(const char *s, int32_t off, uint32_t codePage)
{
    off = txSkipCodes(s, off);
    uint8_t b = B(s, off);
    if (b == 0 || b == TX_GS)
        return stepUnit(s, off);
    return off + (txIsDBCSLead(codePage, s + off) ? 2 : 1);
}

int32_t txNextCharPair(const char *s, int32_t off)
{
    off = txSkipCodes(s, off);
    uint8_t b = B(s, off);
    if (b == 0 || b == TX_GS)
        return stepUnit(s, off);
    uint8_t t = B(s, off + 1);
    return off + ((t == 0 || isUnitStart(t)) ? 1 : 2);
}

int32_t txPrevUnit(const char *s, int32_t off)
{
    int32_t i = off - 1;
    while (i >= 0) {
        uint8_t b = B(s, i);
        if (b == TX_FS) {
            int32_t start = unitStartBefore(s, i, TX_ESC);
            if (start < 0) {
                brokenBox(IDS_TX_STRDECRINDEX1);
                return -2;
            }
            i = start - 1;
            continue;
        }
        if (b == TX_RS) {
            int32_t start = unitStartBefore(s, i, TX_GS);
            if (start < 0) {
                brokenBox(IDS_TX_STRDECRINDEX2);
                return -2;
            }
            return start;
        }
        return i;
    }
    return -1;
}

char *txSkipUnits(char *p)
{
    while (p && isUnitStart(B(p, 0)))
        p += B(p, 1) + 2;
    return p;
}

int32_t txSkipCharRun(const char *s, int32_t off, char c)
{
    for (;;) {
        uint8_t b = B(s, off);
        if (b == TX_ESC)
            off += B(s, off + 1) + 2;
        else if (b != 0 && b == (uint8_t)c)
            ++off;
        else
            return off;
    }
}

int32_t txSkipCharRunBack(const char *s, int32_t off, char c)
{
    int32_t i = off;
    while (i >= 0) {
        uint8_t b = B(s, i);
        if (b == TX_FS || b == TX_RS) {
            int32_t start = unitStartBefore(s, i, b == TX_FS ? TX_ESC : TX_GS);
            if (start < 0) {
                brokenBox(IDS_TX_STRCHRSKIPREV);
                return 0;
            }
            i = start - 1;
            continue;
        }
        if (b != (uint8_t)c)
            return i;
        --i;
    }
    return 0;
}

char *txNextWord(char *p)
{
    if (!p)
        return nullptr;
    int32_t i = 0;
    for (;;) {
        uint8_t b = B(p, i);
        if (b == 0)
            return nullptr;
        if (b == TX_ESC) {
            bool lineInfo = B(p, i + 2) == TXC_LINE_INFO;
            i += B(p, i + 1) + 2;
            if (lineInfo)
                return p + i;
            continue;
        }
        if (b == TX_GS) {
            i += B(p, i + 1) + 2;
            continue;
        }
        ++i;
        if (b == ' ') {
            while (B(p, i) == ' ')
                ++i;
            return p + i;
        }
        if (b == '\t' || b == '\n' || b == '\r')
            return p + i;
    }
}

// ---- search and copy -----------------------------------------------------

char *txstrcpy(char *dst, const char *src)
{
    memmove(dst, src, (size_t)txstrlen(src) + 1);
    return dst;
}

char *txstrcat(char *dst, const char *src)
{
    txstrcpy(dst + txstrlen(dst), src);
    return dst;
}

namespace {

// Finds text among the characters of s. Codes are invisible to the match;
// an object ends a partial match. After a mismatch the search goes on from
// the character after the partial match's first one, so overlapping starts
// ("ab" in "aab") are found.
BOOL findText(const char *s, const char *text, int32_t range[2], bool caseBlind)
{
    if (!s || !text || !text[0])
        return FALSE;
    auto same = [caseBlind](uint8_t a, uint8_t b) {
        return caseBlind ? upperByte(a) == upperByte(b) : a == b;
    };
    int32_t from = 0;
    for (;;) {
        // The next candidate start: a character equal to the first byte.
        int32_t i = from;
        while (B(s, i) && (isUnitStart(B(s, i)) || !same(B(s, i), (uint8_t)text[0])))
            i = stepUnit(s, i);
        if (!B(s, i))
            return FALSE;
        int32_t start = i, k = 1;
        i = start + 1;
        for (;;) {
            if (!text[k]) {
                if (range) {
                    range[0] = start;
                    range[1] = i;
                }
                return TRUE;
            }
            i = txSkipCodes(s, i);
            uint8_t b = B(s, i);
            if (b == 0 || b == TX_GS || !same(b, (uint8_t)text[k]))
                break;
            ++i;
            ++k;
        }
        from = start + 1;
    }
}

}  // namespace

BOOL txstrstr(const char *s, const char *text, int32_t range[2])
{
    return findText(s, text, range, false);
}

BOOL txstristr(const char *s, const char *text, int32_t range[2])
{
    return findText(s, text, range, true);
}

char *txstrchr(char *s, char c) { return txstrnchr(s, INT32_MAX, c); }

char *txstrnchr(char *s, int32_t n, char c)
{
    if (!s)
        return nullptr;
    for (int32_t i = 0; i < n && B(s, i);) {
        if (isUnitStart(B(s, i)))
            i = stepUnit(s, i);
        else if (s[i] == c)
            return s + i;
        else
            ++i;
    }
    return nullptr;
}

char *txstrpbrk(char *s, const char *set)
{
    if (!s || !set)
        return nullptr;
    for (int32_t i = 0; B(s, i);) {
        if (isUnitStart(B(s, i)))
            i = stepUnit(s, i);
        else if (strchr(set, s[i]))
            return s + i;
        else
            ++i;
    }
    return nullptr;
}

char *txstrrchr(char *s, int32_t off, char c)
{
    int32_t i = off;
    while (i >= 0) {
        uint8_t b = B(s, i);
        if (b == TX_FS || b == TX_RS) {
            int32_t start = unitStartBefore(s, i, b == TX_FS ? TX_ESC : TX_GS);
            if (start < 0) {
                brokenBox(IDS_TX_STRCHRREV);
                return s;
            }
            i = start - 1;
            continue;
        }
        if (b == (uint8_t)c)
            return s + i;
        --i;
    }
    return nullptr;
}

int32_t txstrrevpbrk(const char *s, int32_t off, const char *set)
{
    int32_t i = off;
    while (i >= 1) {
        uint8_t b = B(s, i);
        if (b == TX_FS || b == TX_RS) {
            int32_t start = unitStartBefore(s, i, b == TX_FS ? TX_ESC : TX_GS);
            if (start < 0) {
                utErrorBox(utGetDefaultOwner(), "Error in txstrrevpbrk.");
                return -1;
            }
            i = start - 1;
            continue;
        }
        if (b && strchr(set, (char)b))
            return i;
        --i;
    }
    return -1;
}

char *txFindNextCode(char *p)
{
    if (!p)
        return nullptr;
    for (int32_t i = 0; B(p, i); i = stepUnit(p, i))
        if (B(p, i) == TX_ESC)
            return p + i;
    return nullptr;
}

char *txFindCode(char *p, int code)
{
    while ((p = txFindNextCode(p)) != nullptr) {
        if (B(p, 2) == code)
            return p;
        p += B(p, 1) + 2;
    }
    return nullptr;
}

BOOL txHasFontCode(const char *s)
{
    for (int32_t i = 0; s && B(s, i); i = stepUnit(s, i))
        if (B(s, i) == TX_ESC && txIsFontCode(B(s, i + 2)))
            return TRUE;
    return FALSE;
}

BOOL txHasJustifyAlign(const char *s)
{
    for (int32_t i = 0; s && B(s, i); i = stepUnit(s, i))
        if (B(s, i) == TX_ESC && B(s, i + 2) == TXC_ALIGN && B(s, i + 1) >= 5 &&
            (rd16(s + i + 3) & 0x103) == 0x100)
            return TRUE;
    return FALSE;
}

// ---- editing in place ----------------------------------------------------

static int32_t deleteUnitAt(char *s, int32_t off, uint8_t startByte)
{
    if (B(s, off) != startByte)
        return 0;
    int32_t n = B(s, off + 1) + 2;
    memmove(s + off, s + off + n, (size_t)txstrlen(s + off + n) + 1);
    return n;
}

int32_t txDeleteCodeAt(char *s, int32_t off) { return deleteUnitAt(s, off, TX_ESC); }
int32_t txDeleteObjectAt(char *s, int32_t off) { return deleteUnitAt(s, off, TX_GS); }

void txFixLineLengths(char *s)
{
    int32_t last = -1;
    int32_t i = 0;
    for (; B(s, i); i = stepUnit(s, i)) {
        if (!txIsLineInfo(s + i))
            continue;
        if (last >= 0)
            wr16(s + last + 3, (uint16_t)(i - last - kTxLineInfoSize));
        last = i;
    }
    if (last >= 0)
        wr16(s + last + 3, (uint16_t)(i - last - kTxLineInfoSize));
}

int32_t txStripCode(char *s, int code)
{
    return stripUnits(s, [code](const char *p) {
        return B(p, 0) == TX_ESC && (code == 0 || B(p, 2) == code);
    }, true);
}

int32_t txStripAllCodes(char *s) { return txStripCode(s, 0); }

MemHandle txStripAllCodesH(MemHandle h)
{
    MemLock<char> s(h);
    if (s)
        txStripAllCodes(s.get());
    return h;
}

int32_t txStripFontCodes(char *s)
{
    return stripUnits(s, [](const char *p) {
        return B(p, 0) == TX_ESC && txIsFontCode(B(p, 2));
    }, true);
}

int32_t txStripParaCodes(char *s)
{
    return stripUnits(s, [](const char *p) {
        return B(p, 0) == TX_ESC && txIsParaCode(B(p, 2));
    }, true);
}

int32_t txStripChar(char *s, char c)
{
    return stripUnits(s, [c](const char *p) { return !isUnitStart(B(p, 0)) && p[0] == c; }, true);
}

int32_t txStripLayoutCodes(char *s)
{
    return stripUnits(s, [](const char *p) {
        uint8_t b = B(p, 0);
        if (b == TX_SEOL)
            return true;
        if (b != TX_ESC)
            return false;
        uint8_t c = B(p, 2);
        return c == TXC_LINE_INFO || c == TXC_PAGE_BREAK || c == TXC_NEW_COLUMN;
    }, false);
}

static void replaceUnit(char *obj, const char *bytes, int32_t n)
{
    int32_t size = stepUnit(obj, 0);
    memmove(obj + n, obj + size, (size_t)txstrlen(obj + size) + 1);
    memcpy(obj, bytes, (size_t)n);
}

void txSymbolToChar(char *obj, char c)
{
    if (obj && B(obj, 0) == TX_GS)
        replaceUnit(obj, &c, 1);
}

void txSymbolToPair(char *obj, const char pair[2])
{
    if (obj && B(obj, 0) == TX_GS)
        replaceUnit(obj, pair, 2);
}

void txUpperCase(char *s)
{
    if (s)
        eachChar(s, [](char *p) { *p = (char)upperByte(B(p, 0)); });
}

void txLowerCase(char *s)
{
    if (s)
        eachChar(s, [](char *p) { *p = (char)lowerByte(B(p, 0)); });
}

void txTitleCase(char *s)
{
    if (!s)
        return;
    txLowerCase(s);
    char *p = s;
    while (p) {
        int32_t i = (int32_t)(txSkipUnits(p) - s);
        if (B(s, i) && B(s, i) != ' ' && B(s, i) != '\t' && B(s, i) != '\n' && B(s, i) != '\r')
            s[i] = (char)upperByte(B(s, i));
        p = txNextWord(s + i);
    }
}

int32_t txAlignOffset(const char *s, const CharFormat *fmt, int32_t off)
{
    CharFormat f;
    if (fmt)
        f = *fmt;
    else
        memset(&f, 0, sizeof f);
    int32_t i = 0;
    while (B(s, i) && i < off) {
        int32_t next;
        uint8_t b = B(s, i);
        if (b == TX_ESC)
            next = i + txApplyCodeSimple(&f, s + i, nullptr, nullptr);
        else if (b == TX_GS)
            next = stepUnit(s, i);
        else
            next = i + (txIsDBCSLead(f.codePage, s + i) ? 2 : 1);
        if (next > off)
            return i;
        i = next;
    }
    return off;
}

// ---- validation ----------------------------------------------------------

int32_t txCheckCode(const char *p)
{
    if (!p || B(p, 0) != TX_ESC)
        return -1;
    uint8_t L = B(p, 1);
    if (B(p, L + 1) != TX_FS)
        return -1;
    if (!validCodeNumber(B(p, 2)))
        return -3;
    return L + 2;
}

int32_t txCheckObject(const char *p)
{
    if (!p || B(p, 0) != TX_GS)
        return -1;
    uint8_t L = B(p, 1);
    if (B(p, L + 1) != TX_RS)
        return -2;
    uint8_t kind = B(p, 2);
    if (kind < 1 || kind > 3)
        return -3;
    return L + 2;
}

int32_t txCheckStream(const char *s)
{
    if (!s)
        return -1;
    int32_t i = 0;
    for (;;) {
        uint8_t b = B(s, i);
        if (b == 0)
            return i;
        int32_t n;
        if (b == TX_ESC)
            n = txCheckCode(s + i);
        else if (b == TX_GS)
            n = txCheckObject(s + i);
        else
            n = (b >= 32 || b == TX_INDENT || b == TX_TAB || b == TX_SEOL || b == TX_RETURN) ? 1 : -1;
        if (n <= 0)
            return -1;
        i += n;
    }
}

namespace {

// The payload a code number needs: its least size, and whether it must hold
// a terminated string. -1 for numbers not allowed.
bool payloadFits(int code, const uint8_t *pay, int32_t n)
{
    switch (code) {
    case TXC_LINE_INFO: return n >= 8;
    case TXC_PAGE_BREAK: case TXC_ANY: return true;
    case TXC_PLACEMENT: return n >= 32;
    default: break;
    }
    switch (shapeOf(code)) {
    case SH_FLAG: return true;
    case SH_WORD: return n >= 2;
    case SH_DWORD: return n >= 4;
    case SH_8: return n >= 8;
    case SH_16: return n >= 16;
    case SH_STRING: return memchr(pay, 0, (size_t)n) != nullptr;
    case SH_TABS: {
        if (n < 2)
            return false;
        int16_t c = (int16_t)rd16(pay);
        return c >= 0 && 2 + 2 * (int32_t)c <= n;
    }
    default: return false;
    }
}

}  // namespace

int32_t txCheckStreamBounded(const char *s, uint32_t size)
{
    if (!s || size == 0 || size > (uint32_t)INT32_MAX)
        return -1;
    const int32_t limit = (int32_t)size;
    std::vector<int32_t> lineEnds;   // where each code 100 says its line ends
    std::vector<int32_t> starts;     // unit starts, ascending
    int32_t i = 0;
    for (;;) {
        if (i >= limit)
            return -1;
        uint8_t b = B(s, i);
        if (b == 0)
            break;
        if (b == TX_ESC || b == TX_GS) {
            if (i + 1 >= limit)
                return -1;
            uint8_t L = B(s, i + 1);
            if (L < 3 || i + L + 1 >= limit || B(s, i + L) != L)
                return -1;
            const uint8_t *pay = reinterpret_cast<const uint8_t *>(s) + i + 3;
            int32_t n = L - 3;
            if (b == TX_ESC) {
                if (txCheckCode(s + i) <= 0 || !payloadFits(B(s, i + 2), pay, n))
                    return -1;
                if (B(s, i + 2) == TXC_LINE_INFO) {
                    int16_t count = (int16_t)rd16(pay);
                    if (count < 0)
                        return -1;
                    lineEnds.push_back(i + L + 2 + count);
                }
            } else {
                if (txCheckObject(s + i) <= 0)
                    return -1;
                uint8_t kind = B(s, i + 2);
                if (kind == TXO_SYMBOL && n < 2)
                    return -1;
                if (kind == TXO_IMAGE && (n < 29 || !memchr(pay + 28, 0, (size_t)(n - 28))))
                    return -1;
            }
            starts.push_back(i);
            i += L + 2;
            continue;
        }
        if (!(b >= 32 || b == TX_INDENT || b == TX_TAB || b == TX_SEOL || b == TX_RETURN))
            return -1;
        starts.push_back(i);
        ++i;
    }
    // Every line must end on a unit boundary within the stream.
    for (int32_t end : lineEnds) {
        if (end > i)
            return -1;
        if (end < i && !std::binary_search(starts.begin(), starts.end(), end))
            return -1;
    }
    return i;
}

// ---- hyperlinks ----------------------------------------------------------

namespace {

// Whether a character or object follows the code at off before the next
// hyperlink end (111).
bool linkHasText(const char *s, int32_t off)
{
    for (int32_t i = stepUnit(s, off); B(s, i); i = stepUnit(s, i)) {
        uint8_t b = B(s, i);
        if (b != TX_ESC)
            return true;
        if (B(s, i + 2) == TXC_HYPER_OFF)
            return false;
    }
    return false;
}

int32_t cleanLinks(char *s, bool *openAtEnd)
{
    bool open = false;
    int32_t len = stripUnits(s, [&open, s](const char *p) {
        if (B(p, 0) != TX_ESC)
            return false;
        switch (B(p, 2)) {
        case TXC_HYPER_MARK:
            return true;
        case TXC_HYPER_ON:
            if (!linkHasText(s, (int32_t)(p - s)))
                return true;
            open = true;
            return false;
        case TXC_HYPER_OFF:
            if (!open)
                return true;
            open = false;
            return false;
        default:
            return false;
        }
    }, true);
    if (openAtEnd)
        *openAtEnd = open;
    return len;
}

}  // namespace

int32_t txCleanHyperlinks(char *s) { return s ? cleanLinks(s, nullptr) : 0; }

MemHandle txCloseHyperlinks(MemHandle h)
{
    if (!h)
        return h;
    bool open = false;
    int32_t len;
    {
        MemLock<char> s(h);
        if (!s)
            return h;
        len = cleanLinks(s.get(), &open);
    }
    if (!open)
        return h;
    MemHandle grown = utAllocHandle(h, (uint32_t)len + 6);
    if (!grown)
        return h;
    MemLock<char> s(grown);
    int32_t n = txMakeFlagCode(s.get() + len, TXC_HYPER_OFF);
    s[len + n] = 0;
    txFixLineLengths(s.get());
    return grown;
}
