// The freehand polyline and curve tools: their stroke loops, the tracking
// lines and the object made from a stroke.
#include "tools/ne_freehand.h"
#include "tools/ne_state.h"
#include "tools/ep_brushfit.h"
#include "tools/ep_create.h"
#include "tools/ep_factory.h"
#include "tools/ep_selection.h"
#include "app/mb_msgbar.h"
#include "views/ws_scroll.h"
#include "model/ob_dispatch.h"
#include "model/pg_record.h"
#include "objects/sh_curve.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const UINT kMouseFirst = 512, kMouseLast = 521;
const DWORD kWaitMs = 50;
// The curve tool samples the hand every more than 3 pixels (|dx| + |dy|)
// and fits the samples once more than 24 wait, or more than 2 after a
// pause of more than 300 ms between mouse messages.
const int32_t kNeRawSampleStep = 3;
const size_t kNeFitBatch = 24;
const DWORD kNeFitPauseMs = 300;

// A tool's stroke: page points in a handle and their count.
struct Stroke {
    MemHandle points = 0;
    uint16_t count = 0;
    bool ended = false;
};
Stroke g_line, g_curve;

Stroke &strokeOf(bool curve) { return curve ? g_curve : g_line; }

POINT unpack(LPARAM packed) { return POINT{(int16_t)LOWORD(packed), (int16_t)HIWORD(packed)}; }
LPARAM pack(POINT p) { return MAKELPARAM((WORD)(int16_t)p.x, (WORD)(int16_t)p.y); }
bool same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

POINT lastPoint(const Stroke &s)
{
    POINT p = {0, 0};
    MemLock<POINT> pts(s.points);
    if (pts && s.count)
        p = pts[s.count - 1];
    return p;
}

bool append(Stroke &s, const POINT *p, uint16_t n)
{
    if (s.count > 32767 - n)
        return false;
    MemHandle g = utPutBytes(s.points, (uint32_t)s.count * sizeof(POINT), p, n * sizeof(POINT));
    if (!g)
        return false;
    s.points = g;
    s.count = (uint16_t)(s.count + n);
    return true;
}

// The tracking pen: with flag 0x40 the line style, width and colour of the
// edited object (the page's default object when none is edited), else a
// one-pixel solid pen of that colour.
HPEN makeTrackPen(HWND ws)
{
    uint16_t style = 0;
    int32_t width = 0;
    COLORREF colour = 0;
    MemHandle edited = neGetState()->object;
    ObLock r(edited);
    if (r) {
        style = r->lineStyle;
        width = r->penWidth;
        colour = r->penColour;
    } else {
        EpPageDefaults d;
        epGetPageDefaults(ws, &d);
        style = d.head.lineStyle;
        width = d.head.penWidth;
        colour = d.head.penColour;
    }
    if (neGetFlags() & NE_FLAG_OBJECT_PEN)
        return CreatePen(gdiLineStylePen(style), width, colour);
    return CreatePen(PS_SOLID, 0, colour);
}

// The workspace DC (or a given one) with the tracking pen under
// R2_NOTXORPEN.
class TrackLines {
public:
    explicit TrackLines(HWND ws, HDC dc = nullptr) : ws_(ws), own_(dc == nullptr)
    {
        dc_ = dc ? dc : wsGetDC(ws);
        if (!dc_)
            return;
        pen_ = makeTrackPen(ws);
        oldPen_ = pen_ ? SelectObject(dc_, pen_) : nullptr;
        oldRop_ = SetROP2(dc_, R2_NOTXORPEN);
    }
    ~TrackLines()
    {
        if (!dc_)
            return;
        SetROP2(dc_, oldRop_);
        if (oldPen_)
            SelectObject(dc_, oldPen_);
        if (pen_)
            DeleteObject(pen_);
        if (own_)
            ReleaseDC(ws_, dc_);
    }
    TrackLines(const TrackLines &) = delete;
    TrackLines &operator=(const TrackLines &) = delete;
    HDC dc() const { return dc_; }
    // Drawn and erased by the same call.
    void line(POINT a, POINT b)
    {
        if (!dc_ || same(a, b))
            return;
        MoveToEx(dc_, a.x, a.y, nullptr);
        LineTo(dc_, b.x, b.y);
    }
    void lines(const std::vector<POINT> &p)
    {
        if (dc_ && p.size() >= 2)
            Polyline(dc_, p.data(), (int)p.size());
    }
    void curve(const POINT *p, int n)
    {
        if (dc_ && n >= 4)
            gdiPolyBezier(dc_, p, (int16_t)n);
    }

private:
    HWND ws_;
    bool own_;
    HDC dc_ = nullptr;
    HPEN pen_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    int oldRop_ = 0;
};

// The next mouse message while the workspace holds the capture; false once
// it no longer does.
bool nextMouseMessage(HWND ws, MSG *msg)
{
    for (;;) {
        if (GetCapture() != ws)
            return false;
        if (PeekMessageA(msg, nullptr, kMouseFirst, kMouseLast, PM_REMOVE))
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitMs, QS_ALLINPUT);
    }
}

// The stroke loop of both tools.
MemHandle runStroke(HWND ws, UINT message, WPARAM wParam, LPARAM lParam, bool curve,
                    int32_t spacing, uint16_t *outCount)
{
    Stroke &s = strokeOf(curve);
    s.ended = false;
    if (outCount)
        *outCount = s.count;
    if (!ws)
        return s.points;
    const bool hv = !curve && wsGetCurrentType(ws) == OBT_POLYHV;
    const BOOL snap = wsIsSnapToRulers(ws);
    const int16_t divisions = (int16_t)pgGetGridDivisions(ws);
    wsApplyViewMapping(ws);
    const int32_t pixel = dmGetPixelSize();
    // The polyline's minimum spacing, and the curve's raw sampling step and
    // fitting tolerance (squared), in logical units.
    const int32_t step = std::max<int32_t>(1, spacing) * pixel;
    const double fitTolerance = (double)step * step;
    const int32_t rawStep = kNeRawSampleStep * pixel;
    TrackLines track(ws);
    HDC dc = track.dc();
    auto logical = [&](LPARAM packed) {
        POINT p;
        dmMsgPointToLogSnap(packed, &p, snap, divisions);
        return p;
    };

    // The rubber line runs from the last point to the pointer.
    POINT rubberEnd = logical(lParam);
    bool rubber = false;
    auto showRubber = [&](bool on) {
        if (s.count && on != rubber) {
            track.line(lastPoint(s), rubberEnd);
            rubber = on;
        }
    };
    auto addPoint = [&](POINT p) {
        if (s.count && same(p, lastPoint(s)))
            return;
        showRubber(false);
        POINT from = lastPoint(s);
        bool had = s.count != 0;
        if (!curve || !had) {
            append(s, &p, 1);
        } else {
            POINT seg[3];
            neStraightBezierSegment(from, p, seg);
            append(s, seg, 3);
        }
        if (had)
            track.line(from, p);   // the new segment stays drawn
        rubberEnd = p;
    };

    // The curve's raw samples of a drag, fitted into Bezier segments while
    // the hand draws.
    std::vector<POINT> raw;
    auto fitRaw = [&]() {
        if (raw.size() < 2)
            return;
        track.lines(raw);   // the raw tracking line goes
        int32_t k = 0;
        MemHandle fitted = epBrushLineFitCurve(raw.data(), (int)raw.size(), fitTolerance, &k);
        if (fitted && k > 0) {
            std::vector<POINT> f((size_t)(1 + 3 * k));
            {
                MemLock<POINT> q(fitted);
                memcpy(f.data(), q.get(), f.size() * sizeof(POINT));
            }
            if (s.count > kNeMaxPoints - 3 * k) {
                s.ended = true;   // the stroke is full
            } else {
                ShowCursor(FALSE);
                track.curve(f.data(), (int)f.size());
                ShowCursor(TRUE);
                append(s, f.data() + 1, (uint16_t)(3 * k));
            }
        }
        utFreeHandle(fitted);
        POINT end = raw.back();
        raw.assign(1, end);
    };
    auto sample = [&](POINT p) {
        if (raw.empty() || labs((long)p.x - raw.back().x) + labs((long)p.y - raw.back().y)
                               <= rawStep)
            return;
        track.line(raw.back(), p);
        raw.push_back(p);
        if (raw.size() > kNeFitBatch)
            fitRaw();
    };
    // The polyline's freehand points: one each time the pointer has moved
    // the spacing along x or y.
    auto follow = [&](POINT p) {
        if (hv && s.count)
            p = neHorizontalOrVertical(lastPoint(s), p);
        POINT last = lastPoint(s);
        if (s.count && labs((long)p.x - last.x) < step && labs((long)p.y - last.y) < step)
            return;
        if (s.count >= kNeMaxPoints) {
            s.ended = true;
            return;
        }
        addPoint(p);
    };

    SetCapture(ws);
    showRubber(true);
    bool dragging = false;
    MSG msg = {};
    msg.hwnd = ws;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = (DWORD)GetMessageTime();
    DWORD lastTime = msg.time;
    bool pending = true;
    while (!s.ended) {
        if (!pending && !nextMouseMessage(ws, &msg))
            break;   // the capture went elsewhere: the stroke stays open
        pending = false;
        // Samples waiting through a pause of the hand are fitted first; the
        // pause is measured between the messages' own times.
        if (dragging && curve && raw.size() > 2 && (DWORD)(msg.time - lastTime) > kNeFitPauseMs)
            fitRaw();
        lastTime = msg.time;
        POINT device = unpack(msg.lParam);
        POINT p = logical(msg.lParam);
        switch (msg.message) {
        case WM_MOUSEMOVE:
            if (dragging) {
                if (dc && wsDragAutoScroll(ws, &device)) {
                    dmApplyScrollOrg(dc);
                    p = logical(pack(device));
                }
                if (curve)
                    sample(p);
                else
                    follow(p);
            } else if (s.count && !same(p, rubberEnd)) {
                showRubber(false);
                if (dc && wsDragAutoScroll(ws, &device)) {
                    dmApplyScrollOrg(dc);
                    p = logical(pack(device));
                }
                rubberEnd = p;
                showRubber(true);
            }
            wsTrackRulers(ws, pack(device));
            mbShowPosition(device);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (hv && s.count)
                p = neHorizontalOrVertical(lastPoint(s), p);
            uint16_t press = msg.message == WM_LBUTTONDBLCLK ? (uint16_t)WIN_PRESS_DOUBLE
                                                             : winWaitClick(ws, msg.lParam);
            if (GetCapture() == nullptr)
                SetCapture(ws);
            addPoint(p);
            if (press == WIN_PRESS_DOUBLE) {
                s.ended = true;
            } else if (press == WIN_PRESS_DRAG) {
                dragging = true;
                showRubber(false);
                HCURSOR pen = LoadCursorA(GetModuleHandleA(nullptr), "PEN");
                if (pen)
                    SetCursor(pen);
                if (curve)
                    raw.assign(1, lastPoint(s));
            }
            showRubber(!s.ended && !dragging);
            break;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            if (dragging) {
                dragging = false;
                if (curve) {
                    sample(p);
                    fitRaw();
                    raw.clear();
                } else {
                    follow(p);
                }
                if (msg.message != WM_LBUTTONUP || !(neGetFlags() & NE_FLAG_ADVANCED))
                    s.ended = true;
                rubberEnd = p;
                showRubber(!s.ended);
                break;
            }
            if (msg.message == WM_LBUTTONUP)
                break;
            if (s.count && rubber) {
                RECT r;
                geoRectFromPoints(lastPoint(s), rubberEnd, &r);
                showRubber(false);
                dmInvalidateLogRect(ws, &r, TRUE);
            }
            s.ended = true;
            break;
        default:
            break;
        }
    }
    showRubber(false);
    if (GetCapture() == ws)
        ReleaseCapture();
    if (outCount)
        *outCount = s.count;
    return s.points;
}

// The object made from the tool's stroke, then the stroke freed.
void makeFromStroke(HWND ws, bool curve)
{
    Stroke &s = strokeOf(curve);
    std::vector<POINT> pts(s.count);
    if (s.count) {
        MemLock<POINT> p(s.points);
        if (p)
            memcpy(pts.data(), p.get(), sizeof(POINT) * s.count);
    }
    neClearStroke(curve);
    neMakeObjectFromStroke(ws, pts.data(), (uint16_t)pts.size());
}

LRESULT toolProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam, bool curve)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        neClearStroke(curve);
        return 0;
    case WS_MSG_LEAVE_MODE:
        if (strokeOf(curve).count >= 2) {
            makeFromStroke(ws, curve);
            if (wsGetToolMode(ws) == TM_CREATE)
                wsLeaveToolMode(ws, FALSE);
        } else {
            neClearStroke(curve);
            wsLeaveToolMode(ws, FALSE);
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (GetFocus() != ws)
            SetFocus(ws);
        uint16_t n = 0;
        if (curve)
            neStrokeCurve(ws, msg, wParam, lParam, neGetCurveResolution(), &n);
        else
            neStrokePolyline(ws, msg, wParam, lParam, neGetMinSpacing(), &n);
        if (n >= 1 && strokeOf(curve).ended)
            makeFromStroke(ws, curve);
        return 0;
    }
    case WM_RBUTTONDOWN:
        makeFromStroke(ws, curve);
        return 0;
    default:
        return wsDefProc(ws, msg, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK FreeLineToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return toolProc(ws, msg, wParam, lParam, false);
}

LRESULT CALLBACK FreeCurveToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return toolProc(ws, msg, wParam, lParam, true);
}

MemHandle neStrokePolyline(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam, int32_t spacing,
                           uint16_t *outCount)
{
    return runStroke(ws, msg, wParam, lParam, false, spacing, outCount);
}

MemHandle neStrokeCurve(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam, int32_t resolution,
                        uint16_t *outCount)
{
    return runStroke(ws, msg, wParam, lParam, true, resolution, outCount);
}

void neDrawTrackLines(HWND ws, HDC dc, const POINT *points, int n)
{
    if (!dc || !points || n < 2)
        return;
    TrackLines track(ws, dc);
    track.lines(std::vector<POINT>(points, points + n));
}

BOOL neStrokeEnded(BOOL curve) { return strokeOf(curve != FALSE).ended ? TRUE : FALSE; }

void neClearStroke(BOOL curve)
{
    Stroke &s = strokeOf(curve != FALSE);
    utFreeHandle(s.points);
    s = Stroke();
}

MemHandle neMakeObjectFromStroke(HWND ws, const POINT *points, uint16_t count)
{
    if (!points || count < 2) {
        wsLeaveToolMode(ws, FALSE);
        epEnterSelectMode(ws, 0);
        return 0;
    }
    int16_t type = wsGetCurrentType(ws);
    if (type == OBT_POLYHV)
        type = OBT_POLYLINE;
    std::vector<POINT> pts(points, points + count);
    if (type == OBT_BEZIER) {
        wsApplyViewMapping(ws);
        const int32_t close = neGetCloseSpacing() * dmGetPixelSize();
        if (geoRound(geoDistance(pts.front(), pts.back())) <= close) {
            pts.back() = pts.front();
            type = OBT_CLOSED_CURVE;
        }
    }
    MemHandle object = epCreateObject(ws, 0, type, pts.data(), count);
    if (!object)
        return 0;
    if (type == OBT_BEZIER || type == OBT_CLOSED_CURVE)
        shBezierBounds(object, nullptr);
    epFinishCreate(ws, object);
    return object;
}

void neStraightBezierSegment(POINT a, POINT b, POINT out[3])
{
    const int32_t dx = b.x - a.x, dy = b.y - a.y;
    out[0] = POINT{a.x + dx / 3, a.y + dy / 3};
    out[1] = POINT{a.x + 2 * dx / 3, a.y + 2 * dy / 3};
    out[2] = b;
}

POINT neHorizontalOrVertical(POINT last, POINT p)
{
    const int32_t dx = abs(p.x - last.x), dy = abs(p.y - last.y);
    if (dx < dy)
        p.x = last.x;
    else
        p.y = last.y;
    return p;
}
