// The object factory and the point-mark routines of the drawing tools.
#include "tools/ep_factory.h"
#include "tools/ep_gradient.h"
#include "tools/ep_shape_tools.h"
#include "text/ep_text_font.h"
#include "text/tx_label.h"
#include "tools/fld_control_font.h"
#include "objects/cal_calendar.h"
#include "commands/grid_new.h"
#include "objects/sh_arc.h"
#include "objects/sh_arrow.h"
#include "forms/ent_field.h"
#include "model/ob_dispatch.h"
#include "model/lay_layers.h"
#include "model/pg_record.h"
#include "model/pg_margins.h"
#include "model/fm_form.h"
#include "model/ws_document.h"
#include "support/app_ui_state.h"
#include "forms/fld_check.h"
#include "forms/fld_button.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <string.h>
#include <stdlib.h>
#include <algorithm>
#include <vector>

namespace {

double g_roundRectRatio = 0.0;   // 0.0 reads as 1/6

const uint32_t kLinkBytes = kObHeadSize - 58;   // extra data and the six links
const uint32_t kEpFieldAttrHeader = 80;          // tag mask, count, bytes
const uint32_t kEpFieldAttrHeaderSize = 8;

bool isPointType(int16_t t)
{
    switch (t) {
    case OBT_LINE: case OBT_HLINE: case OBT_VLINE: case OBT_POLYLINE: case OBT_POLYGON:
    case OBT_POLYHV: case OBT_BEZIER: case OBT_CLOSED_CURVE:
        return true;
    default:
        return false;
    }
}

bool isRectKind(int16_t t)
{
    return t == OBT_SQUARE || t == OBT_RECTANGLE || t == OBT_CIRCLE || t == OBT_ELLIPSE ||
           t == OBT_DIAMOND;
}

// Closed types that take the page's fill kind.
bool takesDefaultFill(int16_t t)
{
    switch (t) {
    case 7: case 8: case 10: case 11: case 13: case 15: case 19: case 24: case 25:
    case 400: case 401:
        return true;
    default:
        return t >= 404 && t <= 408;
    }
}

// Types whose fill block follows the page's gradient or pattern.
bool takesDefaultGradient(int16_t t)
{
    if ((t >= 6 && t <= 11) || t == 13 || t == 15 || t == 19 || t == 24 || t == 25)
        return true;
    return (t >= 400 && t <= 402) || (t >= 404 && t <= 408);
}

// Resizes to `size` and stores the length; the handle valid afterwards, 0
// when memory fails (the old one then still valid).
MemHandle sizeTo(MemHandle h, uint32_t size)
{
    MemHandle g = obResize(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    r->length = size;
    return g;
}

// Gives a closed shape the page's two-colour pattern block (fill kind 2).
MemHandle applyPattern(MemHandle h, const uint8_t *block)
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r || !obHasFill(r->type))
            return h;
        r->fillKind = 2;
        size = epRecordSize(r.get());
    }
    MemHandle g = sizeTo(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    if (uint8_t *p = obGetFillData(r.get()))
        memcpy(p, block, kObPatternFillSize);
    return g;
}

// The line-end records of a new open line from the page's settings.
MemHandle attachLineEnds(MemHandle h, const uint16_t ends[4])
{
    uint32_t size;
    {
        ObLock r(h);
        if (!r)
            return 0;
        if (ends[0])
            r->flags |= OBF_START_SYMBOL;
        else
            r->flags &= ~OBF_START_SYMBOL;
        if (ends[1])
            r->flags |= OBF_END_SYMBOL;
        else
            r->flags &= ~OBF_END_SYMBOL;
        size = epRecordSize(r.get());
    }
    MemHandle g = sizeTo(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    uint8_t *data = obRecData(r.get());
    int16_t n;
    memcpy(&n, data, 2);
    uint8_t *p = data + 2 + 8 * (uint32_t)std::max<int16_t>(n, 0);
    if (ends[0]) {
        int16_t style = (int16_t)ends[0];
        uint32_t sz = ends[2];
        memcpy(p, &style, 2);
        memcpy(p + 2, &sz, 4);
        p += 6;
    }
    if (ends[1]) {
        int16_t style = (int16_t)ends[1];
        uint32_t sz = ends[3];
        memcpy(p, &style, 2);
        memcpy(p + 2, &sz, 4);
    }
    return g;
}

// The bounding rectangle of the points.
RECT boundsOf(const POINT *pts, uint16_t n)
{
    RECT r = {0, 0, 0, 0};
    if (!pts || !n)
        return r;
    r.left = r.right = pts[0].x;
    r.top = r.bottom = pts[0].y;
    for (uint16_t i = 1; i < n; ++i) {
        r.left = std::min(r.left, pts[i].x);
        r.right = std::max(r.right, pts[i].x);
        r.top = std::min(r.top, pts[i].y);
        r.bottom = std::max(r.bottom, pts[i].y);
    }
    return r;
}

// Rectangle kinds and the rounded rectangle: width and height (and the
// rounding) behind the head.
MemHandle buildBox(MemHandle h, int16_t type)
{
    uint32_t size = kObHeadSize + (type == OBT_ROUNDRECT ? 16 : 8);
    MemHandle g = sizeTo(h, size);
    if (!g)
        return 0;
    ObLock r(g);
    uint8_t *d = obRecData(r.get());
    utPutAt<int32_t>(d, 0, r->width);
    utPutAt<int32_t>(d, 4, r->height);
    if (type == OBT_ROUNDRECT) {
        int32_t round = epRoundRectRounding(r->width, r->height);
        utPutAt<int32_t>(d, 8, round);
        utPutAt<int32_t>(d, 12, round);
    }
    return g;
}

MemHandle buildPoints(MemHandle h, const std::vector<POINT> &pts)
{
    uint16_t n = (uint16_t)pts.size();
    MemHandle g = sizeTo(h, kObHeadSize + 8 * (uint32_t)n + 2);
    if (!g)
        return 0;
    ObLock r(g);
    uint8_t *d = obRecData(r.get());
    memcpy(d, &n, 2);
    for (uint16_t i = 0; i < n; ++i) {
        POINT p = {pts[i].x - r->centreX, pts[i].y - r->centreY};
        memcpy(d + 2 + 8 * i, &p, 8);
    }
    return g;
}

// Gives a field the next free generated name of its kind.
MemHandle giveName(EpPageDefaults *d, MemHandle h, FmNameKind kind)
{
    if (!d->form)
        return h;
    char name[32];
    if (!fmNextName(d->workspace, &d->form, kind, name))
        return h;
    MemHandle g = obSetName(h, name);
    return g ? g : h;
}

// Text (40) and vertical text (-40): the font record behind width and
// height, a box of at least two lines and reaching to the text width limit.
MemHandle buildText(EpPageDefaults *d, MemHandle h, bool vertical, const RECT &bounds,
                    bool *cancelled)
{
    *cancelled = false;
    MemHandle g = h;
    if (utHandleSize(g) < kObHeadSize + kEpTextDataSize) {
        g = obResize(g, kObHeadSize + kEpTextDataSize);
        if (!g)
            return 0;
    }
    uint8_t font[kEpFontRecordSize];
    memcpy(font, d->font, sizeof font);
    if (vertical) {
        LOGFONTA lf;
        memcpy(&lf, font, sizeof lf);
        if (!txChooseVerticalFont(d->workspace, &lf)) {
            *cancelled = true;
            return g;
        }
        memcpy(font, &lf, sizeof lf);
        uint16_t word;
        memcpy(&word, font + sizeof(LOGFONTA), 2);
        word |= 2;
        memcpy(font + sizeof(LOGFONTA), &word, 2);
    }
    ObLock r(g);
    r->type = OBT_TEXT;
    r->length = std::max<uint32_t>(r->length, kObHeadSize + kEpTextDataSize);
    uint8_t *data = obRecData(r.get());
    memcpy(data + 8, font, sizeof font);

    int32_t aveWidth = 0, height = 0, leading = 0;
    txMeasureFontOn(d->workspace, font, &aveWidth, &height, &leading);
    int32_t lineHeight = height + 2 * leading;
    if (r->height < lineHeight) {
        r->height = 2 * lineHeight;
        r->centreY = bounds.top + lineHeight;
    }
    if (r->width < aveWidth) {
        int32_t left = r->centreX - r->width / 2;
        RECT limit;
        int32_t room = 0;
        if (epTextWidthLimitPage(d->page, &limit))
            room = limit.right - left;
        r->width = room <= r->width ? 10 * lineHeight : room;
        r->centreX = left + r->width / 2;
    }
    utPutAt<int32_t>(data, 0, r->width);
    utPutAt<int32_t>(data, 4, r->height);
    return g;
}

// Check box, radio button, group box: the control part with the label font
// and bit value 4.
MemHandle buildControl(EpPageDefaults *d, MemHandle h)
{
    MemHandle g = sizeTo(h, ckbEmptyRecordSize());
    if (!g)
        return 0;
    {
        ObLock r(g);
        memset(obRecData(r.get()), 0, kCkbPartSize);
    }
    LOGFONTA lf;
    memcpy(&lf, d->font, sizeof lf);
    g = fldSetLabelFont(g, &lf);
    if (!g)
        return 0;
    fldSetFlag4(g);
    return g;
}

MemHandle buildButton(MemHandle h)
{
    MemHandle g = sizeTo(h, kObHeadSize + kBtnPartSize);
    if (!g)
        return 0;
    return g;
}

}  // namespace

// ---- size by type --------------------------------------------------------------------------

uint32_t epRecordSize(ObjectRecord *rec)
{
    if (!rec)
        return 0;
    uint32_t base = obDataOffset(rec);
    uint32_t fill = obFillDataSize(rec->fillKind);
    switch (rec->type) {
    case OBT_LINE: case OBT_HLINE: case OBT_VLINE: case OBT_POLYLINE: case OBT_POLYHV:
    case OBT_BEZIER: case OBT_POLYGON: case OBT_CLOSED_CURVE: {
        if (rec->length < base + 2)
            return base + 2;
        int16_t n;
        memcpy(&n, obRecData(rec), 2);
        uint32_t size = base + 2 + 8 * (uint32_t)std::max<int16_t>(n, 0);
        if (rec->type == OBT_POLYGON || rec->type == OBT_CLOSED_CURVE)
            return size + fill;
        if (rec->flags & OBF_START_SYMBOL)
            size += 6;
        if (rec->flags & OBF_END_SYMBOL)
            size += 6;
        return size;
    }
    case OBT_PIE:
        return base + kShArcGeometry + fill;
    case OBT_ARC:
        return base + kShArcGeometry;
    case OBT_CUBE:
        return kEpCubeRecordSize + rec->nameLength;
    case OBT_DIMENSION:
        return base + kEpDimSpanDataSize;
    case OBT_CALENDAR: {
        if (rec->length < base + kCalFixedSize)
            return base + kCalFixedSize;
        uint32_t tail;
        memcpy(&tail, obRecData(rec) + CAL_TAIL, 4);
        return base + kCalFixedSize + tail;
    }
    default:
        return objRecordSize(rec, 0);
    }
}

// ---- defaults ------------------------------------------------------------------------------

void epPageDefaultsFrom(MemHandle page, HWND workspace, EpPageDefaults *d)
{
    memset(d, 0, sizeof *d);
    d->workspace = workspace;
    d->page = page;
    d->form = workspace ? wsGetDocument(workspace) : 0;
    if (!page)
        return;
    pgGetProp(page, 40, &d->head);
    pgGetProp(page, 44, &d->fillKind);
    pgGetProp(page, 46, d->pattern);
    pgGetProp(page, 47, &d->gradient);
    for (int i = 0; i < 4; ++i)
        pgGetProp(page, 48 + i, &d->lineEnds[i]);
    pgGetProp(page, 55, d->font);
    pgGetProp(page, 56, d->field);
}

void epGetPageDefaults(HWND workspace, EpPageDefaults *d)
{
    epPageDefaultsFrom(workspace ? pvGetCurrentPage(workspace) : 0, workspace, d);
}

// ---- the head ------------------------------------------------------------------------------

void epInitObjectHeadFrom(const EpPageDefaults *d, MemHandle h, int16_t type)
{
    ObLock r(h);
    if (!r)
        return;
    uint8_t *p = reinterpret_cast<uint8_t *>(r.get());
    uint32_t length = r->length;
    uint8_t links[kLinkBytes];
    memcpy(links, p + 58, kLinkBytes);
    if (d)
        memcpy(p, &d->head, 58);
    else
        memset(p, 0, 58);
    // The record's own links and extra data stay: the page default's would
    // name records this object does not own.
    memcpy(p + 58, links, kLinkBytes);
    r->length = length;
    r->nameLength = 0;
    r->type = type;
    r->layer = (uint8_t)layGetCurrent();
    r->scaleX = kObScaleOne;
    r->scaleY = kObScaleOne;
    r->fillKind = 0;
}

void epInitObjectHead(HWND workspace, MemHandle h, int16_t type)
{
    EpPageDefaults d;
    epGetPageDefaults(workspace, &d);
    epInitObjectHeadFrom(&d, h, type);
}

// ---- the factory ---------------------------------------------------------------------------

MemHandle epCreateObject(HWND workspace, MemHandle h, int16_t type, const POINT *points,
                         uint16_t n)
{
    EpPageDefaults d;
    epGetPageDefaults(workspace, &d);
    return epCreateObjectFrom(&d, h, type, points, n);
}

MemHandle epShapeFactory(MemHandle h, int16_t type, const POINT *points, uint16_t n)
{
    return epCreateObject(appGetActiveWorkspace(), h, type, points, n);
}

MemHandle epCreateObjectFrom(EpPageDefaults *d, MemHandle h, int16_t type, const POINT *points,
                             uint16_t n)
{
    if (!d || (n && !points))
        return 0;
    std::vector<POINT> pts(points, points + n);

    if (n == 2 && (type == OBT_POLYLINE || type == OBT_POLYHV || type == OBT_POLYGON))
        type = OBT_LINE;

    bool ours = false;
    if (!h) {
        h = obNewRecord(kEpNewBlockSize);
        if (!h)
            return 0;
        ours = true;
    }
    auto fail = [&]() -> MemHandle {
        if (ours)
            utFreeHandle(h);
        return 0;
    };
    epInitObjectHeadFrom(d, h, type);
    {
        ObLock r(h);
        if (!r)
            return fail();
        r->length = kObHeadSize;
    }
    uint8_t fillKind = d->fillKind;

    // Shape rules.
    if (n == 2) {
        if (type == OBT_HLINE) {
            pts[1].y = pts[0].y;
            if (pts[0].x > pts[1].x)
                std::swap(pts[0], pts[1]);
        } else if (type == OBT_VLINE) {
            pts[1].x = pts[0].x;
            if (pts[0].y > pts[1].y)
                std::swap(pts[0], pts[1]);
        }
    }
    if (type == OBT_SQUARE || type == OBT_CIRCLE || takesDefaultFill(type)) {
        if (n == 2 && (type == OBT_SQUARE || type == OBT_CIRCLE))
            epMakeEqualSided(pts[0], pts[1], &pts[1]);
        ObLock r(h);
        r->fillKind = fillKind;
    }

    RECT bounds = boundsOf(pts.data(), n);
    {
        ObLock r(h);
        obRecSetRect(r.get(), &bounds);
    }

    // The type's data.
    MemHandle g = h;
    if (isPointType(type)) {
        g = buildPoints(h, pts);
    } else if (isRectKind(type) || type == OBT_ROUNDRECT) {
        g = buildBox(h, type);
    } else {
        switch (type) {
        case OBT_TEXT:
        case OBT_VERTICAL_TEXT: {
            bool cancelled;
            g = buildText(d, h, type == OBT_VERTICAL_TEXT, bounds, &cancelled);
            if (cancelled) {
                // The vertical font was not chosen: nothing is made. A block
                // made here is freed; a record the caller gave stays its own
                // (it may still be linked into a page).
                if (ours)
                    utFreeHandle(g);
                return 0;
            }
            break;
        }
        case OBT_ENTRY:
        case OBT_LIST_FIELD:
        case OBT_EQUATION:
            g = sizeTo(h, kObHeadSize + kEpFieldRecordSize);
            if (g) {
                {
                    ObLock r(g);
                    uint8_t *part = obRecData(r.get());
                    memcpy(part, d->field, kEpFieldRecordSize);
                    // No attribute records follow yet: a default that
                    // claimed some would make the record's size a lie.
                    memset(part + kEpFieldAttrHeader, 0, kEpFieldAttrHeaderSize);
                    if (type == OBT_EQUATION)
                        entSetEquationStyle(part, TRUE);
                    r->fillKind = 1;
                }
                g = giveName(d, g, FM_NAME_FIELD);
            }
            break;
        case OBT_BUTTON:
            g = buildButton(h);
            if (g) {
                {
                    ObLock r(g);
                    uint8_t *data = obRecData(r.get());
                    memset(data, 0, kBtnPartSize);
                    uint32_t own = kBtnPartSize;
                    memcpy(data, &own, 4);
                    memcpy(data + 8, d->font, sizeof(LOGFONTA));
                    uint16_t align = 9;
                    memcpy(data + 68, &align, 2);
                    if (r->backColour == 0xFFFFFF)
                        r->backColour = 0xC0C0C0;
                }
                g = giveName(d, g, FM_NAME_BUTTON);
            }
            break;
        case OBT_CHECKBOX:
        case OBT_RADIO:
        case OBT_GROUP_BOX:
            g = buildControl(d, h);
            if (g)
                g = giveName(d, g,
                             type == OBT_CHECKBOX ? FM_NAME_CHECKBOX
                             : type == OBT_RADIO  ? FM_NAME_RADIO
                                                  : FM_NAME_GROUPBOX);
            break;
        case OBT_PIE:
        case OBT_ARC:
            g = shMakeEllipseArc(h);
            break;
        case OBT_DIMENSION:
            g = n >= 2 ? epDimSpanBuild(h, pts.data(), (int16_t)d->lineEnds[0],
                                        (int32_t)d->lineEnds[2])
                       : 0;
            break;
        case OBT_CUBE:
            g = epCubeBuild(h, &bounds);
            break;
        case OBT_GRID:
            g = n >= 2 ? gridNew(h, pts[0], pts[1], -1, -1) : 0;
            break;
        case OBT_GRID491:
            g = n >= 2 ? gridNewOneColumn(h, pts[0], pts[1], -1) : 0;
            break;
        case OBT_GRID492:
            g = n >= 2 ? gridNewOneRow(h, pts[0], pts[1], -1) : 0;
            break;
        case OBT_CALENDAR:
            g = calNew(h, &bounds, reinterpret_cast<const LOGFONTA *>(d->font));
            break;
        case OBT_ARROW:
            g = n >= 2 ? obMakeArrowRecord(h, pts.data()) : 0;
            break;
        case 133: case 134: case 135: case 136: case 137:
            // These kinds are not made by a drag.
            g = 0;
            break;
        case OBT_IMAGE_FILE:
            obSetFlags(h, 0x10000, TRUE);
            break;
        case OBT_LABEL: {
            // The whole record the writer writes and the reader takes back:
            // the font of the defaults, an empty text.
            LOGFONTA lf;
            memcpy(&lf, d->font, sizeof lf);
            g = txNewLabel(h, &lf, 0, 0, 0);
            break;
        }
        default:
            // Stars, regular polygons, the shape family and every type whose
            // data its own module adds later: the head only.
            break;
        }
    }
    if (!g)
        return fail();
    h = g;

    if (takesDefaultGradient(type)) {
        uint8_t kind = obGetFillKind(h);
        if (kind == 2) {
            g = applyPattern(h, d->pattern);
        } else if (kind == 3) {
            g = h;
            epTreeApplyGradient(&g, &d->gradient);
        }
        if (!g)
            return fail();
        h = g;
    }
    if (obIsLineType(type) && (d->lineEnds[0] || d->lineEnds[1]) && isPointType(type)) {
        g = attachLineEnds(h, d->lineEnds);
        if (!g)
            return fail();
        h = g;
    }
    return h;
}

// ---- geometry ------------------------------------------------------------------------------

void epMakeEqualSided(POINT start, POINT end, POINT *out)
{
    int32_t dx = end.x - start.x, dy = end.y - start.y;
    if (dx == 0 || dy == 0) {
        *out = start;
        return;
    }
    int32_t m = std::min(abs(dx), abs(dy));
    out->x = start.x + (dx > 0 ? m : -m);
    out->y = start.y + (dy > 0 ? m : -m);
}

void epSetRoundRectRatio(double ratio) { g_roundRectRatio = ratio; }
double epGetRoundRectRatio() { return g_roundRectRatio; }

int32_t epRoundRectRounding(int32_t width, int32_t height)
{
    double ratio = g_roundRectRatio == 0.0 ? 1.0 / 6.0 : g_roundRectRatio;
    return geoRound(ratio * std::min(width, height));
}

// ---- point marks ---------------------------------------------------------------------------

int epPointHitTol(const POINT *points, int n, POINT pt, int32_t tolerance)
{
    return epPointHitTolXY(points, n, pt, tolerance, tolerance);
}

int epPointHitTolXY(const POINT *points, int n, POINT pt, int32_t tx, int32_t ty)
{
    if (!points)
        return -1;
    for (int i = 0; i < n; ++i)
        if (pt.x >= points[i].x - tx && pt.x <= points[i].x + tx && pt.y >= points[i].y - ty &&
            pt.y <= points[i].y + ty)
            return i;
    return -1;
}

int epPointMarkHit(const POINT *points, int n, POINT pt)
{
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    return epPointHitTolXY(points, n, pt, hx, hy);
}

int epPointMarkCursor(HWND window, const POINT *points, int n, POINT pt)
{
    if (epPointMarkHit(points, n, pt) < 0)
        return 0;
    if (window)
        SetClassLongPtrA(window, GCLP_HCURSOR, (LONG_PTR)LoadCursorA(nullptr, IDC_CROSS));
    SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    return 1;
}

void epHandleRectAt(POINT pt, RECT *r)
{
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    r->left = pt.x - hx;
    r->top = pt.y - hy;
    r->right = pt.x + hx;
    r->bottom = pt.y + hy;
}

void epDrawPointMarksExcept(HDC dc, const POINT *points, int n, int skip, COLORREF colour,
                            int mode, int rop)
{
    if (!dc || !points || n <= 0)
        return;
    int oldRop = SetROP2(dc, rop);
    HPEN pen = mode == 1 ? (HPEN)GetStockObject(NULL_PEN) : CreatePen(PS_SOLID, 0, colour);
    HBRUSH brush = mode == 1 ? CreateSolidBrush(colour) : (HBRUSH)GetStockObject(NULL_BRUSH);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    for (int i = 0; i < n; ++i) {
        if (i == skip)
            continue;
        RECT r;
        epHandleRectAt(points[i], &r);
        if (mode == 1) {
            // No pen: the brush alone covers the square's inside, so the
            // square is drawn one unit larger each way.
            Rectangle(dc, r.left, r.top, r.right + 1, r.bottom + 1);
        } else {
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    if (mode == 1)
        DeleteObject(brush);
    else
        DeleteObject(pen);
    SetROP2(dc, oldRop);
}

void epDrawPointMarks(HDC dc, const POINT *points, int n, COLORREF colour, int mode, int rop)
{
    epDrawPointMarksExcept(dc, points, n, -1, colour, mode, rop);
}

int epPtInSmallObject(MemHandle object, POINT pt)
{
    RECT r;
    {
        ObLock rec(object);
        if (!rec)
            return 0;
        obRecGetRect(rec.get(), &r);
    }
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    if (r.right - r.left > 3 * hx || r.bottom - r.top > 3 * hy)
        return 0;
    return pt.x >= r.left && pt.x <= r.right && pt.y >= r.top && pt.y <= r.bottom;
}

void epDrawDotLine(HDC dc, POINT a, POINT b, int rop)
{
    if (!dc)
        return;
    int oldRop = SetROP2(dc, rop);
    HPEN pen = CreatePen(PS_DOT, 0, 0xFF0000);
    HGDIOBJ old = SelectObject(dc, pen);
    int oldBk = SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    SetBkMode(dc, oldBk);
    SelectObject(dc, old);
    DeleteObject(pen);
    SetROP2(dc, oldRop);
}

int epTextWidthLimitPage(MemHandle page, RECT *r)
{
    if (!page)
        return 0;
    pgGetMarginRect(page, r);
    InflateRect(r, -(int)kEpTextMarginInset, -(int)kEpTextMarginInset);
    return 1;
}

int epTextWidthLimit(HWND workspace, RECT *r)
{
    return epTextWidthLimitPage(workspace ? pvGetCurrentPage(workspace) : 0, r);
}
