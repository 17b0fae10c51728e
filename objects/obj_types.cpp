// The object types of the shape and picture modules.
#include "objects/obj_types.h"
#include "objects/cal_calendar.h"
#include "objects/fil_fill.h"
#include "objects/img_bitmap.h"
#include "objects/img_image.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "objects/onm_names.h"
#include "objects/ptn_dialog.h"
#include "objects/sh_3dtext.h"
#include "objects/sh_arc.h"
#include "objects/sh_arrow.h"
#include "objects/sh_box.h"
#include "objects/sh_boxobj.h"
#include "objects/sh_brush.h"
#include "objects/sh_composite.h"
#include "objects/sh_curve.h"
#include "objects/sh_dimspan.h"
#include "objects/sh_grid.h"
#include "objects/sh_inset.h"
#include "objects/sh_lineend.h"
#include "objects/sh_points.h"
#include "objects/sh_rule.h"
#include "model/ob_dispatch.h"
#include "model/ob_transform.h"
#include "model/ob_types.h"
#include "model/pg_record.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// ---- adapters: the modules' operations in the table's shapes ------------------------------

template <MemHandle (*Rescale)(MemHandle, const RECT *)>
int rescaleMoving(MemHandle *h, const RECT *target)
{
    *h = Rescale(*h, target);
    return 1;
}

template <void (*Rescale)(MemHandle, const RECT *)>
int rescaleInPlace(MemHandle *h, const RECT *target)
{
    Rescale(*h, target);
    return 1;
}

template <void (*Rotate)(MemHandle, POINT, int16_t)>
int rotated(MemHandle h, POINT pt, int16_t angle)
{
    Rotate(h, pt, angle);
    return 1;
}

template <void (*FlipH)(ObjectRecord *), void (*FlipV)(ObjectRecord *)>
void mirrored(ObjectRecord *rec, BOOL horizontal)
{
    horizontal ? FlipH(rec) : FlipV(rec);
}

// Sizes of box shapes, which the module stores itself.
template <uint32_t (*Size)(ObjectRecord *)>
uint32_t boxSize(ObjectRecord *rec, uint32_t)
{
    return Size(rec);
}

// Sizes kept within the block by the dispatcher's caller.
template <uint32_t (*Size)(ObjectRecord *)>
uint32_t sizeInBlock(ObjectRecord *rec, uint32_t blockSize)
{
    return std::min(Size(rec), blockSize);
}

// Bounds of a locked record that always answer.
template <void (*Bounds)(ObjectRecord *, RECT *)>
BOOL lockedBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (!rec)
        return FALSE;
    Bounds(rec.get(), r);
    return TRUE;
}

// The 3D text module keeps its length itself.
uint32_t keptLength(ObjectRecord *rec, uint32_t blockSize)
{
    return obSizeWithinBlock(rec, rec->length, blockSize);
}

// The round-box codes: the ellipse of a copy whose box width is its box
// height.
MemHandle roundBoxPoints(ObjectRecord *rec, int16_t *count)
{
    uint32_t n = std::max(rec->length, kObHeadSize);
    std::vector<uint8_t> copy(reinterpret_cast<uint8_t *>(rec),
                              reinterpret_cast<uint8_t *>(rec) + n);
    ObjectRecord *c = reinterpret_cast<ObjectRecord *>(copy.data());
    uint32_t at = obDataOffset(c);
    if ((uint64_t)at + 8 <= c->length)
        memcpy(copy.data() + at, copy.data() + at + 4, 4);
    return shEllipsePoints(c, count);
}

void defaultPattern(uint8_t *pattern)
{
    PatternFill fill;
    ptnDefaultFromLibrary(&fill);
    static_assert(sizeof fill == kPgDefaultPatternSize, "the default pattern is 24 bytes");
    memcpy(pattern, &fill, sizeof fill);
}

// ---- the point shapes ----------------------------------------------------------------------

void registerPointShapes()
{
    ObTypeProcs line = {};
    line.flags = OBTF_SCALE_KEEPS_GRADIENT | OBTF_POINT_DATA;
    line.sizeRule = OB_SIZE_MODULE;
    line.recordSize = shPolylineSize;
    line.draw = shPolylineDraw;
    line.points = shGetPoints;
    line.bounds = shPointsBounds;
    line.rescale = rescaleInPlace<shPointsRescale>;
    line.flipRotate = rotated<shPointsRotate>;
    line.mirror = mirrored<shPointsFlipH, shPointsFlipV>;
    line.lineEnds = shLineEndsBounds;
    line.readCheck = shPointsReadCheck;
    obRegisterTypes({OBT_LINE, OBT_HLINE, OBT_VLINE, OBT_POLYLINE, OBT_POLYHV}, line);

    ObTypeProcs bezier = line;
    bezier.flags |= OBTF_BEZIER_OUTLINE;
    bezier.draw = shBezierDraw;
    bezier.bounds = shBezierBounds;
    bezier.rescale = rescaleInPlace<shCurveRescale>;
    bezier.flipRotate = rotated<shCurveRotate>;
    obRegisterType(OBT_BEZIER, &bezier);

    // The second line code is sized and mirrored as a line; nothing else.
    ObTypeProcs alias = {};
    alias.flags = OBTF_POINT_DATA;
    alias.sizeRule = OB_SIZE_MODULE;
    alias.recordSize = shPolylineSize;
    alias.readCheck = shPointsReadCheck;
    alias.mirror = line.mirror;
    alias.lineEnds = shLineEndsBounds;
    obRegisterType(OBT_LINE_ALIAS, &alias);

    // A line code without a module of its own: its line ends only.
    ObTypeProcs ends = {};
    ends.lineEnds = shLineEndsBounds;
    obRegisterType(22, &ends);

    ObTypeProcs polygon = line;
    polygon.flags = OBTF_POINT_DATA;
    polygon.recordSize = shPolygonSize;
    polygon.draw = shPolygonDraw;
    polygon.lineEnds = nullptr;
    obRegisterType(OBT_POLYGON, &polygon);

    ObTypeProcs cube = polygon;
    cube.draw = shCubeDraw;
    obRegisterType(OBT_CUBE, &cube);

    ObTypeProcs closed = polygon;
    closed.flags |= OBTF_BEZIER_OUTLINE;
    closed.draw = shClosedCurveDraw;
    closed.bounds = shBezierBounds;
    closed.rescale = bezier.rescale;
    closed.flipRotate = bezier.flipRotate;
    obRegisterType(OBT_CLOSED_CURVE, &closed);
}

// ---- the box shapes ---------------------------------------------------------------------------

void registerBoxShapes()
{
    ObTypeProcs rect = {};
    rect.flags = OBTF_MIRRORS_ROTATION;
    rect.sizeRule = OB_SIZE_BOX;
    rect.recordSize = boxSize<shRectSize>;
    rect.draw = shRectDraw;
    rect.points = shRectPoints;
    rect.bounds = shRectBounds;
    rect.rescale = rescaleMoving<shRectRescale>;
    rect.flipRotate = rotated<shRectRotate>;
    obRegisterTypes({OBT_SQUARE, OBT_RECTANGLE}, rect);

    ObTypeProcs diamond = rect;
    diamond.draw = shDiamondDraw;
    diamond.readCheck = shBoxReadCheck;
    diamond.points = shDiamondPoints;
    diamond.bounds = shDiamondBounds;
    diamond.rescale = rescaleMoving<shDiamondRescale>;
    diamond.flipRotate = rotated<shDiamondRotate>;
    obRegisterType(OBT_DIAMOND, &diamond);

    // Round rectangles answer their box as bounds.
    ObTypeProcs round = rect;
    round.flags |= OBTF_BEZIER_OUTLINE;
    round.recordSize = boxSize<shRoundRectSize>;
    round.draw = shRoundRectDraw;
    round.points = shRoundRectPoints;
    round.bounds = nullptr;
    round.rescale = rescaleMoving<shRoundRectRescale>;
    round.flipRotate = rotated<shRoundRectRotate>;
    obRegisterType(OBT_ROUNDRECT, &round);

    // A circle keeps its rotation when mirrored.
    ObTypeProcs ellipse = rect;
    ellipse.flags |= OBTF_BEZIER_OUTLINE;
    ellipse.recordSize = boxSize<shEllipseSize>;
    ellipse.draw = shEllipseDraw;
    ellipse.points = shEllipsePoints;
    ellipse.bounds = shEllipseBounds;
    ellipse.rescale = rescaleMoving<shEllipseRescale>;
    ellipse.flipRotate = rotated<shEllipseRotate>;
    obRegisterType(OBT_ELLIPSE, &ellipse);
    ObTypeProcs circle = ellipse;
    circle.flags &= ~OBTF_MIRRORS_ROTATION;
    obRegisterType(OBT_CIRCLE, &circle);

    ObTypeProcs pie = {};
    pie.flags = OBTF_BEZIER_OUTLINE;
    pie.sizeRule = OB_SIZE_BOX;
    pie.recordSize = boxSize<shArcRecordSize>;
    pie.readCheck = shArcReadCheck;
    pie.draw = shPieDraw;
    pie.points = shArcPiePoints;
    pie.bounds = shArcPieBounds;
    pie.rescale = rescaleMoving<shPieRescale>;
    pie.flipRotate = rotated<shArcPieRotate>;
    pie.mirror = mirrored<shArcPieFlipH, shArcPieFlipV>;
    obRegisterType(OBT_PIE, &pie);
    ObTypeProcs arc = pie;
    arc.flags |= OBTF_SCALE_KEEPS_GRADIENT | OBTF_ROTATE_KEEPS_GRADIENT;
    arc.draw = shArcDraw;
    arc.rescale = rescaleMoving<shArcRescale>;
    obRegisterType(OBT_ARC, &arc);

    ObTypeProcs arrow = {};
    arrow.flags = OBTF_ROTATE_KEEPS_GRADIENT;
    arrow.sizeRule = OB_SIZE_BOX;
    arrow.recordSize = boxSize<shArrowSize>;
    arrow.draw = shArrowDraw;
    arrow.points = shArrowPoints;
    arrow.bounds = shArrowBounds;
    arrow.rescale = rescaleInPlace<shArrowRescale>;
    arrow.flipRotate = rotated<shArrowRotate>;
    arrow.mirror = mirrored<shArrowFlipH, shArrowFlipV>;
    arrow.drawnRect = shArrowDrawnRect;
    obRegisterType(OBT_ARROW, &arrow);

    ObTypeProcs grid = {};
    grid.flags = OBTF_BOUNDS_OR_BOX;
    grid.sizeRule = OB_SIZE_BOX;
    grid.recordSize = boxSize<shGridSize>;
    grid.readCheck = shGridReadCheck;
    grid.draw = shGridDraw;
    grid.points = shGridPoints;
    grid.bounds = shGridBounds;
    grid.rescale = rescaleInPlace<shGridRescale>;
    grid.flipRotate = rotated<shGridRotate>;
    obRegisterTypes({OBT_GRID, OBT_GRID491, OBT_GRID492}, grid);

    ObTypeProcs roundBox = {};
    roundBox.points = roundBoxPoints;
    obRegisterType(OBT_COUNTER802, &roundBox);
    roundBox.flags = OBTF_KEEPS_BOX;
    obRegisterType(OBT_SHAPE803, &roundBox);
}

// ---- composites, rules, spans and brush lines ---------------------------------------------------

void mirrorComposite(MemHandle h, BOOL horizontal)
{
    horizontal ? shCompositeMirrorH(h) : shCompositeMirrorV(h);
}

int brushOutline(HDC dc, ObjectRecord *rec)
{
    shBrushLineOutline(dc, rec);
    return 1;
}

void registerDrawnShapes()
{
    ObTypeProcs composite = {};
    composite.flags = OBTF_BOUNDS_OR_BOX | OBTF_SCALE_KEEPS_GRADIENT | OBTF_ROTATE_KEEPS_GRADIENT;
    composite.sizeRule = OB_SIZE_EXACT;
    composite.recordSize = shCompositeSize;
    composite.draw = shCompositeDraw;
    composite.bounds = shCompositeUpdateRect;
    composite.rescale = rescaleInPlace<shCompositeRescale>;
    composite.flipRotate = rotated<shCompositeRotate>;
    composite.mirrorHandle = mirrorComposite;
    composite.shadow = shCompositeShadow;
    obRegisterType(OBT_COMPOSITE, &composite);
    // The older composite is only sized until it is read as today's.
    ObTypeProcs older = {};
    older.sizeRule = OB_SIZE_EXACT;
    older.recordSize = shCompositeSize;
    obRegisterType(OBT_COMPOSITE85, &older);

    ObTypeProcs span = {};
    span.flags = OBTF_BOUNDS_OR_BOX;
    span.recordSize = sizeInBlock<shDimSpanSize>;
    span.readCheck = shDimSpanReadCheck;
    span.draw = shDimSpanDraw;
    span.points = shDimSpanPoints;
    span.bounds = lockedBounds<shDimSpanBounds>;
    span.rescale = rescaleInPlace<shDimSpanRescale>;
    span.flipRotate = rotated<shDimSpanRotate>;
    span.mirror = mirrored<shDimSpanFlipH, shDimSpanFlipV>;
    obRegisterType(OBT_DIMENSION, &span);

    // Rules are stored with the type data as in memory.
    ObTypeProcs rule = {};
    rule.flags = OBTF_BOUNDS_OR_BOX;
    rule.recordSize = sizeInBlock<shRuleSize>;
    rule.draw = shRuleDraw;
    rule.points = shGetPoints;
    rule.bounds = lockedBounds<shPointsBounds>;
    rule.rescale = rescaleInPlace<shPointsRescale>;
    rule.files[0] = {0, 0, QMF_CONV_HEAD, nullptr, nullptr};
    obRegisterTypes({OBT_RULE411, OBT_RULE412}, rule);
    ObTypeProcs horizontal = {};
    horizontal.flags = OBTF_KEEPS_BOX;
    horizontal.recordSize = rule.recordSize;
    horizontal.draw = shRuleDraw;
    horizontal.files[0] = rule.files[0];
    obRegisterType(OBT_HORZ_RULE, &horizontal);

    ObTypeProcs brush = {};
    brush.flags = OBTF_BOUNDS_OR_BOX;
    brush.recordSize = shBrushLineSize;
    brush.readCheck = shBrushLineReadCheck;
    brush.draw = shBrushLineDraw;
    brush.outline = brushOutline;
    brush.bounds = shBrushLineBounds;
    brush.rescale = rescaleInPlace<shBrushLineRescale>;
    brush.flipRotate = rotated<shBrushLineRotate>;
    brush.mirror = mirrored<shBrushLineFlipH, shBrushLineFlipV>;
    obRegisterType(OBT_BRUSH_LINE, &brush);

    ObTypeProcs text3d = {};
    text3d.flags = OBTF_BOUNDS_OR_BOX;
    text3d.recordSize = keptLength;
    text3d.draw = sh3DTextDraw;
    text3d.bounds = [](MemHandle h, RECT *r) -> BOOL { return sh3DTextBounds(r, h); };
    text3d.rescale = rescaleInPlace<sh3DTextRescale>;
    obRegisterType(OBT_3D_TEXT, &text3d);

    ObTypeProcs inset = {};
    inset.recordSize = shSelfSizedRecordSize;
    inset.draw = shPageInsetDraw;
    obRegisterType(OBT_PAGE_INSET, &inset);

    ObTypeProcs box = {};
    box.recordSize = shBoxObjSize;
    box.readCheck = shBoxObjReadCheck;
    box.draw = shBoxObjDraw;
    box.rescale = rescaleInPlace<shBoxObjRescale>;
    obRegisterType(OBT_BOX, &box);
}

// ---- pictures ------------------------------------------------------------------------------------

void registerPictures()
{
    ObTypeProcs pict = {};
    pict.recordSize = mfPictSize;
    pict.readCheck = mfPictReadCheck;
    pict.draw = [](HDC dc, ObjectRecord *rec) { mfPictDraw(dc, rec); };
    obRegisterType(OBT_METAPICT, &pict);

    ObTypeProcs emf = {};
    emf.flags = OBTF_BOUNDS_OR_BOX;
    emf.recordSize = mfEmfSize;
    emf.readCheck = mfEmfReadCheck;
    emf.draw = [](HDC dc, ObjectRecord *rec) { mfEmfDraw(dc, rec); };
    emf.bounds = [](MemHandle h, RECT *r) -> BOOL {
        mfEmfBounds(r, h);
        return TRUE;
    };
    emf.rescale = rescaleInPlace<mfEmfSetBox>;
    obRegisterType(OBT_ENHANCED_MF, &emf);

    ObTypeProcs bitmap = {};
    bitmap.recordSize = imgBitmapRecordSize;
    bitmap.draw = [](HDC dc, ObjectRecord *rec) { imgBitmapDraw(dc, rec); };
    obRegisterType(OBT_BITMAP, &bitmap);

    ObTypeProcs image = {};
    image.flags = OBTF_BOUNDS_OR_BOX;
    image.recordSize = imgImageRecordSize;
    image.draw = [](HDC dc, ObjectRecord *rec) { imgImageDraw(dc, rec); };
    image.bounds = [](MemHandle h, RECT *r) -> BOOL { return imgImageBounds(r, h); };
    image.rescale = [](MemHandle *h, const RECT *target) { return imgImageSetBox(*h, target); };
    image.flipRotate = imgImageFlipRotate;
    obRegisterType(OBT_IMAGE, &image);
}

}  // namespace

void objRegisterTypes()
{
    registerPointShapes();
    registerBoxShapes();
    registerDrawnShapes();
    registerPictures();
    calRegisterType();
    obSetRenameHook(onmRefreshList);
    pgSetDefaultPatternHook(defaultPattern);
}
