// Line-end symbols, segments and polylines under them, their bounds, and
// variable-width strokes.
#include "objects/sh_lineend.h"
#include "objects/fil_fill.h"
#include "model/ob_dispatch.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// The unit head: a wing, the tip, the other wing (the second wing's x is
// -0.92398, as the symbols have always been drawn).
const double kHeadWingX = -0.92388, kHeadWingY = 0.382683;
const double kHeadWing2X = -0.92398, kHeadWing2Y = -0.382684;
const double kSlimWingX = -0.965926, kSlimWingY = 0.258819;
// Full width of the unit heads (the difference of the wings' y).
const double kHeadWidth = 0.765367, kSlimWidth = 0.517638;

enum class Draw { None, Outline, Filled, Diagonals, OutlineAndDiagonals, Circle, Disc };

// A symbol's figure in page coordinates.
struct Figure {
    Draw draw = Draw::None;
    POINT pts[6];
    int n = 0;
    RECT circle = {0, 0, 0, 0};   // kinds 50 and 51: the box of the circle
};

int kindOf(int16_t style) { return style & 0xFF; }

bool isSlimHead(int kind) { return kind >= 7 && kind <= 9; }

// A frame point (x along the line towards the tip, y down) scaled by s,
// turned by the direction (c, s) and moved to q.
// A coordinate kept within 32 bits (a damaged record may ask for any size).
LONG clamp32(int64_t v) { return (LONG)std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, v)); }

POINT place(POINT q, double c, double s, double fx, double fy, double scale)
{
    double x = fx * scale, y = fy * scale;
    return POINT{clamp32((int64_t)q.x + geoRound(x * c - y * s)),
                 clamp32((int64_t)q.y + geoRound(x * s + y * c))};
}

// The figure of a symbol at q pointing from p towards q, or Draw::None.
Figure figureOf(POINT p, POINT q, int kind, uint32_t size)
{
    Figure f;
    if (size == 0)
        return f;
    double c, s;
    geoUnitVector(p, q, &c, &s);
    const double sz = (double)size;
    auto add = [&](double fx, double fy, double scale) { f.pts[f.n++] = place(q, c, s, fx, fy, scale); };
    switch (kind) {
    case 1: case 2: case 3: case 4: case 5:
        add(kHeadWingX, kHeadWingY, sz);
        add(0, 0, sz);
        add(kHeadWing2X, kHeadWing2Y, sz);
        if (kind == 4 || kind == 5)
            add(-0.5, 0, sz);   // the notch: q - (size / 2) u
        if (kind == 2 || kind == 4)
            f.pts[f.n++] = f.pts[0];
        f.draw = (kind == 3 || kind == 5) ? Draw::Filled : Draw::Outline;
        break;
    case 7: case 8: case 9:
        add(kSlimWingX, kSlimWingY, sz);
        add(0, 0, sz);
        add(kSlimWingX, -kSlimWingY, sz);
        if (kind == 8)
            f.pts[f.n++] = f.pts[0];
        f.draw = kind == 9 ? Draw::Filled : Draw::Outline;
        break;
    case 21: case 22: {
        const double t = 2 * sz * 0.866025 / 3;
        add(0.866025, -0.5, t);
        add(0, 1, t);
        add(-0.866025, -0.5, t);
        if (kind == 21)
            f.pts[f.n++] = f.pts[0];
        f.draw = kind == 22 ? Draw::Filled : Draw::Outline;
        break;
    }
    case 31: case 40: case 41: case 42: case 45: case 46: case 47: {
        const double t = (sz - 1) * 0.5 / 0.707107;
        add(-0.5, -0.5, t);
        add(-0.5, 0.5, t);
        add(0.5, 0.5, t);
        add(0.5, -0.5, t);
        switch (kind) {
        case 31: f.draw = Draw::Diagonals; break;
        case 41: f.draw = Draw::Filled; break;
        case 42: case 47: f.draw = Draw::OutlineAndDiagonals; break;
        default: f.draw = Draw::Outline; break;
        }
        if (f.draw == Draw::Outline || f.draw == Draw::OutlineAndDiagonals)
            f.pts[f.n++] = f.pts[0];
        break;
    }
    case 50: case 51: {
        const int64_t r = (size - 1) / 2;
        f.circle = RECT{clamp32(q.x - r), clamp32(q.y - r), clamp32(q.x + r + 1),
                        clamp32(q.y + r + 1)};
        f.draw = kind == 50 ? Draw::Circle : Draw::Disc;
        break;
    }
    default:
        break;
    }
    return f;
}

// The cross bar's length L (0: none).
int32_t crossBarLength(int kind, uint32_t size)
{
    if (kind >= 1 && kind <= 5)
        return geoRound(2.0 * size * 0.382683);
    if (isSlimHead(kind))
        return geoRound(2.0 * size * 0.258819);
    if (kind == 50 || kind == 51)
        return (int32_t)((size - 1) / 2);
    return (int32_t)std::min<uint32_t>(size, INT32_MAX);
}

// Polyline with its last pixel set too.
void outlinePoints(HDC dc, const POINT *pts, int n, COLORREF colour)
{
    Polyline(dc, pts, n);
    SetPixel(dc, pts[n - 1].x, pts[n - 1].y, colour);
}

void diagonals(HDC dc, const POINT sq[4])
{
    for (int i = 0; i < 2; ++i) {
        MoveToEx(dc, sq[i].x, sq[i].y, nullptr);
        LineTo(dc, sq[i + 2].x, sq[i + 2].y);
        LineTo(dc, sq[i].x, sq[i].y);
    }
}

// The part of the clip polygon at an end q (the line coming from p): a
// head scaled to three pen widths, or a bar two pen widths across one pen
// width beyond the end.
void clipPart(POINT p, POINT q, const LineEndRecord *rec, int32_t penWidth,
              std::vector<POINT> &out)
{
    int kind = rec ? kindOf(rec->style) : 0;
    if (shIsHeadKind(kind)) {
        double c, s;
        geoUnitVector(p, q, &c, &s);
        bool slim = isSlimHead(kind);
        double scale = 3.0 * penWidth / (slim ? kSlimWidth : kHeadWidth);
        out.push_back(place(q, c, s, slim ? kSlimWingX : kHeadWingX,
                            slim ? kSlimWingY : kHeadWingY, scale));
        out.push_back(q);
        out.push_back(place(q, c, s, slim ? kSlimWingX : kHeadWing2X,
                            slim ? -kSlimWingY : kHeadWing2Y, scale));
        return;
    }
    POINT beyond, bar[2];
    geoPointBeyond(p, q, penWidth, &beyond);
    geoPerpendicularAt(p, beyond, 2 * penWidth, bar);
    out.push_back(bar[0]);
    out.push_back(bar[1]);
}

bool samePoint(const POINT &a, const POINT &b) { return a.x == b.x && a.y == b.y; }

bool isOpenPointShape(int16_t t)
{
    switch (t) {
    case OBT_LINE: case OBT_LINE_ALIAS: case OBT_HLINE: case OBT_VLINE: case OBT_POLYLINE:
    case OBT_POLYHV: case OBT_BEZIER:
        return true;
    default:
        return false;
    }
}

// Offset of the first line-end record from the type data (2 + 8n, the
// stated count, never negative).
uint32_t endsOffset(const ObjectRecord *rec, bool *ok)
{
    uint32_t at = obDataOffset(rec);
    *ok = (uint64_t)at + 2 <= rec->length;
    if (!*ok)
        return 0;
    int16_t count;
    memcpy(&count, reinterpret_cast<const uint8_t *>(rec) + at, 2);
    return 2 + 8 * (uint32_t)std::max<int16_t>(count, 0);
}

LineEndRecord *recordAt(ObjectRecord *rec, uint32_t offset)
{
    uint64_t at = (uint64_t)obDataOffset(rec) + offset;
    if (at + sizeof(LineEndRecord) > rec->length)
        return nullptr;
    return reinterpret_cast<LineEndRecord *>(reinterpret_cast<uint8_t *>(rec) + at);
}

}  // namespace

BOOL shIsHeadKind(int kind) { return (kind >= 1 && kind <= 5) || (kind >= 7 && kind <= 9); }

BOOL shIsLineEndKind(int kind)
{
    switch (kind) {
    case 1: case 2: case 3: case 4: case 5: case 7: case 8: case 9: case 21: case 22: case 31:
    case 40: case 41: case 42: case 45: case 46: case 47: case 50: case 51:
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- the records -----------------------------------------------------------------------------

LineEndRecord *shGetStartLineEnd(ObjectRecord *rec)
{
    if (!rec || !(rec->flags & OBF_START_SYMBOL))
        return nullptr;
    bool ok;
    uint32_t off = endsOffset(rec, &ok);
    return ok ? recordAt(rec, off) : nullptr;
}

LineEndRecord *shGetEndLineEnd(ObjectRecord *rec)
{
    if (!rec || !(rec->flags & OBF_END_SYMBOL))
        return nullptr;
    bool ok;
    uint32_t off = endsOffset(rec, &ok);
    if (!ok)
        return nullptr;
    if (rec->flags & OBF_START_SYMBOL)
        off += sizeof(LineEndRecord);
    return recordAt(rec, off);
}

MemHandle shSetLineEnd(MemHandle h, BOOL atStart, const LineEndRecord *end)
{
    LineEndRecord records[2];
    bool have[2];
    uint32_t flags, newLength;
    {
        ObLock r(h);
        if (!r || !isOpenPointShape(r->type))
            return 0;
        ObjectRecord *rec = r.get();
        bool ok;
        uint32_t off = endsOffset(rec, &ok);
        if (!ok || (uint64_t)obDataOffset(rec) + off > r.blockSize())
            return 0;
        const LineEndRecord *now[2] = {shGetStartLineEnd(rec), shGetEndLineEnd(rec)};
        for (int i = 0; i < 2; ++i) {
            have[i] = now[i] != nullptr;
            if (have[i])
                memcpy(&records[i], now[i], sizeof records[i]);
        }
        int which = atStart ? 0 : 1;
        have[which] = end != nullptr;
        if (end)
            records[which] = *end;
        flags = rec->flags & ~(OBF_START_SYMBOL | OBF_END_SYMBOL);
        if (have[0])
            flags |= OBF_START_SYMBOL;
        if (have[1])
            flags |= OBF_END_SYMBOL;
        newLength = obDataOffset(rec) + off + (have[0] ? 6 : 0) + (have[1] ? 6 : 0);
    }
    MemHandle g = obResize(h, newLength);
    if (!g)
        return 0;
    ObLock r(g);
    ObjectRecord *rec = r.get();
    rec->flags = flags;
    rec->length = newLength;
    if (LineEndRecord *s = shGetStartLineEnd(rec))
        memcpy(s, &records[0], sizeof records[0]);
    if (LineEndRecord *e = shGetEndLineEnd(rec))
        memcpy(e, &records[1], sizeof records[1]);
    return g;
}

// ---- one symbol --------------------------------------------------------------------------------

void shDrawLineEnd(HDC dc, POINT p, POINT q, int16_t style, uint32_t size, COLORREF colour)
{
    if (!dc)
        return;
    const int kind = kindOf(style);
    Figure f = figureOf(p, q, kind, size);
    if (f.draw == Draw::None)
        return;
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    GdiSelect selPen(dc, pen);
    switch (f.draw) {
    case Draw::Filled:
    case Draw::Disc: {
        GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
        GdiSelect selBrush(dc, brush);
        if (f.draw == Draw::Disc)
            Ellipse(dc, f.circle.left, f.circle.top, f.circle.right, f.circle.bottom);
        else
            Polygon(dc, f.pts, f.n);
        break;
    }
    case Draw::Circle: {
        GdiSelect selBrush(dc, GetStockObject(NULL_BRUSH));
        Ellipse(dc, f.circle.left, f.circle.top, f.circle.right, f.circle.bottom);
        break;
    }
    case Draw::Outline:
        outlinePoints(dc, f.pts, f.n, colour);
        break;
    case Draw::Diagonals:
        diagonals(dc, f.pts);
        break;
    case Draw::OutlineAndDiagonals:
        outlinePoints(dc, f.pts, f.n, colour);
        diagonals(dc, f.pts);
        break;
    case Draw::None:
        break;
    }
    if (style & kShLineEndCrossBar) {
        int32_t len = crossBarLength(kind, size);
        if (len) {
            POINT bar[2];
            geoPerpendicularAt(p, q, len, bar);
            outlinePoints(dc, bar, 2, colour);
        }
    }
}

int shLineEndBounds(POINT p, POINT q, int16_t style, uint32_t size, RECT *out)
{
    const int kind = kindOf(style);
    Figure f = figureOf(p, q, kind, size);
    if (f.draw == Draw::None)
        return 0;
    std::vector<POINT> pts(f.pts, f.pts + f.n);
    if (f.draw == Draw::Circle || f.draw == Draw::Disc) {
        POINT corners[4];
        geoRectToCorners(&f.circle, corners);
        double c, s;
        geoUnitVector(p, q, &c, &s);
        geoRotatePointsAboutCS(corners, 4, q, c, s);
        pts.assign(corners, corners + 4);
    }
    if (style & kShLineEndCrossBar) {
        int32_t len = crossBarLength(kind, size);
        if (len) {
            POINT bar[2];
            geoPerpendicularAt(p, q, len, bar);
            pts.push_back(bar[0]);
            pts.push_back(bar[1]);
        }
    }
    RECT r;
    geoPointsBounds(pts.data(), (int16_t)pts.size(), &r);
    if (out)
        *out = r;
    return 1;
}

// ---- segments and polylines ----------------------------------------------------------------------

void shDrawSegmentWithEnds(HDC dc, POINT p, POINT q, uint16_t lineStyle, int32_t penWidth,
                           const LineEndRecord *start, const LineEndRecord *end,
                           COLORREF colour)
{
    if (!dc)
        return;
    bool heads = (start && shIsHeadKind(kindOf(start->style))) ||
                 (end && shIsHeadKind(kindOf(end->style)));
    {
        std::vector<POINT> clip;
        // The heads' clip is a region, whose cost grows with its size: a
        // segment beyond the safe device range is drawn cut to the clip.
        if (heads && penWidth > dmGetPixelSize() &&
            gdiIsWithinSafeRange(dc, std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x),
                                 std::max(p.y, q.y))) {
            clipPart(q, p, start, penWidth, clip);
            clipPart(p, q, end, penWidth, clip);
        }
        // A clip region that cannot be made leaves the segment unclipped.
        FilPolygonClip clipped(dc, clip.empty() ? nullptr : clip.data(), (int16_t)clip.size());
        GdiObject<HPEN> pen(CreatePen(gdiLineStylePen(lineStyle), penWidth, colour));
        GdiSelect selPen(dc, pen);
        gdiLine(dc, p.x, p.y, q.x, q.y);
    }
    if (start)
        shDrawLineEnd(dc, q, p, start->style, start->size, colour);
    if (end)
        shDrawLineEnd(dc, p, q, end->style, end->size, colour);
}

void shDrawPolylineWithEnds(HDC dc, const POINT *pts, int32_t n, ObjectRecord *rec)
{
    if (!dc || !pts || !rec || n < 2)
        return;
    int32_t s = 0;
    while (s < n - 1 && samePoint(pts[s], pts[s + 1]))
        ++s;
    int32_t e = n - 1;
    while (e > 0 && samePoint(pts[e], pts[e - 1]))
        --e;
    const int32_t m = e - s + 1;
    if (m < 2)
        return;
    LineEndRecord startRec, endRec;
    const LineEndRecord *start = nullptr, *end = nullptr;
    if (const LineEndRecord *r = shGetStartLineEnd(rec)) {
        memcpy(&startRec, r, sizeof startRec);
        start = &startRec;
    }
    if (const LineEndRecord *r = shGetEndLineEnd(rec)) {
        memcpy(&endRec, r, sizeof endRec);
        end = &endRec;
    }
    const int32_t width = obGetDrawnPenWidth(rec);
    if (m == 2) {
        shDrawSegmentWithEnds(dc, pts[s], pts[e], rec->lineStyle, width, start, end,
                              rec->penColour);
        return;
    }
    shDrawSegmentWithEnds(dc, pts[s], pts[s + 1], rec->lineStyle, width, start, nullptr,
                          rec->penColour);
    shDrawSegmentWithEnds(dc, pts[e - 1], pts[e], rec->lineStyle, width, nullptr, end,
                          rec->penColour);
    if (m - 2 > 1)
        gdiPolyline(dc, pts + s + 1, (int16_t)std::min<int32_t>(m - 2, INT16_MAX));
}

int shLineEndsBounds(const ObjectRecord *constRec, RECT *out)
{
    if (!constRec)
        return 0;
    // Read only: the record's own accessors take it unqualified.
    ObjectRecord *rec = const_cast<ObjectRecord *>(constRec);
    const LineEndRecord *start = shGetStartLineEnd(rec), *end = shGetEndLineEnd(rec);
    if (!start && !end)
        return 0;
    bool ok;
    endsOffset(rec, &ok);
    if (!ok)
        return 0;
    int16_t count;
    memcpy(&count, obRecData(rec), 2);
    uint32_t room = rec->length - obDataOffset(rec) - 2;
    int32_t n = std::max<int32_t>(0, std::min<int32_t>(count, (int32_t)(room / sizeof(POINT))));
    if (n < 2)
        return 0;
    std::vector<POINT> pts((size_t)n);
    memcpy(pts.data(), obRecData(rec) + 2, sizeof(POINT) * (size_t)n);
    RECT all = {0, 0, 0, 0}, one;
    int any = 0;
    auto unite = [&](const RECT &r) {
        if (any)
            geoUnionRect(&all, &all, &r);
        else
            all = r;
        any = 1;
    };
    if (start) {
        LineEndRecord s;
        memcpy(&s, start, sizeof s);
        for (int32_t i = 1; i < n; ++i) {
            if (!samePoint(pts[(size_t)i], pts[0])) {
                if (shLineEndBounds(pts[(size_t)i], pts[0], s.style, s.size, &one))
                    unite(one);
                break;
            }
        }
    }
    if (end) {
        LineEndRecord e;
        memcpy(&e, end, sizeof e);
        for (int32_t i = n - 2; i >= 0; --i) {
            if (!samePoint(pts[(size_t)i], pts[(size_t)n - 1])) {
                if (shLineEndBounds(pts[(size_t)i], pts[(size_t)n - 1], e.style, e.size, &one))
                    unite(one);
                break;
            }
        }
    }
    if (!any)
        return 0;
    geoOffsetRect(&all, rec->centreX, rec->centreY);
    if (out)
        *out = all;
    return 1;
}

// ---- variable-width strokes ----------------------------------------------------------------------

double shStrokeLength(const POINT *pts, int32_t n)
{
    double len = 0;
    for (int32_t i = 1; pts && i < n; ++i)
        len += geoDistance(pts[i - 1], pts[i]);
    return len;
}

BOOL shStrokeWidthAt(const ShStrokeProfileEntry *profile, int32_t entries, double t,
                     int32_t base, int32_t *width)
{
    if (!width)
        return FALSE;
    int32_t i = -1;
    if (profile && entries >= 2) {
        for (i = 0; i < entries - 1; ++i)
            if (profile[i].position <= t && t < profile[i + 1].position)
                break;
        i = std::min(i, entries - 2);
    }
    if (i < 0) {
        *width = base;
        return FALSE;
    }
    const ShStrokeProfileEntry &a = profile[i], &b = profile[i + 1];
    double factor = a.factor;
    if (fabs(b.position - a.position) >= 0.0001)
        factor = a.factor + (b.factor - a.factor) * (t - a.position) / (b.position - a.position);
    int32_t w = std::max(1, geoRound(base * factor));
    BOOL changed = w != *width;
    *width = w;
    return changed;
}

void shDrawVariableStroke(HDC dc, const POINT *pts, int32_t n, int32_t base, COLORREF colour,
                          const ShStrokeProfileEntry *profile, int32_t entries)
{
    if (!dc || !pts || n < 1)
        return;
    const double total = shStrokeLength(pts, n);
    if (total == 0)
        return;
    HPEN pen = CreatePen(PS_SOLID, base, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    int32_t width = base;
    double along = 0;
    MoveToEx(dc, pts[0].x, pts[0].y, nullptr);
    for (int32_t i = 1; i < n; ++i) {
        if (i > 1)
            along += geoDistance(pts[i - 2], pts[i - 1]);
        if (shStrokeWidthAt(profile, entries, along / total, base, &width) && width >= 1) {
            HPEN next = CreatePen(PS_SOLID, width, colour);
            SelectObject(dc, next);
            DeleteObject(pen);
            pen = next;
        }
        if (width < 1)
            MoveToEx(dc, pts[i].x, pts[i].y, nullptr);
        else
            gdiLineToPt(dc, pts[i]);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

void shVariableStrokeBounds(const POINT *pts, int32_t n, int32_t base,
                            const ShStrokeProfileEntry *profile, int32_t entries, RECT *out)
{
    if (!out)
        return;
    geoSetRect(out, 0, 0, 0, 0);
    if (!pts || n < 1)
        return;
    geoPointsBounds(pts, (int16_t)std::min<int32_t>(n, INT16_MAX), out);
    const double total = shStrokeLength(pts, n);
    if (total == 0)
        return;
    double along = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (i > 0)
            along += geoDistance(pts[i - 1], pts[i]);
        int32_t w = base;
        shStrokeWidthAt(profile, entries, along / total, base, &w);
        if (w > 0) {
            RECT box = {pts[i].x - w / 2, pts[i].y - w / 2, pts[i].x + w / 2, pts[i].y + w / 2};
            geoUnionRect(out, out, &box);
        }
    }
}
