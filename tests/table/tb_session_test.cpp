// The table edit session, geometry, rescaling and drawing.
#include "tests/support/kit.h"
#include "tests/table/tb_fixture.h"
#include "table/tb_block.h"
#include "table/tb_draw.h"
#include "table/tb_geometry.h"
#include "table/tb_record.h"
#include "table/tb_session.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

using qmtest::makeTable;

namespace {

std::vector<uint8_t> recordBytes(MemHandle h)
{
    ObLock r(h);
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
    return std::vector<uint8_t>(p, p + r->length);
}

TableCell at(int c, int r)
{
    TableCell cell;
    tbSessCopyCell(&cell, c, r);
    return cell;
}

// Joins the range of cols x rows cells anchored at (c, r) in the session.
void join(int c, int r, int cols, int rows)
{
    TableCell *a = tbSessCell(c, r);
    a->colSpan = (uint8_t)cols;
    a->rowSpan = (uint8_t)rows;
    for (int y = r; y < r + rows; ++y)
        for (int x = c; x < c + cols; ++x)
            if (x != c || y != r) {
                TableCell *t = tbSessCell(x, y);
                t->column = (uint8_t)c;
                t->row = (uint8_t)r;
                t->textOffset = kTbCovered;
            }
    tbSessUnlockCells();
}

struct SessionEnd {
    ~SessionEnd() { tbEndSession(); }
};

}  // namespace

TEST(TableSession, TextStoreKeepsOffsetsInStep)
{
    SessionEnd end;
    MemHandle t = makeTable(3, 2, RECT{0, 0, 3000, 600});
    ASSERT_TRUE(tbBeginSession(t));
    EXPECT_TRUE(tbSetCellText(0, 0, "abc"));
    EXPECT_TRUE(tbSetCellText(1, 0, "de"));
    EXPECT_TRUE(tbSetCellText(2, 1, "f"));
    EXPECT_EQ(4 + 3 + 2u, tbTextStoreSize());
    EXPECT_EQ(4, at(1, 0).textOffset);
    // The same text twice keeps the store's size.
    EXPECT_TRUE(tbSetCellText(1, 0, "de"));
    EXPECT_EQ(9u, tbTextStoreSize());
    // A longer text in place moves the later offsets.
    EXPECT_TRUE(tbSetCellText(0, 0, "abcdef"));
    EXPECT_EQ(7, at(1, 0).textOffset);
    EXPECT_EQ(10, at(2, 1).textOffset);
    // An empty text removes the bytes: later offsets drop by length + 1.
    EXPECT_TRUE(tbSetCellText(0, 0, ""));
    EXPECT_EQ(kTbNoText, at(0, 0).textOffset);
    EXPECT_EQ(0, at(1, 0).textOffset);
    EXPECT_EQ(3, at(2, 1).textOffset);
    EXPECT_EQ(5u, tbTextStoreSize());
    char buf[16];
    EXPECT_EQ(1, tbCopyCellText(2, 1, buf, sizeof buf));
    EXPECT_STREQ("f", buf);
    // A covered cell keeps its mark and takes no text of its own.
    join(0, 1, 2, 1);
    EXPECT_TRUE(tbSetCellText(1, 1, ""));
    EXPECT_EQ(kTbCovered, at(1, 1).textOffset);
    EXPECT_FALSE(tbSetCellText(1, 1, "x"));
    EXPECT_FALSE(tbSetCellText(-1, 0, "x"));
    EXPECT_EQ(5u, tbTextStoreSize());
    tbEndSession();
    utFreeHandle(t);
}

TEST(TableSession, UnchangedCommitIsByteIdenticalAndMismatchKeepsTheObject)
{
    SessionEnd end;
    MemHandle t = makeTable(3, 3, RECT{0, 0, 3000, 900});
    const char *texts[] = {"a", "bb", nullptr, "ccc"};
    t = qmtest::setTableTexts(t, texts, 4);
    std::vector<uint8_t> before = recordBytes(t);
    ASSERT_TRUE(tbBeginSession(t));
    t = tbCommitSession(nullptr);
    EXPECT_EQ(before, recordBytes(t));

    // Two cells naming the same text: the texts no longer add up to the
    // store. The report is shown and the object keeps what it had.
    qmtest::BoxRecorder boxes;
    ASSERT_TRUE(tbBeginSession(t));
    tbSessCell(2, 2)->textOffset = 0;
    tbSessUnlockCells();
    MemHandle now = tbCommitSession(nullptr);
    EXPECT_EQ(t, now);
    EXPECT_EQ(before, recordBytes(t));
    EXPECT_EQ("Table label data length does not match", boxes.texts());
    utFreeHandle(t);
}

TEST(TableSession, NamesAndRangesGrowOverJoinedCells)
{
    struct { int column; const char *name; } names[] = {{0, "A"}, {25, "Z"}, {26, "AA"}, {27, "AB"}};
    for (auto &n : names) {
        char b[16];
        tbColumnName(b, n.column);
        EXPECT_STREQ(n.name, b);
    }
    SessionEnd end;
    MemHandle wide = makeTable(28, 3, RECT{0, 0, 28 * 300, 900});
    ASSERT_TRUE(tbBeginSession(wide));
    char name[32];
    tbSelectionName(name, sizeof name);
    EXPECT_STREQ(" -- ", name);
    TableCell a = at(0, 0), b = at(27, 2);
    tbSetSelection(&a, &a);
    tbSelectionName(name, sizeof name);
    EXPECT_STREQ("A1", name);
    tbSetSelection(&a, &b);
    tbSelectionName(name, sizeof name);
    EXPECT_STREQ("A1 - AB3", name);
    EXPECT_EQ(TB_SEL_ALL_ROWS | TB_SEL_ALL_COLUMNS | TB_SEL_MULTI, tbSelectionKind());
    tbEndSession();
    utFreeHandle(wide);

    MemHandle t = makeTable(5, 5, RECT{0, 0, 5000, 1500});
    ASSERT_TRUE(tbBeginSession(t));
    join(1, 0, 2, 2);   // B1:C2
    join(2, 2, 2, 2);   // C3:D4
    // A corner inside the first range grows the rectangle onto the second's
    // anchor, which grows it again.
    TableCell p = at(0, 1), q = at(1, 2);
    int c0, r0, c1, r1;
    tbNormaliseRange(&p, &q, &c0, &r0, &c1, &r1);
    EXPECT_EQ(0, c0);
    EXPECT_EQ(0, r0);
    EXPECT_EQ(3, c1);
    EXPECT_EQ(3, r1);
    // One covered cell selects its whole range, as a single cell.
    TableCell covered = at(2, 1);
    int kind = tbSetSelection(&covered, &covered);
    EXPECT_TRUE(kind & TB_SEL_SINGLE);
    EXPECT_FALSE(kind & TB_SEL_MULTI);
    ASSERT_TRUE(tbSelectionRange(&c0, &r0, &c1, &r1));
    EXPECT_EQ(1, c0);
    EXPECT_EQ(0, r0);
    EXPECT_EQ(2, c1);
    EXPECT_EQ(1, r1);
    // Range measures over the whole table.
    EXPECT_EQ(25u * 90, tbRangeCellBytes(nullptr, nullptr));
    tbEndSession();
    utFreeHandle(t);
}

TEST(TableSession, PastedTablesAreRenumbered)
{
    MemHandle t = makeTable(3, 2, RECT{0, 0, 3000, 600});
    {
        // As pasted from elsewhere: positions of another table, one range.
        ObLock r(t);
        TbParts p;
        ASSERT_TRUE(tbLocate(r.get(), r.extent(), &p));
        for (int i = 0; i < 6; ++i) {
            p.cells[i].column = (uint8_t)(i % 3 + 4);
            p.cells[i].row = (uint8_t)(i / 3 + 7);
        }
        p.cells[1].colSpan = 2;
        p.cells[1].rowSpan = 2;
        p.cells[1].border = 0x0302;
    }
    t = tbNormaliseCovering(nullptr, t);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            TableCell cell;
            ASSERT_TRUE(tbGetCell(t, c, r, &cell));
            bool covered = c >= 1 && !(c == 1 && r == 0);
            SCOPED_TRACE(c * 10 + r);
            EXPECT_EQ(covered ? 1 : c, cell.column);
            EXPECT_EQ(covered ? 0 : r, cell.row);
            EXPECT_EQ(covered ? kTbCovered : kTbNoText, cell.textOffset);
            if (covered) {
                EXPECT_EQ(0x0302, cell.border);
            }
        }
    utFreeHandle(t);
}

TEST(TableGeometry, ClampSizesTable)
{
    struct Case { int32_t limit; uint32_t expect[3]; int result; } cases[] = {
        {350, {100, 100, 150}, 1},   // short: the last one stretched
        {300, {100, 100, 100}, 1},
        {250, {100, 100, 50}, 0},    // the one passing the edge is cut
        {150, {100, 50, 0}, 0},      // and every later one becomes 0
    };
    for (auto &c : cases) {
        uint32_t v[3] = {100, 100, 100};
        EXPECT_EQ(c.result, tbClampSizes(0, c.limit, v, 3)) << c.limit;
        EXPECT_EQ(0, memcmp(v, c.expect, sizeof v)) << c.limit;
    }
}

TEST(TableGeometry, RescaleDoublesWidthsAndFitsTheEdges)
{
    MemHandle t = makeTable(4, 2, RECT{1000, 1000, 5000, 1600});
    {
        ObLock r(t);
        reinterpret_cast<TableHead *>(obRecData(r.get()))->cornerSize = 0x00C800C8;
    }
    RECT twice = {1000, 1000, 9000, 1600};
    t = tbRescale(t, &twice);
    {
        ObLock r(t);
        TbParts p;
        ASSERT_TRUE(tbLocate(r.get(), r.extent(), &p));
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(2000u, p.widths[c]);
        EXPECT_EQ(2000u, p.head->defaultWidth);
        EXPECT_EQ(0u, p.head->cornerSize) << "a rectangular frame keeps no corner";
        RECT box;
        obRecGetRect(r.get(), &box);
        EXPECT_TRUE(EqualRect(&box, &twice));
    }
    // Through the object rescale, to a width the columns do not divide:
    // the rounded widths still end exactly at the new edge.
    t = objScale(t, 9001.0 / 8000.0, 1.0, 1000, 1000, 1000, 1000);
    {
        ObLock r(t);
        TbParts p;
        ASSERT_TRUE(tbLocate(r.get(), r.extent(), &p));
        uint32_t sum = 0;
        for (int c = 0; c < 4; ++c)
            sum += p.widths[c];
        RECT box;
        obRecGetRect(r.get(), &box);
        EXPECT_EQ((uint32_t)(box.right - box.left), sum);
        EXPECT_NEAR(9001, sum, 1);
    }
    // A rounded frame scales its corner.
    {
        ObLock r(t);
        TableHead *h = reinterpret_cast<TableHead *>(obRecData(r.get()));
        h->frameStyle = 0x0103;
        h->cornerSize = (300u << 16) | 200u;
    }
    RECT box;
    obGetRect(t, &box);
    RECT taller = {box.left, box.top, box.right, box.top + 2 * (box.bottom - box.top)};
    t = tbRescale(t, &taller);
    TableHead h;
    {
        ObLock r(t);
        memcpy(&h, obRecData(r.get()), sizeof h);
    }
    EXPECT_EQ(200u, h.cornerSize & 0xFFFF);
    EXPECT_EQ(600u, h.cornerSize >> 16);
    utFreeHandle(t);

    // A joined range at the right edge stays inside the table.
    MemHandle j = makeTable(3, 1, RECT{0, 0, 3000, 300});
    TableCell cell;
    ASSERT_TRUE(tbGetCell(j, 2, 0, &cell));
    cell.colSpan = 3;
    cell.rowSpan = 1;
    tbPutCell(j, 2, 0, &cell);
    RECT rc;
    ASSERT_TRUE(tbObjCellRect(j, 2, 0, &rc));
    EXPECT_EQ(2000, rc.left);
    EXPECT_EQ(3000, rc.right);
    utFreeHandle(j);
}

// ---- drawing -----------------------------------------------------------------------------------

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);

// 3 x 3 cells of 600 x 450 twips (40 x 30 pixels at 15 twips a pixel) from
// pixel (10, 10).
const RECT kBox = {150, 150, 150 + 1800, 150 + 1350};

struct Drawn {
    Drawn() : dib(160, 110) { dmSetZoomDC(dib.dc(), 100); }
    void draw(MemHandle t)
    {
        ObLock r(t);
        objDraw(dib.dc(), r.get());
    }
    // The middle of a cell, in pixels.
    COLORREF middle(int c, int r) const { return dib.pixel(10 + 40 * c + 20, 10 + 30 * r + 15); }
    qmtest::Dib dib;
};

void setCellBack(MemHandle t, int c, int r, COLORREF colour)
{
    TableCell cell;
    ASSERT_TRUE(tbGetCell(t, c, r, &cell));
    cell.backColour = colour;
    tbPutCell(t, c, r, &cell);
}

}  // namespace

TEST(TableDraw, FillKindZeroPaintsNoBackgroundsButBordersAndTexts)
{
    for (uint8_t fill : {0, 1}) {
        SCOPED_TRACE(fill);
        MemHandle t = makeTable(3, 3, kBox, fill);
        const char *texts[] = {"WWW"};
        t = qmtest::setTableTexts(t, texts, 1);
        setCellBack(t, 1, 1, kRed);
        t = tbSetAltRow(t, TRUE, kGreen, 2);
        Drawn d;
        d.draw(t);
        EXPECT_EQ(fill ? kRed : kWhite, d.middle(1, 1));
        EXPECT_EQ(fill ? kGreen : kWhite, d.middle(0, 2)) << "alternate row 2";
        EXPECT_GT(d.dib.countDark(RECT{10, 10, 50, 40}), 0) << "text of A1";
        // The divider between columns 0 and 1 (right border, x = 50 px).
        EXPECT_GT(d.dib.countDark(RECT{49, 44, 52, 66}), 0);
        utFreeHandle(t);
    }
}

TEST(TableDraw, AlternateRowsShowThroughCellsOfTheObjectBackground)
{
    MemHandle t = makeTable(3, 3, kBox);
    t = tbSetAltRow(t, TRUE, kGreen, 0);
    setCellBack(t, 1, 2, kRed);
    Drawn d;
    d.draw(t);
    EXPECT_EQ(kGreen, d.middle(0, 0)) << "rows first, first + 2";
    EXPECT_EQ(kWhite, d.middle(0, 1));
    EXPECT_EQ(kGreen, d.middle(0, 2));
    EXPECT_EQ(kRed, d.middle(1, 2)) << "a cell of its own colour covers the band";
    utFreeHandle(t);
}

TEST(TableDraw, AJoinedRangeIsPaintedOnceOverItsWholeRectangle)
{
    MemHandle t = makeTable(3, 3, kBox);
    ASSERT_TRUE(tbBeginSession(t));
    join(0, 0, 2, 1);
    tbSessCell(0, 0)->backColour = kRed;
    tbSessUnlockCells();
    t = tbCommitSession(nullptr);
    Drawn d;
    d.draw(t);
    EXPECT_EQ(kRed, d.middle(0, 0));
    EXPECT_EQ(kRed, d.middle(1, 0));
    EXPECT_EQ(kRed, d.dib.pixel(50, 25)) << "no divider inside the range";
    EXPECT_GT(d.dib.countDark(RECT{49, 44, 52, 66}), 0) << "the divider below it";
    utFreeHandle(t);
}

TEST(TableDraw, AVerticalTablesHeaderColumnLineLiesBeforeTheLastColumn)
{
    for (bool vertical : {false, true}) {
        SCOPED_TRACE(vertical);
        MemHandle t = makeTable(3, 3, kBox);
        {
            ObLock r(t);
            TableHead *h = reinterpret_cast<TableHead *>(obRecData(r.get()));
            h->frameStyle = 0;       // no frame
            h->borderWord = 0;       // and no cell borders: the header line alone
            h->headerRow = 0;
            TbParts p;
            ASSERT_TRUE(tbLocate(r.get(), r.extent(), &p));
            for (int i = 0; i < 9; ++i)
                p.cells[i].border = 0;
            if (vertical) {
                h->rowMajor = 0;
                h->flags |= kTbVerticalFlag;
                lstrcpyA(h->font.lfFaceName, "@Liberation Sans");
                h->font.lfEscapement = h->font.lfOrientation = 2700;
            }
        }
        ASSERT_EQ(vertical, tbIsVerticalObject(t) != FALSE);
        Drawn d;
        d.draw(t);
        int after0 = d.dib.countDark(RECT{48, 12, 53, 98});
        int beforeLast = d.dib.countDark(RECT{88, 12, 93, 98});
        if (vertical) {
            EXPECT_EQ(0, after0);
            EXPECT_GT(beforeLast, 30);
        } else {
            EXPECT_GT(after0, 30);
            EXPECT_EQ(0, beforeLast);
        }
        utFreeHandle(t);
    }
}

TEST(TableDraw, DamagedTablesDrawNothing)
{
    MemHandle t = makeTable(3, 3, kBox);
    {
        ObLock r(t);
        reinterpret_cast<TableHead *>(obRecData(r.get()))->cellBytes = 5;
    }
    Drawn d;
    d.draw(t);
    EXPECT_EQ(0, d.dib.countDark());
    EXPECT_EQ(d.dib.width() * d.dib.height(), d.dib.count(kWhite));
    utFreeHandle(t);
}
