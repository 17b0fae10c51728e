// Drag outlines of objects.
#include "tools/ep_outline.h"
#include "objects/cal_calendar.h"
#include "objects/cal_standins.h"
#include "objects/sh_arc.h"
#include "objects/sh_arrow.h"
#include "objects/sh_box.h"
#include "objects/sh_dimspan.h"
#include "objects/sh_grid.h"
#include "objects/sh_points.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <string.h>
#include <stdlib.h>
#include <algorithm>

namespace {

// The resize outline's state: one drag at a time.
struct ScaledOutline {
    MemHandle copy;
    uint32_t size;
    uint32_t scaled;
};
ScaledOutline g_outline = {0, 0, 0};

void frame(HDC dc, const RECT &r)
{
    MoveToEx(dc, r.left, r.top, nullptr);
    LineTo(dc, r.right, r.top);
    LineTo(dc, r.right, r.bottom);
    LineTo(dc, r.left, r.bottom);
    LineTo(dc, r.left, r.top);
}

void frameOfRecord(HDC dc, ObjectRecord *rec)
{
    RECT r;
    obRecGetLocalRect(rec, &r);
    geoOffsetRect(&r, rec->centreX, rec->centreY);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    frame(dc, r);
    obRestoreDCModes(dc, &modes);
}

void outlineRecord(HDC dc, ObjectRecord *rec)
{
    switch (rec->type) {
    case OBT_SQUARE:
    case OBT_RECTANGLE:
    case OBT_ROUNDRECT:
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
    case OBT_DIAMOND:
        if (shBoxOutline(dc, rec))
            return;
        break;
    case OBT_ARROW:
        if (shArrowOutlineDraw(dc, rec))
            return;
        break;
    case OBT_PIE:
        shPieOutline(dc, rec);
        return;
    case OBT_ARC:
        shArcOutline(dc, rec);
        return;
    case OBT_LINE:
    case OBT_POLYLINE:
    case OBT_POLYHV:
        if (shLineOutline(dc, rec))
            return;
        break;
    case OBT_HLINE:
    case OBT_VLINE:
        if (shHVLineOutline(dc, rec))
            return;
        break;
    case OBT_POLYGON:
        if (shPolygonOutline(dc, rec))
            return;
        break;
    case OBT_BEZIER:
        if (shBezierOutline(dc, rec))
            return;
        break;
    case OBT_CLOSED_CURVE:
        if (shClosedCurveOutline(dc, rec))
            return;
        break;
    case OBT_CUBE:
        if (shCubeOutline(dc, rec))
            return;
        break;
    case OBT_DIMENSION:
        shDimSpanOutline(dc, rec);
        return;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        shGridOutline(dc, rec);
        return;
    default:
        if (objOutlineExt(dc, rec))
            return;
        // Every kind without an outline routine of its own shows its frame.
        break;
    }
    frameOfRecord(dc, rec);
}

// The copy carries no link: scaling it must never reach the page's list,
// the owner or the members of the object it was copied from.
void clearCopyLinks(MemHandle copy)
{
    ObLock r(copy);
    if (!r)
        return;
    r->extraData = 0;
    obRecClearLinks(r.get());
    r->parent = 0;
    r->firstMember = 0;
    r->nextMember = 0;
    r->attached = 0;
}

// The copy made equal to the object's current bytes.
bool refreshCopy(MemHandle object)
{
    uint32_t n;
    {
        ObLock r(object);
        if (!r)
            return false;
        n = std::min(g_outline.size, r.extent());
    }
    if (utHandleSize(g_outline.copy) < g_outline.size) {
        MemHandle grown = utAllocHandle(g_outline.copy, g_outline.size);
        if (!grown)
            return false;
        g_outline.copy = grown;
    }
    {
        ObLock src(object);
        MemLock<uint8_t> dst(g_outline.copy);
        if (!src || !dst)
            return false;
        memcpy(dst.get(), src.get(), n);
        utPutAt<uint32_t>(dst.get(), 0, n);
    }
    clearCopyLinks(g_outline.copy);
    return true;
}

void endOutline()
{
    if (g_outline.copy) {
        clearCopyLinks(g_outline.copy);
        utFreeHandle(g_outline.copy);
    }
    g_outline = {0, 0, 0};
}

}  // namespace

void objOutlineByType(HDC dc, MemHandle object)
{
    if (!dc)
        return;
    ObLock r(object);
    if (!r)
        return;
    outlineRecord(dc, r.get());
}

void objOutlineAt(HDC dc, MemHandle object, int32_t x, int32_t y)
{
    int32_t oldX, oldY;
    {
        ObLock r(object);
        if (!r)
            return;
        oldX = r->centreX;
        oldY = r->centreY;
        r->centreX = x;
        r->centreY = y;
    }
    objOutlineByType(dc, object);
    ObLock r(object);
    if (r) {
        r->centreX = oldX;
        r->centreY = oldY;
    }
}

int objHasScaledOutlineType(int16_t t)
{
    return t == 2 || (t >= 4 && t <= 15) || t == 17 || t == 18 || t == 19 || t == 26 ||
                   t == 402
               ? 1
               : 0;
}

int objHasScaledOutline(MemHandle object)
{
    return object ? objHasScaledOutlineType(obGetType(object)) : 0;
}

BOOL objScaledOutlineActive() { return g_outline.copy != 0 || g_outline.scaled; }

int objScaledOutline(HDC dc, MemHandle object, const RECT *rect, int step)
{
    if (step == OBJ_OUTLINE_END) {
        endOutline();
        return 1;
    }
    if (step == OBJ_OUTLINE_BEGIN) {
        endOutline();
        g_outline.scaled = (uint32_t)objHasScaledOutline(object);
        if (!g_outline.scaled)
            return 1;
        uint32_t size;
        {
            ObLock r(object);
            if (!r) {
                endOutline();
                return 0;
            }
            size = std::min(objRecordSizeIn(r.get(), r.blockSize(), 0), r.blockSize());
        }
        g_outline.size = size;
        g_outline.copy = utAllocHandle(0, size);
        if (!g_outline.copy || !refreshCopy(object)) {
            endOutline();
            return 0;
        }
        return 1;
    }
    // Draw.
    if (!dc || !rect)
        return 1;
    const int32_t w = abs(rect->right - rect->left), h = abs(rect->bottom - rect->top);
    if (!w || !h)
        return 1;
    if (!g_outline.scaled) {
        frame(dc, *rect);
        return 1;
    }
    if (!g_outline.copy || !refreshCopy(object))
        return 1;
    int32_t W, H, cx, cy;
    {
        ObLock c(g_outline.copy);
        W = abs(c->width);
        H = abs(c->height);
        cx = c->centreX;
        cy = c->centreY;
    }
    // A side of no size counts as 1: the factor is the new size itself.
    const double fx = w == std::max(W, 1) ? 1.0 : (double)w / std::max(W, 1);
    const double fy = h == std::max(H, 1) ? 1.0 : (double)h / std::max(H, 1);
    const int32_t nx = (rect->left + rect->right) >> 1;
    const int32_t ny = (rect->top + rect->bottom) >> 1;
    MemHandle scaled = objScale(g_outline.copy, fx, fy, cx, cy, nx, ny);
    if (scaled)
        g_outline.copy = scaled;
    objOutlineByType(dc, g_outline.copy);
    return 1;
}

// ---- calendar ---------------------------------------------------------------------------------

namespace {

// The calendar's type data when the record holds all of it.
uint8_t *calendarData(ObjectRecord *rec, uint32_t extent)
{
    if (!rec || rec->type != OBT_CALENDAR || obDataOffset(rec) + kCalFixedSize > extent)
        return nullptr;
    return obRecData(rec);
}

}  // namespace

int calEditObject(HWND ws, MemHandle calendar)
{
    if (!calendar || obGetType(calendar) != OBT_CALENDAR)
        return 0;
    int fill = obGetFillKind(calendar) == 1 ? 1 : 0;
    if (!calEditDialog(ws, calendar, &fill))
        return 0;
    obSetFillKind(calendar, fill ? 1 : 0);
    {
        ObLock r(calendar);
        uint8_t *d = r ? calendarData(r.get(), r.extent()) : nullptr;
        if (!d)
            return 1;
        const bool title = (utGetAt<uint16_t>(d, CAL_FLAGS) & 1) != 0;
        const int32_t height = (title ? utGetAt<int32_t>(d, CAL_TITLE_HEIGHT) : 0) +
                               utGetAt<int32_t>(d, CAL_HEAD_HEIGHT) +
                               utGetAt<int32_t>(d, CAL_BODY_HEIGHT);
        RECT box;
        obRecGetRect(r.get(), &box);
        box.bottom = box.top + height;
        obRecSetRect(r.get(), &box);
    }
    calLayoutHandle(calendar);
    return 1;
}

MemHandle calSetFonts(HWND, MemHandle calendar, const LOGFONTA *font)
{
    if (!font)
        return calendar;
    ObLock r(calendar);
    uint8_t *d = r ? calendarData(r.get(), r.extent()) : nullptr;
    if (d)
        for (uint32_t at : {CAL_TITLE_FONT, CAL_HEAD_FONT, CAL_DAY_FONT})
            utPutAt(d, at, *font);
    return calendar;
}

int calGetFont(MemHandle calendar, LOGFONTA *font)
{
    ObLock r(calendar);
    uint8_t *d = r ? calendarData(r.get(), r.extent()) : nullptr;
    if (!d || !font)
        return 0;
    *font = utGetAt<LOGFONTA>(d, CAL_TITLE_FONT);
    return 1;
}
