// Selection handles.
#include "tools/ep_handles.h"
#include "tools/ep_factory.h"
#include "model/ob_record.h"
#include "model/ob_dispatch.h"
#include "support/settings_reg.h"
#include "model/setup_record.h"
#include "support/dm_map.h"
#include <string.h>

namespace {

HandleTable g_table = {};
COLORREF g_handleColour = (COLORREF)-1;   // -1: not read yet

void boxHandles(const RECT &r, POINT p[8])
{
    int32_t mx = (int32_t)(((int64_t)r.left + r.right) / 2);
    int32_t my = (int32_t)(((int64_t)r.top + r.bottom) / 2);
    p[0] = {r.left, r.top};
    p[1] = {r.right, r.top};
    p[2] = {r.right, r.bottom};
    p[3] = {r.left, r.bottom};
    p[4] = {r.left, my};
    p[5] = {mx, r.top};
    p[6] = {r.right, my};
    p[7] = {mx, r.bottom};
}

// The two stored ends of a line, or the axis of an arrow (at type data +6
// and +14), moved by the centre.
bool endPoints(ObjectRecord *rec, POINT out[2])
{
    uint8_t *d = obRecData(rec);
    uint32_t base = obDataOffset(rec);
    uint32_t at = rec->type == OBT_ARROW ? 6 : 2;
    if (base + at + 16 > rec->length)
        return false;
    if (rec->type != OBT_ARROW) {
        int16_t n;
        memcpy(&n, d, 2);
        if (n < 2)
            return false;
    }
    memcpy(out, d + at, 16);
    for (int i = 0; i < 2; ++i) {
        out[i].x += rec->centreX;
        out[i].y += rec->centreY;
    }
    return true;
}

void drawTable(HDC dc, const HandleTable &t, COLORREF colour, bool hollowAll)
{
    int rop = R2_NOTXORPEN;
    if (hollowAll || t.mode == EP_HANDLES_NONE) {
        epDrawPointMarks(dc, t.points, t.count, colour, 0, rop);
        return;
    }
    if (t.mode == EP_HANDLES_CORNERS) {
        epDrawPointMarks(dc, t.points, 4, colour, 1, rop);
        epDrawPointMarks(dc, t.points + 4, 4, colour, 0, rop);
        return;
    }
    int skip = (t.mayRotate && t.count == 8) ? 1 : -1;
    epDrawPointMarksExcept(dc, t.points, t.count, skip, colour, 1, rop);
}

void drawRotateHandle(HDC dc, const RECT &r)
{
    int oldRop = SetROP2(dc, R2_NOTXORPEN);
    HPEN pen = CreatePen(PS_SOLID, 0, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    int32_t px = dmDevToLogW(1), py = dmDevToLogH(1);
    RECT in = {r.left + px, r.top + py, r.right - px, r.bottom - py};
    int32_t mx = (int32_t)(((int64_t)in.left + in.right) / 2);
    // Counter-clockwise from just left of the bottom middle round to just
    // left of the top middle: an open arc through the right side.
    int oldDir = SetArcDirection(dc, AD_COUNTERCLOCKWISE);
    Arc(dc, in.left, in.top, in.right, in.bottom, mx - px, in.bottom, mx - px, in.top);
    SetArcDirection(dc, oldDir);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SetROP2(dc, oldRop);
}

// Every member and nested member of a group or chain, depth first.
void drawMemberMarks(HDC dc, MemHandle first, COLORREF colour)
{
    for (MemHandle m = first; m;) {
        HandleTable t;
        epCalcHandlesInto(m, &t);
        drawTable(dc, t, colour, true);
        MemHandle inner, next;
        {
            ObLock r(m);
            if (!r)
                break;
            inner = r->firstMember;
            next = r->nextMember;
        }
        drawMemberMarks(dc, inner, colour);
        m = next;
    }
}

}  // namespace

void epCalcHandlesInto(MemHandle object, HandleTable *t)
{
    memset(t, 0, sizeof *t);
    {
        ObLock r(object);
        if (!r)
            return;
        int16_t type = r->type;
        POINT ends[2];
        if ((type == OBT_LINE || type == OBT_HLINE || type == OBT_VLINE || type == OBT_ARROW) &&
            endPoints(r.get(), ends)) {
            t->count = 2;
            t->points[0] = ends[0];
            t->points[1] = ends[1];
            t->mode = EP_HANDLES_ENDS;
        } else {
            RECT box;
            obRecGetRect(r.get(), &box);
            t->count = 8;
            boxHandles(box, t->points);
            t->mode = ((type == OBT_TEXT && r->rotation != 0) || type == OBT_COMPOSITE)
                          ? EP_HANDLES_CORNERS
                          : EP_HANDLES_RESIZE;
        }
        if ((r->flags & OBF_NO_POINT_EDIT) || (r->flags & OBF_LOCKED)) {
            t->mode = EP_HANDLES_NONE;
            t->mayRotate = 0;
            return;
        }
    }
    t->mayRotate = obCanRotate(object) ? 1 : 0;
}

const HandleTable *epCalcHandles(MemHandle object)
{
    epCalcHandlesInto(object, &g_table);
    return &g_table;
}

const HandleTable *epGetHandleTable() { return &g_table; }

int epHandleHit(POINT pt)
{
    if (g_table.mode == EP_HANDLES_NONE)
        return -1;
    int i = epPointMarkHit(g_table.points, g_table.count, pt);
    if (g_table.mode == EP_HANDLES_CORNERS && i >= 4)
        return -1;
    return i;
}

void epHandleRect(int index, RECT *r)
{
    if (index < 0 || index >= g_table.count) {
        SetRectEmpty(r);
        return;
    }
    epHandleRectAt(g_table.points[index], r);
}

void epSetHandleCursor(HWND window, int index)
{
    LPCSTR id;
    if (g_table.mode == EP_HANDLES_ENDS)
        id = IDC_CROSS;
    else if (index == 0 || index == 2)
        id = IDC_SIZENWSE;
    else if (index == 1 || index == 3)
        id = IDC_SIZENESW;
    else if (index == 4 || index == 6)
        id = IDC_SIZEWE;
    else
        id = IDC_SIZENS;
    HCURSOR cursor = LoadCursorA(nullptr, id);
    if (window)
        SetClassLongPtrA(window, GCLP_HCURSOR, (LONG_PTR)cursor);
    SetCursor(cursor);
}

int epGetRotateHandle(MemHandle object, RECT *out)
{
    RECT box;
    {
        ObLock r(object);
        if (!r || (r->flags & (OBF_NO_POINT_EDIT | OBF_LOCKED)))
            return 0;
        int16_t t = r->type;
        if (t == OBT_LINE || t == OBT_HLINE || t == OBT_VLINE || t == OBT_ARROW)
            return 0;
        obRecGetRect(r.get(), &box);
    }
    if (!obCanRotate(object))
        return 0;
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    out->left = box.right - 2 * hx;
    out->top = box.top - hy;
    out->right = box.right + hx;
    out->bottom = box.top + 2 * hy;
    return 1;
}

int epRotateHandleHit(MemHandle object, POINT pt)
{
    RECT r;
    if (!epGetRotateHandle(object, &r))
        return 0;
    return pt.x >= r.left && pt.x <= r.right && pt.y >= r.top && pt.y <= r.bottom;
}

COLORREF epGetHandleColor()
{
    if (g_handleColour == (COLORREF)-1)
        g_handleColour = setGetHLBlockColor();
    return g_handleColour;
}

void epSetHandleColor(COLORREF colour) { g_handleColour = colour; }

void epDrawHandles(HWND workspace, HDC dc, MemHandle object)
{
    if (!object)
        return;
    HDC own = nullptr;
    if (!dc) {
        if (!workspace)
            return;
        dc = own = dmGetDC(workspace);
        if (!dc)
            return;
    }
    COLORREF colour = epGetHandleColor();
    int16_t type = obGetType(object);
    if (setGetShowMemberMarks() && (type == OBT_GROUP || type == OBT_CHAIN)) {
        MemHandle first;
        {
            ObLock r(object);
            first = r ? r->firstMember : 0;
        }
        drawMemberMarks(dc, first, colour);
    }
    epCalcHandles(object);
    drawTable(dc, g_table, colour, false);
    RECT rot;
    if (g_table.mode != EP_HANDLES_NONE && g_table.mayRotate && g_table.count == 8 &&
        epGetRotateHandle(object, &rot))
        drawRotateHandle(dc, rot);
    if (own)
        ReleaseDC(workspace, own);
}
