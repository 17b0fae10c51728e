// Push buttons: record size, faces and shadows, the picture and its
// missing-file placeholder, the label, plain-text copies and label wrapping.
#include "tests/forms/fld_kit.h"
#include "objects/fld_frame.h"
#include "forms/hc_button.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"

using namespace fldtest;

namespace {

class Buttons : public FormTest {};

MemHandle withText(MemHandle h, uint32_t tag, const char *text)
{
    return hcSetButtonAttr(h, tag, text, (int)strlen(text) + 1);
}

ButtonPart partOf(MemHandle h)
{
    ObLock r(h);
    ButtonPart p;
    memcpy(&p, obRecData(r.get()), sizeof p);
    return p;
}

std::string labelOf(MemHandle h)
{
    MemHandle copy = fldButtonGetLabel(h);
    std::string s = copy ? MemLock<char>(copy).get() : "";
    utFreeHandle(copy);
    return s;
}

TEST_F(Buttons, RecordSizeFollowsThePartLengthWord)
{
    MemHandle h = button(pxRect(0, 0, 100, 40));
    EXPECT_EQ(172u, btnRecordSizeOf(h));
    EXPECT_EQ(172u, obCalcSize(h, 0)) << "through the size dispatch";
    h = obSetName(h, "Button001");
    EXPECT_EQ(182u, obCalcSize(h, 0));
    h = withText(h, BTN_TAG_LABEL, "Go");
    ASSERT_TRUE(h);
    EXPECT_EQ(86u + 6 + 3, partOf(h).length);
    EXPECT_EQ(182u + 9, ObLock(h)->length);
    EXPECT_EQ(BTN_HAS_LABEL, partOf(h).tagMask);
    h = hcSetButtonAttr(h, BTN_TAG_LABEL, nullptr, 0);
    EXPECT_EQ(86u, partOf(h).length);
    EXPECT_EQ(182u, ObLock(h)->length);
    EXPECT_EQ(0u, partOf(h).tagMask);
    obFreeTree(h);
}

TEST_F(Buttons, APartLengthPastTheBlockIsNotTrusted)
{
    MemHandle h = button(pxRect(0, 0, 100, 40));
    {
        ObLock r(h);
        reinterpret_cast<ButtonPart *>(obRecData(r.get()))->length = 5000;
    }
    uint32_t block = utHandleSize(h);
    obCalcSize(h, 0);
    EXPECT_LE(ObLock(h)->length, block) << "the length stays within the block";
    Page page(120, 60);
    obDraw(page.dc(), h);   // nothing read past the record
    obFreeTree(h);
}

TEST_F(Buttons, FacesByStyle)
{
    struct Case {
        int16_t face;
        COLORREF centre;
        bool lightTopLeft;
    } cases[] = {{0, kFace, true},   {1, kFace, true},    {6, kFace, false},
                 {3, kFace, false},  {4, kFace, false},   {7, kWhite, false},
                 {2, kWhite, false}, {5, kWhite, false}};
    for (const Case &c : cases) {
        Page page(120, 80);
        MemHandle h = button(pxRect(10, 10, 110, 70), c.face);
        obDraw(page.dc(), h);
        obFreeTree(h);
        EXPECT_EQ(c.centre, page.pixel(60, 40)) << c.face;
        EXPECT_EQ(c.lightTopLeft, page.pixel(12, 40) == RGB(0xF0, 0xF0, 0xF0)) << c.face;
    }
}

TEST_F(Buttons, FaceTextRectangle)
{
    ButtonPart part = {};
    for (int16_t face : {0, 1, 3, 4, 6, 2, 5, 7}) {
        part.faceStyle = face;
        RECT r = {0, 0, 1000, 500};
        btnFaceTextRect(&r, &part);
        bool inset = face == 0 || face == 1 || face == 3 || face == 4 || face == 6;
        EXPECT_EQ(inset ? 40 : 0, r.left) << face;
        EXPECT_EQ(inset ? 460 : 500, r.bottom) << face;
    }
}

TEST_F(Buttons, ShadowOfTheFaceAndNoneWithoutAFrame)
{
    for (int16_t face : {1, 6, 3, 4, 7}) {
        Page page(140, 100);
        MemHandle h = button(pxRect(10, 10, 110, 70), face);
        obSetFlags(h, OBF_SHADOW, TRUE);
        obDraw(page.dc(), h);
        obFreeTree(h);
        // 100 twips (6.7 pixels) right and down of the face less its bevel.
        int shadow = page.in(kGrey, 110, 30, 120, 60) + page.in(kGrey, 40, 70, 90, 76);
        if (face == 7)
            EXPECT_EQ(0, page.count(kGrey)) << "no frame: no shadow";
        else
            EXPECT_GT(shadow, 20) << face;
    }
}

TEST_F(Buttons, MissingPictureShowsThePlaceholderAndTheLabel)
{
    Page page(160, 100);
    MemHandle h = button(pxRect(10, 10, 150, 90), 1);
    h = withText(h, BTN_TAG_PICTURE, "C:\\no such folder\\picture.bmp");
    h = withText(h, BTN_TAG_LABEL, "Go");
    obDraw(page.dc(), h);
    obFreeTree(h);
    EXPECT_EQ(0, page.count(RGB(0xF0, 0xF0, 0xF0))) << "no bevel";
    EXPECT_GT(page.in(kGrey, 9, 9, 12, 91), 5) << "the dotted grey frame";
    Page placeholder(160, 100);
    RECT r = pxRect(10, 10, 150, 90);
    obDrawMissingImage(GetModuleHandleA(nullptr), placeholder.dc(), &r);
    EXPECT_GT(page.count(kBlue), 10) << "the label is drawn over it";
    // Inside its dotted frame (whose gaps take the object's background) and
    // outside the label's pixels the picture is the placeholder's: no face.
    int differ = 0;
    for (int y = 12; y < 88; ++y)
        for (int x = 12; x < 148; ++x)
            differ += page.pixel(x, y) != placeholder.pixel(x, y) && page.pixel(x, y) != kBlue;
    EXPECT_EQ(0, differ);
}

TEST_F(Buttons, NoFrameWithoutPictureDrawsOnlyTheLabel)
{
    Page page(160, 100);
    MemHandle h = button(pxRect(10, 10, 150, 90), BTN_FACE_NONE);
    obSetFlags(h, OBF_SHADOW, TRUE);
    h = withText(h, BTN_TAG_LABEL, "Only");
    obDraw(page.dc(), h);
    obFreeTree(h);
    int blue = page.count(kBlue), white = page.count(kWhite);
    EXPECT_GT(blue, 10);
    EXPECT_EQ(160 * 100, blue + white) << "nothing but the label";
}

TEST_F(Buttons, PictureFileIsDrawnInPlaceOfTheFace)
{
    qmtest::TempDir dir;
    qmtest::Dib picture(8, 8, kRed);
    std::string path = dir.file("red.bmp");
    ASSERT_TRUE(picture.saveBmp(path));
    Page page(160, 100);
    MemHandle h = button(pxRect(10, 10, 150, 90), 1);
    h = withText(h, BTN_TAG_PICTURE, (path + "  ").c_str());   // trailing blanks are cut
    obDraw(page.dc(), h);
    obFreeTree(h);
    EXPECT_EQ(kRed, page.pixel(80, 50));
    EXPECT_EQ(kRed, page.pixel(12, 12));
    EXPECT_EQ(0, page.count(kFace));
}

TEST_F(Buttons, RasterOperationFromTheFlags)
{
    EXPECT_EQ((DWORD)SRCCOPY, imgRopFromFlags(0));
    EXPECT_EQ((DWORD)SRCAND, imgRopFromFlags(0x10));
    EXPECT_EQ((DWORD)SRCAND, imgRopFromFlags(0x10 | (6u << 16))) << "0x10 wins";
    EXPECT_EQ((DWORD)NOTSRCCOPY, imgRopFromFlags(6u << 16));
    EXPECT_EQ((DWORD)DSTINVERT, imgRopFromFlags(13u << 16));
    EXPECT_EQ((DWORD)BLACKNESS, imgRopFromFlags(14u << 16));
    EXPECT_EQ((DWORD)WHITENESS, imgRopFromFlags(15u << 16));
    EXPECT_EQ((DWORD)SRCCOPY, imgRopFromFlags(16u << 16));
}

TEST_F(Buttons, PlainTextNeedsTheLabelFlag)
{
    MemHandle h = button(pxRect(0, 0, 100, 40));
    EXPECT_EQ("", labelOf(h));
    EXPECT_EQ(nullptr, btnGetLabelText(h));
    h = withText(h, BTN_TAG_LABEL, "Print");
    EXPECT_EQ("Print", labelOf(h));
    const char *inside = btnGetLabelText(h);
    ASSERT_NE(nullptr, inside);
    EXPECT_STREQ("Print", inside);
    utUnlock(h);
    {
        ObLock r(h);
        reinterpret_cast<ButtonPart *>(obRecData(r.get()))->tagMask &= ~BTN_HAS_LABEL;
    }
    EXPECT_EQ("", labelOf(h)) << "a label attribute without the flag gives no text";
    EXPECT_EQ(0, fldButtonGetLabel(h));
    obFreeTree(h);
}

TEST_F(Buttons, SettingTheRectangleRewrapsTheLabel)
{
    MemHandle h = button(pxRect(0, 0, 400, 40));
    h = withText(h, BTN_TAG_LABEL, "Go to the next page");
    const RECT roomy = {0, 0, 400 * 15, 600};
    h = fldButtonSetRect(h, &roomy);
    EXPECT_EQ("Go to the next page", labelOf(h)) << "fits on one line";
    utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
    const RECT narrow = {0, 0, 1200, 600};
    h = fldButtonSetRect(h, &narrow);
    std::string wrapped = labelOf(h);
    EXPECT_NE(std::string::npos, wrapped.find('\n')) << wrapped;
    std::string flat;
    for (char c : wrapped)
        if (c != '\n')
            flat += c;
    EXPECT_EQ("Go to the next page", flat) << "the blanks stay at the line ends";
    RECT r;
    obGetRect(h, &r);
    EXPECT_TRUE(geoRectsEqual(&narrow, &r));
    // Wide again: back to one line.
    const RECT wide = {0, 0, 9000, 600};
    h = fldButtonSetRect(h, &wide);
    EXPECT_EQ("Go to the next page", labelOf(h));
    utSetDebugMode(0);

    MemHandle one = button(pxRect(0, 0, 400, 40));
    one = withText(one, BTN_TAG_LABEL, "Supercalifragilistic");
    const RECT tiny = {0, 0, 100, 600};
    one = fldButtonSetRect(one, &tiny);
    EXPECT_EQ("Supercalifragilistic", labelOf(one)) << "one word is never wrapped";
    LOGFONTA big = font(-480);
    one = btnSetFont(nullptr, one, &big);
    EXPECT_EQ(-480, partOf(one).font.lfHeight);
    obFreeTree(one);
    obFreeTree(h);
}

}  // namespace
