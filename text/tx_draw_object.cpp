// Drawing text objects, their rotation and bounds, and line geometry.
#include "text/tx_draw_object.h"
#include "text/tx_format.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include "objects/fld_frame.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <string.h>
#include <vector>

namespace {

inline uint8_t B(const char *s, int32_t i) { return (uint8_t)s[i]; }

const double kTenthToRad = 3.141592654 / 1800.0;

// The parts of a text record, or false when the record is shorter than its
// header says.
struct Parts {
    const TextHeader *th;
    const uint8_t *tabs;
    const char *stream;
    int32_t boxW, boxH;
};

bool partsOf(const ObjectRecord *rec, Parts *p)
{
    if (!rec || rec->type != OBT_TEXT)
        return false;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kTxDataFixed > rec->length)
        return false;
    const uint8_t *data = obRecData(const_cast<ObjectRecord *>(rec));
    p->th = reinterpret_cast<const TextHeader *>(data + 8);
    if ((uint64_t)at + kTxDataFixed + 4ull * p->th->tabCount + p->th->streamLength > rec->length)
        return false;
    p->tabs = data + kTxDataFixed;
    p->stream = p->th->streamLength ? reinterpret_cast<const char *>(p->tabs + 4 * p->th->tabCount)
                                    : nullptr;
    // A stream without its terminator inside the record is not drawn.
    if (p->stream && p->stream[p->th->streamLength - 1] != 0 &&
        txCheckStreamBounded(p->stream, p->th->streamLength) < 0)
        p->stream = nullptr;
    memcpy(&p->boxW, data, 4);
    memcpy(&p->boxH, data + 4, 4);
    return true;
}

RECT boxOf(const ObjectRecord *rec, const Parts &p)
{
    RECT r;
    r.left = rec->centreX - p.boxW / 2;
    r.top = rec->centreY - p.boxH / 2;
    r.right = r.left + p.boxW;
    r.bottom = r.top + p.boxH;
    return r;
}

void fillPolygon(HDC dc, const POINT *pts, int n, HBRUSH brush)
{
    GdiSelect b(dc, brush);
    GdiSelect p(dc, GetStockObject(NULL_PEN));
    Polygon(dc, pts, n);
}

}  // namespace

void txSetupDC(HDC dc, const ObjectRecord *rec, RECT *box, TxSavedDC *saved)
{
    Parts p;
    if (box)
        SetRectEmpty(box);
    if (partsOf(rec, &p) && box)
        *box = boxOf(rec, p);
    saved->rop2 = (rec->flags & OBF_NOTXOR) ? SetROP2(dc, R2_NOTXORPEN) : 0;
    saved->textAlign = SetTextAlign(dc, TA_BASELINE);
    saved->textColour = SetTextColor(dc, rec->fillColour);
    saved->bkMode = SetBkMode(dc, OPAQUE);
    saved->bkColour = SetBkColor(dc, rec->backColour);
}

void txSetupDCInner(HDC dc, const ObjectRecord *rec, RECT *box, TxSavedDC *saved)
{
    txSetupDC(dc, rec, box, saved);
    Parts p;
    if (box && partsOf(rec, &p))
        txInsetByBorder(box, p.th);
}

void txRestoreDC(HDC dc, const TxSavedDC *saved)
{
    if (saved->rop2)
        SetROP2(dc, saved->rop2);
    SetTextAlign(dc, saved->textAlign);
    SetTextColor(dc, saved->textColour);
    SetBkMode(dc, saved->bkMode);
    SetBkColor(dc, saved->bkColour);
}

void txDrawRuledLines(HDC dc, const RECT *rect, int32_t spacing, int penStyle, COLORREF colour,
                      const RECT *clipBand)
{
    if (!dc || !rect || spacing <= 0)
        return;
    GdiObject<HPEN> pen(CreatePen(penStyle, 1, colour));
    if (!pen)
        return;
    GdiSelect sel(dc, pen);
    for (int32_t y = rect->top + spacing; y < rect->bottom; y += spacing) {
        if (clipBand && (y < clipBand->top || y > clipBand->bottom))
            continue;
        MoveToEx(dc, rect->left, y, nullptr);
        LineTo(dc, rect->right, y);
    }
}

void txDrawRuledLinesOf(HDC dc, MemHandle object, const RECT *rect)
{
    ObLock r(object);
    Parts p;
    if (!r || !partsOf(r.get(), &p) || r->rotation)
        return;
    if ((p.th->flags & (TXF_PLAIN | TXF_RULED)) != (TXF_PLAIN | TXF_RULED))
        return;
    CharFormat f;
    txFormatFromHeader(&f, p.th, nullptr, 0, 0);
    RECT box = rect ? *rect : boxOf(r.get(), p);
    txDrawRuledLines(dc, &box, txLineAdvance(&f, p.th->ruledExtra), p.th->ruledPenStyle,
                     r->penColour, nullptr);
}

void txDrawObject(HDC dc, ObjectRecord *rec)
{
    Parts p;
    if (!dc || !partsOf(rec, &p))
        return;
    const TextHeader *th = p.th;
    TxSavedDC saved;
    RECT box;
    txSetupDC(dc, rec, &box, &saved);
    RECT textRect = box;
    txInsetByBorder(&textRect, th);
    int columns = th->columns > 1 ? th->columns : 1;
    if (columns > 1) {
        int32_t pitch = (box.right - box.left) / columns;
        textRect = box;
        textRect.right = textRect.left + pitch;
        InflateRect(&textRect, -th->borderX * 20, -th->borderY * 20);
    }
    int32_t count = 0, spacing = 0;
    MemHandle tabH = txGetTabStops(&textRect, th, (th->flags & TXF_VERTICAL) != 0, &count, &spacing);
    std::vector<int32_t> tabs;
    if (tabH) {
        MemLock<int32_t> t(tabH);
        tabs.assign(t.get(), t.get() + count);
    }
    utFreeHandle(tabH);

    POINT centre = {rec->centreX, rec->centreY};
    POINT corners[4] = {{box.left, box.top}, {box.right, box.top}, {box.right, box.bottom},
                        {box.left, box.bottom}};
    if (rec->rotation)
        geoRotatePointsAbout(corners, 4, centre, -rec->rotation * kTenthToRad);

    if (th->bkMode == 2) {
        if (rec->flags & OBF_SHADOW) {
            POINT shadow[4];
            memcpy(shadow, corners, sizeof shadow);
            obOffsetByShadow(shadow, 4);
            GdiObject<HBRUSH> sb(obCreateShadowBrush());
            if (sb)
                fillPolygon(dc, shadow, 4, sb);
        }
        GdiObject<HBRUSH> bb(CreateSolidBrush(rec->backColour));
        if (bb)
            fillPolygon(dc, corners, 4, bb);
    }
    const COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    bool framed = false;
    if (columns > 1) {
        fldDrawFrameBorderRotated(dc, &box, (int16_t)rec->rotation, th->frameStyle, th->frameCorner,
                                  colours);
        framed = true;
        if ((th->divider >> 8) != 0x0F) {
            int32_t w = 0, style = PS_SOLID;
            gdiDecodeLineWidth((uint16_t)(th->divider & 0x0F00), &w, &style);
            if (style != PS_NULL) {
                GdiObject<HPEN> pen(CreatePen(style, style == PS_SOLID ? w : 1, rec->penColour));
                GdiSelect sel(dc, pen);
                for (int i = 1; i < columns; ++i) {
                    int32_t x = box.left + i * ((box.right - box.left) / columns);
                    POINT line[2] = {{x, box.top}, {x, box.bottom}};
                    if (rec->rotation)
                        geoRotatePointsAbout(line, 2, centre, -rec->rotation * kTenthToRad);
                    MoveToEx(dc, line[0].x, line[0].y, nullptr);
                    LineTo(dc, line[1].x, line[1].y);
                }
            }
        }
    }
    if ((th->flags & (TXF_PLAIN | TXF_RULED)) == (TXF_PLAIN | TXF_RULED) && !rec->rotation) {
        CharFormat f;
        txFormatFromHeader(&f, th, nullptr, 0, 0);
        txDrawRuledLines(dc, &box, txLineAdvance(&f, th->ruledExtra), th->ruledPenStyle,
                         rec->penColour, nullptr);
    }
    if (th->frameStyle && !framed)
        fldDrawFrameBorderRotated(dc, &box, (int16_t)rec->rotation, th->frameStyle, th->frameCorner,
                                  colours);

    if (p.stream) {
        SetBkMode(dc, TRANSPARENT);
        CharFormat fmt;
        txFormatFromHeader(&fmt, th, &textRect, rec->fillColour, rec->backColour);
        if (rec->rotation)
            fmt.lf.lfEscapement = fmt.lf.lfOrientation = rec->rotation;
        RECT lines = textRect;
        if ((th->flags & TXF_ORIGIN) && (th->flags & (TXF_ON_NODES | TXF_ON_CURVE))) {
            if (th->flags & TXF_VERTICAL)
                lines.right = rec->centreX + th->originX;
            else
                lines.left = rec->centreX + th->originX;
            lines.top = rec->centreY + th->originY;
        }
        uint16_t v = th->align & 0x1C;
        if (!(th->flags & TXF_VERTICAL) && (v == 8 || v == 16)) {
            CharFormat copy = fmt;
            int32_t depth = txMeasureHeight(dc, p.stream, &copy);
            int32_t top = gdiAlignY(textRect, depth, th->align);
            if (v == 16 && top < textRect.top)
                top = textRect.top;
            lines.top = top;
        }
        fmt.lineRect = lines;
        if ((rec->flags & OBF_SHADOW) && th->bkMode != 2) {
            int32_t dx = 0, dy = 0;
            obGetShadowOffset(&dx, &dy);
            CharFormat shadow = fmt;
            OffsetRect(&shadow.lineRect, dx, dy);
            COLORREF old = SetTextColor(dc, obGetShadowColour());
            txSetColorsEnabled(FALSE);
            if (columns > 1)
                txDrawColumns(dc, p.stream, &shadow, rec->rotation, count, tabs.empty() ? nullptr : tabs.data());
            else
                txDrawLines(dc, p.stream, &shadow, rec->rotation, count, tabs.empty() ? nullptr : tabs.data());
            txSetColorsEnabled(TRUE);
            SetTextColor(dc, old);
        }
        if (columns > 1)
            txDrawColumns(dc, p.stream, &fmt, rec->rotation, count, tabs.empty() ? nullptr : tabs.data());
        else
            txDrawLines(dc, p.stream, &fmt, rec->rotation, count, tabs.empty() ? nullptr : tabs.data());
    }
    txRestoreDC(dc, &saved);
}

void txDrawObjectH(HDC dc, MemHandle object)
{
    ObLock r(object);
    if (r && r.extent() >= r->length)
        txDrawObject(dc, r.get());
}

int32_t txTwoThirds(int32_t value) { return 2 * (value < 0 ? -value : value) / 3; }

void txRotateRect(RECT *r, int32_t angle)
{
    POINT c = {(r->left + r->right) / 2, (r->top + r->bottom) / 2};
    POINT pts[4] = {{r->left, r->top}, {r->right, r->top}, {r->right, r->bottom}, {r->left, r->bottom}};
    geoRotatePointsAbout(pts, 4, c, -angle * kTenthToRad);
    geoPointsBounds(pts, 4, r);
}

BOOL txGetBounds(RECT *out, ObjectRecord *rec)
{
    Parts p;
    if (!partsOf(rec, &p))
        return FALSE;
    RECT box = boxOf(rec, p);
    if (rec->rotation)
        txRotateRect(&box, rec->rotation);
    rec->width = box.right - box.left;
    rec->height = box.bottom - box.top;
    if (out)
        *out = box;
    return TRUE;
}

void txRotateObject(ObjectRecord *rec, const POINT *about, int32_t angle)
{
    if (!rec || (rec->flags & OBF_NO_ROTATE))
        return;
    if (about) {
        POINT c = {rec->centreX, rec->centreY};
        geoRotatePointsAbout(&c, 1, *about, -angle * kTenthToRad);
        rec->centreX = c.x;
        rec->centreY = c.y;
    }
    int32_t r = ((int32_t)rec->rotation + angle) % 3600;
    if (r < 0)
        r += 3600;
    rec->rotation = (uint16_t)r;
    txGetBounds(nullptr, rec);
}

int32_t txOffsetAtX(HDC dc, const char *text, int32_t n, CharFormat *fmt, int32_t x,
                    int32_t count, const int32_t *tabs)
{
    if (!dc || !text || !fmt)
        return 0;
    SetTextJustification(dc, 0, 0);
    HDC m = txChooseMeasureDC(dc);
    txBeginDraw(dc, fmt);
    int32_t at = 0;
    if ((fmt->align & 0x103) == 0 && fmt->indentLevel)
        at = txTabAt(fmt->indentLevel, count, tabs);
    int32_t i = 0, result = -1;
    while (i < n && B(text, i) && result < 0) {
        uint8_t b = B(text, i);
        if (b == TX_ESC) {
            BOOL changed = FALSE;
            i += txApplyCodeRun(fmt, text + i, nullptr, &changed);
            if (changed)
                txSelectFormat(dc, m, fmt, nullptr, nullptr, TRUE);
            continue;
        }
        if (b == TX_GS) {
            uint32_t size = txMeasureObject(dc, m, 0, 0, 0, text + i, FALSE, 0, nullptr, nullptr);
            int32_t w = (int32_t)(size & 0xFFFF);
            if (x < at + w) {
                result = (at + w - x < x - at) ? i + B(text, i + 1) + 2 : i;
                break;
            }
            at += w;
            i += B(text, i + 1) + 2;
            continue;
        }
        if (b >= 32) {
            int32_t j = i;
            while (j < n && B(text, j) >= 32)
                ++j;
            SIZE run = txRunExtent(m, text + i, j - i, fmt->cellWidth);
            if (x < at + run.cx) {
                int32_t left = at;
                for (int32_t k = i; k < j;) {
                    int32_t step = txIsDBCSLead(fmt->codePage, text + k) ? 2 : 1;
                    SIZE pre = txRunExtent(m, text + i, k + step - i, fmt->cellWidth);
                    int32_t right = at + pre.cx;
                    if (right >= x) {
                        result = (right - x <= x - left) ? k + step : k;
                        break;
                    }
                    left = right;
                    k += step;
                }
                if (result < 0)
                    result = j;
                break;
            }
            at += run.cx;
            i = j;
            continue;
        }
        if (b == TX_TAB) {
            int32_t to = txNextTabStop(at, count, tabs);
            if (to > x) {
                result = i;
                break;
            }
            at = to;
        } else if (b == TX_RETURN) {
            SIZE f = txRunExtent(m, "f", 1, 0);
            at += f.cx;
        }
        ++i;
    }
    txEndDraw(dc);
    return result >= 0 ? result : i;
}

int32_t txXAtOffset(HDC dc, const char *text, int32_t offset, CharFormat *fmt, int32_t count,
                    const int32_t *tabs)
{
    if (!dc || !text || !fmt)
        return 0;
    HDC m = txChooseMeasureDC(dc);
    txBeginDraw(dc, fmt);
    int32_t at = 0;
    if ((fmt->align & 0x103) == 0 && fmt->indentLevel)
        at = txTabAt(fmt->indentLevel, count, tabs);
    int32_t i = 0;
    while (i < offset && B(text, i)) {
        uint8_t b = B(text, i);
        if (b == TX_ESC) {
            BOOL changed = FALSE;
            i += txApplyCodeRun(fmt, text + i, nullptr, &changed);
            if (changed)
                txSelectFormat(dc, m, fmt, nullptr, nullptr, TRUE);
            continue;
        }
        if (b == TX_GS) {
            at += (int32_t)(txMeasureObject(dc, m, 0, 0, 0, text + i, FALSE, 0, nullptr, nullptr) & 0xFFFF);
            i += B(text, i + 1) + 2;
            continue;
        }
        if (b >= 32) {
            int32_t j = i;
            while (j < offset && B(text, j) >= 32)
                ++j;
            at += txRunExtent(m, text + i, j - i, fmt->cellWidth).cx;
            i = j;
            continue;
        }
        if (b == TX_TAB)
            at = txNextTabStop(at, count, tabs);
        else if (b == TX_RETURN)
            at += txRunExtent(m, "f", 1, 0).cx;
        ++i;
    }
    txEndDraw(dc);
    return at;
}

int txColumnTest(MemHandle object)
{
    ObLock r(object);
    Parts p;
    if (!r || !partsOf(r.get(), &p))
        return 0;
    if ((p.th->align & 0x103) == 0x100)
        return 1;
    return p.stream && txHasJustifyAlign(p.stream) ? 1 : 0;
}
