// Resize and end-point drags of the selection handles.
#include "tools/ep_resize.h"
#include "tools/ep_handles.h"
#include "tools/ep_outline.h"
#include "tools/ep_selection.h"
#include "tools/ep_standins.h"
#include "tools/ne_state.h"
#include "app/mb_msgbar.h"
#include "commands/ep_track.h"
#include "commands/ud_undo.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "model/pg_record.h"
#include "objects/sh_arrow.h"
#include "objects/sh_box.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_msg.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdlib.h>
#include <math.h>
#include <algorithm>

namespace {

const char kZeroSizeText[] =
    "You have reduced the oject size to zero, which is not allowed.  The resize action is "
    "ignored.";
const UINT kIdsZeroLine = 924;
const WORD kCmdDelete = 205;

RECT targetFromTable(const HandleTable *t)
{
    if (t->count == 2)
        return RECT{t->points[0].x, t->points[0].y, t->points[1].x, t->points[1].y};
    return RECT{t->points[0].x, t->points[0].y, t->points[2].x, t->points[2].y};
}

// The state of one resize drag, read by its feedback.
struct ResizeDrag {
    HWND ws;
    MemHandle object;
    int handle;
    int16_t type;
    uint16_t mode;
    RECT start;
    RECT target;
    bool converted;
    bool outline;   // the outline copy exists
};

// A turned square, rectangle or diamond becomes a polygon before it is
// first resized, and the outline copy follows the changed record.
void convertTurnedBox(HDC dc, ResizeDrag *d)
{
    d->converted = true;
    int16_t t;
    {
        ObLock r(d->object);
        if (!r || r->rotation == 0)
            return;
        t = r->type;
    }
    if (t != OBT_SQUARE && t != OBT_RECTANGLE && t != OBT_DIAMOND)
        return;
    MemHandle now = t == OBT_DIAMOND ? shDiamondToPolygon(d->object) : shRectToPolygon(d->object);
    if (!now)
        return;
    d->object = now;
    d->type = obGetType(now);
    objScaledOutline(dc, now, nullptr, OBJ_OUTLINE_END);
    d->outline = objScaledOutline(dc, now, nullptr, OBJ_OUTLINE_BEGIN) != 0;
}

int resizeFeedback(HDC dc, const TrackPair *pair, LPARAM data)
{
    ResizeDrag *d = reinterpret_cast<ResizeDrag *>(data);
    if (!d->converted && (pair->x2 != pair->x1 || pair->y2 != pair->y1))
        convertTurnedBox(dc, d);
    d->target = d->start;
    if (pair->x2 != pair->x1 || pair->y2 != pair->y1)
        epResizeRectFrom(d->type, d->mode, &d->start, pair->x2, pair->y2, d->handle, &d->target);
    if (d->outline)
        objScaledOutline(dc, d->object, &d->target, OBJ_OUTLINE_DRAW);
    mbShowObjectPos(std::min(d->target.left, d->target.right),
                    std::min(d->target.top, d->target.bottom));
    mbShowObjectSize(d->target.right - d->target.left, d->target.bottom - d->target.top);
    return 1;
}

// The area covering the target's corners, grown by the handle size.
void invalidateTarget(HWND ws, const RECT &t)
{
    RECT r;
    geoRectFromPoints(POINT{t.left, t.top}, POINT{t.right, t.bottom}, &r);
    dmInflateByHandle(&r);
    wsApplyViewMapping(ws);
    dmInvalidateLogRect(ws, &r, TRUE);
}

// Fits the object into the target and selects it again.
MemHandle fitInto(HWND ws, MemHandle object, const RECT &target)
{
    invalidateTarget(ws, target);
    epRefreshObject(ws, object);
    MemHandle now = obFitToRect(object, &target);
    if (!now)
        now = object;
    epRefreshObject(ws, now);
    epSelectObject(ws, now);
    wsMarkModified(ws);
    return now;
}

// Temporary select mode for a drag started from another tool.
class TempSelectMode {
public:
    explicit TempSelectMode(HWND ws) : ws_(ws)
    {
        if (wsGetToolMode(ws) != TM_SELECT) {
            wsEnterToolMode(ws, TM_SELECT, SelectToolWndProc, 0, 0);
            pushed_ = true;
        }
    }
    ~TempSelectMode()
    {
        if (pushed_)
            wsLeaveToolMode(ws_, TRUE);
    }
private:
    HWND ws_;
    bool pushed_ = false;
};

int lineFeedback(HDC dc, const TrackPair *pair, LPARAM data);

struct EndDrag {
    int16_t type;
    POINT fixed;
    POINT start;   // the moving end as the drag began
    POINT end;
    bool moved;
};

POINT movingEnd(const EndDrag *d, const TrackPair *pair)
{
    if (pair->x2 == pair->x1 && pair->y2 == pair->y1 && !d->moved)
        return d->start;
    POINT p = {pair->x2, pair->y2};
    if (d->type == OBT_HLINE)
        p.y = d->start.y;
    else if (d->type == OBT_VLINE)
        p.x = d->start.x;
    return p;
}

int lineFeedback(HDC dc, const TrackPair *pair, LPARAM data)
{
    EndDrag *d = reinterpret_cast<EndDrag *>(data);
    if (pair->x2 != pair->x1 || pair->y2 != pair->y1)
        d->moved = true;
    d->end = movingEnd(d, pair);
    MoveToEx(dc, d->fixed.x, d->fixed.y, nullptr);
    LineTo(dc, d->end.x, d->end.y);
    mbShowObjectPos(std::min(d->fixed.x, d->end.x), std::min(d->fixed.y, d->end.y));
    mbShowObjectSize(d->end.x - d->fixed.x, d->end.y - d->fixed.y);
    return 1;
}

}  // namespace

void epResizeRectFrom(int16_t type, uint16_t mode, const RECT *start, int32_t x, int32_t y,
                      int handle, RECT *t)
{
    *t = *start;
    if (type == OBT_VLINE || type == OBT_LINE || type == OBT_HLINE) {
        LONG *ex = handle == 0 ? &t->left : &t->right;
        LONG *ey = handle == 0 ? &t->top : &t->bottom;
        if (type != OBT_VLINE)
            *ex = x;
        if (type != OBT_HLINE)
            *ey = y;
        return;
    }
    if ((type == OBT_TEXT || type == OBT_COMPOSITE) && mode == EP_HANDLES_CORNERS && handle >= 0 &&
        handle <= 3) {
        const POINT corners[4] = {{start->left, start->top},
                                  {start->right, start->top},
                                  {start->right, start->bottom},
                                  {start->left, start->bottom}};
        const POINT moving = corners[handle];
        const POINT fixed = corners[(handle + 2) % 4];
        const double w = (double)moving.x - fixed.x, h = (double)moving.y - fixed.y;
        if (w == 0 || h == 0)
            return;
        // Signed factors: positive while the pointer stays on the handle's side.
        double fx = (x - fixed.x) / w, fy = (y - fixed.y) / h;
        const double f = std::min(fabs(fx), fabs(fy));
        fx = fx < 0 ? -f : f;
        fy = fy < 0 ? -f : f;
        const LONG mx = fixed.x + (LONG)(w * fx), my = fixed.y + (LONG)(h * fy);
        switch (handle) {
        case 0: t->left = mx; t->top = my; break;
        case 1: t->right = mx; t->top = my; break;
        case 2: t->right = mx; t->bottom = my; break;
        default: t->left = mx; t->bottom = my; break;
        }
        return;
    }
    switch (handle) {
    case 0: t->left = x; t->top = y; break;
    case 1: t->top = y; t->right = x; break;
    case 2: t->right = x; t->bottom = y; break;
    case 3: t->bottom = y; t->left = x; break;
    case 4: t->left = x; break;
    case 5: t->top = y; break;
    case 6: t->right = x; break;
    case 7: t->bottom = y; break;
    default: break;
    }
}

void epResizeRect(MemHandle object, int32_t x, int32_t y, int handle, RECT *target)
{
    HandleTable t;
    epCalcHandlesInto(object, &t);
    RECT start = targetFromTable(&t);
    epResizeRectFrom(obGetType(object), t.mode, &start, x, y, handle, target);
}

int epZeroSizeCheck(HWND ws, MemHandle object, const RECT *target)
{
    const bool noWidth = target->right == target->left, noHeight = target->bottom == target->top;
    const bool hadWidth = obGetWidth(object) != 0, hadHeight = obGetHeight(object) != 0;
    if ((noWidth && noHeight) || (noHeight && hadHeight) || (noWidth && hadWidth)) {
        utMessageBox(ws, kZeroSizeText, MB_ICONINFORMATION);
        epRefreshObject(ws, object);
        return 0;
    }
    fitInto(ws, object, *target);
    return 1;
}

int epResizeDrag(HWND ws, MemHandle object, LPARAM press, int handle)
{
    if (!ws || !object)
        return 0;
    const BOOL snap = wsIsSnapToRulers(ws);
    const int16_t divisions = (int16_t)pgGetGridDivisions(ws);
    TempSelectMode temp(ws);
    epSetHandleCursor(ws, handle);

    ResizeDrag d = {};
    d.ws = ws;
    d.object = object;
    d.handle = handle;
    d.type = obGetType(object);
    const HandleTable *table = epCalcHandles(object);
    d.mode = table->mode;
    d.start = targetFromTable(table);
    d.target = d.start;

    udRecordCopy(ws, object);
    // The undo step stays while the drag re-selects its own object.
    UdKeepStep keep(ws);
    if (!objScaledOutline(nullptr, object, nullptr, OBJ_OUTLINE_BEGIN))
        return 0;
    d.outline = true;
    TrackPair pair = {};
    const int moved = epTrackMouseEx(ws, WM_LBUTTONDOWN, press, snap, divisions, &pair,
                                     resizeFeedback, (LPARAM)&d, FALSE, kTrkGrey, TRUE);
    objScaledOutline(nullptr, d.object, nullptr, OBJ_OUTLINE_END);
    if (!moved) {
        udDiscard(ws);
        return 0;
    }
    if (d.target.right != d.target.left && d.target.bottom != d.target.top)
        fitInto(ws, d.object, d.target);
    else
        epZeroSizeCheck(ws, d.object, &d.target);
    UpdateWindow(ws);
    return 1;
}

int epDragEndPoint(HWND ws, MemHandle object, LPARAM press, int end)
{
    if (!ws || !object || end < 0 || end > 1)
        return 0;
    const BOOL snap = wsIsSnapToRulers(ws);
    const int16_t divisions = (int16_t)pgGetGridDivisions(ws);
    const HandleTable *table = epCalcHandles(object);
    if (table->count != 2)
        return 0;
    EndDrag d = {};
    d.type = obGetType(object);
    d.start = d.end = table->points[end];
    d.fixed = table->points[1 - end];
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    TrackPair pair = {};
    const int moved = epTrackMouseEx(ws, WM_LBUTTONDOWN, press, snap, divisions, &pair,
                                     lineFeedback, (LPARAM)&d, FALSE, kTrkGrey, TRUE);
    if (!moved) {
        udDiscard(ws);
        return 0;
    }
    obInvalidate(ws, object);
    if (d.end.x == d.fixed.x && d.end.y == d.fixed.y) {
        utMessageBoxId(ws, kIdsZeroLine, MB_ICONINFORMATION);
        udDiscard(ws);
        PostMessageA(ws, WM_COMMAND, kCmdDelete, 0);
        return 1;
    }
    POINT ends[2];
    ends[end] = d.end;
    ends[1 - end] = d.fixed;
    MemHandle now = d.type == OBT_ARROW ? obSetArrowEnds(object, ends)
                                        : neWritePoints(object, ends, 2);
    if (!now)
        now = object;
    wsMarkModified(ws);
    epSelectObject(ws, now);
    obRedraw(ws, now);
    return 1;
}
