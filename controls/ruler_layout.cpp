// Ruler arithmetic without a window: which ticks a unit shows and where,
// the marker list rules, marker hit tests, drag limits and marker shapes.
#include "controls/ruler.h"
#include "support/dm_map.h"
#include <algorithm>
#include <stdlib.h>

namespace {

const RulerGeometry kStartGeometry = {14, 3, 5, 40, 75};
RulerGeometry g_geometry = kStartGeometry;

int64_t floorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int32_t clamp32(int64_t v)
{
    return (int32_t)std::min<int64_t>(std::max<int64_t>(v, INT32_MIN), INT32_MAX);
}

}  // namespace

// ---- ticks -------------------------------------------------------------------------------

RulerTickPlan rulTickPlan(int32_t p, int32_t n)
{
    RulerTickPlan plan = {false, false, false};
    if (n <= 0)
        return plan;
    plan.quarters = n % 4 == 0 && p / 4 > 3;
    plan.subdivisions = p / n > 3;
    plan.half = n % 2 == 0;
    return plan;
}

int32_t rulFirstUnit(int32_t scroll, int32_t p)
{
    if (p < 1)
        return 0;
    return clamp32(floorDiv(scroll, p));
}

void rulLayoutTicks(uint16_t orientation, int32_t p, int32_t n, int32_t scroll, int32_t length,
                    std::vector<RulerLine> *lines, std::vector<RulerLabel> *labels)
{
    // A whole number of pixels per unit below one would never advance the
    // loops below: such a ruler shows no ticks.
    if (p < 1)
        return;
    const RulerTickPlan plan = rulTickPlan(p, n);
    const int64_t end = (int64_t)scroll + std::max(length, 0);
    const int64_t k0 = rulFirstUnit(scroll, p);
    auto line = [&](int64_t along, int32_t from, int32_t to, bool highlight) {
        if (lines)
            lines->push_back({clamp32(along), from, to, highlight});
    };

    // Shadow pen: the ticks inside each unit, then the unit tick at its end.
    for (int64_t x = k0 * p; x < end; ) {
        if (plan.quarters)
            for (int i = 1; i <= 3; ++i)
                line(x + (int64_t)i * p / 4, 10, 16, false);
        if (plan.subdivisions)
            for (int32_t i = 1; i < n; ++i)
                line(x + (int64_t)i * p / n, 12, 16, false);
        if (plan.half)
            line(x + p / 2, 7, 16, false);
        x += p;
        line(x, 6, 15, false);
    }

    // Highlight pen: the light edge of each unit tick and the unit's number
    // just before it.
    const int32_t lightEnd = orientation == RUL_VERTICAL ? 13 : 15;
    int64_t x = k0 * p;
    int64_t k = k0;
    do {
        x += p;
        ++k;
        line(x - 1, 6, lightEnd, true);
        if (labels)
            labels->push_back({clamp32(orientation == RUL_VERTICAL ? x : x - 1), clamp32(k)});
    } while (x < end);
}

// ---- markers -------------------------------------------------------------------------------

void rulSetMarkerGeometry()
{
    g_geometry.bandDepth = 14;
    g_geometry.innerHalfWidth = 3;
    g_geometry.endDepth = 14 / 2 - 2;
    g_geometry.innerTolerance = dmPointsToTwips(2);
    g_geometry.endTolerance = dmDevToLogW(5);
}

const RulerGeometry &rulGetMarkerGeometry() { return g_geometry; }

void rulResetModule() { g_geometry = kStartGeometry; }

int rulHitMarker(const std::vector<int32_t> &m, int32_t pos, int32_t endTol, int32_t innerTol)
{
    const int n = (int)m.size();
    if (n < 2)
        return -1;
    const int64_t p = pos;
    if (p >= m[0] && p <= (int64_t)m[0] + endTol)
        return 0;
    if (p >= (int64_t)m[n - 1] - endTol && p <= m[n - 1])
        return n - 1;
    for (int i = 1; i < n - 1; ++i)
        if (p >= (int64_t)m[i] - innerTol && p <= (int64_t)m[i] + innerTol)
            return i;
    return -1;
}

void rulSortMarkers(std::vector<int32_t> &m)
{
    std::sort(m.begin(), m.end());
    m.erase(std::unique(m.begin(), m.end()), m.end());
}

void rulFillGap(std::vector<int32_t> &m, int32_t d)
{
    const size_t n = m.size();
    if (d <= 0 || n < 2)
        return;
    const int64_t first = m[0], before = m[n - 2], last = m[n - 1];
    if (last - before <= d)
        return;
    // The grid runs from the first marker; only its points inside the gap
    // are wanted, so the walk starts at the first one past the marker
    // before the last.
    std::vector<int32_t> fill;
    int64_t k = before >= first ? floorDiv(before - first, d) + 1 : 1;
    for (int64_t q = first + k * d; q < last; q += d)
        if (q > before)
            fill.push_back((int32_t)q);
    m.insert(m.end() - 1, fill.begin(), fill.end());
}

void rulSetMarkerAt(std::vector<int32_t> &m, int index, int32_t p, int32_t spacing)
{
    const int n = (int)m.size();
    if (index < 0 || index >= n)
        return;
    if (n < 3 || index != n - 1) {
        m[index] = p;
        rulSortMarkers(m);
        return;
    }
    const int32_t old = m[n - 1];
    if (p < old) {
        size_t j = 0;
        while (j < m.size() && m[j] < p)
            ++j;
        m[j] = p;
        m.resize(j + 1);
    } else if (p > old) {
        m[n - 1] = p;
        rulFillGap(m, spacing);
    }
    rulSortMarkers(m);
}

RulerDragLimits rulDragLimits(const std::vector<int32_t> &dev, int index, bool newMarker)
{
    RulerDragLimits l = {false, false, false, 0, 0};
    const int n = (int)dev.size();
    if (n < 2)
        return l;
    l.max = dev[n - 1];
    l.hasMax = index != n - 1 && !(newMarker && n == 2);
    if (!newMarker) {
        l.min = dev[0];
        l.hasMin = index != 0;
    } else if (n >= 3) {
        l.min = dev[1];
        l.minPending = true;
    }
    return l;
}

int32_t rulClampDrag(RulerDragLimits *l, int32_t pos)
{
    if (l->minPending && pos >= l->min) {
        l->minPending = false;
        l->hasMin = true;
    }
    if (l->hasMin && pos < l->min)
        pos = l->min;
    if (l->hasMax && pos > l->max)
        pos = l->max;
    return pos;
}

RulerMarkerKind rulMarkerKind(int index, int count)
{
    if (index <= 0)
        return RUL_MARKER_FIRST;
    return index == count - 1 ? RUL_MARKER_LAST : RUL_MARKER_INNER;
}

std::vector<RulerRun> rulMarkerRuns(RulerMarkerKind kind, int32_t pos)
{
    std::vector<RulerRun> runs;
    if (kind == RUL_MARKER_INNER) {
        // A diamond centred 8 pixels from the outer edge.
        for (int32_t a = 5; a <= 11; ++a) {
            int32_t half = 3 - abs(a - 8);
            runs.push_back({a, pos - half, pos + half});
        }
        return runs;
    }
    // A triangle with its flat side on the position, deepest at 7.
    for (int32_t a = 2; a <= 12; ++a) {
        int32_t depth = 5 - abs(a - 7);
        if (kind == RUL_MARKER_FIRST)
            runs.push_back({a, pos, pos + depth});
        else
            runs.push_back({a, pos - depth, pos});
    }
    return runs;
}

RECT rulMarkerBand(uint16_t orientation, int32_t pos)
{
    const int32_t reach = std::max(g_geometry.innerHalfWidth, g_geometry.endDepth) + 1;
    RECT r;
    if (orientation == RUL_VERTICAL)
        SetRect(&r, 0, pos - reach, g_geometry.bandDepth, pos + reach + 1);
    else
        SetRect(&r, pos - reach, 0, pos + reach + 1, g_geometry.bandDepth);
    return r;
}
