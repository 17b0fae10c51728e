// The ruler windows and the corner button: classes, creation, the
// operations on a pair, the marker list and painting.
#include "controls/ruler_window.h"
#include "support/app_frame_globals.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_edge.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_window.h"
#include <stdio.h>
#include <algorithm>

const char rulRulerClass[] = "qm_ruler";
const char rulButtonClass[] = "qm_rulerbtn";

namespace {

// Window longs of a ruler.
const int kFontLong = 0;
const int kRecordLong = 4;
// Window extra data of the corner button: each ruler, then its add-markers
// and add-guides words.
const int kRulerLong[3] = {0, 0, 8};
const int kAddMarkersWord[3] = {0, 4, 12};
const int kAddGuidesWord[3] = {0, 6, 14};

const COLORREF kNavy = RGB(0, 0, 128);
const COLORREF kOlive = RGB(128, 128, 0);
const COLORREF kRed = RGB(255, 0, 0);

bool isCorner(HWND corner)
{
    return corner && IsWindow(corner) && winIsWindowOfClass(corner, rulButtonClass, nullptr);
}

bool validWhich(uint16_t which) { return which == RUL_HORIZONTAL || which == RUL_VERTICAL; }

// Changes a ruler's record under its lock; false for a window without one.
template <typename F>
bool editRecord(HWND ruler, F change)
{
    MemLock<RulerRecord> r(rulRecordOf(ruler));
    if (!r)
        return false;
    change(*r.get());
    return true;
}

// Both rulers of the chosen bits.
template <typename F>
int forRulers(HWND corner, uint16_t bits, F f)
{
    if (!isCorner(corner))
        return 0;
    for (uint16_t which : {RUL_HORIZONTAL, RUL_VERTICAL})
        if (bits & which)
            if (HWND ruler = rulGetRuler(corner, which))
                f(ruler, which);
    return 1;
}

// Moves a ruler's tracking mark: the old one is drawn away, the new one
// drawn.
void moveMark(HWND ruler, int32_t pos)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec) || rec.track == pos)
        return;
    editRecord(ruler, [&](RulerRecord &r) { r.track = pos; });
    HDC dc = GetDC(ruler);
    if (!dc)
        return;
    if (rec.track != RUL_NO_MARK)
        rulDrawTrackMark(dc, rec.orientation, rec.track);
    if (pos != RUL_NO_MARK)
        rulDrawTrackMark(dc, rec.orientation, pos);
    ReleaseDC(ruler, dc);
}

// Forgets a ruler's mark; a mark on show goes with the next paint.
void clearMark(HWND ruler)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec) || rec.track == RUL_NO_MARK)
        return;
    editRecord(ruler, [](RulerRecord &r) { r.track = RUL_NO_MARK; });
    InvalidateRect(ruler, nullptr, TRUE);
}

void placeRuler(HWND ruler, uint16_t which, const RECT &r)
{
    const int w = std::max<int>(r.right - r.left - RUL_SIZE, 0);
    const int h = std::max<int>(r.bottom - r.top - RUL_SIZE, 0);
    if (which == RUL_HORIZONTAL)
        MoveWindow(ruler, r.left + RUL_SIZE, r.top, w, RUL_SIZE, TRUE);
    else
        MoveWindow(ruler, r.left, r.top + RUL_SIZE, RUL_SIZE, h, TRUE);
}

// A line between two points given along and across the ruler.
void lineAlong(HDC dc, bool vertical, int32_t along1, int32_t across1, int32_t along2,
               int32_t across2)
{
    if (vertical) {
        MoveToEx(dc, across1, along1, nullptr);
        LineTo(dc, across2, along2);
    } else {
        MoveToEx(dc, along1, across1, nullptr);
        LineTo(dc, along2, across2);
    }
}

void drawRuns(HDC dc, bool vertical, const std::vector<RulerRun> &runs)
{
    for (const RulerRun &run : runs)
        lineAlong(dc, vertical, run.from, run.across, run.to + 1, run.across);
}

// Draws with a 1-pixel pen of the colour under not-XOR.
template <typename F>
void xorDraw(HDC dc, COLORREF colour, int style, F draw)
{
    GdiObject<HPEN> pen(CreatePen(style, 0, colour));
    GdiSelect sel(dc, pen);
    int oldRop = SetROP2(dc, R2_NOTXORPEN);
    int oldBk = SetBkMode(dc, TRANSPARENT);
    draw();
    SetBkMode(dc, oldBk);
    SetROP2(dc, oldRop);
}

void paintRuler(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (dc)
        rulPaint(hwnd, dc);
    EndPaint(hwnd, &ps);
}

void postTo(HWND target, UINT id, LPARAM lParam)
{
    if (target && IsWindow(target))
        PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, 0), lParam);
}

}  // namespace

// ---- shared with the mouse handling ---------------------------------------------------------

MemHandle rulRecordOf(HWND ruler)
{
    if (!ruler || !IsWindow(ruler) || !winIsWindowOfClass(ruler, rulRulerClass, nullptr))
        return 0;
    return (MemHandle)(uint32_t)GetWindowLongA(ruler, kRecordLong);
}

HWND rulNotifyOf(const RulerRecord &rec)
{
    HWND w = qmU32ToHandle<HWND>(rec.notify);
    return w && IsWindow(w) ? w : nullptr;
}

int32_t rulSubdivisionsOf(const RulerRecord &rec) { return rec.subdivisions ? rec.subdivisions : 4; }

std::vector<int32_t> rulMarkersOf(const RulerRecord &rec)
{
    std::vector<int32_t> out;
    if (!rec.markers || rec.markerCount <= 0)
        return out;
    const uint32_t room = utHandleSize(rec.markers) / sizeof(int32_t);
    const uint32_t n = std::min<uint32_t>((uint32_t)rec.markerCount, room);
    MemLock<int32_t> m(rec.markers);
    if (m)
        out.assign(m.get(), m.get() + n);
    return out;
}

BOOL rulStoreMarkers(HWND ruler, const std::vector<int32_t> &markers)
{
    MemHandle h = 0;
    if (!markers.empty()) {
        h = utHandleFromBytes(markers.data(), (uint32_t)(markers.size() * sizeof(int32_t)));
        if (!h)
            return FALSE;
    }
    MemHandle old = 0;
    if (!editRecord(ruler, [&](RulerRecord &r) {
            old = r.markers;
            r.markers = h;
            r.markerCount = (int32_t)markers.size();
        })) {
        utFreeHandle(h);
        return FALSE;
    }
    utFreeHandle(old);
    return TRUE;
}

int32_t rulSnapAlong(const RulerRecord &rec, int32_t pos)
{
    if (!rec.snap)
        return pos;
    POINT pt = {pos, pos};
    dmSnapDevPoints(&pt, 1, (int16_t)std::min<int32_t>(rulSubdivisionsOf(rec), INT16_MAX));
    return rec.orientation == RUL_VERTICAL ? pt.y : pt.x;
}

int32_t rulDevToLogAlong(const RulerRecord &rec, int32_t pos)
{
    return rec.orientation == RUL_VERTICAL ? dmDevToLogY(pos) : dmDevToLogX(pos);
}

int32_t rulLogToDevAlong(const RulerRecord &rec, int32_t pos)
{
    return rec.orientation == RUL_VERTICAL ? dmLogToDevY(pos) : dmLogToDevX(pos);
}

RulWorkspaceMapping::RulWorkspaceMapping(HWND workspace) : pushed_(dmPushState())
{
    // Without a saved mapping to go back to, the current one stays.
    if (pushed_)
        dmApplyViewMapping(workspace);
}

RulWorkspaceMapping::~RulWorkspaceMapping()
{
    if (pushed_)
        dmPopState();
}

// ---- window procedures ----------------------------------------------------------------------

LRESULT CALLBACK RulerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        MemHandle rec = utAllocHandle(0, sizeof(RulerRecord));
        if (!rec)
            return -1;
        {
            MemLock<RulerRecord> r(rec);
            r->track = RUL_NO_MARK;
            r->orientation = RUL_HORIZONTAL;
        }
        SetWindowLongA(hwnd, kRecordLong, (LONG)rec);
        return 0;
    }
    case WM_DESTROY: {
        MemHandle rec = rulRecordOf(hwnd);
        if (rec) {
            RulerRecord r;
            rulGetRecord(hwnd, &r);
            utFreeHandle(r.markers);
            utFreeHandle(rec);
            SetWindowLongA(hwnd, kRecordLong, 0);
        }
        return 0;
    }
    case WM_PAINT:
        paintRuler(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        rulOnMouseMove(hwnd, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        rulOnLButtonDown(hwnd, lParam);
        return 0;
    case WM_RBUTTONUP:
        rulOnRButtonUp(hwnd, lParam);
        return 0;
    case WM_COMMAND: {
        RulerRecord rec;
        if (!rulGetRecord(hwnd, &rec))
            return 0;
        switch (LOWORD(wParam)) {
        case RUL_CMD_NEW_MARKER:
            rulNewMarker(hwnd);
            break;
        case RUL_CMD_NEW_GUIDE:
            rulNewGuide(hwnd);
            break;
        case RUL_CMD_PROPERTY:
            postTo(appGetFrameWindow(), RUL_CMD_PROPERTY, 0);
            break;
        case RUL_CMD_REMOVE:
            postTo(rulNotifyOf(rec), RUL_CMD_REMOVE, 0);
            break;
        }
        return 0;
    }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// The vertical ruler: its record's orientation turns every shared handler
// across y; the rest is the ruler's own procedure.
LRESULT CALLBACK VRulerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(RulerWndProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK RulerBtnWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            rulPaintCorner(hwnd, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        rulCornerPress(hwnd);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// ---- operations -----------------------------------------------------------------------------

BOOL rulRegisterClasses(HINSTANCE instance)
{
    HBRUSH face = (HBRUSH)(COLOR_BTNFACE + 1);
    // Both classes are needed for a pair: a failure of either is reported.
    BOOL ruler = winRegisterClassOnce(instance, rulRulerClass, RulerWndProc, 0, 8, face);
    BOOL button = winRegisterClassOnce(instance, rulButtonClass, RulerBtnWndProc, 0, 16, face);
    return ruler && button;
}

HWND rulCreateRulers(HWND parent, const RECT *rect, HFONT font, BOOL snap, int32_t subdivisions,
                     BOOL addGuides)
{
    HINSTANCE inst = parent ? winGetInstance(parent) : GetModuleHandleA(nullptr);
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    const int w = std::max<int>(r.right - r.left - RUL_SIZE, 0);
    const int h = std::max<int>(r.bottom - r.top - RUL_SIZE, 0);
    HWND corner = CreateWindowA(rulButtonClass, "", WS_CHILD | WS_CLIPSIBLINGS, r.left, r.top,
                                RUL_SIZE, RUL_SIZE, parent, (HMENU)(UINT_PTR)RUL_CORNER_ID, inst,
                                nullptr);
    HWND hr = CreateWindowA(rulRulerClass, "", WS_CHILD, r.left + RUL_SIZE, r.top, w, RUL_SIZE,
                            parent, nullptr, inst, nullptr);
    HWND vr = CreateWindowA(rulRulerClass, "", WS_CHILD, r.left, r.top + RUL_SIZE, RUL_SIZE, h,
                            parent, nullptr, inst, nullptr);
    if (!corner || !hr || !vr) {
        // A pair is of no use without all three windows: none is left behind.
        for (HWND made : {corner, hr, vr})
            if (made)
                DestroyWindow(made);
        utShowBox(parent, "Can not create ruler windows", "Error", MB_OK | MB_ICONSTOP);
        return nullptr;
    }
    SetWindowLongPtrA(vr, GWLP_WNDPROC, (LONG_PTR)VRulerWndProc);
    editRecord(hr, [](RulerRecord &rec) { rec.orientation = RUL_HORIZONTAL; });
    editRecord(vr, [](RulerRecord &rec) { rec.orientation = RUL_VERTICAL; });
    for (HWND ruler : {hr, vr})
        SetWindowLongA(ruler, kFontLong, (LONG)qmHandleToU32(font));
    SetWindowLongA(corner, kRulerLong[RUL_HORIZONTAL], (LONG)qmHandleToU32(hr));
    SetWindowLongA(corner, kRulerLong[RUL_VERTICAL], (LONG)qmHandleToU32(vr));
    for (uint16_t which : {RUL_HORIZONTAL, RUL_VERTICAL}) {
        SetWindowWord(corner, kAddMarkersWord[which], 0);
        SetWindowWord(corner, kAddGuidesWord[which], addGuides ? 1 : 0);
    }
    rulSetSnap(corner, snap, subdivisions);
    rulSetMarkerGeometry();
    return corner;
}

HWND rulGetRuler(HWND corner, uint16_t which)
{
    if (!validWhich(which) || !isCorner(corner))
        return nullptr;
    HWND ruler = qmU32ToHandle<HWND>((uint32_t)GetWindowLongA(corner, kRulerLong[which]));
    return rulRecordOf(ruler) ? ruler : nullptr;
}

BOOL rulGetRecord(HWND ruler, RulerRecord *out)
{
    MemLock<RulerRecord> r(rulRecordOf(ruler));
    if (!r || !out)
        return FALSE;
    *out = *r.get();
    return TRUE;
}

int16_t rulGetAddMarkers(HWND corner, uint16_t which)
{
    if (!validWhich(which) || !isCorner(corner))
        return 0;
    return (int16_t)GetWindowWord(corner, kAddMarkersWord[which]);
}

int16_t rulGetAddGuides(HWND corner, uint16_t which)
{
    if (!validWhich(which) || !isCorner(corner))
        return 0;
    return (int16_t)GetWindowWord(corner, kAddGuidesWord[which]);
}

int rulSetNotifyWindow(HWND corner, HWND notify)
{
    return forRulers(corner, RUL_BOTH, [&](HWND ruler, uint16_t) {
        editRecord(ruler, [&](RulerRecord &r) { r.notify = qmHandleToU32(notify); });
    });
}

int rulSetSnap(HWND corner, BOOL snap, int32_t subdivisions)
{
    return forRulers(corner, RUL_BOTH, [&](HWND ruler, uint16_t) {
        editRecord(ruler, [&](RulerRecord &r) {
            r.snap = subdivisions && snap ? 1 : 0;
            r.subdivisions = subdivisions ? subdivisions : RUL_DEFAULT_SUBDIVISIONS;
        });
        winInvalidate(ruler);
    });
}

int rulShow(HWND corner, const RECT *rect, BOOL show)
{
    if (!isCorner(corner))
        return 0;
    forRulers(corner, RUL_BOTH, [](HWND ruler, uint16_t) { clearMark(ruler); });
    if (rect)
        rulMove(corner, rect, RUL_BOTH);
    HWND windows[3] = {corner, rulGetRuler(corner, RUL_HORIZONTAL),
                       rulGetRuler(corner, RUL_VERTICAL)};
    for (HWND w : windows)
        if (w) {
            ShowWindow(w, show ? SW_SHOW : SW_HIDE);
            UpdateWindow(w);
        }
    return 1;
}

int rulMove(HWND corner, const RECT *rect, uint16_t bits)
{
    if (!rect || !isCorner(corner))
        return 0;
    forRulers(corner, bits, [&](HWND ruler, uint16_t which) {
        moveMark(ruler, RUL_MARK_AWAY);
        placeRuler(ruler, which, *rect);
    });
    MoveWindow(corner, rect->left, rect->top, RUL_SIZE, RUL_SIZE, TRUE);
    return 1;
}

int rulInvalidate(HWND corner, uint16_t bits)
{
    return forRulers(corner, bits, [](HWND ruler, uint16_t) { winInvalidate(ruler); });
}

int rulUpdate(HWND corner, uint16_t bits)
{
    return forRulers(corner, bits, [](HWND ruler, uint16_t) { winRedrawNow(ruler); });
}

int rulInvalidateAll(HWND corner) { return rulInvalidate(corner, RUL_BOTH); }

int rulTrack(HWND corner, LPARAM packedPoint)
{
    POINT pt;
    winLParamToPoint(packedPoint, &pt);
    return forRulers(corner, RUL_BOTH, [&](HWND ruler, uint16_t which) {
        RulerRecord rec;
        if (!rulGetRecord(ruler, &rec))
            return;
        int32_t pos = which == RUL_VERTICAL ? pt.y : pt.x;
        if (rec.snap) {
            RulWorkspaceMapping mapping(rulNotifyOf(rec));
            pos = rulSnapAlong(rec, pos);
        }
        moveMark(ruler, pos);
    });
}

int rulSetMarkers(HWND corner, uint16_t which, MemHandle list, int32_t count, int32_t spacing)
{
    HWND ruler = rulGetRuler(corner, which);
    if (!ruler)
        return 0;
    // The count is the caller's word; the list never reads past its block.
    const uint32_t room = list ? utHandleSize(list) / sizeof(int32_t) : 0;
    if (count < 0)
        count = 0;
    if ((uint32_t)count > room)
        count = (int32_t)room;
    MemHandle old = 0;
    editRecord(ruler, [&](RulerRecord &r) {
        old = r.markers;
        r.markers = list;
        r.markerCount = count;
        r.spacing = spacing;
    });
    // A list handed back again is the ruler's own: it stays alive.
    if (old != list)
        utFreeHandle(old);
    winInvalidate(ruler);
    return 1;
}

int rulGetMarkers(HWND corner, uint16_t which, MemHandle *list, int32_t *count)
{
    RulerRecord rec;
    if (!rulGetRecord(rulGetRuler(corner, which), &rec))
        return 0;
    if (list)
        *list = rec.markers;
    if (count)
        *count = rec.markerCount;
    return 1;
}

int rulClearMarkers(HWND corner, uint16_t which)
{
    HWND ruler = rulGetRuler(corner, which);
    if (!ruler)
        return 0;
    MemHandle old = 0;
    editRecord(ruler, [&](RulerRecord &r) {
        old = r.markers;
        r.markers = 0;
        r.markerCount = 0;
    });
    utFreeHandle(old);
    winInvalidate(ruler);
    return 1;
}

int rulSetAddMarkers(HWND corner, uint16_t which, BOOL flag)
{
    if (!validWhich(which) || !isCorner(corner))
        return 0;
    WORD value = flag ? 1 : 0;
    if (GetWindowWord(corner, kAddMarkersWord[which]) != value) {
        SetWindowWord(corner, kAddMarkersWord[which], value);
        winInvalidate(corner);
    }
    return 1;
}

int rulSetEndsFixed(HWND corner, uint16_t which, BOOL movable)
{
    HWND ruler = rulGetRuler(corner, which);
    if (!ruler)
        return 0;
    editRecord(ruler, [&](RulerRecord &r) {
        if (movable)
            r.options &= (uint16_t)~RUL_ENDS_FIXED;
        else
            r.options |= RUL_ENDS_FIXED;
    });
    winInvalidate(ruler);
    return 1;
}

// ---- painting -------------------------------------------------------------------------------

void rulDrawRuler(HDC dc, const RulerView &v)
{
    const bool vertical = v.orientation == RUL_VERTICAL;
    const int32_t length = vertical ? v.client.bottom - v.client.top : v.client.right - v.client.left;
    const int32_t depth = vertical ? v.client.right - v.client.left : v.client.bottom - v.client.top;
    const int saved = SaveDC(dc);
    gdiFillSolid(dc, v.client, GetSysColor(COLOR_BTNFACE));
    if (v.font)
        SelectObject(dc, v.font);
    SetTextAlign(dc, vertical ? TA_BOTTOM | TA_LEFT : TA_RIGHT | TA_TOP);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    SetROP2(dc, R2_COPYPEN);
    GdiObject<HPEN> shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    GdiObject<HPEN> light(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT)));

    // Unit k lies at k * P in drawing coordinates.
    const int32_t s = v.scroll;
    const int32_t e = (int32_t)std::min<int64_t>((int64_t)s + length, INT32_MAX);
    POINT oldOrigin;
    OffsetViewportOrgEx(dc, vertical ? 0 : -s, vertical ? -s : 0, &oldOrigin);
    std::vector<RulerLine> lines;
    std::vector<RulerLabel> labels;
    rulLayoutTicks(v.orientation, v.unitPixels, v.subdivisions, s, length, &lines, &labels);

    SelectObject(dc, shadow);
    lineAlong(dc, vertical, s, 0, s, 15);
    lineAlong(dc, vertical, s, 15, e, 15);
    for (const RulerLine &l : lines)
        if (!l.highlight)
            lineAlong(dc, vertical, l.along, l.from, l.along, l.to);

    SelectObject(dc, light);
    for (const RulerLine &l : lines)
        if (l.highlight)
            lineAlong(dc, vertical, l.along, l.from, l.along, l.to);
    for (const RulerLabel &label : labels) {
        char text[16];
        int n = snprintf(text, sizeof(text), vertical ? "%2d" : "%d", (int)label.unit);
        if (vertical)
            TextOutA(dc, 0, label.along, text, n);
        else
            TextOutA(dc, label.along, 1, text, n);
    }

    // The border: light along the outer edge, shadow along the inner one.
    lineAlong(dc, vertical, s + 1, depth - 2, s + 1, 0);
    lineAlong(dc, vertical, s + 1, 0, e, 0);
    SelectObject(dc, shadow);
    lineAlong(dc, vertical, s + 2, depth - 2, e, depth - 2);
    SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);

    // The markers, then the tracking mark.
    const int n = (int)v.markers.size();
    for (int i = 0; i < n; ++i) {
        RulerMarkerKind kind = rulMarkerKind(i, n);
        COLORREF colour = kind != RUL_MARKER_INNER && v.endsFixed ? kOlive : kNavy;
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, colour));
        GdiSelect sel(dc, pen);
        drawRuns(dc, vertical, rulMarkerRuns(kind, v.markers[i]));
    }
    if (v.track != RUL_NO_MARK)
        rulDrawTrackMark(dc, v.orientation, v.track);
    RestoreDC(dc, saved);
}

void rulPaint(HWND ruler, HDC dc)
{
    RulerRecord rec;
    if (!rulGetRecord(ruler, &rec))
        return;
    RulerView v;
    v.orientation = rec.orientation;
    GetClientRect(ruler, &v.client);
    v.font = qmU32ToHandle<HFONT>((uint32_t)GetWindowLongA(ruler, kFontLong));
    v.subdivisions = rulSubdivisionsOf(rec);
    v.endsFixed = (rec.options & RUL_ENDS_FIXED) != 0;
    v.track = rec.track;
    {
        RulWorkspaceMapping mapping(rulNotifyOf(rec));
        int32_t sx, sy;
        dmGetScrollPos(&sx, &sy);
        const bool vertical = rec.orientation == RUL_VERTICAL;
        v.unitPixels = vertical ? dmGetUnitPixelsY() : dmGetUnitPixelsX();
        v.scroll = vertical ? sy : sx;
        for (int32_t m : rulMarkersOf(rec))
            v.markers.push_back(rulLogToDevAlong(rec, m));
    }
    rulDrawRuler(dc, v);
}

void rulPaintCorner(HWND corner, HDC dc)
{
    RECT client;
    GetClientRect(corner, &client);
    gdiFillSolid(dc, client, GetSysColor(COLOR_BTNFACE));
    const char *name = rulGetAddMarkers(corner, RUL_HORIZONTAL) ? "rulbtn2" : "rulbtn";
    gdiDrawResBitmapMapped(corner, dc, name, 0, 0, client.right, client.bottom, GDI_ALIGN_CENTRE,
                           SRCCOPY);
}

void rulDrawTrackMark(HDC dc, uint16_t orientation, int32_t pos)
{
    xorDraw(dc, kRed, PS_SOLID, [&] {
        if (orientation == RUL_VERTICAL)
            lineAlong(dc, true, pos, 2, pos, 14);
        else
            lineAlong(dc, false, pos, 1, pos, 14);
    });
}

void rulDrawMarkerImage(HDC dc, uint16_t orientation, RulerMarkerKind kind, int32_t pos)
{
    xorDraw(dc, kNavy, PS_SOLID,
            [&] { drawRuns(dc, orientation == RUL_VERTICAL, rulMarkerRuns(kind, pos)); });
}

void rulDrawGuideImage(HDC dc, uint16_t orientation, int32_t pos)
{
    xorDraw(dc, kNavy, PS_SOLID,
            [&] { lineAlong(dc, orientation == RUL_VERTICAL, pos, 0, pos, 14); });
}

void rulDrawWorkspaceLine(HDC dc, uint16_t orientation, int32_t pos, int32_t extent)
{
    xorDraw(dc, kNavy, PS_DOT,
            [&] { lineAlong(dc, orientation == RUL_VERTICAL, pos, 0, pos, extent); });
}
