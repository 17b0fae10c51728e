// Line breaking and laying out text.
#include "text/tx_break.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

// A line's byte count is a signed 16-bit number: lines end before it.
const int32_t kMaxLineBytes = 32700;

// The format's font selected into the measuring context for the breaker.
struct FontSel {
    HDC dc;
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    explicit FontSel(HDC d) : dc(d) {}
    void select(const CharFormat *fmt)
    {
        LOGFONTA lf = fmt->lf;
        if (fmt->subscript || fmt->superscript)
            lf.lfHeight = MulDiv(lf.lfHeight, 2, 3);
        if (fmt->hyperlink)
            lf.lfUnderline = 1;
        HFONT f = dmCreateFont(&lf);
        if (!f)
            return;
        HGDIOBJ prev = SelectObject(dc, f);
        if (!old)
            old = prev;
        if (font)
            DeleteObject(font);
        font = f;
        SetTextCharacterExtra(dc, fmt->charSpacing * 2);
    }
    ~FontSel()
    {
        if (old)
            SelectObject(dc, old);
        if (font)
            DeleteObject(font);
        SetTextCharacterExtra(dc, 0);
    }
};

void writeInfo(char out[13], int32_t n, int32_t blo, int32_t w, int32_t h)
{
    auto clamp = [](int32_t v) { return v < 0 ? 0 : v > kTxMaxExtent ? kTxMaxExtent : v; };
    TxLineInfo li = {(int16_t)n, (int16_t)blo, (uint16_t)clamp(w), (uint16_t)clamp(h)};
    txMakeBlockCode(out, TXC_LINE_INFO, &li, 8);
}

}  // namespace

int32_t txBreakWord(HDC dc, const char *s, int32_t n, CharFormat *fmt, int32_t width,
                    int32_t count, const int32_t *tabs)
{
    int32_t i = 0, firstChar = -1;
    while (i < n && B(s, i)) {
        uint8_t b = B(s, i);
        int32_t next;
        if (b == TX_ESC) {
            i += B(s, i + 1) + 2;
            continue;
        }
        next = b == TX_GS ? i + B(s, i + 1) + 2 : i + (txIsDBCSLead(fmt->codePage, s + i) ? 2 : 1);
        CharFormat f = *fmt;
        uint32_t e = txMeasureLine(dc, s, next, &f, count, tabs);
        if ((int32_t)(e & 0xFFFF) >= width) {
            if (firstChar < 0)
                return next;   // every line holds at least one character
            return i;
        }
        if (firstChar < 0)
            firstChar = i;
        i = next;
    }
    return i > 0 ? i : (B(s, 0) ? 1 : 0);
}

MemHandle txBreakIntoLines(HDC dc, const char *s, CharFormat *fmt, int32_t width, int32_t count,
                           const int32_t *tabs, int32_t *lineCount)
{
    if (lineCount)
        *lineCount = 0;
    if (!s || !fmt || !B(s, 0))
        return 0;
    HDC m = txChooseMeasureDC(dc);
    HDC own = nullptr;
    if (!m)
        m = own = txGetMeasureDC(nullptr, FALSE);
    std::vector<TxLineRecord> lines;
    {
        FontSel font(m);
        font.select(fmt);
        int32_t pos = 0;
        while (B(s, pos)) {
            const int32_t start = pos;
            CharFormat startFmt = *fmt, brkFmt = *fmt;
            int32_t indent = (fmt->indentLevel && count > 0) ? txTabAt(fmt->indentLevel, count, tabs) : 0;
            int32_t x = indent, segStart = pos, segX = x;
            int32_t brk = -1, brkW = 0;
            int32_t lineH = 0, lineA = 0;
            bool full = false, ended = false, anyRun = false;
            int32_t i = pos;
            for (;;) {
                if (i - start >= kMaxLineBytes) {
                    brk = i;
                    brkW = x;
                    brkFmt = *fmt;
                    break;
                }
                uint8_t b = B(s, i);
                if (b == 0) {
                    ended = true;
                    break;
                }
                if (b > 32) {
                    int32_t j = i;
                    while (B(s, j) > 32)
                        ++j;
                    if (!fmt->skip) {
                        txLineAscentDescent(m, fmt, &lineH, &lineA);
                        anyRun = true;
                        x = segX + txRunExtent(m, s + segStart, j - segStart, fmt->cellWidth).cx;
                    }
                    i = j;
                    if (x >= width) {
                        full = true;
                        break;
                    }
                    continue;
                }
                if (b == ' ') {
                    brkW = x;
                    while (B(s, i) == ' ')
                        ++i;
                    brk = i;
                    brkFmt = *fmt;
                    if (!fmt->skip)
                        x = segX + txRunExtent(m, s + segStart, i - segStart, fmt->cellWidth).cx;
                    continue;
                }
                if (b == TX_INDENT || b == TX_TAB) {
                    if (count <= 0 || !tabs) {
                        ++i;
                        segStart = i;
                        segX = x;
                        continue;
                    }
                    int32_t before = x;
                    int32_t to = txNextTabStop(x, count, tabs);
                    if (to >= width) {
                        if (i == start) {
                            brk = i + 1;
                            brkW = before;
                        } else {
                            brk = i;
                            brkW = before;
                        }
                        brkFmt = *fmt;
                        full = true;
                        break;
                    }
                    if (b == TX_INDENT)
                        fmt->indentLevel = (uint8_t)txTabIndexAt(before, count, tabs);
                    x = to;
                    ++i;
                    brk = i;
                    brkW = x;
                    brkFmt = *fmt;
                    segStart = i;
                    segX = x;
                    continue;
                }
                if (b == TX_SEOL || b == TX_RETURN) {
                    if (b == TX_RETURN)
                        fmt->indentLevel = fmt->indentAux = 0;
                    brkW = x;
                    brk = i + 1;
                    brkFmt = *fmt;
                    break;
                }
                if (b == TX_ESC) {
                    uint32_t off = 0;
                    BOOL changed = FALSE;
                    i += txApplyCodeRun(fmt, s + i, &off, &changed);
                    x += (int16_t)(off & 0xFFFF);
                    if (changed)
                        font.select(fmt);
                    segStart = i;
                    segX = x;
                    if (x >= width) {
                        full = true;
                        break;
                    }
                    continue;
                }
                if (b == TX_GS) {
                    uint32_t size = txMeasureObject(m, m, 0, 0, 0, s + i, FALSE, 0, &lineH, &lineA);
                    x += (int32_t)(size & 0xFFFF);
                    anyRun = true;
                    i += B(s, i + 1) + 2;
                    segStart = i;
                    segX = x;
                    if (x >= width) {
                        full = true;
                        break;
                    }
                    continue;
                }
                ++i;
                segStart = i;
                segX = x;
            }
            int32_t end, W;
            if (ended && !full) {
                end = i;
                W = x;
            } else if (full && brk < 0) {
                // One overlong run: broken inside, at least one character.
                *fmt = startFmt;
                end = start + txBreakWord(m, s + start, i - start, fmt, width - indent, count, tabs);
                CharFormat f = startFmt;
                uint32_t e = txMeasureLine(m, s + start, end - start, &f, count, tabs);
                *fmt = f;
                W = (int32_t)(e & 0xFFFF) + indent;
                lineH = (int32_t)(e >> 16);
                lineA = txLastAscent();
                brkFmt = *fmt;
                font.select(fmt);
            } else {
                end = brk;
                W = brkW;
                *fmt = brkFmt;
                font.select(fmt);
            }
            if (end <= start)
                break;
            if (!anyRun || lineH == 0 || lineA == 0)
                txLineAscentDescent(m, fmt, &lineH, &lineA);
            if (fmt->flags & TX_FMT_RULED)
                lineH = txLineAdvance(fmt, fmt->ruledExtra);
            TxLineRecord rec = {};
            rec.fmt = startFmt;
            writeInfo(rec.info, end - start, lineA, W - indent, lineH);
            lines.push_back(rec);
            pos = end;
        }
    }
    if (own)
        txReleaseMeasureDC(nullptr, own, FALSE);
    if (lines.empty())
        return 0;
    MemHandle h = utHandleFromBytes(lines.data(), (uint32_t)(lines.size() * sizeof(TxLineRecord)));
    if (h && lineCount)
        *lineCount = (int32_t)lines.size();
    return h;
}

MemHandle txLayoutStream(HDC dc, const char *s, int32_t width, const LOGFONTA *lf,
                         uint16_t align, uint8_t spacing, uint16_t charSpacing, COLORREF fore,
                         COLORREF back, int32_t count, const int32_t *tabs, BOOL writeTabs)
{
    if (!s || !lf)
        return 0;
    std::string work(s, (size_t)txstrlen(s));
    work.push_back('\0');
    int32_t len = txStripLayoutCodes(&work[0]);
    bool endsWithReturn = len > 0 && txPrevUnit(work.c_str(), len) >= 0 &&
                          B(work.c_str(), txPrevUnit(work.c_str(), len)) == TX_RETURN;
    if (width < 80)
        width = 80;
    CharFormat fmt;
    txFormatFromLogFont(&fmt, lf, align, spacing, charSpacing, fore, back);
    int32_t n = 0;
    MemHandle lines = txBreakIntoLines(dc, work.c_str(), &fmt, width, count, tabs, &n);
    int32_t tabCode = 0;
    std::vector<int16_t> tab16;
    if (writeTabs && count > 0 && tabs) {
        int32_t c = count > kTxMaxTabs ? kTxMaxTabs : count;
        tab16.push_back((int16_t)c);
        for (int32_t i = 0; i < c; ++i)
            tab16.push_back((int16_t)(uint16_t)tabs[i]);
        tabCode = 2 * c + 7;
    }
    MemHandle out = utAllocHandle(0, (uint32_t)(len + 13 * (n + 2) + tabCode + 1));
    if (!out) {
        utFreeHandle(lines);
        return 0;
    }
    {
        MemLock<char> d(out);
        MemLock<TxLineRecord> recs(lines);
        int32_t w = 0, from = 0;
        if (tabCode)
            w += txMakeTabArrayCode(d.get(), TXC_TAB_ARRAY, tab16.data());
        TxLineInfo last = {0, 0, 0, 0};
        for (int32_t k = 0; k < n; ++k) {
            memcpy(d.get() + w, recs[(size_t)k].info, 13);
            memcpy(&last, recs[(size_t)k].info + 3, 8);
            w += 13;
            memcpy(d.get() + w, work.c_str() + from, (size_t)last.n);
            w += last.n;
            from += last.n;
        }
        if (endsWithReturn) {
            char info[13];
            writeInfo(info, 0, last.nBLO, 0, last.H);
            memcpy(d.get() + w, info, 13);
            w += 13;
        }
        d[w] = 0;
    }
    utFreeHandle(lines);
    return out;
}

MemHandle txBreakLines(HDC dc, int32_t width, const char *stream, const TextHeader *header,
                       uint16_t align, uint8_t spacing)
{
    if (!stream || !header)
        return 0;
    std::vector<int32_t> tabs;
    const char *body = stream;
    if (txCodeNumber(body) == TXC_TAB_ARRAY) {
        const uint8_t *p = txPayload(body);
        int32_t room = txCodeUnitSize(body) - 5;
        int16_t c;
        memcpy(&c, p, 2);
        for (int16_t i = 0; i < c && 2 + 2 * (i + 1) <= room; ++i) {
            uint16_t v;
            memcpy(&v, p + 2 + 2 * i, 2);
            tabs.push_back(v);
        }
        body += txCodeUnitSize(body);
    }
    return txLayoutStream(dc, body, width, &header->lf, align, spacing, header->charSpacing, 0,
                          0xFFFFFF, (int32_t)tabs.size(), tabs.empty() ? nullptr : tabs.data(),
                          !tabs.empty());
}

int32_t txNextBreak(HDC dc, const char *s, CharFormat *fmt, int32_t width, int32_t count,
                    const int32_t *tabs)
{
    if (!s || !fmt || !B(s, 0))
        return 0;
    HDC m = txChooseMeasureDC(dc);
    HDC own = nullptr;
    if (!m)
        m = own = txGetMeasureDC(nullptr, FALSE);
    int32_t result = 0;
    {
        FontSel font(m);
        font.select(fmt);
        CharFormat startFmt = *fmt, brkFmt = *fmt;
        int32_t x = 0, i = 0, brk = -1;
        for (;;) {
            uint8_t b = B(s, i);
            if (b == 0)
                break;   // the rest fits
            if (b > 32) {
                int32_t j = i;
                while (B(s, j) > 32) {
                    int step = txIsDBCSLead(fmt->codePage, s + j) ? 2 : 1;
                    j += step;
                }
                int32_t with = B(s, j) == ' ' ? j + 1 : j;
                int32_t w = fmt->skip ? 0 : txRunExtent(m, s + i, with - i, fmt->cellWidth).cx;
                if (x + w > width) {
                    if (brk < 0) {
                        *fmt = startFmt;
                        result = txBreakWord(m, s, j, fmt, width, count, tabs);
                    } else {
                        *fmt = brkFmt;
                        result = brk;
                    }
                    break;
                }
                x += w;
                i = with;
                brk = i;
                brkFmt = *fmt;
                continue;
            }
            if (b == TX_TAB || b == TX_SEOL || b == TX_RETURN) {
                int32_t to = x;
                if (b == TX_TAB)
                    to = txNextTabStop(x, count, tabs);
                else if (b == TX_RETURN)
                    to = x + txRunExtent(m, "f", 1, 0).cx;
                if (to > width && brk >= 0) {
                    *fmt = brkFmt;
                    result = brk;
                    break;
                }
                x = to;
                ++i;
                brk = i;
                brkFmt = *fmt;
                if (b != TX_TAB) {
                    result = B(s, i) ? i : 0;
                    break;
                }
                continue;
            }
            if (b == TX_ESC) {
                uint32_t off = 0;
                BOOL changed = FALSE;
                i += txApplyCodeRun(fmt, s + i, &off, &changed);
                x += (int16_t)(off & 0xFFFF);
                if (changed)
                    font.select(fmt);
                continue;
            }
            if (b == TX_GS) {
                x += (int32_t)(txMeasureObject(m, m, 0, 0, 0, s + i, FALSE, 0, nullptr, nullptr) & 0xFFFF);
                i += B(s, i + 1) + 2;
                continue;
            }
            ++i;
        }
    }
    if (own)
        txReleaseMeasureDC(nullptr, own, FALSE);
    return result;
}
