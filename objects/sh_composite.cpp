// Composite objects: the copies placed by the rule, drawn, shadowed and
// measured; the pattern rescaled, turned and mirrored.
#include "objects/sh_composite.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_transform.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_mem.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// Each of the red, green and blue bytes of c plus those of d, modulo 256.
uint32_t addColour(uint32_t c, uint32_t d)
{
    uint32_t out = c & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8)
        out |= ((((c >> shift) & 0xFF) + ((d >> shift) & 0xFF)) & 0xFF) << shift;
    return out;
}

// A factor of a stored float: non-finite values count as 0 (none).
double factor(float f)
{
    return isfinite(f) ? (double)f : 0.0;
}

POINT centreOf(MemHandle h)
{
    POINT c = {0, 0};
    obGetCentre(h, &c);
    return c;
}

bool withinLimit(int64_t v) { return v >= -kCpCoordLimit && v <= kCpCoordLimit; }

bool centreWithinLimits(MemHandle h)
{
    ObLock r(h);
    return r && withinLimit(r->centreX) && withinLimit(r->centreY);
}

bool sizeWithinLimits(MemHandle h)
{
    ObLock r(h);
    return r && llabs(r->width) <= kCpCoordLimit && llabs(r->height) <= kCpCoordLimit;
}

// Every object of the tree gets the deltas added to its colours.
void stepColours(MemHandle work, const CompositeData *d)
{
    if (!d->penDelta && !d->fillDelta && !d->backDelta)
        return;
    std::vector<MemHandle> nodes;
    obCollectTree(work, OB_WALK_ALL, nodes);
    for (MemHandle n : nodes) {
        ObLock r(n);
        if (!r)
            continue;
        r->penColour = addColour(r->penColour, d->penDelta);
        r->fillColour = addColour(r->fillColour, d->fillDelta);
        r->backColour = addColour(r->backColour, d->backDelta);
    }
}

// The scale of step 6: about the copy's own centre, when neither factor is
// 0 and not both are 1. False when the copy grew past the size limit.
bool scaleCopy(MemHandle *work, const CompositeData *d)
{
    double sx = factor(d->scaleX), sy = factor(d->scaleY);
    if (sx == 0 || sy == 0 || (sx == 1.0 && sy == 1.0))
        return true;
    // A factor that carries any side past the limit ends the pattern
    // before the arithmetic can overflow.
    {
        ObLock r(*work);
        if (!r || fabs(r->width * sx) > kCpCoordLimit || fabs(r->height * sy) > kCpCoordLimit)
            return false;
    }
    POINT c = centreOf(*work);
    *work = obTreeScale(*work, sx, sy, c.x, c.y, c.x, c.y);
    return sizeWithinLimits(*work);
}

// m x f^n rounded half away from zero (f of 0 counts as 1).
int32_t grownMove(int32_t m, double f, int32_t n)
{
    if (f == 0)
        return m;
    double v = m * pow(f, n);
    if (!isfinite(v))
        return v > 0 ? INT32_MAX : INT32_MIN;
    return geoRound(std::max(-2e9, std::min(2e9, v)));
}

bool moveCopy(MemHandle work, int64_t mx, int64_t my)
{
    POINT c = centreOf(work);
    if (!withinLimit(c.x + mx) || !withinLimit(c.y + my))
        return false;
    obMoveBy(work, (int32_t)mx, (int32_t)my);
    return true;
}

void rotateCopy(MemHandle work, POINT pt, uint16_t step)
{
    int32_t a = obNormaliseAngle(step);
    if (a)
        obTreeFlipRotate(work, pt, (int16_t)a);
}

// The move of copy n in modes 0, 2 and 3; false when there is no copy n.
bool lineMove(const CompositeData *d, int32_t n, int64_t *mx, int64_t *my)
{
    *mx = *my = 0;
    const int64_t c = d->count, r = d->rows;
    switch (d->mode) {
    case CP_LINE:
        if (n >= c)
            return false;
        *mx = d->stepX;
        *my = d->stepY;
        return true;
    case CP_GRID:
        if (r < 1) {
            if (n >= c)
                return false;
            *mx = d->stepX;
            return true;
        }
        if (c < 1 || n >= c * r)
            return false;
        if (n % c) {
            *mx = d->stepX;
        } else {
            *mx = -(int64_t)d->stepX * (c - 1);
            *my = d->stepY;
        }
        return true;
    case CP_FRAME:
        if (n >= 2 * (c + r) - 4)
            return false;
        if (n < c)
            *mx = d->stepX;
        else if (n < c + r - 1)
            *my = d->stepY;
        else if (n < 2 * c + r - 2)
            *mx = -(int64_t)d->stepX;
        else
            *my = -(int64_t)d->stepY;
        return true;
    default:
        return false;
    }
}

// A copy of the tree at h standing alone: no list neighbours, and no
// members after it (a source is one tree, whatever its links say).
MemHandle copyAlone(MemHandle h)
{
    MemHandle c = obCopyTree(h, 0);
    if (!c)
        return 0;
    MemHandle after;
    {
        ObLock r(c);
        r->prev = r->next = 0;
        after = r->nextMember;
        r->nextMember = 0;
    }
    obFreeTree(after);
    return c;
}

// Copies left to the outermost pattern being drawn or measured. A source
// may itself be a composite: its copies come out of the same budget, so
// nested composites never make more than kCpMaxCopies copies in all.
int32_t g_budget = 0;
int32_t g_depth = 0;

// Generates the copies of a composite from the source: copy 0 is a working
// copy of the source, each later one that copy placed further. fn gets
// each copy (turned by the composite's rotation about its centre when it
// has one). `prepare` adjusts the working copy once before the loop.
template <typename Prepare, typename Fn>
void eachCopy(MemHandle source, const CompositeData *d, bool hasRule, POINT centre,
              uint16_t rotation, Prepare prepare, Fn fn)
{
    if (g_depth == 0)
        g_budget = kCpMaxCopies;
    if (g_budget <= 0)
        return;
    MemHandle work = copyAlone(source);
    if (!work)
        return;
    ++g_depth;
    prepare(work);
    for (int32_t n = 0; n < kCpMaxCopies && g_budget > 0; ++n) {
        if (n > 0 && (!hasRule || !shCompositePlaceCopy(source, &work, d, n)))
            break;
        --g_budget;
        if (rotation) {
            MemHandle turned = copyAlone(work);
            if (!turned)
                break;
            obTreeFlipRotate(turned, centre, (int16_t)obNormaliseAngle(rotation));
            fn(turned);
            obFreeTree(turned);
        } else {
            fn(work);
        }
    }
    --g_depth;
    obFreeTree(work);
}

void drawCopies(HDC dc, ObjectRecord *rec, MemHandle source, const CompositeData *d,
                bool hasRule, POINT centre)
{
    const bool notXor = (rec->flags & OBF_NOTXOR) != 0;
    eachCopy(
        source, d, hasRule, centre, rec->rotation,
        [notXor](MemHandle work) {
            // The composite's own shadow rule applies instead of the copies'.
            obSetFlagsTree(work, OBF_SHADOW, FALSE);
            obSetFlagsTree(work, OBF_NOTXOR, notXor);
        },
        [dc](MemHandle copy) { obDraw(dc, copy); });
}

// The drawn rectangle of a copy's whole tree.
void treeDrawnRect(MemHandle copy, RECT *out, bool *any)
{
    std::vector<MemHandle> nodes;
    obCollectTree(copy, OB_WALK_ALL, nodes);
    for (MemHandle n : nodes) {
        RECT r;
        if (!obGetDrawnRect(n, &r))
            continue;
        if (*any)
            geoUnionRect(out, out, &r);
        else
            *out = r;
        *any = true;
    }
}

// Rewrites the rule of a locked composite by fn (only when it holds one),
// then recomputes the box.
template <typename Fn>
void changeRule(MemHandle h, Fn fn)
{
    {
        ObLock r(h);
        if (!r)
            return;
        CompositeData d;
        if (!shCompositeData(r.get(), &d))
            return;
        fn(r.get(), &d);
        memcpy(obRecData(r.get()), &d, sizeof d);
    }
    shCompositeUpdateRect(h, nullptr);
}

int32_t scaled(int32_t v, double f) { return geoRound(std::max(-2e9, std::min(2e9, v * f))); }

}  // namespace

BOOL shCompositeData(const ObjectRecord *rec, CompositeData *data)
{
    memset(data, 0, sizeof *data);
    if (!rec)
        return FALSE;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + sizeof *data > rec->length) {
        data->mode = CP_SOURCE_ONLY;
        return FALSE;
    }
    memcpy(data, reinterpret_cast<const uint8_t *>(rec) + at, sizeof *data);
    return TRUE;
}

uint32_t shCompositeSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t at = obDataOffset(rec);
    uint32_t held = std::min(rec->length, blockSize);
    if ((uint64_t)at + 4 > held)
        return held;
    uint32_t own;
    memcpy(&own, obRecData(rec), 4);
    uint64_t size = (uint64_t)at + own;
    rec->length = size <= blockSize ? (uint32_t)size : held;
    return rec->length;
}

uint32_t shCompositeSize(MemHandle h)
{
    ObLock r(h);
    return r ? shCompositeSize(r.get(), r.blockSize()) : 0;
}

int shCompositePlaceCopy(MemHandle source, MemHandle *work, const CompositeData *d, int32_t n)
{
    if (!source || !work || !*work || !d || n < 1 || n >= kCpMaxCopies)
        return 0;
    const POINT src = centreOf(source);
    const bool growMoves = (d->flags & kCpFlagScaleMoves) != 0;
    switch (d->mode) {
    case CP_LINE:
    case CP_GRID:
    case CP_FRAME: {
        int64_t mx, my;
        if (!lineMove(d, n, &mx, &my))
            return 0;
        stepColours(*work, d);
        if (growMoves) {
            mx = grownMove((int32_t)std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, mx)),
                           factor(d->scaleX), n);
            my = grownMove((int32_t)std::max<int64_t>(INT32_MIN, std::min<int64_t>(INT32_MAX, my)),
                           factor(d->scaleY), n);
        }
        if (!moveCopy(*work, mx, my) || !scaleCopy(work, d))
            return 0;
        POINT pt = {src.x + d->dx, src.y + d->dy};
        if (d->mode == CP_FRAME) {
            POINT c = centreOf(*work);
            pt = {c.x + d->dx, c.y + d->dy};
        }
        rotateCopy(*work, pt, d->angleStep);
        return 1;
    }
    case CP_ROTATE:
    case CP_RING: {
        if (n >= d->count)
            return 0;
        stepColours(*work, d);
        const POINT pt = {src.x + d->dx, src.y + d->dy};
        if (!scaleCopy(work, d))
            return 0;
        if (d->mode == CP_RING) {
            int32_t r = growMoves ? grownMove(d->stepX, factor(d->scaleX), n) : d->stepX;
            POINT c = centreOf(*work);
            int64_t ex = (int64_t)c.x - pt.x, ey = (int64_t)c.y - pt.y;
            int64_t len = geoRound(sqrt((double)ex * ex + (double)ey * ey));
            int64_t mx = len ? (int64_t)r * ex / len : r, my = len ? (int64_t)r * ey / len : 0;
            if (!moveCopy(*work, mx, my))
                return 0;
        }
        rotateCopy(*work, pt, d->angleStep);
        return 1;
    }
    case CP_MIRROR_H:
    case CP_MIRROR_V: {
        if (n != 1)
            return 0;
        POINT c = centreOf(*work);
        if (d->mode == CP_MIRROR_H)
            obTreeFlipHorizontal(*work, c.x + d->stepX / 2);
        else
            obTreeFlipVertical(*work, c.y + d->stepY / 2);
        return 1;
    }
    case CP_QUADRANTS: {
        if (n > 3)
            return 0;
        RECT q = {src.x + d->dx, src.y + d->dy, src.x + d->stepX, src.y + d->stepY};
        POINT c = centreOf(*work);
        if (n != 2)
            obTreeFlipHorizontal(*work, c.x);
        if (n != 1)
            obTreeFlipVertical(*work, c.y);
        if (n == 1)
            obMoveTopRightTo(*work, POINT{q.right, q.top});
        else if (n == 2)
            obMoveBottomLeftTo(*work, POINT{q.left, q.bottom});
        else
            obMoveBottomRightTo(*work, POINT{q.right, q.bottom});
        return centreWithinLimits(*work) ? 1 : 0;
    }
    default:
        return 0;   // mode 1 (the source alone) and unknown modes
    }
}

void shCompositeDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec || !rec->attached)
        return;
    CompositeData d;
    bool hasRule = shCompositeData(rec, &d) != FALSE;
    drawCopies(dc, rec, rec->attached, &d, hasRule, POINT{rec->centreX, rec->centreY});
}

void shCompositeShadow(HDC dc, ObjectRecord *rec, COLORREF colour, int32_t dx, int32_t dy)
{
    if (!dc || !rec || !rec->attached)
        return;
    CompositeData d;
    bool hasRule = shCompositeData(rec, &d) != FALSE;
    d.penDelta = d.fillDelta = d.backDelta = 0;
    // The source in the shadow's colours, solid, moved by the offset with
    // the composite's centre: the pattern is the same, shifted.
    MemHandle shade = copyAlone(rec->attached);
    if (!shade)
        return;
    std::vector<MemHandle> nodes;
    obCollectTree(shade, OB_WALK_ALL, nodes);
    for (MemHandle n : nodes) {
        ObLock r(n);
        if (!r)
            continue;
        r->penColour = r->fillColour = r->backColour = colour;
        if (r->fillKind)
            r->fillKind = 1;
        r->flags &= ~(OBF_SHADOW | OBF_ALL_CHORDS);
    }
    obMoveBy(shade, dx, dy);
    drawCopies(dc, rec, shade, &d, hasRule,
               POINT{(LONG)((int64_t)rec->centreX + dx), (LONG)((int64_t)rec->centreY + dy)});
    obFreeTree(shade);
}

BOOL shCompositeUpdateRect(MemHandle h, RECT *out)
{
    ObLock r(h);
    if (!r) {
        if (out)
            geoSetRect(out, 0, 0, 0, 0);
        return FALSE;
    }
    ObjectRecord *rec = r.get();
    RECT box;
    obRecGetRect(rec, &box);
    if (rec->attached) {
        CompositeData d;
        bool hasRule = shCompositeData(rec, &d) != FALSE;
        const POINT centre = {rec->centreX, rec->centreY};
        RECT all = {0, 0, 0, 0};
        bool any = false;
        eachCopy(
            rec->attached, &d, hasRule, centre, rec->rotation, [](MemHandle) {},
            [&](MemHandle copy) { treeDrawnRect(copy, &all, &any); });
        if (any) {
            if (rec->rotation) {
                int64_t hw = std::max<int64_t>((int64_t)centre.x - all.left, (int64_t)all.right - centre.x);
                int64_t hh = std::max<int64_t>((int64_t)centre.y - all.top, (int64_t)all.bottom - centre.y);
                hw = std::min<int64_t>(hw, INT32_MAX / 2);
                hh = std::min<int64_t>(hh, INT32_MAX / 2);
                geoSetRect(&all, (int32_t)(centre.x - hw), (int32_t)(centre.y - hh),
                           (int32_t)(centre.x + hw), (int32_t)(centre.y + hh));
            }
            obRecSetRect(rec, &all);
            box = all;
        }
    }
    if (out)
        *out = box;
    return TRUE;
}

void shCompositeRescale(MemHandle h, const RECT *target)
{
    if (!target)
        return;
    int64_t tw = (int64_t)target->right - target->left, th = (int64_t)target->bottom - target->top;
    if (tw == 0 || th == 0)
        return;
    changeRule(h, [&](ObjectRecord *rec, CompositeData *d) {
        // A box of no size cannot give a factor: that axis keeps its moves.
        double fx = rec->width ? (double)tw / rec->width : 1.0;
        double fy = rec->height ? (double)th / rec->height : 1.0;
        POINT c;
        geoRectCentre(target, &c);
        rec->centreX = c.x;
        rec->centreY = c.y;
        d->stepX = scaled(d->stepX, fx);
        d->dx = scaled(d->dx, fx);
        d->stepY = scaled(d->stepY, fy);
        d->dy = scaled(d->dy, fy);
    });
}

void shCompositeRotate(MemHandle h, POINT pt, int16_t angle)
{
    POINT old, now;
    {
        ObLock r(h);
        if (!r)
            return;
        old = now = POINT{r->centreX, r->centreY};
    }
    geoRotatePointsAbout(&now, 1, pt, geoTenthsToRadians(-(double)angle));
    obMoveAloneBy(h, now.x - old.x, now.y - old.y);
    {
        ObLock r(h);
        r->rotation = (uint16_t)obNormaliseAngle((int32_t)r->rotation + angle);
    }
    shCompositeUpdateRect(h, nullptr);
}

void shCompositeMirrorH(MemHandle h)
{
    changeRule(h, [](ObjectRecord *, CompositeData *d) {
        d->stepX = -d->stepX;
        d->dx = -d->dx;
        d->angleStep = (uint16_t)obNormaliseAngle(3600 - (int32_t)d->angleStep);
    });
}

void shCompositeMirrorV(MemHandle h)
{
    changeRule(h, [](ObjectRecord *, CompositeData *d) {
        d->stepY = -d->stepY;
        d->dy = -d->dy;
        d->angleStep = (uint16_t)obNormaliseAngle(3600 - (int32_t)d->angleStep);
    });
}
