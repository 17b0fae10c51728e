// Design guides: the guide table, its checks when read from a page, drawing
// on real pixels, and the guide commands on a workspace with their undo.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "views/pv_guide.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "commands/ud_undo.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "support/ut_mem.h"
#include <string.h>
#include <vector>

namespace {

struct Table {
    uint32_t size = 0, v = 0, h = 0;
    std::vector<int32_t> pos;
};

Table read(MemHandle t)
{
    Table out;
    MemLock<uint8_t> p(t);
    if (!p)
        return out;
    GuideRecord head;
    memcpy(&head, p.get(), sizeof head);
    out.size = head.size;
    out.v = head.vertical;
    out.h = head.horizontal;
    out.pos.resize(head.vertical + head.horizontal);
    memcpy(out.pos.data(), p.get() + 34, 4 * out.pos.size());
    return out;
}

TEST(GuideTable, AddsInOrderRefusesDuplicatesAndShrinksBackToTheEmptyTable)
{
    MemHandle t = gdNew();
    EXPECT_EQ(read(t).size, 38u);
    int added = 0;
    for (int32_t x : {900, 300, 600})
        t = gdAdd(t, x, GD_VERTICAL, &added);
    t = gdAdd(t, 500, GD_HORIZONTAL, &added);
    t = gdAdd(t, 200, GD_HORIZONTAL, &added);
    EXPECT_EQ(added, 1);
    MemHandle same = gdAdd(t, 600, GD_VERTICAL, &added);
    EXPECT_EQ(added, 0);
    EXPECT_EQ(same, t);
    Table r = read(t);
    EXPECT_EQ(r.size, 34u + 4 * 5);
    EXPECT_EQ(r.v, 3u);
    EXPECT_EQ(r.h, 2u);
    EXPECT_EQ(r.pos, (std::vector<int32_t>{300, 600, 900, 200, 500}));

    int32_t x = 610;
    EXPECT_EQ(gdFindX(t, &x, 20), 1);
    EXPECT_EQ(x, 600);
    x = 611;
    EXPECT_EQ(gdFindX(t, &x, 20), -1);
    EXPECT_EQ(gdSetPos(t, 0, 1000, GD_VERTICAL), 1);
    EXPECT_EQ(read(t).pos, (std::vector<int32_t>{600, 900, 1000, 200, 500}));
    EXPECT_EQ(gdSetPos(t, 0, 600, GD_VERTICAL), 0);

    EXPECT_EQ(gdDeleteAt(t, 601, GD_VERTICAL), 0);
    EXPECT_EQ(gdDelete(t, -1, GD_VERTICAL), 0);
    for (int32_t p : {600, 900, 1000})
        EXPECT_EQ(gdDeleteAt(t, p, GD_VERTICAL), 1);
    EXPECT_EQ(gdDelete(t, 1, GD_HORIZONTAL), 1);
    EXPECT_EQ(gdDelete(t, 0, GD_HORIZONTAL), 1);
    r = read(t);
    EXPECT_EQ(r.size, 38u);
    EXPECT_EQ(r.v, 0u);
    EXPECT_EQ(r.h, 0u);
    utFreeHandle(t);
}

TEST(GuideTable, AStoredTableIsTrustedOnlyWhenItsSizeAndCountsAgree)
{
    struct Case {
        const char *what;
        uint32_t sizeWord, v, h, length;
        bool accepted;
    } cases[] = {
        {"two guides", 42, 1, 1, 42, true},
        {"empty", 38, 0, 0, 38, true},
        {"size word larger than the data", 46, 1, 1, 42, false},
        {"counts beyond the data", 42, 5, 0, 42, false},
        {"counts that overflow", 42, 0x40000000u, 0x40000000u, 42, false},
        {"too short", 30, 0, 0, 30, false},
    };
    for (const Case &c : cases) {
        std::vector<uint8_t> bytes(c.length, 0);
        GuideRecord head = {};
        head.size = c.sizeWord;
        head.vertical = c.v;
        head.horizontal = c.h;
        memcpy(bytes.data(), &head, std::min<size_t>(sizeof head, bytes.size()));
        MemHandle page = pgtest::newPage("p");
        page = pgSetAttr(page, kGuideAttrTag, bytes.data(), (int)bytes.size());
        ASSERT_TRUE(page) << c.what;
        MemHandle got = pvGetGuides(page);
        EXPECT_EQ(got != 0, c.accepted) << c.what;
        utFreeHandle(got);
        pgFreeList(page);
    }
}

TEST(GuideTable, GuidesAreDrawnDottedAcrossThePage)
{
    qmtest::Dib dib(100, 80);
    MemHandle t = gdNew();
    int added = 0;
    t = gdAdd(t, 30, GD_VERTICAL, &added);
    t = gdAdd(t, 50, GD_HORIZONTAL, &added);
    RECT page = {10, 5, 90, 75};
    EXPECT_EQ(gdDraw(dib.dc(), t, &page, 0x004040), 1);
    const int column = dib.count(0x004040, {30, 0, 31, 80});
    EXPECT_GT(column, 15);
    EXPECT_LT(column, 70);   // dotted, not solid
    EXPECT_EQ(dib.count(0x004040, {30, 0, 31, 5}), 0);
    EXPECT_GT(dib.count(0x004040, {0, 50, 100, 51}), 15);
    EXPECT_EQ(dib.count(0x004040, {0, 50, 10, 51}), 0);
    utFreeHandle(t);
    EXPECT_EQ(gdDraw(dib.dc(), 0, &page, 0x004040), 0);
}

class Guides : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    RECT pageRect = {};
    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        pgGetPageRect(pvGetCurrentPage(ws), &pageRect);
    }
    Table current()
    {
        MemHandle t = pvGetCurrentGuides(ws);
        Table r = read(t);
        utFreeHandle(t);
        return r;
    }
    int32_t pixels(int n)
    {
        HDC dc = wsGetDC(ws);
        POINT p[2] = {{0, 0}, {n, n}};
        DPtoLP(dc, p, 2);
        ReleaseDC(ws, dc);
        return std::abs(p[1].x - p[0].x);
    }
};

TEST_F(Guides, OnlyPositionsStrictlyInsideThePageAreAddedAndUndoRestoresTheTable)
{
    EXPECT_EQ(pvAddGuide(ws, pageRect.left, GD_VERTICAL), 0);
    EXPECT_EQ(pvAddGuide(ws, pageRect.right, GD_VERTICAL), 0);
    EXPECT_FALSE(udIsPending(ws));
    EXPECT_EQ(pvAddGuide(ws, pageRect.left + 1, GD_VERTICAL), 1);
    EXPECT_EQ(pvAddGuide(ws, pageRect.right - 1, GD_VERTICAL), 1);
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(current().v, 2u);
    EXPECT_EQ(pvAddGuide(ws, pageRect.right - 1, GD_VERTICAL), 0);
    EXPECT_FALSE(udIsPending(ws));

    ASSERT_EQ(pvAddGuide(ws, pageRect.top + 1440, GD_HORIZONTAL), 1);
    EXPECT_TRUE(udIsPending(ws));
    udPerform(ws, 0);
    Table r = current();
    EXPECT_EQ(r.v, 2u);
    EXPECT_EQ(r.h, 0u);

    EXPECT_EQ(pvDeleteGuideAt(ws, pageRect.left + 2, GD_VERTICAL), 0);
    EXPECT_FALSE(udIsPending(ws));
    EXPECT_EQ(pvDeleteGuideAt(ws, pageRect.left + 1, GD_VERTICAL), 1);
    EXPECT_EQ(current().v, 1u);
    udPerform(ws, 0);
    EXPECT_EQ(current().v, 2u);
}

TEST_F(Guides, TheHitTestFindsAGuideThreePixelsAwayButNotFour)
{
    const int32_t x = pageRect.left + 2880;
    ASSERT_EQ(pvAddGuide(ws, x, GD_VERTICAL), 1);
    const int32_t px = pixels(1);
    ASSERT_GT(px, 0);
    POINT close = {x + pixels(3), pageRect.top + 100};
    uint32_t hit = pvGuideHitTest(ws, &close);
    EXPECT_EQ(LOWORD(hit), 0);
    EXPECT_EQ(HIWORD(hit), 0xFFFF);
    EXPECT_EQ(close.x, x);
    POINT away = {x + pixels(4), pageRect.top + 100};
    EXPECT_EQ(pvGuideHitTest(ws, &away), 0xFFFFFFFFu);
}

TEST_F(Guides, SnappingMovesTheNearerEdgeOntoTheGuideTopOnATie)
{
    const int32_t y = pageRect.top + 1000;
    ASSERT_EQ(pvAddGuide(ws, y, GD_HORIZONTAL), 1);
    MemHandle page = pvGetCurrentPage(ws);
    MemHandle box = pgtest::addObject(page, "box", pageRect.left + 200, y + 100,
                                      pageRect.left + 600, y + 500);
    EXPECT_EQ(pvSnapObjectToGuide(ws, box, 0, GD_HORIZONTAL), 1);
    RECT r;
    obGetRect(box, &r);
    EXPECT_EQ(r.top, y);
    EXPECT_TRUE(udIsPending(ws));
    EXPECT_EQ(pvSnapObjectToGuide(ws, box, 0, GD_HORIZONTAL), 0);

    // Equally away from both edges: the top goes onto the guide.
    MemHandle tie = pgtest::addObject(page, "tie", pageRect.left + 200, y - 100,
                                      pageRect.left + 600, y + 100);
    EXPECT_EQ(pvSnapObjectToGuide(ws, tie, 0, GD_HORIZONTAL), 1);
    obGetRect(tie, &r);
    EXPECT_EQ(r.top, y);
}

}  // namespace
