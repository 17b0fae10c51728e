// Node-edit state: the working points of the edited object, the point
// selection, the commit and point writer, and the Line-Draw settings.
#include "tools/ne_state.h"
#include "tools/ne_marks.h"
#include "tools/ep_factory.h"
#include "tools/ep_selection.h"
#include "commands/ud_undo.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "objects/sh_box.h"
#include "objects/sh_curve.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/settings_reg.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "views/ws_record.h"
#include <algorithm>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

const UINT kIdsObjectDataError = 5270;   // "Error in object data"

struct NodeEditSettings {
    uint32_t size = 46;
    uint16_t flags = NE_FLAG_OBJECT_PEN;
    uint16_t minSpacing = 3;
    uint16_t curveResolution = 6;
    uint16_t closeSpacing = 5;
};
NodeEditSettings g_settings;

NodeEditState g_ne = {};

bool isLineKind(int16_t t) { return t >= OBT_LINE && t <= OBT_VLINE; }
bool isBezierKind(int16_t t) { return t == OBT_BEZIER || t == OBT_CLOSED_CURVE; }
bool isPointKind(int16_t t)
{
    switch (t) {
    case OBT_LINE: case OBT_LINE_ALIAS: case OBT_HLINE: case OBT_VLINE: case OBT_POLYLINE:
    case OBT_POLYGON: case OBT_POLYHV: case OBT_BEZIER: case OBT_CLOSED_CURVE:
        return true;
    default:
        return false;
    }
}

std::vector<int16_t> selectedIndexes()
{
    std::vector<int16_t> v;
    MemLock<int16_t> s(g_ne.selection);
    if (s)
        v.assign(s.get(), s.get() + g_ne.selCount);
    return v;
}

void addToSelection(int16_t index)
{
    if (index < 0 || index >= g_ne.count || g_ne.selCount >= g_ne.count)
        return;
    MemLock<int16_t> s(g_ne.selection);
    if (s)
        s[g_ne.selCount++] = index;
}

void freeState()
{
    utFreeHandle(g_ne.points);
    utFreeHandle(g_ne.selection);
    NeNotifyProc keep = g_ne.notify;
    g_ne = NodeEditState{};
    g_ne.notify = keep;
}

// The squared distance from p to the segment ab.
double segmentDistance2(POINT p, POINT a, POINT b)
{
    const double dx = (double)b.x - a.x, dy = (double)b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? (((double)p.x - a.x) * dx + ((double)p.y - a.y) * dy) / len2 : 0;
    t = std::min(1.0, std::max(0.0, t));
    const double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

// Takes a copy of the object's points into the state; false when it has
// none, too many, or memory fails.
bool takePoints(MemHandle object)
{
    int16_t n = 0;
    MemHandle pts = obGetVertices(object, &n);
    if (!pts || n < 1 || (uint16_t)n > kNeMaxPoints) {
        utFreeHandle(pts);
        return false;
    }
    g_ne.points = pts;
    g_ne.count = (uint16_t)n;
    g_ne.object = object;
    g_ne.type = obGetType(object);
    return true;
}

// The point count stored in a point record, -1 when it has no sound list.
int storedCount(ObLock &r)
{
    const uint32_t at = obDataOffset(r.get());
    if ((uint64_t)at + 2 > r.extent())
        return -1;
    int16_t n = utGetAt<int16_t>(obRecData(r.get()), 0);
    if (n < 0 || (uint64_t)at + 2 + 8 * (uint64_t)n > r.extent())
        return -1;
    return n;
}

// A polygon of four points along the axes: its box, else false.
bool axisAlignedBox(const POINT *p, int n, RECT *box)
{
    if (n != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        POINT a = p[i], b = p[(i + 1) % 4];
        if ((a.x == b.x) == (a.y == b.y))
            return false;   // a diagonal side, or two equal points
    }
    geoPointsBounds(p, 4, box);
    for (int i = 0; i < 4; ++i)
        if ((p[i].x != box->left && p[i].x != box->right)
            || (p[i].y != box->top && p[i].y != box->bottom))
            return false;
    return box->right > box->left && box->bottom > box->top;
}

// Makes a four-point polygon record a square or rectangle: its point list
// replaced by width and height, the fill block kept behind them.
MemHandle polygonToBox(HWND ws, MemHandle h, const RECT *box)
{
    std::vector<uint8_t> tail;
    uint32_t dataAt, listEnd, length;
    {
        ObLock r(h);
        if (!r)
            return 0;
        const int n = storedCount(r);
        length = r->length;
        dataAt = obDataOffset(r.get());
        if (n != 4 || r.blockSize() < epRecordSize(r.get())) {
            utErrorBoxId(ws, kIdsObjectDataError);
            return h;
        }
        listEnd = dataAt + 2 + 32;
        const uint8_t *b = reinterpret_cast<const uint8_t *>(r.get());
        tail.assign(b + listEnd, b + std::max(listEnd, std::min(length, r.extent())));
    }
    const int32_t w = box->right - box->left, hgt = box->bottom - box->top;
    const uint32_t newLength = dataAt + kShBoxGeometry + (uint32_t)tail.size();
    MemHandle g = obResize(h, std::max(newLength, length));
    if (!g)
        return h;
    {
        ObLock r(g);
        uint8_t *d = obRecData(r.get());
        utPutAt(d, 0, w);
        utPutAt(d, 4, hgt);
        if (!tail.empty())
            memcpy(d + kShBoxGeometry, tail.data(), tail.size());
        obRecSetRect(r.get(), box);
        r->type = w == hgt ? OBT_SQUARE : OBT_RECTANGLE;
        r->rotation = 0;
    }
    MemHandle s = obResize(g, newLength);
    return s ? s : g;
}

}  // namespace

NodeEditState *neGetState() { return &g_ne; }

std::vector<POINT> neWorkingPoints()
{
    std::vector<POINT> v;
    MemLock<POINT> p(g_ne.points);
    if (p)
        v.assign(p.get(), p.get() + g_ne.count);
    return v;
}

// ---- settings --------------------------------------------------------------------------------

uint16_t neGetFlags() { return g_settings.flags; }
int32_t neGetMinSpacing() { return std::max<int32_t>(1, g_settings.minSpacing); }
int32_t neGetCurveResolution() { return std::max<int32_t>(2, g_settings.curveResolution); }
int32_t neGetCloseSpacing() { return std::max<int32_t>(2, g_settings.closeSpacing); }

void neGetLineDrawOptions(int32_t *spacing, int32_t *resolution, int32_t *close, BOOL *advanced)
{
    if (spacing)
        *spacing = g_settings.minSpacing;
    if (resolution)
        *resolution = g_settings.curveResolution;
    if (close)
        *close = g_settings.closeSpacing;
    if (advanced)
        *advanced = (g_settings.flags & NE_FLAG_ADVANCED) ? TRUE : FALSE;
}

void neSetLineDrawOptions(int32_t spacing, int32_t resolution, int32_t close, BOOL advanced)
{
    g_settings.minSpacing = (uint16_t)spacing;
    g_settings.curveResolution = (uint16_t)resolution;
    g_settings.closeSpacing = (uint16_t)close;
    if (advanced)
        g_settings.flags |= NE_FLAG_ADVANCED;
    else
        g_settings.flags &= (uint16_t)~NE_FLAG_ADVANCED;
}

void neLoadSettings(const char *text)
{
    g_settings = NodeEditSettings();
    if (!text || !*text)
        return;
    long v[4];
    const char *p = text;
    for (int i = 0; i < 4; ++i) {
        char *end = nullptr;
        v[i] = strtol(p, &end, 10);
        if (end == p)
            return;   // not a number: every default kept
        while (*end == ' ' || *end == '\t')
            ++end;
        if (i < 3) {
            if (*end != ',')
                return;
            ++end;
        }
        p = end;
    }
    if (v[0] >= 1 && v[0] <= 64)
        g_settings.minSpacing = (uint16_t)v[0];
    if (v[1] >= 4 && v[1] <= 64)
        g_settings.curveResolution = (uint16_t)v[1];
    if (v[2] >= 1 && v[2] <= 32)
        g_settings.closeSpacing = (uint16_t)v[2];
    if (v[3] != 0) {
        if (v[3] & NE_FLAG_ADVANCED)
            g_settings.flags |= NE_FLAG_ADVANCED;
        else
            g_settings.flags &= (uint16_t)~NE_FLAG_ADVANCED;
    }
}

char *neSaveSettings(char *buffer)
{
    if (buffer)
        snprintf(buffer, 32, "%d, %d, %d, %d", g_settings.minSpacing, g_settings.curveResolution,
                 g_settings.closeSpacing, g_settings.flags);
    return buffer;
}

void neReadSettingsValue()
{
    char text[UT_PATH_SIZE] = "";
    setGetString("EPenv", text);
    neLoadSettings(text);
}

void neWriteSettingsValue()
{
    char text[32];
    setPutString("EPenv", neSaveSettings(text));
}

// ---- the edit ----------------------------------------------------------------------------------

int neBeginObject(HWND ws, MemHandle object)
{
    freeState();
    if (!object || !isPointKind(obGetType(object)))
        return 0;
    if (ws)
        epSelectObject(ws, object);
    if (!takePoints(object)) {
        freeState();
        return 0;
    }
    g_ne.selection = utAllocHandle(0, 2 * (uint32_t)g_ne.count);
    if (!g_ne.selection) {
        freeState();
        return 0;
    }
    g_ne.ws = ws;
    return 1;
}

int neRestartObject(HWND ws, MemHandle object)
{
    std::vector<int16_t> keep = selectedIndexes();
    int ok = neBeginObject(ws, object);
    if (!ok)
        return 0;
    for (int16_t i : keep)
        addToSelection(i);
    neSelectionBounds(nullptr);
    return 1;
}

void neEnd()
{
    if (g_ne.notify && g_ne.object)
        g_ne.notify(g_ne.ws, NE_NOTIFY_END, 0, g_ne.object);
    freeState();
    g_ne.notify = nullptr;
}

void epSetNodeEditCallback(NeNotifyProc notify) { g_ne.notify = notify; }

// ---- selection ---------------------------------------------------------------------------------

void neClearSelection()
{
    g_ne.selCount = 0;
    g_ne.boxValid = 0;
    g_ne.skewShown = 0;
}

void neSelectAll()
{
    g_ne.selCount = 0;
    for (int i = 0; i < g_ne.count; ++i)
        addToSelection((int16_t)i);
    neSelectionBounds(nullptr);
}

BOOL neIsSelected(int index)
{
    for (int16_t i : selectedIndexes())
        if (i == index)
            return TRUE;
    return FALSE;
}

int neFirstSelected()
{
    if (!g_ne.selCount)
        return -1;
    MemLock<int16_t> s(g_ne.selection);
    return s ? s[0] : -1;
}

void neSelectOnly(int index)
{
    if (index < 0 || index >= g_ne.count)
        return;
    g_ne.selCount = 0;
    addToSelection((int16_t)index);
    neSelectionBounds(nullptr);
}

namespace {

void selectStep(HWND ws, bool next)
{
    if (!g_ne.count)
        return;
    std::vector<int16_t> sel = selectedIndexes();
    const int last = g_ne.count - 1;
    int index;
    if (sel.empty())
        index = next ? 0 : last;
    else if (next)
        index = *std::max_element(sel.begin(), sel.end()) >= last
                    ? 0 : *std::max_element(sel.begin(), sel.end()) + 1;
    else
        index = *std::min_element(sel.begin(), sel.end()) <= 0
                    ? last : *std::min_element(sel.begin(), sel.end()) - 1;
    HDC dc = ws ? wsGetDC(ws) : nullptr;
    if (dc)
        neDrawSelectedMarks(ws, dc);
    neSelectOnly(index);
    if (dc) {
        neDrawSelectedMarks(ws, dc);
        ReleaseDC(ws, dc);
    }
}

}  // namespace

void neSelectNext(HWND ws) { selectStep(ws, true); }
void neSelectPrevious(HWND ws) { selectStep(ws, false); }

int neSelectAt(POINT pt)
{
    neClearSelection();
    std::vector<POINT> p = neWorkingPoints();
    const int n = (int)p.size();
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    int hit = -1;
    for (int i = 0; i < n && hit < 0; ++i)
        if (labs((long)pt.x - p[i].x) <= hx && labs((long)pt.y - p[i].y) <= hy) {
            addToSelection((int16_t)i);
            hit = i;
        }
    if (hit < 0) {
        const double tol = std::max(hx, hy);
        for (int i = 0; i + 1 < n && hit < 0; ++i)
            if (segmentDistance2(pt, p[i], p[i + 1]) <= tol * tol) {
                addToSelection((int16_t)i);
                addToSelection((int16_t)(i + 1));
                hit = i;
            }
        if (hit < 0 && g_ne.type == OBT_POLYGON && n > 2
            && segmentDistance2(pt, p[n - 1], p[0]) <= tol * tol) {
            addToSelection((int16_t)(n - 1));
            addToSelection(0);
            hit = n - 1;
        }
    }
    neSelectionBounds(nullptr);
    return hit;
}

void neSelectInRect(const RECT *r)
{
    g_ne.selCount = 0;
    if (r) {
        std::vector<POINT> p = neWorkingPoints();
        for (int i = 0; i < (int)p.size(); ++i)
            if (p[i].x >= r->left && p[i].x <= r->right && p[i].y >= r->top
                && p[i].y <= r->bottom)
                addToSelection((int16_t)i);
    }
    neSelectionBounds(nullptr);
}

void neSelectionBounds(RECT *out)
{
    std::vector<int16_t> sel = selectedIndexes();
    std::vector<POINT> p = neWorkingPoints();
    RECT b = {0, 0, 0, 0};
    bool first = true;
    for (int16_t i : sel) {
        if (i < 0 || i >= (int)p.size())
            continue;
        if (first) {
            b = RECT{p[i].x, p[i].y, p[i].x, p[i].y};
            first = false;
        }
        b.left = std::min(b.left, p[i].x);
        b.top = std::min(b.top, p[i].y);
        b.right = std::max(b.right, p[i].x);
        b.bottom = std::max(b.bottom, p[i].y);
    }
    g_ne.box = b;
    g_ne.boxValid = sel.size() >= 2 ? 1 : 0;
    // The skew frame belongs to the rotate sub-mode's caller; a selection
    // of two points or fewer never shows it.
    if (sel.size() <= 2)
        g_ne.skewShown = 0;
    if (out)
        *out = b;
}

void neMovePoints(POINT *points, const int16_t *indexes, int n, int32_t dx, int32_t dy)
{
    if (!points || !indexes)
        return;
    const int last = g_ne.count - 1;
    const bool closed = g_ne.type == OBT_CLOSED_CURVE && last > 0;
    bool hasFirst = false, hasLast = false;
    for (int k = 0; k < n; ++k) {
        hasFirst |= indexes[k] == 0;
        hasLast |= indexes[k] == last;
    }
    for (int k = 0; k < n; ++k) {
        const int i = indexes[k];
        if (i < 0 || i > last)
            continue;
        points[i].x += dx;
        points[i].y += dy;
        // Both ends listed: each moves once and they stay equal.
        if (closed && i == 0 && !hasLast)
            points[last] = points[0];
        else if (closed && i == last && !hasFirst)
            points[0] = points[last];
    }
    if (g_ne.boxValid)
        OffsetRect(&g_ne.box, dx, dy);
}

// ---- writing points ---------------------------------------------------------------------------

MemHandle neWritePoints(MemHandle object, const POINT *points, int n, BOOL *changed)
{
    if (changed)
        *changed = FALSE;
    if (!object || !points || n < 1 || n > kNeMaxPoints)
        return 0;
    RECT b;
    geoPointsBounds(points, (int16_t)n, &b);
    int old;
    uint32_t listAt, length;
    {
        ObLock r(object);
        if (!r || (old = storedCount(r)) < 0)
            return 0;
        listAt = obDataOffset(r.get()) + 2;
        length = r->length;
        if (old == n) {
            const uint8_t *d = obRecData(r.get()) + 2;
            bool same = true;
            for (int i = 0; i < n && same; ++i) {
                POINT q = utGetAt<POINT>(d, (uint32_t)i * 8);
                same = q.x + r->centreX == points[i].x && q.y + r->centreY == points[i].y;
            }
            if (same)
                return object;
        }
    }
    const uint32_t oldEnd = listAt + 8 * (uint32_t)old, newEnd = listAt + 8 * (uint32_t)n;
    const uint32_t tail = length > oldEnd ? length - oldEnd : 0;
    const uint32_t newLength = newEnd + tail;
    MemHandle h = object;
    if (newLength > length) {
        h = obResize(object, newLength);
        if (!h)
            return 0;
    }
    {
        ObLock r(h);
        uint8_t *base = reinterpret_cast<uint8_t *>(r.get());
        if (tail)
            memmove(base + newEnd, base + oldEnd, tail);
        utPutAt(obRecData(r.get()), 0, (int16_t)n);
        obRecSetRect(r.get(), &b);
        for (int i = 0; i < n; ++i)
            utPutAt(base + listAt, (uint32_t)i * 8,
                    POINT{points[i].x - r->centreX, points[i].y - r->centreY});
        if (old != n) {
            if (n == 2 && !isBezierKind(r->type))
                r->type = OBT_LINE;
            else if (isLineKind(r->type))
                r->type = OBT_POLYLINE;
        }
        r->length = std::max(newLength, length);
    }
    uint32_t fit = newLength;
    {
        // A closed kind made a Line loses its fill and its fill block.
        ObLock r(h);
        if (r->type == OBT_LINE && r->fillKind) {
            r->fillKind = 0;
            fit = std::min(fit, epRecordSize(r.get()));
        }
    }
    if (fit < std::max(newLength, length)) {
        MemHandle s = obResize(h, fit);
        if (s)
            h = s;
    }
    if (changed)
        *changed = TRUE;
    return h;
}

MemHandle neCommit(HWND ws, MemHandle object, BOOL finishing)
{
    if (!object)
        return 0;
    if (ws)
        udRecord(ws, object, 0, UD_COPY, 0);
    const int16_t oldType = obGetType(object);
    std::vector<POINT> p = neWorkingPoints();
    if (!isBezierKind(oldType) && !p.empty()) {
        size_t kept = 1;
        for (size_t i = 1; i < p.size(); ++i)
            if (p[i].x != p[kept - 1].x || p[i].y != p[kept - 1].y)
                p[kept++] = p[i];
        p.resize(kept);
        g_ne.count = (uint16_t)kept;
        {
            MemLock<POINT> w(g_ne.points);
            if (w)
                memcpy(w.get(), p.data(), kept * sizeof(POINT));
        }
        // Indexes past the new count are dropped.
        std::vector<int16_t> sel = selectedIndexes();
        g_ne.selCount = 0;
        for (int16_t i : sel)
            addToSelection(i);
    }
    BOOL changed = FALSE;
    MemHandle h = p.empty() ? 0 : neWritePoints(object, p.data(), (int)p.size(), &changed);
    if (!h)
        h = object;
    if (finishing) {
        uint32_t fit = 0;
        {
            ObLock r(h);
            if (r && p.size() == 2 && !isBezierKind(r->type)) {
                // A Line has no fill: the fill block of a closed kind goes.
                r->type = OBT_LINE;
                r->fillKind = 0;
                fit = epRecordSize(r.get());
                if (fit >= r->length)
                    fit = 0;
            } else if (r && p.size() > 2 && isLineKind(r->type)) {
                r->type = OBT_POLYLINE;
            }
        }
        if (fit) {
            MemHandle s = obResize(h, fit);
            if (s)
                h = s;
        }
    }
    RECT box;
    if (finishing && obGetType(h) == OBT_POLYGON && axisAlignedBox(p.data(), (int)p.size(), &box))
        h = polygonToBox(ws, h, &box);
    if (isBezierKind(obGetType(h)))
        shBezierBounds(h, nullptr);
    g_ne.object = h;
    g_ne.type = obGetType(h);
    if (ws && (changed || g_ne.type != oldType))
        wsMarkModified(ws);
    if (g_ne.notify)
        g_ne.notify(ws, NE_NOTIFY_COMMIT, 0, h);
    return h;
}
