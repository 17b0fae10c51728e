// Drag outlines, the resize rules of the handles and the calendar's font
// entries, on records and real pixels.
#include "tests/tools/tools_kit.h"
#include "objects/cal_calendar.h"
#include "tools/ep_handles.h"
#include "tools/ep_outline.h"
#include "tools/ep_resize.h"
#include "model/ob_dispatch.h"
#include "model/ob_transform.h"
#include "support/ut_mem.h"

using namespace eptest;

namespace {

class Outline : public ::testing::Test {
protected:
    Outline() : dib_(240, 240)
    {
        dmResetModule();
        dmSetZoomDC(dib_.dc(), 100);
        dmSetMapping(dib_.dc());
    }
    ~Outline() override
    {
        objScaledOutline(nullptr, 0, nullptr, OBJ_OUTLINE_END);
        for (MemHandle h : made_)
            obFreeTree(h);
        dmResetModule();
    }
    MemHandle make(int16_t type, std::vector<POINT> pts, uint32_t flags = 0)
    {
        MemHandle h = create(defaults_.get(), type, pts);
        obSetFlags(h, 0xFFFFFFFFu, FALSE);
        obSetFlags(h, flags, TRUE);
        made_.push_back(h);
        return h;
    }
    // The not-XOR grey pen of the drags on the DIB.
    struct XorPen {
        XorPen(HDC dc) : dc_(dc), pen_(CreatePen(PS_SOLID, 0, 0xC4C4C4)), sel_(dc, pen_)
        {
            rop_ = SetROP2(dc, R2_NOTXORPEN);
        }
        ~XorPen() { SetROP2(dc_, rop_); }
        HDC dc_;
        GdiObject<HPEN> pen_;
        GdiSelect sel_;
        int rop_;
    };
    int changed() const
    {
        qmtest::Dib white(dib_.width(), dib_.height());
        return dib_.diff(white);
    }
    Defaults defaults_;
    std::vector<MemHandle> made_;
    qmtest::Dib dib_;
};

TEST_F(Outline, DrawnTwiceInNotXorTheOutlinesLeaveThePictureUnchanged)
{
    MemHandle rect = make(OBT_RECTANGLE, {{150, 150}, {1800, 1500}});
    MemHandle text = make(OBT_TEXT, {{300, 300}, {2400, 900}});
    MemHandle arrow = make(OBT_ARROW, {{200, 2000}, {3000, 2600}});
    MemHandle line = make(OBT_LINE, {{100, 3000}, {3000, 3300}});
    XorPen pen(dib_.dc());
    for (MemHandle h : {rect, text, arrow, line}) {
        objOutlineByType(dib_.dc(), h);
        EXPECT_GT(changed(), 0) << obGetType(h);
        objOutlineByType(dib_.dc(), h);
        EXPECT_EQ(0, changed()) << obGetType(h);
    }
    // At a moved centre, and the centre is put back.
    POINT before;
    obGetCentre(rect, &before);
    objOutlineAt(dib_.dc(), rect, 2000, 2000);
    EXPECT_GT(changed(), 0);
    objOutlineAt(dib_.dc(), rect, 2000, 2000);
    EXPECT_EQ(0, changed());
    POINT after;
    obGetCentre(rect, &after);
    EXPECT_TRUE(samePoint(before, after));

    // The scaled outline, a kind without one (text) included.
    for (MemHandle h : {rect, text}) {
        ASSERT_EQ(1, objScaledOutline(dib_.dc(), h, nullptr, OBJ_OUTLINE_BEGIN));
        const RECT target = {300, 300, 2700, 2100};
        objScaledOutline(dib_.dc(), h, &target, OBJ_OUTLINE_DRAW);
        EXPECT_GT(changed(), 0);
        objScaledOutline(dib_.dc(), h, &target, OBJ_OUTLINE_DRAW);
        EXPECT_EQ(0, changed());
        objScaledOutline(dib_.dc(), h, nullptr, OBJ_OUTLINE_END);
        EXPECT_FALSE(objScaledOutlineActive());
    }
}

// The point kinds outline their own shape: ink on the segments, none on
// the corners of the bounding box that the shape does not pass.
class PointOutline : public Outline {
protected:
    // Whether the outline marked a pixel within one pixel of a page point.
    bool inkAt(POINT twips) const
    {
        POINT p = twips;
        LPtoDP(dib_.dc(), &p, 1);
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = p.x + dx, y = p.y + dy;
                if (x >= 0 && y >= 0 && x < dib_.width() && y < dib_.height() &&
                    dib_.pixel(x, y) != RGB(255, 255, 255))
                    return true;
            }
        return false;
    }
    static POINT mid(POINT a, POINT b) { return POINT{(a.x + b.x) / 2, (a.y + b.y) / 2}; }
    // Draws the move outline, runs the checks, draws it again and expects
    // the picture unchanged.
    template <class Check> void outlined(MemHandle h, Check check)
    {
        XorPen pen(dib_.dc());
        objOutlineByType(dib_.dc(), h);
        check();
        objOutlineByType(dib_.dc(), h);
        EXPECT_EQ(0, changed()) << obGetType(h);
    }
};

TEST_F(PointOutline, PolylinesCurvesPolygonsAndCubesShowTheirOwnShape)
{
    // A W: its two bottom corners of the box are never passed.
    const std::vector<POINT> w = {{300, 300}, {900, 2400}, {1500, 900}, {2100, 2400}, {2700, 300}};
    for (int16_t type : {OBT_POLYLINE, OBT_POLYHV}) {
        MemHandle poly = make(type, w);
        const std::vector<POINT> pts = pointsOf(poly);
        ASSERT_EQ(5u, pts.size()) << type;
        outlined(poly, [&] {
            for (size_t i = 0; i + 1 < pts.size(); ++i)
                EXPECT_TRUE(inkAt(mid(pts[i], pts[i + 1]))) << type << " segment " << i;
            EXPECT_FALSE(inkAt(POINT{300, 2400})) << type << ": no frame";
            EXPECT_FALSE(inkAt(POINT{2700, 2400})) << type << ": no frame";
        });
    }

    MemHandle curve = make(OBT_BEZIER, {{300, 2400}, {300, 300}, {2700, 300}, {2700, 2400}});
    std::vector<POINT> c = pointsOf(curve);
    ASSERT_GE(c.size(), 4u);
    outlined(curve, [&] {
        // The point of the curve at t = 1/2.
        const POINT half = {(c[0].x + 3 * c[1].x + 3 * c[2].x + c[3].x) / 8,
                            (c[0].y + 3 * c[1].y + 3 * c[2].y + c[3].y) / 8};
        EXPECT_TRUE(inkAt(half));
        EXPECT_FALSE(inkAt(c[1])) << "a control point is not on the curve";
        EXPECT_FALSE(inkAt(mid(c[0], c[1]))) << "no straight run through the controls";
    });

    MemHandle triangle = make(OBT_POLYGON, {{300, 300}, {2700, 300}, {1500, 2400}});
    std::vector<POINT> t = pointsOf(triangle);
    ASSERT_EQ(3u, t.size());
    outlined(triangle, [&] {
        EXPECT_TRUE(inkAt(mid(t[0], t[1])));
        EXPECT_TRUE(inkAt(mid(t[1], t[2])));
        EXPECT_TRUE(inkAt(mid(t[2], t[0]))) << "the polygon closes";
        EXPECT_FALSE(inkAt(POINT{300, 2400}));
    });

    MemHandle cube = make(OBT_CUBE, {{300, 300}, {2400, 2400}});
    std::vector<POINT> q = pointsOf(cube);
    ASSERT_EQ(6u, q.size());
    outlined(cube, [&] {
        for (size_t i = 0; i < 6; ++i)
            EXPECT_TRUE(inkAt(mid(q[i], q[(i + 1) % 6]))) << "ring edge " << i;
        const POINT inner = {q[0].x + q[2].x - q[1].x, q[0].y + q[2].y - q[1].y};
        for (size_t i : {0, 2, 4})
            EXPECT_TRUE(inkAt(mid(inner, q[i]))) << "inner edge to " << i;
    });

    // An H-line is one line: the pixels of one row of its length.
    MemHandle hline = make(OBT_HLINE, {{300, 1500}, {2700, 1500}});
    outlined(hline, [&] {
        EXPECT_TRUE(inkAt(POINT{1500, 1500}));
        POINT a = {300, 1500}, b = {2700, 1500};
        LPtoDP(dib_.dc(), &a, 1);
        LPtoDP(dib_.dc(), &b, 1);
        EXPECT_LE(changed(), b.x - a.x + 2) << "a single line";
        EXPECT_GE(changed(), b.x - a.x - 1);
    });

    // A text and a bitmap still show their frame.
    for (int16_t type : {OBT_TEXT, OBT_BITMAP}) {
        MemHandle h = make(type, {{300, 300}, {2400, 1800}});
        RECT box;
        obGetRect(h, &box);
        outlined(h, [&] {
            EXPECT_TRUE(inkAt(POINT{box.left, box.top})) << type;
            EXPECT_TRUE(inkAt(POINT{box.right, box.bottom})) << type;
            EXPECT_TRUE(inkAt(POINT{(box.left + box.right) / 2, box.top})) << type;
        });
    }
}

TEST_F(PointOutline, ARotatedPolylineOutlinesItsTurnedPoints)
{
    MemHandle line = make(OBT_LINE, {{300, 1500}, {2700, 1500}});
    {
        ObLock r(line);
        r->rotation = 900;   // a quarter turn: the line stands upright
    }
    POINT c;
    obGetCentre(line, &c);
    outlined(line, [&] {
        EXPECT_TRUE(inkAt(POINT{c.x, c.y - 900}));
        EXPECT_FALSE(inkAt(POINT{c.x - 900, c.y})) << "not the unturned line";
    });
}

TEST_F(PointOutline, APolylineResizedToTwiceItsWidthDrawsItsScaledShape)
{
    MemHandle poly = make(OBT_POLYLINE, {{300, 300}, {600, 1500}, {900, 600}, {1200, 1500}});
    RECT box;
    obGetRect(poly, &box);
    const RECT target = {box.left, box.top, box.left + 2 * (box.right - box.left), box.bottom};
    XorPen pen(dib_.dc());
    ASSERT_EQ(1, objScaledOutline(dib_.dc(), poly, nullptr, OBJ_OUTLINE_BEGIN));
    objScaledOutline(dib_.dc(), poly, &target, OBJ_OUTLINE_DRAW);
    // The second vertex (600, 1500) is at twice its distance from the left.
    const std::vector<POINT> pts = pointsOf(poly);
    const POINT v1 = {box.left + 2 * (pts[1].x - box.left), pts[1].y};
    const POINT v2 = {box.left + 2 * (pts[2].x - box.left), pts[2].y};
    EXPECT_TRUE(inkAt(mid(v1, v2)));
    // Corners of the target that the shape does not pass (the first vertex
    // is its top-left, the last its bottom-right).
    EXPECT_FALSE(inkAt(POINT{target.right, target.top})) << "no frame";
    EXPECT_FALSE(inkAt(POINT{target.left, target.bottom})) << "no frame";
    // A target of no width draws nothing.
    objScaledOutline(dib_.dc(), poly, &target, OBJ_OUTLINE_DRAW);
    ASSERT_EQ(0, changed());
    const RECT flat = {target.left, target.top, target.left, target.bottom};
    objScaledOutline(dib_.dc(), poly, &flat, OBJ_OUTLINE_DRAW);
    EXPECT_EQ(0, changed());
    objScaledOutline(dib_.dc(), poly, nullptr, OBJ_OUTLINE_END);
    EXPECT_EQ(box.right - box.left, obGetWidth(poly)) << "the object keeps its size";
}

TEST_F(Outline, ATargetWithoutWidthOrHeightDrawsNothing)
{
    MemHandle rect = make(OBT_RECTANGLE, {{150, 150}, {1800, 1500}});
    MemHandle text = make(OBT_TEXT, {{300, 300}, {2400, 900}});
    XorPen pen(dib_.dc());
    for (MemHandle h : {rect, text}) {
        ASSERT_EQ(1, objScaledOutline(dib_.dc(), h, nullptr, OBJ_OUTLINE_BEGIN));
        for (RECT target : {RECT{300, 300, 300, 2000}, RECT{300, 900, 2000, 900}}) {
            objScaledOutline(dib_.dc(), h, &target, OBJ_OUTLINE_DRAW);
            EXPECT_EQ(0, changed());
        }
        objScaledOutline(dib_.dc(), h, nullptr, OBJ_OUTLINE_END);
    }
}

TEST_F(Outline, TheScaledCopyLeavesTheObjectAndItsNeighboursAlone)
{
    MemHandle a = make(OBT_RECTANGLE, {{150, 150}, {1800, 1500}});
    MemHandle b = make(OBT_RECTANGLE, {{1950, 150}, {2800, 1500}});
    obLinkPair(a, b);
    const long blocks = utLiveHandleCount();
    XorPen pen(dib_.dc());
    ASSERT_EQ(1, objScaledOutline(dib_.dc(), b, nullptr, OBJ_OUTLINE_BEGIN));
    EXPECT_TRUE(objScaledOutlineActive());
    const RECT target = {100, 100, 3000, 3000};
    objScaledOutline(dib_.dc(), b, &target, OBJ_OUTLINE_DRAW);
    objScaledOutline(dib_.dc(), b, &target, OBJ_OUTLINE_DRAW);
    objScaledOutline(dib_.dc(), b, nullptr, OBJ_OUTLINE_END);
    EXPECT_EQ(blocks, utLiveHandleCount());
    EXPECT_EQ(b, obGetNext(a));
    EXPECT_EQ(a, obGetPrev(b));
    EXPECT_EQ(850, obGetWidth(b));
    EXPECT_EQ(0, changed());
}

TEST_F(Outline, AStoredWidthOfZeroScalesByTheNewWidthOverOne)
{
    // A vertical line: width 0, so the x factor is w / 1, never infinite.
    MemHandle vline = make(OBT_VLINE, {{600, 300}, {600, 1500}});
    ASSERT_EQ(0, obGetWidth(vline));
    XorPen pen(dib_.dc());
    ASSERT_EQ(1, objScaledOutline(dib_.dc(), vline, nullptr, OBJ_OUTLINE_BEGIN));
    const RECT target = {600, 300, 900, 2700};
    objScaledOutline(dib_.dc(), vline, &target, OBJ_OUTLINE_DRAW);
    EXPECT_GT(changed(), 0);
    objScaledOutline(dib_.dc(), vline, &target, OBJ_OUTLINE_DRAW);
    EXPECT_EQ(0, changed());
    objScaledOutline(dib_.dc(), vline, nullptr, OBJ_OUTLINE_END);
    EXPECT_EQ(0, obGetWidth(vline));
}

TEST_F(Outline, KindsOutlinedByScalingAreExactlyTheShapes)
{
    for (int t = -40; t <= 1006; ++t) {
        const bool want = t == 2 || (t >= 4 && t <= 15) || t == 17 || t == 18 || t == 19 ||
                          t == 26 || t == 402;
        EXPECT_EQ(want ? 1 : 0, objHasScaledOutlineType((int16_t)t)) << t;
    }
    EXPECT_EQ(0, objHasScaledOutline(0));
}

// ---- resize rules ---------------------------------------------------------------------------

TEST_F(Outline, EachHandleMovesItsOwnSides)
{
    const RECT start = {1000, 2000, 3000, 5000};
    struct Case {
        int handle;
        RECT want;
    } cases[] = {
        {0, {700, 800, 3000, 5000}}, {1, {1000, 800, 700, 5000}}, {2, {1000, 2000, 700, 800}},
        {3, {700, 2000, 3000, 800}}, {4, {700, 2000, 3000, 5000}}, {5, {1000, 800, 3000, 5000}},
        {6, {1000, 2000, 700, 5000}}, {7, {1000, 2000, 3000, 800}},
    };
    for (const Case &c : cases) {
        RECT t;
        epResizeRectFrom(OBT_RECTANGLE, EP_HANDLES_RESIZE, &start, 700, 800, c.handle, &t);
        EXPECT_TRUE(EqualRect(&t, &c.want)) << c.handle << ": " << t.left << "," << t.top << ","
                                            << t.right << "," << t.bottom;
    }
    // The line kinds: an end takes what its direction allows.
    const RECT ends = {100, 200, 900, 800};
    RECT t;
    auto same = [](const RECT &a, RECT b) { return EqualRect(&a, &b) != FALSE; };
    epResizeRectFrom(OBT_VLINE, EP_HANDLES_ENDS, &ends, 555, 666, 1, &t);
    EXPECT_TRUE(same(t, RECT{100, 200, 900, 666}));
    epResizeRectFrom(OBT_HLINE, EP_HANDLES_ENDS, &ends, 555, 666, 0, &t);
    EXPECT_TRUE(same(t, RECT{555, 200, 900, 800}));
    epResizeRectFrom(OBT_LINE, EP_HANDLES_ENDS, &ends, 555, 666, 0, &t);
    EXPECT_TRUE(same(t, RECT{555, 666, 900, 800}));
}

TEST_F(Outline, ARotatedTextCornerKeepsTheAspectRatio)
{
    MemHandle text = make(OBT_TEXT, {{1000, 1000}, {3000, 2000}});
    {
        ObLock r(text);
        r->rotation = 300;
    }
    const HandleTable *table = epCalcHandles(text);
    ASSERT_EQ(EP_HANDLES_CORNERS, table->mode);
    RECT box;
    obGetRect(text, &box);
    const int32_t w = box.right - box.left, h = box.bottom - box.top;
    // Handle 2 (bottom-right) asked twice as wide and three times as high.
    RECT t;
    epResizeRect(text, box.left + 2 * w, box.top + 3 * h, 2, &t);
    EXPECT_EQ(2 * w, t.right - t.left);
    EXPECT_EQ(2 * h, t.bottom - t.top);
    EXPECT_EQ(box.left, t.left);
    EXPECT_EQ(box.top, t.top);
    // Handle 0 dragged past the fixed corner turns over with both signs.
    epResizeRect(text, box.right + w, box.bottom + h / 2, 0, &t);
    EXPECT_EQ(box.right + w / 2, t.left);
    EXPECT_EQ(box.bottom + h / 2, t.top);
}

TEST_F(Outline, LockedAndPointLockedTablesOfferNoHandle)
{
    MemHandle locked = make(OBT_TABLE, {{0, 0}, {3000, 3000}}, OBF_LOCKED);
    MemHandle pointLocked = make(OBT_RECTANGLE, {{0, 0}, {3000, 3000}}, OBF_NO_POINT_EDIT);
    for (MemHandle h : {locked, pointLocked}) {
        const HandleTable *t = epCalcHandles(h);
        EXPECT_EQ(EP_HANDLES_NONE, t->mode);
        EXPECT_EQ(0u, t->mayRotate);
        EXPECT_EQ(-1, epHandleHit(POINT{0, 0}));
        EXPECT_EQ(-1, epHandleHit(POINT{3000, 3000}));
    }
}

// ---- calendar ---------------------------------------------------------------------------------

TEST_F(Outline, TheCalendarFontGoesIntoAllThreeSlotsAndTheTitleReadsBack)
{
    MemHandle cal = make(OBT_CALENDAR, {{1000, 1000}, {8000, 7000}});
    LOGFONTA lf = {};
    lf.lfHeight = -333;
    lf.lfItalic = 1;
    strcpy(lf.lfFaceName, "Courier New");
    EXPECT_EQ(cal, calSetFonts(nullptr, cal, &lf));
    {
        ObLock r(cal);
        const uint8_t *d = obRecData(r.get());
        for (uint32_t at : {CAL_TITLE_FONT, CAL_HEAD_FONT, CAL_DAY_FONT})
            EXPECT_EQ(0, memcmp(d + at, &lf, sizeof lf)) << at;
    }
    LOGFONTA back = {};
    EXPECT_EQ(1, calGetFont(cal, &back));
    EXPECT_EQ(0, memcmp(&back, &lf, sizeof lf));
    EXPECT_EQ(0, calGetFont(0, &back));
    // The dialog is not there yet: the edit answers Cancel and changes nothing.
    RECT before, after;
    obGetRect(cal, &before);
    EXPECT_EQ(0, calEditObject(nullptr, cal));
    obGetRect(cal, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

}  // namespace
