// Selection handles: the table, hits, and not-XOR drawing on real pixels.
#include "tests/tools/tools_kit.h"
#include "tools/ep_handles.h"

using namespace eptest;

namespace {

class Handles : public ::testing::Test {
protected:
    Handles() : dib_(200, 200)
    {
        dmResetModule();
        dmSetZoomDC(dib_.dc(), 100);
        dmSetMapping(dib_.dc());
        epSetHandleColor(0x7F7F7F);
    }
    ~Handles() override
    {
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
    Defaults defaults_;
    std::vector<MemHandle> made_;
    qmtest::Dib dib_;
};

TEST_F(Handles, TheTableFollowsTheKindOfObject)
{
    MemHandle rect = make(OBT_RECTANGLE, {{100, 200}, {1100, 801}});
    const HandleTable *t = epCalcHandles(rect);
    ASSERT_EQ(8, t->count);
    EXPECT_EQ(EP_HANDLES_RESIZE, t->mode);
    const POINT want[8] = {{100, 200}, {1100, 200}, {1100, 801}, {100, 801},
                           {100, 500}, {600, 200},  {1100, 500}, {600, 801}};
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(samePoint(want[i], t->points[i])) << i;
    EXPECT_EQ(1u, t->mayRotate);

    MemHandle line = make(OBT_LINE, {{900, 100}, {100, 700}});
    t = epCalcHandles(line);
    EXPECT_EQ(2, t->count);
    EXPECT_EQ(EP_HANDLES_ENDS, t->mode);
    EXPECT_TRUE(samePoint({900, 100}, t->points[0]));
    EXPECT_TRUE(samePoint({100, 700}, t->points[1]));

    MemHandle locked = make(OBT_RECTANGLE, {{0, 0}, {500, 500}}, OBF_LOCKED);
    t = epCalcHandles(locked);
    EXPECT_EQ(EP_HANDLES_NONE, t->mode);
    EXPECT_EQ(0u, t->mayRotate);
    EXPECT_EQ(-1, epHandleHit({0, 0}));

    MemHandle text = make(OBT_RECTANGLE, {{0, 0}, {1000, 1000}});
    {
        ObLock r(text);
        r->type = OBT_TEXT;
        r->rotation = 300;
    }
    t = epCalcHandles(text);
    EXPECT_EQ(EP_HANDLES_CORNERS, t->mode);
    EXPECT_EQ(2, epHandleHit({1000, 1000}));
    EXPECT_EQ(-1, epHandleHit({0, 500}));   // a middle does not count
}

TEST_F(Handles, TheRotateHandleSitsAtTheTopRightCorner)
{
    MemHandle rect = make(OBT_RECTANGLE, {{0, 0}, {1000, 600}});
    int32_t hx, hy;
    dmGetHandleSize(&hx, &hy);
    RECT r;
    ASSERT_EQ(1, epGetRotateHandle(rect, &r));
    EXPECT_EQ(1000 - 2 * hx, r.left);
    EXPECT_EQ(-hy, r.top);
    EXPECT_EQ(1000 + hx, r.right);
    EXPECT_EQ(2 * hy, r.bottom);
    EXPECT_TRUE(epRotateHandleHit(rect, {1000, 0}));
    MemHandle line = make(OBT_LINE, {{0, 0}, {100, 100}});
    EXPECT_EQ(0, epGetRotateHandle(line, &r));
    MemHandle fixed = make(OBT_RECTANGLE, {{0, 0}, {100, 100}}, OBF_NO_ROTATE);
    EXPECT_EQ(0, epGetRotateHandle(fixed, &r));
}

TEST_F(Handles, DrawingTwiceLeavesThePictureUnchanged)
{
    // Something under the handles, so that not-XOR has more than white to
    // turn over.
    qmtest::Dib before(200, 200);
    {
        int saved = SaveDC(dib_.dc());
        SetMapMode(dib_.dc(), MM_TEXT);
        SetWindowOrgEx(dib_.dc(), 0, 0, nullptr);
        SetViewportOrgEx(dib_.dc(), 0, 0, nullptr);
        HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
        RECT band = {0, 0, 100, 20};
        FillRect(dib_.dc(), &band, blue);
        DeleteObject(blue);
        BitBlt(before.dc(), 0, 0, 200, 200, dib_.dc(), 0, 0, SRCCOPY);
        RestoreDC(dib_.dc(), saved);
    }

    struct {
        const char *what;
        int16_t type;
        std::vector<POINT> pts;
        uint32_t flags;
    } cases[] = {
        {"rectangle with its rotate handle", OBT_RECTANGLE, {{300, 300}, {2100, 1500}}, 0},
        {"rectangle without rotation", OBT_RECTANGLE, {{300, 300}, {2100, 1500}}, OBF_NO_ROTATE},
        {"locked: hollow", OBT_ELLIPSE, {{150, 150}, {1200, 900}}, OBF_LOCKED},
        {"line ends", OBT_LINE, {{200, 2400}, {2600, 200}}, 0},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.what);
        MemHandle h = make(c.type, c.pts, c.flags);
        epDrawHandles(nullptr, dib_.dc(), h);
        EXPECT_GT(dib_.diff(before), 20);
        epDrawHandles(nullptr, dib_.dc(), h);
        EXPECT_EQ(0, dib_.diff(before));
    }
}

TEST_F(Handles, FilledAndHollowHandlesDifferInTheirInside)
{
    MemHandle open = make(OBT_RECTANGLE, {{300, 300}, {2100, 1500}}, OBF_NO_ROTATE);
    MemHandle locked = make(OBT_RECTANGLE, {{300, 300}, {2100, 1500}}, OBF_LOCKED);
    qmtest::Dib white(200, 200);
    epDrawHandles(nullptr, dib_.dc(), open);
    int filled = dib_.diff(white);
    epDrawHandles(nullptr, dib_.dc(), open);
    epDrawHandles(nullptr, dib_.dc(), locked);
    int hollow = dib_.diff(white);
    epDrawHandles(nullptr, dib_.dc(), locked);
    EXPECT_GT(filled, hollow);
    EXPECT_GT(hollow, 0);
    // The centre pixel of a filled handle is the handle colour (not-XOR
    // of grey on white keeps the grey).
    POINT c = {300, 300};
    LPtoDP(dib_.dc(), &c, 1);
    epDrawHandles(nullptr, dib_.dc(), open);
    EXPECT_EQ(RGB(0x7F, 0x7F, 0x7F), dib_.pixel(c.x, c.y));
    epDrawHandles(nullptr, dib_.dc(), open);
}
}  // namespace
