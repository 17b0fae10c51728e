// Brush lines: stroke profiles, the checked stroke walk, drawing, outline,
// bounds, rescale, rotation and flips.
#include "objects/sh_brush.h"
#include "objects/sh_points.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_transform.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>

namespace {

const double kPi = 3.141592654;

// The kinds of the brush dialogs, in their order.
const int32_t kKinds[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 20, 21, 30, 31};
const int32_t kKindCount = (int32_t)(sizeof kKinds / sizeof kKinds[0]);

uint32_t getU32(const uint8_t *p)
{
    uint32_t v;
    memcpy(&v, p, 4);
    return v;
}

int32_t getI32(const uint8_t *p)
{
    int32_t v;
    memcpy(&v, p, 4);
    return v;
}

// (a, b) of a fraction f: a = round((n - 1) f), b = n - a - 1; both the
// middle when b < a.
void split(int32_t n, double f, int32_t *a, int32_t *b)
{
    *a = geoRound((n - 1) * f);
    *b = n - *a - 1;
    if (*b < *a)
        *a = *b = (n - 1) / 2;
}

// The widths of a kind at n samples; false for a kind without a profile.
bool widths(uint32_t kind, int32_t n, std::vector<double> &w)
{
    w.assign((size_t)std::max(n, 0), 1.0);
    if (n <= 0)
        return kind != 0;
    const double last = n > 1 ? n - 1 : 1;
    int32_t a, b;
    switch (kind) {
    case 1:
    case 2:
        for (int32_t i = 0; i < n; ++i) {
            double v = n == 1 ? 1.0 : i / last;
            w[i] = kind == 1 || n == 1 ? v : 1.0 - v;
        }
        return true;
    case 3:
    case 4:
    case 5: {
        double f = kind == 3 ? 0.5 : kind == 4 ? 0.25 : 0.75;
        int32_t m = std::min(geoRound(n * f) - 1, n);
        int32_t down = n - m - 1;
        for (int32_t i = 0; i < n; ++i) {
            if (i < m)
                w[i] = (double)i / m;
            else
                w[i] = down > 0 ? 1.0 - (double)(i - m) / down : 1.0;   // a peak at the end
        }
        return true;
    }
    case 7:
    case 8:
    case 9: {
        split(n, kind == 7 ? 0.5 : kind == 8 ? 0.25 : 0.125, &a, &b);
        for (int32_t i = 0; a > 0 && i < n; ++i)
            w[i] = i < b ? 1.0 : 1.0 - (double)(i - b) / a;
        return true;
    }
    case 10:
    case 11:
    case 12:
    case 13: {
        double f = kind == 10 ? 0.5 : kind == 11 ? 0.35 : kind == 12 ? 0.25 : 0.1;
        split(n, f, &a, &b);
        for (int32_t i = 0; a > 0 && i < n; ++i) {
            if (i < a)
                w[i] = (cos(i * kPi / a - kPi) + 1) / 2;
            else if (i < b)
                w[i] = 1.0;
            else
                w[i] = (cos((i - b) * kPi / a) + 1) / 2;
        }
        return true;
    }
    case 14:
    case 15:
        for (int32_t i = 0; i < n; ++i)
            w[i] = (cos(i * kPi / last - (kind == 15 ? kPi : 0)) + 1) / 2;
        return true;
    case 16:
    case 17:
        widths(10, n, w);
        for (double &v : w)
            v = kind == 16 ? (v + 1) / 2 : (2 - v) / 2;
        return true;
    case 20:
    case 21: {
        split(n, kind == 20 ? 0.25 : 0.125, &a, &b);
        for (int32_t i = 0; a > 0 && i < n; ++i)
            w[i] = i < a ? (double)i / a : i < b ? 1.0 : 1.0 - (double)(i - b) / a;
        return true;
    }
    case 30:
    case 31:
    case 32:
    case 33: {
        int32_t k = (int32_t)kind - 28;   // 2, 3, 4, 5 repeats
        int32_t m = n / k;
        std::vector<double> one;
        widths(16, m, one);
        for (int32_t i = 0; i < n; ++i)
            w[i] = i < k * m ? one[i % m] : 0.0;
        return true;
    }
    case 91:
        for (int32_t i = 0; i < n; ++i)
            w[i] = utRandomRange(1, 2) * 0.5;
        return true;
    default:
        return false;
    }
}

// The checked stroke at `at` of the type data d (limit bytes held);
// false when it is damaged.
bool readStroke(uint8_t *d, uint32_t at, uint32_t limit, BrsStroke *s)
{
    if ((uint64_t)at + kBrsStrokeHead > limit)
        return false;
    uint8_t *p = d + at;
    s->base = p;
    s->size = getU32(p + BRS_SIZE);
    if (s->size < kBrsStrokeHead || (uint64_t)at + s->size > limit)
        return false;
    s->flags = getU32(p + BRS_FLAGS);
    s->colour = getU32(p + BRS_COLOUR);
    s->centreColour = getU32(p + BRS_CENTRE_COLOUR);
    s->width = std::max(1, getI32(p + BRS_WIDTH));
    s->kind = getU32(p + BRS_KIND);
    s->samples = getU32(p + BRS_SAMPLES);
    s->profileBytes = getU32(p + BRS_PROFILE_BYTES);
    s->points = getU32(p + BRS_POINTS);
    if ((uint64_t)kBrsStrokeHead + s->profileBytes + 8 * (uint64_t)s->points > s->size)
        return false;
    // An inline profile must hold the samples it claims.
    if (s->kind == kBrsInlineProfile && 20 * (uint64_t)s->samples > s->profileBytes)
        return false;
    s->profile = p + kBrsStrokeHead;
    s->pointBytes = s->profile + s->profileBytes;
    return true;
}

// Bytes of type data that may be read: the stated size, never past the
// record.
uint32_t dataLimit(ObjectRecord *rec)
{
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kBrsHeadSize > rec->length)
        return 0;
    uint32_t stated = getU32(obRecData(rec));
    return std::min(stated, rec->length - at);
}

void putPoint(uint8_t *pointBytes, uint32_t i, POINT pt)
{
    memcpy(pointBytes + 8 * (size_t)i, &pt, 8);
}

// Each checked stroke's points rewritten by the function.
template <typename Fn>
void eachPoint(ObjectRecord *rec, Fn fn)
{
    for (const BrsStroke &s : brsStrokes(rec)) {
        std::vector<POINT> pts = brsStrokePoints(s);
        for (uint32_t i = 0; i < pts.size(); ++i) {
            fn(pts[i]);
            putPoint(s.pointBytes, i, pts[i]);
        }
    }
}

// The poly-Bezier flattened as brsDrawStroke does; empty when it cannot be.
std::vector<POINT> flatten(const POINT *pts, int32_t n, int32_t p)
{
    std::vector<POINT> out;
    int16_t count = 0;
    int16_t use = (int16_t)std::min<int32_t>(n, INT16_MAX);
    MemHandle h = p <= 1 ? geoFlattenBezierFine(pts, use, &count)
                         : geoFlattenBezierRes(pts, use, &count, p);
    if (h) {
        MemLock<POINT> f(h);
        if (f && count > 0)
            out.assign(f.get(), f.get() + count);
    }
    utFreeHandle(h);
    if (out.empty() && n == 1)
        out.push_back(pts[0]);
    return out;
}

int32_t roundClamp(double v)
{
    return geoRound(std::max(-2e9, std::min(2e9, v)));
}

}  // namespace

// ---- profile kinds ------------------------------------------------------------------------------

int32_t brsKindCount() { return kKindCount; }

int32_t brsKindAt(int32_t index)
{
    return index >= 0 && index < kKindCount ? kKinds[index] : 0;
}

int32_t brsKindIndex(int32_t kind)
{
    for (int32_t i = 0; i < kKindCount; ++i)
        if (kKinds[i] == kind)
            return i;
    return -1;
}

bool brsBuildProfile(uint32_t kind, uint32_t samples, std::vector<ShStrokeProfileEntry> &out)
{
    out.clear();
    if (kind == 0)
        return false;
    int32_t n = samples < 2 ? (int32_t)kBrsDefaultSamples
                            : (int32_t)std::min<uint32_t>(samples, kBrsMaxSamples);
    std::vector<double> w;
    if (!widths(kind, n, w))
        return false;
    out.resize((size_t)n);
    for (int32_t i = 0; i < n; ++i)
        out[i] = ShStrokeProfileEntry{(double)i / (n - 1), w[i], 0};
    return true;
}

// ---- strokes ------------------------------------------------------------------------------------

uint8_t *shBrushLinePart(ObjectRecord *rec)
{
    if (!rec || (uint64_t)obDataOffset(rec) + kBrsHeadSize > rec->length)
        return nullptr;
    return obRecData(rec);
}

std::vector<BrsStroke> brsStrokes(ObjectRecord *rec)
{
    std::vector<BrsStroke> out;
    uint8_t *d = shBrushLinePart(rec);
    if (!d)
        return out;
    uint32_t limit = dataLimit(rec);
    int32_t count = getI32(d + 4);
    uint32_t at = kBrsHeadSize;
    // Every stroke is at least 58 bytes, so the walk is bounded by the data.
    for (int32_t k = 0; k < count; ++k) {
        BrsStroke s;
        if (!readStroke(d, at, limit, &s))
            break;
        out.push_back(s);
        at += s.size;
    }
    return out;
}

uint8_t *shBrushLineFirstStroke(ObjectRecord *rec) { return shStrokeAt(rec, 0); }

uint8_t *shStrokeAt(ObjectRecord *rec, int32_t k)
{
    std::vector<BrsStroke> all = brsStrokes(rec);
    return k >= 0 && (size_t)k < all.size() ? all[k].base : nullptr;
}

uint8_t *shStrokePoints(ObjectRecord *rec, uint8_t *stroke)
{
    for (const BrsStroke &s : brsStrokes(rec))
        if (s.base == stroke)
            return s.pointBytes;
    return nullptr;
}

std::vector<POINT> brsStrokePoints(const BrsStroke &s)
{
    std::vector<POINT> pts(s.points);
    if (s.points)
        memcpy(pts.data(), s.pointBytes, 8 * (size_t)s.points);
    return pts;
}

void brsStrokeProfile(const BrsStroke &s, std::vector<ShStrokeProfileEntry> &out)
{
    out.clear();
    if (s.kind != kBrsInlineProfile) {
        brsBuildProfile(s.kind, s.samples, out);
        return;
    }
    if (s.samples < 2)
        return;
    out.resize(s.samples);
    memcpy(out.data(), s.profile, 20 * (size_t)s.samples);
}

void brsDrawStroke(HDC dc, const POINT *pts, int32_t n, int32_t width, COLORREF colour,
                   const BrsStroke &stroke, int32_t p)
{
    if (!dc || !pts || n < 1)
        return;
    std::vector<ShStrokeProfileEntry> profile;
    brsStrokeProfile(stroke, profile);
    std::vector<POINT> flat = flatten(pts, n, p);
    if (flat.empty())
        return;
    const int32_t count = (int32_t)flat.size();
    if (!profile.empty()) {
        shDrawVariableStroke(dc, flat.data(), count, width, colour, profile.data(),
                             (int32_t)profile.size());
    } else {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, width, colour));
        GdiSelect sel(dc, pen);
        if (count <= INT16_MAX)
            gdiPolyline(dc, flat.data(), (int16_t)count);
        else
            Polyline(dc, flat.data(), count);
    }
    if (stroke.flags & 1) {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, stroke.centreColour));
        GdiSelect sel(dc, pen);
        Polyline(dc, flat.data(), count);
    }
}

void brsStrokeBounds(const POINT *pts, int32_t n, int32_t width, const BrsStroke &stroke,
                     int32_t p, RECT *out)
{
    geoSetRect(out, 0, 0, 0, 0);
    if (!pts || n < 1)
        return;
    std::vector<ShStrokeProfileEntry> profile;
    brsStrokeProfile(stroke, profile);
    std::vector<POINT> flat = flatten(pts, n, p);
    if (flat.empty())
        return;
    shVariableStrokeBounds(flat.data(), (int32_t)flat.size(), width,
                           profile.empty() ? nullptr : profile.data(), (int32_t)profile.size(),
                           out);
}

// ---- the object ---------------------------------------------------------------------------------

uint32_t shBrushLineSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t at = obDataOffset(rec);
    uint32_t held = std::min(rec->length, blockSize);
    if ((uint64_t)at + kBrsHeadSize > held)
        return held;
    uint64_t size = (uint64_t)at + std::max(getU32(obRecData(rec)), kBrsHeadSize);
    rec->length = size <= blockSize ? (uint32_t)size : held;
    return rec->length;
}

void shBrushLineDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    const int32_t p = dmGetPixelSize();
    for (const BrsStroke &s : brsStrokes(rec)) {
        std::vector<POINT> pts = brsStrokePoints(s);
        // The stored points are relative to the centre.
        for (POINT &pt : pts) {
            pt.x += rec->centreX;
            pt.y += rec->centreY;
        }
        brsDrawStroke(dc, pts.data(), (int32_t)pts.size(), s.width, s.colour, s, p);
    }
    obRestoreDCModes(dc, &modes);
}

void shBrushLineDraw(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        shBrushLineDraw(dc, r.get());
}

void shBrushLineOutline(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    for (const BrsStroke &s : brsStrokes(rec)) {
        std::vector<POINT> pts = brsStrokePoints(s);
        for (POINT &pt : pts) {
            pt.x += rec->centreX;
            pt.y += rec->centreY;
        }
        gdiPolyBezier(dc, pts.data(), (int16_t)std::min<size_t>(pts.size(), INT16_MAX));
    }
    obRestoreDCModes(dc, &modes);
}

void shBrushLineBounds(ObjectRecord *rec, RECT *r)
{
    if (!rec)
        return;
    const POINT old = {rec->centreX, rec->centreY};
    std::vector<BrsStroke> strokes = brsStrokes(rec);
    if (strokes.empty()) {
        rec->centreX = rec->centreY = rec->width = rec->height = 0;
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return;
    }
    const int32_t p = dmGetPixelSize();
    RECT all = {0, 0, 0, 0};
    bool any = false;
    for (const BrsStroke &s : strokes) {
        std::vector<POINT> pts = brsStrokePoints(s);
        if (pts.empty())
            continue;
        RECT b;
        brsStrokeBounds(pts.data(), (int32_t)pts.size(), s.width, s, p, &b);
        if (any)
            geoUnionRect(&all, &all, &b);
        else
            all = b;
        any = true;
    }
    geoOffsetRect(&all, old.x, old.y);
    obRecSetRect(rec, &all);
    const int32_t dx = old.x - rec->centreX, dy = old.y - rec->centreY;
    if (dx || dy)
        eachPoint(rec, [dx, dy](POINT &pt) {
            pt.x += dx;
            pt.y += dy;
        });
    if (r)
        *r = all;
}

BOOL shBrushLineBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec) {
        if (r)
            geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    shBrushLineBounds(rec.get(), r);
    return TRUE;
}

void shBrushLineRescale(MemHandle h, const RECT *target)
{
    ObLock r(h);
    if (!r || !target)
        return;
    ObjectRecord *rec = r.get();
    const double sx = rec->width ? (double)((int64_t)target->right - target->left) / rec->width : 1.0;
    const double sy = rec->height ? (double)((int64_t)target->bottom - target->top) / rec->height : 1.0;
    for (const BrsStroke &s : brsStrokes(rec)) {
        int32_t w = std::max(1, roundClamp(s.width * (fabs(sx) + fabs(sy)) / 2));
        memcpy(s.base + BRS_WIDTH, &w, 4);
    }
    eachPoint(rec, [sx, sy](POINT &pt) {
        pt.x = roundClamp(pt.x * sx);
        pt.y = roundClamp(pt.y * sy);
    });
    obRecSetRect(rec, target);
    shBrushLineBounds(rec, nullptr);
}

void shBrushLineRotate(MemHandle h, POINT pt, int16_t angle)
{
    ObLock r(h);
    if (!r)
        return;
    ObjectRecord *rec = r.get();
    int32_t g = obNormaliseAngle((int32_t)rec->rotation + angle);
    rec->rotation = 0;
    if (g == 0)
        return;
    const double radians = geoTenthsToRadians(-(double)g);
    const POINT c = {rec->centreX, rec->centreY};
    eachPoint(rec, [&](POINT &q) {
        POINT a = {q.x + c.x, q.y + c.y};
        geoRotatePointsAbout(&a, 1, pt, radians);
        q.x = a.x - c.x;
        q.y = a.y - c.y;
    });
    shBrushLineBounds(rec, nullptr);
}

void shBrushLineFlipH(ObjectRecord *rec)
{
    if (rec)
        eachPoint(rec, [](POINT &q) { q.x = -q.x; });
}

void shBrushLineFlipV(ObjectRecord *rec)
{
    if (rec)
        eachPoint(rec, [](POINT &q) { q.y = -q.y; });
}

int32_t shBrushLineStrokeCount(MemHandle h)
{
    ObLock r(h);
    return r ? (int32_t)brsStrokes(r.get()).size() : 0;
}

uint8_t *shBrushLineGetStroke(MemHandle h, int32_t i)
{
    ObjectRecord *rec = h ? static_cast<ObjectRecord *>(utLock(h)) : nullptr;
    if (!rec)
        return nullptr;
    uint8_t *stroke = utHandleSize(h) >= kObHeadSize && rec->length <= utHandleSize(h)
                          ? shStrokeAt(rec, i)
                          : nullptr;
    if (!stroke)
        utUnlock(h);
    return stroke;
}

int shStrokeBounds(MemHandle h, int32_t i, RECT *r)
{
    ObLock rec(h);
    if (!rec)
        return 0;
    std::vector<BrsStroke> all = brsStrokes(rec.get());
    if (i < 0 || (size_t)i >= all.size())
        return 0;
    std::vector<POINT> pts = brsStrokePoints(all[i]);
    RECT b;
    brsStrokeBounds(pts.data(), (int32_t)pts.size(), all[i].width, all[i], dmGetPixelSize(), &b);
    geoOffsetRect(&b, rec->centreX, rec->centreY);
    if (r)
        *r = b;
    return 1;
}

BOOL shBrushLineReadCheck(const ObjectRecord *rec, uint32_t)
{
    ObjectRecord *r = const_cast<ObjectRecord *>(rec);
    uint8_t *d = shBrushLinePart(r);
    if (!d || !obHeadWithinLimits(rec))
        return FALSE;
    std::vector<BrsStroke> strokes = brsStrokes(r);
    if (getI32(d + 4) < 0 || (size_t)getI32(d + 4) != strokes.size())
        return FALSE;
    for (const BrsStroke &s : strokes) {
        if (!obSizeWithinLimits(s.width) ||
            (s.kind != kBrsInlineProfile && s.samples > kBrsMaxSamples))
            return FALSE;
        for (const POINT &p : brsStrokePoints(s))
            if (!shOffsetWithinLimits(rec, p.x, p.y))
                return FALSE;
    }
    return TRUE;
}
