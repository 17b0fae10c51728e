// Rotation, ellipse and polygon geometry: rotations, outlines of rotated
// shapes, points on ellipses, regular figures and random points.
#include "tests/support/geo_test_points.h"
#include "support/geo_rotate.h"
#include <math.h>
#include <algorithm>

namespace {

using qmtest::takePoints;

const double kHalfPi = kGeoPi / 2;

// How far a point lies from the ellipse x^2/a^2 + y^2/b^2 = 1, measured as
// the deviation of that sum from 1.
double ellipseError(POINT p, POINT centre, double a, double b)
{
    double x = (p.x - centre.x) / a, y = (p.y - centre.y) / b;
    return fabs(x * x + y * y - 1.0);
}

bool hasConsecutiveDuplicates(const std::vector<POINT> &v)
{
    for (size_t i = 1; i < v.size(); ++i)
        if (v[i] == v[i - 1])
            return true;
    return false;
}

TEST(GeoRotate, TurnsClockwiseOnTheScreenForPositiveAngles)
{
    struct Case {
        POINT in;
        double radians;
        POINT out;
    } cases[] = {
        {{1, 0}, kHalfPi, {0, 1}},   // downward on the screen
        {{1000, 0}, kGeoPi, {-1000, 0}},
        {{0, 1000}, kHalfPi, {-1000, 0}},
        {{3, 4}, 0, {3, 4}},
        {{1000, 0}, -kHalfPi, {0, -1000}},
    };
    for (const Case &c : cases) {
        POINT p = c.in;
        geoRotatePoints(&p, 1, c.radians);
        EXPECT_EQ(c.out, p) << c.in << " by " << c.radians;
    }
    POINT p{5, 0};
    geoRotatePointsCS(&p, 1, 0.6, 0.8);
    EXPECT_EQ((POINT{3, 4}), p);
    POINT q{11, 10};
    geoRotatePointsAbout(&q, 1, POINT{10, 10}, kHalfPi);
    EXPECT_EQ((POINT{10, 11}), q);
    POINT r{15, 10};
    geoRotatePointsAboutCS(&r, 1, POINT{10, 10}, -1, 0);
    EXPECT_EQ((POINT{5, 10}), r);
}

TEST(GeoRotate, DoublePointsAreNotRounded)
{
    GeoPointF f[2] = {{1, 0}, {0.5, 0.25}};
    geoRotatePointsF(f, 2, kHalfPi);
    EXPECT_NEAR(0.0, f[0].x, 1e-9);
    EXPECT_NEAR(1.0, f[0].y, 1e-9);
    EXPECT_NEAR(-0.25, f[1].x, 1e-9);
    EXPECT_NEAR(0.5, f[1].y, 1e-9);
    geoRotatePointsCSF(f, 1, 0, -1);
    EXPECT_NEAR(1.0, f[0].x, 1e-9);
    geoScalePointsF(f, 2, 4.0);
    EXPECT_NEAR(-1.0, f[1].x, 1e-9);
    EXPECT_NEAR(2.0, f[1].y, 1e-9);
    POINT out[2];
    GeoPointF in[2] = {{2.5, -2.5}, {-0.4, 7.49}};
    geoRoundPoints(out, in, 2);
    EXPECT_EQ((POINT{3, -3}), out[0]);
    EXPECT_EQ((POINT{0, 7}), out[1]);
}

TEST(GeoRotate, ObjectAngleTurnsARectangleCounterClockwise)
{
    RECT r{-10, -5, 10, 5};
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoRotatedRectPolygon(&r, 900, &n), 4);
    ASSERT_EQ(4, n);
    ASSERT_EQ(4u, v.size());
    EXPECT_EQ((POINT{-5, 10}), v[0]);
    // The top-right corner goes to the top-left position.
    EXPECT_EQ((POINT{-5, -10}), v[1]);
    EXPECT_EQ((POINT{5, -10}), v[2]);
    EXPECT_EQ((POINT{5, 10}), v[3]);

    RECT off{100, 100, 120, 110};
    v = takePoints(geoRotatedRectPolygon(&off, 0, &n), n);
    EXPECT_EQ((POINT{100, 100}), v[0]);
    EXPECT_EQ((POINT{120, 110}), v[2]);
}

TEST(GeoEllipse, PointCountFollowsTheDeviceDiagonal)
{
    struct Case {
        int32_t w, h;
        int16_t n;
    } cases[] = {
        {15, 15, 8},          // one pixel
        {0, 0, 8},
        {1440, 0, 192},       // 96 pixels
        {1440, 1440, 270},    // 135.8 pixels
        {18000, 24000, 3600}, // a diagonal of 2000 pixels
        {-1440, 0, 192},
        {2000000000, 2000000000, 3600},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.n, geoEllipsePointCount(c.w, c.h)) << c.w << "x" << c.h;
}

TEST(GeoEllipse, SweepAndParametricAngles)
{
    EXPECT_DOUBLE_EQ(340, geoSweepDeg(10, 350));
    EXPECT_DOUBLE_EQ(20, geoSweepDeg(350, 10));
    EXPECT_DOUBLE_EQ(0, geoSweepDeg(10, 10));

    EXPECT_DOUBLE_EQ(45, geoCircleToEllipseAngle(45, 1));
    for (double r : {0.5, 2.0, 3.0, 0.0})
        EXPECT_DOUBLE_EQ(90, geoCircleToEllipseAngle(90, r)) << r;
    const double atan2deg = atan(2.0) * 180 / M_PI;   // 63.43
    struct Case {
        double in, out;
    } cases[] = {{45, atan2deg}, {135, 180 - atan2deg}, {225, 180 + atan2deg},
                 {315, 360 - atan2deg}, {-45, -45}, {180, 180}};
    for (const Case &c : cases)
        EXPECT_NEAR(c.out, geoCircleToEllipseAngle(c.in, 2.0), 1e-6) << c.in;
}

TEST(GeoEllipse, ArcPointsRunCounterClockwiseAndDropRepeats)
{
    POINT pts[8];
    int16_t n = 5;
    EXPECT_EQ(1, geoEllipseArcPoints(pts, &n, 0, 100, 100, 0, 900));
    ASSERT_EQ(5, n);
    const POINT quarter[] = {{100, 0}, {92, -38}, {71, -71}, {38, -92}, {0, -100}};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(quarter[i], pts[i]) << i;

    // Parametric angles keep a polar angle on its ray: 45 degrees on a 2:1
    // ellipse.
    n = 2;
    geoEllipseArcPoints(pts, &n, 0, 200, 100, 450, 900);
    ASSERT_EQ(2, n);
    EXPECT_NEAR(pts[0].x, -pts[0].y, 1);
    EXPECT_LT(ellipseError(pts[0], POINT{0, 0}, 200, 100), 0.02);

    // An ellipse of no size is one point; no room stores nothing; a room of
    // one stores the start.
    n = 8;
    geoEllipseArcPoints(pts, &n, 0, 0, 0, 0, 0);
    EXPECT_EQ(1, n);
    n = 0;
    geoEllipseArcPoints(pts, &n, 0, 100, 100, 0, 900);
    EXPECT_EQ(0, n);
    n = 1;
    geoEllipseArcPoints(pts, &n, 0, 100, 100, 0, 0);
    EXPECT_EQ(1, n);
    EXPECT_EQ((POINT{100, 0}), pts[0]);

    // Radii beyond 16 bits are kept whole.
    n = 2;
    geoEllipseArcPoints(pts, &n, 0, 50000, 40000, 0, 900);
    ASSERT_EQ(2, n);
    EXPECT_EQ((POINT{50000, 0}), pts[0]);
    EXPECT_EQ((POINT{0, -40000}), pts[1]);
}

TEST(GeoEllipse, PolygonIsAClosedOutlineOnTheEllipse)
{
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoEllipsePolygon(-1440, -720, 1440, 720, 0, &n), n);
    ASSERT_GT(n, 100);
    EXPECT_LE(n, geoEllipsePointCount(2880, 1440));
    EXPECT_EQ((POINT{1440, 0}), v.front());
    EXPECT_EQ(v.front(), v.back());
    EXPECT_FALSE(hasConsecutiveDuplicates(v));
    for (const POINT &p : v)
        ASSERT_LT(ellipseError(p, POINT{0, 0}, 1440, 720), 0.01) << p;
    // The second point goes up: counter-clockwise on the screen.
    EXPECT_LT(v[1].y, 0);

    // Turned by 90 degrees the long axis stands upright.
    v = takePoints(geoEllipsePolygon(-1440, -720, 1440, 720, 900, &n), n);
    EXPECT_EQ((POINT{0, -1440}), v.front());
    for (const POINT &p : v)
        ASSERT_LT(ellipseError(p, POINT{0, 0}, 720, 1440), 0.01) << p;
}

TEST(GeoEllipse, LargePagesKeepTheirCoordinates)
{
    // Radii and offsets above 32767 twips.
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoEllipsePolygon(0, 0, 100000, 60000, 0, &n), n);
    ASSERT_GT(n, 8);
    EXPECT_EQ((POINT{100000, 30000}), v.front());
    RECT bounds;
    geoPointsBounds(v.data(), n, &bounds);
    EXPECT_EQ((RECT{0, 0, 100000, 60000}), bounds);
    for (const POINT &p : v)
        ASSERT_LT(ellipseError(p, POINT{50000, 30000}, 50000, 30000), 0.001) << p;
}

TEST(GeoEllipse, PieClosesAtTheCentreUnlessFull)
{
    RECT r{0, 0, 2000, 1000};
    const POINT centre{1000, 500};
    struct Case {
        int16_t start, end;
        bool closed;
    } cases[] = {{0, 3600, false}, {0, 0, true}, {0, 900, true}, {2700, 900, true},
                 {900, 3600, true}};
    for (const Case &c : cases) {
        int16_t na = 0, np = 0;
        std::vector<POINT> arc = takePoints(geoArcPolyline(&r, c.start, c.end, 0, &na), na);
        std::vector<POINT> pie = takePoints(geoPiePolygon(&r, c.start, c.end, 0, &np), np);
        ASSERT_FALSE(arc.empty());
        EXPECT_EQ(na + (c.closed ? 1 : 0), np) << c.start << ".." << c.end;
        EXPECT_EQ(c.closed, pie.back() == centre) << c.start << ".." << c.end;
        EXPECT_TRUE(std::equal(arc.begin(), arc.end(), pie.begin()));
    }
    // A quarter runs from the right to the top.
    int16_t n = 0;
    std::vector<POINT> q = takePoints(geoArcPolyline(&r, 0, 900, 0, &n), n);
    EXPECT_EQ((POINT{2000, 500}), q.front());
    EXPECT_EQ((POINT{1000, 0}), q.back());
    for (const POINT &p : q)
        EXPECT_TRUE(p.x >= 1000 && p.y <= 500) << p;
    // Turned by the object angle: the quarter runs from the top to the left.
    RECT sq{-1000, -1000, 1000, 1000};
    q = takePoints(geoArcPolyline(&sq, 0, 900, 900, &n), n);
    EXPECT_EQ((POINT{0, -1000}), q.front());
    EXPECT_EQ((POINT{-1000, 0}), q.back());
}

TEST(GeoEllipse, RoundRectOutline)
{
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoRoundRectPolygon(0, 0, 3000, 2000, 600, 600, 0, &n), n);
    ASSERT_GT(n, 12);
    EXPECT_LE(n, geoEllipsePointCount(600, 600) + 8);
    EXPECT_EQ((POINT{3000, 300}), v.front());
    EXPECT_EQ((POINT{3000, 1700}), v.back());
    for (POINT edge : {POINT{2700, 0}, POINT{300, 0}, POINT{0, 300}, POINT{0, 1700},
                       POINT{300, 2000}, POINT{2700, 2000}})
        EXPECT_NE(v.end(), std::find(v.begin(), v.end(), edge)) << edge;
    RECT bounds;
    geoPointsBounds(v.data(), n, &bounds);
    EXPECT_EQ((RECT{0, 0, 3000, 2000}), bounds);
    // The top-right corner arc stays on its quarter circle.
    for (const POINT &p : v) {
        if (p.x > 2700 && p.y < 300) {
            EXPECT_LT(ellipseError(p, POINT{2700, 300}, 300, 300), 0.02) << p;
        }
    }

    // A corner width of 1 (no radius) is the plain four-corner rectangle.
    v = takePoints(geoRoundRectPolygon(0, 0, 3000, 2000, 1, 600, 0, &n), n);
    ASSERT_EQ(4, n);
    EXPECT_EQ((POINT{0, 0}), v[0]);
    EXPECT_EQ((POINT{0, 2000}), v[1]);
    EXPECT_EQ((POINT{3000, 2000}), v[2]);
    EXPECT_EQ((POINT{3000, 0}), v[3]);
    // ... turned about its centre by the object angle.
    v = takePoints(geoRoundRectPolygon(-1000, -500, 1000, 500, 0, 0, 900, &n), n);
    ASSERT_EQ(4, n);
    EXPECT_EQ((POINT{-500, 1000}), v[0]);
    EXPECT_EQ((POINT{-500, -1000}), v[3]);

    // Large papers: corners and offsets beyond 16 bits.
    v = takePoints(geoRoundRectPolygon(0, 0, 80000, 50000, 40000, 40000, 0, &n), n);
    ASSERT_GT(n, 12);
    EXPECT_EQ((POINT{80000, 20000}), v.front());
    geoPointsBounds(v.data(), n, &bounds);
    EXPECT_EQ((RECT{0, 0, 80000, 50000}), bounds);
}

TEST(GeoEllipse, RayOntoTheEllipse)
{
    RECT r{-100, -50, 100, 50};
    struct Case {
        POINT in, out;
    } cases[] = {
        {{10, 10}, {44, 44}},    // truncated, not rounded
        {{-10, 10}, {-44, 44}},
        {{10, -10}, {44, -44}},
        {{0, -3}, {0, -50}},
        {{0, 3}, {0, 50}},
        {{-7, 0}, {-100, 0}},
        {{500, 0}, {100, 0}},
    };
    for (const Case &c : cases) {
        int32_t x = c.in.x, y = c.in.y;
        EXPECT_EQ(1, geoRayEllipsePoint(&r, &x, &y)) << c.in;
        EXPECT_EQ(c.out, (POINT{x, y})) << c.in;
    }
    int32_t x = 0, y = 0;
    EXPECT_EQ(0, geoRayEllipsePoint(&r, &x, &y));
    EXPECT_EQ((POINT{0, 0}), (POINT{x, y}));
    // An ellipse of no size pulls the point to its centre.
    RECT dot{5, 5, 5, 5};
    x = 6, y = 7;
    EXPECT_EQ(1, geoRayEllipsePoint(&dot, &x, &y));
    EXPECT_EQ((POINT{5, 5}), (POINT{x, y}));

    POINT p;
    geoEllipsePointAt(&r, 0, &p);
    EXPECT_EQ((POINT{100, 0}), p);
    geoEllipsePointAt(&r, 900, &p);
    EXPECT_EQ((POINT{0, -50}), p);
    geoEllipsePointAt(&r, 450, &p);
    EXPECT_EQ((POINT{44, -44}), p);
    RECT off{900, 950, 1100, 1050};
    geoEllipsePointAt(&off, 1800, &p);
    EXPECT_EQ((POINT{900, 1000}), p);
}

TEST(GeoEllipse, RayOntoARotatedEllipse)
{
    struct Case {
        RECT r;
        POINT in, out;
    } cases[] = {
        {{-100, -50, 100, 50}, {0, -10}, {0, -100}},   // the long axis stands upright
        {{-100, -50, 100, 50}, {10, 0}, {50, 0}},
        {{900, 950, 1100, 1050}, {1010, 1000}, {1050, 1000}},
    };
    for (const Case &c : cases) {
        int32_t x = c.in.x, y = c.in.y;
        EXPECT_EQ(1, geoRayRotatedEllipsePoint(&c.r, 900, &x, &y));
        EXPECT_EQ(c.out, (POINT{x, y})) << c.in;
    }
}

TEST(GeoAngles, SeenFromCentresAndAlongSegments)
{
    RECT r{0, 0, 100, 100};
    EXPECT_NEAR(0, geoAngleInRect(&r, 100, 50), 1e-9);
    EXPECT_NEAR(90, geoAngleInRect(&r, 50, 0), 1e-6);
    EXPECT_NEAR(225, geoAngleInRect(&r, 0, 100), 1e-6);

    struct Case {
        POINT p, q;
        double deg;
    } cases[] = {
        {{0, 0}, {-5, 0}, 180}, {{0, 0}, {5, 0}, 0},  {{3, 3}, {3, 3}, 0},
        {{0, 0}, {0, 5}, 90},   {{0, 0}, {0, -5}, 270}, {{0, 0}, {5, 5}, 45},
    };
    for (const Case &c : cases)
        EXPECT_NEAR(c.deg, geoSegmentAngleDeg(c.p, c.q), 1e-6) << c.p << c.q;

    double co, si;
    geoUnitVector(POINT{1, 1}, POINT{4, 5}, &co, &si);
    EXPECT_DOUBLE_EQ(0.6, co);
    EXPECT_DOUBLE_EQ(0.8, si);
    geoUnitVector(POINT{1, 1}, POINT{1, 1}, &co, &si);
    EXPECT_EQ(0.0, co);
    EXPECT_EQ(0.0, si);

    POINT out{7, 8};
    EXPECT_EQ(1, geoPointStub(POINT{0, 0}, POINT{1, 1}, &out));
    EXPECT_EQ((POINT{7, 8}), out);
    EXPECT_EQ(1, geoInit());
    geoTerm();
}

TEST(GeoFigures, RegularPolygons)
{
    EXPECT_EQ(0u, geoRegularPolygon(2, 10));
    EXPECT_EQ(0u, geoRegularPolygon(0, 10));
    EXPECT_EQ(0u, geoRegularPolygon(-3, 10));
    struct Case {
        int16_t n;
        int32_t r;
        std::vector<POINT> pts;
    } cases[] = {
        {4, 10, {{-10, -10}, {-10, 10}, {10, 10}, {10, -10}}},   // half side, not inscribed
        {3, 100, {{0, -100}, {87, 50}, {-87, 50}}},
        {5, 100, {{0, -100}, {95, -31}, {59, 81}, {-59, 81}, {-95, -31}}},
        {6, 10, {{-10, 0}, {-5, 9}, {5, 9}, {10, 0}, {5, -9}, {-5, -9}}},
    };
    for (const Case &c : cases) {
        std::vector<POINT> v = takePoints(geoRegularPolygon(c.n, c.r), c.n);
        EXPECT_EQ(c.pts, v) << "n " << c.n;
    }
}

TEST(GeoFigures, Stars)
{
    EXPECT_EQ(0u, geoStarPoints(2, 100, 40));
    std::vector<POINT> v = takePoints(geoStarPoints(5, 100, 40), 10);
    ASSERT_EQ(10u, v.size());
    EXPECT_EQ((POINT{0, -100}), v[0]);   // first tip at the top
    EXPECT_EQ((POINT{24, -32}), v[1]);   // then clockwise on the screen
    EXPECT_EQ((POINT{95, -31}), v[2]);
    for (size_t i = 0; i < v.size(); i += 2)
        EXPECT_NEAR(100, geoVectorLengthF(v[i]), 1) << i;
    for (size_t i = 1; i < v.size(); i += 2)
        EXPECT_NEAR(40, geoVectorLengthF(v[i]), 1) << i;
}

TEST(GeoRandom, StaysWithinTheRangeWhateverRandMax)
{
    struct Case {
        int32_t a, b;
    } cases[] = {{0, 1}, {5, 5}, {-3, 3}, {10, 1}, {0, 100000}, {INT32_MIN, INT32_MAX}};
    for (const Case &c : cases) {
        int32_t lo = std::min(c.a, c.b), hi = std::max(c.a, c.b);
        int32_t seenLo = INT32_MAX, seenHi = INT32_MIN;
        for (int i = 0; i < 10000; ++i) {
            int32_t v = utRandomRange(c.a, c.b);
            ASSERT_TRUE(v >= lo && v <= hi) << v << " outside " << c.a << ".." << c.b;
            seenLo = std::min(seenLo, v);
            seenHi = std::max(seenHi, v);
        }
        if ((int64_t)hi - lo <= 6) {
            // Small ranges are drawn whole, both ends included.
            EXPECT_EQ(lo, seenLo) << c.a << ".." << c.b;
            EXPECT_EQ(hi, seenHi) << c.a << ".." << c.b;
        }
    }
    for (int32_t v : {0, 5, -5, 40000}) {
        int32_t top = 0;
        for (int i = 0; i < 10000; ++i) {
            int32_t s = utRandomScaled(v);
            ASSERT_TRUE(s >= 0 && s <= abs(v)) << s << " for " << v;
            top = std::max(top, s);
        }
        if (abs(v) <= 5) {
            EXPECT_EQ(abs(v), top);
        }
    }
}

TEST(GeoRandom, PointsLieInTheRectangle)
{
    EXPECT_EQ(0u, geoRandomPoints(nullptr, 0));
    for (RECT r : {RECT{10, 20, 110, 70}, RECT{110, 70, 10, 20}, RECT{0, 0, 50000, 50000}}) {
        std::vector<POINT> v = takePoints(geoRandomPoints(&r, 500), 500);
        ASSERT_EQ(500u, v.size());
        RECT norm;
        geoRectFromPoints(POINT{r.left, r.top}, POINT{r.right, r.bottom}, &norm);
        for (const POINT &p : v)
            ASSERT_TRUE(geoPtInRect(&norm, p)) << p << " outside " << r;
    }
}

// ---- drawing ----------------------------------------------------------------

class GeoDraw : public ::testing::Test {
protected:
    GeoDraw() : dib_(200, 200)
    {
        qmtest::mapTwips(dib_.dc());
        oldBrush_ = SelectObject(dib_.dc(), GetStockObject(BLACK_BRUSH));
        live_ = qmtest::liveHandles();
    }
    ~GeoDraw() override
    {
        SelectObject(dib_.dc(), oldBrush_);
        EXPECT_EQ(live_, qmtest::liveHandles()) << "a point block was not freed";
    }
    bool black(int x, int y) const { return dib_.pixel(x, y) == RGB(0, 0, 0); }

    qmtest::Dib dib_;
    HGDIOBJ oldBrush_;
    long live_;
};

TEST_F(GeoDraw, EllipseTurnsWithTheObjectAngle)
{
    // A wide ellipse 180 x 60 pixels about the centre (100, 100).
    ASSERT_TRUE(gdiEllipseRotated(dib_.dc(), 150, 1050, 2850, 1950, 0));
    EXPECT_TRUE(black(100, 100));
    EXPECT_TRUE(black(20, 100));
    EXPECT_FALSE(black(100, 40));
    dib_.fill(RGB(255, 255, 255));
    ASSERT_TRUE(gdiEllipseRotated(dib_.dc(), 150, 1050, 2850, 1950, 900));
    EXPECT_TRUE(black(100, 100));
    EXPECT_TRUE(black(100, 20));
    EXPECT_FALSE(black(40, 100));
}

TEST_F(GeoDraw, RoundRectTurnsWithTheObjectAngle)
{
    ASSERT_TRUE(gdiRoundRectRotated(dib_.dc(), 150, 1050, 2850, 1950, 300, 300, 0));
    EXPECT_TRUE(black(15, 100));
    EXPECT_FALSE(black(100, 40));
    dib_.fill(RGB(255, 255, 255));
    ASSERT_TRUE(gdiRoundRectRotated(dib_.dc(), 150, 1050, 2850, 1950, 300, 300, 450));
    EXPECT_TRUE(black(100, 100));
    EXPECT_TRUE(black(160, 40));    // along the turned long axis
    EXPECT_TRUE(black(40, 160));
    EXPECT_FALSE(black(40, 40));
}

TEST_F(GeoDraw, ArcPieAndFigures)
{
    RECT circle{150, 150, 2850, 2850};   // radius 90 pixels about (100, 100)
    ASSERT_TRUE(gdiPieRotated(dib_.dc(), &circle, 0, 900, 0));
    EXPECT_TRUE(black(140, 60));   // the top-right quarter
    EXPECT_FALSE(black(60, 60));
    EXPECT_FALSE(black(140, 140));
    dib_.fill(RGB(255, 255, 255));
    ASSERT_TRUE(gdiArcRotated(dib_.dc(), &circle, 0, 900, 0));
    EXPECT_GT(dib_.count(RGB(0, 0, 0), RECT{160, 33, 168, 41}), 0);   // at 45 degrees
    EXPECT_EQ(0, dib_.count(RGB(0, 0, 0), RECT{0, 100, 100, 200}));
    dib_.fill(RGB(255, 255, 255));
    ASSERT_TRUE(gdiRegularPolygon(dib_.dc(), 750, 750, 2250, 2250, 4));
    EXPECT_TRUE(black(55, 55));     // the square of half side 50 pixels
    EXPECT_FALSE(black(45, 100));
    dib_.fill(RGB(255, 255, 255));
    ASSERT_TRUE(gdiStar(dib_.dc(), 150, 150, 2850, 2850, 5, 40));
    EXPECT_TRUE(black(100, 100));
    EXPECT_TRUE(black(100, 15));    // the top tip
    EXPECT_FALSE(black(60, 30));    // between two tips
    EXPECT_FALSE(gdiStar(dib_.dc(), 150, 150, 2850, 2850, 2, 40));
}

TEST_F(GeoDraw, NothingIsDrawnWhenMemoryFails)
{
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1);
    EXPECT_FALSE(gdiEllipseRotated(dib_.dc(), 150, 150, 2850, 2850, 300));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Memory allocation failed", boxes.last().text);
    EXPECT_EQ(0, dib_.count(RGB(0, 0, 0)));
    int16_t n = 99;
    utFailNextAllocs(1);
    RECT r{0, 0, 100, 100};
    EXPECT_EQ(0u, geoPiePolygon(&r, 0, 900, 0, &n));
    EXPECT_EQ(0, n);
    utFailNextAllocs(0);
}

}  // namespace
