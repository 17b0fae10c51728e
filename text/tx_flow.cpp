// Building, sizing and re-flowing text objects.
#include "text/tx_flow.h"
#include "text/tx_break.h"
#include "text/tx_columns.h"
#include "text/tx_draw_object.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "text/te_fontlist.h"
#include "text/te_scale.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/dlg_value.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

// A copy of what a text record holds (its stream without the terminator).
struct Copy {
    ObjectRecord head;
    int32_t box[2] = {0, 0};
    TextHeader th;
    std::vector<uint32_t> tabs;
    std::string stream;
    bool hasStream = false;
};

bool readCopy(MemHandle h, Copy *c)
{
    ObLock r(h);
    if (!r || r->type != OBT_TEXT)
        return false;
    uint32_t at = obDataOffset(r.get());
    uint64_t extent = r.extent();
    if ((uint64_t)at + kTxDataFixed > extent)
        return false;
    const uint8_t *d = obRecData(r.get());
    c->head = *r.get();
    memcpy(c->box, d, 8);
    memcpy(&c->th, d + 8, sizeof(TextHeader));
    uint32_t n = c->th.tabCount, L = c->th.streamLength;
    if ((uint64_t)at + kTxDataFixed + 4ull * n + L > extent)
        return false;
    c->tabs.resize(n);
    if (n)
        memcpy(c->tabs.data(), d + kTxDataFixed, 4 * n);
    c->hasStream = L > 0;
    if (L) {
        const char *s = reinterpret_cast<const char *>(d + kTxDataFixed + 4 * n);
        c->stream.assign(s, (size_t)txstrnlen(s, (int32_t)L));
    } else {
        c->stream.clear();
    }
    return true;
}

// The box rectangle of a copy.
RECT boxOf(const Copy &c)
{
    RECT r;
    r.left = c.head.centreX - c.box[0] / 2;
    r.top = c.head.centreY - c.box[1] / 2;
    r.right = r.left + c.box[0];
    r.bottom = r.top + c.box[1];
    return r;
}

RECT boundsOf(const ObjectRecord &head)
{
    RECT r;
    obRecGetRect(&head, &r);
    return r;
}

// Replaces the stream with len bytes of s (0: no text); the record is
// reallocated to its new size. 0 when memory fails (the object unchanged).
MemHandle putStream(MemHandle h, const char *s, int32_t len)
{
    uint32_t at, n;
    {
        ObLock r(h);
        if (!r || r->type != OBT_TEXT)
            return 0;
        at = obDataOffset(r.get());
        if ((uint64_t)at + kTxDataFixed > r.extent())
            return 0;
        const TextHeader *th = reinterpret_cast<const TextHeader *>(obRecData(r.get()) + 8);
        n = th->tabCount;
    }
    uint32_t L = len > 0 ? (uint32_t)len + 1 : 0;
    uint32_t size = at + kTxDataFixed + 4 * n + L;
    std::string keep(s ? s : "", len > 0 ? (size_t)len : 0);
    MemHandle g = h;
    if (size > utHandleSize(h)) {
        g = obResize(h, size);
        if (!g)
            return 0;
    }
    {
        ObLock r(g);
        uint8_t *d = obRecData(r.get());
        TextHeader *th = reinterpret_cast<TextHeader *>(d + 8);
        th->streamLength = L;
        if (L) {
            memcpy(d + kTxDataFixed + 4 * n, keep.data(), keep.size());
            d[kTxDataFixed + 4 * n + keep.size()] = 0;
        }
        r->length = size;
    }
    // A shorter stream keeps the block (and so the handle): the record's
    // length says where it ends.
    txRecordSize(g);
    return g;
}

struct MeasureDC {
    explicit MeasureDC(HWND w, BOOL forcePrinter = FALSE)
        : window(w), printer(forcePrinter || txUsePrinterMetrics())
    {
        dc = txGetMeasureDC(window, printer);
    }
    ~MeasureDC() { txReleaseMeasureDC(window, dc, printer); }
    HWND window;
    BOOL printer;
    HDC dc;
};

// The tab stops of the text rectangle of a record.
std::vector<int32_t> tabStopsOf(MemHandle h, const RECT *textRect, BOOL vertical)
{
    std::vector<int32_t> out;
    TextHeader *th = txLockHeader(h);
    if (!th)
        return out;
    int32_t count = 0;
    MemHandle t = txGetTabStops(textRect, th, vertical, &count, nullptr);
    utUnlock(h);
    if (t) {
        MemLock<int32_t> p(t);
        out.assign(p.get(), p.get() + count);
    }
    utFreeHandle(t);
    return out;
}

void warnId(UINT id)
{
    char text[256] = "";
    if (!utLoadString(nullptr, id, text))
        lstrcpyA(text, id == kTxStrHeightTooLarge
                           ? "Text height too large.  The text may not be properly drawn"
                           : "Text width too large.  The text may not be properly drawn");
    utWarningBox(nullptr, text);
}

int32_t roundHalfAway(double v) { return (int32_t)(v < 0 ? -floor(-v + 0.5) : floor(v + 0.5)); }

// Sets the head from the (unrotated) box rectangle and the box pair.
void setHeadFromBox(MemHandle h, RECT box)
{
    ObLock r(h);
    if (!r)
        return;
    uint8_t *d = obRecData(r.get());
    int32_t size[2] = {box.right - box.left, box.bottom - box.top};
    memcpy(d, size, 8);
    RECT head = box;
    if (r->rotation)
        txRotateRect(&head, r->rotation);
    obRecSetRect(r.get(), &head);
}

// The plain-text cleaning of one byte: every control byte but tab, LF and
// CR becomes a space, so that no false code start is left in the stream.
char cleanPlain(char c)
{
    uint8_t b = (uint8_t)c;
    return (b < 32 && b != TX_TAB && b != TX_SEOL && b != TX_RETURN) ? ' ' : c;
}

}  // namespace

// ---- layout ---------------------------------------------------------------------

void txRelayout(MemHandle obj)
{
    Copy c;
    if (!readCopy(obj, &c) || !c.hasStream)
        return;
    RECT bounds = boundsOf(c.head), textRect = boxOf(c);
    txInsetByBorder(&textRect, &c.th);
    BOOL vertical = (c.th.flags & TXF_VERTICAL) != 0;
    std::vector<int32_t> tabs = tabStopsOf(obj, &textRect, vertical);
    MeasureDC m(nullptr);
    CharFormat fmt;
    txFormatFromHeader(&fmt, &c.th, &bounds, 0, 0xFFFFFF);
    ObLock r(obj);
    uint8_t *d = obRecData(r.get());
    char *s = reinterpret_cast<char *>(d + kTxDataFixed + 4 * c.th.tabCount);
    txFixLineLengths(s);
    int32_t len = txstrlen(s), off = 0;
    while (off < len) {
        char *p = s + off;
        if (!txIsLineInfo(p)) {
            off = txUnitEnd(s, off);
            continue;
        }
        TxLineInfo li;
        memcpy(&li, p + 3, 8);
        int32_t n = li.n > 0 ? li.n : 0;
        if (n > len - off - kTxLineInfoSize)
            n = len - off - kTxLineInfoSize;
        uint32_t e = txMeasureLine(m.dc, p + kTxLineInfoSize, n, &fmt, (int32_t)tabs.size(),
                                   tabs.empty() ? nullptr : tabs.data());
        int32_t w = (int32_t)(e & 0xFFFF), hgt = (int32_t)(e >> 16);
        if (fmt.flags & TX_FMT_RULED)
            hgt = txLineAdvance(&fmt, fmt.ruledExtra);
        li.W = (uint16_t)w;
        li.H = (uint16_t)hgt;
        li.nBLO = (int16_t)txLastAscent();
        memcpy(p + 3, &li, 8);
        off += kTxLineInfoSize + n;
        if (B(s, off) == TX_SEOL)
            ++off;
    }
}

RECT txMeasureBox(MemHandle obj)
{
    RECT out = {0, 0, 0, 0};
    Copy c;
    if (!readCopy(obj, &c))
        return out;
    RECT bounds = boundsOf(c.head);
    MeasureDC m(nullptr);
    CharFormat fmt;
    txFormatFromHeader(&fmt, &c.th, &bounds, 0, 0xFFFFFF);
    int32_t w = 0, h = 0;
    if (c.hasStream && !c.stream.empty())
        txMeasureText(m.dc, c.stream.c_str(), &fmt, &w, &h);
    if (h == 0 && w == 0) {
        // No text: the box still holds one line of the base font, so that
        // an empty object does not vanish when fitted.
        int32_t line = txGetLineHeight(m.dc, &fmt);
        if (c.th.flags & TXF_VERTICAL)
            w = line;
        else
            h = line;
    }
    out.right = w + 2 * c.th.borderX * 20;
    out.bottom = h + 2 * c.th.borderY * 20;
    return out;
}

int txFitBoxEx(MemHandle obj, BOOL fitFlow, BOOL exact, BOOL warn)
{
    Copy c;
    if (!readCopy(obj, &c))
        return 0;
    if (c.head.flags & OBF_TEXT_FIT)
        return 0;
    if (c.th.flags & (TXF_ON_NODES | TXF_ON_CURVE)) {
        ObLock r(obj);
        txGetBounds(nullptr, r.get());
        return 1;
    }
    RECT box = boxOf(c);
    RECT need = txMeasureBox(obj);
    int32_t W = need.right, H = need.bottom;
    bool heightWarned = false;
    if (warn && H > kTxMaxExtent) {
        warnId(kTxStrHeightTooLarge);
        H = kTxMaxExtent;
        heightWarned = true;
    }
    BOOL vertical = (c.th.flags & TXF_VERTICAL) != 0;
    BOOL rtl = (c.th.flags & TXF_RTL) != 0;
    if (fitFlow) {
        if (vertical) {
            if (H >= kTxMaxExtent) {
                if (!heightWarned)
                    utWarningBox(nullptr, "Text height exceeds limits");
                H = kTxMaxExtent;
            }
            box.bottom = box.top + H;
        } else {
            if (W >= kTxMaxExtent) {
                warnId(kTxStrWidthTooLarge);
                W = kTxMaxExtent;
            }
            switch (c.th.align & TXA_HMASK) {
            case TXA_CENTRE: {
                int32_t mid = (box.left + box.right) / 2;
                box.left = mid - W / 2;
                break;
            }
            case TXA_RIGHT:
                box.left = box.right - W;
                break;
            default:
                break;
            }
            box.right = box.left + W;
        }
    }
    if (vertical) {
        int32_t have = box.right - box.left;
        if (exact || W > have) {
            if (rtl)
                box.left = box.right - W;
            else
                box.right = box.left + W;
        }
    } else {
        int32_t have = box.bottom - box.top;
        if (exact || H > have)
            box.bottom = box.top + H;
    }
    setHeadFromBox(obj, box);
    return 1;
}

int txFitBox(MemHandle obj, BOOL fitFlow, BOOL exact) { return txFitBoxEx(obj, fitFlow, exact, TRUE); }

int txFitHeight(HWND, MemHandle obj)
{
    Copy c;
    if (!readCopy(obj, &c))
        return 0;
    RECT box = boxOf(c);
    int32_t H = txMeasureBox(obj).bottom;
    if (H == box.bottom - box.top)
        return 0;
    if (H > kTxMaxExtent) {
        warnId(kTxStrHeightTooLarge);
        H = kTxMaxExtent;
    }
    switch (c.th.align & TXA_VMASK) {
    case TXA_VCENTRE: {
        int32_t mid = (box.top + box.bottom) / 2;
        box.top = mid - H / 2;
        box.bottom = box.top + H;
        break;
    }
    case TXA_BOTTOM:
        box.top = box.bottom - H;
        break;
    default:
        box.bottom = box.top + H;
        break;
    }
    setHeadFromBox(obj, box);
    return 1;
}

int txFitWidth(HWND, MemHandle obj)
{
    Copy c;
    if (!readCopy(obj, &c))
        return 0;
    RECT box = boxOf(c);
    int32_t W = txMeasureBox(obj).right;
    if (W == box.right - box.left)
        return 0;
    if (W > kTxMaxExtent) {
        utWarningBox(nullptr, "Text width exceeds limit");
        W = kTxMaxExtent;
    }
    if (c.th.flags & TXF_RTL)
        box.left = box.right - W;
    else
        box.right = box.left + W;
    setHeadFromBox(obj, box);
    return 1;
}

MemHandle txRewrap(HWND window, MemHandle obj, BOOL warn)
{
    Copy c;
    if (!readCopy(obj, &c))
        return obj;
    if (c.th.flags & (TXF_ON_NODES | TXF_ON_CURVE))
        return obj;
    if (c.th.columns > 1) {
        TextColumnSpec spec;
        if (!txGetColumnSpec(obj, &spec))
            return obj;
        MemHandle g = txMakeColumns(obj, &spec);
        return g ? g : obj;
    }
    if (c.th.streamLength < 1)
        return obj;
    RECT textRect = boxOf(c);
    txInsetByBorder(&textRect, &c.th);
    BOOL vertical = (c.th.flags & TXF_VERTICAL) != 0;
    std::vector<int32_t> tabs = tabStopsOf(obj, &textRect, vertical);
    // Wrapped text breaks at the box; other text only at its returns, within
    // the extent limit.
    bool wrapped = (c.th.flags & (TXF_WRAP | TXF_WRAP_LOW)) == (TXF_WRAP | TXF_WRAP_LOW);
    int32_t lineLength = !wrapped ? kTxMaxExtent
                         : vertical ? textRect.bottom - textRect.top
                                    : textRect.right - textRect.left;
    MemHandle laid;
    {
        MeasureDC m(window);
        laid = txLayoutStream(m.dc, c.stream.c_str(), lineLength, &c.th.lf, c.th.align,
                              c.th.spacing, c.th.charSpacing, 0, 0xFFFFFF, (int32_t)tabs.size(),
                              tabs.empty() ? nullptr : tabs.data(), FALSE);
    }
    if (!laid)
        return obj;
    MemHandle g;
    {
        MemLock<char> p(laid);
        g = putStream(obj, p.get(), txstrlen(p.get()));
    }
    utFreeHandle(laid);
    if (!g)
        return obj;
    txFitBoxEx(g, FALSE, TRUE, warn);
    return g;
}

// ---- setting text ------------------------------------------------------------------

MemHandle txReplaceText(HWND window, MemHandle obj, const char *text, int kind, BOOL rewrap,
                        BOOL warn)
{
    if (!obj || obGetType(obj) != OBT_TEXT)
        return obj;
    MemHandle converted = 0;
    const char *s = text ? text : "";
    if (kind == TXK_PLAIN && *s) {
        converted = txPlainToStream(s);
        if (!converted)
            return obj;
    }
    MemHandle g;
    if (converted) {
        MemLock<char> p(converted);
        g = putStream(obj, p.get(), txstrlen(p.get()));
    } else {
        g = putStream(obj, s, txstrlen(s));
    }
    utFreeHandle(converted);
    if (!g)
        return obj;
    txRelayout(g);
    if (rewrap)
        g = txRewrap(window, g, warn);
    return g;
}

MemHandle txReplaceTextWarn(HWND window, MemHandle obj, const char *text, int kind, BOOL warn)
{
    return txReplaceText(window, obj, text, kind, TRUE, warn);
}

MemHandle txReplaceTextAll(HWND window, MemHandle obj, const char *text, int kind)
{
    return txReplaceText(window, obj, text, kind, TRUE, TRUE);
}

MemHandle txAppendText(HWND window, MemHandle obj, const char *text, int kind)
{
    if (!obj || !text || !*text)
        return obj;
    Copy c;
    if (!readCopy(obj, &c))
        return obj;
    std::string add;
    if (kind == TXK_PLAIN) {
        MemHandle conv = txPlainToStream(text);
        if (!conv)
            return obj;
        {
            MemLock<char> p(conv);
            add.assign(p.get(), (size_t)txstrlen(p.get()));
        }
        utFreeHandle(conv);
    } else {
        add.assign(text, (size_t)txstrlen(text));
    }
    if (add.empty())
        return obj;
    std::string all = c.stream + add;
    MemHandle g = putStream(obj, all.c_str(), (int32_t)all.size());
    if (!g)
        return obj;
    txRelayout(g);
    return txRewrap(window, g, TRUE);
}

MemHandle txGetFormattedStream(MemHandle obj)
{
    MemHandle s = txCopyStream(obj);
    if (!s)
        return 0;
    CharFormat fmt;
    if (!txGetCharFormat(obj, &fmt))
        return s;
    if (txEncodeFormatSize(&fmt) == 0)
        return s;
    MemHandle out = txPrefixFormat(s, &fmt);
    if (!out)
        return s;
    utFreeHandle(s);
    return out;
}

MemHandle txAppendObjectText(MemHandle target, MemHandle source, BOOL paragraphBreak)
{
    if (!source)
        return target;
    if (!target)
        return obDup(source);
    MemHandle text = txGetFormattedStream(source);
    if (!text)
        return target;
    if (paragraphBreak)
        target = txAppendText(nullptr, target, "\r", TXK_PLAIN);
    {
        MemLock<char> p(text);
        target = txAppendText(nullptr, target, p.get(), TXK_CODED);
    }
    utFreeHandle(text);
    return target;
}

// ---- splitting for page flow --------------------------------------------------------

MemHandle txSplitAt(HWND window, MemHandle obj, int32_t height, MemHandle *rest)
{
    if (rest)
        *rest = obj;
    Copy c;
    if (!readCopy(obj, &c) || !c.hasStream || c.stream.empty())
        return 0;
    RECT bounds = boundsOf(c.head), textRect = boxOf(c);
    txInsetByBorder(&textRect, &c.th);
    std::vector<int32_t> tabs = tabStopsOf(obj, &textRect, (c.th.flags & TXF_VERTICAL) != 0);
    int32_t at;
    {
        MeasureDC m(window, TRUE);
        CharFormat fmt;
        txFormatFromHeader(&fmt, &c.th, &bounds, 0, 0xFFFFFF);
        const char *p = txMeasureLines(m.dc, c.stream.c_str(), &fmt, (int32_t)tabs.size(),
                                       tabs.empty() ? nullptr : tabs.data(), height);
        at = p ? (int32_t)(p - c.stream.c_str()) : -1;
    }
    if (at < 0)
        return 0;   // all fits: the object stays whole
    if (at == 0) {
        if (rest)
            *rest = 0;
        MemHandle copy = obDup(obj);
        if (copy) {
            ObLock r(copy);
            obRecClearLinks(r.get());
        }
        return copy;
    }
    // The new object: everything before the stream, then the bytes from the
    // split on.
    MemHandle part = obDup(obj);
    if (!part)
        return 0;
    {
        ObLock r(part);
        obRecClearLinks(r.get());
    }
    std::string tail = c.stream.substr((size_t)at);
    MemHandle g = putStream(part, nullptr, 0);
    if (!g) {
        utFreeHandle(part);
        return 0;
    }
    part = txReplaceText(window, g, tail.c_str(), TXK_CODED, TRUE, FALSE);
    MemHandle cut = putStream(obj, c.stream.c_str(), at);
    if (cut) {
        txRelayout(cut);
        txFitBoxEx(cut, FALSE, TRUE, FALSE);
        if (rest)
            *rest = cut;
    }
    return part;
}

MemHandle txSplitAtBottom(HWND window, MemHandle obj, const RECT *limit, MemHandle *rest)
{
    if (rest)
        *rest = obj;
    if (!obj || !limit)
        return 0;
    RECT r;
    obGetRect(obj, &r);
    if (limit->bottom >= r.bottom)
        return 0;
    if (r.top < limit->bottom) {
        MemHandle part = txSplitAt(window, obj, limit->bottom - r.top, rest);
        if (part) {
            RECT pr;
            obGetRect(part, &pr);
            ObLock p(part);
            obRecMoveBy(p.get(), limit->left - pr.left, limit->top - pr.top);
        }
        return part;
    }
    if (rest)
        *rest = 0;
    MemHandle copy = obDup(obj);
    if (copy) {
        ObLock p(copy);
        obRecClearLinks(p.get());
    }
    return copy;
}

// ---- resizing ------------------------------------------------------------------------

namespace {

// Scales the origin and the absolute-position codes of curved text; 1 when
// the stream holds such codes.
bool scaleCurved(MemHandle obj, double sx, double sy)
{
    bool any = false;
    ObLock r(obj);
    TextHeader *th = reinterpret_cast<TextHeader *>(obRecData(r.get()) + 8);
    th->originX = roundHalfAway(th->originX * sx);
    th->originY = roundHalfAway(th->originY * sy);
    if (!th->streamLength)
        return false;
    char *s = reinterpret_cast<char *>(obRecData(r.get()) + kTxDataFixed + 4 * th->tabCount);
    for (int32_t i = 0; B(s, i); i = txUnitEnd(s, i)) {
        if (txCodeNumber(s + i) != TXC_POSITION || txCodeUnitSize(s + i) < 13)
            continue;
        int32_t xy[2];
        memcpy(xy, s + i + 3, 8);
        xy[0] = roundHalfAway(xy[0] * sx);
        xy[1] = roundHalfAway(xy[1] * sy);
        memcpy(s + i + 3, xy, 8);
        any = true;
    }
    return any;
}

MemHandle scaleUnwrapped(MemHandle obj, const RECT &target, BOOL exact)
{
    Copy c;
    if (!readCopy(obj, &c))
        return obj;
    int32_t nw = target.right - target.left, nh = target.bottom - target.top;
    if (!exact && nw == c.head.width && nh == c.head.height) {
        ObLock r(obj);
        r->centreX = (target.left + target.right) / 2;
        r->centreY = (target.top + target.bottom) / 2;
        return obj;
    }
    double sx = (c.head.width && nw != c.head.width) ? (double)nw / c.head.width : 1.0;
    double sy = (c.head.height && nh != c.head.height) ? (double)nh / c.head.height : 1.0;
    LOGFONTA lf = c.th.lf;
    if (lf.lfWidth == 0)
        txSetAverageWidth(nullptr, &lf);
    {
        ObLock r(obj);
        obRecSetRect(r.get(), &target);
        uint8_t *d = obRecData(r.get());
        int32_t box[2];
        memcpy(box, d, 8);
        if (r->rotation) {
            box[0] = roundHalfAway(box[0] * (sx + sy) / 2);
            box[1] = roundHalfAway(box[1] * (sx + sy) / 2);
        } else {
            box[0] = nw;
            box[1] = nh;
        }
        memcpy(d, box, 8);
        TextHeader *th = reinterpret_cast<TextHeader *>(d + 8);
        th->lf = lf;
        th->lf.lfHeight = roundHalfAway(lf.lfHeight * sy);
        th->lf.lfWidth = roundHalfAway(lf.lfWidth * sx);
        th->tabSpacing = roundHalfAway(th->tabSpacing * sx);
        for (uint32_t i = 0; i < th->tabCount; ++i) {
            uint32_t v;
            memcpy(&v, d + kTxDataFixed + 4 * i, 4);
            v = (uint32_t)roundHalfAway((int32_t)v * sx);
            memcpy(d + kTxDataFixed + 4 * i, &v, 4);
        }
        if (th->streamLength)
            teScaleSizeCodes(reinterpret_cast<char *>(d + kTxDataFixed + 4 * th->tabCount), sx, sy);
    }
    txRelayout(obj);
    txFitBox(obj, TRUE, TRUE);
    return txRefitTabs(obj);
}

}  // namespace

MemHandle txResize(MemHandle obj, const POINT corners[2], BOOL exact)
{
    if (!obj || !corners || obGetType(obj) != OBT_TEXT)
        return obj;
    RECT target = {std::min(corners[0].x, corners[1].x), std::min(corners[0].y, corners[1].y),
                   std::max(corners[0].x, corners[1].x), std::max(corners[0].y, corners[1].y)};
    Copy c;
    if (!readCopy(obj, &c))
        return obj;
    int32_t nw = target.right - target.left, nh = target.bottom - target.top;
    if (c.th.flags & (TXF_ON_NODES | TXF_ON_CURVE)) {
        double sx = c.head.width ? (double)nw / c.head.width : 1.0;
        double sy = c.head.height ? (double)nh / c.head.height : 1.0;
        if (scaleCurved(obj, sx, sy)) {
            ObLock r(obj);
            obRecSetRect(r.get(), &target);
            int32_t box[2] = {nw, nh};
            memcpy(obRecData(r.get()), box, 8);
            return obj;
        }
        return scaleUnwrapped(obj, target, exact);
    }
    if ((c.th.flags & (TXF_WRAP | TXF_WRAP_LOW)) != (TXF_WRAP | TXF_WRAP_LOW))
        return scaleUnwrapped(obj, target, exact);
    if (!exact && nw == c.head.width && nh == c.head.height) {
        ObLock r(obj);
        r->centreX = (target.left + target.right) / 2;
        r->centreY = (target.top + target.bottom) / 2;
        return obj;
    }
    if (c.th.columns > 1) {
        MemHandle g = obj;
        if (nw != c.head.width) {
            TextColumnSpec spec;
            if (txGetColumnSpec(g, &spec)) {
                spec.bounds = target;
                MemHandle made = txMakeColumns(g, &spec);
                if (made)
                    g = made;
            }
        }
        MemHandle bal = txRebalanceColumns(g, nh);
        if (bal)
            g = bal;
        RECT now;
        obGetRect(g, &now);
        ObLock r(g);
        obRecMoveBy(r.get(), target.left - now.left, target.top - now.top);
        return g;
    }
    {
        double sx = c.head.width ? (double)nw / c.head.width : 1.0;
        double sy = c.head.height ? (double)nh / c.head.height : 1.0;
        ObLock r(obj);
        obRecSetRect(r.get(), &target);
        int32_t box[2] = {nw, nh};
        if (r->rotation) {
            box[0] = roundHalfAway(c.box[0] * sx);
            box[1] = roundHalfAway(c.box[1] * sy);
        }
        memcpy(obRecData(r.get()), box, 8);
    }
    MemHandle g = txRefitTabs(obj);
    return txRewrap(nullptr, g, TRUE);
}

MemHandle txResizeTo(MemHandle obj, const POINT corners[2]) { return txResize(obj, corners, FALSE); }

MemHandle txRescale(MemHandle obj, const RECT *target)
{
    if (!target)
        return obj;
    POINT pts[2] = {{target->left, target->top}, {target->right, target->bottom}};
    return txResizeTo(obj, pts);
}

MemHandle txFitPastedWrap(MemHandle obj, int32_t extraPoints)
{
    if (!obj || obGetType(obj) != OBT_TEXT)
        return obj;
    BOOL wrapped = txIsWrapped(obj);
    {
        TextHeader *th = txLockHeader(obj);
        th->flags &= ~TXF_WRAP;
        utUnlock(obj);
    }
    txFitBox(obj, TRUE, TRUE);
    if (!wrapped)
        return obj;
    {
        TextHeader *th = txLockHeader(obj);
        th->flags |= TXF_WRAP;
        utUnlock(obj);
    }
    if (extraPoints == 0)
        return obj;
    RECT r;
    obGetRect(obj, &r);
    POINT pts[2] = {{r.left, r.top}, {r.right + extraPoints * 20, r.bottom}};
    return txResizeTo(obj, pts);
}

// ---- character spacing and formats ---------------------------------------------------

int txAskCharSpacing(HWND window, uint16_t *value)
{
    if (!value)
        return 0;
    double v = *value / 10.0, step = 0.1, lo = 0.0, hi = 2560.0;
    if (!dlgEnterValue(window, "Extra Character Spacing", "Points", DLG_VALUE_DOUBLE, &step, &lo,
                       &hi, &v))
        return 0;
    double t = floor(v * 10 + 0.5);
    *value = (uint16_t)(t < 0 ? 0 : t > 65535 ? 65535 : t);
    return 1;
}

MemHandle txSetCharSpacing(HWND window, MemHandle obj, uint16_t value)
{
    Copy c;
    if (!readCopy(obj, &c))
        return obj;
    bool changed = c.th.charSpacing != value;
    {
        TextHeader *th = txLockHeader(obj);
        th->charSpacing = value;
        utUnlock(obj);
    }
    std::string s = c.stream;
    s.push_back('\0');
    int32_t len = c.hasStream ? txStripCode(&s[0], TXC_CHAR_SPACING) : 0;
    MemHandle g = obj;
    if (c.hasStream && len != (int32_t)c.stream.size()) {
        MemHandle p = putStream(obj, s.c_str(), len);
        if (p)
            g = p;
        changed = true;
    }
    if (changed) {
        txRelayout(g);
        g = txRewrap(window, g, TRUE);
    }
    return g;
}

MemHandle txClearFormats(HWND window, MemHandle obj)
{
    Copy c;
    if (!readCopy(obj, &c) || !c.hasStream)
        return obj;
    std::string s = c.stream;
    s.push_back('\0');
    int32_t len = txStripAllCodes(&s[0]);
    s.resize((size_t)len);
    return txReplaceText(window, obj, s.c_str(), TXK_CODED, TRUE, TRUE);
}

MemHandle txResetFormats(HWND window, MemHandle obj)
{
    MemHandle g = txClearFormats(window, obj);
    return txSetCharSpacing(window, g, 0);
}

// ---- plain text ------------------------------------------------------------------------

MemHandle txPlainToStream(const char *text)
{
    if (!text || !*text)
        return 0;
    size_t len = strlen(text);
    if ((uint8_t)text[len - 1] == 26)
        --len;   // a trailing Ctrl-Z ends the text
    if (!len)
        return 0;
    // Lines end at CR (a following LF dropped) or at a lone LF, which
    // becomes a paragraph return like the CR of other systems.
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < len; ++i) {
        char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            cur.push_back('\r');
            lines.push_back(cur);
            cur.clear();
            if (ch == '\r' && i + 1 < len && text[i + 1] == '\n')
                ++i;
            continue;
        }
        cur.push_back(cleanPlain(ch));
    }
    if (!cur.empty())
        lines.push_back(cur);
    // A line longer than a line's i16 byte count is cut into several, each
    // with its own line-information code: room for every piece's code.
    const size_t kPiece = 32700;
    size_t pieces = 0;
    for (const std::string &l : lines)
        pieces += l.empty() ? 1 : (l.size() + kPiece - 1) / kPiece;
    MemHandle h = utAllocHandle(0, (uint32_t)(len + (size_t)kTxLineInfoSize * pieces + 1));
    if (!h)
        return 0;
    MemLock<char> d(h);
    int32_t w = 0;
    for (const std::string &l : lines) {
        size_t from = 0;
        do {
            size_t n = std::min(l.size() - from, kPiece);
            TxLineInfo li = {(int16_t)n, 0, 0, 0};
            w += txMakeBlockCode(d.get() + w, TXC_LINE_INFO, &li, 8);
            memcpy(d.get() + w, l.data() + from, n);
            w += (int32_t)n;
            from += n;
        } while (from < l.size());
    }
    d[w] = 0;
    return h;
}

int32_t txStripToPlain(char *dest, const char *s, BOOL expandCr)
{
    if (!s)
        return 0;
    int32_t w = 0;
    for (int32_t i = 0; B(s, i);) {
        uint8_t b = B(s, i);
        if (b == TX_ESC) {
            int32_t n = txCodeUnitSize(s + i);
            i += n > 0 ? n : 1;
            continue;
        }
        if (b == TX_GS) {
            int32_t n = txObjectSize(s + i);
            i += n > 0 ? n : 1;
            if (dest)
                dest[w] = '^';
            ++w;
            continue;
        }
        ++i;
        if (b == 5 || b == 6)
            continue;
        if (dest)
            dest[w] = (char)b;
        ++w;
        if (b == TX_RETURN && expandCr && B(s, i) != TX_SEOL) {
            if (dest)
                dest[w] = '\n';
            ++w;
        }
    }
    if (dest)
        dest[w] = 0;
    return w;
}

int32_t txVisibleCharCount(const char *stream, BOOL countCrAsTwo)
{
    return txStripToPlain(nullptr, stream, countCrAsTwo);
}

MemHandle txExpandCr(const char *text)
{
    if (!text || !*text)
        return 0;
    std::string out;
    for (size_t i = 0; text[i]; ++i) {
        out.push_back(text[i]);
        if (text[i] == '\r' && text[i + 1] != '\n')
            out.push_back('\n');
    }
    return utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
}

MemHandle txGetPlainText(MemHandle obj)
{
    MemHandle s = txCopyStream(obj);
    if (!s)
        return 0;
    std::string plain;
    {
        MemLock<char> p(s);
        int32_t n = txStripToPlain(nullptr, p.get(), FALSE);
        plain.resize((size_t)n + 1);
        txStripToPlain(&plain[0], p.get(), FALSE);
        plain.resize((size_t)n);
    }
    utFreeHandle(s);
    MemHandle out = txExpandCr(plain.c_str());
    return out ? out : utHandleFromBytes("", 1);
}

MemHandle txWrapPlainText(HWND window, int32_t width, const char *text, const TextHeader *header)
{
    if (!text || !*text || !header)
        return 0;
    if (width < 240)
        width = 240;
    std::string work;
    for (const char *p = text; *p; ++p)
        work.push_back(cleanPlain(*p));
    CharFormat fmt;
    txFormatFromLogFont(&fmt, &header->lf, 0, header->spacing, header->charSpacing, 0, 0xFFFFFF);
    int32_t n = 0;
    MemHandle lines;
    {
        MeasureDC m(window);
        lines = txBreakIntoLines(m.dc, work.c_str(), &fmt, width, 0, nullptr, &n);
    }
    if (!lines)
        return 0;
    std::string out;
    {
        MemLock<TxLineRecord> recs(lines);
        size_t from = 0;
        for (int32_t k = 0; k < n; ++k) {
            TxLineInfo li;
            memcpy(&li, recs[(size_t)k].info + 3, 8);
            std::string line = work.substr(from, (size_t)li.n);
            from += (size_t)li.n;
            while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
                line.pop_back();
            if (k)
                out.push_back('\n');
            out += line;
        }
    }
    utFreeHandle(lines);
    return utHandleFromBytes(out.c_str(), (uint32_t)out.size() + 1);
}

MemHandle txWideToStream(const WCHAR *wide, uint8_t charset)
{
    if (!wide || !wide[0])
        return 0;
    int32_t n = 0;
    while (wide[n])
        ++n;
    uint32_t size = 2 * (uint32_t)n + 2;
    MemHandle h = utAllocHandle(0, size);
    if (!h)
        return 0;
    int got;
    {
        MemLock<char> d(h);
        got = WideCharToMultiByte(txCharsetCodePage(charset), 0, wide, n, d.get(),
                                  (int)size - 1, nullptr, nullptr);
        if (got > 0)
            d[got] = 0;
    }
    if (got <= 0)
        return utFreeHandle(h);
    return h;
}

int32_t txParsePoints(const char *text)
{
    if (!text)
        return 0;
    const char *p = text;
    while (*p == ' ')
        ++p;
    char *end = nullptr;
    double v = strtod(p, &end);
    if (end == p)
        return 0;
    while (*end == ' ')
        ++end;
    if (*end)
        return 0;
    int32_t r = roundHalfAway(v * 20);
    return r < 0 ? -r : r;
}
