// The text object record.
#include "text/tx_object.h"
#include "text/tx_flow.h"
#include "text/tx_format.h"
#include "text/tx_stream.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

// Where the parts of the type data lie in a locked record; false when the
// record is too short for what its header says.
struct Layout {
    uint8_t *data = nullptr;
    TextHeader *header = nullptr;
    uint8_t *tabs = nullptr;
    char *stream = nullptr;
    uint32_t n = 0, L = 0;
};

bool layoutOf(ObLock &r, Layout *out)
{
    if (!r || r->type != OBT_TEXT)
        return false;
    uint32_t at = obDataOffset(r.get());
    uint64_t extent = r.extent();
    if ((uint64_t)at + kTxDataFixed > extent)
        return false;
    Layout l;
    l.data = obRecData(r.get());
    l.header = reinterpret_cast<TextHeader *>(l.data + 8);
    l.n = l.header->tabCount;
    l.L = l.header->streamLength;
    if ((uint64_t)at + kTxDataFixed + 4ull * l.n + l.L > extent)
        return false;
    l.tabs = l.data + kTxDataFixed;
    l.stream = l.L ? reinterpret_cast<char *>(l.tabs + 4 * l.n) : nullptr;
    *out = l;
    return true;
}

// The header alone (the fields that do not need the table and stream).
bool headerOf(ObLock &r, Layout *out)
{
    if (!r || r->type != OBT_TEXT)
        return false;
    uint32_t at = obDataOffset(r.get());
    if ((uint64_t)at + kTxDataFixed > r.extent())
        return false;
    out->data = obRecData(r.get());
    out->header = reinterpret_cast<TextHeader *>(out->data + 8);
    return true;
}

uint32_t flagsOf(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return headerOf(r, &l) ? l.header->flags : 0;
}

void setFlag(MemHandle h, uint32_t bit, BOOL on)
{
    ObLock r(h);
    Layout l;
    if (!headerOf(r, &l))
        return;
    l.header->flags = on ? (l.header->flags | bit) : (l.header->flags & ~bit);
}

}  // namespace

MemHandle txNewTextObject(const RECT *box, const COLORREF colours[3], const TextHeader *header,
                          const char *stream)
{
    if (!box || !header)
        return 0;
    std::vector<uint32_t> tabs;
    const char *body = stream;
    if (body && body[0] && txCodeNumber(body) == TXC_TAB_ARRAY) {
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
    uint32_t L = (body && body[0]) ? (uint32_t)txstrlen(body) + 1 : 0;
    uint32_t n = (uint32_t)tabs.size();
    MemHandle h = obNewRecord(kTxRecordFixed + 4 * n + L);
    if (!h)
        return 0;
    ObLock r(h);
    r->type = OBT_TEXT;
    r->length = kTxRecordFixed + 4 * n + L;
    r->scaleX = r->scaleY = 65535;
    if (colours) {
        r->penColour = colours[0];
        r->fillColour = colours[1];
        r->backColour = colours[2];
    }
    obRecSetRect(r.get(), box);
    uint8_t *data = obRecData(r.get());
    int32_t size[2] = {box->right - box->left, box->bottom - box->top};
    memcpy(data, size, 8);
    TextHeader th = *header;
    th.tabCount = n;
    th.streamLength = L;
    memcpy(data + 8, &th, sizeof th);
    if (n)
        memcpy(data + kTxDataFixed, tabs.data(), 4 * n);
    if (L)
        memcpy(data + kTxDataFixed + 4 * n, body, L);
    return h;
}

MemHandle txNewPlainTextObject(HWND window, const RECT *box, const TextHeader *header,
                               const char *text)
{
    if (!box || !header)
        return 0;
    const COLORREF colours[3] = {0, 0, 0xFFFFFF};
    TextHeader th = *header;
    th.tabCount = 0;
    th.streamLength = 0;
    MemHandle h = txNewTextObject(box, colours, &th, nullptr);
    if (!h || !text || !*text)
        return h;
    std::string clean(text);
    for (char &c : clean) {
        if (c == 12)
            c = TX_RETURN;   // a form feed ends the paragraph
        else if (c == TX_ESC || c == TX_FS)
            c = ' ';
    }
    return txReplaceTextAll(window, h, clean.c_str(), TXK_PLAIN);
}

uint32_t txRecSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t held = rec->length < blockSize ? rec->length : blockSize;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kTxDataFixed > held)
        return held;
    const TextHeader *th = reinterpret_cast<const TextHeader *>(obRecData(rec) + 8);
    uint64_t size = (uint64_t)at + kTxDataFixed + 4ull * th->tabCount + th->streamLength;
    return size <= blockSize ? (uint32_t)size : held;
}

uint32_t txRecordSize(MemHandle object)
{
    ObLock r(object);
    if (!r)
        return 0;
    uint32_t at = obDataOffset(r.get());
    if ((uint64_t)at + kTxDataFixed > r.extent())
        return r->length;
    const TextHeader *th = reinterpret_cast<const TextHeader *>(obRecData(r.get()) + 8);
    uint32_t size = at + kTxDataFixed + 4 * th->tabCount + th->streamLength;
    r->length = size;
    return size;
}

BOOL txIsVertical(MemHandle h) { return (flagsOf(h) & TXF_VERTICAL) != 0; }
BOOL txIsRightToLeft(MemHandle h) { return (flagsOf(h) & TXF_RTL) != 0; }
BOOL txIsVerticalOrRtl(MemHandle h) { return (flagsOf(h) & (TXF_VERTICAL | TXF_RTL)) != 0; }
BOOL txIsWrapped(MemHandle h) { return (flagsOf(h) & (TXF_WRAP | TXF_WRAP_LOW)) == (TXF_WRAP | TXF_WRAP_LOW); }
BOOL txIsCurved(MemHandle h) { return (flagsOf(h) & (TXF_ON_NODES | TXF_ON_CURVE)) != 0; }
void txSetRightToLeft(MemHandle h, BOOL on) { setFlag(h, TXF_RTL, on); }

BOOL txHasColumns(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return headerOf(r, &l) && l.header->columns > 1;
}

BOOL txIsOpaque(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return headerOf(r, &l) && l.header->bkMode == 2;
}

void txSetOpaque(MemHandle h, BOOL on)
{
    ObLock r(h);
    Layout l;
    if (headerOf(r, &l))
        l.header->bkMode = on ? 2 : 1;
}

BOOL txSetRuled(MemHandle h, BOOL on)
{
    ObLock r(h);
    Layout l;
    if (!headerOf(r, &l))
        return FALSE;
    uint32_t old = l.header->flags;
    if ((old & TXF_PLAIN) && on)
        l.header->flags |= TXF_RULED;
    else
        l.header->flags &= ~TXF_RULED;
    return l.header->flags != old;
}

void txSetOrigin(MemHandle h, const POINT *origin)
{
    ObLock r(h);
    Layout l;
    if (!headerOf(r, &l))
        return;
    l.header->originX = origin ? origin->x : 0;
    l.header->originY = origin ? origin->y : 0;
    l.header->flags = origin ? (l.header->flags | TXF_ORIGIN) : (l.header->flags & ~TXF_ORIGIN);
}

BOOL txGetOrigin(MemHandle h, POINT *origin)
{
    ObLock r(h);
    Layout l;
    if (!headerOf(r, &l))
        return FALSE;
    if (origin) {
        origin->x = l.header->originX;
        origin->y = l.header->originY;
    }
    return (l.header->flags & TXF_ORIGIN) != 0;
}

uint32_t txGetStreamLength(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return layoutOf(r, &l) ? l.L : 0;
}

char *txLockStream(MemHandle h)
{
    if (!h)
        return nullptr;
    ObjectRecord *rec = static_cast<ObjectRecord *>(utLock(h));
    if (!rec)
        return nullptr;
    const TextHeader *th = reinterpret_cast<const TextHeader *>(obRecData(rec) + 8);
    return reinterpret_cast<char *>(obRecData(rec) + kTxDataFixed + 4 * th->tabCount);
}

TextHeader *txLockHeader(MemHandle h)
{
    if (!h)
        return nullptr;
    ObjectRecord *rec = static_cast<ObjectRecord *>(utLock(h));
    return rec ? reinterpret_cast<TextHeader *>(obRecData(rec) + 8) : nullptr;
}

MemHandle txCopyStream(MemHandle h)
{
    ObLock r(h);
    Layout l;
    if (!layoutOf(r, &l) || !l.L)
        return 0;
    return utHandleFromBytes(l.stream, l.L);
}

void txSetBoxSize(MemHandle h, int32_t width, int32_t height)
{
    ObLock r(h);
    Layout l;
    if (!headerOf(r, &l))
        return;
    int32_t size[2] = {width, height};
    memcpy(l.data, size, 8);
}

BOOL txGetBoxRect(MemHandle h, RECT *out)
{
    ObLock r(h);
    Layout l;
    if (!out || !headerOf(r, &l))
        return FALSE;
    int32_t size[2];
    memcpy(size, l.data, 8);
    out->left = r->centreX - size[0] / 2;
    out->top = r->centreY - size[1] / 2;
    out->right = out->left + size[0];
    out->bottom = out->top + size[1];
    return TRUE;
}

void txInsetByBorder(RECT *r, const TextHeader *th)
{
    if (!r || !th || (!th->borderX && !th->borderY))
        return;
    InflateRect(r, -th->borderX * 20, -th->borderY * 20);
}

BOOL txGetTextRect(MemHandle h, RECT *out)
{
    if (!txGetBoxRect(h, out))
        return FALSE;
    ObLock r(h);
    Layout l;
    if (headerOf(r, &l))
        txInsetByBorder(out, l.header);
    return TRUE;
}

uint16_t txGetCharSpacing(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return headerOf(r, &l) ? l.header->charSpacing : 0;
}

BOOL txHasFontCodes(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return layoutOf(r, &l) && l.stream && txHasFontCode(l.stream);
}

BOOL txHasObjectText(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return layoutOf(r, &l) && l.stream && txHasText(l.stream, TRUE);
}

int32_t txCountLines(MemHandle h)
{
    ObLock r(h);
    Layout l;
    return layoutOf(r, &l) && l.stream ? txLineCount(l.stream) : 0;
}

BOOL txGetCharFormat(MemHandle h, CharFormat *fmt)
{
    ObLock r(h);
    Layout l;
    if (!fmt || !layoutOf(r, &l))
        return FALSE;
    RECT bounds = {r->centreX - r->width / 2, r->centreY - r->height / 2,
                   r->centreX - r->width / 2 + r->width, r->centreY - r->height / 2 + r->height};
    txFormatFromHeader(fmt, l.header, &bounds, r->fillColour, r->backColour);
    return TRUE;
}

MemHandle txGetStreamWithTabs(MemHandle h, int32_t *length)
{
    if (length)
        *length = 0;
    ObLock r(h);
    Layout l;
    if (!layoutOf(r, &l) || !l.L)
        return 0;
    // A tab array holds at most 125 stops (its length byte is one byte).
    uint32_t n = l.n > (uint32_t)kTxMaxTabs ? (uint32_t)kTxMaxTabs : l.n;
    std::vector<int16_t> tabs(n + 1);
    tabs[0] = (int16_t)n;
    for (uint32_t i = 0; i < n; ++i) {
        uint32_t v;
        memcpy(&v, l.tabs + 4 * i, 4);
        tabs[i + 1] = (int16_t)(uint16_t)v;
    }
    int32_t codeSize = n ? 2 * (int32_t)n + 7 : 0;
    int32_t textLen = txstrlen(l.stream);
    MemHandle out = utAllocHandle(0, (uint32_t)(codeSize + textLen + 1));
    if (!out)
        return 0;
    MemLock<char> d(out);
    if (n)
        txMakeTabArrayCode(d.get(), TXC_TAB_ARRAY, tabs.data());
    memcpy(d.get() + codeSize, l.stream, (size_t)textLen);
    d[codeSize + textLen] = 0;
    if (length)
        *length = codeSize + textLen;
    return out;
}

BOOL txSplitRecord(MemHandle object, MemHandle parts[4])
{
    parts[0] = parts[1] = parts[2] = parts[3] = 0;
    ObLock r(object);
    Layout l;
    if (!layoutOf(r, &l))
        return FALSE;
    uint32_t headSize = obDataOffset(r.get()) + 8;
    parts[0] = utHandleFromBytes(r.get(), headSize);
    parts[1] = utHandleFromBytes(l.header, sizeof(TextHeader));
    parts[2] = l.n ? utHandleFromBytes(l.tabs, 4 * l.n) : 0;
    parts[3] = l.L ? utHandleFromBytes(l.stream, l.L) : 0;
    if (!parts[0] || !parts[1] || (l.n && !parts[2]) || (l.L && !parts[3])) {
        for (int i = 0; i < 4; ++i)
            parts[i] = utFreeHandle(parts[i]);
        return FALSE;
    }
    return TRUE;
}

MemHandle txJoinRecord(MemHandle parts[4])
{
    TextHeader th;
    {
        MemLock<TextHeader> h(parts[1]);
        if (!h)
            return 0;
        th = *h.get();
    }
    uint32_t headSize;
    {
        MemLock<ObjectRecord> head(parts[0]);
        if (!head)
            return 0;
        headSize = kObHeadSize + head->nameLength + 8;
    }
    uint32_t n = th.tabCount, L = th.streamLength;
    uint32_t size = headSize + sizeof(TextHeader) + 4 * n + L;
    MemHandle h = obNewRecord(size);
    if (!h)
        return 0;
    {
        MemLock<uint8_t> d(h);
        MemLock<uint8_t> head(parts[0]);
        memcpy(d.get(), head.get(), headSize);
        memcpy(d.get() + headSize, &th, sizeof th);
        if (n) {
            MemLock<uint8_t> t(parts[2]);
            if (t)
                memcpy(d.get() + headSize + sizeof th, t.get(), 4 * n);
        }
        if (L) {
            MemLock<uint8_t> s(parts[3]);
            if (s)
                memcpy(d.get() + headSize + sizeof th + 4 * n, s.get(), L);
        }
        uint32_t len = size;
        memcpy(d.get(), &len, 4);
    }
    for (int i = 0; i < 4; ++i)
        parts[i] = utFreeHandle(parts[i]);
    return h;
}

MemHandle txGetTabStops(const RECT *textRect, const TextHeader *th, BOOL vertical,
                        int32_t *count, int32_t *spacing)
{
    if (count)
        *count = 0;
    if (spacing)
        *spacing = 0;
    if (!textRect || !th || (th->flags & TXF_SINGLE_LINE))
        return 0;
    int32_t s = th->tabSpacing >= 1 ? th->tabSpacing : 720;
    if (spacing)
        *spacing = s;
    int32_t line = vertical ? textRect->bottom - textRect->top : textRect->right - textRect->left;
    if (line < 0)
        line = 0;
    // The table of a record is passed after the header (tabCount u32 stops).
    const uint32_t *table = th->tabCount ? reinterpret_cast<const uint32_t *>(th + 1) : nullptr;
    std::vector<int32_t> stops;
    if (table) {
        for (uint32_t i = 0; i < th->tabCount; ++i) {
            uint32_t v;
            memcpy(&v, table + i, 4);
            stops.push_back((int32_t)v);
        }
        stops.back() = line;
    } else {
        for (int64_t k = 0;; ++k) {
            int64_t v = k * s;
            stops.push_back((int32_t)(v < line ? v : line));
            if (v >= line)
                break;
        }
    }
    MemHandle h = utHandleFromBytes(stops.data(), (uint32_t)(stops.size() * 4));
    if (h && count)
        *count = (int32_t)stops.size();
    return h;
}

MemHandle txRefitTabs(MemHandle h)
{
    std::vector<int32_t> stops;
    int32_t W, spacing;
    {
        ObLock r(h);
        Layout l;
        if (!layoutOf(r, &l) || l.n == 0)
            return h;
        int32_t box[2];
        memcpy(box, l.data, 8);
        W = box[0] - 2 * l.header->borderX * 20;
        spacing = l.header->tabSpacing;
        for (uint32_t i = 0; i < l.n; ++i) {
            uint32_t v;
            memcpy(&v, l.tabs + 4 * i, 4);
            stops.push_back((int32_t)v);
        }
    }
    int32_t last = stops.back();
    if (W == last)
        return h;
    if (W > last) {
        if (spacing != 0) {
            int32_t floor = stops.size() >= 2 ? stops[stops.size() - 2] : 0;
            stops.pop_back();
            for (int64_t k = 0; (int64_t)k * spacing < W; ++k)
                if (k * spacing > floor)
                    stops.push_back((int32_t)(k * spacing));
            stops.push_back(W);
        } else {
            stops.back() = W;
        }
    } else {
        for (size_t i = 0; i < stops.size(); ++i)
            if (stops[i] > W) {
                stops[i] = W;
                stops.resize(i + 1);
                break;
            }
    }
    MemHandle parts[4];
    if (!txSplitRecord(h, parts))
        return h;
    {
        MemLock<TextHeader> th(parts[1]);
        th->tabCount = (uint32_t)stops.size();
    }
    utFreeHandle(parts[2]);
    parts[2] = utHandleFromBytes(stops.data(), (uint32_t)(stops.size() * 4));
    MemHandle joined = txJoinRecord(parts);
    if (!joined)
        return h;
    // The rebuilt record takes the old one's place in its list and tree.
    obRelinkMoved(h, joined);
    utFreeHandle(h);
    return joined;
}
