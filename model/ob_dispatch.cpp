// Object types: display names, type sets, tree queries and the per-type
// dispatchers of size, draw, point lists, bounds and outlines.
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_types.h"
#include "support/geo_bezier.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>
#include <algorithm>

namespace {

// Codes that share another code's display name.
int16_t nameAlias(int16_t t)
{
    switch (t) {
    case 3: return 2;
    case 25: return 15;
    case 421: case 422: case 423: return 406;
    case 431: case 432: case 433: return 400;
    case 441: case 442: case 443: return 401;
    case 470: case 471: case 472: return 8;
    default: return t;
    }
}

// True when any object of the tree (all three links) passes the test.
template <typename Test>
BOOL treeAny(MemHandle h, Test test)
{
    std::vector<MemHandle> nodes;
    obCollectTree(h, OB_WALK_ALL, nodes);
    for (MemHandle n : nodes) {
        ObLock r(n);
        if (r && test(r))
            return TRUE;
    }
    return FALSE;
}

BOOL isTreeFieldType(int16_t t)
{
    switch (t) {
    case 41: case 42: case 43: case 44: case 45: case 51: case 54: case 57: case 58:
    case 96: case 124:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL isSingleLineField(const ObLock &r)
{
    if (r->type == OBT_EQUATION)
        return TRUE;
    if (r->type != OBT_ENTRY && r->type != OBT_LIST_FIELD)
        return FALSE;
    uint32_t at = obDataOffset(r.get()) + 76;
    if (at + 2 > r.extent())
        return FALSE;
    uint16_t style;
    memcpy(&style, reinterpret_cast<const uint8_t *>(r.get()) + at, 2);
    return (style & 1) ? FALSE : TRUE;
}

// The default point list: the box's four corners relative to the centre.
MemHandle boxCorners(const ObjectRecord *rec, int16_t *count)
{
    RECT local;
    obRecGetLocalRect(rec, &local);
    POINT pts[4];
    geoRectToCorners(&local, pts);
    MemHandle h = utHandleFromBytes(pts, sizeof pts);
    if (count)
        *count = h ? 4 : 0;
    return h;
}

// Points moved by the object's centre, in place.
void offsetPoints(MemHandle pts, int16_t n, int32_t dx, int32_t dy)
{
    uint32_t held = utHandleSize(pts) / sizeof(POINT);
    MemLock<POINT> p(pts);
    for (int16_t i = 0; i < n && (uint32_t)i < held; ++i) {
        p[i].x += dx;
        p[i].y += dy;
    }
}

}  // namespace

// ---- names ------------------------------------------------------------------------------

int obGetTypeName(int16_t type, char *buffer)
{
    if (!buffer)
        return 0;
    buffer[0] = 0;
    int16_t t = nameAlias(type);
    if (t == OBT_VERTICAL_TEXT) {
        utStrCopyN(buffer, "Vertical Text", kObMaxNameBytes);
        return 1;
    }
    // Only codes from 0 up have string-table entries; below 1000 the table
    // holds unrelated texts.
    if (t < 0)
        return 0;
    char text[256];
    if (!utLoadString(nullptr, kObTypeNameBase + (UINT)t, text))
        return 0;
    utStrCopyN(buffer, text, kObMaxNameBytes);
    return buffer[0] ? 1 : 0;
}

MemHandle obLoadString(HWND window, UINT id)
{
    char text[256];
    if (!utLoadString(window, id, text) || !text[0])
        return 0;
    return utHandleFromString(text);
}

// ---- type sets ------------------------------------------------------------------------------

BOOL obIsLineType(int16_t t)
{
    switch (t) {
    case 2: case 3: case 4: case 5: case 14: case 17: case 18: case 22:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL obHasFillExt(int16_t t)
{
    switch (t) {
    case 35: case 65: case 491: case 492: case 802: case 803:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL obHasFill(int16_t t)
{
    switch (t) {
    case 6: case 7: case 8: case 9: case 10: case 11: case 13: case 15: case 19: case 36:
    case 402:
        return TRUE;
    default:
        return obHasFillExt(t);
    }
}

BOOL obIsChart(int16_t t) { return t >= OBT_XY_PLOT && t <= OBT_PIE_CHART; }

BOOL obCanHaveFill(int16_t t)
{
    switch (t) {
    case 41: case 42: case 45: case 51: case 52: case 54: case 96: case 116: case 124:
    case 138: case 210:
        return TRUE;
    default:
        return obIsChart(t) || obHasFill(t);
    }
}

BOOL obIsEntryField(int16_t t) { return t == 41 || t == 42 || t == 124; }

BOOL obIsFieldType(int16_t t)
{
    switch (t) {
    case 41: case 42: case 43: case 44: case 45: case 54: case 57: case 58: case 96: case 124:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL obIsFieldOrText(int16_t t)
{
    switch (t) {
    case 40: case 41: case 42: case 43: case 44: case 45: case 51: case 54: case 57: case 58:
    case 116: case 124: case 138: case 210: case 297:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL obIsKnownTypeExt(int16_t t)
{
    switch (t) {
    case 26: case 31: case 35: case 39: case 52: case 55: case 59: case 61: case 65: case 78:
    case 79: case 96: case 116: case 134: case 135: case 136: case 137: case 199: case 210:
    case 293: case 297: case 411: case 412: case 414: case 491: case 492: case 800: case 801:
    case 802: case 803: case 1006:
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL obIsKnownType(int16_t t)
{
    switch (t) {
    case 2: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11: case 12:
    case 13: case 14: case 15: case 17: case 18: case 19: case 36: case 39: case 40: case 41:
    case 42: case 43: case 44: case 45: case 51: case 54: case 55: case 57: case 58: case 60:
    case 61: case 80: case 81: case 82: case 84: case 85: case 88: case 90: case 96: case 116:
    case 124: case 138: case 140: case 142: case 146: case 210: case 303: case 402: case 500:
    case 1000: case 1001:
        return TRUE;
    default:
        return obIsKnownTypeExt(t);
    }
}

BOOL obIsEditableTypeExt(int16_t t)
{
    switch (t) {
    case 26: case 31: case 35: case 39: case 59: case 134: case 135: case 136: case 137:
    case 199: case 411: case 412: case 414: case 491: case 492:
        return TRUE;
    default:
        return FALSE;
    }
}

// ---- tree queries ----------------------------------------------------------------------------

BOOL obTreeHasType(MemHandle h, int16_t type)
{
    return treeAny(h, [type](const ObLock &r) { return r->type == type; });
}

BOOL obTreeHasField(MemHandle h)
{
    return treeAny(h, [](const ObLock &r) { return isTreeFieldType(r->type); });
}

BOOL obTreeHasLine(MemHandle h)
{
    return treeAny(h, [](const ObLock &r) {
        int16_t t = r->type;
        return t == 2 || t == 4 || t == 5 || t == 14 || t == 18;
    });
}

BOOL obTreeHasClosedShape(MemHandle h)
{
    return treeAny(h, [](const ObLock &r) {
        switch (r->type) {
        case 6: case 7: case 8: case 9: case 10: case 11: case 13: case 15: case 19: case 36:
        case 402:
            return true;
        default:
            return false;
        }
    });
}

BOOL obTreeIsGraphicOnly(MemHandle h)
{
    if (!h)
        return FALSE;
    return !treeAny(h, [](const ObLock &r) {
        return isTreeFieldType(r->type) || r->type == OBT_TEXT || r->type == OBT_LABEL;
    });
}

BOOL obTreeHasSingleLineField(MemHandle h)
{
    return treeAny(h, [](const ObLock &r) { return isSingleLineField(r) != FALSE; });
}

BOOL obTreeHasBitmapOrPattern(MemHandle h)
{
    return treeAny(h, [](const ObLock &r) { return r->type == OBT_BITMAP || r->fillKind == 2; });
}

// ---- per-object tests ---------------------------------------------------------------------------

BOOL obCanRotate(MemHandle h)
{
    ObLock r(h);
    if (!r)
        return FALSE;
    switch (r->type) {
    case 41: case 42: case 43: case 44: case 45: case 51: case 52: case 54: case 57: case 58:
    case 60: case 61: case 78: case 79: case 96: case 116: case 124: case 138: case 142:
    case 146: case 210: case 293: case 297:
        return FALSE;
    default:
        if (obIsChart(r->type))
            return FALSE;
        return (r->flags & OBF_NO_ROTATE) ? FALSE : TRUE;
    }
}

BOOL obIsSingleLineField(MemHandle h)
{
    ObLock r(h);
    return r ? isSingleLineField(r) : FALSE;
}

// ---- dispatchers --------------------------------------------------------------------------------

uint32_t obSizeWithinBlock(const ObjectRecord *rec, uint32_t size, uint32_t blockSize)
{
    if (size <= blockSize)
        return size;
    return std::min(rec->length, blockSize);
}

uint32_t objRecordSize(ObjectRecord *rec, uint32_t add)
{
    return rec ? objRecordSizeIn(rec, rec->length, add) : add;
}

uint32_t objRecordSizeIn(ObjectRecord *rec, uint32_t blockSize, uint32_t add)
{
    if (!rec)
        return add;
    const ObTypeProcs &p = obTypeProcs(rec->type);
    uint32_t size = p.recordSize ? p.recordSize(rec, blockSize) : 0;
    switch (p.sizeRule) {
    case OB_SIZE_BOX:
        // A record too short for its geometry and fill block keeps a length
        // within its block, so that nothing reads past it; the size it needs
        // is returned for the caller that grows it.
        if (size > blockSize && blockSize >= obDataOffset(rec))
            rec->length = blockSize;
        return size + add;
    case OB_SIZE_MODULE:
        return size + add;
    case OB_SIZE_EXACT:
        break;
    default:
        if (!size)
            size = obDataOffset(rec);
        break;
    }
    rec->length = size;
    return size + add;
}

uint32_t objKeptSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t stored = std::min(rec->length, blockSize);
    uint32_t sized = objRecordSizeIn(rec, blockSize, 0);
    // Groups and chains are head and name by their own rule.
    bool ownRule = rec->type == OBT_GROUP || rec->type == OBT_CHAIN;
    if (!ownRule && sized <= obDataOffset(rec) && stored > sized)
        sized = stored;
    rec->length = std::min(sized, blockSize);
    return rec->length;
}

uint32_t objRecordSizeExt(ObjectRecord *rec, uint32_t blockSize)
{
    const ObTypeProcs &p = obTypeProcs(rec->type);
    return p.recordSize ? p.recordSize(rec, blockSize) : 0;
}

void objDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    const ObTypeProcs &p = obTypeProcs(rec->type);
    if (p.draw)
        p.draw(dc, rec);
}

MemHandle objGetPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    const ObTypeProcs &p = obTypeProcs(rec->type);
    MemHandle pts = p.points ? p.points(rec, count) : 0;
    return pts ? pts : boxCorners(rec, count);
}

BOOL objGetVertexBounds(MemHandle h, RECT *r)
{
    if (!utIsLiveHandle(h) || !ObLock(h)) {
        geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    const ObTypeProcs &p = obTypeProcs(obGetType(h));
    if (p.bounds && !(p.flags & OBTF_BOUNDS_OR_BOX))
        return p.bounds(h, r);
    if (!p.bounds || !p.bounds(h, r))
        obGetRect(h, r);
    return TRUE;
}

int objScaleExt(MemHandle h, const RECT *target)
{
    const ObTypeProcs &p = obTypeProcs(obGetType(h));
    return p.rescale && p.rescale(&h, target) ? 1 : 0;
}

int objOutlineExt(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return 0;
    const ObTypeProcs &p = obTypeProcs(rec->type);
    return p.outline ? p.outline(dc, rec) : 0;
}

MemHandle obRecGetVertices(ObjectRecord *rec, int16_t *count)
{
    int16_t n = 0;
    MemHandle pts = objGetPoints(rec, &n);
    if (pts)
        offsetPoints(pts, n, rec->centreX, rec->centreY);
    if (count)
        *count = n;
    return pts;
}

MemHandle obGetVertices(MemHandle h, int16_t *count)
{
    if (count)
        *count = 0;
    ObLock r(h);
    return r ? obRecGetVertices(r.get(), count) : 0;
}

MemHandle obRecGetOutline(ObjectRecord *rec, int16_t *count)
{
    int16_t n = 0;
    MemHandle pts = obRecGetVertices(rec, &n);
    if (count)
        *count = n;
    if (!pts || !(obTypeProcs(rec->type).flags & OBTF_BEZIER_OUTLINE))
        return pts;
    int16_t flat = 0;
    MemHandle curve;
    {
        MemLock<POINT> p(pts);
        curve = geoFlattenBezier(p.get(), n, &flat);
    }
    utFreeHandle(pts);
    if (count)
        *count = curve ? flat : 0;
    return curve;
}

MemHandle obGetOutline(MemHandle h, int16_t *count)
{
    if (count)
        *count = 0;
    ObLock r(h);
    return r ? obRecGetOutline(r.get(), count) : 0;
}
