// Check boxes, radio buttons and group boxes: record, geometry, drawing.
#include "forms/fld_check.h"
#include "objects/fld_frame.h"
#include "forms/fld_text.h"
#include "text/tx_paint.h"
#include "model/att_attr.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>

namespace {

// The part when the record holds it with its label and attributes within
// `extent` bytes; null otherwise.
ControlPart *wholePart(ObjectRecord *rec, uint32_t extent)
{
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kCkbPartSize > extent)
        return nullptr;
    ControlPart *part = reinterpret_cast<ControlPart *>(obRecData(rec));
    if ((uint64_t)at + kCkbPartSize + part->labelLength + part->attrBytes > extent)
        return nullptr;
    return part;
}

// The label text when there is one (terminated within the record).
const char *labelOf(const ControlPart *part)
{
    if (part->labelLength < 2)
        return nullptr;
    const char *text = reinterpret_cast<const char *>(part) + kCkbPartSize;
    return memchr(text, 0, part->labelLength) ? text : nullptr;
}

int32_t labelHeight(const ControlPart *part) { return abs(part->font.lfHeight); }

COLORREF lighten(COLORREF c) { return gdiLightenColor34(c); }

// The pen of the object's line style, width and fill colour.
HPEN objectPen(const ObjectRecord *rec, int32_t width)
{
    return CreatePen(gdiLineStylePen(rec->lineStyle), width, rec->fillColour);
}

void drawLabel(HDC dc, ObjectRecord *rec, ControlPart *part)
{
    const char *label = labelOf(part);
    if (!label)
        return;
    RECT r;
    obRecGetRect(rec, &r);
    ckbLabelRect(part, &r, rec->penWidth);
    COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    int oldMode = SetBkMode(dc, TRANSPARENT);
    txDrawStreamEx(dc, &r, 0, 0, label, &part->font, 0, 0, 0, colours, labelHeight(part), 0);
    SetBkMode(dc, oldMode);
}

// The check mark in the box.
void drawMark(HDC dc, const ObjectRecord *rec, const ControlPart *part, const RECT &box)
{
    bool look3d = (part->flags & CKB_3D) != 0;
    int32_t px = dmGetPixelWidth();
    int32_t width = look3d ? 20 : std::max(obGetDrawnPenWidth(rec), px);
    GdiObject<HPEN> pen(objectPen(rec, width));
    GdiSelect selPen(dc, pen);
    RECT m = box;
    if (look3d && box.right - box.left > 120) {
        geoInflateRect(&m, -60, -60);
        m.right += px;
        m.bottom += dmGetPixelHeight();
    }
    switch (part->markStyle) {
    case CKB_MARK_TICK: {
        POINT c;
        geoRectCentre(&box, &c);
        int32_t r = (m.right - m.left) / 2;
        if (!look3d && r > 20)
            r -= 20;
        POINT pts[3] = {{c.x - r / 2, c.y - r / 2}, {c.x, c.y + r / 2}, {c.x + r, c.y - r}};
        for (POINT &p : pts) {
            p.x -= r / 4;
            p.y += r / 4;
        }
        gdiPolyline(dc, pts, 3);
        break;
    }
    case CKB_MARK_CIRCLE: {
        RECT e = box;
        if (box.right - box.left > 80)
            geoInflateRect(&e, -40, -40);
        GdiSelect selBrush(dc, GetStockObject(WHITE_BRUSH));
        gdiEllipse(dc, e.left, e.top, e.right, e.bottom);
        break;
    }
    default:
        if (look3d) {
            geoOffsetRect(&m, -px, 0);
            gdiLine(dc, m.left, m.top, m.right + px, m.bottom + px);
            gdiLine(dc, m.left, m.bottom, m.right + px, m.top - px);
        } else {
            gdiLine(dc, box.left, box.top, box.right, box.bottom);
            gdiLine(dc, box.left, box.bottom, box.right, box.top);
        }
        break;
    }
}

// Sets the rectangle to the object's and hands it with the record and its
// control part to `place`; an empty rectangle when there is no part.
template <typename Place> void withObjectRect(MemHandle h, RECT *rect, Place place)
{
    if (!rect)
        return;
    geoSetRect(rect, 0, 0, 0, 0);
    ObLock r(h);
    ControlPart *part = r ? wholePart(r.get(), r.extent()) : nullptr;
    if (!part)
        return;
    obRecGetRect(r.get(), rect);
    place(r.get(), part);
}

// Draws a check box or a radio button: with its pen width fixed at 20 and
// the object's DC modes set, `drawBox` draws the box (given the part and
// the box rectangle), then the label follows.
template <typename DrawBox> void drawControl(HDC dc, ObjectRecord *rec, DrawBox drawBox)
{
    if (!dc || !rec)
        return;
    ControlPart *part = wholePart(rec, rec->length);
    if (!part)
        return;
    rec->penWidth = 20;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    RECT box;
    obRecGetRect(rec, &box);
    ckbBoxRect(part, &box, rec->penWidth);
    drawBox(part, box);
    drawLabel(dc, rec, part);
    obRestoreDCModes(dc, &modes);
}

}  // namespace

// ---- record size and attributes ------------------------------------------------------------

uint32_t ckbCalcRecordSizeIn(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kCkbPartSize > blockSize) {
        rec->length = std::min(std::max(rec->length, at), blockSize);
        return at + kCkbPartSize;
    }
    const ControlPart *part = reinterpret_cast<const ControlPart *>(obRecData(rec));
    uint32_t size = at + kCkbPartSize + part->labelLength + part->attrBytes;
    // A size the block cannot hold is not stored: nothing may read past it.
    rec->length = size <= blockSize ? size : blockSize;
    return size;
}

uint32_t ckbCalcRecordSize(ObjectRecord *rec)
{
    return rec ? ckbCalcRecordSizeIn(rec, rec->length) : 0;
}

uint32_t ckbRecordSizeOf(MemHandle h)
{
    ObLock r(h);
    return r ? ckbCalcRecordSizeIn(r.get(), r.blockSize()) : 0;
}

uint32_t ckbEmptyRecordSize() { return kObHeadSize + kCkbPartSize; }

uint8_t *ckbAttrArea(ControlPart *part)
{
    return part ? reinterpret_cast<uint8_t *>(part) + kCkbPartSize + part->labelLength : nullptr;
}

ControlPart *ckbPart(ObjectRecord *rec)
{
    return rec ? wholePart(rec, rec->length) : nullptr;
}

MemHandle ckbGetAttrCopy(MemHandle h, uint32_t tag)
{
    ObLock r(h);
    if (!r)
        return 0;
    ControlPart *part = wholePart(r.get(), r.extent());
    if (!part || !(part->tagMask & tag))
        return 0;
    return attGetCopyIn(ckbAttrArea(part), part->attrCount, part->attrBytes, tag);
}

MemHandle ckbGetCommandAttr(MemHandle h) { return ckbGetAttrCopy(h, kCkbCommandTag); }

MemHandle ckbSetAttr(MemHandle h, uint32_t tag, const void *data, int length)
{
    uint32_t header, run;
    {
        ObLock r(h);
        if (!r)
            return 0;
        ControlPart *part = wholePart(r.get(), r.extent());
        if (!part)
            return 0;
        uint32_t at = obDataOffset(r.get());
        header = at + kCkbHeaderOffset;
        run = at + kCkbPartSize + part->labelLength;
    }
    MemHandle valid = attSet(h, FALSE, header, run, length > 0 ? data : nullptr,
                             length > 0 ? length : 0, tag);
    if (!valid)
        return 0;
    {
        ObLock r(valid);
        ckbCalcRecordSizeIn(r.get(), r.blockSize());
    }
    obRelinkMoved(h, valid);
    return valid;
}

MemHandle ckbSetCommandAttr(MemHandle h, MemHandle block)
{
    if (!block)
        return ckbSetAttr(h, kCkbCommandTag, nullptr, 0);
    uint32_t held = utHandleSize(block);
    MemLock<uint8_t> b(block);
    if (!b || held < 4)
        return 0;
    uint32_t size;
    memcpy(&size, b.get(), 4);
    // The block's own length, never past its bytes.
    size = std::min(size, held);
    return ckbSetAttr(h, kCkbCommandTag, b.get(), (int)size);
}

int ckbIsChecked(MemHandle h)
{
    ObLock r(h);
    ControlPart *part = r ? wholePart(r.get(), r.extent()) : nullptr;
    return part && (part->flags & CKB_CHECKED) ? 1 : 0;
}

void ckbSetChecked(MemHandle h, BOOL on)
{
    ObLock r(h);
    ControlPart *part = r ? wholePart(r.get(), r.extent()) : nullptr;
    if (!part)
        return;
    if (on)
        part->flags |= CKB_CHECKED;
    else
        part->flags &= (uint16_t)~CKB_CHECKED;
}

// ---- geometry ----------------------------------------------------------------------------------

int32_t fldBoxSizeFromFont(int32_t lfHeight) { return abs(lfHeight + lfHeight / 5); }

void ckbBoxRect(const ControlPart *part, RECT *rect, int32_t penWidth)
{
    if (!part || !rect)
        return;
    int32_t h = labelHeight(part);
    int32_t e = h - h / 8;
    if (part->flags & CKB_3D)
        e = std::min(e, kCkb3DBoxMax);
    rect->top = (rect->top + rect->bottom - e) / 2;
    rect->bottom = rect->top + e;
    if (part->flags & CKB_LABEL_LEFT) {
        rect->right -= penWidth;
        rect->left = rect->right - e;
    } else {
        rect->left += penWidth / 2;
        rect->right = rect->left + e;
    }
}

void ckbLabelRect(const ControlPart *part, RECT *rect, int32_t penWidth)
{
    if (!part || !rect)
        return;
    int32_t a = labelHeight(part);
    rect->top = (rect->top + rect->bottom - a) / 2;
    rect->bottom = rect->top + a;
    int32_t offset = a + (a + penWidth) / 2;
    if (part->flags & CKB_3D)
        offset = std::max(a, (penWidth + kCkb3DBoxMax) / 2 + kCkb3DBoxMax);
    if (part->flags & CKB_LABEL_LEFT)
        rect->right -= offset;
    else
        rect->left += offset;
    if (rect->left > rect->right)
        rect->left = rect->right = (rect->left + rect->right) / 2;
}

void ckbGetBoxRect(MemHandle h, RECT *rect)
{
    withObjectRect(h, rect, [rect](ObjectRecord *rec, ControlPart *part) {
        ckbBoxRect(part, rect, rec->penWidth);
    });
}

void ckbGetLabelRect(MemHandle h, RECT *rect)
{
    withObjectRect(h, rect, [rect](ObjectRecord *rec, ControlPart *part) {
        ckbLabelRect(part, rect, rec->penWidth);
    });
}

void fldCheckMinRect(MemHandle h, RECT *rect)
{
    withObjectRect(h, rect, [rect](ObjectRecord *, ControlPart *part) {
        int32_t s = fldBoxSizeFromFont(part->font.lfHeight);
        const char *label = labelOf(part);
        if (part->labelLength != 0 && label) {
            SIZE extent;
            fldMeasureText(&part->font, label, part->labelLength - 1, &extent);
            part->labelWidth = (int16_t)std::min<LONG>(extent.cx, 0x7FFF);
            s = std::max<int32_t>(s, extent.cy);
            rect->right = rect->left + extent.cx + s + s / 2;
        } else {
            rect->right = rect->left + s;
        }
        rect->bottom = rect->top + s;
    });
}

void fldCheckSetMinRect(MemHandle h)
{
    RECT r;
    fldCheckMinRect(h, &r);
    if (ckbRecordSizeOf(h))
        obSetRect(h, &r);
}

void fldCheckSetRect(MemHandle h, const RECT *rect)
{
    if (!rect)
        return;
    RECT natural;
    fldCheckMinRect(h, &natural);
    RECT r = *rect;
    if (r.right - r.left < natural.right - natural.left)
        r.right = r.left + (natural.right - natural.left);
    if (r.bottom - r.top < natural.bottom - natural.top)
        r.bottom = r.top + (natural.bottom - natural.top);
    obSetRect(h, &r);
}

void fldCheckFitRect(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    fldCheckSetRect(h, &r);
}

MemHandle fldCheckGetLabel(MemHandle h)
{
    ObLock r(h);
    ControlPart *part = r ? wholePart(r.get(), r.extent()) : nullptr;
    const char *label = part ? labelOf(part) : nullptr;
    return label && label[0] ? utHandleFromString(label) : 0;
}

// ---- drawing -------------------------------------------------------------------------------------

void ckbDraw(HDC dc, ObjectRecord *rec)
{
    drawControl(dc, rec, [&](ControlPart *part, const RECT &box) {
        COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
        if (part->flags & CKB_3D) {
            fldDrawRectBevel(dc, &box, kFldBevelWidth, kFldBevelWidth, colours, FLD_FRAME_SUNKEN);
        } else {
            GdiObject<HPEN> pen(objectPen(rec, obGetDrawnPenWidth(rec)));
            GdiSelect selPen(dc, pen);
            GdiSelect selBrush(dc, GetStockObject(WHITE_BRUSH));
            gdiRectangle(dc, box.left, box.top, box.right, box.bottom);
        }
        if (part->flags & CKB_CHECKED)
            drawMark(dc, rec, part, box);
    });
}

void radDraw(HDC dc, ObjectRecord *rec)
{
    drawControl(dc, rec, [&](ControlPart *part, const RECT &box) {
        int32_t px = dmGetPixelWidth();
        bool look3d = (part->flags & CKB_3D) != 0;
        if (look3d) {
            {
                GdiObject<HBRUSH> face(CreateSolidBrush(rec->backColour));
                GdiObject<HPEN> pen(CreatePen(PS_SOLID, px, rec->fillColour));
                GdiSelect selBrush(dc, face);
                GdiSelect selPen(dc, pen);
                gdiEllipse(dc, box.left, box.top, box.right, box.bottom);
            }
            GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
            POINT a, b;
            {
                GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2 * px, rec->fillColour));
                GdiSelect selPen(dc, pen);
                geoEllipsePointAt(&box, 500, &a);
                geoEllipsePointAt(&box, 1900, &b);
                gdiArc(dc, box.left, box.top, box.right, box.bottom, a.x, a.y, b.x, b.y);
            }
            {
                GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2 * px, lighten(rec->fillColour)));
                GdiSelect selPen(dc, pen);
                geoEllipsePointAt(&box, 3600 - 1150, &a);
                geoEllipsePointAt(&box, 400, &b);
                gdiArc(dc, box.left, box.top, box.right, box.bottom, a.x, a.y, b.x, b.y);
            }
            GdiObject<HPEN> pen(CreatePen(PS_SOLID, px, rec->fillColour));
            GdiSelect selPen(dc, pen);
            gdiEllipse(dc, box.left, box.top, box.right, box.bottom);
        } else {
            GdiObject<HPEN> pen(objectPen(rec, obGetDrawnPenWidth(rec)));
            GdiSelect selPen(dc, pen);
            GdiSelect selBrush(dc, GetStockObject(WHITE_BRUSH));
            gdiEllipse(dc, box.left, box.top, box.right, box.bottom);
        }
        if (part->flags & CKB_CHECKED) {
            int32_t w = box.right - box.left;
            int32_t d = 40;
            if (!look3d) {
                d = w / 5;
                // A small square keeps a non-negative inset: halved until it fits.
                while (d > 0 && w <= 2 * d)
                    d /= 2;
            }
            RECT dot = box;
            geoInflateRect(&dot, -d, -d);
            geoOffsetRect(&dot, px, dmGetPixelHeight());
            GdiObject<HBRUSH> brush(CreateSolidBrush(rec->fillColour));
            GdiSelect selBrush(dc, brush);
            GdiSelect selPen(dc, GetStockObject(NULL_PEN));
            gdiEllipse(dc, dot.left, dot.top, dot.right, dot.bottom);
        }
    });
}
