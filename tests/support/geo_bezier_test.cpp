// Bézier flattening and the curve builders of ellipses, rounded rectangles,
// arcs and pies.
#include "tests/support/geo_test_points.h"
#include "support/geo_bezier.h"
#include "support/geo_rotate.h"
#include <math.h>

namespace {

using qmtest::takePoints;

typedef MemHandle (*Flattener)(const POINT *, int16_t, int16_t *);

MemHandle flattenRes15(const POINT *pts, int16_t n, int16_t *count)
{
    return geoFlattenBezierRes(pts, n, count, 15);
}

const Flattener kFlatteners[] = {geoFlattenBezier, flattenRes15, geoFlattenBezierFine};

// The hump (0,0) -> (1500,0) rising to y = 1125 at its middle.
const POINT kHump[4] = {{0, 0}, {0, 1500}, {1500, 1500}, {1500, 0}};

double circleError(POINT p, POINT centre, double radius)
{
    return fabs(geoDistance(p, centre) / radius - 1.0);
}

TEST(GeoFlatten, StraightAndEmptySegments)
{
    const POINT straight[4] = {{0, 0}, {0, 0}, {300, 0}, {300, 0}};
    const POINT dots[4] = {{5, 5}, {5, 5}, {5, 5}, {5, 5}};
    const POINT single[1] = {{7, 7}};
    // A straight segment followed by a partial one, which is ignored.
    const POINT partial[6] = {{0, 0}, {0, 0}, {300, 0}, {300, 0}, {900, 900}, {0, 900}};
    struct Case {
        const POINT *pts;
        int16_t n;
        std::vector<POINT> out;
    } cases[] = {
        {straight, 4, {{0, 0}, {0, 0}, {300, 0}}},   // start, start, end
        {dots, 4, {{5, 5}}},                         // four equal points add nothing
        {single, 1, {{7, 7}}},
        {partial, 6, {{0, 0}, {0, 0}, {300, 0}}},
    };
    for (Flattener f : kFlatteners) {
        for (const Case &c : cases) {
            int16_t n = 0;
            EXPECT_EQ(c.out, takePoints(f(c.pts, c.n, &n), n)) << "n " << c.n;
        }
        int16_t n = 5;
        EXPECT_EQ(0u, f(single, 0, &n));
        EXPECT_EQ(0, n);
    }
}

TEST(GeoFlatten, StepsFollowTheResolution)
{
    struct Case {
        int32_t res;
        int16_t count;
    } cases[] = {
        {15, 51},   // 2250 / 15 / 3 = 50 steps
        {30, 26},
        {5000, 2},  // at least one step: the chord
    };
    for (const Case &c : cases) {
        int16_t n = 0;
        std::vector<POINT> v = takePoints(geoFlattenBezierRes(kHump, 4, &n, c.res), n);
        ASSERT_EQ(c.count, n) << "res " << c.res;
        EXPECT_EQ(kHump[0], v.front());
        EXPECT_EQ(kHump[3], v.back());
    }
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoFlattenBezier(kHump, 4, &n), n);
    ASSERT_EQ(51, n);   // the view mapping's pixel of 15 twips
    EXPECT_EQ((POINT{750, 1125}), v[25]);
    for (size_t i = 1; i < v.size(); ++i) {
        ASSERT_GT(v[i].x, v[i - 1].x);
        double t = i / 50.0;
        EXPECT_NEAR(4500 * t * (1 - t), v[i].y, 1) << i;
    }
    // A resolution of nothing or less counts as one unit.
    for (int32_t res : {0, -5}) {
        v = takePoints(geoFlattenBezierRes(kHump, 4, &n, res), n);
        EXPECT_EQ(kHump[3], v.back());
        EXPECT_GT(n, 500);
    }
}

TEST(GeoFlatten, FineFlatteningMeasuresInLogicalUnits)
{
    const POINT tiny[4] = {{0, 0}, {0, 30}, {30, 30}, {30, 0}};
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoFlattenBezierFine(tiny, 4, &n), n);
    // 90 units / 3 = 30 steps, repeated rounded points dropped.
    EXPECT_GT(n, 15);
    EXPECT_LE(n, 31);
    EXPECT_EQ(tiny[0], v.front());
    EXPECT_EQ(tiny[3], v.back());
    for (size_t i = 1; i + 1 < v.size(); ++i)
        EXPECT_NE(v[i], v[i - 1]) << i;
}

TEST(GeoFlatten, StaysWithinItsBlockWhateverTheBudget)
{
    // 6000 tall segments: twice the point count alone is over the budget.
    std::vector<POINT> wavy(3 * 6000 + 1);
    for (int j = 0; j < 6000; ++j) {
        wavy[3 * j] = POINT{j * 1000, 0};
        wavy[3 * j + 1] = POINT{j * 1000 + 300, 100000};
        wavy[3 * j + 2] = POINT{j * 1000 + 700, -100000};
    }
    wavy.back() = POINT{6000 * 1000, 0};
    // 10000 straight segments.
    std::vector<POINT> lines(3 * 10000 + 1);
    for (int j = 0; j <= 30000; ++j)
        lines[j] = POINT{(j + 1) / 3 * 10, 0};
    // One segment spanning the whole coordinate range.
    const POINT huge[4] = {{-2000000000, -2000000000}, {2000000000, -2000000000},
                           {2000000000, 2000000000}, {-2000000000, 2000000000}};
    struct Case {
        const char *name;
        const POINT *pts;
        int16_t n;
        int res;
    } cases[] = {
        {"wavy", wavy.data(), (int16_t)wavy.size(), 15},
        {"lines", lines.data(), (int16_t)lines.size(), 15},
        {"huge", huge, 4, 1},
        {"huge coarse", huge, 4, 1000000},
    };
    for (const Case &c : cases) {
        for (int fine = 0; fine < 2; ++fine) {
            int16_t n = 0;
            MemHandle h = fine ? geoFlattenBezierFine(c.pts, c.n, &n)
                               : geoFlattenBezierRes(c.pts, c.n, &n, c.res);
            ASSERT_NE(0u, h) << c.name;
            EXPECT_LE((uint32_t)n * sizeof(POINT), utHandleSize(h)) << c.name;
            std::vector<POINT> v = takePoints(h, n);
            ASSERT_FALSE(v.empty());
            EXPECT_EQ(c.pts[0], v.front()) << c.name;
            EXPECT_EQ(c.pts[c.n - 1], v.back()) << c.name << (fine ? " fine" : "");
            if (c.n == 4) {
                EXPECT_LT(n, 16001) << c.name;
            }
        }
    }
    // Every segment keeps at least its end point; straight ones keep both ends.
    int16_t n = 0;
    takePoints(geoFlattenBezier(wavy.data(), (int16_t)wavy.size(), &n), n);
    EXPECT_EQ(6001, n);
    takePoints(geoFlattenBezier(lines.data(), (int16_t)lines.size(), &n), n);
    EXPECT_EQ(20001, n);
}

TEST(GeoFlatten, ShortMemoryTakesCoarserStepsThenGivesUp)
{
    long live = qmtest::liveHandles();
    {
        qmtest::BoxRecorder boxes;
        int16_t n = 0;
        utFailNextAllocs(1);
        std::vector<POINT> v = takePoints(geoFlattenBezierRes(kHump, 4, &n, 15), n);
        EXPECT_EQ(38, n);   // k = 4: 2250 / 15 / 4 = 37 steps
        EXPECT_EQ(kHump[3], v.back());
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Memory allocation failed", boxes.last().text);
    }
    qmtest::Dib dib(10, 10);
    {
        // With no memory at all it gives up after a few coarser tries.
        qmtest::MemoryRunsOut oom;
        int16_t n = 7;
        EXPECT_EQ(0u, geoFlattenBezierRes(kHump, 4, &n, 15));
        EXPECT_EQ(0, n);
        EXPECT_EQ(8, oom.boxes());
        RECT r{1, 2, 3, 4};
        EXPECT_EQ(0, geoBezierBounds(kHump, 4, &r));
        EXPECT_FALSE(gdiPolyBezier(dib.dc(), kHump, 4));
        EXPECT_FALSE(gdiPolyBezierClosed(dib.dc(), kHump, 4));
    }
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(GeoFlatten, BoundsOfTheFlattenedCurve)
{
    RECT r;
    ASSERT_EQ(1, geoBezierBounds(kHump, 4, &r));
    EXPECT_EQ((RECT{0, 0, 1500, 1125}), r);
}

TEST(GeoCurves, EllipseBezier)
{
    RECT r{0, 0, 1440, 720};
    int16_t n = 0;
    std::vector<POINT> v = takePoints(geoEllipseBezier(&r, &n), n);
    ASSERT_EQ(13, n);
    EXPECT_EQ((POINT{1440, 360}), v[0]);
    EXPECT_EQ((POINT{1440, 163}), v[1]);   // 720 x 0.2734375 = 196.875 -> 197
    EXPECT_EQ((POINT{1114, 0}), v[2]);     // 1440 x 0.2734375 = 393.75 -> 394
    EXPECT_EQ((POINT{720, 0}), v[3]);
    EXPECT_EQ((POINT{0, 360}), v[6]);
    EXPECT_EQ((POINT{720, 720}), v[9]);
    EXPECT_EQ(v[0], v[12]);

    // Flattened, the curve stays close to the true ellipse.
    RECT sq{-1000, -1000, 1000, 1000};
    v = takePoints(geoEllipseBezier(&sq, &n), n);
    std::vector<POINT> flat = takePoints(geoFlattenBezierFine(v.data(), n, &n), n);
    for (const POINT &p : flat)
        ASSERT_LT(circleError(p, POINT{0, 0}, 1000), 0.01) << p;
}

TEST(GeoCurves, RoundRectBezier)
{
    RECT r{0, 0, 1000, 600};
    POINT pts[25];
    int16_t n = 0;
    geoRoundRectBezier(&r, 200, 100, pts, &n);
    ASSERT_EQ(25, n);
    EXPECT_EQ((POINT{1000, 50}), pts[0]);
    EXPECT_EQ((POINT{1000, 25}), pts[1]);
    EXPECT_EQ((POINT{950, 0}), pts[2]);
    EXPECT_EQ((POINT{900, 0}), pts[3]);
    EXPECT_EQ((POINT{0, 50}), pts[9]);
    EXPECT_EQ((POINT{100, 600}), pts[15]);
    EXPECT_EQ(pts[0], pts[24]);
    // The edge segments are straight: their controls equal their ends.
    for (int seg : {1, 3, 5, 7}) {
        EXPECT_EQ(pts[3 * seg], pts[3 * seg + 1]) << seg;
        EXPECT_EQ(pts[3 * seg + 2], pts[3 * seg + 3]) << seg;
    }
    std::vector<POINT> fromHandle = takePoints(geoRoundRectBezierHandle(&r, 200, 100, &n), n);
    EXPECT_EQ(std::vector<POINT>(pts, pts + 25), fromHandle);
}

TEST(GeoCurves, ArcBezierSegments)
{
    RECT circle{-1000, -1000, 1000, 1000};
    RECT wide{-2000, -1000, 2000, 1000};
    RECT off{1000, 1000, 3000, 2000};
    struct Case {
        const RECT *r;
        int16_t start, end, rot;
        int16_t count;
        POINT first, last;
    } cases[] = {
        {&circle, 0, 3600, 0, 13, {1000, 0}, {1000, 0}},     // four quarters
        {&circle, 0, 900, 0, 4, {1000, 0}, {0, -1000}},      // one quarter
        {&circle, 450, 450, 0, 4, {707, -707}, {707, -707}}, // one degenerate segment
        {&circle, 2700, 900, 0, 7, {0, 1000}, {0, -1000}},   // across angle 0
        {&circle, 0, 900, 900, 4, {0, -1000}, {-1000, 0}},   // turned by the object angle
        {&wide, 450, 900, 0, 4, {894, -894}, {0, -1000}},    // polar 45 degrees stays on its ray
        {&off, 2700, 900, 0, 7, {2000, 2000}, {2000, 1000}},
    };
    for (const Case &c : cases) {
        int16_t n = 0;
        std::vector<POINT> v = takePoints(geoArcBezier(c.r, c.start, c.end, c.rot, &n), n);
        ASSERT_EQ(c.count, n) << c.start << ".." << c.end;
        EXPECT_EQ(c.first, v.front()) << c.start << ".." << c.end;
        EXPECT_EQ(c.last, v.back()) << c.start << ".." << c.end;
    }
    // The quarter's controls: k = sin(90 x pi/180 x 0.36833) = 0.54685.
    int16_t n = 0;
    std::vector<POINT> q = takePoints(geoArcBezier(&circle, 0, 900, 0, &n), n);
    EXPECT_EQ((POINT{1000, -547}), q[1]);
    EXPECT_EQ((POINT{547, -1000}), q[2]);
    // The whole circle passes the top, left and bottom; flattened it stays on
    // the circle.
    std::vector<POINT> full = takePoints(geoArcBezier(&circle, 0, 3600, 0, &n), n);
    EXPECT_EQ((POINT{0, -1000}), full[3]);
    EXPECT_EQ((POINT{-1000, 0}), full[6]);
    EXPECT_EQ((POINT{0, 1000}), full[9]);
    std::vector<POINT> flat = takePoints(geoFlattenBezierFine(full.data(), n, &n), n);
    for (const POINT &p : flat)
        ASSERT_LT(circleError(p, POINT{0, 0}, 1000), 0.005) << p;   // within half a percent
    // A flat ellipse gives points, not garbage.
    RECT line{0, -1000, 0, 1000};
    std::vector<POINT> degenerate = takePoints(geoArcBezier(&line, 300, 2000, 0, &n), n);
    for (const POINT &p : degenerate)
        EXPECT_EQ(0, p.x) << p;
}

TEST(GeoCurves, PieBezierClosesThroughTheCentre)
{
    RECT r{1000, 1000, 3000, 3000};
    const POINT m{2000, 2000};
    int16_t n = 0;
    std::vector<POINT> arc = takePoints(geoArcBezier(&r, 0, 900, 0, &n), n);
    long live = qmtest::liveHandles();
    std::vector<POINT> pie = takePoints(geoPieBezier(&r, 0, 900, 0, &n), n);
    EXPECT_EQ(live, qmtest::liveHandles());   // the arc's block is freed
    ASSERT_EQ(10, n);
    std::vector<POINT> expected = {m, m, arc[0]};
    expected.insert(expected.end(), arc.begin(), arc.end());
    expected.insert(expected.end(), {arc.back(), m, m});
    EXPECT_EQ(expected, pie);

    {
        qmtest::MemoryRunsOut oom;
        n = 3;
        EXPECT_EQ(0u, geoPieBezier(&r, 0, 900, 0, &n));
        EXPECT_EQ(0, n);
        EXPECT_EQ(0u, geoArcBezier(&r, 0, 900, 0, &n));
        EXPECT_EQ(0u, geoEllipseBezier(&r, &n));
        EXPECT_EQ(0u, geoRoundRectBezierHandle(&r, 10, 10, &n));
    }
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(GeoCurves, DrawnCurves)
{
    long live = qmtest::liveHandles();
    qmtest::Dib dib(200, 200);
    qmtest::mapTwips(dib.dc());
    HGDIOBJ old = SelectObject(dib.dc(), GetStockObject(BLACK_BRUSH));
    // The ellipse of radius 90 pixels about (100, 100), filled.
    RECT r{150, 150, 2850, 2850};
    int16_t n = 0;
    std::vector<POINT> e = takePoints(geoEllipseBezier(&r, &n), n);
    ASSERT_TRUE(gdiPolyBezierClosed(dib.dc(), e.data(), n));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(100, 100));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(15, 100));
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(20, 20));
    // Its outline only.
    dib.fill(RGB(255, 255, 255));
    ASSERT_TRUE(gdiPolyBezier(dib.dc(), e.data(), n));
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(100, 100));
    EXPECT_GT(dib.count(RGB(0, 0, 0), RECT{160, 33, 168, 41}), 0);   // at 45 degrees
    SelectObject(dib.dc(), old);
    EXPECT_EQ(live, qmtest::liveHandles());
}

TEST(GeoCurves, AllChordsJoinSegmentStartsOnly)
{
    qmtest::Dib dib(100, 100);
    // Starts at 0 and 3; point 6 ends the curve and takes no part.
    const POINT pts[10] = {{10, 10}, {30, 30}, {50, 30}, {90, 10}, {90, 50},
                           {50, 90}, {10, 90}, {20, 80}, {30, 70}, {50, 50}};
    EXPECT_EQ(1, gdiBezierAllChords(dib.dc(), pts, 7));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(50, 10));         // 0 - 3
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(10, 50));   // no 0 - 6
    EXPECT_EQ(RGB(255, 255, 255), dib.pixel(50, 50));   // no 3 - 6
    dib.fill(RGB(255, 255, 255));
    EXPECT_EQ(1, gdiBezierAllChords(dib.dc(), pts, 4));
    EXPECT_EQ(0, dib.count(RGB(0, 0, 0)));
    // With ten points the starts are 0, 3 and 6.
    EXPECT_EQ(1, gdiBezierAllChords(dib.dc(), pts, 10));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(10, 50));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(50, 50));
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(50, 10));
}

}  // namespace
