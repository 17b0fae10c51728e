// Rescaling, rotating and mirroring one object through its type, and the
// angle arithmetic they share.
#include "model/ob_transform.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "support/geo_rect.h"

void objScale(MemHandle h, double sx, double sy, int32_t ox, int32_t oy, int32_t nx,
              int32_t ny)
{
    RECT target;
    int16_t type;
    {
        ObLock r(h);
        if (!r)
            return;
        type = r->type;
        RECT local;
        obRecGetLocalRect(r.get(), &local);
        int32_t cx = geoRound((double)(r->centreX - (double)ox) * sx + nx);
        int32_t cy = geoRound((double)(r->centreY - (double)oy) * sy + ny);
        geoSetRect(&target, geoRound(local.left * sx), geoRound(local.top * sy),
                   geoRound(local.right * sx), geoRound(local.bottom * sy));
        geoOffsetRect(&target, cx, cy);
    }
    switch (type) {
    case OBT_XY_PLOT:
    case OBT_BAR_CHART:
    case OBT_TS_PLOT:
    case OBT_PIE_CHART:
    case OBT_ANCHOR:
    case OBT_HORZ_RULE:
    case OBT_SHAPE803:
        return;   // these keep their box
    default:
        if (!objScaleExt(h, &target))
            obSetRect(h, &target);
        break;
    }
}

void objFlipRotate(MemHandle h, POINT pt, int16_t angle)
{
    switch (obGetType(h)) {
    case 0:
        return;
    case OBT_GROUP:
    case OBT_CHAIN: {
        // The members were turned one by one; the box follows them.
        RECT box;
        obFitToMembers(h, &box);
        break;
    }
    default:
        objFlipRotateExt(h, pt, angle);
        break;
    }
}

namespace {
bool mirrorsRotation(int16_t t)
{
    return t == OBT_SQUARE || t == OBT_RECTANGLE || t == OBT_ROUNDRECT || t == OBT_ELLIPSE ||
           t == OBT_DIAMOND;
}

int32_t mirrorCoord(int32_t axis, int32_t v) { return (int32_t)(2 * (int64_t)axis - v); }
}  // namespace

void obFlipHorizontal(MemHandle h, int32_t axisX)
{
    ObLock r(h);
    if (!r)
        return;
    r->centreX = mirrorCoord(axisX, r->centreX);
    if (mirrorsRotation(r->type))
        r->rotation = (uint16_t)obHalfTurnToZero(obMirrorAngleH(r->rotation));
}

void obFlipVertical(MemHandle h, int32_t axisY)
{
    ObLock r(h);
    if (!r)
        return;
    r->centreY = mirrorCoord(axisY, r->centreY);
    if (mirrorsRotation(r->type))
        r->rotation = (uint16_t)obMirrorAngleV(r->rotation);
}

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
