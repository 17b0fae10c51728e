// Picking points on cubic Bezier segments, and point markers.
#include "tests/support/kit.h"
#include "support/dm_map.h"
#include "support/geo_pick.h"
#include "support/win_place.h"
#include <math.h>

namespace {

// Distance from the point to the segment, sampled finely.
double distanceToCurve(const POINT c[4], POINT p)
{
    double best = 1e300;
    for (int k = 0; k <= 20000; ++k) {
        double t = k / 20000.0, u = 1 - t;
        double x = u * u * u * c[0].x + 3 * t * u * u * c[1].x + 3 * t * t * u * c[2].x +
                   t * t * t * c[3].x;
        double y = u * u * u * c[0].y + 3 * t * u * u * c[1].y + 3 * t * t * u * c[2].y +
                   t * t * t * c[3].y;
        best = std::min(best, hypot(x - p.x, y - p.y));
    }
    return best;
}

// Two segments: a hump from (0, 0) to (300, 0), then a dip on to (600, 0).
const POINT kCurve[7] = {{0, 0},     {100, -200}, {200, -200}, {300, 0},
                         {400, 200}, {500, 200},  {600, 0}};

TEST(GeoBezierPick, SegmentsTestedByCount)
{
    POINT nearSecond = {450, 148};   // under the dip, near the curve
    POINT p = nearSecond;
    EXPECT_EQ(3, geoBezierHitSegment(&p, 6, kCurve, 7));
    // Moved onto the curve, within the tolerance of where it was.
    EXPECT_LT(distanceToCurve(kCurve + 3, p), 1.0);
    EXPECT_LE(labs(p.x - nearSecond.x), 6);
    EXPECT_LE(labs(p.y - nearSecond.y), 6);
    // With six points the second segment is incomplete and not tried.
    p = nearSecond;
    EXPECT_EQ(-1, geoBezierHitSegment(&p, 6, kCurve, 6));
    EXPECT_EQ(450, p.x);
    EXPECT_EQ(148, p.y);
    p = nearSecond;
    EXPECT_EQ(-1, geoBezierHitSegment(&p, 6, kCurve, 4));
    // The first segment is found with four points.
    p = {150, -148};
    EXPECT_EQ(0, geoBezierHitSegment(&p, 6, kCurve, 4));
    EXPECT_LT(distanceToCurve(kCurve, p), 1.0);
    p = {150, -148};
    EXPECT_EQ(-1, geoBezierHitSegment(&p, 6, kCurve, 3));
    // Far from both segments.
    p = {300, 300};
    EXPECT_EQ(-1, geoBezierHitSegment(&p, 6, kCurve, 7));
}

TEST(GeoBezierPick, ToleranceBelowTwoNeverPicks)
{
    POINT end = kCurve[3];   // exactly on the curve (t = 1)
    POINT p = end;
    EXPECT_FALSE(geoBezierHitPoint(&p, 1, kCurve));
    EXPECT_FALSE(geoBezierHitPoint(&p, 0, kCurve));
    EXPECT_TRUE(geoBezierHitPoint(&p, 2, kCurve));
    EXPECT_LE(labs(p.x - end.x), 2);   // the first sample within the tolerance
    EXPECT_LE(labs(p.y - end.y), 2);
    // A segment of no length takes no steps.
    const POINT dot[4] = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
    p = {5, 5};
    EXPECT_FALSE(geoBezierHitPoint(&p, 4, dot));
}

TEST(GeoBezierPick, LongCurvesAtAFineToleranceArePicked)
{
    // 100,000 twips at tolerance 2 is 50,000 steps: more than 16 bits hold.
    const POINT longCurve[4] = {{0, 0}, {33333, 0}, {66667, 0}, {100000, 0}};
    POINT p = {70001, 1};
    EXPECT_TRUE(geoBezierHitPoint(&p, 2, longCurve));
    EXPECT_EQ(0, p.y);
    EXPECT_LE(labs(p.x - 70001), 2);
    // A curve too long for the cap is still walked to its end.
    const POINT huge[4] = {{0, 0}, {1000000, 0}, {2000000, 0}, {3000000, 0}};
    p = {3000000, 0};
    EXPECT_TRUE(geoBezierHitPoint(&p, 2, huge));
    EXPECT_EQ(3000000, p.x);
}

TEST(GdiMarker, RectangleEllipseOrNothing)
{
    qmtest::Dib dib(60, 60);
    dmResetModule();
    winSetScreenResolution(96, 96);
    dmSetMapping(dib.dc());
    HGDIOBJ oldBrush = SelectObject(dib.dc(), GetStockObject(NULL_BRUSH));
    int32_t hx = 0, hy = 0;
    dmGetHandleSize(&hx, &hy);
    ASSERT_GT(hx, 0);
    const POINT centre = {450, 450};   // pixel (30, 30)
    gdiMarkerAt(dib.dc(), centre, 0);
    int square = dib.count(RGB(0, 0, 0));
    EXPECT_GT(square, 8);
    // The marker is centred: its black pixels sit evenly about pixel 30.
    POINT corner = {centre.x - hx, centre.y - hy};
    LPtoDP(dib.dc(), &corner, 1);
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(corner.x, corner.y));   // a rectangle has corners
    dib.fill(RGB(255, 255, 255));
    gdiMarkerAt(dib.dc(), centre, 1);
    int round = dib.count(RGB(0, 0, 0));
    EXPECT_GT(round, 4);
    EXPECT_NE(RGB(0, 0, 0), dib.pixel(corner.x, corner.y));   // an ellipse has none
    dib.fill(RGB(255, 255, 255));
    gdiMarkerAt(dib.dc(), centre, 2);
    gdiMarkerAt(dib.dc(), centre, -1);
    EXPECT_EQ(0, dib.count(RGB(0, 0, 0)));
    SelectObject(dib.dc(), oldBrush);
    dmResetModule();
}

}  // namespace
