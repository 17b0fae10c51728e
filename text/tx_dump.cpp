// The text stream dump.
#include "text/tx_dump.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_stream.h"
#include "support/ut_mem.h"

#include <stdio.h>
#include <string.h>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }
inline int16_t rd16(const uint8_t *p) { return (int16_t)(p[0] | (p[1] << 8)); }
inline uint32_t rd32(const uint8_t *p)
{
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
           ((uint32_t)p[3] << 24);
}

const uint32_t kDumpStart = 4096;
const uint16_t kDumpStep = 2048;
// The longest single item: a 251-character string payload and its tag.
const int32_t kItemRoom = 320;

// A string payload of the code at p, bounded by the code's own length.
int stringPayload(const char *p, const char **text)
{
    int32_t len = (uint8_t)p[1] - 3;
    *text = p + 3;
    if (len <= 0)
        return 0;
    int n = 0;
    while (n < len && (*text)[n])
        ++n;
    return n > kTxMaxString ? kTxMaxString : n;
}

}  // namespace

int32_t txDumpCode(char *dst, const char *p)
{
    if (!p || B(p, 0) != TX_ESC)
        return 0;
    const uint8_t *pl = txPayload(p);
    const char *text;
    int n;
    int code = txCodeNumber(p);
    const char *flag = nullptr;
    switch (code) {
    case 1: flag = "[Bold on]"; break;
    case 2: flag = "[Bold off]"; break;
    case 3: flag = "[Italic on]"; break;
    case 4: flag = "[Italic off]"; break;
    case 5: flag = "[Udrline on]"; break;
    case 6: flag = "[Udrline off]"; break;
    case 7: flag = "[StkOut on]"; break;
    case 8: flag = "[StkOut off]"; break;
    case 9: flag = "[Sub on]"; break;
    case 10: flag = "[Sub off]"; break;
    case 11: flag = "[Sup on]"; break;
    case 12: flag = "[Sup off]"; break;
    case 13: return sprintf(dst, "[Size %d]", -rd16(pl) / 20);
    case 14:
        n = stringPayload(p, &text);
        return sprintf(dst, "[Fn %.*s]", n, text);
    case 15: return sprintf(dst, "[CS %d]", pl[0]);
    case 16: return sprintf(dst, "[Op %d]", pl[0]);
    case 17: return sprintf(dst, "[Cp %d]", pl[0]);
    case 18: return sprintf(dst, "[Qt %d]", pl[0]);
    case 19: return sprintf(dst, "[PF %d]", pl[0]);
    case 20: return sprintf(dst, "[Esnt %d", rd16(pl));
    case 21: return sprintf(dst, "[Orient %d]", rd16(pl));
    case 22: flag = "[Inv On]"; break;
    case 23: flag = "[Inv Off]"; break;
    case 24: flag = "[Opak On]"; break;
    case 25: flag = "[Opak Off]"; break;
    case 32: return sprintf(dst, "[Weight %d]", rd16(pl));
    case 42: {
        uint32_t v = rd32(pl);
        return sprintf(dst, "[Offset (%ld, %ld)]", (long)(v & 0xFFFF), (long)(v >> 16));
    }
    case 45:
        switch ((uint16_t)rd16(pl) & TXA_HMASK) {
        case 0: flag = "[Align L]"; break;
        case 1: flag = "[Align HC]"; break;
        case 2: flag = "[Align R]"; break;
        default: return 0;
        }
        break;
    case 46: return sprintf(dst, "[Space %d/4]", pl[0]);
    case 47: flag = "[Just On]"; break;
    case 48: flag = "[Just Off]"; break;
    case 50: return sprintf(dst, "[Fore %lx]", (unsigned long)rd32(pl));
    case 51: return sprintf(dst, "[Back %lx]", (unsigned long)rd32(pl));
    case 60: flag = "[Ovstk On"; break;
    case 61: flag = "[Ovstk Off]"; break;
    case 62: return sprintf(dst, "[Width %d]", rd16(pl) / 20);
    case 63: return sprintf(dst, "[New Col (%d)]", (int)rd32(pl));
    case 70: return sprintf(dst, "[AddTab %ld]", (long)(int32_t)rd32(pl));
    case 71: return sprintf(dst, "[DelTab %d]", (int)rd32(pl));
    case 72: return sprintf(dst, "[RepTab %d]", (int)rd32(pl));
    case 73: flag = "[TabArray]"; break;
    case 74: flag = "[ApndTab]"; break;
    case 80: return sprintf(dst, "[Left Offset (%d)]", rd16(pl));
    case 81: return sprintf(dst, "[Right Offset (%d)]", rd16(pl));
    case 98: flag = "[Temp On]"; break;
    case 99: flag = "[Temp Off]"; break;
    case 100: {
        TxLineInfo li;
        memcpy(&li, pl, sizeof li);
        return sprintf(dst, "[n %4d][W %5d][H %5d][nBLO %5d]", li.n, li.W, li.H, li.nBLO);
    }
    case 101: flag = "[Page Break]"; break;
    case 102: flag = "[Skip On]"; break;
    case 103: flag = "[Skip Off]"; break;
    case 110: flag = "[Hyper On]"; break;
    case 111: flag = "[Hyper Off]"; break;
    case 112:
        n = stringPayload(p, &text);
        return sprintf(dst, "[HyperOn: %.*s]", n, text);
    case 113: flag = "[Select On]"; break;
    case 114: flag = "[Select Off]"; break;
    case 116: flag = "[Caret Pos]"; break;
    case 117:
        n = stringPayload(p, &text);
        return sprintf(dst, "[Anchor: %.*s]", n, text);
    case 180: return sprintf(dst, "[H Spacing %d]", rd16(pl));
    default: return 0;
    }
    strcpy(dst, flag);
    return (int32_t)strlen(flag);
}

int32_t txDumpObject(char *dst, const char *p)
{
    if (!p || B(p, 0) != TX_GS)
        return 0;
    switch (B(p, 2)) {
    case TXO_SYMBOL: return sprintf(dst, "[Sym %d]", (int)(uint16_t)rd16(txPayload(p)));
    case TXO_OBJECT: strcpy(dst, "[Obj]"); return 5;
    case TXO_IMAGE: {
        int32_t len = B(p, 1);
        const char *name = p + 31;
        int n = 0;
        while (31 + n < len && name[n] && n < kTxMaxString)
            ++n;
        return sprintf(dst, "[Img %.*s]", n, name);
    }
    default: return 0;
    }
}

MemHandle txDumpStream(const char *s, const CharFormat *fmt, int32_t caret)
{
    MemHandle h = utAllocHandle(0, kDumpStart);
    if (!h)
        return 0;
    uint32_t used = 0;
    BOOL failed = FALSE;
    // Room is made for each item before it is written.
    auto put = [&](const char *item, int32_t n) {
        if (failed || n <= 0)
            return;
        MemHandle g = utGrowHandle(h, used + (uint32_t)n + 1, kDumpStep);
        if (!g) {
            failed = TRUE;
            return;
        }
        h = g;
        MemLock<char> d(h);
        memcpy(d.get() + used, item, (size_t)n);
        used += (uint32_t)n;
        d[used] = 0;
    };
    char item[kItemRoom + 64];
    CharFormat f;
    if (fmt)
        f = *fmt;
    else
        memset(&f, 0, sizeof f);
    int32_t i = 0;
    while (s && B(s, i)) {
        if (i == caret)
            put("^", 1);
        uint8_t b = B(s, i);
        int32_t next = i + 1;
        int32_t n = 0;
        if (b == TX_ESC) {
            n = txDumpCode(item, s + i);
            int32_t u = txApplyCodeSimple(&f, s + i, nullptr, nullptr);
            next = i + (u > 0 ? u : 1);
        } else if (b == TX_GS) {
            n = txDumpObject(item, s + i);
            int32_t u = txObjectSize(s + i);
            next = i + (u > 0 ? u : 1);
        } else if (b == TX_INDENT) {
            n = sprintf(item, "[Indent]");
        } else if (b == TX_TAB) {
            n = sprintf(item, "[Tab]");
        } else if (b == TX_SEOL) {
            n = sprintf(item, "[SEol]");
        } else if (b == TX_RETURN) {
            n = sprintf(item, "[Rtn]");
        } else if (b < 32) {
            n = sprintf(item, "[%d]", b);
        } else {
            next = i + (txIsDBCSLead(f.codePage, s + i) ? 2 : 1);
            n = next - i;
            memcpy(item, s + i, (size_t)n);
        }
        put(item, n);
        i = next;
    }
    if (s && caret >= 0 && caret < i && B(s, caret) >= 32) {
        // The character after the caret, described on a last line.
        CharFormat at;
        if (fmt)
            at = *fmt;
        else
            memset(&at, 0, sizeof at);
        txApplyRange(nullptr, s, caret, &at);
        BOOL lead = txIsDBCSLead(at.codePage, s + caret);
        char ch[3] = {s[caret], lead ? s[caret + 1] : '\0', '\0'};
        int n = sprintf(item, "\r\n%s, %3d  ( 0x%2x ) %s\r\n", ch, B(s, caret), B(s, caret),
                        lead ? "Lead Byte" : "Non Lead Byte");
        put(item, n);
    }
    if (failed)
        return utFreeHandle(h);
    return h;
}
