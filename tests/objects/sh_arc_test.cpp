// Arcs and pies: new geometry, drawing the whole ellipse, flips, rescaling
// that keeps the ends on the stretched ellipse, the rotated pie becoming a
// closed curve with its fill block, rotation about another point, and the
// conversion growing through the relinking resize.
#include "tests/objects/fill_kit.h"
#include "model/ob_links.h"
#include "model/ob_transform.h"
#include "objects/sh_arc.h"
#include "support/geo_rect.h"
#include "support/geo_rotate.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <stdlib.h>

using namespace filltest;

namespace {

class Arcs : public FillTest {};

struct Geo {
    int32_t w, h, ox, oy;
    int16_t start, end;
};

Geo geoOf(MemHandle h)
{
    ObLock r(h);
    const uint8_t *d = obRecData(r.get());
    return {utGetAt<int32_t>(d, 0),  utGetAt<int32_t>(d, 4),  utGetAt<int32_t>(d, 8),
            utGetAt<int32_t>(d, 12), utGetAt<int16_t>(d, 16), utGetAt<int16_t>(d, 18)};
}

void setAngles(MemHandle h, int16_t start, int16_t end)
{
    ObLock r(h);
    utPutAt<int16_t>(obRecData(r.get()), 16, start);
    utPutAt<int16_t>(obRecData(r.get()), 18, end);
}

// A new arc or pie over the box (twips) as the factory makes it, in black
// (a pie filled red).
MemHandle arcAt(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b)
{
    MemHandle h = shMakeEllipseArc(obtest::make(type, l, t, r, b, 0));
    ObLock rec(h);
    rec->penColour = kBlack;
    rec->fillColour = kRed;
    rec->fillKind = type == OBT_PIE ? FILL_SOLID : 0;
    rec->layer = 1;
    return h;
}

// The end point of the arc at an angle, in page coordinates.
POINT endAt(MemHandle h, int16_t angle)
{
    ObLock r(h);
    RECT box;
    shArcEllipseBox(r.get(), &box, nullptr);
    POINT p;
    geoEllipsePointAt(&box, angle, &p);
    return p;
}

TEST_F(Arcs, ANewArcIsTheWholeEllipseAndDrawsIt)
{
    MemHandle h = arcAt(OBT_ARC, px(10), px(10), px(90), px(50));
    Geo g = geoOf(h);
    EXPECT_EQ(px(80), g.w);
    EXPECT_EQ(px(40), g.h);
    EXPECT_EQ(0, g.ox);
    EXPECT_EQ(0, g.oy);
    EXPECT_EQ(0, g.start);
    EXPECT_EQ(3600, g.end);
    EXPECT_EQ(86u + 20, obCalcSize(h, 0));
    Page page(100, 60);
    page.draw(h);
    // Every side of the ellipse shows.
    EXPECT_GT(page.in(kBlack, 8, 28, 13, 33), 0) << "left";
    EXPECT_GT(page.in(kBlack, 87, 28, 92, 33), 0) << "right";
    EXPECT_GT(page.in(kBlack, 48, 8, 53, 13), 0) << "top";
    EXPECT_GT(page.in(kBlack, 48, 47, 53, 52), 0) << "bottom";

    // A quarter shows only its quarter.
    setAngles(h, 0, 900);
    Page quarter(100, 60);
    quarter.draw(h);
    EXPECT_GT(quarter.in(kBlack, 87, 28, 92, 31), 0) << "the start, at 0 degrees";
    EXPECT_GT(quarter.in(kBlack, 48, 8, 53, 13), 0) << "the end, at 90 degrees";
    EXPECT_EQ(0, quarter.in(kBlack, 0, 34, 100, 60)) << "nothing below the centre";
    EXPECT_EQ(0, quarter.in(kBlack, 0, 0, 46, 60)) << "nothing left of it";
    obFreeTree(h);

    MemHandle pie = arcAt(OBT_PIE, 0, 0, 100, 100);
    ObLock(pie)->fillKind = FILL_PATTERN;
    EXPECT_EQ(86u + 20 + 24, obCalcSize(pie, 0)) << "a pie counts its fill block";
    obFreeTree(pie);
}

TEST_F(Arcs, APieOfEqualAnglesIsTheWholeEllipseWithoutTheCentrePoint)
{
    MemHandle h = arcAt(OBT_PIE, px(10), px(10), px(90), px(90));
    setAngles(h, 900, 900);
    Page page(100, 100);
    page.draw(h);
    // No edge runs from the centre up to the start point at 90 degrees.
    EXPECT_EQ(0, page.in(kBlack, 45, 15, 55, 48)) << "a radius was drawn";
    EXPECT_GT(page.in(kRed, 45, 15, 55, 48), 300) << "filled across the top";
    EXPECT_GT(page.in(kRed, 45, 52, 55, 85), 300) << "and the bottom";
    int16_t n = 0;
    MemHandle pts = objGetPoints(ObLock(h).get(), &n);
    EXPECT_EQ(13, n) << "the arc's control points alone";
    utFreeHandle(pts);
    RECT bounds;
    objGetVertexBounds(h, &bounds);
    EXPECT_EQ(px(80), bounds.right - bounds.left);
    EXPECT_EQ(px(80), bounds.bottom - bounds.top);
    obFreeTree(h);

    // A quarter pie has its centre: the radius down to the centre shows.
    MemHandle q = arcAt(OBT_PIE, px(10), px(10), px(90), px(90));
    setAngles(q, 900, 1800);
    Page quarter(100, 100);
    quarter.draw(q);
    EXPECT_GT(quarter.in(kBlack, 48, 20, 52, 48), 0);
    obFreeTree(q);
}

TEST_F(Arcs, FlipsMirrorTheAnglesAndTheEllipseOffset)
{
    struct Case {
        uint16_t rotation;
        bool horizontal;
        int16_t start, end;       // before
        uint16_t rotationAfter;
        int16_t startAfter, endAfter;
    } cases[] = {
        {0, true, 0, 900, 0, 900, 1800},
        {0, false, 0, 900, 0, 2700, 0},
        {0, true, 0, 3600, 0, 1800, 1800},
        {300, true, 0, 900, 1500, 2700, 0},
        {300, false, 100, 900, 3300, 2700, 3500},
    };
    for (const Case &c : cases) {
        MemHandle h = arcAt(OBT_ARC, 0, 0, 800, 400);
        setAngles(h, c.start, c.end);
        {
            ObLock r(h);
            r->rotation = c.rotation;
            utPutAt<int32_t>(obRecData(r.get()), 8, 30);
            utPutAt<int32_t>(obRecData(r.get()), 12, -20);
        }
        c.horizontal ? obFlipHorizontal(h, 400) : obFlipVertical(h, 200);
        Geo g = geoOf(h);
        EXPECT_EQ(c.rotationAfter, ObLock(h)->rotation) << c.rotation;
        EXPECT_EQ(c.startAfter, g.start) << c.rotation << " " << c.horizontal;
        EXPECT_EQ(c.endAfter, g.end) << c.rotation << " " << c.horizontal;
        EXPECT_EQ(c.horizontal ? -30 : 30, g.ox);
        EXPECT_EQ(c.horizontal ? -20 : 20, g.oy);
        obFreeTree(h);
    }
}

TEST_F(Arcs, StretchingKeepsTheEndsOnTheStretchedEllipse)
{
    // The new angles are whole tenths of a degree: ends on the axes and on
    // the diagonals of this small ellipse land within a unit.
    const int16_t angles[][2] = {{0, 900}, {450, 1350}, {1800, 2700}};
    for (const auto &a : angles) {
        MemHandle h = arcAt(OBT_ARC, 1000, 1000, 1600, 1300);
        setAngles(h, a[0], a[1]);
        shArcPieBounds(h, nullptr);
        POINT c;
        obGetCentre(h, &c);
        POINT before[2] = {endAt(h, a[0]), endAt(h, a[1])};
        h = obTreeScale(h, 2.0, 1.0, c.x, c.y, c.x, c.y);
        Geo g = geoOf(h);
        EXPECT_EQ(1200, g.w) << a[0];
        EXPECT_EQ(300, g.h);
        POINT after[2] = {endAt(h, g.start), endAt(h, g.end)};
        for (int i = 0; i < 2; ++i) {
            POINT want = {c.x + 2 * (before[i].x - c.x), before[i].y};
            EXPECT_LE(labs(after[i].x - want.x), 1) << a[0] << " end " << i;
            EXPECT_LE(labs(after[i].y - want.y), 1) << a[0] << " end " << i;
        }
        obFreeTree(h);
    }
}

TEST_F(Arcs, ASideOfNoSizeKeepsItsScale)
{
    MemHandle h = arcAt(OBT_ARC, 0, 0, 600, 0);
    setAngles(h, 0, 1800);
    RECT target = {-300, 0, 900, 0};
    EXPECT_EQ(h, shArcRescale(h, &target));
    Geo g = geoOf(h);
    EXPECT_EQ(1200, g.w);
    EXPECT_EQ(0, g.h);
    EXPECT_GE(g.start, -3600);
    EXPECT_LE(g.start, 3600);
    EXPECT_GE(g.end, -3600);
    EXPECT_LE(g.end, 3600);
    obFreeTree(h);
}

TEST_F(Arcs, ARotatedPieRescaledBecomesAClosedCurveWithItsFillBlockBehind)
{
    const uint8_t rows[8] = {0x0F, 0xF0, 0x0F, 0xF0, 0x0F, 0xF0, 0x0F, 0xF0};
    PatternFill p = pattern(rows);
    MemHandle h = withPattern(arcAt(OBT_PIE, 0, 0, 800, 400), p);
    setAngles(h, 0, 900);
    ObLock(h)->rotation = 300;
    shArcPieBounds(h, nullptr);
    MemHandle inGroup = obtest::make(OBT_RECTANGLE);
    MemHandle group = obNewGroup(OBT_GROUP, h, inGroup, (MemHandle)0);
    POINT c;
    obGetCentre(h, &c);
    MemHandle now = obTreeScale(h, 1.5, 2.0, c.x, c.y, c.x, c.y);
    ASSERT_NE(0u, now);
    EXPECT_EQ(now, obGetFirstMember(group)) << "the group names the grown record";
    {
        ObLock r(now);
        EXPECT_EQ(OBT_CLOSED_CURVE, r->type);
        EXPECT_EQ(0, r->rotation);
        int16_t n = utGetAt<int16_t>(obRecData(r.get()), 0);
        EXPECT_GT(n, 7);
        EXPECT_EQ(0, (n - 1) % 3) << "a poly-Bezier";
        EXPECT_EQ(obDataOffset(r.get()) + 2 + 8u * (uint32_t)n + 24, r->length);
        EXPECT_EQ(0, memcmp(obRecData(r.get()) + 2 + 8 * n, &p, sizeof p))
            << "the pattern follows the points";
    }
    obFreeTree(group);
}

TEST_F(Arcs, ArcToCurveGrowsThroughTheRelinkingResize)
{
    MemHandle h = arcAt(OBT_ARC, 0, 0, 800, 400);
    setAngles(h, 0, 1800);
    MemHandle other = obtest::make(OBT_RECTANGLE);
    MemHandle group = obNewGroup(OBT_GROUP, other, h, (MemHandle)0);
    MemHandle now = shArcToCurve(h);
    ASSERT_NE(0u, now);
    EXPECT_FALSE(utIsLiveHandle(h)) << "every grow moves the block in the test allocator";
    EXPECT_EQ(now, obGetNextMember(other));
    EXPECT_EQ(OBT_BEZIER, ObLock(now)->type);
    EXPECT_EQ(0u, shArcToCurve(other)) << "not an arc";
    obFreeTree(group);
}

TEST_F(Arcs, RotatingAboutAnotherPointMovesBothCentres)
{
    MemHandle h = arcAt(OBT_PIE, 1000, 1000, 1400, 1200);
    setAngles(h, 0, 900);
    shArcPieBounds(h, nullptr);
    POINT e;
    RECT box;
    shArcEllipseBox(ObLock(h).get(), &box, &e);
    objFlipRotate(h, POINT{0, 0}, 900);
    POINT e2;
    shArcEllipseBox(ObLock(h).get(), &box, &e2);
    EXPECT_EQ(900, ObLock(h)->rotation);
    // A quarter turn counter-clockwise about the origin: (x, y) -> (y, -x).
    EXPECT_LE(labs(e2.x - e.y), 1);
    EXPECT_LE(labs(e2.y + e.x), 1);
    objFlipRotate(h, POINT{0, 0}, 0);
    EXPECT_EQ(900, ObLock(h)->rotation) << "no angle, no change";
    obFreeTree(h);
}

}  // namespace
