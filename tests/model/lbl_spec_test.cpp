// The label grid of a label-sheet layout.
#include "tests/support/kit.h"
#include "model/lbl_spec.h"
#include "support/ut_units.h"

namespace {

LabelSpec mailing()
{
    LabelSpec spec = {};
    spec.length = sizeof(spec);
    spec.unit = UT_UNIT_INCH;
    spec.marginX = 0.1875;
    spec.marginY = 0.5;
    spec.labelWidth = 2.625;
    spec.labelHeight = 1;
    spec.pitchX = 2.75;
    spec.pitchY = 1;
    spec.columns = 3;
    spec.rows = 10;
    return spec;
}

TEST(LabelGrid, SpecificationInTwips)
{
    LabelSpec spec = mailing();
    LabelLayout grid;
    lblSpecToUnits(&spec, &grid);
    const int32_t expected[8] = {270, 720, 3780, 1440, 3960, 1440, 3, 10};
    const int32_t got[8] = {grid.marginX, grid.marginY, grid.labelWidth, grid.labelHeight,
                            grid.pitchX,  grid.pitchY,  grid.columns,    grid.rows};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(expected[i], got[i]) << i;

    // Centimetres go through inches; the twips are truncated.
    spec.unit = UT_UNIT_CM;
    spec.marginX = 1;
    lblSpecToUnits(&spec, &grid);
    EXPECT_EQ(566, grid.marginX);
}

TEST(LabelGrid, CellRectangles)
{
    LabelSpec spec = mailing();
    LabelLayout grid;
    lblSpecToUnits(&spec, &grid);
    RECT cell;
    ASSERT_EQ(1, lblCellRect(&grid, 2, 9, &cell));
    EXPECT_EQ(270 + 2 * 3960, cell.left);
    EXPECT_EQ(cell.left + 3780, cell.right);
    EXPECT_EQ(720 + 9 * 1440, cell.top);
    EXPECT_EQ(cell.top + 1440, cell.bottom);
    EXPECT_EQ(0, lblCellRect(&grid, 3, 0, &cell));
    EXPECT_EQ(0, lblCellRect(&grid, 0, 10, &cell));
    EXPECT_EQ(0, lblCellRect(&grid, -1, 0, &cell));
}

}  // namespace
