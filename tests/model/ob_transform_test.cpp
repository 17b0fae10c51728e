// Rescaling, fitting, rotating and mirroring objects and trees, and the
// gradient block kept in step with its shape.
//
// The transforms are checked apart from any type's own rules: a stand-in
// module of this file takes the rectangle's (7) place, turning only its
// centre about the point, and counts the rescales it is asked for. (The box
// shapes' own rescale and rotate are tested with objects/sh_box.)
#include "tests/model/ob_kit.h"
#include "model/ob_transform.h"
#include "model/sh_gradient.h"
#include "objects/sh_arrow.h"
#include "text/tx_object.h"
#include "support/dm_map.h"
#include "support/geo_rotate.h"
#include <memory>

namespace {

std::vector<MemHandle> g_scaled;

int standInScale(MemHandle h, const RECT *target)
{
    g_scaled.push_back(h);
    if (obGetType(h) != OBT_RECTANGLE)
        return 0;
    obSetRect(h, target);
    return 1;
}

int standInRotate(MemHandle h, POINT pt, int16_t angle)
{
    ObLock r(h);
    if (!r || r->type != OBT_RECTANGLE)
        return 0;
    POINT c = {r->centreX, r->centreY};
    geoRotatePointsAbout(&c, 1, pt, -angle * 0.1 * kGeoPi / 180);
    r->centreX = c.x;
    r->centreY = c.y;
    return 1;
}

class ObTransform : public ::testing::Test {
protected:
    void SetUp() override
    {
        dmResetModule();
        // Rectangles are rescaled and turned by the stand-ins; every rescale
        // of a rectangle, a group or type 700 is recorded.
        scale_.reset(new obtest::TypeStandIn({OBT_RECTANGLE, OBT_GROUP, 700}, [](ObTypeProcs &p) {
            p.rescale = [](MemHandle *h, const RECT *target) { return standInScale(*h, target); };
        }));
        rotate_.reset(new obtest::TypeStandIn({OBT_RECTANGLE}, [](ObTypeProcs &p) {
            p.flipRotate = standInRotate;
        }));
        g_scaled.clear();
    }
    void TearDown() override
    {
        rotate_.reset();
        scale_.reset();
        EXPECT_EQ(0, live.leaked()) << "memory handle leaked";
    }
    obtest::LiveCount live;
    std::unique_ptr<obtest::TypeStandIn> scale_, rotate_;
};

RECT boxOf(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    return r;
}

::testing::AssertionResult isRect(const RECT &r, int l, int t, int rt, int b)
{
    if (r.left == l && r.top == t && r.right == rt && r.bottom == b)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

// A rectangle with 8 bytes of geometry and a gradient block.
MemHandle gradientRect(int l, int t, int r, int b, const GradientFillBlock &g)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, l, t, r, b, 8 + 40);
    ObLock rec(h);
    rec->fillKind = 3;
    memcpy(obRecData(rec.get()) + 8, &g, sizeof g);
    return h;
}

GradientFillBlock gradientOf(MemHandle h)
{
    GradientFillBlock g;
    ObLock rec(h);
    memcpy(&g, obRecData(rec.get()) + 8, sizeof g);
    return g;
}

GradientFillBlock gradient(int16_t type, int32_t dx, int32_t dy, int16_t angle = 0,
                           int32_t ox = 0, int32_t oy = 0)
{
    GradientFillBlock g = {};
    g.type = type;
    g.angle = angle;
    g.steps = 16;
    g.offsetX = ox;
    g.offsetY = oy;
    g.dx = dx;
    g.dy = dy;
    return g;
}

// ---- rescaling --------------------------------------------------------------------------

TEST_F(ObTransform, ScalingByMinusFiftyPercentHalvesAboutTheCentre)
{
    MemHandle h = obtest::make(700, 0, 0, 1000, 1000);
    obScalePercent(h, -50);
    EXPECT_TRUE(isRect(boxOf(h), 250, 250, 750, 750));
    obScalePercent(h, 0);
    EXPECT_TRUE(isRect(boxOf(h), 250, 250, 750, 750));
    // A side of at least a pixel (15 twips here) keeps a pixel.
    MemHandle thin = obtest::make(700, 0, 0, 30, 3000);
    obScalePercent(thin, 10);
    RECT r = boxOf(thin);
    EXPECT_EQ(14, r.right - r.left) << "a pixel, its half (7) truncated on each side";
    EXPECT_EQ(300, r.bottom - r.top);
    obFreeTree(h);
    obFreeTree(thin);
}

TEST_F(ObTransform, FittingPinsTheEdgeThatStayed)
{
    // The reviewer's case, with the corners in either order.
    for (RECT target : {RECT{0, 0, 500, 2000}, RECT{500, 2000, 0, 0}}) {
        MemHandle h = obtest::make(700, 0, 0, 1000, 1000);
        obFitToRect(h, &target);
        EXPECT_TRUE(isRect(boxOf(h), 0, 0, 500, 2000));
        obFreeTree(h);
    }
    // Odd sizes make the scaled box round; the shared edge stays exact.
    for (int l = 1; l < 400; l += 37) {
        MemHandle right = obtest::make(700, 0, 0, 1001, 777);
        RECT keepRight = {l, 3, 1001, 700 - l};
        obFitToRect(right, &keepRight);
        EXPECT_EQ(1001, boxOf(right).right) << l;
        MemHandle left = obtest::make(700, 0, 0, 1001, 777);
        RECT keepLeft = {0, 3, 1001 - l, 700 - l};
        obFitToRect(left, &keepLeft);
        EXPECT_EQ(0, boxOf(left).left) << l;
        MemHandle top = obtest::make(700, 0, 0, 1001, 777);
        RECT keepTop = {l, 0, 1001 - 2 * l / 3, 777 - l};
        obFitToRect(top, &keepTop);
        EXPECT_EQ(0, boxOf(top).top) << l;
        MemHandle bottom = obtest::make(700, 0, 0, 1001, 777);
        RECT keepBottom = {l, 2 * l, 1001 - 2 * l / 3, 777};
        obFitToRect(bottom, &keepBottom);
        EXPECT_EQ(777, boxOf(bottom).bottom) << l;
        for (MemHandle h : {right, left, top, bottom})
            obFreeTree(h);
    }
}

TEST_F(ObTransform, TextStackedRightToLeftKeepsItsRightEdge)
{
    for (uint32_t flags : {0u, (uint32_t)TXF_RTL}) {
        MemHandle h = obtest::make(OBT_TEXT, 0, 0, 1001, 777, 130);
        memcpy(obRecData(ObLock(h).get()) + 8 + offsetof(TextHeader, flags), &flags, 4);
        EXPECT_EQ(flags ? 1 : 0, txIsRightToLeft(h));
        // Both edges shared: right to left text keeps the right one, other
        // text the left one.
        RECT target = {0, 0, 1001, 555};
        obFitToRect(h, &target);
        RECT r = boxOf(h);
        EXPECT_EQ(flags ? 1001 : 0, flags ? r.right : r.left);
        obFreeTree(h);
    }
}

TEST_F(ObTransform, TreeScaleVisitsMembersBeforeTheirOwnerAndNothingWhenIdle)
{
    MemHandle a = obtest::make(OBT_RECTANGLE, 0, 0, 100, 100);
    MemHandle b = obtest::make(700, 200, 0, 300, 100);
    MemHandle g = obNewGroup(OBT_GROUP, a, b, (MemHandle)0);
    obTreeScale(g, 1.0, 1.0, 50, 50, 50, 50);
    obTreeScale(g, 0, 0, 50, 50, 60, 60);
    EXPECT_TRUE(g_scaled.empty());
    obTreeScale(g, 2.0, 2.0, 0, 0, 0, 0);
    ASSERT_EQ(3u, g_scaled.size());
    EXPECT_EQ(g, g_scaled.back());
    EXPECT_TRUE(isRect(boxOf(a), 0, 0, 200, 200));
    EXPECT_TRUE(isRect(boxOf(b), 400, 0, 600, 200));
    EXPECT_TRUE(isRect(boxOf(g), 0, 0, 600, 200));
    // Scaling by a factor keeps the centre.
    obScaleBy(g, 0.5);
    EXPECT_TRUE(isRect(boxOf(g), 150, 50, 450, 150));
    obFreeTree(g);
}

TEST_F(ObTransform, AGradientFollowsTheScale)
{
    struct Case {
        const char *what;
        GradientFillBlock before;
        double sx, sy;
        GradientFillBlock after;
    };
    const Case cases[] = {
        {"equal circle becomes an ellipse", gradient(GRAD_CIRCLE, 300, 300, 0, 10, 20), 2.0, 1.0,
         gradient(GRAD_ELLIPSE, 600, 300, 0, 20, 20)},
        {"ellipse made equal becomes a circle", gradient(GRAD_ELLIPSE, 300, 600), 2.0, 1.0,
         gradient(GRAD_CIRCLE, 600, 600)},
        {"square stretched", gradient(GRAD_SQUARE, 100, 100), 1.0, 3.0,
         gradient(GRAD_RECTANGLE, 100, 300)},
        {"linear along an axis", gradient(GRAD_LINEAR, 0, -500), 2.0, 3.0,
         gradient(GRAD_LINEAR, 0, -1500)},
        {"linear at 315 degrees", gradient(GRAD_LINEAR, 500, -500), 2.0, 1.0,
         gradient(GRAD_LINEAR, 384, -788)},
        {"outline keeps its type", gradient(GRAD_OUTLINE, 100, 100), 2.0, 1.0,
         gradient(GRAD_OUTLINE, 200, 100)},
    };
    for (const Case &c : cases) {
        MemHandle h = gradientRect(0, 0, 1000, 1000, c.before);
        objScale(h, c.sx, c.sy, 500, 500, 500, 500);
        GradientFillBlock g = gradientOf(h);
        EXPECT_EQ(c.after.type, g.type) << c.what;
        EXPECT_EQ(c.after.dx, g.dx) << c.what;
        EXPECT_EQ(c.after.dy, g.dy) << c.what;
        EXPECT_EQ(c.after.offsetX, g.offsetX) << c.what;
        EXPECT_EQ(c.after.offsetY, g.offsetY) << c.what;
        obFreeTree(h);
    }
}

// ---- rotating -----------------------------------------------------------------------------

TEST_F(ObTransform, RotatingAGroupTurnsBothMembersAboutOnePointAndRefitsIt)
{
    MemHandle a = obtest::make(OBT_RECTANGLE, 900, -100, 1100, 100);
    MemHandle b = obtest::make(OBT_RECTANGLE, 1900, -100, 2100, 100);
    MemHandle g = obNewGroup(OBT_GROUP, a, b, (MemHandle)0);
    obTreeFlipRotate(g, POINT{0, 0}, 0);
    EXPECT_EQ(1000, ObLock(a)->centreX);
    obTreeFlipRotate(g, POINT{0, 0}, 900);   // a quarter turn counter-clockwise
    EXPECT_EQ(0, ObLock(a)->centreX);
    EXPECT_EQ(-1000, ObLock(a)->centreY);
    EXPECT_EQ(0, ObLock(b)->centreX);
    EXPECT_EQ(-2000, ObLock(b)->centreY);
    EXPECT_TRUE(isRect(boxOf(g), -100, -2100, 100, -900));
    obFreeTree(g);
}

TEST_F(ObTransform, AGradientTurnsWithAServedType)
{
    struct Case {
        const char *what;
        GradientFillBlock before;
        int16_t angle, dx, dy;
    };
    const Case cases[] = {
        {"linear: the vector turns, the angle is cleared", gradient(GRAD_LINEAR, 0, -500, 77, 100, 0),
         0, -500, 0},
        {"rectangle: the angle adds", gradient(GRAD_RECTANGLE, 200, 100, 300, 100, 0), 1200, 200,
         100},
        {"circle: the angle is cleared", gradient(GRAD_CIRCLE, 200, 200, 300, 100, 0), 0, 200, 200},
        {"outline: the angle is cleared", gradient(GRAD_OUTLINE, 0, 0, 300, 100, 0), 0, 0, 0},
    };
    for (const Case &c : cases) {
        MemHandle h = gradientRect(900, -100, 1100, 100, c.before);
        objFlipRotate(h, POINT{0, 0}, 900);
        GradientFillBlock g = gradientOf(h);
        EXPECT_EQ(c.angle, g.angle) << c.what;
        EXPECT_EQ(c.dx, g.dx) << c.what;
        EXPECT_EQ(c.dy, g.dy) << c.what;
        // The gradient centre (1100, 0) turns to (0, -1100); the shape's
        // centre is now (0, -1000).
        EXPECT_EQ(0, g.offsetX) << c.what;
        EXPECT_EQ(-100, g.offsetY) << c.what;
        obFreeTree(h);
    }
    // A type no module turns keeps everything.
    GradientFillBlock g = gradient(GRAD_RECTANGLE, 200, 100, 300, 100, 0);
    MemHandle h = gradientRect(900, -100, 1100, 100, g);
    ObLock(h)->type = 700;
    std::vector<uint8_t> before = obtest::dataOf(h);
    objFlipRotate(h, POINT{0, 0}, 900);
    EXPECT_EQ(before, obtest::dataOf(h));
    EXPECT_EQ(1000, ObLock(h)->centreX);
    obFreeTree(h);
}

// ---- mirroring ----------------------------------------------------------------------------

TEST_F(ObTransform, MirroringBoxRotationsAndGradients)
{
    struct Case {
        uint16_t rotation;
        bool horizontal;
        uint16_t expect;
    };
    for (Case c : {Case{300, true, 1500}, Case{1800, true, 0}, Case{300, false, 3300},
                   Case{0, false, 0}}) {
        MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 100, 100);
        ObLock(h)->rotation = c.rotation;
        c.horizontal ? obFlipHorizontal(h, 500) : obFlipVertical(h, 500);
        EXPECT_EQ(c.expect, ObLock(h)->rotation) << c.rotation << " " << c.horizontal;
        obFreeTree(h);
    }
    struct GradCase {
        const char *what;
        GradientFillBlock before;
        bool horizontal;
        GradientFillBlock after;
    };
    const GradCase grads[] = {
        {"linear left-right", gradient(GRAD_LINEAR, 300, -400, 0, 50, 60), true,
         gradient(GRAD_LINEAR, -300, -400, 0, -50, 60)},
        {"linear up-down", gradient(GRAD_LINEAR, 300, -400, 0, 50, 60), false,
         gradient(GRAD_LINEAR, 300, 400, 0, 50, -60)},
        {"ellipse left-right", gradient(GRAD_ELLIPSE, 300, 200, 300), true,
         gradient(GRAD_ELLIPSE, 300, 200, 1500)},
        {"ellipse left-right past 180", gradient(GRAD_ELLIPSE, 300, 200, 2000), true,
         gradient(GRAD_ELLIPSE, 300, 200, 3400)},
        {"square up-down", gradient(GRAD_SQUARE, 300, 300, 300), false,
         gradient(GRAD_SQUARE, 300, 300, 3300)},
        {"circle keeps its angle", gradient(GRAD_CIRCLE, 300, 300, 300), true,
         gradient(GRAD_CIRCLE, 300, 300, 300)},
    };
    for (const GradCase &c : grads) {
        MemHandle h = gradientRect(0, 0, 100, 100, c.before);
        c.horizontal ? obFlipHorizontal(h, 0) : obFlipVertical(h, 0);
        GradientFillBlock g = gradientOf(h);
        EXPECT_EQ(c.after.angle, g.angle) << c.what;
        EXPECT_EQ(c.after.dx, g.dx) << c.what;
        EXPECT_EQ(c.after.dy, g.dy) << c.what;
        EXPECT_EQ(c.after.offsetX, g.offsetX) << c.what;
        EXPECT_EQ(c.after.offsetY, g.offsetY) << c.what;
        // Mirrored twice, everything is back.
        c.horizontal ? obFlipHorizontal(h, 0) : obFlipVertical(h, 0);
        GradientFillBlock twice = gradientOf(h);
        EXPECT_EQ(0, memcmp(&c.before, &twice, sizeof twice)) << c.what;
        obFreeTree(h);
    }
}

TEST_F(ObTransform, MirroringPointShapesArrowsAndTrees)
{
    // A polyline of three points relative to its centre.
    MemHandle line = obtest::make(OBT_POLYLINE, 0, 0, 200, 100, 2 + 24);
    {
        ObLock r(line);
        int16_t n = 3;
        POINT pts[3] = {{-100, -50}, {20, 50}, {100, 0}};
        memcpy(obRecData(r.get()), &n, 2);
        memcpy(obRecData(r.get()) + 2, pts, sizeof pts);
    }
    MemHandle arrow = obtest::make(OBT_ARROW, 0, 0, 10, 10, kObArrowDataSize);
    POINT ends[2] = {{1000, 0}, {3000, 200}};
    arrow = obMakeArrowRecord(arrow, ends);
    ASSERT_TRUE(arrow);
    std::vector<uint8_t> arrowData = obtest::dataOf(arrow);
    MemHandle g = obNewGroup(OBT_GROUP, line, arrow, (MemHandle)0);
    RECT before = boxOf(g);

    obTreeFlipHorizontal(g, 0);
    {
        ObLock r(line);
        POINT pts[3];
        memcpy(pts, obRecData(r.get()) + 2, sizeof pts);
        EXPECT_EQ(100, pts[0].x);
        EXPECT_EQ(-50, pts[0].y);
        EXPECT_EQ(-20, pts[1].x);
        EXPECT_EQ(-100, pts[2].x);
        EXPECT_EQ(-100, r->centreX);
    }
    {
        ObLock r(arrow);
        POINT tail;
        memcpy(&tail, obRecData(r.get()) + 6, 8);
        EXPECT_EQ(1000, tail.x) << "the tail (-1000 from the centre) mirrored";
        EXPECT_EQ(-2000, r->centreX);
    }
    EXPECT_NEAR(-before.right, boxOf(g).left, 1) << "the group's centre mirrored";
    obTreeFlipVertical(g, 0);
    obTreeFlipVertical(g, 0);
    obTreeFlipHorizontal(g, 0);
    EXPECT_EQ(arrowData, obtest::dataOf(arrow));
    EXPECT_TRUE(isRect(boxOf(g), before.left, before.top, before.right, before.bottom));
    obFreeTree(g);
}

TEST_F(ObTransform, SwappingSizeAndScale)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, 0, 0, 300, 100);
    {
        ObLock r(h);
        r->scaleX = 100;
        r->scaleY = 200;
        obSwapSizeAndScale(r.get());
        EXPECT_EQ(100, r->width);
        EXPECT_EQ(300, r->height);
        EXPECT_EQ(200u, r->scaleX);
        EXPECT_EQ(100u, r->scaleY);
    }
    EXPECT_EQ(3599, obNormaliseAngle(-1));
    EXPECT_EQ(0, obHalfTurnToZero(3600));
    EXPECT_EQ(900, obHalfTurnToZero(900));
    obFreeTree(h);
}

}  // namespace
