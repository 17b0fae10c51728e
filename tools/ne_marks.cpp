// Node marks and the drag outlines of node editing.
#include "tools/ne_marks.h"
#include "tools/ne_state.h"
#include "tools/ep_factory.h"
#include "model/ob_dispatch.h"
#include "support/dm_map.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/qmwin.h"
#include "support/ut_mem.h"
#include "views/ws_record.h"
#include <algorithm>
#include <set>
#include <vector>

namespace {

// One-pixel black pen under R2_NOTXORPEN: every line drawn twice is gone.
class XorPen {
public:
    explicit XorPen(HDC dc, COLORREF colour = 0) : dc_(dc)
    {
        pen_ = CreatePen(PS_SOLID, 0, colour);
        old_ = SelectObject(dc, pen_);
        rop_ = SetROP2(dc, R2_NOTXORPEN);
    }
    ~XorPen()
    {
        SetROP2(dc_, rop_);
        SelectObject(dc_, old_);
        DeleteObject(pen_);
    }
    XorPen(const XorPen &) = delete;
    XorPen &operator=(const XorPen &) = delete;

private:
    HDC dc_;
    HPEN pen_;
    HGDIOBJ old_;
    int rop_;
};

void line(HDC dc, POINT a, POINT b)
{
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
}

// The points from..to as one run of lines.
void run(HDC dc, const POINT *p, int from, int to)
{
    if (to > from)
        Polyline(dc, p + from, to - from + 1);
}

}  // namespace

void neDrawSelectedMarks(HWND, HDC dc)
{
    const NodeEditState *s = neGetState();
    if (!dc || !s->selCount)
        return;
    std::vector<POINT> p = neWorkingPoints();
    std::vector<POINT> chosen;
    {
        MemLock<int16_t> sel(s->selection);
        for (int k = 0; sel && k < s->selCount; ++k)
            if (sel[k] >= 0 && sel[k] < (int)p.size())
                chosen.push_back(p[sel[k]]);
    }
    epDrawPointMarks(dc, chosen.data(), (int)chosen.size(), kNeSelectedColour, 1, R2_NOTXORPEN);
    if (s->boxValid && !s->dragging)
        dmDrawXorOutline(dc, &s->box);
    if (s->skewShown) {
        POINT c[4];
        for (int i = 0; i < 4; ++i)
            geoRectCentre(&s->skew[i], &c[i]);
        epDrawPointMarks(dc, c, 4, RGB(255, 0, 0), 1, R2_NOTXORPEN);
    }
}

void neDrawAllMarks(HWND ws, HDC dc, MemHandle)
{
    if (!dc)
        return;
    std::vector<POINT> p = neWorkingPoints();
    epDrawPointMarks(dc, p.data(), (int)p.size(), kNeMarkColour, 0, R2_COPYPEN);
    neDrawSelectedMarks(ws, dc);
}

void neDrawBezierMarks(HWND ws, HDC dc, MemHandle)
{
    if (!dc)
        return;
    std::vector<POINT> p = neWorkingPoints();
    const int n = (int)p.size();
    HPEN pen = CreatePen(PS_SOLID, 0, kNeMarkColour);
    {
        GdiSelect sel(dc, pen);
        for (int i = 0; i + 3 < n; i += 3) {
            line(dc, p[i], p[i + 1]);
            line(dc, p[i + 2], p[i + 3]);
        }
    }
    DeleteObject(pen);
    std::vector<POINT> anchors, controls;
    for (int i = 0; i < n; ++i)
        (i % 3 == 0 ? anchors : controls).push_back(p[i]);
    epDrawPointMarks(dc, anchors.data(), (int)anchors.size(), kNeMarkColour, 0, R2_COPYPEN);
    epDrawPointMarks(dc, controls.data(), (int)controls.size(), kNeControlColour, 1,
                     R2_COPYPEN);
    neDrawSelectedMarks(ws, dc);
}

void neInvalidateMarks(HWND ws)
{
    const NodeEditState *s = neGetState();
    std::vector<POINT> p = neWorkingPoints();
    if (!ws || p.empty())
        return;
    wsApplyViewMapping(ws);
    RECT r;
    geoPointsBounds(p.data(), (int16_t)p.size(), &r);
    dmInflateByHandle(&r);
    if (s->skewShown)
        for (const RECT &k : s->skew)
            UnionRect(&r, &r, &k);
    dmInvalidateLogRect(ws, &r, FALSE);
}

void neDrawPolyOutline(HDC dc, const POINT *p, int count, const int16_t *indexes, int n,
                       int16_t type)
{
    if (!dc || !p || !indexes || n < 1 || count < 2)
        return;
    const int last = count - 1;
    const int first = std::max(0, std::min<int>(indexes[0], last));
    const int end = std::max(0, std::min<int>(indexes[n - 1], last));
    const int from = std::max(0, first - 1), to = std::min(last, end + 1);
    XorPen pen(dc);
    const bool polygon = type == OBT_POLYGON;
    if (polygon && to <= from) {
        // The range wraps round the closing segment.
        run(dc, p, from, last);
        line(dc, p[last], p[0]);
        run(dc, p, 0, to);
        return;
    }
    run(dc, p, from, to);
    if (polygon && count > 2 && (first == 0 || to == last))
        line(dc, p[last], p[0]);
}

void neDrawBezierOutline(HDC dc, const POINT *p, int count, const int16_t *indexes, int n,
                         int16_t type)
{
    if (!dc || !p || !indexes || n < 1 || count < 4)
        return;
    const int last = count - 1 - (count - 1) % 3;   // the last anchor
    int lo = last, hi = 0;
    for (int k = 0; k < n; ++k) {
        const int i = std::max(0, std::min<int>(indexes[k], last));
        lo = std::min(lo, i);
        hi = std::max(hi, i);
    }
    int from = lo / 3 * 3;
    if (lo % 3 == 0 && lo != 0)
        from -= 3;
    int to = (hi + 2) / 3 * 3;
    if (hi % 3 == 0 && hi < last)
        to += 3;
    to = std::min(to, last);
    std::set<int> segments;
    for (int s = from; s < to; s += 3)
        segments.insert(s);
    if (type == OBT_CLOSED_CURVE) {
        if (lo == 0)
            segments.insert(last - 3);
        if (hi == last)
            segments.insert(0);
    }
    XorPen pen(dc);
    for (int s : segments)
        if (s >= 0 && s + 3 <= last)
            gdiPolyBezier(dc, p + s, 4);
}
