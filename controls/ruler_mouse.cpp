// The mouse on the rulers and the corner button: marker and guide drags,
// new markers, the sizing cursor over a marker, the context menu and the
// corner button's press. Each drag is a local loop over the mouse messages
// with the mouse captured; positions come from the messages (mapped into
// the ruler when another window of the gesture got them), and the loop also
// ends when the capture goes elsewhere.
#include "controls/ruler_window.h"
#include "support/dm_map.h"
#include "support/win_menu.h"
#include "support/win_window.h"
#include <algorithm>

namespace {

// The ruler's context menu.
const WinMenuTableEntry kRulerMenu[2] = {
    {RUL_CMD_PROPERTY, "&Property..."},
    {RUL_CMD_REMOVE, "&Remove"},
};

bool isVertical(const RulerRecord &rec) { return rec.orientation == RUL_VERTICAL; }

// The message's point in the client coordinates of the target window.
POINT pointIn(HWND target, const MSG &msg)
{
    POINT pt;
    winLParamToPoint(msg.lParam, &pt);
    if (msg.hwnd && msg.hwnd != target)
        MapWindowPoints(msg.hwnd, target, &pt, 1);
    return pt;
}

// The next mouse message of a local loop; false when the loop must end
// because the capture went elsewhere with no mouse message queued.
bool nextMouseMessage(HWND owner, MSG *msg)
{
    for (;;) {
        if (PeekMessageA(msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
            return true;
        if (GetCapture() != owner)
            return false;
        WaitMessage();
    }
}

// Where a drag ended and whether it ever moved.
struct Track {
    int32_t pos;
    bool changed;
};

// Follows the pointer along the ruler from the start position until the
// button is released. draw(pos) draws the feedback at a position; drawn
// twice it is gone. The feedback is removed at the end.
template <typename Draw>
Track trackAlong(HWND ruler, const RulerRecord &rec, int32_t start, RulerDragLimits *limits,
                 Draw draw)
{
    Track t = {start, false};
    draw(t.pos);
    SetCapture(ruler);
    MSG msg;
    while (nextMouseMessage(ruler, &msg)) {
        if (msg.message == WM_LBUTTONUP)
            break;
        if (msg.message != WM_MOUSEMOVE)
            continue;
        if (!(msg.wParam & MK_LBUTTON))
            break;   // the release went elsewhere
        POINT pt = pointIn(ruler, msg);
        int32_t pos = rulSnapAlong(rec, isVertical(rec) ? pt.y : pt.x);
        if (limits)
            pos = rulClampDrag(limits, pos);
        if (pos == t.pos)
            continue;
        t.changed = true;
        draw(t.pos);
        draw(pos);
        t.pos = pos;
    }
    draw(t.pos);
    if (GetCapture() == ruler)
        ReleaseCapture();
    return t;
}

// The device contexts of a drag: the ruler's and the notify workspace's,
// with the workspace's client size across the line.
class DragDCs {
public:
    DragDCs(HWND ruler, HWND workspace, bool vertical)
        : ruler_(ruler), workspace_(workspace), rdc_(GetDC(ruler)),
          wdc_(workspace ? GetDC(workspace) : nullptr), extent_(0)
    {
        RECT c = {0, 0, 0, 0};
        if (workspace)
            GetClientRect(workspace, &c);
        extent_ = vertical ? c.right : c.bottom;
    }
    ~DragDCs()
    {
        if (wdc_)
            ReleaseDC(workspace_, wdc_);
        if (rdc_)
            ReleaseDC(ruler_, rdc_);
    }
    DragDCs(const DragDCs &) = delete;
    DragDCs &operator=(const DragDCs &) = delete;
    HDC ruler() const { return rdc_; }
    HDC workspace() const { return wdc_; }
    int32_t extent() const { return extent_; }

private:
    HWND ruler_, workspace_;
    HDC rdc_, wdc_;
    int32_t extent_;
};

void invalidateBand(HWND ruler, uint16_t orientation, int32_t pos)
{
    RECT band = rulMarkerBand(orientation, pos);
    InvalidateRect(ruler, &band, TRUE);
}

void post(HWND target, UINT id, LPARAM lParam)
{
    if (target)
        PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, 0), lParam);
}

// Drags marker `index` from the device position start (the view mapping of
// the workspace is current). In new-marker mode `before` is the list as it
// was before the new marker went in. TRUE when the list changed.
BOOL dragMarker(HWND ruler, int index, int32_t start, bool newMarker,
                const std::vector<int32_t> &before)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec))
        return FALSE;
    std::vector<int32_t> m = rulMarkersOf(rec);
    const int n = (int)m.size();
    if (index < 0 || index >= n)
        return FALSE;
    std::vector<int32_t> dev;
    for (int32_t v : m)
        dev.push_back(rulLogToDevAlong(rec, v));
    RulerDragLimits limits = rulDragLimits(dev, index, newMarker);
    RulerMarkerKind kind =
        newMarker && n >= 3 ? RUL_MARKER_INNER : rulMarkerKind(index, n);
    const uint16_t orient = rec.orientation;
    HWND workspace = rulNotifyOf(rec);

    invalidateBand(ruler, orient, start);
    Track t;
    {
        DragDCs dcs(ruler, workspace, isVertical(rec));
        t = trackAlong(ruler, rec, start, &limits, [&](int32_t pos) {
            if (dcs.ruler())
                rulDrawMarkerImage(dcs.ruler(), orient, kind, pos);
            if (dcs.workspace())
                rulDrawWorkspaceLine(dcs.workspace(), orient, pos, dcs.extent());
        });
    }

    // A new marker that was not placed, or was dropped before the second
    // marker, leaves the list as it was and is not reported.
    if (newMarker && (!t.changed || (n >= 3 && t.pos < limits.min))) {
        rulStoreMarkers(ruler, before);
        invalidateBand(ruler, orient, t.pos);
        return FALSE;
    }
    if (!t.changed)
        return FALSE;
    const int32_t p = rulDevToLogAlong(rec, t.pos);
    if (kind != RUL_MARKER_INNER) {
        const int32_t lo = std::min(start, t.pos), hi = std::max(start, t.pos);
        for (int32_t d : dev)
            if (d >= lo && d <= hi)
                invalidateBand(ruler, orient, d);
    }
    rulSetMarkerAt(m, index, p, rec.spacing);
    if (!rulStoreMarkers(ruler, m))
        return FALSE;
    // Markers filled into a gap are new on the ruler: it is painted whole.
    if ((newMarker && n == 2) || (int)m.size() > n)
        InvalidateRect(ruler, nullptr, TRUE);
    else
        invalidateBand(ruler, orient, t.pos);
    post(workspace, isVertical(rec) ? RUL_CMD_VMARKERS : RUL_CMD_HMARKERS, 0);
    return TRUE;
}

// The marker under a mouse message's point that may be dragged (an end
// marker only while the ends are not fixed); -1 for none. The workspace's
// mapping is current.
int movableMarkerAt(const RulerRecord &rec, const std::vector<int32_t> &m, LPARAM lParam)
{
    POINT pt;
    winLParamToPoint(lParam, &pt);
    const RulerGeometry &g = rulGetMarkerGeometry();
    const int32_t pos = rulDevToLogAlong(rec, isVertical(rec) ? pt.y : pt.x);
    const int i = rulHitMarker(m, pos, g.endTolerance, g.innerTolerance);
    const bool end = i == 0 || i == (int)m.size() - 1;
    if (i < 0 || (end && (rec.options & RUL_ENDS_FIXED)))
        return -1;
    return i;
}

}  // namespace

BOOL rulOnLButtonDown(HWND ruler, LPARAM lParam)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec))
        return FALSE;
    std::vector<int32_t> m = rulMarkersOf(rec);
    if (m.empty())
        return FALSE;
    RulWorkspaceMapping mapping(rulNotifyOf(rec));
    const int i = movableMarkerAt(rec, m, lParam);
    if (i < 0)
        return FALSE;
    return dragMarker(ruler, i, rulLogToDevAlong(rec, m[i]), false, m);
}

void rulOnMouseMove(HWND ruler, LPARAM lParam)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec))
        return;
    LPCSTR want = IDC_ARROW;
    std::vector<int32_t> m = rulMarkersOf(rec);
    if (m.size() >= 2) {
        RulWorkspaceMapping mapping(rulNotifyOf(rec));
        if (movableMarkerAt(rec, m, lParam) >= 0)
            want = isVertical(rec) ? IDC_SIZENS : IDC_SIZEWE;
    }
    HCURSOR cursor = LoadCursorA(nullptr, want);
    if (cursor && GetCursor() != cursor)
        SetCursor(cursor);
}

void rulOnRButtonUp(HWND ruler, LPARAM lParam)
{
    winTrackMenuTable(ruler, lParam, kRulerMenu, 2);
}

BOOL rulNewMarker(HWND ruler)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec))
        return FALSE;
    RulWorkspaceMapping mapping(rulNotifyOf(rec));
    const std::vector<int32_t> before = rulMarkersOf(rec);
    const int32_t p = rulDevToLogAlong(rec, 0);
    std::vector<int32_t> m = before;
    m.push_back(p);
    rulSortMarkers(m);
    if (!rulStoreMarkers(ruler, m))
        return FALSE;
    const int index = (int)(std::lower_bound(m.begin(), m.end(), p) - m.begin());
    return dragMarker(ruler, index, 0, true, before);
}

BOOL rulNewGuide(HWND ruler)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec))
        return FALSE;
    HWND workspace = rulNotifyOf(rec);
    RulWorkspaceMapping mapping(workspace);
    const uint16_t orient = rec.orientation;
    Track t;
    {
        DragDCs dcs(ruler, workspace, isVertical(rec));
        t = trackAlong(ruler, rec, 0, nullptr, [&](int32_t pos) {
            if (dcs.ruler())
                rulDrawGuideImage(dcs.ruler(), orient, pos);
            if (dcs.workspace())
                rulDrawWorkspaceLine(dcs.workspace(), orient, pos, dcs.extent());
        });
    }
    if (!t.changed)
        return FALSE;
    const int32_t logical = rulDevToLogAlong(rec, t.pos);
    post(workspace, isVertical(rec) ? RUL_CMD_VGUIDE : RUL_CMD_HGUIDE, (LPARAM)logical);
    return TRUE;
}

void rulCornerPress(HWND corner)
{
    RECT client;
    GetClientRect(corner, &client);
    auto invert = [&] {
        if (HDC dc = GetDC(corner)) {
            InvertRect(dc, &client);
            ReleaseDC(corner, dc);
        }
    };
    invert();
    SetCapture(corner);
    // 0 nothing, a ruler's bit when the pointer left towards it, or the
    // corner's own click.
    int action = 0;
    const int kClick = 4;
    MSG msg;
    while (!action && nextMouseMessage(corner, &msg)) {
        if (msg.message == WM_LBUTTONUP) {
            POINT pt = pointIn(corner, msg);
            action = PtInRect(&client, pt) ? kClick : -1;
        } else if (msg.message == WM_MOUSEMOVE) {
            if (!(msg.wParam & MK_LBUTTON)) {
                action = -1;
                break;
            }
            POINT pt = pointIn(corner, msg);
            // Past the right edge first: leaving both ways at once is the
            // horizontal ruler's.
            if (pt.x >= client.right)
                action = RUL_HORIZONTAL;
            else if (pt.y >= client.bottom)
                action = RUL_VERTICAL;
        }
    }
    if (GetCapture() == corner)
        ReleaseCapture();
    invert();

    if (action == kClick) {
        RulerRecord rec;
        if (rulGetRecord(rulGetRuler(corner, RUL_HORIZONTAL), &rec))
            post(rulNotifyOf(rec), RUL_CMD_CORNER, 0);
        return;
    }
    if (action != RUL_HORIZONTAL && action != RUL_VERTICAL)
        return;
    const uint16_t which = (uint16_t)action;
    HWND ruler = rulGetRuler(corner, which);
    UINT command = 0;
    if (rulGetAddMarkers(corner, which))
        command = RUL_CMD_NEW_MARKER;
    else if (rulGetAddGuides(corner, which) > 0)
        command = RUL_CMD_NEW_GUIDE;
    // Sent, not posted: the ruler's drag must take the rest of this gesture,
    // which is already waiting in the queue.
    if (ruler && command)
        SendMessageA(ruler, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}
