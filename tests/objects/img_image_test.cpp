// Image objects (picture bytes held in the record), the Properties dialog,
// the fit-mode choice, renditions of objects and bitmaps from the clipboard.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "tests/support/kit_picture.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "objects/img_bitmap.h"
#include "objects/img_image.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_dib.h"
#include "support/ut_mem.h"
#include "support/win_window.h"
#include <string.h>

namespace {

// An image object holding the bytes of a picture file, 90 x 60 at (0, 0).
MemHandle imageObject(const std::vector<uint8_t> &bytes, uint32_t kind, uint32_t statedSize)
{
    MemHandle h = obNewRecord(kObHeadSize + sizeof(ImageData) + (uint32_t)bytes.size());
    ObLock rec(h);
    rec->type = OBT_IMAGE;
    rec->flags = kImgBitmapFlags;
    RECT box = {0, 0, 90, 60};
    obRecSetRect(rec.get(), &box);
    ImageData d = {};
    d.width = 90;
    d.height = 60;
    d.header.fileKind = kind;
    d.header.dataSize = statedSize;
    memcpy(obRecData(rec.get()), &d, sizeof d);
    memcpy(obRecData(rec.get()) + sizeof d, bytes.data(), bytes.size());
    return h;
}

MemHandle patternObject()
{
    std::vector<uint8_t> bmp = qmtest::bmpBytes(24);
    return imgBitmapFromDibBytes(bmp.data() + 14, (uint32_t)bmp.size() - 14, POINT{0, 0}, 0);
}

std::string itemText(HWND dlg, int id)
{
    char text[64] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    std::string s = text;
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

struct Info {
    std::string storage, pixelsW, pixelsH, inchesW, inchesH;
};

Info runInfo(MemHandle object)
{
    Info info;
    qmtest::DialogDriver driver({[&](HWND d) {
        info = {itemText(d, 100), itemText(d, 110), itemText(d, 111), itemText(d, 200),
                itemText(d, 201)};
        SendMessageA(d, WM_COMMAND, IDOK, 0);
    }});
    EXPECT_EQ(1, imgInfoDialog(nullptr, object));
    return info;
}

class ImageObject : public ::testing::Test {
protected:
    void SetUp() override { dmResetMapping(); before_ = utLiveHandleCount(); }
    void TearDown() override
    {
        EXPECT_EQ(before_, utLiveHandleCount());
        EXPECT_EQ(0, imgLiveLibraryBitmaps());
        EXPECT_FALSE(imgMemStreamTableExists());
    }
    long before_ = 0;
};

TEST_F(ImageObject, DrawsItsBytesAndKeepsItsBox)
{
    std::vector<uint8_t> png = qmtest::libraryBytes("png");
    MemHandle h = imageObject(png, IMG_KIND_PNG, (uint32_t)png.size());
    {
        ObLock rec(h);
        EXPECT_EQ(kObHeadSize + 36 + png.size(), objRecordSize(rec.get(), 0));
    }
    qmtest::Dib page(6, 4, RGB(1, 2, 3));
    dmSetMapping(page.dc());
    obDraw(page.dc(), h);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(qmtest::pictureColour(24, x, y), page.pixel(x, y)) << x << "," << y;
    int32_t w = 0, ht = 0;
    EXPECT_EQ(1, imgImagePixelSize(h, &w, &ht));
    EXPECT_EQ(6, w);
    EXPECT_EQ(GDI_NATURAL_SCREEN, imgImageNaturalSizeKind(h));
    // Rescaled through the dispatcher: the box is stored in the type data.
    RECT target = {100, 100, 280, 220};
    h = obFitToRect(h, &target);
    {
        ObLock rec(h);
        ImageData d;
        memcpy(&d, obRecData(rec.get()), sizeof d);
        EXPECT_EQ(180, d.width);
        EXPECT_EQ(120, d.height);
    }
    // Flipped and rotated: unchanged.
    std::vector<uint8_t> before;
    {
        ObLock rec(h);
        before.assign((uint8_t *)rec.get(), (uint8_t *)rec.get() + rec->length);
    }
    objFlipRotate(h, POINT{0, 0}, 900);
    {
        ObLock rec(h);
        EXPECT_EQ(0, memcmp(before.data(), rec.get(), before.size()));
    }
    EXPECT_EQ(1, imgImageFitToPixels(h, 0));
    {
        ObLock rec(h);
        ImageData d;
        memcpy(&d, obRecData(rec.get()), sizeof d);
        EXPECT_EQ(6, d.header.pixelWidth);
        EXPECT_EQ(4, d.header.pixelHeight);
        EXPECT_EQ(90, d.width);
        EXPECT_EQ(190, rec->centreX) << "about the same centre";
    }
    EXPECT_EQ(1, imgImageSetTransparent(h, RGB(255, 0, 0), TRUE));
    EXPECT_EQ(0, imgImageSetTransparent(h, RGB(255, 0, 0), TRUE));
    EXPECT_EQ(1, imgImageSetTransparent(h, 0, FALSE));
    obFreeTree(h);
}

TEST_F(ImageObject, BadBytesDrawNothingAndShowNoSize)
{
    std::vector<uint8_t> png = qmtest::libraryBytes("png");
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        uint32_t kind, stated;
    } cases[] = {
        {"data size past the record", png, IMG_KIND_PNG, (uint32_t)png.size() + 1},
        {"data size 2^31", png, IMG_KIND_PNG, 0x80000000u},
        {"bytes that are no picture", std::vector<uint8_t>(40, 7), IMG_KIND_PNG, 40},
        {"PNG bytes said to be JPEG", png, IMG_KIND_JPG, (uint32_t)png.size()},
        {"no kind", png, 0, (uint32_t)png.size()},
    };
    for (const Case &c : cases) {
        MemHandle h = imageObject(c.bytes, c.kind, c.stated);
        qmtest::BoxRecorder boxes;
        qmtest::Dib page(6, 4, RGB(1, 2, 3));
        dmSetMapping(page.dc());
        obDraw(page.dc(), h);
        EXPECT_EQ(24, page.count(RGB(1, 2, 3))) << c.what;
        Info info = runInfo(h);
        EXPECT_EQ("Data in object", info.storage);
        EXPECT_EQ("0", info.pixelsW) << c.what;
        EXPECT_EQ("0", info.pixelsH) << c.what;
        EXPECT_EQ(0u, boxes.count()) << c.what;
        ImgIoRequest r = {};
        r.action = IMG_ACTION_DECODE_IMAGE;
        r.object = h;
        EXPECT_EQ(0, imgIoDispatch(&r)) << c.what;
        EXPECT_EQ(0u, r.dib);
        obFreeTree(h);
    }
    // A good one decodes into a DIB.
    MemHandle h = imageObject(png, IMG_KIND_PNG, (uint32_t)png.size());
    ImgIoRequest r = {};
    r.action = IMG_ACTION_DECODE_IMAGE;
    r.object = h;
    ASSERT_EQ(1, imgIoDispatch(&r));
    BITMAPINFOHEADER bih;
    gdiDibInfo(r.dib, 0, &bih);
    EXPECT_EQ(6, bih.biWidth);
    utFreeHandle(r.dib);
    obFreeTree(h);
}

TEST_F(ImageObject, PropertiesOfBitmapsAndTheFitModeChoice)
{
    MemHandle h = patternObject();
    Info info = runInfo(h);
    EXPECT_EQ("Data in object", info.storage);
    EXPECT_EQ("6", info.pixelsW);
    EXPECT_EQ("4", info.pixelsH);
    EXPECT_EQ("0.06", info.inchesW);   // 90 twips
    EXPECT_EQ("0.04", info.inchesH);
    obFreeTree(h);
    MemHandle rect = obNewRecord(kObHeadSize);
    ObLock(rect)->type = OBT_RECTANGLE;
    info = runInfo(rect);
    EXPECT_EQ("", info.storage);
    EXPECT_EQ("0", info.pixelsW);
    obFreeTree(rect);
    EXPECT_EQ((INT_PTR)winGetInstance(nullptr), imgInfoDialog(nullptr, 0)) << "no dialog";

    uint32_t value = 0x00050002;
    std::string selected;
    {
        qmtest::DialogDriver driver({[&](HWND d) {
            HWND list = GetDlgItem(d, 1000);
            int i = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
            char text[64] = {};
            SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
            selected = text;
            int stretch = (int)SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1,
                                            (LPARAM) "Stretch");
            SendMessageA(list, LB_SETCURSEL, stretch, 0);
            SendMessageA(d, WM_COMMAND, IDOK, 0);
        }});
        EXPECT_EQ(1, obAskImageFitMode(nullptr, "Graphic Display Option", &value));
    }
    EXPECT_EQ("Fit (Preserve aspect ratio)", selected);
    EXPECT_EQ(0x00050004u, value);
    {
        qmtest::DialogDriver driver({[](HWND d) { SendMessageA(d, WM_COMMAND, IDCANCEL, 0); }});
        EXPECT_EQ(0, obAskImageFitMode(nullptr, "Graphic Display Option", &value));
    }
    EXPECT_EQ(0x00050004u, value);
}

TEST_F(ImageObject, RenditionsOfObjects)
{
    MemHandle h = patternObject();
    obMoveBy(h, 300, 150);
    HBITMAP bmp = imgRenderObjectBitmapEx(nullptr, h, 0, 0, RGB(0, 0, 255));
    ASSERT_NE(nullptr, bmp);
    int32_t w = 0, ht = 0;
    gdiBitmapSize(bmp, &w, &ht);
    EXPECT_EQ(7, w) << "one pixel wider than the drawn rectangle";
    EXPECT_EQ(5, ht) << "and one higher";
    MemHandle dib = gdiBitmapToDib(bmp);
    ASSERT_NE(0u, dib);
    {
        qmtest::Dib page(7, 5, RGB(1, 2, 3));
        RECT all = {0, 0, 7, 5};
        gdiDrawDibPart(page.dc(), dib, &all, &all, SRCCOPY);
        EXPECT_EQ(qmtest::pictureColour(24, 0, 0), page.pixel(0, 0));
        EXPECT_EQ(qmtest::pictureColour(24, 5, 3), page.pixel(5, 3));
        EXPECT_EQ(RGB(0, 0, 255), page.pixel(6, 4)) << "the background";
    }
    utFreeHandle(dib);
    POINT centre;
    obGetCentre(h, &centre);
    EXPECT_EQ(345, centre.x) << "moved back after drawing";
    // A bitmap object's rendition is its own DIB; a kind-0 one has none.
    MemHandle own = imgRenderObjectDib(nullptr, h);
    ASSERT_NE(0u, own);
    EXPECT_EQ(40u + 80u, utHandleSize(own));
    MemHandle copy = imgObjectToBitmapObject0(nullptr, h);
    ASSERT_NE(0u, copy);
    RECT a, b;
    obGetRect(h, &a);
    obGetRect(copy, &b);
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(90, b.right - b.left);
    obFreeTree(copy);
    utFreeHandle(own);
    {
        ObLock rec(h);
        obRecData(rec.get())[0] = IMG_BITMAP_DDB;
    }
    EXPECT_EQ(0u, imgRenderObjectDib(nullptr, h));
    EXPECT_EQ(0u, imgBitmapDibCopy(h));
    obFreeTree(h);
    EXPECT_EQ(nullptr, imgRenderObjectBitmap(nullptr, 0));
}

// A clipboard owner for the paste tests.
class Clipboard {
public:
    Clipboard()
    {
        window_ = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    }
    ~Clipboard() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    bool put(UINT format, HANDLE data)
    {
        if (!OpenClipboard(window_))
            return false;
        EmptyClipboard();
        bool ok = data && SetClipboardData(format, data) != nullptr;
        CloseClipboard();
        return ok;
    }

private:
    HWND window_;
};

TEST_F(ImageObject, BitmapsFromTheClipboard)
{
    Clipboard clip;
    // A 2 x 2 DIB of 32 bits with BI_BITFIELDS masks: the pixels start 12
    // bytes after the header.
    const uint32_t pixels[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFF00};
    SIZE_T size = sizeof(BITMAPINFOHEADER) + 12 + sizeof pixels;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, size);
    {
        uint8_t *p = (uint8_t *)GlobalLock(global);
        BITMAPINFOHEADER h = {sizeof h, 2, 2, 1, 32, BI_BITFIELDS, sizeof pixels, 0, 0, 0, 0};
        const uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
        memcpy(p, &h, sizeof h);
        memcpy(p + sizeof h, masks, 12);
        memcpy(p + sizeof h + 12, pixels, sizeof pixels);
        GlobalUnlock(global);
    }
    ASSERT_TRUE(clip.put(CF_DIB, global));
    qmtest::BoxRecorder boxes;
    MemHandle h = imgPasteBitmap(clip.window(), POINT{30, 15}, CF_DIB, 0);
    ASSERT_NE(0u, h) << boxes.texts();
    RECT r;
    obGetRect(h, &r);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(15, r.top);
    {
        qmtest::Dib page(4, 3, RGB(1, 2, 3));
        dmSetMapping(page.dc());
        obDraw(page.dc(), h);
        // Bottom-up: the first row is the lower one.
        EXPECT_EQ(RGB(255, 0, 0), page.pixel(2, 2));
        EXPECT_EQ(RGB(0, 255, 0), page.pixel(3, 2));
        EXPECT_EQ(RGB(0, 0, 255), page.pixel(2, 1));
        EXPECT_EQ(RGB(255, 255, 0), page.pixel(3, 1));
    }
    obFreeTree(h);
    ASSERT_TRUE(OpenClipboard(clip.window()));
    HANDLE still = GetClipboardData(CF_DIB);
    EXPECT_NE(nullptr, still);
    EXPECT_EQ(size, GlobalSize(still)) << "the clipboard's handle is kept";
    CloseClipboard();
    // CF_BITMAP through the default palette.
    qmtest::Dib source(3, 2, RGB(0, 128, 255));
    HBITMAP bmp = CreateCompatibleBitmap(source.dc(), 3, 2);
    {
        HDC mem = CreateCompatibleDC(source.dc());
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, 3, 2, source.dc(), 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    ASSERT_TRUE(clip.put(CF_BITMAP, bmp));
    h = imgPasteBitmap(clip.window(), POINT{0, 0}, CF_BITMAP, 0);
    ASSERT_NE(0u, h) << boxes.texts();
    int32_t w = 0, ht = 0;
    imgBitmapPixelSize(h, &w, &ht);
    EXPECT_EQ(3, w);
    EXPECT_EQ(2, ht);
    {
        qmtest::Dib page(3, 2);
        dmSetMapping(page.dc());
        obDraw(page.dc(), h);
        EXPECT_EQ(RGB(0, 128, 255), page.pixel(1, 1));
    }
    obFreeTree(h);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // Nothing of that format: said so, nothing made.
    ASSERT_TRUE(OpenClipboard(clip.window()));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(0u, imgPasteBitmap(clip.window(), POINT{0, 0}, CF_DIB, 0));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not copy bitmap from clipboard", boxes.last().text);
    EXPECT_EQ("Press OK button to continue", boxes.last().caption);
}

}  // namespace
