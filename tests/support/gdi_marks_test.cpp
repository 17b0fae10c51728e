// Marker symbols: the points they are made of and their pixels in a DIB at
// several zooms.
#include "tests/support/kit.h"
#include "support/dm_map.h"
#include "support/gdi_marks.h"
#include <math.h>
#include <vector>

namespace {

const COLORREF kBlack = RGB(0, 0, 0);

// Records the points of a Polyline through a metafile-free route: the
// figure is drawn at 1:1 into a DIB whose pixels are read back.
class Marks : public ::testing::Test {
protected:
    Marks() : dib_(200, 200)
    {
        dmResetModule();
        gdiSetMarkerExactPixels(0);
        oldBrush_ = SelectObject(dib_.dc(), GetStockObject(NULL_BRUSH));
    }
    ~Marks() override
    {
        SelectObject(dib_.dc(), oldBrush_);
        gdiSetMarkerExactPixels(0);
        dmResetModule();
    }
    // The bounds of the black pixels, or an empty rectangle.
    RECT inked() const
    {
        RECT r = {dib_.width(), dib_.height(), -1, -1};
        for (int y = 0; y < dib_.height(); ++y)
            for (int x = 0; x < dib_.width(); ++x)
                if (dib_.pixel(x, y) == kBlack) {
                    r.left = x < r.left ? x : r.left;
                    r.top = y < r.top ? y : r.top;
                    r.right = x > r.right ? x : r.right;
                    r.bottom = y > r.bottom ? y : r.bottom;
                }
        return r;
    }
    qmtest::Dib dib_;
    HGDIOBJ oldBrush_;
};

}  // namespace

TEST_F(Marks, CheckMarkAndTriangleVertices)
{
    // The check mark w = h = 8 at (0, 0) runs (-6, -2), (-2, 6), (6, -6):
    // drawn about (100, 100) at 1:1, its ends are pixels there.
    gdiDrawCheckMark(dib_.dc(), POINT{100, 100}, 8, 8, 0.0);
    EXPECT_EQ(kBlack, dib_.pixel(94, 98));
    EXPECT_EQ(kBlack, dib_.pixel(98, 106));
    EXPECT_EQ(kBlack, dib_.pixel(99, 105)) << "the second run leaves the corner upward";
    const RECT r = inked();
    EXPECT_EQ(94, r.left);
    EXPECT_EQ(106, r.bottom);
    // The last point (6, -6) is the line's excluded end: just short of it.
    EXPECT_GE(r.right, 104);
    EXPECT_LE(r.right, 105);
    EXPECT_GE(r.top, 94);
    EXPECT_LE(r.top, 96);
    // A negative width mirrors it.
    dib_.fill(RGB(255, 255, 255));
    gdiDrawCheckMark(dib_.dc(), POINT{100, 100}, -8, 8, 0.0);
    EXPECT_EQ(kBlack, dib_.pixel(106, 98));
    EXPECT_EQ(kBlack, dib_.pixel(102, 106));

    const struct {
        int code;
        POINT p[3];
    } triangles[] = {
        {44, {{-58, 0}, {29, 50}, {29, -50}}},   {45, {{-58, 0}, {29, 50}, {29, -50}}},
        {46, {{0, -58}, {-50, 29}, {50, 29}}},   {48, {{0, 58}, {50, -29}, {-50, -29}}},
        {42, {{58, 0}, {-29, -50}, {-29, 50}}},  {0, {{58, 0}, {-29, -50}, {-29, 50}}},
    };
    for (const auto &t : triangles) {
        POINT out[3];
        geoTriangleMarkPoints(out, 100, t.code);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(t.p[i].x, out[i].x) << t.code << " point " << i;
            EXPECT_EQ(t.p[i].y, out[i].y) << t.code << " point " << i;
        }
    }
}

TEST_F(Marks, ExactPixelsAtAnyZoom)
{
    for (int zoom : {25, 100, 400}) {
        SCOPED_TRACE(zoom);
        dmSetZoomDC(dib_.dc(), zoom);
        dmSetMapping(dib_.dc());
        gdiSetMarkerExactPixels(0);
        const uint32_t mapped = gdiMarkerPixelSize(dib_.dc());
        EXPECT_EQ((uint32_t)dmGetPixelWidth(), mapped & 0xFFFF);
        gdiSetMarkerExactPixels(1);
        EXPECT_EQ(0x10001u, gdiMarkerPixelSize(dib_.dc()));
    }
}

TEST_F(Marks, SnappedDiamondHasTheSamePixelsAtEveryZoomAndPlace)
{
    // A diamond of 6 device pixels a side, wherever it is drawn and at
    // whatever zoom, is the same figure of pixels.
    RECT first = {};
    int firstCount = -1;
    for (int zoom : {100, 200, 300}) {
        for (int32_t x : {1500, 1507, 31680}) {
            SCOPED_TRACE(zoom);
            SCOPED_TRACE(x);
            dib_.fill(RGB(255, 255, 255));
            dmResetModule();
            dmSetZoomDC(dib_.dc(), zoom);
            dmSetMappingOrg(dib_.dc(), x - dmDevToLogW(100), 0);
            SelectObject(dib_.dc(), GetStockObject(BLACK_BRUSH));
            const int32_t six = 6 * dmGetPixelWidth();
            gdiDiamondSnapped(dib_.dc(), x, 1500 * 100 / zoom, six, six);
            const RECT r = inked();
            const int n = dib_.count(kBlack);
            if (firstCount < 0) {
                first = r;
                firstCount = n;
                EXPECT_GT(n, 20);
            }
            EXPECT_EQ(first.right - first.left, r.right - r.left);
            EXPECT_EQ(first.bottom - first.top, r.bottom - r.top);
            EXPECT_EQ(firstCount, n);
        }
    }
}

TEST_F(Marks, LineMarksDotsAndDiamondsInRect)
{
    HDC dc = dib_.dc();
    const struct {
        const char *name;
        void (*draw)(HDC, POINT, int32_t, int32_t, double);
        POINT on[2];
        POINT off;
    } figures[] = {
        {"cross", gdiDrawXMark, {{90, 90}, {110, 110}}, {100, 90}},
        {"plus", gdiDrawPlusMark, {{100, 90}, {90, 100}}, {90, 90}},
        {"dash", gdiDrawDashMark, {{90, 100}, {110, 100}}, {100, 90}},
        {"divide", gdiDrawDivideMark, {{90, 100}, {110, 100}}, {100, 90}},
    };
    for (const auto &f : figures) {
        SCOPED_TRACE(f.name);
        dib_.fill(RGB(255, 255, 255));
        f.draw(dc, POINT{100, 100}, 10, 10, 0.0);
        for (const POINT &p : f.on)
            EXPECT_EQ(kBlack, dib_.pixel(p.x, p.y)) << p.x << "," << p.y;
        EXPECT_NE(kBlack, dib_.pixel(f.off.x, f.off.y));
        // Each figure reaches one pixel further right (or down).
        const RECT r = inked();
        EXPECT_LE(r.right, 111);
    }
    // The division sign's dots lie 3 pixels above and below the bar.
    RECT above = {98, 95, 103, 99}, below = {98, 102, 103, 106};
    EXPECT_GT(dib_.count(kBlack, above), 0);
    EXPECT_GT(dib_.count(kBlack, below), 0);
    // Turned a quarter, the dash stands upright.
    dib_.fill(RGB(255, 255, 255));
    gdiDrawDashMark(dc, POINT{100, 100}, 10, 10, M_PI / 2);
    EXPECT_EQ(kBlack, dib_.pixel(100, 95));
    EXPECT_NE(kBlack, dib_.pixel(95, 100));

    // A dot and a diamond far out on the pasteboard (beyond 16 bits).
    dib_.fill(RGB(255, 255, 255));
    SetWindowOrgEx(dc, 40000, 40000, nullptr);
    gdiDot(dc, POINT{40100, 40100}, 5);
    EXPECT_EQ(kBlack, dib_.pixel(95, 100));
    gdiDiamondInRect(dc, 40020, 40020, 40060, 40060);
    EXPECT_EQ(kBlack, dib_.pixel(40, 20));
    EXPECT_EQ(kBlack, dib_.pixel(20, 40));
    SetWindowOrgEx(dc, 0, 0, nullptr);

    // The compare marks open opposite ways.
    dib_.fill(RGB(255, 255, 255));
    gdiDrawCompareMark(dc, POINT{50, 100}, 10, 10, TRUE);
    gdiDrawCompareMark(dc, POINT{150, 100}, 10, 10, FALSE);
    EXPECT_EQ(kBlack, dib_.pixel(59, 100)) << "greater: the tip at the right";
    EXPECT_EQ(kBlack, dib_.pixel(141, 100)) << "less: the tip at the left";
    RECT under = {40, 108, 61, 112};
    EXPECT_GT(dib_.count(kBlack, under), 10) << "the underline below the chevron";
}
