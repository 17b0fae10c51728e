// Grid objects: the ruled lines of the three grid types on real pixels,
// whole cells, a quarter turn, rescaling, the fill block behind the grid,
// the grid tools' records, and damaged counts and sizes.
#include "tests/objects/fill_kit.h"
#include "objects/sh_grid.h"
#include "commands/grid_new.h"
#include "model/ob_transform.h"
#include "support/ut_bytes.h"

using namespace filltest;

namespace {

class Grids : public FillTest {};

// A grid of the type centred on the pixel (cx, cy), w x h twips.
MemHandle grid(int16_t type, int cx, int cy, int32_t w, int32_t h, int16_t columns, int16_t rows)
{
    MemHandle g = obtest::make(type, px(cx) - w / 2, px(cy) - h / 2, px(cx) - w / 2 + w,
                               px(cy) - h / 2 + h, kShGridDataSize);
    ObLock r(g);
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kShGridDataSize);
    utPutAt<int32_t>(d, 0, w);
    utPutAt<int32_t>(d, 4, h);
    utPutAt<int16_t>(d, 8, columns);
    utPutAt<int16_t>(d, 10, rows);
    r->penColour = kBlack;
    r->layer = 1;
    return g;
}

int32_t gridWidth(MemHandle g) { return utGetAt<int32_t>(obRecData(ObLock(g).get()), 0); }
int32_t gridHeight(MemHandle g) { return utGetAt<int32_t>(obRecData(ObLock(g).get()), 4); }

// Black pixels of column x between rows y0 and y1, and of row y.
int column(const Page &p, int x, int y0, int y1) { return p.in(kBlack, x, y0, x + 1, y1); }
int row(const Page &p, int y, int x0, int x1) { return p.in(kBlack, x0, y, x1, y + 1); }

TEST_F(Grids, EachTypeRulesItsOwnLines)
{
    // 1440 x 720 twips = 96 x 48 pixels about the pixel (60, 40): the box
    // spans x 12..108 and y 16..64.
    {
        MemHandle g = grid(OBT_GRID, 60, 40, 1440, 720, 4, 2);
        Page page(120, 80);
        page.draw(g);
        for (int x : {12, 36, 60, 84})
            EXPECT_GE(column(page, x, 20, 60), 38) << "frame or inner column line at " << x;
        EXPECT_GE(row(page, 40, 16, 104), 85) << "the inner row line";
        EXPECT_GE(row(page, 16, 16, 104), 85) << "the top of the frame";
        EXPECT_EQ(0, column(page, 24, 20, 38)) << "inside a cell";
        EXPECT_EQ(0, column(page, 48, 44, 60));
        obFreeTree(g);
    }
    {
        // 491, 3 rows of 16 pixels: four horizontal lines, no side edges.
        MemHandle g = grid(OBT_GRID491, 60, 40, 1440, 720, 1, 3);
        Page page(120, 80);
        page.draw(g);
        for (int y : {16, 32, 48, 64})
            EXPECT_GE(row(page, y, 16, 104), 85) << "row line at " << y;
        EXPECT_LE(column(page, 12, 18, 62), 2) << "no left edge (only the rows cross it)";
        EXPECT_LE(column(page, 107, 18, 62), 2) << "no right edge";
        obFreeTree(g);
    }
    {
        // 492, 3 columns of 32 pixels: four vertical lines, no top or bottom.
        MemHandle g = grid(OBT_GRID492, 60, 40, 1440, 720, 3, 1);
        Page page(120, 80);
        page.draw(g);
        for (int x : {12, 44, 76, 108})
            EXPECT_GE(column(page, x, 20, 60), 38) << "column line at " << x;
        EXPECT_LE(row(page, 16, 14, 106), 4) << "no top edge";
        EXPECT_LE(row(page, 63, 14, 106), 4) << "no bottom edge";
        obFreeTree(g);
    }
}

TEST_F(Grids, BoundsKeepWholeCellsAndAQuarterTurnFollowsTheEdges)
{
    MemHandle g = grid(OBT_GRID, 60, 60, 1000, 600, 3, 2);
    RECT r;
    EXPECT_TRUE(objGetVertexBounds(g, &r)) << "the grid module's bounds";
    EXPECT_EQ(999, gridWidth(g));
    EXPECT_EQ(600, gridHeight(g));
    EXPECT_EQ(998, r.right - r.left) << "the box halves truncate toward zero";
    obFreeTree(g);

    g = grid(OBT_GRID, 60, 60, 1440, 720, 4, 2);
    POINT c;
    obGetCentre(g, &c);
    obTreeFlipRotate(g, c, 900);
    EXPECT_EQ(900, ObLock(g)->rotation);
    EXPECT_EQ(720, obGetWidth(g)) << "head width and height swap";
    EXPECT_EQ(1440, obGetHeight(g));
    EXPECT_EQ(1440, gridWidth(g)) << "the grid keeps its own size";
    Page page(120, 120);
    page.draw(g);
    // The three column lines now run across, the row line down the middle.
    for (int y : {36, 60, 84})
        EXPECT_GE(row(page, y, 40, 80), 38) << "turned column line at " << y;
    EXPECT_GE(column(page, 60, 16, 104), 85) << "turned row line";
    EXPECT_EQ(0, row(page, 48, 40, 58)) << "inside a turned cell";
    obFreeTree(g);
}

TEST_F(Grids, RescaleScalesTheGridWithItsHeadAndKeepsAFillBlockBehindIt)
{
    MemHandle g = grid(OBT_GRID, 60, 60, 1200, 600, 4, 3);
    RECT target = {0, 0, 2400, 300};
    g = obFitToRect(g, &target);
    EXPECT_EQ(2400, gridWidth(g));
    EXPECT_EQ(300, gridHeight(g));
    EXPECT_EQ(2400, obGetWidth(g));
    POINT c;
    obGetCentre(g, &c);
    EXPECT_EQ(1200, c.x);

    // A pattern fill lies at +20 and the record grows to hold it.
    PatternFill p;
    filDefaultPattern(&p);
    EXPECT_EQ(1, obSetPatternFill(&g, &p));
    ObLock r(g);
    EXPECT_EQ(2, r->fillKind);
    EXPECT_EQ(kObHeadSize + 20 + 24, r->length);
    EXPECT_EQ(obRecData(r.get()) + 20, obGetFillData(r.get()));
    obFreeTree(g);
}

TEST_F(Grids, TheGridToolsMakeGridRecords)
{
    struct Case {
        int16_t type;
        int16_t columns, rows;
    } cases[] = {{OBT_GRID, -1, -1}, {OBT_GRID491, 1, -1}, {OBT_GRID492, -1, 1}, {OBT_GRID, 3, 2}};
    for (const Case &c : cases) {
        MemHandle h = obNewRecord(kObHeadSize);
        ObLock(h)->type = c.type;
        MemHandle g = c.type == OBT_GRID491   ? gridNewOneColumn(h, {1000, 2000}, {0, 0}, -1)
                      : c.type == OBT_GRID492 ? gridNewOneRow(h, {1000, 2000}, {0, 0}, -1)
                                              : gridNew(h, {1000, 2000}, {0, 0}, c.columns, c.rows);
        ASSERT_TRUE(g);
        {
        ObLock r(g);
        EXPECT_EQ(c.type, r->type);
        EXPECT_EQ(106u, r->length);
        const uint8_t *d = obRecData(r.get());
        EXPECT_EQ(c.columns, utGetAt<int16_t>(d, 8));
        EXPECT_EQ(c.rows, utGetAt<int16_t>(d, 10));
        EXPECT_EQ(500, r->centreX);
        EXPECT_EQ(1000, r->centreY);
        // Defaults (-1) read as 4 and leave the size as dragged; given counts
        // round it down to whole cells.
        EXPECT_EQ(c.columns == 3 ? 999 : 1000, utGetAt<int32_t>(d, 0)) << c.type;
        int32_t w, ht, cols, rows;
        shGridGeometry(r.get(), &w, &ht, &cols, &rows);
        EXPECT_EQ(c.columns < 0 ? 4 : c.columns, cols);
        }
        obFreeTree(g);
    }
}

TEST_F(Grids, DamagedCountsAndSizesNeitherCrashNorDivideByZero)
{
    struct Case {
        int16_t columns, rows;
        int32_t headWidth;
        int32_t dataBytes;   // type data the record holds
    } cases[] = {
        {0, 0, 1440, 20},          // 0 counts as 1
        {-7, -1, 1440, 20},        // below 0 counts as 4
        {32767, 32767, 1440, 20},  // many lines, each at most once
        {4, 2, 0, 20},             // no head size to rescale by
        {4, 2, 1440, 6},           // too short for its geometry
    };
    for (const Case &c : cases) {
        MemHandle g = grid(OBT_GRID, 60, 40, 1440, 720, c.columns, c.rows);
        ObLock(g)->width = c.headWidth;
        if (c.dataBytes < 20)
            ObLock(g)->length = kObHeadSize + c.dataBytes;
        Page page(120, 80);
        page.draw(g);
        RECT target = {0, 0, 2000, 1000};
        shGridRescale(g, &target);
        if (c.headWidth == 0) {
            EXPECT_EQ(1440, gridWidth(g)) << "a zero head keeps the grid's width";
        }
        RECT r;
        objGetVertexBounds(g, &r);
        page.draw(g);
        obFreeTree(g);
    }
}

}  // namespace
