// Whole-object attributes, fonts and vertical text of text objects.
#include "text/tx_attr.h"
#include "text/tx_draw_object.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "text/te_font_dlg.h"
#include "text/te_fontlist.h"
#include "text/ep_text_font.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

// The stream of a text object as a string (empty for none).
std::string streamOf(MemHandle obj)
{
    std::string s;
    MemHandle c = txCopyStream(obj);
    if (c) {
        MemLock<char> p(c);
        s.assign(p.get(), (size_t)txstrlen(p.get()));
    }
    utFreeHandle(c);
    return s;
}

// Applies an in-place edit to a copy of the stream and sets the result
// (length, record size and layout brought up to date) when it changed.
template <class Edit> MemHandle editStream(HWND window, MemHandle obj, Edit edit, bool *changed)
{
    std::string s = streamOf(obj);
    std::string w = s;
    w.push_back('\0');
    int32_t len = edit(&w[0]);
    w.resize((size_t)len);
    if (changed)
        *changed = w != s;
    if (w == s) {
        txRelayout(obj);
        return obj;
    }
    return txReplaceText(window, obj, w.c_str(), TXK_CODED, FALSE, TRUE);
}

// Wrapped text is re-wrapped, other text fitted (flow and exact).
MemHandle refit(HWND window, MemHandle obj, bool needText)
{
    if (txIsWrapped(obj) && (!needText || txGetStreamLength(obj)))
        return txRewrap(window, obj, TRUE);
    txFitBox(obj, TRUE, TRUE);
    return obj;
}

// Rewrites the word payload of every code of the number.
int32_t rewriteWord(char *s, int code, uint16_t value)
{
    int32_t i = 0;
    for (; B(s, i); i = txUnitEnd(s, i)) {
        if (txCodeNumber(s + i) == code && txCodeUnitSize(s + i) >= 7) {
            if (code == TXC_SPACING)
                s[i + 3] = (char)value;
            else
                memcpy(s + i + 3, &value, 2);
        }
    }
    return i;
}

TextHeader *lockHeader(MemHandle obj)
{
    return obGetType(obj) == OBT_TEXT ? txLockHeader(obj) : nullptr;
}

void stripFaceAndAngles(std::string &s)
{
    s.push_back('\0');
    txStripCode(&s[0], TXC_FACE);
    txStripCode(&s[0], TXC_ORIENTATION);
    int32_t n = txStripCode(&s[0], TXC_ESCAPEMENT);
    s.resize((size_t)n);
}

// The object's rectangle with width and height exchanged, keeping the
// given horizontal edge and the top.
void swapBox(MemHandle obj, bool keepRight)
{
    RECT r;
    obGetRect(obj, &r);
    int32_t w = r.right - r.left, h = r.bottom - r.top;
    RECT n = r;
    if (keepRight)
        n.left = r.right - h;
    else
        n.right = r.left + h;
    n.bottom = r.top + w;
    ObLock rec(obj);
    obRecSetRect(rec.get(), &n);
    int32_t box[2] = {n.right - n.left, n.bottom - n.top};
    memcpy(obRecData(rec.get()), box, 8);
}

}  // namespace

int32_t txStripStyleCodes(char *s, int code)
{
    if (code == 0) {
        // every font code
        int32_t n = txStripFontCodes(s);
        return n;
    }
    if (code == 30) {
        int32_t n = 0;
        for (int c = 1; c <= 8; ++c)
            n = txStripCode(s, c);
        return n;
    }
    txStripCode(s, code);
    int opposite = txOppositeCode(code);
    return opposite ? txStripCode(s, opposite) : txstrlen(s);
}

int txSetLineSpacing(HWND window, MemHandle obj, uint8_t quarters)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return 0;
    th->spacing = quarters;
    utUnlock(obj);
    {
        ObLock r(obj);
        TextHeader *h = reinterpret_cast<TextHeader *>(obRecData(r.get()) + 8);
        if (h->streamLength)
            rewriteWord(reinterpret_cast<char *>(obRecData(r.get()) + kTxDataFixed + 4 * h->tabCount),
                        TXC_SPACING, quarters);
    }
    txRelayout(obj);
    if (txIsVertical(obj))
        txFitWidth(window, obj);
    else
        txFitHeight(window, obj);
    return 1;
}

int txSetAlignment(HWND window, MemHandle obj, uint16_t align)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return 0;
    th->align = align;
    utUnlock(obj);
    {
        ObLock r(obj);
        TextHeader *h = reinterpret_cast<TextHeader *>(obRecData(r.get()) + 8);
        if (h->streamLength)
            rewriteWord(reinterpret_cast<char *>(obRecData(r.get()) + kTxDataFixed + 4 * h->tabCount),
                        TXC_ALIGN, align);
    }
    txRelayout(obj);
    if (!txIsVertical(obj))
        txFitHeight(window, obj);
    return 1;
}

int txClearColorCodes(HWND window, MemHandle obj, COLORREF, int which)
{
    if (obGetType(obj) != OBT_TEXT)
        return 1;
    int code = which == 10 ? TXC_BACK : TXC_FORE;
    // The stream only shrinks: the handle stays.
    editStream(window, obj, [code](char *s) { return txStripCode(s, code); }, nullptr);
    return 1;
}

MemHandle txSetFont(HWND window, MemHandle obj, const LOGFONTA *font)
{
    TextHeader *th = lockHeader(obj);
    if (!th || !font) {
        if (th)
            utUnlock(obj);
        return obj;
    }
    th->lf = *font;
    utUnlock(obj);
    MemHandle g = editStream(window, obj, [](char *s) { return txStripFontCodes(s); }, nullptr);
    return refit(window, g, false);
}

MemHandle txSetFontHeight(HWND window, MemHandle obj, int32_t height)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return obj;
    th->lf.lfHeight = height;
    utUnlock(obj);
    MemHandle g = obj;
    if (txGetStreamLength(obj))
        g = editStream(window, obj, [](char *s) { return txStripCode(s, TXC_HEIGHT); }, nullptr);
    return refit(window, g, true);
}

MemHandle txSetStyleAttr(HWND window, MemHandle obj, int code, BOOL on)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return obj;
    switch (code) {
    case TXC_BOLD_ON: th->lf.lfWeight = on ? 700 : 400; break;
    case TXC_ITALIC_ON: th->lf.lfItalic = on ? 1 : 0; break;
    case TXC_UNDERLINE_ON: th->lf.lfUnderline = on ? 1 : 0; break;
    case TXC_STRIKE_ON: th->lf.lfStrikeOut = on ? 1 : 0; break;
    case 30:
        th->lf.lfWeight = 400;
        th->lf.lfItalic = th->lf.lfUnderline = th->lf.lfStrikeOut = 0;
        break;
    default:
        utUnlock(obj);
        return obj;
    }
    utUnlock(obj);
    MemHandle g = editStream(window, obj, [code](char *s) { return txStripStyleCodes(s, code); },
                             nullptr);
    return refit(window, g, false);
}

void txClearWrap(MemHandle obj)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return;
    th->flags &= ~TXF_WRAP;
    utUnlock(obj);
    txFitBox(obj, TRUE, TRUE);
}

void txSetWrap(MemHandle obj)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return;
    th->flags |= TXF_WRAP;
    utUnlock(obj);
    txFitBox(obj, TRUE, TRUE);
}

void txToggleWrap(MemHandle obj)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return;
    th->flags ^= TXF_WRAP;
    utUnlock(obj);
    if (!txIsWrapped(obj))
        txFitBox(obj, TRUE, TRUE);
}

int txStreamHasAttr(const LOGFONTA *lf, const char *s, int code)
{
    if (!lf)
        return 0;
    bool base;
    switch (code) {
    case TXC_BOLD_ON: base = lf->lfWeight == 700; break;
    case TXC_ITALIC_ON: base = lf->lfItalic != 0; break;
    case TXC_UNDERLINE_ON: base = lf->lfUnderline != 0; break;
    case TXC_STRIKE_ON: base = lf->lfStrikeOut != 0; break;
    default: return 0;
    }
    if (!base)
        return 0;
    if (!s)
        return 1;
    int opposite = txOppositeCode(code);
    for (int32_t i = 0; B(s, i); i = txUnitEnd(s, i)) {
        if (txCodeNumber(s + i) == opposite)
            return txVisibleCharCount(s + i + txCodeUnitSize(s + i), FALSE) == 0 ? 1 : 0;
    }
    return 1;
}

int txHasAttr(MemHandle obj, int code)
{
    TextHeader *th = lockHeader(obj);
    if (!th)
        return 0;
    LOGFONTA lf = th->lf;
    utUnlock(obj);
    std::string s = streamOf(obj);
    return txStreamHasAttr(&lf, s.c_str(), code);
}

// ---- vertical text ---------------------------------------------------------------------

void txSetVerticalAngles(LOGFONTA *font)
{
    if (font)
        font->lfEscapement = font->lfOrientation = 2700;
}

void txSetVertical(MemHandle obj, BOOL on)
{
    {
        ObLock r(obj);
        if (!r || r->type != OBT_TEXT)
            return;
        r->rotation = 0;
        r->flags = on ? (r->flags | OBF_NO_ROTATE) : (r->flags & ~OBF_NO_ROTATE);
    }
    TextHeader *th = txLockHeader(obj);
    th->flags = on ? (th->flags | TXF_VERTICAL) : (th->flags & ~TXF_VERTICAL);
    th->lf.lfEscapement = th->lf.lfOrientation = on ? 2700 : 0;
    utUnlock(obj);
}

BOOL txIsVerticalFace(const char *face)
{
    return face && face[0] == '@' && txFaceExists(0, face);
}

int txToVertical(HWND window, MemHandle *objp)
{
    if (!objp || obGetType(*objp) != OBT_TEXT)
        return 0;
    MemHandle obj = *objp;
    TextHeader *th = txLockHeader(obj);
    LOGFONTA lf = th->lf;
    uint16_t align = th->align;
    utUnlock(obj);
    if (!txIsVerticalFace(lf.lfFaceName)) {
        char at[LF_FACESIZE + 1] = "@";
        size_t n = strnlen(lf.lfFaceName, LF_FACESIZE);
        lstrcpynA(at + 1, lf.lfFaceName, LF_FACESIZE);
        if (n < LF_FACESIZE - 1 && txFaceExists(0, at)) {
            lstrcpynA(lf.lfFaceName, at, LF_FACESIZE);
        } else if (!txChooseVerticalFont(window, &lf)) {
            return 0;
        }
    }
    if (align & TXA_TOP)
        align = (uint16_t)((align & TXA_VMASK) | TXA_RIGHT);
    std::string s = streamOf(obj);
    stripFaceAndAngles(s);
    th = txLockHeader(obj);
    th->lf = lf;
    th->align = align;
    utUnlock(obj);
    swapBox(obj, true);
    txSetVertical(obj, TRUE);
    txSetRightToLeft(obj, TRUE);
    obj = txReplaceText(window, obj, s.c_str(), TXK_CODED, TRUE, TRUE);
    {
        ObLock r(obj);
        txGetBounds(nullptr, r.get());
    }
    *objp = obj;
    return 1;
}

int txFromVertical(HWND window, MemHandle *objp)
{
    if (!objp || obGetType(*objp) != OBT_TEXT)
        return 0;
    MemHandle obj = *objp;
    BOOL rtl = txIsRightToLeft(obj);
    TextHeader *th = txLockHeader(obj);
    LOGFONTA lf = th->lf;
    uint16_t align = th->align;
    utUnlock(obj);
    if (txIsVerticalFace(lf.lfFaceName)) {
        if (txFaceExists(0, lf.lfFaceName + 1)) {
            memmove(lf.lfFaceName, lf.lfFaceName + 1, strnlen(lf.lfFaceName, LF_FACESIZE));
        } else if (!txChooseFont(window, &lf, 0, nullptr)) {
            return 0;
        }
    }
    if (rtl && (align & TXA_RIGHT))
        align = 0;
    std::string s = streamOf(obj);
    stripFaceAndAngles(s);
    th = txLockHeader(obj);
    th->lf = lf;
    th->align = align;
    utUnlock(obj);
    swapBox(obj, false);
    txSetVertical(obj, FALSE);
    txSetRightToLeft(obj, FALSE);
    obj = txReplaceText(window, obj, s.c_str(), TXK_CODED, TRUE, TRUE);
    {
        ObLock r(obj);
        txGetBounds(nullptr, r.get());
    }
    *objp = obj;
    return 1;
}
