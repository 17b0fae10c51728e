// Rescaling, rotating and mirroring objects and trees, the gradient block
// kept in step, and the angle arithmetic they share.
#include "model/ob_transform.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_types.h"
#include "model/sh_gradient.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>

namespace {

// The gradient block of a locked record with fill kind 3, copied out; false
// when it has none.
bool readGradient(ObjectRecord *rec, GradientFillBlock *g)
{
    if (rec->fillKind != 3)
        return false;
    uint8_t *block = obGetFillData(rec);
    if (!block)
        return false;
    memcpy(g, block, sizeof *g);
    return true;
}

void writeGradient(ObjectRecord *rec, const GradientFillBlock *g)
{
    if (uint8_t *block = obGetFillData(rec))
        memcpy(block, g, sizeof *g);
}

double sinDeg(double d) { return sin(d * kGeoPi / 180); }
double cosDeg(double d) { return cos(d * kGeoPi / 180); }

// The gradient rescaled with its shape by (sx, sy).
void scaleGradient(GradientFillBlock *g, double sx, double sy)
{
    int32_t a = filGradientAngle(g);   // from the block before scaling
    int32_t oldX = g->dx, oldY = g->dy;
    g->dx = geoRound(oldX * sx);
    g->dy = geoRound(oldY * sy);
    g->offsetX = geoRound(g->offsetX * sx);
    g->offsetY = geoRound(g->offsetY * sy);
    switch (g->type) {
    case GRAD_LINEAR: {
        if (a % 900 == 0)
            return;   // 0, 900, 1800, 2700: the axes scale as they are
        int32_t whole = a / 10;
        int32_t turned = geoRound(10 * atan(sinDeg(whole) * sy / (cosDeg(whole) * sx)) * 180 / kGeoPi);
        int32_t b = turned / 10;
        double sinA2 = sinDeg(whole) * sinDeg(whole);
        double f1 = sinA2 == 0 ? 1.0 : sx * sinDeg(b) * sinDeg(b) / sinA2;
        double csA = cosDeg(whole) * sinDeg(whole);
        double f2 = csA == 0 ? 1.0 : sx * cosDeg(b) * sinDeg(b) / csA;
        g->dx = geoRound(oldX * f1);
        g->dy = geoRound(oldY * f2);
        break;
    }
    case GRAD_CIRCLE:
    case GRAD_ELLIPSE:
        g->type = g->dx == g->dy ? GRAD_CIRCLE : GRAD_ELLIPSE;
        break;
    case GRAD_SQUARE:
    case GRAD_RECTANGLE:
        g->type = g->dx == g->dy ? GRAD_SQUARE : GRAD_RECTANGLE;
        break;
    default:
        break;
    }
}

// The gradient turned with its shape about pt by the angle: its centre
// (offset from the old centre) turned about pt and kept relative to the new
// centre; a linear gradient's vector turned with it.
void rotateGradient(GradientFillBlock *g, POINT oldCentre, POINT newCentre, POINT pt, int16_t angle)
{
    double radians = -angle * 0.1 * kGeoPi / 180;
    POINT c = {oldCentre.x + g->offsetX, oldCentre.y + g->offsetY};
    geoRotatePointsAbout(&c, 1, pt, radians);
    g->offsetX = c.x - newCentre.x;
    g->offsetY = c.y - newCentre.y;
    switch (g->type) {
    case GRAD_LINEAR: {
        g->angle = 0;
        POINT v = {g->dx, g->dy};
        geoRotatePoints(&v, 1, radians);
        g->dx = v.x;
        g->dy = v.y;
        break;
    }
    case GRAD_CIRCLE:
    case GRAD_OUTLINE:
    case GRAD_OUTLINE_SIZE:
        g->angle = 0;
        break;
    default:
        g->angle = (int16_t)(g->angle + angle);
        break;
    }
}

int32_t mirrorCoord(int32_t axis, int32_t v) { return (int32_t)(2 * (int64_t)axis - v); }

// The tree below h with every object after the objects below it (the walk
// order reversed).
std::vector<MemHandle> treeBottomUp(MemHandle h, unsigned links)
{
    std::vector<MemHandle> nodes;
    obCollectTree(h, links, nodes);
    std::reverse(nodes.begin(), nodes.end());
    return nodes;
}

void mirror(MemHandle h, int32_t axis, bool horizontal)
{
    const ObTypeProcs &p = obTypeProcs(obGetType(h));
    if (p.mirrorHandle) {
        // Its source was mirrored by the tree walk; the rule follows.
        {
            ObLock r(h);
            if (horizontal)
                r->centreX = mirrorCoord(axis, r->centreX);
            else
                r->centreY = mirrorCoord(axis, r->centreY);
        }
        p.mirrorHandle(h, horizontal);
        return;
    }
    ObLock r(h);
    if (!r)
        return;
    ObjectRecord *rec = r.get();
    if (horizontal)
        rec->centreX = mirrorCoord(axis, rec->centreX);
    else
        rec->centreY = mirrorCoord(axis, rec->centreY);
    if (p.flags & OBTF_MIRRORS_ROTATION) {
        rec->rotation = (uint16_t)(horizontal ? obHalfTurnToZero(obMirrorAngleH(rec->rotation))
                                              : obMirrorAngleV(rec->rotation));
    } else if (p.mirror) {
        p.mirror(rec, horizontal);
    }
    GradientFillBlock g;
    if (readGradient(rec, &g)) {
        horizontal ? shGradientFlipH(&g) : shGradientFlipV(&g);
        writeGradient(rec, &g);
    }
}

}  // namespace

// ---- rescaling ----------------------------------------------------------------------------

MemHandle objScale(MemHandle h, double sx, double sy, int32_t ox, int32_t oy, int32_t nx,
                   int32_t ny)
{
    RECT target;
    int16_t type;
    {
        ObLock r(h);
        if (!r)
            return 0;
        type = r->type;
        RECT local;
        obRecGetLocalRect(r.get(), &local);
        int32_t cx = geoRound((double)(r->centreX - (double)ox) * sx + nx);
        int32_t cy = geoRound((double)(r->centreY - (double)oy) * sy + ny);
        geoSetRect(&target, geoRound(local.left * sx), geoRound(local.top * sy),
                   geoRound(local.right * sx), geoRound(local.bottom * sy));
        geoOffsetRect(&target, cx, cy);
    }
    const ObTypeProcs &p = obTypeProcs(type);
    if (p.flags & OBTF_KEEPS_BOX)
        return h;
    MemHandle now = h;
    if (!p.rescale || !p.rescale(&now, &target)) {
        obSetRect(h, &target);
        now = h;
    }
    if (!now)
        return h;   // no memory to convert: the object stays as it was
    h = now;
    if (p.flags & OBTF_SCALE_KEEPS_GRADIENT)
        return h;
    ObLock r(h);
    GradientFillBlock g;
    if (r && readGradient(r.get(), &g)) {
        scaleGradient(&g, sx, sy);
        writeGradient(r.get(), &g);
    }
    return h;
}

MemHandle obTreeScale(MemHandle h, double sx, double sy, int32_t ox, int32_t oy, int32_t nx,
                      int32_t ny)
{
    if (sx == 0 && sy == 0)
        return h;
    if (sx == 1.0 && sy == 1.0 && nx == ox && ny == oy)
        return h;
    // The root comes last; an object that moved has been relinked to its
    // owner and neighbours by the resize.
    MemHandle root = h;
    for (MemHandle n : treeBottomUp(h, OB_WALK_ALL)) {
        MemHandle now = objScale(n, sx, sy, ox, oy, nx, ny);
        if (n == h)
            root = now;
    }
    return root;
}

MemHandle obScaleBy(MemHandle h, double factor)
{
    POINT c;
    {
        ObLock r(h);
        if (!r)
            return h;
        c = {r->centreX, r->centreY};
    }
    return obTreeScale(h, factor, factor, c.x, c.y, c.x, c.y);
}

MemHandle obFitToRect(MemHandle h, const RECT *rect)
{
    int16_t type = obGetType(h);
    if (!type || !rect)
        return h;
    RECT target, old;
    geoRectFromPoints(POINT{rect->left, rect->top}, POINT{rect->right, rect->bottom}, &target);
    obGetRect(h, &old);
    int32_t w = old.right - old.left, ht = old.bottom - old.top;
    double sx = w ? (double)(target.right - target.left) / w : 1.0;
    double sy = ht ? (double)(target.bottom - target.top) / ht : 1.0;
    POINT from, to;
    geoRectCentre(&old, &from);
    geoRectCentre(&target, &to);
    h = obTreeScale(h, sx, sy, from.x, from.y, to.x, to.y);

    // The first matching test names the edge that stayed.
    RECT now;
    obGetRect(h, &now);
    const ObTypeProcs &p = obTypeProcs(type);
    if (p.keepsRightEdge && p.keepsRightEdge(h) && old.right == target.right)
        obMoveBy(h, old.right - now.right, 0);
    else if (old.left == target.left)
        obMoveBy(h, old.left - now.left, 0);
    else if (old.right != target.right) {
        if (old.top == target.top)
            obMoveBy(h, 0, old.top - now.top);
        else if (old.bottom == target.bottom)
            obMoveBy(h, 0, old.bottom - now.bottom);
    } else {
        obMoveBy(h, old.right - now.right, 0);
    }
    return h;
}

MemHandle obScalePercent(MemHandle h, int32_t percent)
{
    if (percent == 0 || !ObLock(h))
        return h;
    int64_t p = llabs((int64_t)percent);
    RECT old;
    obGetRect(h, &old);
    int64_t w = old.right - old.left, ht = old.bottom - old.top;
    int64_t nw = w * p / 100, nh = ht * p / 100;
    int32_t px = dmGetPixelWidth(), py = dmGetPixelHeight();
    if (w >= px && nw < px)
        nw = px;
    if (ht >= py && nh < py)
        nh = py;
    POINT c;
    geoRectCentre(&old, &c);
    RECT target = {(LONG)(c.x - nw / 2), (LONG)(c.y - nh / 2), (LONG)(c.x + nw / 2),
                   (LONG)(c.y + nh / 2)};
    return obFitToRect(h, &target);
}

// ---- rotating ------------------------------------------------------------------------------

void objFlipRotate(MemHandle h, POINT pt, int16_t angle)
{
    int16_t type;
    POINT before;
    {
        ObLock r(h);
        if (!r)
            return;
        type = r->type;
        before = {r->centreX, r->centreY};
    }
    const ObTypeProcs &p = obTypeProcs(type);
    if (!p.flipRotate || !p.flipRotate(h, pt, angle))
        return;   // no module: nothing turns
    if (p.flags & OBTF_ROTATE_KEEPS_GRADIENT)
        return;
    ObLock r(h);
    GradientFillBlock g;
    if (r && readGradient(r.get(), &g)) {
        rotateGradient(&g, before, POINT{r->centreX, r->centreY}, pt, angle);
        writeGradient(r.get(), &g);
    }
}

void obTreeFlipRotate(MemHandle h, POINT pt, int16_t angle)
{
    if (!h || angle == 0)
        return;
    for (MemHandle n : treeBottomUp(h, OB_WALK_MEMBERS))
        objFlipRotate(n, pt, angle);
}

// ---- mirroring -----------------------------------------------------------------------------

void obFlipHorizontal(MemHandle h, int32_t axisX) { mirror(h, axisX, true); }
void obFlipVertical(MemHandle h, int32_t axisY) { mirror(h, axisY, false); }

void obTreeFlipHorizontal(MemHandle h, int32_t axisX)
{
    for (MemHandle n : treeBottomUp(h, OB_WALK_ALL))
        obFlipHorizontal(n, axisX);
}

void obTreeFlipVertical(MemHandle h, int32_t axisY)
{
    for (MemHandle n : treeBottomUp(h, OB_WALK_ALL))
        obFlipVertical(n, axisY);
}

// ---- angles and axes ---------------------------------------------------------------------------

int32_t obNormaliseAngle(int32_t angle)
{
    angle %= 3600;
    return angle < 0 ? angle + 3600 : angle;
}

int32_t obMirrorAngleH(int32_t angle)
{
    int32_t a = 1800 - angle;
    return a < 0 ? a + 3600 : a;
}

int32_t obMirrorAngleV(int32_t angle)
{
    if (angle == 0)
        return 0;
    int32_t a = 3600 - angle;
    return a < 0 ? a + 3600 : a;
}

int32_t obHalfTurnToZero(int32_t angle) { return angle == 1800 || angle == 3600 ? 0 : angle; }

void obSwapSizeAndScale(ObjectRecord *rec)
{
    if (!rec)
        return;
    std::swap(rec->width, rec->height);
    std::swap(rec->scaleX, rec->scaleY);
}
