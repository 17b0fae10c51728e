// Page insets (type 1006): another page of the window's document drawn in
// place.
#include "tests/model/pg_kit.h"
#include "objects/sh_inset.h"
#include "model/lay_layers.h"
#include "model/ob_draw.h"
#include "model/pg_page.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "support/dm_map.h"
#include "model/ws_document.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kDesk = RGB(10, 20, 30);
const int32_t kInch = 1440;
const int kInchPx = 24;   // zoom 25

int g_current = 0;


int currentPage(HWND) { return g_current; }

MemHandle inset(uint16_t index)
{
    MemHandle h = obNewRecord(kObHeadSize + 8);
    ObLock r(h);
    r->type = OBT_PAGE_INSET;
    r->scaleX = r->scaleY = kObScaleOne;
    RECT box = {0, 0, kInch, kInch};
    obRecSetRect(r.get(), &box);
    uint32_t length = 8;
    memcpy(obRecData(r.get()), &length, 4);
    memcpy(obRecData(r.get()) + 4, &index, 2);
    return h;
}

class PageInset : public ::testing::Test {
protected:
    PageInset() : dib_(240, 300, kDesk)
    {
        dmResetModule();
        layResetGlobal();
        dmSetZoomDC(dib_.dc(), 25);
        dmSetMapping(dib_.dc());
        form_ = fmNew();
        for (const char *name : {"zero", "one", "two"})
            pgDirAppend(form_, pgtest::newPage(name));
        pgAppendObject(page(0), pgtest::square(kInch, kInch, kInch, kRed));
        ShInsetHooks hooks = {wsGetDocument, currentPage};
        shSetInsetHooks(&hooks);
        g_current = 2;
    }
    ~PageInset() override
    {
        shSetInsetHooks(nullptr);
        fmFree(form_);
        dmResetModule();
    }
    MemHandle page(int n) { return pgDirGetPages(fmGetDirectory(form_), n); }
    // Draws the objects of page n as the window's pass.
    void drawPage(HWND ws, int n)
    {
        dib_.fill(kDesk);
        obDrawList(ws, dib_.dc(), pgGetFirstObject(page(n)), nullptr);
    }
    bool redSquareShown() { return dib_.pixel(kInchPx + kInchPx / 2, kInchPx + kInchPx / 2) == kRed; }
    qmtest::Dib dib_;
    MemHandle form_ = 0;
};

}  // namespace

TEST_F(PageInset, ShowsTheStoredPageAndNothingForAnIndexOutside)
{
    pgtest::Workspace ws(form_);
    ASSERT_NE(nullptr, ws.get());
    pgAppendObject(page(1), inset(0));
    pgAppendObject(page(2), inset(7));
    drawPage(ws, 1);
    EXPECT_TRUE(redSquareShown());
    // A page that lives only in memory stays there though it is not current.
    EXPECT_NE(0u, page(0));
    drawPage(ws, 2);
    EXPECT_EQ(dib_.width() * dib_.height(), dib_.count(kDesk)) << "an index outside draws nothing";
    // Outside a window's pass there is no document to show.
    dib_.fill(kDesk);
    obDraw(dib_.dc(), pgGetFirstObject(page(1)));
    EXPECT_EQ(dib_.width() * dib_.height(), dib_.count(kDesk));
}

TEST_F(PageInset, InsetsOfTheirOwnPageOrOfEachOtherEnd)
{
    pgtest::Workspace ws(form_);
    ASSERT_NE(nullptr, ws.get());
    pgAppendObject(page(0), inset(0));   // its own page
    pgAppendObject(page(1), inset(0));
    pgAppendObject(page(0), inset(1));   // and the two show each other
    // Page 0 ends with its inset of page 1, whose own inset of page 0 is
    // left out inside an inset: page 1's white covers the square.
    drawPage(ws, 0);
    EXPECT_EQ(RGB(255, 255, 255), dib_.pixel(kInchPx + kInchPx / 2, kInchPx + kInchPx / 2));
    drawPage(ws, 1);
    EXPECT_TRUE(redSquareShown());
    for (int n = 0; n < 3; ++n)
        EXPECT_NE(0u, page(n)) << n;
    // Insets draw again once the drawing is over.
    drawPage(ws, 1);
    EXPECT_TRUE(redSquareShown());
}

TEST_F(PageInset, APageReadForTheInsetIsReleasedAfter)
{
    // A saved document opened on its second page: the first stays in the
    // file until the inset on the second shows it.
    qmtest::TempDir dir;
    std::string path = dir.file("insets.qm");
    pgAppendObject(page(1), inset(0));
    {
        pgtest::Workspace holder(form_);
        ASSERT_EQ(1, qmfSaveDocument(holder, path.c_str(), form_, FALSE, FALSE));
    }
    MemHandle shown = 0;
    MemHandle read = qmfOpenDocument(nullptr, path.c_str(), 1, &shown);
    ASSERT_NE(0u, read);
    ASSERT_NE(0u, shown);
    MemHandle readDir = fmGetDirectory(read);
    ASSERT_EQ(0u, pgDirGetPages(readDir, 0)) << "page 1 is not in memory";
    g_current = 1;
    {
        pgtest::Workspace ws(read);
        long blocks = qmtest::liveHandles();
        dib_.fill(kDesk);
        obDrawList(ws, dib_.dc(), pgGetFirstObject(shown), nullptr);
        EXPECT_TRUE(redSquareShown()) << "the page was read from the file and drawn";
        EXPECT_EQ(0u, pgDirGetPages(readDir, 0)) << "and let go again";
        EXPECT_EQ(blocks, qmtest::liveHandles()) << "every block it took is freed";
        // The page shown is the window's current one: it stays.
        EXPECT_EQ(shown, pgDirGetPages(readDir, 1));
        // Drawn again, the same.
        dib_.fill(kDesk);
        obDrawList(ws, dib_.dc(), pgGetFirstObject(shown), nullptr);
        EXPECT_TRUE(redSquareShown());
        EXPECT_EQ(blocks, qmtest::liveHandles());
    }
    fmFree(read);
}

TEST_F(PageInset, APageThatCannotBeReadIsToldOnce)
{
    qmtest::TempDir dir;
    std::string path = dir.file("insets.qm");
    pgAppendObject(page(1), inset(0));
    {
        pgtest::Workspace holder(form_);
        ASSERT_EQ(1, qmfSaveDocument(holder, path.c_str(), form_, FALSE, FALSE));
    }
    MemHandle shown = 0;
    MemHandle read = qmfOpenDocument(nullptr, path.c_str(), 1, &shown);
    ASSERT_NE(0u, read);
    // The file loses its pages after the document was opened.
    std::vector<uint8_t> bytes = qmtest::readFile(path);
    ASSERT_GT(bytes.size(), 200u);
    bytes.resize(200);
    ASSERT_TRUE(qmtest::writeFile(path, bytes));
    g_current = 1;
    {
        pgtest::Workspace ws(read);
        qmtest::BoxRecorder boxes;
        long blocks = qmtest::liveHandles();
        dib_.fill(kDesk);
        obDrawList(ws, dib_.dc(), pgGetFirstObject(shown), nullptr);
        EXPECT_FALSE(redSquareShown());
        size_t told = boxes.count();
        EXPECT_LE(1u, told) << "the failure is told";
        // The box closing paints the page again: no second box.
        obDrawList(ws, dib_.dc(), pgGetFirstObject(shown), nullptr);
        obDrawList(ws, dib_.dc(), pgGetFirstObject(shown), nullptr);
        EXPECT_EQ(told, boxes.count()) << boxes.texts();
        EXPECT_EQ(0u, pgDirGetPages(fmGetDirectory(read), 0));
        EXPECT_EQ(blocks, qmtest::liveHandles());
    }
    fmFree(read);
}
