// Label objects.
#include "text/tx_label.h"
#include "text/tx_attr.h"
#include "text/tx_break.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include "objects/fld_frame.h"
#include "model/att_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_field_box.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

// The part of a locked Label whose text lies within the record; null when
// the record is too short for what it says.
LabelPart *partOf(ObLock &r)
{
    if (!r || r->type != OBT_LABEL)
        return nullptr;
    uint32_t at = obDataOffset(r.get());
    uint64_t extent = r.extent();
    if ((uint64_t)at + sizeof(LabelPart) + 1 > extent)
        return nullptr;
    LabelPart *p = reinterpret_cast<LabelPart *>(obRecData(r.get()));
    if ((uint64_t)at + sizeof(LabelPart) + p->textLength + 1 > extent)
        return nullptr;
    return p;
}

char *textOf(LabelPart *p) { return reinterpret_cast<char *>(p + 1); }

std::string labelText(MemHandle obj)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    if (!p)
        return std::string();
    const char *t = textOf(p);
    return std::string(t, (size_t)txstrnlen(t, (int32_t)p->textLength));
}

// Edits the Label's text in place (the text only shrinks); the new length.
template <class Edit> void editText(MemHandle obj, Edit edit)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    if (!p || !p->textLength)
        return;
    char *t = textOf(p);
    p->textLength = (uint32_t)edit(t);
    txLabelRecSize(r.get(), r.blockSize());
}

}  // namespace

uint32_t txLabelRecSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t held = rec->length < blockSize ? rec->length : blockSize;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + sizeof(LabelPart) > held)
        return held;
    const LabelPart *p = reinterpret_cast<const LabelPart *>(obRecData(rec));
    uint64_t size = (uint64_t)rec->nameLength + p->textLength + kLabelRecordFixed;
    if (size > blockSize)
        return held;
    rec->length = (uint32_t)size;
    return (uint32_t)size;
}

uint32_t txLabelRecordSize(MemHandle obj)
{
    ObLock r(obj);
    if (!r || r->type != OBT_LABEL)
        return 0;
    return txLabelRecSize(r.get(), r.blockSize());
}

MemHandle txNewLabel(MemHandle h, const LOGFONTA *font, uint16_t align, uint16_t frameStyle,
                     uint32_t corner)
{
    MemHandle g = h ? obResize(h, kLabelRecordFixed) : obNewRecord(kLabelRecordFixed);
    if (!g)
        return 0;
    ObLock r(g);
    r->type = OBT_LABEL;
    r->nameLength = 0;
    r->length = kLabelRecordFixed;
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kLabelRecordFixed - kObHeadSize);
    LabelPart *p = reinterpret_cast<LabelPart *>(d);
    if (font)
        p->lf = *font;
    p->align = align;
    p->frameStyle = frameStyle;
    p->frameCorner = corner;
    return g;
}

uint32_t txGetLabelTextLength(MemHandle obj)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    return p ? p->textLength : 0;
}

MemHandle txCopyLabelText(MemHandle obj)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    if (!p || !p->textLength)
        return 0;
    return utHandleFromBytes(textOf(p), p->textLength + 1);
}

MemHandle txSetLabelText(MemHandle obj, const char *stream)
{
    uint32_t oldLen, at;
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return obj;
        oldLen = p->textLength;
        at = obDataOffset(r.get());
    }
    uint32_t len = stream ? (uint32_t)txstrlen(stream) : 0;
    std::string keep(stream ? stream : "", len);
    uint32_t size = at + sizeof(LabelPart) + len + 1;
    MemHandle g = obj;
    if (len != oldLen) {
        g = obResize(obj, size);
        if (!g)
            return obj;
    }
    ObLock r(g);
    LabelPart *p = reinterpret_cast<LabelPart *>(obRecData(r.get()));
    p->textLength = len;
    memcpy(textOf(p), keep.c_str(), len + 1);
    txLabelRecSize(r.get(), r.blockSize());
    return g;
}

uint16_t txGetLabelAlign(MemHandle obj)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    return p ? p->align : 0;
}

void txSetLabelAlign(MemHandle obj, uint16_t align)
{
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return;
        p->align = align;
    }
    editText(obj, [](char *t) { return txStripCode(t, TXC_ALIGN); });
}

BOOL txGetLabelFrame(MemHandle obj, uint16_t *frameStyle, uint32_t *corner)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    if (!p)
        return FALSE;
    if (frameStyle)
        *frameStyle = p->frameStyle;
    if (corner)
        *corner = p->frameCorner;
    return TRUE;
}

void txSetLabelFrame(MemHandle obj, uint16_t frameStyle, uint32_t corner)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    if (!p)
        return;
    p->frameStyle = frameStyle;
    p->frameCorner = corner;
}

BOOL txGetLabelFont(MemHandle obj, LOGFONTA *font)
{
    ObLock r(obj);
    LabelPart *p = partOf(r);
    if (!p || !font)
        return FALSE;
    *font = p->lf;
    return TRUE;
}

MemHandle txSetLabelFont(HWND window, MemHandle obj, const LOGFONTA *font)
{
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p || !font)
            return obj;
        p->lf = *font;
    }
    editText(obj, [](char *t) { return txStripFontCodes(t); });
    return txRewrapLabel(window, obj);
}

MemHandle txSetLabelFontHeight(HWND window, MemHandle obj, int32_t height)
{
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return obj;
        p->lf.lfHeight = height;
    }
    editText(obj, [](char *t) { return txStripCode(t, TXC_HEIGHT); });
    return txRewrapLabel(window, obj);
}

MemHandle txSetLabelStyleAttr(HWND window, MemHandle obj, int code, BOOL on)
{
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return obj;
        switch (code) {
        case TXC_BOLD_ON: p->lf.lfWeight = on ? 700 : 400; break;
        case TXC_ITALIC_ON: p->lf.lfItalic = on ? 1 : 0; break;
        case TXC_UNDERLINE_ON: p->lf.lfUnderline = on ? 1 : 0; break;
        case TXC_STRIKE_ON: p->lf.lfStrikeOut = on ? 1 : 0; break;
        case 30:
            p->lf.lfWeight = 400;
            p->lf.lfItalic = p->lf.lfUnderline = p->lf.lfStrikeOut = 0;
            break;
        default:
            return obj;
        }
    }
    editText(obj, [code](char *t) { return txStripStyleCodes(t, code); });
    return txRewrapLabel(window, obj);
}

int txClearLabelColorCodes(HWND, MemHandle obj, COLORREF, int which)
{
    int code = which == 10 ? TXC_BACK : TXC_FORE;
    editText(obj, [code](char *t) { return txStripCode(t, code); });
    return 1;
}

int txLabelHasAttr(MemHandle obj, int code)
{
    LOGFONTA lf;
    if (!txGetLabelFont(obj, &lf))
        return 0;
    std::string t = labelText(obj);
    return txStreamHasAttr(&lf, t.c_str(), code);
}

void txLabelMargins(const RECT *box, const LabelPart *part, int32_t *mx, int32_t *my)
{
    int32_t x = 80, y = 80;
    uint8_t kind = (uint8_t)(part->frameStyle & 0xFF);
    int32_t w = box->right - box->left, h = box->bottom - box->top;
    if (kind == 3) {
        int32_t cw = 0, ch = 0;
        fldFrameCornerSize(box, part->frameCorner, &cw, &ch);
        x = cw / 4 > 80 ? cw / 4 : 80;
        y = ch / 4 > 80 ? ch / 4 : 80;
    } else if (kind == 4) {
        x = w / 4;
        y = h / 4;
    }
    int32_t half = fldFrameBorderHalfWidth(part->frameStyle);
    x = x > half ? x : half;
    y = y > half ? y : half;
    int32_t sx = part->marginX * 20, sy = part->marginY * 20;
    *mx = x > sx ? x : sx;
    *my = y > sy ? y : sy;
}

void txLabelInnerRect(RECT *box, const LabelPart *part)
{
    if (!box || !part)
        return;
    int32_t mx, my;
    txLabelMargins(box, part, &mx, &my);
    InflateRect(box, -mx, -my);
}

MemHandle txRewrapLabel(HWND window, MemHandle obj)
{
    std::string text;
    LabelPart part;
    RECT inner;
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return obj;
        part = *p;
        text.assign(textOf(p), (size_t)txstrnlen(textOf(p), (int32_t)p->textLength));
        obRecGetRect(r.get(), &inner);
    }
    if (text.empty())
        return txFitLabelHeight(obj);
    txLabelInnerRect(&inner, &part);
    TextHeader th = {};
    th.lf = part.lf;
    th.align = part.align;
    MemHandle laid;
    {
        BOOL printer = txUsePrinterMetrics();
        HDC dc = txGetMeasureDC(window, printer);
        laid = txBreakLines(dc, inner.right - inner.left, text.c_str(), &th, part.align, 0);
        txReleaseMeasureDC(window, dc, printer);
    }
    MemHandle g = obj;
    if (laid) {
        {
            MemLock<char> s(laid);
            g = txSetLabelText(obj, s.get());
        }
        utFreeHandle(laid);
    } else {
        g = txSetLabelText(obj, "");
    }
    return txFitLabelHeight(g);
}

MemHandle txLabelToText(MemHandle obj)
{
    LabelPart part;
    std::string text;
    RECT box;
    COLORREF colours[3];
    uint8_t fillKind;
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return 0;
        part = *p;
        text.assign(textOf(p), (size_t)txstrnlen(textOf(p), (int32_t)p->textLength));
        obRecGetRect(r.get(), &box);
        colours[0] = r->penColour;
        colours[1] = r->fillColour;
        colours[2] = r->backColour;
        fillKind = r->fillKind;
    }
    TextHeader th = {};
    th.lf = part.lf;
    th.flags = 0x219;
    th.align = part.align;
    th.bkMode = fillKind > 0 ? 2 : 1;
    th.frameStyle = part.frameStyle;
    th.frameCorner = part.frameCorner;
    th.borderX = part.marginX;
    th.borderY = part.marginY;
    txLabelInnerRect(&box, &part);
    if (!text.empty())
        txFitBoxHeight(text.c_str(), &th, &box, TRUE);
    return txNewTextObject(&box, colours, &th, text.c_str());
}

MemHandle txFitLabelHeight(MemHandle obj)
{
    MemHandle temp = txLabelToText(obj);
    if (!temp)
        return obj;
    RECT before;
    uint8_t marginY = 0;
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        obRecGetRect(r.get(), &before);
        if (p) {
            marginY = p->marginY;
            txLabelInnerRect(&before, p);
        }
    }
    txFitBoxEx(temp, FALSE, TRUE, FALSE);
    RECT after;
    txGetBoxRect(temp, &after);
    utFreeHandle(temp);
    // The fitted box counts the margins the inner rectangle has already
    // left out: compare like with like, so the Label does not grow by its
    // margins on every re-wrap.
    int32_t grow = (after.bottom - after.top) - 2 * marginY * 20 - (before.bottom - before.top);
    if (grow > 0) {
        ObLock r(obj);
        RECT rect;
        obRecGetRect(r.get(), &rect);
        rect.bottom += grow;
        obRecSetRect(r.get(), &rect);
    }
    return obj;
}

void txDrawLabel(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec || rec->type != OBT_LABEL)
        return;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + sizeof(LabelPart) + 1 > rec->length)
        return;
    LabelPart *p = reinterpret_cast<LabelPart *>(obRecData(rec));
    bool hasText = p->textLength && (uint64_t)at + sizeof(LabelPart) + p->textLength + 1 <= rec->length &&
                   textOf(p)[p->textLength] == 0;
    RECT box;
    obRecGetRect(rec, &box);
    COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    if ((rec->flags & OBF_SHADOW) && rec->fillKind != 0)
        fldDrawFrameShadow(dc, &box, p->frameStyle, p->frameCorner);
    if (rec->fillKind == 1)
        fldFillFrame(dc, &box, p->frameStyle, p->frameCorner, rec->backColour);
    if (hasText) {
        RECT inner = box;
        txLabelInnerRect(&inner, p);
        int saved = SaveDC(dc);
        IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
        int oldBk = SetBkMode(dc, TRANSPARENT);
        txDrawStreamEx(dc, &inner, 0, 0, textOf(p), &p->lf, p->align, 0, 0, colours, 0, 0);
        SetBkMode(dc, oldBk);
        RestoreDC(dc, saved);
    }
    fldDrawFrameBorder(dc, &box, p->frameStyle, p->frameCorner, colours);
    obRestoreDCModes(dc, &modes);
}

MemHandle txScaleLabel(MemHandle obj, const RECT *rect)
{
    if (!rect)
        return obj;
    {
        ObLock r(obj);
        LabelPart *p = partOf(r);
        if (!p)
            return obj;
        RECT old;
        obRecGetRect(r.get(), &old);
        if ((p->frameStyle & 0xFF) == 3)
            obScalePackedSize(&old, rect, p->frameStyle, &p->frameCorner);
        obRecSetRect(r.get(), rect);
    }
    return txRewrapLabel(nullptr, obj);
}

MemHandle txConvertOldLabel(MemHandle obj)
{
    LabelPart part = {};
    std::string text;
    {
        ObLock r(obj);
        if (!r || r->type != OBT_FIELD51)
            return obj;
        uint32_t at = obDataOffset(r.get());
        if ((uint64_t)at + 100 > r.extent())
            return obj;
        const uint8_t *d = obRecData(r.get());
        uint32_t first;
        memcpy(&first, d, 4);
        memcpy(&part.lf, d + 16, sizeof(LOGFONTA));
        part.align = (uint16_t)(first & 0xFFFF);
        part.frameStyle = (uint16_t)(first >> 16);
        memcpy(&part.frameCorner, d + 88, 4);
        int n = 0;
        const uint8_t *t = attFindShapeAttr(d, r.extent() - at, 2, &n);
        if (t && n > 0)
            text.assign(reinterpret_cast<const char *>(t), (size_t)txstrnlen(reinterpret_cast<const char *>(t), n));
    }
    // A stream read from an old file is taken only when it checks out.
    if (!text.empty() && txCheckStreamBounded(text.c_str(), (uint32_t)text.size() + 1) < 0) {
        for (char &c : text)
            if ((uint8_t)c < 32 && c != '\t' && c != '\r' && c != '\n')
                c = ' ';
    }
    uint32_t at;
    {
        ObLock r(obj);
        at = obDataOffset(r.get());
    }
    uint32_t size = at + sizeof(LabelPart) + (uint32_t)text.size() + 1;
    MemHandle g = obResize(obj, size);
    if (!g)
        return obj;
    ObLock r(g);
    r->type = OBT_LABEL;
    part.textLength = (uint32_t)text.size();
    uint8_t *d = obRecData(r.get());
    memcpy(d, &part, sizeof part);
    memcpy(d + sizeof part, text.c_str(), text.size() + 1);
    txLabelRecSize(r.get(), r.blockSize());
    return g;
}

BOOL txLabelReadCheck(const ObjectRecord *rec, uint32_t length)
{
    uint32_t at = obDataOffset(rec);
    if (!obHeadWithinLimits(rec) || (uint64_t)at + sizeof(LabelPart) + 1 > length)
        return FALSE;
    LabelPart p;
    memcpy(&p, reinterpret_cast<const uint8_t *>(rec) + at, sizeof p);
    return (uint64_t)at + sizeof(LabelPart) + p.textLength + 1 <= length &&
           obSizeWithinLimits(p.lf.lfHeight) && obSizeWithinLimits(p.lf.lfWidth);
}
