// Metafile picture objects (type 61), placeable .wmf files, the clipboard
// picture form, and enhanced metafile objects (type 293).
#include "tests/support/kit.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "objects/img_io.h"
#include "support/geo_rect.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// A memory metafile filling 0..1000 square with red (no outline).
HMETAFILE redSquareMetafile()
{
    HDC mdc = CreateMetaFileA(nullptr);
    SetMapMode(mdc, MM_ANISOTROPIC);
    SetWindowOrgEx(mdc, 0, 0, nullptr);
    SetWindowExtEx(mdc, 1000, 1000, nullptr);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(mdc, red);
    SelectObject(mdc, GetStockObject(NULL_PEN));
    Rectangle(mdc, 0, 0, 1001, 1001);
    HMETAFILE mf = CloseMetaFile(mdc);
    DeleteObject(red);
    return mf;
}

std::vector<uint8_t> metafileBits(HMETAFILE mf)
{
    std::vector<uint8_t> bits(GetMetaFileBitsEx(mf, 0, nullptr));
    GetMetaFileBitsEx(mf, (UINT)bits.size(), bits.data());
    return bits;
}

std::vector<uint8_t> redSquareBits()
{
    HMETAFILE mf = redSquareMetafile();
    std::vector<uint8_t> bits = metafileBits(mf);
    DeleteMetaFile(mf);
    return bits;
}

// The bits behind a placeable header of the box 0..right at `upi`.
std::vector<uint8_t> placeable(const std::vector<uint8_t> &bits, int16_t right, uint16_t upi,
                               uint16_t handle = 0)
{
    PlaceableHeader head = {kMfPlaceableKey, handle, 0, 0, right, right, upi, 0, 0};
    std::vector<uint8_t> file(sizeof head + bits.size());
    memcpy(file.data(), &head, sizeof head);
    if (!bits.empty())
        memcpy(file.data() + sizeof head, bits.data(), bits.size());
    return file;
}

RECT rectOf(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    return r;
}

// A METAFILEPICT memory handle of the red square in the mode and extents.
HGLOBAL clipboardPicture(LONG mode, LONG x, LONG y)
{
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    METAFILEPICT *p = static_cast<METAFILEPICT *>(GlobalLock(g));
    p->mm = mode;
    p->xExt = x;
    p->yExt = y;
    p->hMF = redSquareMetafile();
    GlobalUnlock(g);
    return g;
}

void freeClipboardPicture(HGLOBAL g)
{
    METAFILEPICT *p = static_cast<METAFILEPICT *>(GlobalLock(g));
    DeleteMetaFile(p->hMF);
    GlobalUnlock(g);
    GlobalFree(g);
}

METAFILEPICT readPicture(HGLOBAL g)
{
    METAFILEPICT m = {};
    if (void *p = GlobalLock(g)) {
        memcpy(&m, p, sizeof m);
        GlobalUnlock(g);
    }
    return m;
}

struct MetafileTest : ::testing::Test {
    qmtest::TempDir dir;
    qmtest::BoxRecorder boxes;
    long handles = qmtest::liveHandles();
    void TearDown() override { EXPECT_EQ(handles, qmtest::liveHandles()) << "no block leaks"; }
};

}  // namespace

TEST_F(MetafileTest, WmfFilesBecomeObjectsAtTheClientTopLeft)
{
    std::vector<uint8_t> bits = redSquareBits();
    struct Case { const char *what; std::vector<uint8_t> file; int32_t size; } cases[] = {
        {"no placeable header: two inches", bits, 2880},
        {"0..1000 at 1000 per inch", placeable(bits, 1000, 1000), 1440},
        {"units per inch 0: twips", placeable(bits, 720, 0), 720},
    };
    for (const Case &c : cases) {
        std::string path = dir.file("pic.wmf");
        ASSERT_TRUE(qmtest::writeFile(path, c.file));
        MemHandle h = mfWmfLoadFile(nullptr, path.c_str());
        ASSERT_NE(0u, h) << c.what;
        EXPECT_EQ(OBT_METAPICT, obGetType(h)) << c.what;
        RECT r = rectOf(h);
        EXPECT_EQ(0, r.left) << c.what;
        EXPECT_EQ(0, r.top) << c.what;
        EXPECT_EQ(c.size, r.right - r.left) << c.what;
        EXPECT_EQ(c.size, r.bottom - r.top) << c.what;
        {
            ObLock rec(h);
            EXPECT_EQ(86 + 16 + c.file.size(), rec->length) << c.what;
            EXPECT_EQ(rec->length, objRecordSizeExt(rec.get(), rec.blockSize())) << c.what;
        }
        HMETAFILE mf = mfPictHandleH(h);
        EXPECT_NE(nullptr, mf) << c.what;
        EXPECT_EQ(bits, metafileBits(mf)) << c.what;
        DeleteMetaFile(mf);
        utFreeHandle(h);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();

    // In a scrolled window: at the top-left of what the client area shows.
    HWND window = CreateWindowA("STATIC", "ws", 0, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                                nullptr);
    dmPushState();
    qmtest::Dib dib(10, 10);
    dmSetZoomDC(dib.dc(), 100);
    dmSetScrollPos(40, 60);
    POINT corner = {dmDevToLogX(0), dmDevToLogY(0)};
    EXPECT_EQ(600, corner.x) << "40 pixels of 15 twips";
    EXPECT_EQ(900, corner.y);
    std::string path = dir.file("pic.wmf");
    ASSERT_TRUE(qmtest::writeFile(path, bits));
    MemHandle h = mfWmfLoadFile(window, path.c_str());
    dmPopState();
    DestroyWindow(window);
    ASSERT_NE(0u, h);
    RECT r = rectOf(h);
    EXPECT_EQ(corner.x, r.left);
    EXPECT_EQ(corner.y, r.top);
    EXPECT_EQ(corner.x + 2880, r.right);
    EXPECT_EQ(corner.y + 2880, r.bottom);
    utFreeHandle(h);
}

// Some writers count the 22-byte placeable header in the metafile's size:
// the file is read, and the stored metafile states its own size.
TEST_F(MetafileTest, APlaceableSizeCountingItsHeaderIsRead)
{
    std::vector<uint8_t> bits = redSquareBits();
    std::vector<uint8_t> counted = bits;
    uint32_t words = (uint32_t)(bits.size() + sizeof(PlaceableHeader)) / 2;
    memcpy(counted.data() + 6, &words, 4);
    std::string path = dir.file("counted.wmf");
    ASSERT_TRUE(qmtest::writeFile(path, placeable(counted, 1000, 1000)));
    MemHandle h = mfWmfLoadFile(nullptr, path.c_str());
    ASSERT_NE(0u, h) << boxes.texts();
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    RECT r = rectOf(h);
    EXPECT_EQ(1440, r.right - r.left);
    {
        ObLock rec(h);
        EXPECT_TRUE(mfPictReadCheck(rec.get(), rec->length)) << "the stored copy is whole";
    }
    HMETAFILE mf = mfPictHandleH(h);
    ASSERT_NE(nullptr, mf);
    EXPECT_EQ(bits, metafileBits(mf)) << "the size corrected, every record kept";
    DeleteMetaFile(mf);
    utFreeHandle(h);

    // Without a placeable header the same size is past the file: refused.
    ASSERT_TRUE(qmtest::writeFile(path, counted));
    EXPECT_EQ(0u, mfWmfLoadFile(nullptr, path.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_NE(std::string::npos, boxes.last().text.find("Incorrect file type"));
}

TEST_F(MetafileTest, DamagedWmfFilesShowIncorrectFileType)
{
    std::vector<uint8_t> bits = redSquareBits();
    std::vector<uint8_t> type3 = bits;
    type3[0] = 3;
    std::vector<uint8_t> tooLong = bits;
    uint32_t words = (uint32_t)bits.size() / 2 + 1;   // one word past the file
    memcpy(tooLong.data() + 6, &words, 4);
    std::vector<uint8_t> huge = bits;
    words = 0x80000001u;   // twice it wraps 32 bits
    memcpy(huge.data() + 6, &words, 4);
    std::vector<uint8_t> headerOnly = placeable(bits, 1000, 1000);
    headerOnly.resize(30);
    struct Case { const char *what; std::vector<uint8_t> file; } cases[] = {
        {"handle field not 0", placeable(bits, 1000, 1000, 7)},
        {"metafile type 3", type3},
        {"placeable, type 3", placeable(type3, 1000, 1000)},
        {"size past the file", tooLong},
        {"size past the file behind a header", placeable(tooLong, 1000, 1000)},
        {"size whose double wraps", huge},
        {"shorter than a placeable header", std::vector<uint8_t>(bits.begin(), bits.begin() + 20)},
        {"header without a metafile", headerOnly},
    };
    for (const Case &c : cases) {
        std::string path = dir.file("bad.wmf");
        ASSERT_TRUE(qmtest::writeFile(path, c.file));
        boxes.clear();
        EXPECT_EQ(0u, mfWmfLoadFile(nullptr, path.c_str())) << c.what;
        ASSERT_EQ(1u, boxes.count()) << c.what << ": " << boxes.texts();
        EXPECT_NE(std::string::npos, boxes.last().text.find("Incorrect file type")) << c.what;
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.what;
    }
    boxes.clear();
    std::string missing = dir.file("none.wmf");
    EXPECT_EQ(0u, mfWmfLoadFile(nullptr, missing.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(missing + "\r\n  does not exist", boxes.last().text);
    boxes.clear();
    EXPECT_EQ(0u, mfWmfLoadFile(nullptr, ""));
    EXPECT_EQ(0u, boxes.count()) << "an empty name is no file";
}

TEST_F(MetafileTest, ThePictureFillsItsBoxInADib)
{
    std::vector<uint8_t> bits = redSquareBits();
    struct Case { const char *what; std::vector<uint8_t> file; } cases[] = {
        {"placeable", placeable(bits, 1000, 1000)},
        {"plain", bits},
    };
    for (const Case &c : cases) {
        std::string path = dir.file("pic.wmf");
        ASSERT_TRUE(qmtest::writeFile(path, c.file));
        MemHandle h = mfWmfLoadFile(nullptr, path.c_str());
        ASSERT_NE(0u, h);
        RECT box = {150, 150, 1350, 1350};   // pixels 10..90 at 15 twips a pixel
        obSetRect(h, &box);
        std::vector<uint8_t> before;
        {
            ObLock r(h);
            auto *p = reinterpret_cast<uint8_t *>(r.get());
            before.assign(p, p + r->length);
        }
        qmtest::Dib dib(100, 100);
        dmSetZoomDC(dib.dc(), 100);
        obDraw(dib.dc(), h);
        EXPECT_EQ(kRed, dib.pixel(11, 11)) << c.what;
        EXPECT_EQ(kRed, dib.pixel(88, 88)) << c.what;
        EXPECT_EQ(kWhite, dib.pixel(8, 8)) << c.what;
        EXPECT_EQ(kWhite, dib.pixel(92, 92)) << c.what;
        int red = dib.count(kRed);
        EXPECT_LE(79 * 79, red) << c.what;
        EXPECT_GE(81 * 81, red) << c.what;
        // The DC keeps its mapping: a second object lands where the first did.
        POINT org;
        GetWindowOrgEx(dib.dc(), &org);
        EXPECT_EQ(0, org.x) << c.what;
        EXPECT_EQ(MM_ANISOTROPIC, GetMapMode(dib.dc())) << c.what;
        {
            ObLock r(h);
            auto *p = reinterpret_cast<uint8_t *>(r.get());
            EXPECT_EQ(before, std::vector<uint8_t>(p, p + r->length)) << c.what;
        }
        utFreeHandle(h);
    }
}

TEST_F(MetafileTest, AStoredMetafileLargerThanItsRecordIsNotPlayed)
{
    std::string path = dir.file("pic.wmf");
    ASSERT_TRUE(qmtest::writeFile(path, placeable(redSquareBits(), 1000, 1000)));
    MemHandle h = mfWmfLoadFile(nullptr, path.c_str());
    ASSERT_NE(0u, h);
    struct Case { const char *what; uint32_t at; uint32_t value; } cases[] = {
        {"size in words past the record", 16 + 22 + 6, 100000},
        {"data size past the record", 4, 1000000},
        {"metafile type 3", 16 + 22, 3},
    };
    for (const Case &c : cases) {
        ObLock r(h);
        uint8_t *data = obRecData(r.get());
        std::vector<uint8_t> keep(data, data + r->length - 86);
        memcpy(data + c.at, &c.value, c.at == 16 + 22 ? 2 : 4);
        EXPECT_EQ(nullptr, mfPictHandle(r.get())) << c.what;
        qmtest::Dib dib(100, 100);
        dmSetZoomDC(dib.dc(), 100);
        mfPictDraw(dib.dc(), r.get());
        EXPECT_EQ(0, dib.count(kRed)) << c.what;
        memcpy(data, keep.data(), keep.size());
    }
    utFreeHandle(h);
}

TEST(MetafilePicture, NaturalSizeOfClipboardPictures)
{
    struct Case { LONG mode, x, y; int32_t w, h; } cases[] = {
        {MM_ANISOTROPIC, -3, -2, 1440, 960},    // an aspect ratio only
        {MM_ANISOTROPIC, 0, 500, 1440, 1440},   // no size
        {MM_ISOTROPIC, 2540, 5080, 1440, 2880}, // hundredths of a millimetre
        {MM_HIMETRIC, 2540, 1270, 1440, 720},
        {MM_LOMETRIC, 254, 127, 1440, 720},
        {MM_LOENGLISH, 100, 50, 1440, 720},
        {MM_HIENGLISH, 1000, 500, 1440, 720},
        {MM_TWIPS, 300, 200, 300, 200},
        {MM_TWIPS, 300, 0, 1440, 1440},
    };
    for (const Case &c : cases) {
        int32_t w, h;
        mfPictNaturalSize(c.mode, c.x, c.y, &w, &h);
        EXPECT_EQ(c.w, w) << c.mode << " " << c.x << " " << c.y;
        EXPECT_EQ(c.h, h) << c.mode << " " << c.x << " " << c.y;
    }
}

TEST_F(MetafileTest, ClipboardPicturesComeAndGo)
{
    // Pasted in MM_ISOTROPIC with an aspect ratio: the size from the ratio,
    // the mode and extents given back on copying.
    HGLOBAL in = clipboardPicture(MM_ISOTROPIC, -3, -2);
    MemHandle h = mfPictFromClipboard(in);
    ASSERT_NE(0u, h);
    RECT r = rectOf(h);
    EXPECT_EQ(1440, r.right - r.left);
    EXPECT_EQ(960, r.bottom - r.top);
    std::vector<uint8_t> bits = metafileBits(readPicture(in).hMF);
    freeClipboardPicture(in);   // the object keeps its own copy
    HGLOBAL out = mfPictToClipboard(h);
    ASSERT_NE(nullptr, out);
    METAFILEPICT m = readPicture(out);
    EXPECT_EQ(MM_ISOTROPIC, m.mm);
    EXPECT_EQ(-3, m.xExt);
    EXPECT_EQ(-2, m.yExt);
    EXPECT_EQ(bits, metafileBits(m.hMF));
    freeClipboardPicture(out);
    utFreeHandle(h);

    // Read from a file: MM_ANISOTROPIC in hundredths of a millimetre.
    std::string path = dir.file("pic.wmf");
    ASSERT_TRUE(qmtest::writeFile(path, placeable(redSquareBits(), 1000, 1000)));
    h = mfWmfLoadFile(nullptr, path.c_str());
    ASSERT_NE(0u, h);
    out = mfPictToClipboard(h);
    ASSERT_NE(nullptr, out);
    m = readPicture(out);
    EXPECT_EQ(MM_ANISOTROPIC, m.mm);
    EXPECT_EQ(2540, m.xExt);
    EXPECT_EQ(2540, m.yExt);
    EXPECT_EQ(redSquareBits(), metafileBits(m.hMF));
    freeClipboardPicture(out);
    utFreeHandle(h);

    // A picture without a metafile makes nothing.
    HGLOBAL empty = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(METAFILEPICT));
    EXPECT_EQ(0u, mfPictFromClipboard(empty));
    GlobalFree(empty);
}

// ---- enhanced metafiles ----------------------------------------------------------------------

namespace {

// An .emf file of a red square at the path; its byte count.
uint32_t writeRedEmf(const std::string &path)
{
    RECT frame = {0, 0, 2540, 2540};   // one inch, hundredths of a millimetre
    HDC edc = CreateEnhMetaFileA(nullptr, path.c_str(), &frame, nullptr);
    HBRUSH red = CreateSolidBrush(kRed);
    SelectObject(edc, red);
    SelectObject(edc, GetStockObject(NULL_PEN));
    Rectangle(edc, 0, 0, 97, 97);
    HENHMETAFILE emf = CloseEnhMetaFile(edc);
    DeleteObject(red);
    UINT n = GetEnhMetaFileBits(emf, 0, nullptr);
    DeleteEnhMetaFile(emf);
    return n;
}

}  // namespace

TEST_F(MetafileTest, EmfFilesLoadAsType293AndDrawInTheirBox)
{
    std::string path = dir.file("pic.emf");
    uint32_t n = writeRedEmf(path);
    ASSERT_LT(100u, n);
    MemHandle h = mfEmfLoadFile(nullptr, path.c_str());
    ASSERT_NE(0u, h);
    EXPECT_EQ(OBT_ENHANCED_MF, obGetType(h));
    {
        ObLock r(h);
        EXPECT_EQ(86 + 0 + 8 + n, r->length);
        EXPECT_EQ(r->length, objRecordSizeExt(r.get(), r.blockSize()));
        int32_t size[2];
        memcpy(size, obRecData(r.get()), 8);
        EXPECT_EQ(r->width, size[0]);
        EXPECT_EQ(r->height, size[1]);
    }
    EXPECT_TRUE(qmtest::fileIsClosed(path));

    // Flips and turns leave it as it is; a rescale changes only its box.
    std::vector<uint8_t> before;
    {
        ObLock r(h);
        auto *p = reinterpret_cast<uint8_t *>(r.get());
        before.assign(p, p + r->length);
    }
    RECT box0 = rectOf(h);
    objFlipRotate(h, POINT{box0.left, box0.top}, 900);
    {
        ObLock r(h);
        auto *p = reinterpret_cast<uint8_t *>(r.get());
        EXPECT_EQ(before, std::vector<uint8_t>(p, p + r->length));
    }
    h = objScale(h, 2.0, 0.5, box0.left, box0.top, 150, 150);
    RECT box = {150, 150, 1350, 1350};
    mfEmfSetBox(h, &box);
    {
        ObLock r(h);
        EXPECT_EQ(before.size(), r->length);
        auto *p = reinterpret_cast<uint8_t *>(r.get());
        EXPECT_EQ(0, memcmp(before.data() + 86 + 8, p + 86 + 8, r->length - 94))
            << "the metafile's bytes stay";
        int32_t size[2];
        memcpy(size, obRecData(r.get()), 8);
        EXPECT_EQ(1200, size[0]);
        EXPECT_EQ(1200, size[1]);
    }
    RECT bounds;
    mfEmfBounds(&bounds, h);
    EXPECT_EQ(150, bounds.left);
    EXPECT_EQ(1350, bounds.bottom);

    qmtest::Dib dib(100, 100);
    dmSetZoomDC(dib.dc(), 100);
    obDraw(dib.dc(), h);
    EXPECT_EQ(kRed, dib.pixel(50, 50));
    EXPECT_EQ(kRed, dib.pixel(12, 12));
    EXPECT_EQ(kWhite, dib.pixel(95, 95));
    EXPECT_EQ(kWhite, dib.pixel(5, 5));

    // A header whose byte count disagrees with the record draws nothing.
    {
        ObLock r(h);
        uint8_t *bytes = obRecData(r.get()) + 8;
        uint32_t wrong = n + 64;
        memcpy(bytes + offsetof(ENHMETAHEADER, nBytes), &wrong, 4);
        EXPECT_EQ(nullptr, mfEmfHandle(r.get()));
        qmtest::Dib other(100, 100);
        dmSetZoomDC(other.dc(), 100);
        EXPECT_EQ(0, mfEmfDraw(other.dc(), r.get()));
        EXPECT_EQ(0, other.count(kRed));
    }
    utFreeHandle(h);
}

TEST_F(MetafileTest, EmfHandlesOnlyOfTheirOwnTypeAndFiles)
{
    // Another type gives no handle.
    MemHandle other = obNewRecord(86 + 8 + 200);
    {
        ObLock r(other);
        r->type = OBT_METAPICT;
        EXPECT_EQ(nullptr, mfEmfHandle(r.get()));
        r->type = OBT_ENHANCED_MF;   // and no bytes: none either
        EXPECT_EQ(nullptr, mfEmfHandle(r.get()));
    }
    utFreeHandle(other);

    std::string missing = dir.file("none.emf");
    EXPECT_EQ(0u, mfEmfLoadFile(nullptr, missing.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(missing + "\r\n  does not exist", boxes.last().text);
    boxes.clear();
    EXPECT_EQ(0u, mfEmfLoadFile(nullptr, ""));
    EXPECT_EQ(0u, mfEmfFromHandle(nullptr));
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(MetafileTest, PictureFilesOfBothMetafileKindsDrawInARectangle)
{
    std::string wmf = dir.file("pic.wmf"), emf = dir.file("pic.emf");
    ASSERT_TRUE(qmtest::writeFile(wmf, placeable(redSquareBits(), 1000, 1000)));
    writeRedEmf(emf);
    for (const std::string &path : {wmf, emf}) {
        qmtest::Dib dib(100, 100);
        dmSetZoomDC(dib.dc(), 100);
        RECT r = {150, 150, 1350, 1350};
        EXPECT_EQ(1, imgDrawFileInRect(dib.dc(), path.c_str(), &r, 0, GEO_FIT_SCALE, 0, FALSE, 0))
            << path;
        EXPECT_EQ(kRed, dib.pixel(50, 50)) << path;
        EXPECT_EQ(kWhite, dib.pixel(95, 95)) << path;
        EXPECT_EQ(kWhite, dib.pixel(5, 5)) << path;
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}
