// The rotate tool, the rotation drag and the rotation state.
#include "tools/ep_rotate.h"
#include "tools/cp_composite.h"
#include "tools/ep_handles.h"
#include "tools/ep_selection.h"
#include "app/mb_msgbar.h"
#include "commands/ep_track.h"
#include "commands/ud_undo.h"
#include "controls/maintools.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "support/dm_map.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_mouse.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <math.h>
#include <algorithm>

namespace {

RotateState g_state;

const UINT kRotateButton = 217;
const COLORREF kMarkerGrey = 0xC4C4C4;
const COLORREF kMarkerRed = 0x0000FF;

POINT pivotOf(const RotateState *s) { return POINT{s->pivotX, s->pivotY}; }

// The object's outline points: its vertices, or its rectangle's corners
// for a kind without any.
std::vector<POINT> outlinePoints(MemHandle object)
{
    int16_t n = 0;
    MemHandle h = obGetVertices(object, &n);
    std::vector<POINT> v;
    if (h) {
        MemLock<POINT> p(h);
        if (p && n > 0)
            v.assign(p.get(), p.get() + n);
    }
    utFreeHandle(h);
    if (v.empty()) {
        RECT r;
        obGetRect(object, &r);
        v = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    }
    return v;
}

int drawTurned(HDC dc, const TrackPair *pair, LPARAM data)
{
    epDrawTurnedOutline(dc, reinterpret_cast<RotateOutline *>(data), POINT{pair->x1, pair->y1},
                        POINT{pair->x2, pair->y2});
    return 1;
}

// Drags the pivot from the press; the mode word reads 3 (the moving
// cursor) meanwhile.
void dragPivot(HWND ws, LPARAM press)
{
    RotateState copy = g_state;
    epInvalidateRotateArea(ws);
    wsSetToolModeWord(ws, TM_SIZEALL);
    wsSetToolCursor(ws);
    TrackPair pair;
    if (epTrackMouseEx(ws, WM_LBUTTONDOWN, press, FALSE, 0, &pair, epTrackMarkerFeedback,
                       (LPARAM)&copy, FALSE, kMarkerGrey, TRUE)) {
        g_state.pivotX += pair.x2 - pair.x1;
        g_state.pivotY += pair.y2 - pair.y1;
    }
    wsSetToolModeWord(ws, TM_ROTATE);
    wsSetToolCursor(ws);
    epInvalidateRotateArea(ws);
}

void leaveTool(HWND ws)
{
    epInvalidateRotateArea(ws);
    MemHandle object = wsGetCurrentObject(ws);
    if (object)
        obInvalidate(ws, object);
    wsPushToolMode(ws, 0, nullptr, FALSE);
}

void onPress(HWND ws, LPARAM lParam)
{
    if (GetFocus() != ws)
        SetFocus(ws);
    wsApplyViewMapping(ws);
    switch (winWaitClick(ws, lParam)) {
    case WIN_PRESS_DRAG: {
        POINT pt;
        dmMsgPointToLog(lParam, &pt);
        if (geoDistance(pt, pivotOf(&g_state)) <= g_state.markerSize) {
            dragPivot(ws, lParam);
            break;
        }
        MemHandle object = wsGetCurrentObject(ws);
        if (!object)
            break;
        RECT old;
        obGetRect(object, &old);
        int16_t angle = 0;
        MemHandle turned = epRotateDrag(ws, object, lParam, &g_state, &angle);
        if (!turned)
            break;
        epInvalidateRotateArea(ws);
        dmInflateByHandle(&old);
        dmInvalidateLogRect(ws, &old, TRUE);
        obRedraw(ws, turned);
        wsMarkModified(ws);
        break;
    }
    case WIN_PRESS_DOUBLE: PostMessageA(ws, WS_MSG_LEAVE_MODE, 0, 0); break;
    default: break;
    }
}

void onUndo(HWND ws)
{
    MemHandle current = wsGetCurrentObject(ws);
    if (current)
        obInvalidate(ws, current);
    MemHandle back = udPerform(ws, current);
    epSelectObject(ws, back);
    if (back) {
        epSetRotateState(ws, back);
        obInvalidate(ws, back);
    }
}

}  // namespace

// ---- the state ----------------------------------------------------------------------------------

void epInitRotateState(MemHandle object, RotateState *state)
{
    memset(state, 0, sizeof *state);
    if (!object)
        return;
    POINT c;
    obGetCentre(object, &c);
    RECT r;
    obGetRect(object, &r);
    state->centreX = c.x;
    state->centreY = c.y;
    state->pivotX = (int32_t)(((int64_t)r.left + r.right) / 2);
    state->pivotY = (int32_t)(((int64_t)r.top + r.bottom) / 2);
    state->radius = geoVectorLength((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    state->markerSize = dmDevToLogW(kEpRotateMarkerPixels);
}

void epSetRotateState(HWND ws, MemHandle object)
{
    wsApplyViewMapping(ws);
    epInvalidateRotateArea(ws);
    epInitRotateState(object, &g_state);
    epInvalidateRotateArea(ws);
}

void epSaveRotateState(RotateState *to)
{
    if (to)
        *to = g_state;
}

void epLoadRotateState(const RotateState *from)
{
    if (from)
        g_state = *from;
}

const RotateState *epGetRotateState() { return &g_state; }

void epRotateArea(const RotateState *s, RECT *out)
{
    // The circle of the radius, and the marker's cross when it reaches further.
    const int32_t reach = std::max(s->radius, 2 * s->markerSize);
    RECT r = {s->pivotX - reach, s->pivotY - reach, s->pivotX + reach, s->pivotY + reach};
    r.left = std::min<LONG>(r.left, s->centreX);
    r.top = std::min<LONG>(r.top, s->centreY);
    r.right = std::max<LONG>(r.right, s->centreX);
    r.bottom = std::max<LONG>(r.bottom, s->centreY);
    dmInflateByHandle(&r);
    *out = r;
}

void epInvalidateRotateArea(HWND ws)
{
    if (!ws || !g_state.markerSize)
        return;
    RECT r;
    wsApplyViewMapping(ws);
    epRotateArea(&g_state, &r);
    dmInvalidateLogRect(ws, &r, TRUE);
}

// ---- drawing ------------------------------------------------------------------------------------

void epDrawRotateMarker(HDC dc, const RotateState *s)
{
    if (!dc || !s)
        return;
    HPEN pen = CreatePen(PS_SOLID, 0, kMarkerGrey);
    HBRUSH brush = CreateSolidBrush(kMarkerRed);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const int oldRop = SetROP2(dc, R2_NOTXORPEN);
    const int32_t m = s->markerSize, x = s->pivotX, y = s->pivotY;
    MoveToEx(dc, x - 2 * m, y, nullptr);
    LineTo(dc, x + 2 * m, y);
    MoveToEx(dc, x, y - 2 * m, nullptr);
    LineTo(dc, x, y + 2 * m);
    Ellipse(dc, x - m, y - m, x + m, y + m);
    if (s->centreX != x || s->centreY != y) {
        MoveToEx(dc, s->centreX, s->centreY, nullptr);
        LineTo(dc, x, y);
    }
    SetROP2(dc, oldRop);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void epDrawRotateState(HDC dc) { epDrawRotateMarker(dc, &g_state); }

int epTrackMarkerFeedback(HDC dc, const TrackPair *pair, LPARAM data)
{
    RotateState s = *reinterpret_cast<const RotateState *>(data);
    s.pivotX += pair->x2 - pair->x1;
    s.pivotY += pair->y2 - pair->y1;
    epDrawRotateMarker(dc, &s);
    return 1;
}

void epDrawOutlinePoints(HDC dc, int16_t type, const POINT *pts, int16_t n)
{
    if (!dc || !pts || n < 2)
        return;
    switch (type) {
    case 2: case 4: case 5: case 14: case 17: case 31: case 32: case 33: case 34:
        Polyline(dc, pts, n);
        break;
    case 9: case 10: case 11: case 12: case 18: case 19:
        gdiPolyBezier(dc, pts, n);
        break;
    default: {
        // The polygon's outline only: nothing is filled.
        HGDIOBJ old = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Polygon(dc, pts, n);
        SelectObject(dc, old);
        break;
    }
    }
}

// ---- the drag ---------------------------------------------------------------------------------

double epRotateAngleDeg(POINT pivot, POINT from, POINT to)
{
    const double ax = (double)from.x - pivot.x, ay = (double)from.y - pivot.y;
    const double bx = (double)to.x - pivot.x, by = (double)to.y - pivot.y;
    if ((ax == 0 && ay == 0) || (bx == 0 && by == 0))
        return 0;
    // y grows downward: a counter-clockwise turn on the screen has a
    // negative cross product.
    const double cosine = ax * bx + ay * by, sine = -(ax * by - ay * bx);
    const double deg = geoAtan2Deg(sine, cosine);
    return deg >= 360.0 ? deg - 360.0 : deg;
}

void epDrawTurnedOutline(HDC dc, RotateOutline *o, POINT from, POINT to)
{
    const POINT p = o->pivot;
    MoveToEx(dc, p.x, p.y, nullptr);
    LineTo(dc, to.x, to.y);
    const double ax = (double)from.x - p.x, ay = (double)from.y - p.y;
    const double bx = (double)to.x - p.x, by = (double)to.y - p.y;
    const double la = sqrt(ax * ax + ay * ay), lb = sqrt(bx * bx + by * by);
    double c = 1, s = 0;
    if (la > 0 && lb > 0) {
        c = (ax * bx + ay * by) / (la * lb);
        s = (ax * by - ay * bx) / (la * lb);
    }
    o->work = o->base;
    const int16_t n = (int16_t)std::min<size_t>(o->work.size(), 32767);
    geoRotatePointsCS(o->work.data(), n, c, s);
    geoOffsetPoints(o->work.data(), n, p.x, p.y);
    epDrawOutlinePoints(dc, o->type, o->work.data(), n);
    mbShowRotation(geoRound(epRotateAngleDeg(p, from, to)));
}

MemHandle epRotateDrag(HWND ws, MemHandle object, LPARAM press, const RotateState *state,
                       int16_t *angle)
{
    if (angle)
        *angle = 0;
    if (!ws || !object)
        return 0;
    wsApplyViewMapping(ws);
    RotateState s;
    if (state)
        s = *state;
    else
        epInitRotateState(object, &s);
    RotateOutline outline;
    outline.type = obGetType(object);
    outline.pivot = pivotOf(&s);
    outline.base = outlinePoints(object);
    geoOffsetPoints(outline.base.data(), (int16_t)std::min<size_t>(outline.base.size(), 32767),
                    -outline.pivot.x, -outline.pivot.y);

    TrackPair pair;
    const int moved = epTrackMouseEx(ws, WM_LBUTTONDOWN, press, FALSE, 0, &pair, drawTurned,
                                     (LPARAM)&outline, FALSE, kTrkGrey, FALSE);
    if (!moved || (pair.x1 == pair.x2 && pair.y1 == pair.y2))
        return 0;
    // Whole tenths, truncated (a hair above, so that the arithmetic's own
    // error never costs a quarter turn its last tenth); a full turn is no
    // turn.
    const double deg = epRotateAngleDeg(outline.pivot, POINT{pair.x1, pair.y1},
                                        POINT{pair.x2, pair.y2});
    const int16_t tenths = (int16_t)((int32_t)(deg * 10.0 + 1e-6) % 3600);
    // A Bitmap is never turned: nothing to record, nothing changed.
    if (!tenths || outline.type == OBT_BITMAP)
        return 0;
    udRecordCopy(ws, object);
    obTreeFlipRotate(object, outline.pivot, tenths);
    if (angle)
        *angle = tenths;
    return object;
}

// ---- the tool -----------------------------------------------------------------------------------

int epCanRotateTree(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    const int16_t type = obGetType(object);
    if (type == OBT_COMPOSITE && !cpIsUniformScale(object) &&
        utMessageBoxId(ws, 922, MB_OKCANCEL | MB_ICONQUESTION) == IDCANCEL)
        return 0;
    if (obTreeHasField(object) || obTreeHasType(object, OBT_LABEL)) {
        utMessageBoxId(ws, 923, MB_ICONINFORMATION);
        return 0;
    }
    if ((type == OBT_GROUP || type == OBT_CHAIN) && obTreeHasType(object, OBT_BITMAP)) {
        utMessageBoxId(ws, 987, MB_ICONINFORMATION);
        return 0;
    }
    return 1;
}

int epRotateTool(HWND ws, MemHandle object)
{
    if (!object)
        return 0;
    if (!epIsEditable(ws, object)) {
        epReportNotEditable(ws, "rotate");
        return 0;
    }
    if (wsGetToolMode(ws) == TM_ROTATE || !epCanRotateTree(ws, object))
        return 0;
    epSetRotateState(ws, object);
    wsPushToolMode(ws, TM_ROTATE, RotateToolWndProc, TRUE);
    return 1;
}

LRESULT CALLBACK RotateToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        blSelectToolButton(kRotateButton);
        return 0;
    case WM_LBUTTONDOWN:
        onPress(ws, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WS_MSG_LEAVE_MODE:
        leaveTool(ws);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == 200) {
            onUndo(ws);
            return 0;
        }
        break;
    default: break;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

int epRotateHandleArea(MemHandle object, RECT *out)
{
    RECT r;
    if (!epGetRotateHandle(object, &r))
        return 0;
    r.right = dmNudgeByPixels(r.right, 1);
    r.bottom = dmNudgeByPixels(r.bottom, 1);
    if (out)
        *out = r;
    return 1;
}

int epRotateHandleHitAny(MemHandle object, POINT pt)
{
    RECT r;
    return epRotateHandleArea(object, &r) && pt.x >= r.left && pt.x < r.right && pt.y >= r.top &&
           pt.y < r.bottom;
}
