// Field frames: the measures of a frame-style word, the text area inside a
// frame, and frames, cells, shadows and bevels on real pixels.
#include "tests/forms/fld_kit.h"
#include "objects/fld_frame.h"

using namespace fldtest;

namespace {

class Frames : public FormTest {};

const COLORREF kColours[3] = {kBlack, kBlue, kFace};

TEST_F(Frames, BorderHalfWidthByFrameKindAndLineKind)
{
    struct Case {
        uint16_t style;
        int32_t half;
    } cases[] = {
        {0x0000, 0},  {0x0001, 5},  {0x0101, 15}, {0x0201, 20}, {0x0301, 40},
        {0x0401, 0},  {0x0501, 0},  {0x0601, 0},  {0x0701, 0},  {0x0300, 0},
        {0x0305, 40}, {0x030C, 40}, {0x1301, 5},  {0x0204, 20},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.half, fldFrameBorderHalfWidth(c.style)) << std::hex << c.style;
    EXPECT_EQ(40, fldDoubleLineInset(0x0301));
    EXPECT_EQ(0, fldDoubleLineInset(0x1301)) << "only a high byte of exactly 3 is double";
    EXPECT_EQ(0, fldDoubleLineInset(0x0201));
    EXPECT_EQ(40, fldBevelWidth());
}

TEST_F(Frames, CornerSizeIsTheValueOrASixthOfTheShorterSide)
{
    RECT r = {0, 0, 1440, 720};
    int32_t w, h;
    fldFrameCornerSize(&r, 0, &w, &h);
    EXPECT_EQ(120, w);
    EXPECT_EQ(120, h);
    fldFrameCornerSize(&r, 0x00C80064, &w, &h);
    EXPECT_EQ(100, w);
    EXPECT_EQ(200, h);
    RECT odd = {100, 100, 113, 900};
    fldFrameCornerSize(&odd, 0, &w, &h);
    EXPECT_EQ(2, w) << "integer division";
}

TEST_F(Frames, TextAreaInsideTheFrame)
{
    struct Case {
        const char *what;
        RECT rect;
        uint16_t style;
        uint32_t value;
        uint32_t flags;
        RECT expected;
    } cases[] = {
        {"rectangle", {0, 0, 1440, 720}, 0x0001, 0, 0, {80, 80, 1360, 640}},
        {"no frame", {0, 0, 1440, 720}, 0x0000, 0, 0, {80, 80, 1360, 640}},
        {"double line keeps 80", {0, 0, 1440, 720}, 0x0301, 0, 0, {80, 80, 1360, 640}},
        {"dashes keep 80", {0, 0, 1440, 720}, 0x0401, 0, 0, {80, 80, 1360, 640}},
        {"ellipse: a quarter", {0, 0, 1440, 720}, 0x0004, 0, 0, {360, 180, 1080, 540}},
        {"small ellipse below 80", {0, 0, 200, 160}, 0x0004, 0, 0, {50, 40, 150, 120}},
        {"small ellipse, double line", {0, 0, 200, 160}, 0x030D, 0, 0, {50, 40, 150, 120}},
        {"tiny ellipse, double line", {0, 0, 100, 100}, 0x0304, 0, 0, {40, 40, 60, 60}},
        {"rounded, large corners", {0, 0, 2000, 1000}, 0x0003, 0x02000400, 0,
         {256, 128, 1744, 872}},
        {"rounded, small corners", {0, 0, 2000, 1000}, 0x0003, 0x00400040, 0,
         {80, 80, 1920, 920}},
        {"cells: top and bottom only", {0, 0, 1440, 720}, 0x0009, 0x00050120, 0,
         {0, 80, 1440, 640}},
        {"drop button", {0, 0, 1440, 720}, 0x0001, 0, kFldFrameDropButton,
         {80, 80, 1440 - 270 - 80, 640}},
        {"narrow drop-down keeps its right edge", {0, 0, 200, 720}, 0x0001, 0,
         kFldFrameDropButton, {80, 80, 120, 640}},
    };
    for (const Case &c : cases) {
        RECT r = c.rect;
        fldFrameInnerRectEx(&r, c.style, c.value, c.flags);
        EXPECT_TRUE(geoRectsEqual(&c.expected, &r))
            << c.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
    RECT plain = {0, 0, 1440, 720}, ex = plain;
    fldFrameInnerRect(&plain, 0x0001, 0);
    fldFrameInnerRectEx(&ex, 0x0001, 0, 0);
    EXPECT_TRUE(geoRectsEqual(&plain, &ex));
}

// Five cells of 300 twips (20 pixels) from x = 10 pixels.
const RECT kCells = {px(10), px(10), px(10) + 1500, px(50)};
const uint32_t kFiveCells = (5u << 16) | 300;

TEST_F(Frames, BoxedCellsDrawTheRectangleAndFourDividers)
{
    Page page(200, 70);
    fldDrawFrameBorder(page.dc(), &kCells, 0x0008, kFiveCells, kColours);
    std::vector<int> runs = page.runsInRow(kBlack, 30, 0, 200);
    EXPECT_EQ((std::vector<int>{10, 30, 50, 70, 90, 110}), runs)
        << "left and right edges and the dividers at 300, 600, 900, 1200";
    EXPECT_EQ(kBlack, page.pixel(20, 10)) << "top edge";
    EXPECT_EQ(kBlack, page.pixel(20, 50)) << "bottom edge";
    fldFillFrame(page.dc(), &kCells, 0x0008, kFiveCells, kRed);
    fldDrawFrameShadow(page.dc(), &kCells, 0x0008, kFiveCells);
    EXPECT_EQ(0, page.count(kRed)) << "boxed cells are not filled";
    EXPECT_EQ(0, page.count(kGrey)) << "nor shadowed";
}

TEST_F(Frames, TickCellsDrawTheBottomEdgeAndTicksOfTheirHeight)
{
    struct Case {
        uint16_t kind;
        int firstTickRow;   // the highest row a tick reaches
    } cases[] = {{9, 10}, {10, 30}, {11, 40}};
    for (const Case &c : cases) {
        Page page(200, 70);
        fldDrawFrameBorder(page.dc(), &kCells, c.kind, kFiveCells, kColours);
        EXPECT_EQ((std::vector<int>{10, 30, 50, 70, 90, 110}),
                  page.runsInRow(kBlack, 48, 0, 200))
            << "six ticks, kind " << c.kind;
        EXPECT_EQ(6u, page.runsInRow(kBlack, c.firstTickRow + 1, 0, 200).size()) << c.kind;
        EXPECT_EQ(0u, page.runsInRow(kBlack, c.firstTickRow - 2, 0, 200).size()) << c.kind;
        EXPECT_EQ(kBlack, page.pixel(60, 50)) << "bottom edge";
        EXPECT_EQ(kWhite, page.pixel(20, 10)) << "no top edge";
    }
}

TEST_F(Frames, TicksAreNotClippedToTheRightEdge)
{
    Page page(250, 70);
    fldDrawFrameBorder(page.dc(), &kCells, 9, (8u << 16) | 300, kColours);
    std::vector<int> runs = page.runsInRow(kBlack, 40, 0, 250);
    ASSERT_EQ(9u, runs.size());
    EXPECT_EQ(170, runs.back()) << "the ninth tick lies beyond the 1500-twip rectangle";
}

TEST_F(Frames, NoFrameIsFilledAndShadowedButHasNoBorder)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 70, 70);
    fldDrawFrameBorder(page.dc(), &r, 0x0000, 0, kColours);
    EXPECT_EQ(page.width() * page.height(), page.count(kWhite)) << "no border";
    fldDrawFrameShadow(page.dc(), &r, 0x0000, 0);
    fldFillFrame(page.dc(), &r, 0x0000, 0, kRed);
    EXPECT_EQ(kRed, page.pixel(40, 40));
    EXPECT_EQ(kRed, page.pixel(11, 11)) << "a rectangle, corners filled";
    // The default shadow: 100 twips (6.7 pixels) right and down, grey.
    EXPECT_EQ(kGrey, page.pixel(74, 74));
    EXPECT_EQ(kWhite, page.pixel(74, 12)) << "shadow starts 100 twips down";
    EXPECT_EQ(0, page.count(kBlack));
}

TEST_F(Frames, ShadowFollowsTheInstalledShadowStyle)
{
    ShadowStyle style = {-150, 0, kGreen};   // 10 pixels to the left, green
    ShadowStyle old = obSetShadowStyle(&style);
    Page page(120, 120);
    RECT r = pxRect(30, 30, 90, 90);
    fldDrawFrameShadow(page.dc(), &r, 0x0001, 0);
    obSetShadowStyle(&old);
    EXPECT_EQ(kGreen, page.pixel(22, 60));
    EXPECT_EQ(kWhite, page.pixel(60, 92)) << "not moved down";
    EXPECT_EQ(kWhite, page.pixel(85, 60)) << "moved left by its full width";
}

TEST_F(Frames, FillAndShadowFollowTheShapeOfTheKind)
{
    struct Case {
        uint16_t kind;
        bool corner;   // the rectangle's corner is part of the shape
        bool filled;
        bool shadow;
    } cases[] = {{1, true, true, true},    {2, true, true, true},   {3, false, true, true},
                 {4, false, true, true},   {5, true, true, true},   {6, true, true, true},
                 {7, false, false, false}, {12, false, false, false}, {13, false, true, true},
                 {9, true, true, true},    {99, false, false, false}};
    for (const Case &c : cases) {
        Page page(120, 120);
        RECT r = pxRect(10, 10, 90, 70);
        fldDrawFrameShadow(page.dc(), &r, c.kind, 0);
        fldFillFrame(page.dc(), &r, c.kind, 0, kRed);
        EXPECT_EQ(c.filled ? kRed : kWhite, page.pixel(50, 40)) << c.kind;
        EXPECT_EQ(c.corner ? kRed : kWhite, page.pixel(11, 11)) << c.kind;
        EXPECT_EQ(c.shadow ? kGrey : kWhite, page.pixel(56, 74)) << c.kind;
    }
}

TEST_F(Frames, ArrowKindsFillTheArrowOutlineWithoutShadowOrBorder)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 110, 90);
    fldDrawFrameShadow(page.dc(), &r, 32, 0);
    fldDrawFrameBorder(page.dc(), &r, 32, 0, kColours);
    EXPECT_EQ(page.width() * page.height(), page.count(kWhite));
    fldFillFrame(page.dc(), &r, 32, 0, kRed);
    EXPECT_EQ(kRed, page.pixel(100, 50)) << "near the tip at the right";
    EXPECT_EQ(kWhite, page.pixel(105, 15)) << "beside the head";
    EXPECT_EQ(kRed, page.pixel(20, 50)) << "the shaft";
    EXPECT_EQ(kWhite, page.pixel(20, 15)) << "above the shaft";
    // Kind 35: the down-pointing arrow.
    Page down(120, 120);
    fldFillFrame(down.dc(), &r, 35, 0, kRed);
    EXPECT_EQ(kRed, down.pixel(60, 85)) << "near the tip at the bottom";
    EXPECT_EQ(kWhite, down.pixel(15, 20)) << "beside the shaft";
}

TEST_F(Frames, RaisedBevelIsLightTopLeftAndDarkBottomRight)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 110, 110);
    fldDrawRectBevel(page.dc(), &r, 40, 40, kColours, FLD_FRAME_RAISED);
    EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), page.pixel(12, 60)) << "left band";
    EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), page.pixel(60, 12)) << "top band";
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), page.pixel(108, 60)) << "right band";
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), page.pixel(60, 108)) << "bottom band";
    EXPECT_EQ(kFace, page.pixel(60, 60)) << "the face";
    EXPECT_EQ(kBlack, page.pixel(10, 60)) << "outline in the pen colour";
    EXPECT_EQ(kBlack, page.pixel(60, 110));
}

TEST_F(Frames, SunkenBevelIsDarkTopLeftWithoutAnOutline)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 110, 110);
    fldDrawRectBevel(page.dc(), &r, 40, 40, kColours, FLD_FRAME_SUNKEN);
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), page.pixel(12, 60));
    EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), page.pixel(108, 60));
    EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), page.pixel(60, 108));
    EXPECT_EQ(kFace, page.pixel(60, 60));
    EXPECT_EQ(0, page.count(kBlack)) << "no outline in the pen colour";
    // The inner shading lines: lighten(darken) at the left, darken(lighten)
    // at the right.
    EXPECT_EQ(RGB(0xE0, 0xE0, 0xE0), page.pixel(10, 60));
    EXPECT_EQ(RGB(0xA0, 0xA0, 0xA0), page.pixel(110, 60));
}

TEST_F(Frames, BorderOfRaisedAndSunkenKindsIsTheBevelWhateverTheLineKind)
{
    for (uint16_t style : {0x0005, 0x0205, 0x0305}) {
        Page page(120, 120);
        RECT r = pxRect(10, 10, 110, 110);
        fldDrawFrameBorder(page.dc(), &r, style, 0, kColours);
        EXPECT_EQ(RGB(0xF0, 0xF0, 0xF0), page.pixel(12, 60)) << std::hex << style;
        EXPECT_EQ(kWhite, page.pixel(60, 60)) << "the border leaves the face to the fill";
    }
}

TEST_F(Frames, DoubleLineDrawsASecondRectangleInside)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 110, 110);
    fldDrawFrameBorder(page.dc(), &r, 0x0301, 0, kColours);
    std::vector<int> runs = page.runsInRow(kBlack, 60, 0, 120);
    ASSERT_EQ(4u, runs.size());
    EXPECT_EQ(10, runs[0]);
    EXPECT_EQ(13, runs[1]) << "40 twips (2.7 pixels) inside";
    Page single(120, 120);
    fldDrawFrameBorder(single.dc(), &r, 0x0001, 0, kColours);
    EXPECT_EQ(2u, single.runsInRow(kBlack, 60, 0, 120).size());
}

TEST_F(Frames, SidesKindDrawsOnlyTheVerticalSides)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 110, 110);
    fldDrawFrameBorder(page.dc(), &r, 0x000C, 0, kColours);
    EXPECT_EQ((std::vector<int>{10, 110}), page.runsInRow(kBlack, 60, 0, 120));
    EXPECT_EQ(kWhite, page.pixel(60, 10)) << "no top";
}

TEST_F(Frames, RotatedBorderTurnsShapesButNotBevelsOrCells)
{
    RECT r = pxRect(20, 50, 120, 90);   // 100 x 40 pixels, centre (70, 70)
    {
        Page page(140, 140);
        fldDrawFrameBorderRotated(page.dc(), &r, 900, 0x0001, 0, kColours);
        EXPECT_EQ(kWhite, page.pixel(30, 50)) << "the unturned top edge is not drawn";
        EXPECT_GT(page.in(kBlack, 45, 15, 56, 125), 0) << "the turned left side";
        EXPECT_GT(page.in(kBlack, 60, 18, 81, 23), 0) << "the turned top";
    }
    for (uint16_t kind : {5, 6, 8, 9}) {
        Page turned(140, 140), flat(140, 140);
        fldDrawFrameBorderRotated(turned.dc(), &r, 450, kind, kFiveCells, kColours);
        fldDrawFrameBorder(flat.dc(), &r, kind, kFiveCells, kColours);
        EXPECT_EQ(0, turned.diff(flat)) << "kind " << kind << " is drawn unturned";
    }
    Page zero(140, 140), flat(140, 140);
    fldDrawFrameBorderRotated(zero.dc(), &r, 0, 0x0004, 0, kColours);
    fldDrawFrameBorder(flat.dc(), &r, 0x0004, 0, kColours);
    EXPECT_EQ(0, zero.diff(flat)) << "angle 0 draws as the border";
}

TEST_F(Frames, RoundAndEllipticBevelsShowTheDarkBackAndTheFace)
{
    Page page(120, 120);
    RECT r = pxRect(10, 10, 110, 110);
    fldDrawRoundBevel(page.dc(), &r, 0, 40, 40, kColours);
    EXPECT_EQ(kFace, page.pixel(60, 60));
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), page.pixel(109, 60)) << "the dark back at the right";
    EXPECT_EQ(kWhite, page.pixel(11, 11)) << "rounded corner";
    Page ell(120, 120);
    fldDrawEllipseBevel(ell.dc(), &r, 40, 40, kColours);
    EXPECT_EQ(kFace, ell.pixel(58, 58));
    EXPECT_EQ(RGB(0x80, 0x80, 0x80), ell.pixel(60, 109));
    EXPECT_EQ(kWhite, ell.pixel(15, 15));
}

}  // namespace
