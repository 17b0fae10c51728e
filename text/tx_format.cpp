// Character formats: building them, applying control codes to them, and
// writing a format or the difference of two formats back as codes.
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_stream.h"
#include "text/te_objref.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

inline int16_t rdI16(const uint8_t *p)
{
    int16_t v;
    memcpy(&v, p, 2);
    return v;
}

inline uint32_t rdU32(const uint8_t *p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

inline int32_t rdI32(const uint8_t *p)
{
    int32_t v;
    memcpy(&v, p, 4);
    return v;
}

// The face name: at most 31 characters, always terminated.
void setFace(LOGFONTA *lf, const char *face, size_t room)
{
    size_t n = 0;
    while (n < room && n < LF_FACESIZE - 1 && face[n])
        ++n;
    memcpy(lf->lfFaceName, face, n);
    memset(lf->lfFaceName + n, 0, LF_FACESIZE - n);
}

size_t faceLength(const LOGFONTA *lf) { return strnlen(lf->lfFaceName, LF_FACESIZE - 1); }

// Copies the face into a terminated buffer (the LOGFONT's may lack the 0).
void faceOf(const LOGFONTA *lf, char out[LF_FACESIZE])
{
    size_t n = faceLength(lf);
    memcpy(out, lf->lfFaceName, n);
    out[n] = 0;
}

int32_t foldTurn(int32_t a)
{
    a %= 3600;
    if (a < 0)
        a += 3600;
    if (a >= 1800)
        a = 3600 - a;
    return a;
}

enum RunStop { STOP_NONE, STOP_AT_LINK, STOP_AT_LINK_OR_KEPT };

bool stopsRun(int code, RunStop stop)
{
    if (stop == STOP_NONE)
        return false;
    if (code >= TXC_HYPER_MARK && code <= TXC_HYPER_ON)
        return true;
    return stop == STOP_AT_LINK_OR_KEPT && (code == TXC_LINE_INFO || code == TXC_ANCHOR);
}

int32_t applyRun(CharFormat *fmt, const char *p, uint32_t *offset, BOOL *fontChanged,
                 RunStop stop)
{
    uint16_t dx = 0, dy = 0;
    BOOL changed = FALSE;
    int32_t n = 0;
    while (B(p, n) == TX_ESC && !stopsRun(B(p, n + 2), stop)) {
        uint32_t off = 0;
        BOOL f = FALSE;
        n += txApplyCode(fmt, p + n, 0, 0, nullptr, nullptr, &off, nullptr, &f);
        dx = (uint16_t)(dx + (off & 0xFFFF));
        dy = (uint16_t)(dy + (off >> 16));
        changed |= f;
    }
    if (offset)
        *offset = (uint32_t)dx | ((uint32_t)dy << 16);
    if (fontChanged)
        *fontChanged = changed;
    return n;
}

}  // namespace

uint32_t txCharsetCodePage(uint8_t charset)
{
    switch (charset) {
    case 128: return 932;
    case 129: return 949;
    case 136: return 950;
    case 161: return 737;
    case 177: return 862;
    case 186: return 775;
    case 178: case 255: return 1;
    default: return 0;
    }
}

void txFormatFromLogFont(CharFormat *fmt, const LOGFONTA *lf, uint16_t align, uint8_t spacing,
                         uint16_t charSpacing, COLORREF fore, COLORREF back)
{
    memset(fmt, 0, sizeof *fmt);
    if (lf)
        fmt->lf = *lf;
    fmt->align = align;
    fmt->spacing = spacing ? spacing : 4;
    fmt->bkMode = 1;
    fmt->foreColor = fore;
    fmt->backColor = back;
    fmt->charSpacing = charSpacing;
    fmt->codePage = txCharsetCodePage(fmt->lf.lfCharSet);
    fmt->columns = 1;
}

void txFormatFromHeader(CharFormat *fmt, const TextHeader *h, const RECT *frameRect,
                        COLORREF fore, COLORREF back)
{
    txFormatFromLogFont(fmt, &h->lf, h->align, h->spacing, h->charSpacing, fore, back);
    fmt->flags = h->formatFlags;
    if ((h->flags & TXF_PLAIN) && (h->flags & TXF_RULED))
        fmt->flags |= TX_FMT_RULED;
    if (h->flags & TXF_VERTICAL)
        fmt->flags |= TX_FMT_VERTICAL;
    if (h->flags & TXF_RTL)
        fmt->flags |= TX_FMT_RTL;
    if (frameRect) {
        fmt->frameRect = *frameRect;
        fmt->lineRect = *frameRect;
    }
    fmt->borderX = h->borderX * 20;
    fmt->borderY = h->borderY * 20;
    fmt->columns = h->columns > 1 ? h->columns : 1;
    fmt->columnIndex = 0;
    fmt->ruledExtra = h->ruledExtra;
    fmt->cellWidth = h->cellWidth;
    fmt->codePage = txCharsetCodePage(h->lf.lfCharSet);
}

int32_t txApplyCode(CharFormat *fmt, const char *p, int32_t originX, int32_t originY,
                    int32_t *x, int32_t *y, uint32_t *offset, int32_t *turn, BOOL *fontChanged)
{
    if (offset)
        *offset = 0;
    if (turn)
        *turn = 0;
    if (!p || B(p, 0) != TX_ESC)
        return 0;
    const int32_t len = B(p, 1) + 2;
    if (!fmt)
        return len;
    const uint8_t *pay = txPayload(p);
    const int32_t n = len - 5;   // payload bytes
    BOOL font = FALSE;
    LOGFONTA &lf = fmt->lf;
    // A payload shorter than its code needs (a damaged stream) changes nothing.
    auto has = [n](int32_t need) { return n >= need; };
    switch (B(p, 2)) {
    case 1: lf.lfWeight = 700; font = TRUE; break;
    case 2: lf.lfWeight = 400; font = TRUE; break;
    case 3: lf.lfItalic = 1; font = TRUE; break;
    case 4: lf.lfItalic = 0; font = TRUE; break;
    case 5: lf.lfUnderline = 1; font = TRUE; break;
    case 6: lf.lfUnderline = 0; font = TRUE; break;
    case 7: lf.lfStrikeOut = 1; font = TRUE; break;
    case 8: lf.lfStrikeOut = 0; font = TRUE; break;
    case 9: fmt->subscript = 1; font = TRUE; break;
    case 10: fmt->subscript = 0; font = TRUE; break;
    case 11: fmt->superscript = 1; font = TRUE; break;
    case 12: fmt->superscript = 0; font = TRUE; break;
    case 13: if (has(2)) { lf.lfHeight = rdI16(pay); font = TRUE; } break;
    case 14:
        if (n > 0) {
            setFace(&lf, reinterpret_cast<const char *>(pay), (size_t)n);
            font = TRUE;
        }
        break;
    case 15:
        if (has(2)) {
            lf.lfCharSet = pay[0];
            fmt->codePage = txCharsetCodePage(pay[0]);
            font = TRUE;
        }
        break;
    case 16: if (has(2)) { lf.lfOutPrecision = pay[0]; font = TRUE; } break;
    case 17: if (has(2)) { lf.lfClipPrecision = pay[0]; font = TRUE; } break;
    case 18: if (has(2)) { lf.lfQuality = pay[0]; font = TRUE; } break;
    case 19: if (has(2)) { lf.lfPitchAndFamily = pay[0]; font = TRUE; } break;
    case 20: if (has(2)) { lf.lfEscapement += rdI16(pay); font = TRUE; } break;
    case 21:
        if (has(2)) {
            int16_t a = rdI16(pay);
            lf.lfOrientation += a;
            if (turn)
                *turn = foldTurn(a);
            font = TRUE;
        }
        break;
    case 22: fmt->inverse = 1; break;
    case 23: fmt->inverse = 0; break;
    case 24: fmt->bkMode = 2; break;
    case 25: fmt->bkMode = 1; break;
    case 32: if (has(2)) { lf.lfWeight = rdI16(pay); font = TRUE; } break;
    case 42:
        if (has(4)) {
            // Two 16-bit halves; a move up or left is stored as its 16-bit
            // two's complement, so each half is read signed.
            uint32_t v = rdU32(pay);
            if (x)
                *x += (int16_t)(v & 0xFFFF);
            if (y)
                *y += (int16_t)(v >> 16);
            if (offset)
                *offset = v;
        }
        break;
    case 43:
        if (has(8)) {
            if (x)
                *x = originX + rdI32(pay);
            if (y)
                *y = originY + rdI32(pay + 4);
        }
        break;
    case 45: if (has(2)) fmt->align = (uint16_t)rdI16(pay); break;
    case 46: if (has(2)) fmt->spacing = pay[0] ? pay[0] : 4; break;
    case 47: fmt->justify = 1; break;
    case 48: fmt->justify = 0; break;
    case 50: if (has(4)) fmt->foreColor = rdU32(pay); break;
    case 51: if (has(4)) fmt->backColor = rdU32(pay); break;
    case 60: fmt->overstrike = 1; break;
    case 61: fmt->overstrike = 0; break;
    case 62: if (has(2)) { lf.lfWidth = rdI16(pay); font = TRUE; } break;
    case 63: fmt->columnFlags |= 1; break;
    case 65:
        if (has(8))
            OffsetRect(&fmt->lineRect, rdI32(pay), rdI32(pay + 4));
        break;
    case 66:
        if (has(16))
            memcpy(&fmt->lineRect, pay, sizeof(RECT));
        break;
    case 67: fmt->lineRect = fmt->frameRect; break;
    case 75:
        if (has(32)) {
            // The LOGFONT's height, width, escapement and orientation are
            // changed as the four sides of a rectangle.
            RECT r = {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation};
            int32_t a = 0, b = 0;
            teApplyObjectRef(p, &r, &a, &b);
            lf.lfHeight = r.left;
            lf.lfWidth = r.top;
            lf.lfEscapement = r.right;
            lf.lfOrientation = r.bottom;
            if (offset)
                *offset = ((uint32_t)a & 0xFFFF) | ((uint32_t)b << 16);
        }
        break;
    case 80: if (has(2)) fmt->leftOffset = rdI16(pay); break;
    case 81: if (has(2)) fmt->rightOffset = rdI16(pay); break;
    case 98: fmt->temp = 1; break;
    case 99: fmt->temp = 0; break;
    case 102: fmt->skip = 1; break;
    case 103: fmt->skip = 0; break;
    case 111: fmt->hyperlink = 0; font = TRUE; break;
    case 112: fmt->hyperlink = 1; font = TRUE; break;
    case 113: fmt->selected = 1; break;
    case 114: fmt->selected = 0; break;
    case 180: if (has(2)) { fmt->charSpacing = (uint16_t)rdI16(pay); font = TRUE; } break;
    default: break;
    }
    if (fontChanged)
        *fontChanged = font;
    return len;
}

int32_t txApplyCodeSimple(CharFormat *fmt, const char *p, uint32_t *offset, BOOL *fontChanged)
{
    return txApplyCode(fmt, p, 0, 0, nullptr, nullptr, offset, nullptr, fontChanged);
}

int32_t txApplyCodeRun(CharFormat *fmt, const char *p, uint32_t *offset, BOOL *fontChanged)
{
    return applyRun(fmt, p, offset, fontChanged, STOP_NONE);
}

int32_t txApplyCodeRunToLink(CharFormat *fmt, const char *p, uint32_t *offset,
                             BOOL *fontChanged)
{
    return applyRun(fmt, p, offset, fontChanged, STOP_AT_LINK);
}

const char *txSkipApplyCodes(const char *p, CharFormat *fmt, int32_t *len)
{
    int32_t n = txApplyCodeRun(fmt, p, nullptr, nullptr);
    if (len)
        *len = n;
    return p + n;
}

int32_t txCodeAngle(const char *p, int32_t *len)
{
    int32_t n = txCodeUnitSize(p);
    if (len)
        *len = n;
    if (n < 7 || B(p, 2) != TXC_ORIENTATION)
        return 0;
    return foldTurn(rdI16(txPayload(p)));
}

void txApplyRange(HDC dc, const char *s, int32_t n, CharFormat *fmt, int32_t count,
                  const int32_t *tabs)
{
    if (!s || !fmt)
        return;
    for (int32_t i = 0; i < n && B(s, i);) {
        uint8_t b = B(s, i);
        if (b == TX_INDENT) {
            if (txChooseMeasureDC(dc)) {
                txMeasureLine(dc, s, n, fmt, count, tabs);
                return;
            }
            break;
        }
        i += (b == TX_ESC || b == TX_GS) ? B(s, i + 1) + 2 : 1;
    }
    for (int32_t i = 0; i < n && B(s, i);) {
        uint8_t b = B(s, i);
        if (b == TX_ESC) {
            i += txApplyCodeSimple(fmt, s + i, nullptr, nullptr);
        } else if (b == TX_GS) {
            i += B(s, i + 1) + 2;
        } else {
            if (b == TX_RETURN)
                fmt->indentLevel = fmt->indentAux = 0;
            ++i;
        }
    }
}

BOOL txFormatHasAttr(const CharFormat *fmt, int code)
{
    switch (code) {
    case 1: return fmt->lf.lfWeight == 700;
    case 3: return fmt->lf.lfItalic != 0;
    case 5: return fmt->lf.lfUnderline != 0;
    case 7: return fmt->lf.lfStrikeOut != 0;
    default: return FALSE;
    }
}

void txSetFormatAttr(CharFormat *fmt, int code, BOOL on)
{
    switch (code) {
    case 1: fmt->lf.lfWeight = on ? 700 : 400; break;
    case 3: fmt->lf.lfItalic = on ? 1 : 0; break;
    case 5: fmt->lf.lfUnderline = on ? 1 : 0; break;
    case 7: fmt->lf.lfStrikeOut = on ? 1 : 0; break;
    case 30:
        fmt->lf.lfWeight = 400;
        fmt->lf.lfItalic = fmt->lf.lfUnderline = fmt->lf.lfStrikeOut = 0;
        break;
    default: break;
    }
}

// ---- the whole format as codes -------------------------------------------

int32_t txEncodeFormat(char *d, const CharFormat *f)
{
    const LOGFONTA &lf = f->lf;
    char face[LF_FACESIZE];
    faceOf(&lf, face);
    int32_t n = 0;
    n += txMakeFlagCode(d + n, f->selected ? TXC_SELECT_ON : TXC_SELECT_OFF);
    if (!f->hyperlink)
        n += txMakeFlagCode(d + n, TXC_HYPER_OFF);
    n += txMakeFaceCode(d + n, face);
    n += txMakeFlagCode(d + n, lf.lfItalic ? TXC_ITALIC_ON : TXC_ITALIC_OFF);
    n += txMakeFlagCode(d + n, lf.lfStrikeOut ? TXC_STRIKE_ON : TXC_STRIKE_OFF);
    n += txMakeFlagCode(d + n, lf.lfUnderline ? TXC_UNDERLINE_ON : TXC_UNDERLINE_OFF);
    n += txMakeFlagCode(d + n, lf.lfWeight >= 700 ? TXC_BOLD_ON : TXC_BOLD_OFF);
    if (lf.lfWeight != 700 && lf.lfWeight != 400)
        n += txMakeWordCode(d + n, TXC_WEIGHT, (int16_t)lf.lfWeight);
    n += txMakeFlagCode(d + n, f->subscript ? TXC_SUB_ON : TXC_SUB_OFF);
    n += txMakeFlagCode(d + n, f->superscript ? TXC_SUP_ON : TXC_SUP_OFF);
    n += txMakeFlagCode(d + n, f->inverse ? TXC_INVERSE_ON : TXC_INVERSE_OFF);
    n += txMakeFlagCode(d + n, f->bkMode == 2 ? TXC_OPAQUE_ON : TXC_OPAQUE_OFF);
    n += txMakeWordCode(d + n, TXC_HEIGHT, (int16_t)lf.lfHeight);
    if (lf.lfWidth)
        n += txMakeWordCode(d + n, TXC_WIDTH, (int16_t)lf.lfWidth);
    // Escapement and orientation codes add to the current value: the whole
    // format turns nothing.
    n += txMakeWordCode(d + n, TXC_ESCAPEMENT, 0);
    n += txMakeWordCode(d + n, TXC_ORIENTATION, 0);
    n += txMakeWordCode(d + n, TXC_CHARSET, lf.lfCharSet);
    n += txMakeWordCode(d + n, TXC_OUT_PRECISION, lf.lfOutPrecision);
    n += txMakeWordCode(d + n, TXC_CLIP_PRECISION, lf.lfClipPrecision);
    n += txMakeWordCode(d + n, TXC_QUALITY, lf.lfQuality);
    n += txMakeWordCode(d + n, TXC_PITCH_FAMILY, lf.lfPitchAndFamily);
    n += txMakeDwordCode(d + n, TXC_FORE, f->foreColor);
    n += txMakeDwordCode(d + n, TXC_BACK, f->backColor);
    n += txMakeWordCode(d + n, TXC_CHAR_SPACING, (int16_t)f->charSpacing);
    return n;
}

int32_t txEncodeFormatSize(const CharFormat *f)
{
    return 5 + (f->hyperlink ? 0 : 5) + ((int32_t)faceLength(&f->lf) + 6) + 40 + 7 + 7 +
           (f->lf.lfWidth ? 7 : 0) + 49 + 18 + 7;
}

MemHandle txFormatToCodes(const CharFormat *fmt)
{
    MemHandle h = utAllocHandle(0, (uint32_t)txEncodeFormatSize(fmt) + 1);
    if (!h)
        return 0;
    MemLock<char> d(h);
    d[txEncodeFormat(d.get(), fmt)] = 0;
    return h;
}

MemHandle txPrefixFormat(MemHandle h, const CharFormat *fmt)
{
    int32_t len;
    {
        MemLock<char> s(h);
        len = s ? txstrlen(s.get()) : 0;
    }
    MemHandle out = utAllocHandle(0, (uint32_t)(txEncodeFormatSize(fmt) + len + 1));
    if (!out)
        return 0;
    {
        MemLock<char> d(out);
        int32_t n = txEncodeFormat(d.get(), fmt);
        MemLock<char> s(h);
        if (s)
            memcpy(d.get() + n, s.get(), (size_t)len);
        d[n + len] = 0;
    }
    return txCloseHyperlinks(out);
}

MemHandle txAppendFormat(MemHandle h, const CharFormat *fmt)
{
    int32_t len;
    {
        MemLock<char> s(h);
        len = s ? txstrlen(s.get()) : 0;
    }
    MemHandle out = utAllocHandle(0, (uint32_t)(txEncodeFormatSize(fmt) + len + 1));
    if (!out)
        return 0;
    MemLock<char> d(out);
    {
        MemLock<char> s(h);
        if (s)
            memcpy(d.get(), s.get(), (size_t)len);
    }
    d[len + txEncodeFormat(d.get() + len, fmt)] = 0;
    return out;
}

// ---- the difference of two formats as codes -------------------------------

int32_t txEncodeFormatChange(char *d, const CharFormat *o, const CharFormat *w)
{
    const LOGFONTA &a = o->lf, &b = w->lf;
    int32_t n = 0;
    auto flag = [&](bool differs, bool on, int onCode, int offCode) {
        if (differs)
            n += txMakeFlagCode(d + n, on ? onCode : offCode);
    };
    flag(o->selected != w->selected, w->selected, TXC_SELECT_ON, TXC_SELECT_OFF);
    if (o->temp != w->temp && !w->temp)
        n += txMakeFlagCode(d + n, TXC_TEMP_OFF);
    if (o->hyperlink && !w->hyperlink)
        n += txMakeFlagCode(d + n, TXC_HYPER_OFF);
    if (o->align != w->align)
        n += txMakeWordCode(d + n, TXC_ALIGN, (int16_t)w->align);
    if (o->spacing != w->spacing)
        n += txMakeWordCode(d + n, TXC_SPACING, w->spacing);
    flag(o->justify != w->justify, w->justify == 1, TXC_JUSTIFY_ON, TXC_JUSTIFY_OFF);
    char fa[LF_FACESIZE], fb[LF_FACESIZE];
    faceOf(&a, fa);
    faceOf(&b, fb);
    if (lstrcmpiA(fa, fb) != 0)
        n += txMakeFaceCode(d + n, fb);
    flag(!a.lfItalic != !b.lfItalic, b.lfItalic, TXC_ITALIC_ON, TXC_ITALIC_OFF);
    flag(!a.lfStrikeOut != !b.lfStrikeOut, b.lfStrikeOut, TXC_STRIKE_ON, TXC_STRIKE_OFF);
    flag(!a.lfUnderline != !b.lfUnderline, b.lfUnderline, TXC_UNDERLINE_ON, TXC_UNDERLINE_OFF);
    if (a.lfWeight != b.lfWeight) {
        n += txMakeFlagCode(d + n, b.lfWeight < 700 ? TXC_BOLD_OFF : TXC_BOLD_ON);
        if (b.lfWeight != 700 && b.lfWeight != 400)
            n += txMakeWordCode(d + n, TXC_WEIGHT, (int16_t)b.lfWeight);
    }
    flag(!o->subscript != !w->subscript, w->subscript, TXC_SUB_ON, TXC_SUB_OFF);
    flag(!o->superscript != !w->superscript, w->superscript, TXC_SUP_ON, TXC_SUP_OFF);
    flag(!o->inverse != !w->inverse, w->inverse, TXC_INVERSE_ON, TXC_INVERSE_OFF);
    flag(o->bkMode != w->bkMode, w->bkMode == 2, TXC_OPAQUE_ON, TXC_OPAQUE_OFF);
    if (a.lfHeight != b.lfHeight)
        n += txMakeWordCode(d + n, TXC_HEIGHT, (int16_t)b.lfHeight);
    if (o->charSpacing != w->charSpacing)
        n += txMakeWordCode(d + n, TXC_CHAR_SPACING, (int16_t)w->charSpacing);
    if (a.lfWidth != b.lfWidth)
        n += txMakeWordCode(d + n, TXC_WIDTH, (int16_t)b.lfWidth);
    if (a.lfEscapement != b.lfEscapement)
        n += txMakeWordCode(d + n, TXC_ESCAPEMENT, (int16_t)(b.lfEscapement - a.lfEscapement));
    if (a.lfOrientation != b.lfOrientation)
        n += txMakeWordCode(d + n, TXC_ORIENTATION, (int16_t)(b.lfOrientation - a.lfOrientation));
    if (a.lfCharSet != b.lfCharSet)
        n += txMakeWordCode(d + n, TXC_CHARSET, b.lfCharSet);
    if (a.lfOutPrecision != b.lfOutPrecision)
        n += txMakeWordCode(d + n, TXC_OUT_PRECISION, b.lfOutPrecision);
    if (a.lfClipPrecision != b.lfClipPrecision)
        n += txMakeWordCode(d + n, TXC_CLIP_PRECISION, b.lfClipPrecision);
    if (a.lfQuality != b.lfQuality)
        n += txMakeWordCode(d + n, TXC_QUALITY, b.lfQuality);
    if (a.lfPitchAndFamily != b.lfPitchAndFamily)
        n += txMakeWordCode(d + n, TXC_PITCH_FAMILY, b.lfPitchAndFamily);
    if (o->foreColor != w->foreColor)
        n += txMakeDwordCode(d + n, TXC_FORE, w->foreColor);
    if (o->backColor != w->backColor)
        n += txMakeDwordCode(d + n, TXC_BACK, w->backColor);
    if (o->temp != w->temp && w->temp)
        n += txMakeFlagCode(d + n, TXC_TEMP_ON);
    flag(o->skip != w->skip, w->skip, TXC_SKIP_ON, TXC_SKIP_OFF);
    return n;
}

int32_t txFormatChangeSize(const CharFormat *oldFmt, const CharFormat *newFmt)
{
    // At most 19 flag codes, 13 word codes, 2 colours and a face: well
    // within the buffer. Encoding gives the exact size.
    char buffer[512];
    return txEncodeFormatChange(buffer, oldFmt, newFmt);
}

// ---- normalisation -------------------------------------------------------

namespace {

struct Normaliser {
    char *s;
    int32_t w = 0;          // where the next byte is written (never past r)
    bool linkOpen = false;  // a kept 112 is open
    bool lineInfo = false;  // a code 100 was met: line lengths to redo

    // Normalises s[r, end) (end a unit boundary); returns end.
    int32_t piece(int32_t r, int32_t end, CharFormat *F)
    {
        while (r < end && B(s, r)) {
            uint8_t b = B(s, r);
            if (b != TX_ESC) {
                int32_t next = b == TX_GS ? r + B(s, r + 1) + 2 : r + 1;
                copy(r, next);
                r = next;
                continue;
            }
            int code = B(s, r + 2);
            int32_t next = r + B(s, r + 1) + 2;
            switch (code) {
            case TXC_LINE_INFO:
                lineInfo = true;
                copy(r, next);
                r = next;
                continue;
            case TXC_ANCHOR:
                copy(r, next);
                r = next;
                continue;
            case TXC_HYPER_MARK:
                r = next;
                continue;
            case TXC_HYPER_OFF:
                if (linkOpen) {
                    txApplyCodeSimple(F, s + r, nullptr, nullptr);
                    copy(r, next);
                    linkOpen = false;
                }
                r = next;
                continue;
            case TXC_HYPER_ON:
                txApplyCodeSimple(F, s + r, nullptr, nullptr);
                copy(r, next);
                linkOpen = true;
                r = next;
                continue;
            default:
                break;
            }
            // A run of other codes: the shortest codes giving the same format.
            CharFormat G = *F;
            uint32_t offset = 0;
            int32_t runEnd = r + applyRunTo(&G, r, end, &offset);
            char buffer[600];
            int32_t n = txEncodeFormatChange(buffer, F, &G);
            if (offset)
                n += txMakeOffsetCode(buffer + n, offset);
            if (n <= runEnd - r) {
                memcpy(s + w, buffer, (size_t)n);
                w += n;
            } else {
                // The shortest form is longer than the run (a lone weight
                // code gains a bold code): the run stays as it is, so the
                // stream never grows past its room.
                copy(r, runEnd);
            }
            *F = G;
            r = runEnd;
        }
        return r;
    }

    // Applies the run at r up to the first non-code, hyperlink code, code
    // 100, code 117 or the piece's end; its length.
    int32_t applyRunTo(CharFormat *G, int32_t r, int32_t end, uint32_t *offset)
    {
        uint16_t dx = 0, dy = 0;
        int32_t i = r;
        while (i < end && B(s, i) == TX_ESC) {
            int code = B(s, i + 2);
            if ((code >= TXC_HYPER_MARK && code <= TXC_HYPER_ON) || code == TXC_LINE_INFO ||
                code == TXC_ANCHOR)
                break;
            uint32_t off = 0;
            i += txApplyCodeSimple(G, s + i, &off, nullptr);
            dx = (uint16_t)(dx + (off & 0xFFFF));
            dy = (uint16_t)(dy + (off >> 16));
        }
        *offset = (uint32_t)dx | ((uint32_t)dy << 16);
        return i - r;
    }

    void copy(int32_t from, int32_t to)
    {
        if (w != from)
            memmove(s + w, s + from, (size_t)(to - from));
        w += to - from;
    }

    int32_t finish(int32_t r)
    {
        // The rest (a damaged piece end) and the terminator.
        int32_t rest = txstrlen(s + r);
        copy(r, r + rest);
        s[w] = 0;
        if (lineInfo)
            txFixLineLengths(s);
        return w;
    }
};

}  // namespace

int32_t txNormaliseCodes(char *s, CharFormat *fmt)
{
    if (!s || !fmt)
        return s ? txstrlen(s) : 0;
    Normaliser n{s};
    return n.finish(n.piece(0, INT32_MAX, fmt));
}

int32_t txNormaliseStream(char *s, CharFormat *fmt, int32_t *pos)
{
    if (!s || !fmt || !pos)
        return txNormaliseCodes(s, fmt);
    Normaliser n{s};
    int32_t r = n.piece(0, *pos, fmt);
    *pos = n.w;
    return n.finish(n.piece(r, INT32_MAX, fmt));
}

int32_t txNormaliseRange(char *s, CharFormat *fmt, int32_t *start, int32_t *end)
{
    if (!s || !fmt || !start || !end)
        return txNormaliseCodes(s, fmt);
    int32_t a = *start < *end ? *start : *end;
    int32_t b = *start < *end ? *end : *start;
    Normaliser n{s};
    int32_t r = n.piece(0, a, fmt);
    int32_t newA = n.w;
    r = n.piece(r, b, fmt);
    int32_t newB = n.w;
    int32_t len = n.finish(n.piece(r, INT32_MAX, fmt));
    if (*start <= *end) {
        *start = newA;
        *end = newB;
    } else {
        *start = newB;
        *end = newA;
    }
    return len;
}
