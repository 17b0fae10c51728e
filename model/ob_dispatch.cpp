// Object types: display names, type sets, tree queries and the per-type
// dispatchers of size, draw, point lists, bounds and outlines.
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/pg_page.h"
#include "model/qmf_convert.h"
#include "forms/fld_dispatch.h"
#include "objects/sh_arc.h"
#include "objects/img_bitmap.h"
#include "objects/img_image.h"
#include "objects/sh_arrow.h"
#include "objects/sh_box.h"
#include "objects/sh_boxobj.h"
#include "objects/sh_brush.h"
#include "objects/sh_composite.h"
#include "objects/sh_grid.h"
#include "objects/sh_curve.h"
#include "objects/sh_dimspan.h"
#include "objects/sh_inset.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "objects/sh_3dtext.h"
#include "objects/sh_rule.h"
#include "table/tb_draw.h"
#include "table/tb_record.h"
#include "text/tx_draw_object.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "objects/sh_points.h"
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

// The size a record states for itself, accepted only within its block.
uint32_t withinBlock(const ObjectRecord *rec, uint32_t size, uint32_t blockSize)
{
    if (size <= blockSize)
        return size;
    return std::min(rec->length, blockSize);
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

BOOL isBezierOutline(int16_t t)
{
    return (t >= OBT_ROUNDRECT && t <= OBT_ARC) || t == OBT_BEZIER || t == OBT_CLOSED_CURVE;
}

// The size a box shape's module computed (and stored). A record too short
// for its geometry and fill block keeps a length within its block, so that
// nothing reads past it; the size it needs is returned for the caller that
// grows it.
uint32_t boxRecordSize(ObjectRecord *rec, uint32_t size, uint32_t blockSize)
{
    if (size > blockSize && blockSize >= obDataOffset(rec))
        rec->length = blockSize;
    return size;
}

// The size a second-tier module computed, for its caller to store: a
// record too short for it keeps the length of its block.
uint32_t keptWithinBlock(uint32_t size, uint32_t blockSize)
{
    return size <= blockSize ? size : blockSize;
}

// The calendar: 86 + name + its 308 fixed bytes + the tail count at +288.
uint32_t calendarSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t at = obDataOffset(rec);
    uint32_t held = std::min(rec->length, blockSize);
    if ((uint64_t)at + kCalFixedSize > held)
        return held;
    uint32_t tail;
    memcpy(&tail, reinterpret_cast<const uint8_t *>(rec) + at + 288, 4);
    uint64_t size = (uint64_t)at + kCalFixedSize + tail;
    return size <= blockSize ? (uint32_t)size : held;
}

// The stand-in module tests install (none in the program).
ObTestTypeModule g_testModule = {};

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

uint32_t objRecordSize(ObjectRecord *rec, uint32_t add)
{
    return rec ? objRecordSizeIn(rec, rec->length, add) : add;
}

uint32_t objRecordSizeIn(ObjectRecord *rec, uint32_t blockSize, uint32_t add)
{
    if (!rec)
        return add;
    uint32_t size;
    switch (rec->type) {
    case OBT_SQUARE:
    case OBT_RECTANGLE:
    case OBT_DIAMOND:
        return boxRecordSize(rec, shRectSize(rec), blockSize) + add;
    case OBT_ROUNDRECT:
        return boxRecordSize(rec, shRoundRectSize(rec), blockSize) + add;
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
        return boxRecordSize(rec, shEllipseSize(rec), blockSize) + add;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        return boxRecordSize(rec, shGridSize(rec), blockSize) + add;
    case OBT_COMPOSITE:
    case OBT_COMPOSITE85:
        size = shCompositeSize(rec, blockSize);
        break;
    case OBT_GROUP:
    case OBT_CHAIN:
        size = obDataOffset(rec);
        break;
    case 142:
    case 146:
        size = withinBlock(rec, rec->length, blockSize);
        break;
    case OBT_ARROW:
        return boxRecordSize(rec, shArrowSize(rec), blockSize) + add;
    case OBT_PIE:
    case OBT_ARC:
        return boxRecordSize(rec, shArcRecordSize(rec), blockSize) + add;
    case OBT_LINE:
    case OBT_LINE_ALIAS:
    case OBT_HLINE:
    case OBT_VLINE:
    case OBT_POLYLINE:
    case OBT_POLYHV:
    case OBT_BEZIER:
        return shPolylineSize(rec, blockSize) + add;
    case OBT_POLYGON:
    case OBT_CLOSED_CURVE:
    case OBT_CUBE:
        return shPolygonSize(rec, blockSize) + add;
    case OBT_CALENDAR:
        size = calendarSize(rec, blockSize);
        break;
    case OBT_PAGE:
        size = obDataOffset(rec) + kPgDataSize <= blockSize
                   ? withinBlock(rec, pgRecCalcSize(rec), blockSize)
                   : std::min(rec->length, blockSize);
        break;
    default:
        size = objRecordSizeExt(rec, blockSize);
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
    switch (rec->type) {
    case OBT_3D_TEXT:
    case OBT_XY_PLOT:
    case OBT_BAR_CHART:
    case OBT_TS_PLOT:
    case OBT_PIE_CHART:
        // Their modules keep the length themselves.
        return withinBlock(rec, rec->length, blockSize);
    case OBT_IMAGE_FILE:
    case OBT_PAGE_INSET:
        return shSelfSizedRecordSize(rec, blockSize);
    case OBT_TEXT:
        return txRecSize(rec, blockSize);
    case OBT_LABEL:
        return txLabelRecSize(rec, blockSize);
    case OBT_BOX:
        return shBoxObjSize(rec, blockSize);
    case OBT_METAPICT:
        return mfPictSize(rec, blockSize);
    case OBT_ENHANCED_MF:
        return mfEmfSize(rec, blockSize);
    case OBT_DIMENSION:
        return keptWithinBlock(shDimSpanSize(rec), blockSize);
    case OBT_RULE411:
    case OBT_RULE412:
    case OBT_HORZ_RULE:
        return keptWithinBlock(shRuleSize(rec), blockSize);
    case OBT_BRUSH_LINE:
        return shBrushLineSize(rec, blockSize);
    case OBT_BITMAP:
        return imgBitmapRecordSize(rec, blockSize);
    case OBT_IMAGE:
        return imgImageRecordSize(rec, blockSize);
    case OBT_TABLE:
    case OBT_REPORT:
        return tbRecordSize(rec, blockSize);
    default:
        return fldObjRecordSize(rec, blockSize);   // buttons and check box family
    }
}

void obSetTestTypeModule(const ObTestTypeModule *module)
{
    g_testModule = module ? *module : ObTestTypeModule{};
}

int obTestTypeDraw(HDC dc, ObjectRecord *rec)
{
    return g_testModule.draw ? g_testModule.draw(dc, rec) : 0;
}

int obTestTypeScale(MemHandle h, const RECT *target)
{
    return g_testModule.scale ? g_testModule.scale(h, target) : 0;
}

int obTestTypeFlipRotate(MemHandle h, POINT pt, int16_t angle)
{
    return g_testModule.flipRotate ? g_testModule.flipRotate(h, pt, angle) : 0;
}

void objDraw(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec || obTestTypeDraw(dc, rec))
        return;
    switch (rec->type) {
    case OBT_SQUARE:
    case OBT_RECTANGLE:
        shRectDraw(dc, rec);
        break;
    case OBT_ROUNDRECT:
        shRoundRectDraw(dc, rec);
        break;
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
        shEllipseDraw(dc, rec);
        break;
    case OBT_DIAMOND:
        shDiamondDraw(dc, rec);
        break;
    case OBT_LINE:
    case OBT_HLINE:
    case OBT_VLINE:
    case OBT_POLYLINE:
    case OBT_POLYHV:
        shPolylineDraw(dc, rec);
        break;
    case OBT_POLYGON:
        shPolygonDraw(dc, rec);
        break;
    case OBT_CUBE:
        shCubeDraw(dc, rec);
        break;
    case OBT_BEZIER:
        shBezierDraw(dc, rec);
        break;
    case OBT_CLOSED_CURVE:
        shClosedCurveDraw(dc, rec);
        break;
    case OBT_PIE:
        shPieDraw(dc, rec);
        break;
    case OBT_ARC:
        shArcDraw(dc, rec);
        break;
    case OBT_ARROW:
        shArrowDraw(dc, rec);
        break;
    case OBT_COMPOSITE:
        shCompositeDraw(dc, rec);
        break;
    case OBT_GROUP:
    case OBT_CHAIN:
        break;   // members are drawn by the tree walk
    case OBT_PAGE:
        break;
    default:
        objDrawExt(dc, rec);
        break;
    }
}

int objDrawExt(HDC dc, ObjectRecord *rec)
{
    switch (rec->type) {
    case OBT_XY_PLOT:
    case OBT_BAR_CHART:
    case OBT_TS_PLOT:
    case OBT_PIE_CHART:
        return 1;   // charts draw nothing of their own
    case OBT_TEXT:
        txDrawObject(dc, rec);
        return 1;
    case OBT_LABEL:
        txDrawLabel(dc, rec);
        return 1;
    case OBT_BOX:
        shBoxObjDraw(dc, rec);
        return 1;
    case OBT_METAPICT:
        mfPictDraw(dc, rec);
        return 1;
    case OBT_PAGE_INSET:
        shPageInsetDraw(dc, rec);
        return 1;
    case OBT_3D_TEXT:
        sh3DTextDraw(dc, rec);
        return 1;
    case OBT_ENHANCED_MF:
        mfEmfDraw(dc, rec);
        return 1;
    case OBT_DIMENSION:
        shDimSpanDraw(dc, rec);
        return 1;
    case OBT_RULE411:
    case OBT_RULE412:
    case OBT_HORZ_RULE:
        shRuleDraw(dc, rec);
        return 1;
    case OBT_BRUSH_LINE:
        shBrushLineDraw(dc, rec);
        return 1;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        shGridDraw(dc, rec);
        return 1;
    case OBT_BITMAP:
        imgBitmapDraw(dc, rec);
        return 1;
    case OBT_IMAGE:
        imgImageDraw(dc, rec);
        return 1;
    case OBT_TABLE:
    case OBT_REPORT:
        tbDraw(dc, rec);
        return 1;
    default:
        return fldObjDraw(dc, rec);   // buttons and check box family
    }
}

MemHandle objGetPoints(ObjectRecord *rec, int16_t *count)
{
    if (count)
        *count = 0;
    if (!rec)
        return 0;
    MemHandle pts;
    switch (rec->type) {
    case OBT_SQUARE:
    case OBT_RECTANGLE:
        pts = shRectPoints(rec, count);
        break;
    case OBT_ROUNDRECT:
        pts = shRoundRectPoints(rec, count);
        break;
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
        pts = shEllipsePoints(rec, count);
        break;
    case OBT_DIAMOND:
        pts = shDiamondPoints(rec, count);
        break;
    case OBT_LINE:
    case OBT_HLINE:
    case OBT_VLINE:
    case OBT_POLYLINE:
    case OBT_POLYGON:
    case OBT_POLYHV:
    case OBT_BEZIER:
    case OBT_CLOSED_CURVE:
    case OBT_CUBE:
        pts = shGetPoints(rec, count);
        break;
    case OBT_PIE:
    case OBT_ARC:
        pts = shArcPiePoints(rec, count);
        break;
    case OBT_ARROW:
        pts = shArrowPoints(rec, count);
        break;
    default:
        pts = objGetPointsExt(rec, count);
        break;
    }
    return pts ? pts : boxCorners(rec, count);
}

MemHandle objGetPointsExt(ObjectRecord *rec, int16_t *count)
{
    switch (rec->type) {
    case OBT_COUNTER802:
    case OBT_SHAPE803: {
        // The ellipse of a copy whose box width is its box height.
        uint32_t n = std::max(rec->length, kObHeadSize);
        std::vector<uint8_t> copy(reinterpret_cast<uint8_t *>(rec),
                                  reinterpret_cast<uint8_t *>(rec) + n);
        ObjectRecord *c = reinterpret_cast<ObjectRecord *>(copy.data());
        uint32_t at = obDataOffset(c);
        if ((uint64_t)at + 8 <= c->length)
            memcpy(copy.data() + at, copy.data() + at + 4, 4);
        return shEllipsePoints(c, count);
    }
    case OBT_DIMENSION:
        return shDimSpanPoints(rec, count);
    case OBT_RULE411:
    case OBT_RULE412:
        return shGetPoints(rec, count);
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        return shGridPoints(rec, count);
    default:
        return 0;
    }
}

BOOL objGetVertexBounds(MemHandle h, RECT *r)
{
    if (!utIsLiveHandle(h) || !ObLock(h)) {
        geoSetRect(r, 0, 0, 0, 0);
        return FALSE;
    }
    switch (obGetType(h)) {
    case OBT_SQUARE:
    case OBT_RECTANGLE:
        return shRectBounds(h, r);
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
        return shEllipseBounds(h, r);
    case OBT_DIAMOND:
        return shDiamondBounds(h, r);
    case OBT_LINE:
    case OBT_HLINE:
    case OBT_VLINE:
    case OBT_POLYLINE:
    case OBT_POLYGON:
    case OBT_POLYHV:
    case OBT_CUBE:
        return shPointsBounds(h, r);
    case OBT_BEZIER:
    case OBT_CLOSED_CURVE:
        return shBezierBounds(h, r);
    case OBT_PIE:
    case OBT_ARC:
        return shArcPieBounds(h, r);
    case OBT_ARROW:
        return shArrowBounds(h, r);
    case OBT_GROUP:
    case OBT_CHAIN:
        return obFitToMembers(h, r);
    default:
        if (!objBoundsExt(h, r))
            obGetRect(h, r);
        return TRUE;
    }
}

int objBoundsExt(MemHandle h, RECT *r)
{
    switch (obGetType(h)) {
    case OBT_BRUSH_LINE:
        return shBrushLineBounds(h, r);
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        return shGridBounds(h, r);
    case OBT_COMPOSITE:
        return shCompositeUpdateRect(h, r);
    case OBT_IMAGE:
        return imgImageBounds(r, h);
    case OBT_3D_TEXT:
        return sh3DTextBounds(r, h);
    case OBT_ENHANCED_MF:
        mfEmfBounds(r, h);
        return 1;
    default:
        break;
    }
    ObLock rec(h);
    if (!rec)
        return 0;
    switch (rec->type) {
    case OBT_TEXT:
        return txGetBounds(r, rec.get());
    case OBT_DIMENSION:
        shDimSpanBounds(rec.get(), r);
        return 1;
    case OBT_RULE411:
    case OBT_RULE412:
        shPointsBounds(rec.get(), r);
        return 1;
    default:
        return 0;
    }
}

int objScaleExt(MemHandle h, const RECT *target)
{
    switch (obGetType(h)) {
    case OBT_DIMENSION:
        shDimSpanRescale(h, target);
        return 1;
    case OBT_RULE411:
    case OBT_RULE412:
        shPointsRescale(h, target);
        return 1;
    case OBT_BRUSH_LINE:
        shBrushLineRescale(h, target);
        return 1;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        shGridRescale(h, target);
        return 1;
    case OBT_COMPOSITE:
        shCompositeRescale(h, target);
        return 1;
    case OBT_IMAGE:
        return imgImageSetBox(h, target);
    case OBT_3D_TEXT:
        sh3DTextRescale(h, target);
        return 1;
    default:
        return fldObjScale(h, target);
    }
}

int objFlipRotateExt(MemHandle h, POINT pt, int16_t angle)
{
    switch (obGetType(h)) {
    case OBT_DIMENSION:
        shDimSpanRotate(h, pt, angle);
        return 1;
    case OBT_BRUSH_LINE:
        shBrushLineRotate(h, pt, angle);
        return 1;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        shGridRotate(h, pt, angle);
        return 1;
    case OBT_COMPOSITE:
        shCompositeRotate(h, pt, angle);
        return 1;
    case OBT_IMAGE:
        return imgImageFlipRotate(h, pt, angle);
    case OBT_TEXT: {
        ObLock rec(h);
        txRotateObject(rec.get(), &pt, angle);
        return 1;
    }
    default:
        return 0;
    }
}

int objOutlineExt(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec || rec->type != OBT_BRUSH_LINE)
        return 0;
    shBrushLineOutline(dc, rec);
    return 1;
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
    if (!pts || !isBezierOutline(rec->type))
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
