// Rectangle and point geometry: rounding, angles, hit tests, placement and
// point operations.
#include "tests/support/geo_test_points.h"
#include "support/geo_rect.h"
#include <math.h>

namespace {

const double kHalfPi = kGeoPi / 2;

TEST(GeoRound, HalvesAwayFromZeroAndSaturates)
{
    struct Case {
        double in;
        int32_t out;
    } cases[] = {
        {2.5, 3},          {-2.5, -3},          {-0.4, 0},         {0.4, 0},
        {0.5, 1},          {-0.5, -1},          {1.49, 1},         {-1.5, -2},
        {0.0, 0},          {1e20, INT32_MAX},   {-1e20, INT32_MIN}, {NAN, 0},
        {2147483646.6, INT32_MAX},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.out, geoRound(c.in)) << c.in;
}

TEST(GeoAngles, NormalisedIntoRange)
{
    struct Case {
        int16_t in, out;
    } tenths[] = {{-1, 3599}, {7200, 0}, {3600, 0}, {3599, 3599}, {-3600, 0},
                  {-32768, 3232}, {32767, 367}};
    for (const Case &c : tenths)
        EXPECT_EQ(c.out, geoNormAngle(c.in)) << c.in;

    struct CaseD {
        double in, out;
    } degrees[] = {{-1, 359}, {720, 0}, {360, 0}, {359.5, 359.5}, {-720.25, 359.75}};
    for (const CaseD &c : degrees)
        EXPECT_DOUBLE_EQ(c.out, geoNormAngleDeg(c.in)) << c.in;
    // Far-out and infinite values end, in range.
    double distant = geoNormAngleDeg(1e300);
    EXPECT_TRUE(distant >= 0 && distant < 360);
    EXPECT_EQ(0.0, geoNormAngleDeg(INFINITY));
}

TEST(GeoAngles, Atan2DegreesCounterClockwiseWithYUp)
{
    struct Case {
        double y, x, deg;
    } cases[] = {{0, 1, 0}, {1, 0, 90}, {0, -1, 180}, {-1, 0, 270}, {1, 1, 45}};
    for (const Case &c : cases)
        EXPECT_NEAR(c.deg, geoAtan2Deg(c.y, c.x), 1e-6) << c.y << "," << c.x;
    // A tiny negative angle lands on 360, not 0.
    EXPECT_EQ(360.0, geoAtan2Deg(-1e-20, 1));
}

TEST(GeoScalars, VectorLengths)
{
    EXPECT_EQ(5, geoVectorLength(3, 4));
    EXPECT_EQ(0, geoVectorLength(0, 0));
    EXPECT_EQ(1, geoVectorLength(1, 1));     // 1.414
    EXPECT_EQ(2, geoVectorLength(-1, -2));   // 2.236
    EXPECT_EQ(0.0, geoVectorLengthF(POINT{0, 0}));
    EXPECT_DOUBLE_EQ(sqrt(2.0), geoVectorLengthF(POINT{-1, 1}));
    // Coordinates of large pages do not overflow the squares.
    EXPECT_EQ(100000, geoVectorLength(60000, 80000));
}

TEST(GeoRect, CentreRoundsTowardMinusInfinity)
{
    struct Case {
        RECT r;
        POINT c;
    } cases[] = {
        {{0, 0, 3, 3}, {1, 1}},
        {{-3, -3, 0, 0}, {-2, -2}},
        {{-1, -1, 0, 0}, {-1, -1}},
        {{2000000000, 2000000000, 2100000000, 2100000000}, {2050000000, 2050000000}},
    };
    for (const Case &c : cases) {
        POINT p;
        geoRectCentre(&c.r, &p);
        EXPECT_EQ(c.c, p) << c.r;
    }
}

TEST(GeoRect, BuiltFromCentre)
{
    RECT r;
    geoRectFromCentre(&r, POINT{10, 20}, 3, 4);
    EXPECT_EQ((RECT{7, 16, 13, 24}), r);
    // An odd width extends one unit further right; a negative one halves
    // toward zero.
    geoRectFromCentreSize(&r, POINT{10, 10}, 5, -5);
    EXPECT_EQ((RECT{8, 12, 13, 7}), r);

    RECT m{0, 0, 4, 6};
    geoCentreRectAt(&m, POINT{100, 100});
    EXPECT_EQ((RECT{98, 97, 102, 103}), m);
    RECT frame{-10, -10, 10, 30};
    geoCentreRectOn(&m, &frame);
    EXPECT_EQ((RECT{-2, 7, 2, 13}), m);
}

TEST(GeoRect, EdgeArithmetic)
{
    RECT r{0, 0, 10, 20};
    geoInflateRect(&r, 2, -3);
    EXPECT_EQ((RECT{-2, 3, 12, 17}), r);
    EXPECT_EQ(&r, geoOffsetRect(&r, 2, -3));
    EXPECT_EQ((RECT{0, 0, 14, 14}), r);

    RECT margins{1, 2, 3, 4};
    geoApplyMargins(&r, &margins, TRUE);
    EXPECT_EQ((RECT{-1, -2, 17, 18}), r);
    geoApplyMargins(&r, &margins, FALSE);
    EXPECT_EQ((RECT{0, 0, 14, 14}), r);

    RECT t{1, 2, 3, 4};
    geoTransposeRect(&t);
    EXPECT_EQ((RECT{2, 1, 4, 3}), t);

    int32_t w, h;
    RECT inverted{10, 10, 0, 5};
    geoRectSize(&inverted, &w, &h);
    EXPECT_EQ(-10, w);
    EXPECT_EQ(-5, h);
}

TEST(GeoRect, IntersectionAndUnion)
{
    RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, out;
    EXPECT_TRUE(geoIntersectRect(&out, &a, &b));
    EXPECT_EQ((RECT{5, 5, 10, 10}), out);
    // The destination may be one of the sources.
    EXPECT_TRUE(geoIntersectRect(&a, &a, &b));
    EXPECT_EQ((RECT{5, 5, 10, 10}), a);
    RECT away{100, 100, 110, 110};
    out = RECT{1, 2, 3, 4};
    EXPECT_FALSE(geoIntersectRect(&out, &b, &away));
    EXPECT_EQ((RECT{0, 0, 0, 0}), out);
    EXPECT_FALSE(geoRectsIntersect(&b, &away));
    EXPECT_TRUE(geoRectsIntersect(&a, &b));

    // The union takes no notice of emptiness.
    RECT empty{0, 0, 0, 0}, box{10, 10, 20, 20};
    EXPECT_EQ(1, geoUnionRect(&out, &empty, &box));
    EXPECT_EQ((RECT{0, 0, 20, 20}), out);
}

TEST(GeoRect, ContainmentIncludesEdges)
{
    RECT r{0, 0, 10, 10};
    EXPECT_TRUE(geoPtInRect(&r, POINT{0, 0}));
    EXPECT_TRUE(geoPtInRect(&r, POINT{10, 10}));
    EXPECT_FALSE(geoPtInRect(&r, POINT{11, 5}));
    EXPECT_FALSE(geoPtInRect(&r, POINT{5, -1}));
    RECT inner{0, 2, 10, 8}, poking{0, 2, 11, 8};
    EXPECT_TRUE(geoRectInRect(&inner, &r));
    EXPECT_FALSE(geoRectInRect(&poking, &r));
    RECT flat{5, 0, 5, 9};
    EXPECT_TRUE(geoRectIsFlat(&flat));
    EXPECT_FALSE(geoRectIsFlat(&r));
}

TEST(GeoRect, HitEdgeReportsTheHorizontalEdgeAtCorners)
{
    RECT r{0, 0, 100, 50};
    struct Case {
        POINT pt;
        int32_t tol;
        int edge;
    } cases[] = {
        {{0, 0}, 3, GEO_EDGE_TOP},          // top-left corner: top, not left
        {{100, 0}, 3, GEO_EDGE_TOP},        // top-right corner
        {{0, 50}, 3, GEO_EDGE_BOTTOM},      // bottom-left corner
        {{100, 50}, 3, GEO_EDGE_BOTTOM},
        {{50, -3}, 3, GEO_EDGE_TOP},        // band edge included
        {{50, -4}, 3, GEO_EDGE_NONE},
        {{50, 53}, 3, GEO_EDGE_BOTTOM},
        {{-3, 25}, 3, GEO_EDGE_LEFT},
        {{103, 25}, 3, GEO_EDGE_RIGHT},
        {{104, 25}, 3, GEO_EDGE_NONE},
        {{-2, -2}, 3, GEO_EDGE_NONE},       // outside the span of every band
        {{50, 25}, 3, GEO_EDGE_NONE},
        {{50, 25}, 25, GEO_EDGE_TOP},       // a wide band reaches the middle
        {{0, 25}, 0, GEO_EDGE_LEFT},        // no tolerance: on the edge only
        {{1, 25}, 0, GEO_EDGE_NONE},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.edge, geoHitRectEdge(&r, c.pt, c.tol)) << c.pt << " tol " << c.tol;

    // A degenerate rectangle (a point) reports its top; a huge tolerance
    // near the end of the range does not wrap around.
    RECT dot{10, 10, 10, 10};
    EXPECT_EQ(GEO_EDGE_TOP, geoHitRectEdge(&dot, POINT{10, 10}, 0));
    RECT high{0, INT32_MAX - 10, 10, INT32_MAX};
    EXPECT_EQ(GEO_EDGE_TOP, geoHitRectEdge(&high, POINT{5, INT32_MAX}, 2000000000));
}

TEST(GeoRect, PointInEllipseIsStrict)
{
    RECT r{-10, -5, 10, 5};
    struct Case {
        POINT pt;
        BOOL in;
    } cases[] = {{{0, 0}, TRUE}, {{9, 0}, TRUE}, {{10, 0}, FALSE}, {{0, 4}, TRUE},
                 {{0, 5}, FALSE}, {{7, 4}, FALSE}, {{6, 3}, TRUE}};
    for (const Case &c : cases)
        EXPECT_EQ(c.in, geoPtInEllipse(&r, c.pt)) << c.pt;
    // Products of large coordinates do not overflow.
    RECT big{-2000000000, -2000000000, 2000000000, 2000000000};
    EXPECT_TRUE(geoPtInEllipse(&big, POINT{1000000000, 1000000000}));
    EXPECT_FALSE(geoPtInEllipse(&big, POINT{1500000000, 1500000000}));
}

TEST(GeoRect, CornersAndTriangles)
{
    RECT r{1, 2, 3, 4};
    POINT c[4], up[3], low[3];
    geoRectToCorners(&r, c);
    EXPECT_EQ((POINT{1, 2}), c[0]);
    EXPECT_EQ((POINT{3, 2}), c[1]);
    EXPECT_EQ((POINT{3, 4}), c[2]);
    EXPECT_EQ((POINT{1, 4}), c[3]);
    geoRectUpperTriangle(&r, up);
    EXPECT_EQ((POINT{1, 4}), up[0]);
    EXPECT_EQ((POINT{1, 2}), up[1]);
    EXPECT_EQ((POINT{3, 2}), up[2]);
    geoRectLowerTriangle(&r, low);
    EXPECT_EQ((POINT{3, 2}), low[0]);
    EXPECT_EQ((POINT{3, 4}), low[1]);
    EXPECT_EQ((POINT{1, 4}), low[2]);
}

TEST(GeoRect, FromPointsNormalisesAndFlagsFlatSpans)
{
    struct Case {
        POINT p, q;
        RECT r;
        int result;
    } cases[] = {
        {{5, 1}, {5, 9}, {5, 1, 5, 9}, 0},     // vertical segment
        {{1, 7}, {9, 7}, {1, 7, 9, 7}, 0},     // horizontal segment
        {{9, 9}, {1, 1}, {1, 1, 9, 9}, 1},
        {{1, 9}, {9, 1}, {1, 1, 9, 9}, 1},
        {{4, 4}, {4, 4}, {4, 4, 4, 4}, 0},
    };
    for (const Case &c : cases) {
        RECT r;
        EXPECT_EQ(c.result, geoRectFromPoints(c.p, c.q, &r)) << c.p << c.q;
        EXPECT_EQ(c.r, r);
    }
}

TEST(GeoRect, PointsBoundsOfNoPointsIsEmptyAndReadsNothing)
{
    RECT r{1, 2, 3, 4};
    geoPointsBounds(nullptr, 0, &r);
    EXPECT_EQ((RECT{0, 0, 0, 0}), r);
    r = RECT{1, 2, 3, 4};
    geoPointsBounds(nullptr, -5, &r);
    EXPECT_EQ((RECT{0, 0, 0, 0}), r);

    POINT pts[] = {{5, 5}, {-3, 8}, {7, -2}};
    geoPointsBounds(pts, 3, &r);
    EXPECT_EQ((RECT{-3, -2, 7, 8}), r);
    geoPointsBounds(pts, 1, &r);
    EXPECT_EQ((RECT{5, 5, 5, 5}), r);
    POINT c;
    geoPointsCentre(pts, 3, &c);
    EXPECT_EQ((POINT{2, 3}), c);
}

TEST(GeoRect, RotatedBounds)
{
    RECT r{-10, -5, 10, 5};
    geoRotatedRectBounds(&r, kHalfPi);
    EXPECT_EQ((RECT{-5, -10, 5, 10}), r);
    RECT s{0, 0, 20, 10};
    geoRotatedRectBoundsAbout(&s, POINT{10, 5}, kHalfPi);
    EXPECT_EQ((RECT{5, -5, 15, 15}), s);
}

TEST(GeoRect, QuadKinds)
{
    struct Case {
        POINT p[4];
        int kind;
    } cases[] = {
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},    // horizontal first, square
        {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 1},    // vertical first, square
        {{{10, 0}, {0, 0}, {0, 10}, {10, 10}}, 1},    // reversed edges: absolute lengths
        {{{0, 0}, {20, 0}, {20, 10}, {0, 10}}, 2},
        {{{0, 0}, {0, 10}, {20, 10}, {20, 0}}, 2},
        {{{0, 0}, {10, 1}, {10, 10}, {0, 10}}, 0},    // slanted
        {{{0, 0}, {10, 10}, {20, 0}, {10, -10}}, 0},  // diamond
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.kind, geoQuadRectKind(c.p)) << c.p[0] << c.p[1] << c.p[2] << c.p[3];
}

TEST(GeoRect, MaxCornerDistance)
{
    RECT r{0, 0, 30, 40};
    EXPECT_DOUBLE_EQ(50.0, geoMaxCornerDistance(&r, POINT{0, 0}));
    EXPECT_DOUBLE_EQ(25.0, geoMaxCornerDistance(&r, POINT{15, 20}));
}

TEST(GeoRect, ScaleAboutCentreTruncatesHalves)
{
    RECT r{0, 0, 10, 10};
    geoScaleRectAboutCentre(&r, 0.5, 2.0);
    EXPECT_EQ((RECT{3, -5, 7, 15}), r);   // width 5: the odd unit is lost
    RECT fit{0, 0, 40, 20}, frame{0, 0, 100, 100};
    geoScaleRectToFit(&fit, &frame);
    EXPECT_EQ((RECT{-30, -15, 70, 35}), fit);
    RECT flat{0, 0, 0, 20};
    geoScaleRectToFit(&flat, &frame);
    EXPECT_EQ((RECT{0, 0, 0, 20}), flat);
}

TEST(GeoRect, AlignByWord)
{
    RECT frame{0, 0, 100, 100};
    struct Case {
        uint16_t align;
        RECT r;
    } cases[] = {
        {0, {0, 0, 20, 10}},
        {GEO_ALIGN_HCENTRE | GEO_ALIGN_VCENTRE, {40, 45, 60, 55}},
        {GEO_ALIGN_RIGHT | GEO_ALIGN_BOTTOM, {80, 90, 100, 100}},
        {0x101, {0, 0, 20, 10}},   // other bits in the mask: left
        {0x103 | 0x1C, {0, 0, 20, 10}},
        {GEO_ALIGN_HCENTRE | 0x4000, {40, 0, 60, 10}},
    };
    for (const Case &c : cases) {
        RECT r{500, 500, 520, 510};
        geoAlignRect(&r, &frame, c.align);
        EXPECT_EQ(c.r, r) << "align " << c.align;
        RECT r2{500, 500, 520, 510};
        geoAlignRectTo(&r2, &frame, c.align);
        EXPECT_EQ(c.r, r2);
    }
    // Centring halves toward zero on negative frames.
    RECT negFrame{-101, 0, 0, 10}, r{0, 0, 20, 10};
    geoAlignRect(&r, &negFrame, GEO_ALIGN_HCENTRE);
    EXPECT_EQ((RECT{-60, 0, -40, 10}), r);
}

TEST(GeoRect, FitModes)
{
    RECT frame{0, 0, 100, 100};
    const uint16_t centred = GEO_ALIGN_HCENTRE | GEO_ALIGN_VCENTRE;
    struct Case {
        uint16_t mode;
        RECT in, out;
    } cases[] = {
        {0, {0, 0, 20, 10}, {40, 45, 60, 55}},              // small: only placed
        {0, {0, 0, 400, 200}, {0, 25, 100, 75}},            // large: shrunk
        {GEO_FIT_SHRINK, {0, 0, 400, 200}, {0, 25, 100, 75}},
        {GEO_FIT_SHRINK, {0, 0, 20, 10}, {40, 45, 60, 55}},
        {GEO_FIT_SCALE, {0, 0, 20, 10}, {0, 25, 100, 75}},  // small: grown
        {GEO_FIT_FRAME, {0, 0, 20, 10}, {0, 0, 100, 100}},
        {GEO_FIT_FRAME | GEO_FIT_SCALE, {0, 0, 20, 10}, {0, 0, 100, 100}},
        {1, {0, 0, 400, 200}, {-150, -50, 250, 150}},      // "original": kept
    };
    for (const Case &c : cases) {
        RECT r = c.in;
        geoFitRect(&r, &frame, c.mode, centred);
        EXPECT_EQ(c.out, r) << "mode " << c.mode << " " << c.in;
    }
}

TEST(GeoRect, MapBetweenFramesScalesSizeAndCentreOffset)
{
    // Frames sharing a centre: the size scales, the centre stays.
    RECT from{-50, -50, 50, 50}, to{-100, -50, 100, 50}, r{10, 10, 30, 30}, out;
    geoMapRectBetweenFrames(&from, &to, &r, &out);
    EXPECT_EQ((RECT{0, 10, 40, 30}), out);
    // Moved frames: the rectangle follows by the scaled offset of the centres.
    RECT from2{0, 0, 100, 100}, to2{100, 0, 300, 100};
    geoMapRectBetweenFrames(&from2, &to2, &r, &out);
    EXPECT_EQ((RECT{300, 10, 340, 30}), out);
    // A flat source frame leaves that axis unscaled.
    RECT flat{0, 0, 0, 100};
    geoMapRectBetweenFrames(&flat, &to, &r, &out);
    EXPECT_EQ((RECT{10, -40, 30, -20}), out);
}

TEST(GeoPoints, Arithmetic)
{
    EXPECT_TRUE(geoPointsEqual(1, 2, 1, 2));
    EXPECT_FALSE(geoPointsEqual(1, 2, 2, 1));
    POINT pts[] = {{0, 0}, {5, 5}};
    geoOffsetPoints(pts, 2, 3, -1);
    EXPECT_EQ((POINT{3, -1}), pts[0]);
    EXPECT_EQ((POINT{8, 4}), pts[1]);
    geoOffsetPoints(pts, 0, 100, 100);
    geoOffsetPoints(pts, -1, 100, 100);
    EXPECT_EQ((POINT{3, -1}), pts[0]);
    POINT out;
    geoAddPoint(POINT{1, 2}, POINT{10, 20}, &out);
    EXPECT_EQ((POINT{11, 22}), out);
    geoSubPoint(POINT{1, 2}, POINT{10, 20}, &out);
    EXPECT_EQ((POINT{-9, -18}), out);
    EXPECT_EQ(11, geoDotProduct(POINT{1, 2}, POINT{3, 4}));
    EXPECT_EQ(8000000000000000000LL,
              geoDotProduct(POINT{2000000000, 2000000000}, POINT{2000000000, 2000000000}));
    EXPECT_EQ(0.0, geoDistance(POINT{7, 7}, POINT{7, 7}));
    EXPECT_DOUBLE_EQ(5.0, geoDistance(POINT{1, 1}, POINT{4, 5}));
}

TEST(GeoPoints, PolarAndAlongTheLine)
{
    POINT out;
    geoPolarPoint(10, 90, &out);
    EXPECT_EQ((POINT{0, -10}), out);   // counter-clockwise on the screen: up
    geoPolarPoint(10, 180, &out);
    EXPECT_EQ((POINT{-10, 0}), out);

    POINT p{0, 0}, q{30, 40};
    geoPointAlong(p, q, 10, &out);
    EXPECT_EQ((POINT{6, 8}), out);
    geoPointBeyond(p, q, 10, &out);
    EXPECT_EQ((POINT{36, 48}), out);
    geoLerpPoint(p, q, 0.5, &out);
    EXPECT_EQ((POINT{15, 20}), out);
    // Equal ends give p.
    for (auto fn : {geoPointAlong, geoPointBeyond, geoLerpPoint}) {
        fn(POINT{3, 3}, POINT{3, 3}, 10, &out);
        EXPECT_EQ((POINT{3, 3}), out);
    }

    geoProjectPoint(POINT{0, 0}, POINT{10, 0}, POINT{3, 7}, &out);
    EXPECT_EQ((POINT{3, 0}), out);
    geoProjectPoint(POINT{0, 0}, POINT{10, 10}, POINT{0, 10}, &out);
    EXPECT_EQ((POINT{5, 5}), out);
    geoProjectPoint(POINT{2, 2}, POINT{2, 2}, POINT{9, 9}, &out);
    EXPECT_EQ((POINT{2, 2}), out);

    POINT ends[2];
    geoPerpendicularAt(POINT{0, 0}, POINT{10, 0}, 11, ends);
    EXPECT_EQ((POINT{10, 5}), ends[0]);
    EXPECT_EQ((POINT{10, -5}), ends[1]);
}

TEST(GeoPoints, VectorAngleCosSin)
{
    double c = 9, s = 9;
    EXPECT_EQ(0, geoVectorAngleCS(POINT{0, 0}, POINT{1, 0}, &c, &s));
    EXPECT_EQ(0, geoVectorAngleCS(POINT{1, 0}, POINT{0, 0}, &c, &s));
    EXPECT_EQ(9.0, c);
    ASSERT_EQ(1, geoVectorAngleCS(POINT{3, 4}, POINT{3, 4}, &c, &s));
    EXPECT_EQ(1.0, c);
    EXPECT_EQ(0.0, s);
    ASSERT_EQ(1, geoVectorAngleCS(POINT{3, 4}, POINT{-3, -4}, &c, &s));
    EXPECT_EQ(-1.0, c);
    EXPECT_EQ(0.0, s);
    ASSERT_EQ(1, geoVectorAngleCS(POINT{1, 0}, POINT{0, 1}, &c, &s));
    EXPECT_NEAR(0.0, c, 1e-12);
    EXPECT_NEAR(-1.0, s, 1e-12);
}

TEST(GeoPoints, PointOnLine)
{
    struct Case {
        POINT p, q, t;
        int16_t where;
    } cases[] = {
        {{0, 0}, {10, 0}, {0, 0}, 2},      // at p
        {{0, 0}, {10, 0}, {10, 0}, 2},     // at q
        {{0, 0}, {10, 0}, {5, 0}, 2},
        {{0, 0}, {10, 0}, {-5, 0}, 1},     // before p
        {{0, 0}, {10, 0}, {15, 0}, 3},     // beyond q
        {{0, 0}, {10, 0}, {5, 1}, 0},      // off
        {{0, 0}, {0, 10}, {0, -1}, 1},     // vertical
        {{0, 0}, {0, 10}, {0, 11}, 3},
        {{0, 0}, {10, 10}, {5, 5}, 2},
        {{0, 0}, {10, 10}, {20, 20}, 3},
        {{0, 0}, {10, 10}, {5, 6}, 0},
        {{10, 10}, {0, 0}, {-1, -1}, 3},   // reversed segment
        {{3, 3}, {3, 3}, {3, 3}, 0},       // degenerate: nothing is on it
        {{3, 3}, {3, 3}, {4, 4}, 0},
        // Coordinates spanning the whole range do not overflow.
        {{-2000000000, 0}, {2000000000, 0}, {0, 0}, 2},
        {{-2000000000, 0}, {2000000000, 0}, {0, 1}, 0},
        {{-2000000000, -2000000000}, {2000000000, 2000000000}, {2100000000, 2100000000}, 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.where, geoPointOnLine(c.p.x, c.p.y, c.q.x, c.q.y, c.t.x, c.t.y))
            << c.p << c.q << c.t;
}

TEST(GeoPoints, PointOnLineWithTolerance)
{
    struct Case {
        int32_t ty, tol;
        int16_t where;
    } cases[] = {{9, 10, 2}, {25, 10, 0}, {-9, 10, 2}, {9, 0, 0}, {9, -3, 0}, {0, 0, 2}};
    for (const Case &c : cases)
        EXPECT_EQ(c.where, geoPointOnLineTol(0, 0, 1000, 0, 500, c.ty, c.tol))
            << "y " << c.ty << " tol " << c.tol;
}

TEST(GeoPoints, ScaleAndGrow)
{
    POINT pts[] = {{3, -3}, {-5, 10}};
    geoScalePoints(pts, 2, 0.5, 1.5);
    EXPECT_EQ((POINT{2, -5}), pts[0]);   // 1.5 -> 2, -4.5 -> -5
    EXPECT_EQ((POINT{-3, 15}), pts[1]);

    POINT sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    geoGrowPoints(sq, 4, 5, 5);
    EXPECT_EQ((POINT{-5, -5}), sq[0]);
    EXPECT_EQ((POINT{15, 15}), sq[2]);
    // Shrinking past nothing leaves the points alone.
    geoGrowPoints(sq, 4, -11, 0);
    EXPECT_EQ((POINT{-5, -5}), sq[0]);
    // A zero-width set is left alone.
    POINT column[] = {{4, 0}, {4, 10}};
    geoGrowPoints(column, 2, 5, 5);
    EXPECT_EQ((POINT{4, 0}), column[0]);
    EXPECT_EQ((POINT{4, 10}), column[1]);
}

TEST(GeoPoints, MapToSegmentStretchesAlongAndTurns)
{
    const POINT seg[2] = {{0, 0}, {10, 0}};
    struct Case {
        POINT newSeg[2];
        POINT in, out;
    } cases[] = {
        {{{0, 0}, {0, 20}}, {10, 0}, {0, 20}},         // the end follows the segment
        {{{0, 0}, {0, 20}}, {5, 3}, {-3, 10}},         // stretched along, not across
        {{{100, 100}, {120, 100}}, {5, 3}, {110, 103}},
        {{{0, 0}, {-10, 0}}, {5, 3}, {-5, -3}},        // turned half a circle
    };
    for (const Case &c : cases) {
        POINT p = c.in;
        geoMapPointsToSegment(&p, 1, seg, c.newSeg);
        EXPECT_EQ(c.out, p) << c.newSeg[0] << c.newSeg[1] << c.in;
    }
    // Degenerate segments change nothing.
    POINT p{5, 3};
    const POINT dot[2] = {{1, 1}, {1, 1}};
    geoMapPointsToSegment(&p, 1, dot, seg);
    geoMapPointsToSegment(&p, 1, seg, dot);
    EXPECT_EQ((POINT{5, 3}), p);
}

}  // namespace
