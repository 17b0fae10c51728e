// Bitmap objects on real pixels: raster operations, repeated copies,
// transparent colours on both blitting paths, damaged records, sizes.
#include "tests/support/kit.h"
#include "tests/support/kit_picture.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_dib.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

const COLORREF kGreen = RGB(0, 255, 0), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255);

// A 6 x 4 bitmap object (kind 1) of the 24-bit pattern at (0, 0), 90 x 60.
MemHandle patternObject()
{
    std::vector<uint8_t> bmp = qmtest::bmpBytes(24);
    return imgBitmapFromDibBytes(bmp.data() + 14, (uint32_t)bmp.size() - 14, POINT{0, 0}, 0);
}

// A kind-0 bitmap object: 4 x 4 pixels of 32 bits, green with a red 2 x 2
// centre, 60 x 60 twips at (0, 0).
MemHandle ddbObject()
{
    uint32_t pixels[16];
    for (int i = 0; i < 16; ++i) {
        int x = i % 4, y = i / 4;
        pixels[i] = (x == 1 || x == 2) && (y == 1 || y == 2) ? 0xFF0000 : 0x00FF00;
    }
    GdiStoredBitmap bm = {0, 4, 4, 16, 1, 32, 0};
    uint32_t size = kObHeadSize + sizeof(BitmapData) + sizeof bm + sizeof pixels;
    MemHandle h = obNewRecord(size);
    ObLock rec(h);
    rec->type = OBT_BITMAP;
    rec->flags = kImgBitmapFlags;
    RECT box = {0, 0, 60, 60};
    obRecSetRect(rec.get(), &box);
    BitmapData d = {IMG_BITMAP_DDB, (int16_t)sizeof bm, sizeof pixels, 0, 0, 0};
    uint8_t *p = obRecData(rec.get());
    memcpy(p, &d, sizeof d);
    memcpy(p + sizeof d, &bm, sizeof bm);
    memcpy(p + sizeof d + sizeof bm, pixels, sizeof pixels);
    return h;
}

class BitmapObject : public ::testing::Test {
protected:
    void SetUp() override { dmResetMapping(); before_ = utLiveHandleCount(); }
    void TearDown() override { EXPECT_EQ(before_, utLiveHandleCount()); }
    long before_ = 0;
};

TEST_F(BitmapObject, RasterOperationOfTheFlags)
{
    const COLORREF grey = RGB(128, 128, 128);
    struct Case {
        uint32_t flags;
        COLORREF expected;   // over red on grey
    } cases[] = {
        {0x10000, kRed},                     // selector 1: SRCCOPY
        {0x100000, kRed},                    // selector 16: SRCCOPY
        {0, kRed},                           // selector 0: SRCCOPY
        {0x60000, RGB(0, 255, 255)},         // 6: NOTSRCCOPY
        {0x60010, RGB(128, 0, 0)},           // flag 0x10 wins: SRCAND
        {0x30000, RGB(255, 128, 128)},       // 3: SRCPAINT
        {0xE0000, RGB(0, 0, 0)},             // 14: BLACKNESS
        {0xF0000, RGB(255, 255, 255)},       // 15: WHITENESS
    };
    MemHandle h = patternObject();
    for (const Case &c : cases) {
        obSetFlags(h, 0xFFFFFFFFu, FALSE);
        obSetFlags(h, c.flags, TRUE);
        qmtest::Dib page(6, 4, grey);
        dmSetMapping(page.dc());
        obDraw(page.dc(), h);
        EXPECT_EQ(c.expected, page.pixel(1, 0)) << std::hex << c.flags;
    }
    obFreeTree(h);
}

TEST_F(BitmapObject, RepeatedCopies)
{
    MemHandle h = patternObject();
    const COLORREF bg = RGB(1, 2, 3);
    // 2.5 copies wide: two whole copies and the left half of the picture.
    {
        qmtest::Dib page(20, 4, bg);
        dmSetMapping(page.dc());
        RECT r = {0, 0, 225, 60};
        EXPECT_EQ(1, imgBitmapTile(page.dc(), h, &r));
        for (int x : {0, 2, 5, 6, 11})
            EXPECT_EQ(qmtest::pictureColour(24, x % 6, 0), page.pixel(x, 0)) << x;
        EXPECT_EQ(qmtest::pictureColour(24, 0, 3), page.pixel(12, 3));
        EXPECT_EQ(qmtest::pictureColour(24, 2, 0), page.pixel(14, 0)) << "the left half";
        EXPECT_EQ(bg, page.pixel(15, 0));
    }
    // 1.5 copies high: the lower copy shows the picture's top half.
    {
        qmtest::Dib page(8, 8, bg);
        dmSetMapping(page.dc());
        RECT r = {0, 0, 90, 90};
        EXPECT_EQ(1, imgBitmapRepeatDown(page.dc(), h, &r));
        EXPECT_EQ(qmtest::pictureColour(24, 0, 3), page.pixel(0, 3));
        EXPECT_EQ(qmtest::pictureColour(24, 0, 0), page.pixel(0, 4)) << "top rows";
        EXPECT_EQ(qmtest::pictureColour(24, 4, 1), page.pixel(4, 5));
        EXPECT_EQ(bg, page.pixel(0, 6));
        EXPECT_EQ(bg, page.pixel(6, 0)) << "one column only";
    }
    {
        qmtest::Dib page(14, 8, bg);
        dmSetMapping(page.dc());
        RECT r = {0, 0, 180, 120};
        EXPECT_EQ(1, imgBitmapRepeatAcross(page.dc(), h, &r));
        EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(11, 3));
        EXPECT_EQ(bg, page.pixel(0, 4)) << "one row only";
    }
    // The same for a top-down DIB and a device bitmap (kind 0).
    {
        std::vector<uint8_t> down = qmtest::bmpBytes(24, true);
        MemHandle td = imgBitmapFromDibBytes(down.data() + 14, (uint32_t)down.size() - 14,
                                             POINT{0, 0}, 0);
        qmtest::Dib page(8, 8, bg);
        dmSetMapping(page.dc());
        RECT r = {0, 0, 90, 90};
        EXPECT_EQ(1, imgBitmapRepeatDown(page.dc(), td, &r));
        EXPECT_EQ(qmtest::pictureColour(24, 0, 3), page.pixel(0, 3));
        EXPECT_EQ(qmtest::pictureColour(24, 0, 0), page.pixel(0, 4)) << "top-down: top rows";
        obFreeTree(td);
        MemHandle ddb = ddbObject();   // 4 x 4, 60 x 60 twips: 1.5 copies in 90
        page.fill(bg);
        EXPECT_EQ(1, imgBitmapRepeatDown(page.dc(), ddb, &r));
        EXPECT_EQ(kGreen, page.pixel(1, 4)) << "the first row of the picture";
        EXPECT_EQ(kRed, page.pixel(1, 5)) << "its second";
        obFreeTree(ddb);
    }
    // An object of no size draws nothing (and ends).
    {
        ObLock(h)->width = 0;
        qmtest::Dib page(8, 8, bg);
        dmSetMapping(page.dc());
        RECT r = {0, 0, 90, 90};
        EXPECT_EQ(1, imgBitmapTile(page.dc(), h, &r));
        EXPECT_EQ(64, page.count(bg));
    }
    obFreeTree(h);
}

TEST_F(BitmapObject, TransparentDeviceBitmapOnBothPaths)
{
    for (bool withLibrary : {false, true}) {
        gdiHoldMsimg32(withLibrary);
        EXPECT_EQ(withLibrary, gdiHasMsimg32() != FALSE);
        MemHandle h = ddbObject();
        qmtest::Dib page(6, 6, kBlue);
        dmSetMapping(page.dc());
        obDraw(page.dc(), h);
        EXPECT_EQ(kGreen, page.pixel(0, 0)) << "opaque first";
        EXPECT_EQ(1, imgSetTransparent(h, kGreen, TRUE));
        EXPECT_EQ(0, imgSetTransparent(h, kGreen, TRUE)) << "no change";
        page.fill(kBlue);
        obDraw(page.dc(), h);
        EXPECT_EQ(kBlue, page.pixel(0, 0)) << withLibrary;
        EXPECT_EQ(kBlue, page.pixel(3, 0)) << withLibrary;
        EXPECT_EQ(kRed, page.pixel(1, 1)) << withLibrary;
        EXPECT_EQ(kRed, page.pixel(2, 2)) << withLibrary;
        EXPECT_EQ(kBlue, page.pixel(5, 5)) << "outside the box";
        EXPECT_EQ(1, imgSetTransparent(h, kRed, TRUE)) << "another colour";
        EXPECT_EQ(1, imgSetTransparent(h, kRed, FALSE));
        COLORREF colour = 7;
        EXPECT_EQ(0, imgGetTransparentHandle(h, &colour));
        EXPECT_EQ(7u, colour) << "written only when set";
        {
            ObLock rec(h);
            BitmapData d;
            memcpy(&d, obRecData(rec.get()), sizeof d);
            EXPECT_EQ(0u, d.transparent) << "cleared when switched off";
        }
        obFreeTree(h);
    }
    gdiHoldMsimg32(FALSE);
    // A transparent DIB (kind 1).
    MemHandle h = patternObject();
    imgSetTransparent(h, kRed, TRUE);
    qmtest::Dib page(6, 4, kBlue);
    dmSetMapping(page.dc());
    obDraw(page.dc(), h);
    EXPECT_EQ(kBlue, page.pixel(0, 0));
    EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(5, 3));
    obFreeTree(h);
}

TEST_F(BitmapObject, DamagedRecordsDrawNothing)
{
    struct Case {
        const char *what;
        size_t at;   // within the type data
        uint32_t value;
        int bytes;
    } cases[] = {
        {"header size past the record", 2, 0x7000, 2},
        {"negative header size", 2, 0x8000, 2},
        {"pixel bytes past the record", 4, 0x100000, 4},
        {"width beyond the pixels", 16 + 4, 1000, 4},
        {"height beyond the pixels", 16 + 8, 1 << 30, 4},
        {"colours past the header", 16 + 32, 200, 4},
        {"header size field", 16, 108, 4},
    };
    for (const Case &c : cases) {
        MemHandle h = patternObject();
        {
            ObLock rec(h);
            memcpy(obRecData(rec.get()) + c.at, &c.value, c.bytes);
        }
        qmtest::BoxRecorder boxes;
        qmtest::Dib page(6, 4, kBlue);
        dmSetMapping(page.dc());
        obDraw(page.dc(), h);
        EXPECT_EQ(24, page.count(kBlue)) << c.what;
        EXPECT_EQ(0u, boxes.count()) << c.what;
        EXPECT_EQ(0, imgBitmapPixelSize(h, nullptr, nullptr)) << c.what;
        EXPECT_EQ(0u, imgBitmapDibCopy(h)) << c.what;
        obFreeTree(h);
    }
    // A kind-0 record whose rows do not fit its pixels.
    MemHandle h = ddbObject();
    {
        ObLock rec(h);
        GdiStoredBitmap bm;
        memcpy(&bm, obRecData(rec.get()) + 16, sizeof bm);
        bm.height = 100;
        memcpy(obRecData(rec.get()) + 16, &bm, sizeof bm);
    }
    qmtest::Dib page(6, 6, kBlue);
    dmSetMapping(page.dc());
    obDraw(page.dc(), h);
    EXPECT_EQ(36, page.count(kBlue));
    // An unknown data kind says so.
    {
        ObLock rec(h);
        obRecData(rec.get())[0] = 5;
    }
    qmtest::BoxRecorder boxes;
    ObLock rec(h);
    EXPECT_EQ(0, imgBitmapDraw(page.dc(), rec.get()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Incorrect Bitmap Data Type", boxes.last().text);
    RECT r = {0, 0, 60, 60};
    EXPECT_EQ(0, imgBitmapTile(page.dc(), h, &r));
    obFreeTree(h);
}

TEST_F(BitmapObject, SizesAndRecordLength)
{
    MemHandle h = patternObject();
    {
        ObLock rec(h);
        EXPECT_EQ(kObHeadSize + 16 + 40 + 20 * 4, rec->length);   // rows of 18 bytes padded to 20
        EXPECT_EQ(rec->length, objRecordSize(rec.get(), 0));
    }
    EXPECT_EQ(GDI_NATURAL_SCREEN, imgNaturalSizeKind(h));
    EXPECT_EQ(0, imgFitObjectToPixels(h, 0)) << "already its natural size";
    RECT big = {0, 0, 300, 300};   // centre (150, 150)
    obSetRect(h, &big);
    EXPECT_EQ(GDI_NATURAL_NONE, imgNaturalSizeKind(h));
    EXPECT_EQ(1, imgFitObjectToPixels(h, 0));
    POINT centre;
    obGetCentre(h, &centre);
    EXPECT_EQ(150, centre.x);
    EXPECT_EQ(90, obGetWidth(h));
    EXPECT_EQ(60, obGetHeight(h));
    obFreeTree(h);
    // Kind 0 sizes from its BITMAP record.
    h = ddbObject();
    int32_t w = 0, ht = 0;
    EXPECT_EQ(1, imgBitmapPixelSize(h, &w, &ht));
    EXPECT_EQ(4, w);
    EXPECT_EQ(4, ht);
    obFreeTree(h);
}

}  // namespace
