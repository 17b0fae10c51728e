// The drag tracking loop of the workspace.
#include "commands/ep_track.h"
#include "app/mb_msgbar.h"
#include "views/ws_scroll.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/win_mouse.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <algorithm>

namespace {

// The mouse messages the loop takes off the queue: moves and the buttons.
const UINT kMouseFirst = 0x200;   // WM_MOUSEMOVE
const UINT kMouseLast = 0x209;    // WM_MBUTTONDBLCLK
// Longest wait for input before the capture is looked at again: a capture
// taken away by a sent message wakes no wait.
const DWORD kWaitMs = 50;
// The tool mode of a rubber-band drag (its cursor is the cross).
const uint16_t kRubberBandMode = 8;

POINT unpack(LPARAM packed) { return POINT{(int16_t)LOWORD(packed), (int16_t)HIWORD(packed)}; }
LPARAM pack(POINT p) { return MAKELPARAM((WORD)(int16_t)p.x, (WORD)(int16_t)p.y); }

bool isPress(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDOWN ||
           message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDOWN || message == WM_MBUTTONDBLCLK;
}

enum class Next {
    Message,   // a mouse message, taken off the queue
    Lost,      // the window no longer holds the capture
    Press,     // a button went down: the release was missed (it came outside
               // every window of ours); the press stays queued for the next
               // gesture
};

// The next mouse message while the window holds the capture. Waits only
// while the queue holds no mouse message.
Next nextMouseMessage(HWND window, MSG *msg)
{
    for (;;) {
        if (GetCapture() != window)
            return Next::Lost;
        if (PeekMessageA(msg, nullptr, kMouseFirst, kMouseLast, PM_NOREMOVE)) {
            if (isPress(msg->message))
                return Next::Press;
            PeekMessageA(msg, nullptr, kMouseFirst, kMouseLast, PM_REMOVE);
            return Next::Message;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitMs, QS_ALLINPUT);
    }
}

// A release outside the window's top-level window (the frame) drops the drag.
bool outsideFrame(HWND window, LPARAM packed)
{
    POINT p = {(int16_t)LOWORD(packed), (int16_t)HIWORD(packed)};
    ClientToScreen(window, &p);
    RECT frame;
    return GetWindowRect(GetAncestor(window, GA_ROOT), &frame) && !PtInRect(&frame, p);
}

// Whether the loop goes on with the message; a drag that ends without its
// release, or with it outside the frame, is dropped.
bool takeNext(HWND window, UINT release, MSG *msg, bool *dropped)
{
    switch (nextMouseMessage(window, msg)) {
    case Next::Lost:
        return false;
    case Next::Press:
        *dropped = true;
        return false;
    case Next::Message:
        break;
    }
    if (msg->message == release && outsideFrame(window, msg->lParam)) {
        *dropped = true;
        return false;
    }
    return true;
}

// The mapped device context of a drag with the feedback pen under
// R2_NOTXORPEN; everything is put back and released at the end.
class TrackDC {
public:
    TrackDC(HWND window, COLORREF colour) : window_(window)
    {
        dc_ = wsGetDC(window);
        if (!dc_)
            return;
        // Width 0: one pixel whatever the mapping.
        pen_ = CreatePen(PS_SOLID, 0, colour);
        oldPen_ = pen_ ? SelectObject(dc_, pen_) : nullptr;
        oldRop_ = SetROP2(dc_, R2_NOTXORPEN);
    }
    ~TrackDC()
    {
        if (!dc_)
            return;
        SetROP2(dc_, oldRop_);
        if (oldPen_)
            SelectObject(dc_, oldPen_);
        if (pen_)
            DeleteObject(pen_);
        ReleaseDC(window_, dc_);
    }
    TrackDC(const TrackDC &) = delete;
    TrackDC &operator=(const TrackDC &) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    HDC dc_ = nullptr;
    HPEN pen_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    int oldRop_ = 0;
};

void drawFeedback(TrkFeedback feedback, HDC dc, const TrackPair *pair, LPARAM data)
{
    if (feedback)
        feedback(dc, pair, data);
}

// Scrolls the view when the device point lies outside it; then the DC
// takes the new scroll origin and the point is the scrolled one.
bool autoScroll(HWND window, HDC dc, POINT *device)
{
    if (!wsDragAutoScroll(window, device))
        return false;
    dmApplyScrollOrg(dc);
    return true;
}

// Moves the pair's end to p: the feedback erased at the old end and drawn
// at the new one. When the view scrolls first, the end is taken again by
// `again` from the scrolled device point. True when the end changed.
template <typename Again>
bool moveEnd(HWND window, HDC dc, TrkFeedback feedback, TrackPair *pair, LPARAM data,
             POINT *device, POINT p, Again again)
{
    drawFeedback(feedback, dc, pair, data);
    if (autoScroll(window, dc, device))
        p = again(*device);
    bool changed = p.x != pair->x2 || p.y != pair->y2;
    pair->x2 = p.x;
    pair->y2 = p.y;
    drawFeedback(feedback, dc, pair, data);
    return changed;
}

// The end of a track: the last feedback erased, the capture released when
// it is still ours (a window that took it keeps it), the position text
// cleared when it was shown.
void endTrack(HWND window, HDC dc, TrkFeedback feedback, const TrackPair *pair, LPARAM data,
              BOOL showPos)
{
    drawFeedback(feedback, dc, pair, data);
    if (GetCapture() == window)
        ReleaseCapture();
    if (showPos)
        mbClearPositionText();
}

void outlineRect(HDC dc, RECT r)
{
    geoRectFromPoints(POINT{r.left, r.top}, POINT{r.right, r.bottom}, &r);
    POINT pts[5] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom},
                    {r.left, r.top}};
    Polyline(dc, pts, 5);
}

}  // namespace

// ---- feedback ---------------------------------------------------------------------------------

int trkDrawRect(HDC dc, const TrackPair *pair, LPARAM)
{
    if (!dc || !pair)
        return 0;
    outlineRect(dc, RECT{pair->x1, pair->y1, pair->x2, pair->y2});
    return 1;
}

int trkDrawLineToFoot(HDC dc, const TrackPair *pair, LPARAM data)
{
    const POINT *line = reinterpret_cast<const POINT *>(data);
    if (!dc || !pair || !line)
        return 0;
    POINT foot;
    geoProjectPoint(line[0], line[1], POINT{pair->x2, pair->y2}, &foot);
    MoveToEx(dc, line[0].x, line[0].y, nullptr);
    LineTo(dc, foot.x, foot.y);
    // The handle mark: a square of the selection handles' size, pen and
    // brush of one colour so that no pixel is drawn twice.
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, kTrkFootMark));
    GdiObject<HBRUSH> brush(CreateSolidBrush(kTrkFootMark));
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, brush);
    Rectangle(dc, foot.x - hx, foot.y - hy, foot.x + hx, foot.y + hy);
    return 1;
}

void trkMoveEdge(RECT *r, int32_t edge, int32_t dx, int32_t dy)
{
    switch (edge) {
    case GEO_EDGE_LEFT: r->left += dx; break;
    case GEO_EDGE_TOP: r->top += dy; break;
    case GEO_EDGE_RIGHT: r->right += dx; break;
    case GEO_EDGE_BOTTOM: r->bottom += dy; break;
    default: break;
    }
}

int trkDrawEdgeRect(HDC dc, const TrackPair *pair, LPARAM data)
{
    const TrkEdgeRect *er = reinterpret_cast<const TrkEdgeRect *>(data);
    if (!dc || !pair || !er)
        return 0;
    RECT r = er->rect;
    trkMoveEdge(&r, er->edge, pair->x2 - pair->x1, pair->y2 - pair->y1);
    outlineRect(dc, r);
    return 1;
}

// ---- loops ------------------------------------------------------------------------------------

int epTrackMouseEx(HWND window, UINT buttonMsg, LPARAM pressPos, BOOL snap, int16_t divisions,
                   TrackPair *pair, TrkFeedback feedback, LPARAM data, BOOL showSize,
                   COLORREF colour, BOOL showPos)
{
    if (!window || !pair)
        return 0;
    TrackDC tdc(window, colour);
    HDC dc = tdc.dc();
    if (!dc)
        return 0;
    UINT release = buttonMsg == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP;

    POINT start;
    dmMsgPointToLogSnap(pressPos, &start, snap, divisions);
    pair->x1 = pair->x2 = start.x;
    pair->y1 = pair->y2 = start.y;
    if (showSize)
        mbSetOrigin(start.x, start.y);
    if (showPos)
        mbShowPosition(unpack(pressPos));

    SetCapture(window);
    drawFeedback(feedback, dc, pair, data);
    int moved = 0;
    bool dropped = false;
    MSG msg;
    while (takeNext(window, release, &msg, &dropped)) {
        POINT device = unpack(msg.lParam);
        POINT p;
        dmMsgPointToLogSnap(msg.lParam, &p, snap, divisions);
        if (p.x != pair->x2 || p.y != pair->y2) {
            moved = 1;
            moveEnd(window, dc, feedback, pair, data, &device, p, [&](POINT d) {
                POINT q;
                dmMsgPointToLogSnap(pack(d), &q, snap, divisions);
                return q;
            });
            wsTrackRulers(window, pack(device));
            if (showPos)
                mbShowPosition(device);
        }
        if (msg.message == release)
            break;
    }
    endTrack(window, dc, feedback, pair, data, showPos);
    if (showSize)
        mbClearOrigin();
    if (dropped) {
        pair->x2 = pair->x1;
        pair->y2 = pair->y1;
        return 0;
    }
    return moved;
}

int epTrackMouse(HWND window, UINT buttonMsg, LPARAM pressPos, BOOL snap, int16_t divisions,
                 TrackPair *pair, TrkFeedback feedback, LPARAM data, BOOL showSize,
                 COLORREF colour)
{
    return epTrackMouseEx(window, buttonMsg, pressPos, snap, divisions, pair, feedback, data,
                          showSize, colour, TRUE);
}

int trkTrackDrag(HWND window, UINT buttonMsg, LPARAM pressPos, BOOL snap, int16_t divisions,
                 TrackPair *pair, TrkFeedback feedback, LPARAM data, BOOL measure,
                 COLORREF colour, BOOL showPos)
{
    return epTrackMouseEx(window, buttonMsg, pressPos, snap, divisions, pair, feedback, data,
                          measure, colour, showPos);
}

int epTrackMove(HWND window, LPARAM pressPos, BOOL snap, int16_t divisions, TrackPair *pair,
                TrkFeedback feedback, MemHandle object, COLORREF colour, BOOL showPos)
{
    if (!window || !pair)
        return 0;
    TrackDC tdc(window, colour);
    HDC dc = tdc.dc();
    if (!dc)
        return 0;
    LPARAM data = (LPARAM)object;
    POINT ref;
    obGetTopLeft(object, &ref);
    pair->x1 = pair->x2 = ref.x;
    pair->y1 = pair->y2 = ref.y;
    POINT press;
    dmMsgPointToLog(pressPos, &press);

    // The reference point moved by the pointer's distance from the press.
    auto candidate = [&](POINT device) {
        POINT p;
        dmMsgPointToLog(pack(device), &p);
        POINT c = {ref.x + (p.x - press.x), ref.y + (p.y - press.y)};
        if (snap)
            dmSnapPoints(&c, 1, divisions);
        return c;
    };

    SetCapture(window);
    drawFeedback(feedback, dc, pair, data);
    int moved = 0;
    bool first = true;
    bool dropped = false;
    MSG msg;
    while (takeNext(window, WM_LBUTTONUP, &msg, &dropped)) {
        POINT device = unpack(msg.lParam);
        POINT p;
        dmMsgPointToLog(msg.lParam, &p);
        if (p.x != press.x || p.y != press.y) {
            POINT c = candidate(device);
            if (first || c.x != pair->x2 || c.y != pair->y2) {
                first = false;
                if (moveEnd(window, dc, feedback, pair, data, &device, c, candidate))
                    moved = 1;
            }
        }
        wsTrackRulers(window, pack(device));
        if (showPos)
            mbShowPosition(device);
        if (msg.message == WM_LBUTTONUP)
            break;
    }
    endTrack(window, dc, feedback, pair, data, showPos);
    if (dropped) {
        pair->x2 = pair->x1;
        pair->y2 = pair->y1;
        return 0;
    }
    return moved;
}

int epTrackRubberBand(HWND window, UINT buttonMsg, LPARAM pressPos, RECT *out)
{
    BOOL snap = wsIsSnapToRulers(window);
    int16_t divisions = (int16_t)pgGetGridDivisions(window);
    uint16_t mode = wsGetToolMode(window);
    wsSetToolModeWord(window, kRubberBandMode);
    wsSetToolCursor(window);
    TrackPair pair = {};
    int result = epTrackMouse(window, buttonMsg, pressPos, snap, divisions, &pair, trkDrawRect, 0,
                              FALSE, kTrkGrey);
    wsSetToolModeWord(window, mode);
    wsSetToolCursor(window);
    if (out)
        geoRectFromPoints(POINT{pair.x1, pair.y1}, POINT{pair.x2, pair.y2}, out);
    return result;
}

int epTrackEdge(HWND window, LPARAM pressPos, int32_t tolerance, RECT *rect, BOOL snap)
{
    if (!window || !rect)
        return 0;
    BOOL snapOn = FALSE;
    int16_t divisions = 0;
    if (snap) {
        snapOn = wsIsSnapToRulers(window);
        divisions = (int16_t)pgGetGridDivisions(window);
    }
    POINT press;
    dmMsgPointToLog(pressPos, &press);
    int edge = geoHitRectEdge(rect, press, tolerance);
    if (edge == GEO_EDGE_NONE)
        return 0;
    if (winWaitClick(window, pressPos) != WIN_PRESS_DRAG)
        return 0;
    TrkEdgeRect er = {*rect, edge};
    TrackPair pair = {};
    if (!epTrackMouse(window, WM_LBUTTONDOWN, pressPos, snapOn, divisions, &pair, trkDrawEdgeRect,
                      (LPARAM)&er, FALSE, kTrkGrey))
        return 0;
    int32_t dx = pair.x2 - pair.x1, dy = pair.y2 - pair.y1;
    int32_t d = (edge == GEO_EDGE_LEFT || edge == GEO_EDGE_RIGHT) ? dx : dy;
    if (!d)
        return 0;
    trkMoveEdge(rect, edge, dx, dy);
    return 1;
}

int epTrackOnLine(HWND window, LPARAM pressPos, const POINT line[2], POINT *out, COLORREF colour)
{
    if (!line)
        return 0;
    TrackPair pair = {};
    int result = epTrackMouse(window, WM_LBUTTONDOWN, pressPos, FALSE, 0, &pair, trkDrawLineToFoot,
                              (LPARAM)line, FALSE, colour);
    if (result && out)
        geoProjectPoint(line[0], line[1], POINT{pair.x2, pair.y2}, out);
    return result;
}
