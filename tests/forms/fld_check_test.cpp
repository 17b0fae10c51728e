// Check boxes, radio buttons and group boxes: record size with labels and
// attributes, the natural size, box and label geometry, and drawing on
// real pixels through the object dispatch.
#include "tests/forms/fld_kit.h"
#include "forms/ctl_label.h"
#include "objects/fld_frame.h"
#include "forms/sh_groupbox.h"
#include "model/ob_transform.h"

using namespace fldtest;

namespace {

class Controls : public FormTest {};

// The colour at (x, y) or one of its eight neighbours: thin lines land on
// either side of a rounded coordinate.
bool inkNear(const Page &page, COLORREF c, int x, int y)
{
    return page.in(c, x - 1, y - 1, x + 2, y + 2) > 0;
}

uint32_t lengthOf(MemHandle h) { return ObLock(h)->length; }

ControlPart partOf(MemHandle h)
{
    ObLock r(h);
    ControlPart p;
    memcpy(&p, obRecData(r.get()), sizeof p);
    return p;
}

void setPart(MemHandle h, uint16_t flags, int16_t mark)
{
    ObLock r(h);
    ControlPart *p = reinterpret_cast<ControlPart *>(obRecData(r.get()));
    p->flags = flags;
    p->markStyle = mark;
}

// A command-pair block: u32 size, u16 kind 207, the two lengths, 8 zero
// bytes, then the texts.
MemHandle commandPair(const char *on, const char *off)
{
    uint16_t n1 = (uint16_t)strlen(on), n2 = (uint16_t)strlen(off);
    uint32_t size = 18u + n1 + n2;
    MemHandle b = utAllocHandle(0, size);
    MemLock<uint8_t> p(b);
    uint16_t kind = 207;
    memcpy(p.get(), &size, 4);
    memcpy(p.get() + 4, &kind, 2);
    memcpy(p.get() + 6, &n1, 2);
    memcpy(p.get() + 8, &n2, 2);
    memcpy(p.get() + 18, on, n1);
    memcpy(p.get() + 18 + n1, off, n2);
    return b;
}

TEST_F(Controls, EmptyRecordIs166AndGrowsByLabelAndAttributesExactly)
{
    EXPECT_EQ(166u, ckbEmptyRecordSize());
    MemHandle h = control(OBT_CHECKBOX, pxRect(0, 0, 100, 20));
    EXPECT_EQ(166u, ckbRecordSizeOf(h));
    EXPECT_EQ(166u, obCalcSize(h, 0)) << "through the size dispatch";
    h = obSetName(h, "Agree");
    const uint32_t name = 6;
    EXPECT_EQ(166u + name, obCalcSize(h, 0));

    h = ctlSetLabelText(h, "0123456789");
    ASSERT_TRUE(h);
    EXPECT_EQ(166u + name + 11, lengthOf(h));
    MemHandle pair = commandPair("beep", "stop");
    h = ckbSetCommandAttr(h, pair);
    ASSERT_TRUE(h);
    const uint32_t attr = 6 + 26;   // record head and the 26-byte block
    EXPECT_EQ(166u + name + 11 + attr, lengthOf(h));
    EXPECT_EQ(attr, partOf(h).attrBytes);
    EXPECT_EQ(kCkbCommandTag, partOf(h).tagMask);

    // Editing the label keeps the attribute behind it.
    h = ctlSetLabelText(h, "Yes");
    EXPECT_EQ(166u + name + 4 + attr, lengthOf(h));
    EXPECT_EQ(166u + name + 4 + attr, obCalcSize(h, 0));
    MemHandle back = ckbGetCommandAttr(h);
    ASSERT_TRUE(back);
    EXPECT_EQ(0, memcmp(MemLock<uint8_t>(back).get(), MemLock<uint8_t>(pair).get(), 26));
    utFreeHandle(back);
    MemHandle label = fldCheckGetLabel(h);
    EXPECT_STREQ("Yes", MemLock<char>(label).get());
    utFreeHandle(label);

    // Removing the attribute and the label brings it back to the empty size.
    h = ckbSetCommandAttr(h, 0);
    EXPECT_EQ(0u, partOf(h).tagMask);
    EXPECT_EQ(0, ckbGetCommandAttr(h));
    h = ctlSetLabelText(h, "");
    EXPECT_EQ(166u + name, lengthOf(h));
    EXPECT_EQ(0, fldCheckGetLabel(h));
    utFreeHandle(pair);
    obFreeTree(h);
}

TEST_F(Controls, AttributesSurviveARecordThatMovesWhenItGrows)
{
    utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
    MemHandle h = control(OBT_CHECKBOX, pxRect(0, 0, 100, 20));
    h = ctlSetLabelText(h, "Moved");
    ASSERT_TRUE(h);
    const char data[] = "abc";
    h = ckbSetAttr(h, 0x800, data, 4);
    ASSERT_TRUE(h);
    MemHandle copy = ckbGetAttrCopy(h, 0x800);
    EXPECT_STREQ("abc", MemLock<char>(copy).get());
    utFreeHandle(copy);
    EXPECT_EQ(0, ckbGetAttrCopy(h, 0x400)) << "a tag not in the mask";
    utSetDebugMode(0);
    obFreeTree(h);
}

TEST_F(Controls, CheckedFlag)
{
    MemHandle h = control(OBT_CHECKBOX, pxRect(0, 0, 100, 20));
    EXPECT_EQ(0, ckbIsChecked(h));
    ckbSetChecked(h, TRUE);
    EXPECT_EQ(1, ckbIsChecked(h));
    EXPECT_EQ(CKB_CHECKED, partOf(h).flags);
    ckbSetChecked(h, FALSE);
    EXPECT_EQ(0, ckbIsChecked(h));
    EXPECT_EQ(0, ckbIsChecked(0));
    obFreeTree(h);
}

TEST_F(Controls, BoxSizeFromTheFontHeight)
{
    struct Case {
        int32_t height, size;
    } cases[] = {{-240, 288}, {240, 288}, {-100, 120}, {-7, 8}, {0, 0}, {-4, 4}};
    for (const Case &c : cases)
        EXPECT_EQ(c.size, fldBoxSizeFromFont(c.height)) << c.height;
}

TEST_F(Controls, BoxAndLabelGeometry)
{
    ControlPart part = {};
    part.font.lfHeight = -240;
    struct Case {
        const char *what;
        uint16_t flags;
        RECT box, label;
    } cases[] = {
        {"box at the left", 0, {10, 195, 220, 405}, {370, 180, 2000, 420}},
        {"3-D: at most 200", CKB_3D, {10, 200, 210, 400}, {310, 180, 2000, 420}},
        {"label at the left", CKB_LABEL_LEFT, {1770, 195, 1980, 405}, {0, 180, 1630, 420}},
        {"3-D, label at the left", CKB_3D | CKB_LABEL_LEFT, {1780, 200, 1980, 400},
         {0, 180, 1690, 420}},
    };
    for (const Case &c : cases) {
        part.flags = c.flags;
        RECT box = {0, 0, 2000, 600}, label = box;
        ckbBoxRect(&part, &box, 20);
        ckbLabelRect(&part, &label, 20);
        EXPECT_TRUE(geoRectsEqual(&c.box, &box))
            << c.what << " box " << box.left << "," << box.top << "," << box.right << ","
            << box.bottom;
        EXPECT_TRUE(geoRectsEqual(&c.label, &label))
            << c.what << " label " << label.left << "," << label.top << "," << label.right
            << "," << label.bottom;
    }
    part.flags = 0;
    RECT narrow = {0, 0, 300, 600};
    ckbLabelRect(&part, &narrow, 20);
    EXPECT_EQ(335, narrow.left) << "a label with no room collapses to the midpoint";
    EXPECT_EQ(335, narrow.right);
}

TEST_F(Controls, NaturalRectangleOfBoxAndLabel)
{
    MemHandle h = control(OBT_CHECKBOX, RECT{1000, 2000, 1100, 2100});
    RECT r;
    fldCheckMinRect(h, &r);
    const RECT square = {1000, 2000, 1288, 2288};
    EXPECT_TRUE(geoRectsEqual(&r, &square)) << "an empty label: a square";
    h = ctlSetLabelText(h, "Label");
    fldCheckMinRect(h, &r);
    int16_t measured = partOf(h).labelWidth;
    EXPECT_GT(measured, 0) << "the measured width is stored";
    int32_t s = r.bottom - r.top;
    EXPECT_GE(s, 288);
    EXPECT_EQ(1000 + measured + s + s / 2, r.right);
    EXPECT_EQ(1000, r.left);
    EXPECT_EQ(2000, r.top);

    // Setting a smaller rectangle grows it to the natural size, left and top kept.
    const RECT smaller = {500, 600, 520, 610};
    fldCheckSetRect(h, &smaller);
    RECT now;
    obGetRect(h, &now);
    EXPECT_EQ(500, now.left);
    EXPECT_EQ(600, now.top);
    EXPECT_EQ(r.right - r.left, now.right - now.left);
    EXPECT_EQ(s, now.bottom - now.top);
    // A larger one is kept; the rescale dispatch applies the same rule.
    const RECT large = {0, 0, 5000, 1000};
    fldCheckSetRect(h, &large);
    obGetRect(h, &now);
    EXPECT_EQ(5000, now.right);
    MemHandle scaled = obScaleBy(h, 0.01);
    obGetRect(scaled, &now);
    EXPECT_EQ(r.right - r.left, now.right - now.left) << "never below the natural width";
    fldCheckSetMinRect(scaled);
    obGetRect(scaled, &now);
    EXPECT_EQ(s, now.bottom - now.top);
    obFreeTree(scaled);
}

// A checked box drawn big enough to see its mark: font height -1200 twips
// (80 pixels) gives a box square of 1050 twips (70 pixels).
struct Drawn {
    Page page{200, 120};
    RECT box;
    int16_t penAfter;
};

Drawn drawControl(int16_t type, uint16_t flags, int16_t mark, int16_t penWidth = 20)
{
    Drawn d;
    MemHandle h = control(type, pxRect(10, 10, 190, 110), -1200, flags);
    setPart(h, flags, mark);
    ObLock(h)->penWidth = penWidth;
    obDraw(d.page.dc(), h);
    ckbGetBoxRect(h, &d.box);
    d.penAfter = ObLock(h)->penWidth;
    obFreeTree(h);
    d.box = RECT{d.box.left / 15, d.box.top / 15, d.box.right / 15, d.box.bottom / 15};
    return d;
}

TEST_F(Controls, CheckBoxMarksByStyle)
{
    // Unchecked: an empty white box outlined in the fill colour.
    Drawn empty = drawControl(OBT_CHECKBOX, 0, 0);
    int cx = (empty.box.left + empty.box.right) / 2, cy = (empty.box.top + empty.box.bottom) / 2;
    EXPECT_EQ(kWhite, empty.page.pixel(cx, cy));
    EXPECT_TRUE(inkNear(empty.page, kBlue, empty.box.left, cy)) << "box outline";
    EXPECT_EQ(0, empty.page.count(kFace)) << "no 3-D face";

    for (int16_t mark : {0, 1}) {
        Drawn d = drawControl(OBT_CHECKBOX, CKB_CHECKED, mark);
        EXPECT_TRUE(inkNear(d.page, kBlue, cx, cy)) << "the cross passes the centre, style " << mark;
        int q = (d.box.right - d.box.left) / 4;
        EXPECT_TRUE(inkNear(d.page, kBlue, d.box.left + q, d.box.top + q)) << mark;
        EXPECT_TRUE(inkNear(d.page, kBlue, d.box.right - q, d.box.top + q)) << "both diagonals";
    }
    Drawn tick = drawControl(OBT_CHECKBOX, CKB_CHECKED, CKB_MARK_TICK);
    int q = (tick.box.right - tick.box.left) / 4;
    EXPECT_FALSE(inkNear(tick.page, kBlue, tick.box.left + q, tick.box.top + q)) << "no cross";
    EXPECT_GT(tick.page.in(kBlue, tick.box.left + 3, tick.box.top + 3, tick.box.right - 3,
                           tick.box.bottom - 3), 20)
        << "the tick";
    Drawn circle = drawControl(OBT_CHECKBOX, CKB_CHECKED, CKB_MARK_CIRCLE);
    EXPECT_EQ(kWhite, circle.page.pixel(cx, cy)) << "a white circle";
    EXPECT_TRUE(inkNear(circle.page, kBlue, circle.box.left + 3, cy)) << "its outline inset by 40";
    EXPECT_EQ(kWhite, circle.page.pixel(circle.box.left + 4, circle.box.top + 4));
}

TEST_F(Controls, DrawingSetsThePenWidthToOnePoint)
{
    for (int16_t stored : {0, 5, 200, 400}) {
        EXPECT_EQ(20, drawControl(OBT_CHECKBOX, CKB_CHECKED, 0, stored).penAfter) << stored;
        EXPECT_EQ(20, drawControl(OBT_RADIO, CKB_CHECKED, 0, stored).penAfter) << stored;
    }
    // A thick stored pen does not thicken the outline of the box.
    Drawn thin = drawControl(OBT_CHECKBOX, 0, 0, 20), thick = drawControl(OBT_CHECKBOX, 0, 0, 400);
    EXPECT_EQ(0, thin.page.diff(thick.page));
}

TEST_F(Controls, ThreeDBoxIsASunkenBevelWithACross)
{
    Drawn d = drawControl(OBT_CHECKBOX, CKB_3D | CKB_CHECKED, 0);
    EXPECT_LE(d.box.right - d.box.left, 14) << "at most 200 twips";
    EXPECT_GT(d.page.count(kFace), 0) << "the face";
    EXPECT_GT(d.page.count(RGB(0x80, 0x80, 0x80)), 0) << "the dark top-left band";
    int cx = (d.box.left + d.box.right) / 2, cy = (d.box.top + d.box.bottom) / 2;
    EXPECT_TRUE(inkNear(d.page, kBlue, cx, cy)) << "the cross";
}

TEST_F(Controls, RadioButtonCircleAndDot)
{
    Drawn off = drawControl(OBT_RADIO, 0, 0);
    int cx = (off.box.left + off.box.right) / 2, cy = (off.box.top + off.box.bottom) / 2;
    EXPECT_EQ(kWhite, off.page.pixel(cx, cy));
    EXPECT_EQ(kWhite, off.page.pixel(off.box.left + 1, off.box.top + 1)) << "round, not square";
    EXPECT_TRUE(inkNear(off.page, kBlue, off.box.left, cy)) << "the circle";
    Drawn on = drawControl(OBT_RADIO, CKB_CHECKED, 0);
    EXPECT_EQ(kBlue, on.page.pixel(cx, cy)) << "the dot";
    int w = on.box.right - on.box.left;
    EXPECT_EQ(kWhite, on.page.pixel(on.box.left + w / 5 - 2, cy)) << "inset by a fifth";
    Drawn look3d = drawControl(OBT_RADIO, CKB_3D, 0);
    int c3x = (look3d.box.left + look3d.box.right) / 2;
    int c3y = (look3d.box.top + look3d.box.bottom) / 2;
    EXPECT_EQ(kFace, look3d.page.pixel(c3x, c3y)) << "3-D: the face colour";
    EXPECT_GT(look3d.page.count(RGB(0xC0, 0xC0, 0xFF)), 0) << "the light arc";
}

TEST_F(Controls, TinyRadioButtonDrawsWithoutANegativeInset)
{
    for (int32_t height : {0, -1, -5, -20}) {
        Page page(40, 40);
        MemHandle h = control(OBT_RADIO, pxRect(5, 5, 30, 30), height, CKB_CHECKED);
        obDraw(page.dc(), h);
        obFreeTree(h);
        EXPECT_EQ(0, page.in(kBlue, 31, 0, 40, 40)) << height << ": nothing beyond its box";
    }
}

TEST_F(Controls, LabelIsDrawnInTheFillColourBesideTheBox)
{
    Page page(300, 60);
    MemHandle h = control(OBT_CHECKBOX, pxRect(5, 5, 295, 55), -300);
    h = ctlSetLabelText(h, "Hello");
    obDraw(page.dc(), h);
    RECT label;
    ckbGetLabelRect(h, &label);
    obFreeTree(h);
    int l = label.left / 15, t = label.top / 15, b = label.bottom / 15;
    EXPECT_GT(page.in(kBlue, l, t, 295, b + 1), 10) << "label text";
    EXPECT_EQ(0, page.in(kBlue, l, 0, 295, t - 1)) << "nothing above the label line";
}

TEST_F(Controls, GroupBoxFrameLeavesAGapForTheCaption)
{
    Page page(200, 120);
    MemHandle h = control(OBT_GROUP_BOX, pxRect(10, 10, 190, 110), -240);
    h = ctlSetLabelText(h, "     ");   // blanks: a width and no ink
    // A paint changes nothing in the record: neither the one-point frame
    // width nor the caption it measures for itself.
    auto bytes = [](MemHandle m) {
        ObLock r(m);
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        return std::vector<uint8_t>(p, p + r->length);
    };
    std::vector<uint8_t> before = bytes(h);
    obDraw(page.dc(), h);
    EXPECT_EQ(before, bytes(h));
    RECT natural;
    fldCheckMinRect(h, &natural);   // measures the caption into the record
    int16_t width = partOf(h).labelWidth;
    EXPECT_GT(width, 0);
    Page measured(200, 120);
    obDraw(measured.dc(), h);
    EXPECT_EQ(0, measured.diff(page)) << "the same picture measured or not";
    RECT cap;
    shGroupBoxLabelRect(h, &cap);
    obFreeTree(h);
    // The top edge 96 twips (6.4 pixels) below the box top: gap from
    // left + 192 to left + 288 + caption width.
    int top = (px(10) + 96) / 15;
    EXPECT_EQ(kBlack, page.pixel(11, top));
    EXPECT_EQ(kBlack, page.pixel(180, top));
    int gapFrom = (px(10) + 192) / 15 + 1, gapTo = (px(10) + 288 + width) / 15 - 1;
    int blackInGap = 0;
    for (int x = gapFrom; x < gapTo; ++x)
        blackInGap += page.pixel(x, top) == kBlack && page.pixel(x, top + 1) == kBlack;
    EXPECT_EQ(0, blackInGap) << "no frame line under the caption";
    EXPECT_EQ(kBlack, page.pixel(10, 100)) << "left side";
    const RECT expected = {px(10) + 240, px(10), px(10) + 240 + width, px(10) + 240};
    EXPECT_TRUE(geoRectsEqual(&cap, &expected));
}

}  // namespace

namespace {

TEST_F(Controls, GroupBoxWithoutFrameShowsOnlyItsFill)
{
    Page page(200, 120);
    MemHandle h = control(OBT_GROUP_BOX, pxRect(10, 10, 190, 110), -240, CKB_GROUP_NO_FRAME);
    ObLock(h)->fillKind = 1;
    obDraw(page.dc(), h);
    obFreeTree(h);
    EXPECT_EQ(0, page.count(kBlack)) << "no frame line and no caption";
    EXPECT_EQ(kFace, page.pixel(100, 60)) << "filled with the background colour";
    EXPECT_EQ(kWhite, page.pixel(100, 12)) << "the fill starts below the caption's middle";

    // With a caption the caption stays: ink only where it is written.
    Page captioned(200, 120);
    h = control(OBT_GROUP_BOX, pxRect(10, 10, 190, 110), -240, CKB_GROUP_NO_FRAME);
    h = ctlSetLabelText(h, "WWW");
    ObLock(h)->fillKind = 1;
    obDraw(captioned.dc(), h);
    obFreeTree(h);
    int ink = captioned.count(kBlack);
    EXPECT_GT(ink, 10) << "the caption";
    // The caption's line: from the box top, one font height (16 pixels) down.
    EXPECT_EQ(ink, captioned.in(kBlack, 10, 10, 190, 27)) << "no frame line";
    EXPECT_EQ(0, captioned.in(kBlack, 0, 0, 26, 120)) << "nothing left of the caption's start";
    EXPECT_EQ(kFace, captioned.pixel(100, 60));
}

}  // namespace
