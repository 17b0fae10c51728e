// The box shapes: record sizes, the box about the centre, drawing on real
// pixels, point lists, bounds with scale words, rescale rules (the type
// chosen by the sides), rotation rules (quarter and half turns, circles),
// and the conversions to polygons and closed curves, also when the grown
// record moves.
#include "tests/objects/fill_kit.h"
#include "support/ut_bytes.h"
#include "model/ob_transform.h"
#include "objects/sh_curve.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <math.h>

using namespace filltest;

namespace {

class Boxes : public FillTest {};

// A box of the type centred on (cx, cy) with the box sides w x h (twips).
MemHandle boxAt(int16_t type, int32_t cx, int32_t cy, int32_t w, int32_t h)
{
    MemHandle b = obtest::make(type, cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h);
    ObLock(b)->fillKind = FILL_SOLID;
    return b;
}

int32_t dataInt(MemHandle h, int index)
{
    ObLock r(h);
    return utGetAt<int32_t>(obRecData(r.get()), 4 * index);
}

void setDataInt(MemHandle h, int index, int32_t v)
{
    ObLock r(h);
    memcpy(obRecData(r.get()) + 4 * index, &v, 4);
}

TEST_F(Boxes, SizeCountsGeometryAndFillBlockAndStoresHalfTurnsAsZero)
{
    struct Case {
        int16_t type;
        uint8_t fillKind;
        uint32_t expected;   // without the name
    } cases[] = {
        {OBT_RECTANGLE, 0, 94}, {OBT_SQUARE, 1, 94},   {OBT_RECTANGLE, 2, 118},
        {OBT_DIAMOND, 3, 134},  {OBT_ROUNDRECT, 0, 102}, {OBT_ROUNDRECT, 3, 142},
        {OBT_CIRCLE, 4, 94},    {OBT_ELLIPSE, 2, 118},   {OBT_ELLIPSE, 9, 94},
    };
    for (const Case &c : cases) {
        MemHandle h = obtest::make(c.type, 0, 0, 100, 100, 60);
        h = obSetName(h, "box");
        ObLock(h)->fillKind = c.fillKind;
        EXPECT_EQ(c.expected + 4, obCalcSize(h, 0)) << c.type << " kind " << (int)c.fillKind;
        EXPECT_EQ(c.expected + 4, ObLock(h)->length);
        obFreeTree(h);
    }
    for (uint16_t turn : {1800, 3600, 900, 450}) {
        MemHandle h = obtest::make(OBT_DIAMOND, 0, 0, 100, 100);
        ObLock(h)->rotation = turn;
        shRectSize(h);
        EXPECT_EQ(turn == 1800 || turn == 3600 ? 0 : turn, ObLock(h)->rotation) << turn;
        obFreeTree(h);
    }
    EXPECT_EQ(0u, shRectSize((MemHandle)0));
    EXPECT_EQ(0u, shEllipseSize((ObjectRecord *)nullptr));
}

TEST_F(Boxes, ARecordTooShortForItsGeometryKeepsALengthWithinItsBlock)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 100, 60, 2);   // 2 bytes of type data
    EXPECT_EQ(94u, obCalcSize(h, 0)) << "the size it needs";
    EXPECT_EQ(88u, ObLock(h)->length) << "the length it holds";
    RECT box;
    shGetBox(ObLock(h).get(), &box);
    EXPECT_EQ(-50, box.left) << "the box of the head";
    EXPECT_EQ(30, box.bottom);
    Page page(20, 20);
    page.draw(h);   // drawn from the head, nothing read past the record
    obFreeTree(h);
}

TEST_F(Boxes, AnOddWidthKeepsItsExtraUnitOnTheRight)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 5, 7);
    RECT box;
    shGetBox(ObLock(h).get(), &box);
    EXPECT_EQ(-2, box.left);
    EXPECT_EQ(3, box.right);
    EXPECT_EQ(-3, box.top);
    EXPECT_EQ(4, box.bottom);
    POINT c[4];
    shGetRotatedBoxCorners(ObLock(h).get(), c);
    EXPECT_EQ(-2, c[0].x);
    EXPECT_EQ(-3, c[0].y);
    EXPECT_EQ(3, c[2].x);
    EXPECT_EQ(4, c[2].y);
    obFreeTree(h);
}

TEST_F(Boxes, EachTypeDrawsItsFigureFilled)
{
    struct Case {
        int16_t type;
        bool cornerFilled;   // the inside of the box's corner
    } cases[] = {{OBT_RECTANGLE, true}, {OBT_SQUARE, true}, {OBT_ROUNDRECT, false},
                 {OBT_CIRCLE, false},   {OBT_ELLIPSE, false}, {OBT_DIAMOND, false}};
    for (const Case &c : cases) {
        Page page(100, 100);
        MemHandle h = box(c.type, 10, 10, 90, 90);
        if (c.type == OBT_ROUNDRECT) {
            setDataInt(h, 2, px(30));
            setDataInt(h, 3, px(30));
        }
        page.draw(h);
        EXPECT_EQ(kRed, page.pixel(50, 50)) << c.type;
        EXPECT_EQ(c.cornerFilled ? kRed : kWhite, page.pixel(13, 13)) << c.type;
        EXPECT_EQ(c.cornerFilled ? kRed : kWhite, page.pixel(87, 87)) << c.type;
        EXPECT_GT(page.in(kBlack, 0, 0, 100, 100), 100) << c.type << ": an outline";
        obFreeTree(h);
    }
}

TEST_F(Boxes, ChordsOnlyForRectanglesAndDiamonds)
{
    for (int16_t type : {OBT_RECTANGLE, OBT_DIAMOND, OBT_ROUNDRECT, OBT_ELLIPSE}) {
        Page plain(100, 100), chords(100, 100);
        MemHandle h = box(type, 10, 10, 90, 90);
        plain.draw(h);
        obSetFlags(h, OBF_ALL_CHORDS, TRUE);
        chords.draw(h);
        bool adds = type == OBT_RECTANGLE || type == OBT_DIAMOND;
        EXPECT_EQ(adds, plain.diff(chords) > 0) << type;
        if (type == OBT_DIAMOND) {
            EXPECT_EQ(kBlack, chords.pixel(50, 30)) << "the vertical diagonal";
            EXPECT_EQ(kBlack, chords.pixel(30, 50)) << "the horizontal diagonal";
        }
        obFreeTree(h);
    }
}

TEST_F(Boxes, ATurnedRectangleIsDrawnTurned)
{
    Page page(100, 100);
    MemHandle h = box(OBT_RECTANGLE, 30, 45, 70, 55);   // 40 x 10 pixels
    ObLock(h)->rotation = 900;
    page.draw(h);
    EXPECT_EQ(kRed, page.pixel(50, 35)) << "now upright";
    EXPECT_EQ(kWhite, page.pixel(35, 50));
    obFreeTree(h);
}

TEST_F(Boxes, PointListsByType)
{
    struct Case {
        int16_t type;
        int16_t count;
    } cases[] = {{OBT_RECTANGLE, 4}, {OBT_SQUARE, 4}, {OBT_ROUNDRECT, 25}, {OBT_CIRCLE, 13},
                 {OBT_ELLIPSE, 13},  {OBT_DIAMOND, 4}};
    for (const Case &c : cases) {
        MemHandle h = boxAt(c.type, 500, 500, 1000, 400);
        ObLock(h)->rotation = 900;
        int16_t n = 0;
        MemHandle pts = objGetPoints(ObLock(h).get(), &n);
        ASSERT_EQ(c.count, n) << c.type;
        RECT b;
        geoPointsBounds(MemLock<POINT>(pts).get(), n, &b);
        EXPECT_NEAR(400, b.right - b.left, 2) << c.type << ": a quarter turn upright";
        EXPECT_NEAR(1000, b.bottom - b.top, 2) << c.type;
        EXPECT_NEAR(0, b.left + b.right, 2) << c.type << ": about the centre";
        utFreeHandle(pts);
        obFreeTree(h);
    }
    // The diamond's vertices: top, left, bottom, right.
    MemHandle d = boxAt(OBT_DIAMOND, 0, 0, 100, 40);
    int16_t n = 0;
    MemHandle pts = objGetPoints(ObLock(d).get(), &n);
    {
        MemLock<POINT> p(pts);
        EXPECT_TRUE(p[0].x == 0 && p[0].y == -20);
        EXPECT_TRUE(p[1].x == -50 && p[1].y == 0);
        EXPECT_TRUE(p[2].x == 0 && p[2].y == 20);
        EXPECT_TRUE(p[3].x == 50 && p[3].y == 0);
    }
    utFreeHandle(pts);
    obFreeTree(d);
    // Types 802 and 803: the ellipse of a copy whose box width is its height.
    MemHandle counter = obtest::make(OBT_COUNTER802, -500, -200, 500, 200, 8);
    setDataInt(counter, 0, 1000);
    setDataInt(counter, 1, 400);
    pts = objGetPoints(ObLock(counter).get(), &n);
    ASSERT_EQ(13, n);
    RECT b;
    geoPointsBounds(MemLock<POINT>(pts).get(), n, &b);
    EXPECT_EQ(400, b.right - b.left);
    EXPECT_EQ(400, b.bottom - b.top);
    EXPECT_EQ(1000, dataInt(counter, 0)) << "the record itself is not changed";
    utFreeHandle(pts);
    obFreeTree(counter);
}

TEST_F(Boxes, BoundsFollowTheTurnAndTheScaleWords)
{
    struct Case {
        int16_t type;
        uint16_t rotation;
        uint32_t scaleX;
        int32_t width, height;
    } cases[] = {
        {OBT_RECTANGLE, 0, kObScaleOne, 1000, 400},
        {OBT_RECTANGLE, 0, 32767, 498, 400},          // a little under half
        {OBT_RECTANGLE, 900, kObScaleOne, 400, 1000},
        {OBT_RECTANGLE, 450, kObScaleOne, 990, 990},  // (1000 + 400) / sqrt 2
        {OBT_DIAMOND, 900, kObScaleOne, 400, 1000},
        {OBT_ELLIPSE, 0, kObScaleOne, 1000, 400},
        {OBT_ELLIPSE, 900, kObScaleOne, 400, 1000},
        {OBT_ROUNDRECT, 900, kObScaleOne, 400, 1000},
    };
    for (const Case &c : cases) {
        MemHandle h = boxAt(c.type, 2000, 3000, 1000, 400);
        ObLock(h)->rotation = c.rotation;
        ObLock(h)->scaleX = c.scaleX;
        RECT r;
        ASSERT_TRUE(objGetVertexBounds(h, &r) || c.type == OBT_ROUNDRECT);
        if (c.type == OBT_ROUNDRECT)
            shRoundRectBounds(h, &r);
        EXPECT_NEAR(c.width, ObLock(h)->width, 2) << c.type << " " << c.rotation << " " << c.scaleX;
        EXPECT_NEAR(c.height, ObLock(h)->height, 2) << c.type << " " << c.rotation;
        EXPECT_EQ(r.right - r.left, ObLock(h)->width);
        EXPECT_EQ(2000, ObLock(h)->centreX) << "the centre is kept";
        EXPECT_NEAR(2000, (r.left + r.right) / 2, 1);
        obFreeTree(h);
    }
    RECT r;
    EXPECT_FALSE(shRectBounds((MemHandle)0, &r));
}

TEST_F(Boxes, RescalingChoosesTheTypeFromTheNewSides)
{
    struct Case {
        int16_t type;
        RECT target;
        int16_t becomes;
    } cases[] = {
        {OBT_RECTANGLE, {0, 0, 500, 500}, OBT_SQUARE},
        {OBT_SQUARE, {0, 0, 500, 300}, OBT_RECTANGLE},
        {OBT_RECTANGLE, {500, 300, 0, 0}, OBT_RECTANGLE},   // inverted: the sides count
        {OBT_ELLIPSE, {0, 0, 700, 700}, OBT_CIRCLE},
        {OBT_CIRCLE, {0, 0, 700, 500}, OBT_ELLIPSE},
        {OBT_DIAMOND, {0, 0, 600, 600}, OBT_DIAMOND},
        {OBT_ROUNDRECT, {0, 0, 600, 600}, OBT_ROUNDRECT},
    };
    for (const Case &c : cases) {
        MemHandle h = boxAt(c.type, 100, 100, 200, 100);
        MemHandle got = 0;
        switch (c.type) {
        case OBT_RECTANGLE: case OBT_SQUARE: got = shRectRescale(h, &c.target); break;
        case OBT_ELLIPSE: case OBT_CIRCLE: got = shEllipseRescale(h, &c.target); break;
        case OBT_DIAMOND: got = shDiamondRescale(h, &c.target); break;
        default: got = shRoundRectRescale(h, &c.target); break;
        }
        ASSERT_EQ(h, got) << c.type;
        EXPECT_EQ(c.becomes, obGetType(h)) << c.type;
        int32_t w = abs(c.target.right - c.target.left), ht = abs(c.target.bottom - c.target.top);
        EXPECT_EQ(w, dataInt(h, 0)) << c.type;
        EXPECT_EQ(ht, dataInt(h, 1)) << c.type;
        EXPECT_EQ(w, ObLock(h)->width);
        EXPECT_EQ((c.target.left + c.target.right) / 2, ObLock(h)->centreX);
        obFreeTree(h);
    }
}

TEST_F(Boxes, RoundRectCornersScaleWithTheSidesAndEllipsesOfTheSameSizeKeepTheirBox)
{
    MemHandle r = boxAt(OBT_ROUNDRECT, 0, 0, 200, 100);
    setDataInt(r, 2, 30);
    setDataInt(r, 3, 20);
    RECT target = {0, 0, 500, 50};
    shRoundRectRescale(r, &target);
    EXPECT_EQ(75, dataInt(r, 2)) << "30 x 2.5";
    EXPECT_EQ(10, dataInt(r, 3)) << "20 x 0.5";
    EXPECT_EQ(500, dataInt(r, 0));
    obFreeTree(r);

    // Head sides already those of the target: only the type and the
    // rectangle are stored.
    MemHandle e = boxAt(OBT_ELLIPSE, 0, 0, 300, 300);
    setDataInt(e, 0, 111);
    RECT same = {1000, 1000, 1300, 1300};
    shEllipseRescale(e, &same);
    EXPECT_EQ(OBT_CIRCLE, obGetType(e));
    EXPECT_EQ(111, dataInt(e, 0));
    EXPECT_EQ(1150, ObLock(e)->centreX);
    obFreeTree(e);

    // A round rectangle of no width keeps its corner instead of dividing by 0.
    MemHandle flat = boxAt(OBT_ROUNDRECT, 0, 0, 0, 100);
    setDataInt(flat, 2, 30);
    RECT wider = {0, 0, 400, 200};
    shRoundRectRescale(flat, &wider);
    EXPECT_EQ(30, dataInt(flat, 2));
    EXPECT_EQ(400, dataInt(flat, 0));
    obFreeTree(flat);
}

TEST_F(Boxes, QuarterAndHalfTurns)
{
    struct Case {
        int16_t type;
        int16_t angle;
        uint16_t rotation;
        bool swapped;
    } cases[] = {
        {OBT_RECTANGLE, 900, 0, true},   {OBT_RECTANGLE, 1800, 0, false},
        {OBT_RECTANGLE, -900, 0, true},  {OBT_RECTANGLE, 450, 450, false},
        {OBT_ROUNDRECT, 2700, 0, true},  {OBT_ELLIPSE, 900, 0, true},
        {OBT_DIAMOND, 1800, 1800, false}, {OBT_DIAMOND, 900, 900, false},
    };
    for (const Case &c : cases) {
        MemHandle h = boxAt(c.type, 1000, 0, 1000, 400);
        if (c.type == OBT_ROUNDRECT) {
            setDataInt(h, 2, 60);
            setDataInt(h, 3, 20);
        }
        ObLock(h)->scaleX = 1000;
        ObLock(h)->scaleY = 2000;
        objFlipRotate(h, POINT{0, 0}, c.angle);
        {
            ObLock r(h);
            EXPECT_EQ(c.rotation, r->rotation) << c.type << " by " << c.angle;
            EXPECT_EQ(c.swapped ? 400 : 1000, dataInt(h, 0)) << c.type << " by " << c.angle;
            EXPECT_EQ(c.swapped ? 2000u : 1000u, r->scaleX) << c.type << " by " << c.angle;
            if (c.type == OBT_ROUNDRECT) {
                EXPECT_EQ(20, dataInt(h, 2)) << "the corner turns too";
            }
            // The centre (1000, 0) turned counter-clockwise about the origin.
            double a = c.angle * 0.1 * 3.141592654 / 180;
            EXPECT_NEAR(1000 * cos(a), r->centreX, 1) << c.type << " by " << c.angle;
            EXPECT_NEAR(-1000 * sin(a), r->centreY, 1) << c.type << " by " << c.angle;
        }
        obFreeTree(h);
    }
}

TEST_F(Boxes, ACircleOnlyMoves)
{
    for (int16_t type : {OBT_CIRCLE, OBT_ELLIPSE}) {
        MemHandle h = boxAt(type, 1000, 0, 500, 500);
        ObLock(h)->scaleX = 1000;
        std::vector<uint8_t> data = obtest::dataOf(h);
        objFlipRotate(h, POINT{0, 0}, 300);
        EXPECT_EQ(0, ObLock(h)->rotation) << type;
        EXPECT_EQ(data, obtest::dataOf(h));
        EXPECT_EQ(500, ObLock(h)->width) << "no bounds step";
        EXPECT_EQ(1000u, ObLock(h)->scaleX);
        EXPECT_NEAR(866, ObLock(h)->centreX, 1);
        EXPECT_NEAR(-500, ObLock(h)->centreY, 1);
        obFreeTree(h);
    }
}

// A list a <-> box <-> c with the box turned and a pattern behind its box.
struct Listed {
    MemHandle a, box, c;
};

Listed listedBox(int16_t type, uint16_t rotation)
{
    Listed l;
    l.a = boxAt(OBT_RECTANGLE, 0, 0, 10, 10);
    l.box = boxAt(type, 5000, 5000, 2000, 1000);
    l.c = boxAt(OBT_RECTANGLE, 0, 0, 10, 10);
    uint8_t rows[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    l.box = withPattern(l.box, pattern(rows));
    ObLock(l.box)->rotation = rotation;
    RECT bounds;   // the head's size is the turned figure's, as after any turn
    if (type == OBT_ROUNDRECT)
        shRoundRectBounds(l.box, &bounds);
    else
        objGetVertexBounds(l.box, &bounds);
    obLinkPair(l.a, l.box);
    obLinkPair(l.box, l.c);
    return l;
}

TEST_F(Boxes, ATurnedRectangleRescalesAsAPolygonInItsMovedHandle)
{
    for (int16_t type : {OBT_RECTANGLE, OBT_DIAMOND}) {
        Listed l = listedBox(type, 300);
        uint32_t before = ObLock(l.box)->length;
        int32_t w = ObLock(l.box)->width, h = ObLock(l.box)->height;
        // The turned box doubled about its centre, moved to (2000, 1500).
        MemHandle now = objScale(l.box, 2, 2, 5000, 5000, 2000, 1500);
        ASSERT_NE(0u, now);
        EXPECT_NE(l.box, now) << "the grown record moved (the tests' allocator always moves)";
        EXPECT_FALSE(utIsLiveHandle(l.box));
        EXPECT_EQ(now, obGetNext(l.a)) << "the neighbours name the new handle";
        EXPECT_EQ(now, obGetPrev(l.c));
        ObLock r(now);
        EXPECT_EQ(OBT_POLYGON, r->type);
        EXPECT_EQ(0, r->rotation);
        EXPECT_EQ(before + 26, r->length);
        int16_t n;
        memcpy(&n, obRecData(r.get()), 2);
        EXPECT_EQ(4, n);
        const uint8_t *fill = obRecData(r.get()) + 2 + 8 * 4;
        PatternFill p;
        memcpy(&p, fill, sizeof p);
        EXPECT_EQ(24u, p.size) << "the pattern follows the points";
        EXPECT_EQ(8, p.rows[14]);
        EXPECT_NEAR(2 * w, r->width, 1) << type;
        EXPECT_NEAR(2 * h, r->height, 1) << type;
        EXPECT_EQ(2000, r->centreX) << type;
        EXPECT_EQ(1500, r->centreY) << type;
        obFreeList(l.a);
    }
}

TEST_F(Boxes, TurnedCurvedBoxesRescaleAsClosedCurves)
{
    struct Case {
        int16_t type;
        int16_t points;
        int32_t grows;
    } cases[] = {{OBT_ROUNDRECT, 25, 8 * 25 - 14}, {OBT_ELLIPSE, 13, 8 * 13 - 6}};
    for (const Case &c : cases) {
        Listed l = listedBox(c.type, 300);
        uint32_t before = ObLock(l.box)->length;
        int32_t w = ObLock(l.box)->width;
        MemHandle now = objScale(l.box, 0.5, 0.5, 5000, 5000, 5000, 5000);
        ASSERT_NE(0u, now);
        EXPECT_EQ(now, obGetNext(l.a));
        ObLock r(now);
        EXPECT_EQ(OBT_CLOSED_CURVE, r->type);
        EXPECT_EQ(0, r->rotation);
        EXPECT_EQ(before + c.grows, r->length) << c.type;
        int16_t n;
        memcpy(&n, obRecData(r.get()), 2);
        EXPECT_EQ(c.points, n);
        PatternFill p;
        memcpy(&p, obRecData(r.get()) + 2 + 8 * n, sizeof p);
        EXPECT_EQ(8, p.height) << "the pattern follows the points";
        EXPECT_NEAR(5000, r->centreX, 2);
        EXPECT_NEAR(w / 2, r->width, 4) << "the curve's bounds";
        obFreeList(l.a);
    }
}

TEST_F(Boxes, ConversionsThatCannotGrowLeaveTheRecordAsItWas)
{
    for (int16_t type : {OBT_RECTANGLE, OBT_DIAMOND, OBT_ELLIPSE, OBT_ROUNDRECT}) {
        MemHandle h = boxAt(type, 5000, 5000, 2000, 1000);
        ObLock(h)->rotation = 300;
        std::vector<uint8_t> head = obtest::headOf(h), data = obtest::dataOf(h);
        qmtest::BoxRecorder boxes;
        utFailNextAllocs(1);
        MemHandle got = type == OBT_RECTANGLE ? shRectToPolygon(h)
                        : type == OBT_DIAMOND ? shDiamondToPolygon(h)
                        : type == OBT_ELLIPSE ? shEllipseToCurve(h)
                                              : shRoundRectToCurve(h);
        utFailNextAllocs(0);
        EXPECT_EQ(0u, got) << type;
        EXPECT_EQ(1u, boxes.count()) << boxes.texts();
        EXPECT_TRUE(utIsLiveHandle(h));
        EXPECT_EQ(head, obtest::headOf(h)) << type;
        EXPECT_EQ(data, obtest::dataOf(h)) << type;
        // Rescaling through the dispatcher keeps the old object then.
        RECT before;
        obGetRect(h, &before);
        utFailNextAllocs(1);
        EXPECT_EQ(h, objScale(h, 2, 2, 0, 0, 0, 0));
        utFailNextAllocs(0);
        EXPECT_EQ(head, obtest::headOf(h)) << type;
        obFreeTree(h);
    }
    // Types that are not theirs are refused.
    MemHandle e = boxAt(OBT_ELLIPSE, 0, 0, 100, 100);
    EXPECT_EQ(0u, shRectToPolygon(e));
    EXPECT_EQ(0u, shRoundRectToCurve(e));
    EXPECT_EQ(0u, shDiamondToPolygon((MemHandle)0));
    obFreeTree(e);
}

TEST_F(Boxes, OutlinesUseTheDCsOwnPenAndBrush)
{
    for (int16_t type : {OBT_RECTANGLE, OBT_ROUNDRECT, OBT_ELLIPSE, OBT_DIAMOND}) {
        Page page(100, 100);
        MemHandle h = box(type, 10, 10, 90, 90, FILL_SOLID, kRed);
        GdiObject<HBRUSH> green(CreateSolidBrush(kGreen));
        GdiSelect selBrush(page.dc(), green);
        GdiSelect selPen(page.dc(), GetStockObject(NULL_PEN));
        EXPECT_EQ(1, shBoxOutline(page.dc(), ObLock(h).get()));
        EXPECT_EQ(kGreen, page.pixel(50, 50)) << type;
        EXPECT_EQ(0, page.in(kRed, 0, 0, 100, 100) + page.in(kBlack, 0, 0, 100, 100)) << type;
        obFreeTree(h);
    }
    EXPECT_EQ(0, shBoxOutline(nullptr, nullptr));
}

TEST_F(Boxes, TheRoundRectRegionIsInDevicePixels)
{
    Page page(10, 10);
    RECT r = {px(10), px(10), px(90), px(50)};
    HRGN rgn = shRoundRectRegion(&r, px(20), px(20), 0);
    ASSERT_TRUE(rgn);
    EXPECT_TRUE(PtInRegion(rgn, 50, 30));
    EXPECT_TRUE(PtInRegion(rgn, 12, 30));
    EXPECT_FALSE(PtInRegion(rgn, 11, 11)) << "the rounded corner";
    EXPECT_FALSE(PtInRegion(rgn, 95, 30));
    DeleteObject(rgn);
    HRGN turned = shRoundRectRegion(&r, px(20), px(20), 900);
    ASSERT_TRUE(turned);
    EXPECT_TRUE(PtInRegion(turned, 50, 60)) << "upright after a quarter turn";
    EXPECT_FALSE(PtInRegion(turned, 15, 30));
    DeleteObject(turned);
    EXPECT_EQ(nullptr, shRoundRectRegion(nullptr, 0, 0, 0));
}

}  // namespace

namespace {

// ---- huge boxes ---------------------------------------------------------------------------------

// A box shape read from a file may claim any size. Ellipses, circles and
// rounded rectangles (and rectangles and diamonds with them) of boxes past
// a million twips, negative ones too, draw in bounded work at every zoom,
// on screen and mapped like a 600-dpi printer: what lies outside the clip
// box is left out and what crosses it is cut to it, so GDI never gets a
// figure far outside the device. Where the outline crosses the device it
// is drawn there; the inside stays unfilled without a fill.
class HugeBoxes : public FillTest {};

struct HugeCase {
    int16_t type;
    int32_t w, h;
    uint16_t rotation;
};

// The logical point of a device point in the DC's mapping.
POINT logicalOf(HDC dc, int x, int y)
{
    POINT p = {x, y};
    DPtoLP(dc, &p, 1);
    return p;
}

TEST_F(HugeBoxes, DrawInBoundedWorkAtEveryZoomOnScreenAndInPrint)
{
    const int16_t kinds[] = {OBT_ELLIPSE, OBT_CIRCLE, OBT_ROUNDRECT, OBT_RECTANGLE, OBT_DIAMOND};
    const int32_t sizes[][2] = {{1000000, 1000000},     {-1000000, 600000},
                                {10000000, 10000000},   {100000000, 100000000},
                                {-141557758, -70713345}, {2000000000, 2000000000},
                                {2000000000, 40}};
    const int zooms[] = {10, 100, 800};
    const uint16_t rotations[] = {0, 450};
    int drawn = 0;
    for (bool print : {false, true}) {
        for (int zoom : zooms) {
            for (int16_t type : kinds) {
                for (const auto &size : sizes) {
                    for (uint16_t rotation : rotations) {
                        for (uint8_t fill : {(uint8_t)0, (uint8_t)FILL_SOLID}) {
                            if (fill && rotation)
                                continue;   // the fill is cut as the outline is
                            qmtest::Dib dib(200, 120);
                            dmResetModule();
                            dmSetZoomDC(dib.dc(), zoom);
                            dmSetMapping(dib.dc());
                            if (print) {
                                int dpi = 600 * zoom / 100;
                                SetViewportExtEx(dib.dc(), dpi, dpi, nullptr);
                            }
                            // The box's left edge (or its far end) lies at
                            // device column 60, the middle row at 60.
                            POINT at = logicalOf(dib.dc(), 60, 60);
                            int64_t w = size[0], h = size[1];
                            int64_t cx = (int64_t)at.x + llabs(w) / 2;
                            cx = std::max<int64_t>(std::min<int64_t>(cx, INT32_MAX), INT32_MIN);
                            MemHandle b = obtest::make(type, 0, 0, 10, 10);
                            {
                                ObLock r(b);
                                r->centreX = (int32_t)cx;
                                r->centreY = at.y;
                                r->width = (int32_t)w;
                                r->height = (int32_t)h;
                                r->penWidth = 40;
                                r->penColour = kBlack;
                                r->fillKind = fill;
                                r->fillColour = kRed;
                                r->rotation = type == OBT_CIRCLE ? 0 : rotation;
                                r->layer = 1;
                                uint8_t *d = obRecData(r.get());
                                int32_t sw = (int32_t)w, sh = (int32_t)h;
                                memcpy(d, &sw, 4);
                                memcpy(d + 4, &sh, 4);
                            }
                            if (type == OBT_ROUNDRECT) {
                                b = obResize(b, obCalcSize(b, 0));
                                setDataInt(b, 2, 20000);
                                setDataInt(b, 3, 20000);
                            }
                            obDraw(dib.dc(), b);
                            ++drawn;
                            // Far from the box nothing is drawn above the
                            // middle row's band when the box is thin.
                            if (size[1] == 40 && rotation == 0 && !print)
                                EXPECT_EQ(0, dib.count(kBlack, RECT{0, 0, 200, 20}))
                                    << type << " " << w << "x" << h << " at " << zoom;
                            // (Pens thinner than the 90 pixels to the
                            // inside point.)
                            int penPixels = 40 * (print ? 600 : 96) * zoom / 100 / 1440;
                            if (rotation == 0 && size[1] != 40 && llabs(w) < 1500000000 &&
                                penPixels < 60) {
                                // The outline crosses the device near column 60.
                                EXPECT_GT(dib.count(kBlack, RECT{50, 50, 70, 70}), 0)
                                    << type << " " << w << "x" << h << " at " << zoom
                                    << (print ? " print" : " screen");
                                COLORREF inside = dib.pixel(150, 60);
                                EXPECT_EQ(fill ? kRed : kWhite, inside)
                                    << type << " " << w << "x" << h << " at " << zoom
                                    << (print ? " print" : " screen");
                            }
                            obFreeTree(b);
                            if (HasFailure())
                                return;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(drawn, 0);
    dmResetModule();
}

// A box wholly outside the device is left out; one containing the whole
// device fills it.
TEST_F(HugeBoxes, OutsideIsLeftOutAndAroundIsFilled)
{
    for (int16_t type : {OBT_ELLIPSE, OBT_ROUNDRECT, OBT_RECTANGLE}) {
        qmtest::Dib dib(100, 80);
        dmSetZoomDC(dib.dc(), 400);
        dmSetMapping(dib.dc());
        MemHandle outside = box(type, 0, 0, 10, 10);
        {
            ObLock r(outside);
            r->centreX = -900000000;
            r->centreY = 5000;
            r->width = 1000000000;
            r->height = 1000000000;
            uint8_t *d = obRecData(r.get());
            memcpy(d, &r->width, 4);
            memcpy(d + 4, &r->height, 4);
        }
        obDraw(dib.dc(), outside);
        EXPECT_EQ(100 * 80, dib.count(kWhite)) << type;
        {
            ObLock r(outside);
            r->centreX = 0;
        }
        obDraw(dib.dc(), outside);
        EXPECT_EQ(100 * 80, dib.count(kRed)) << type;
        obFreeTree(outside);
    }
    dmResetModule();
}

}  // namespace
