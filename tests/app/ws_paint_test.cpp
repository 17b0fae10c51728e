// Workspace painting into DIB sections: objects at their place at 100
// percent and 96 pixels to the inch (one inch of 1440 twips is 96 pixels),
// hidden objects and their outlines, the base page under a page, the white
// page on screen and not when printing, the grid, the edited object left to
// its editor, and the desk around the page.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/app_frame_docs.h"
#include "app/fc_file_cmds.h"
#include "app/ws_paint.h"
#include "model/lay_layers.h"
#include "model/ob_shadow.h"
#include "support/dm_map.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "commands/ws_objects.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255),
               kYellow = RGB(255, 255, 0);
const int32_t kInch = 1440;

using pgtest::square;

void setFlags(MemHandle h, uint32_t flags)
{
    ObLock r(h);
    r->flags |= flags;
}

class Paint : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;
    qmtest::Dib dib{300, 300, RGB(1, 2, 3)};
    RECT all = {0, 0, 300, 300};

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        form = pgtest::docWithPages({"one", "two"});
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, 0);
        wsSetZoomCode(ws, -1);
        wsSetZoomPercent(ws, 100);
        wsSetScrollOrigin(ws, 0, 0);
        setPutOptionBits(SETUP_OPT_HIGHLIGHT_HIDDEN, FALSE);
    }
    void TearDown() override
    {
        App::TearDown();
        dwResetModule();
    }
    MemHandle page(int i = 0) { return pgDirGetPages(fmGetDirectory(form), i); }
    void paint(BOOL printing = FALSE)
    {
        dib.fill(RGB(1, 2, 3));
        wsPaintBody(ws, dib.dc(), &all, printing);
    }
    int count(COLORREF c, int l, int t, int r, int b) const
    {
        return dib.count(c, RECT{l, t, r, b});
    }
};

TEST_F(Paint, AnInchSquareCoversNinetySixPixelsAtItsPlace)
{
    pgAppendObject(page(), square(kInch, kInch, kInch, kRed));
    paint();
    EXPECT_EQ(96 * 96, count(kRed, 96, 96, 192, 192));
    // The outline's pixel past the right and bottom edge is the most.
    EXPECT_EQ(dib.count(kRed), count(kRed, 96, 96, 193, 193)) << "nothing red elsewhere";
    EXPECT_EQ(kWhite, dib.pixel(95, 140));
    EXPECT_EQ(kWhite, dib.pixel(193, 140));
    EXPECT_EQ(kWhite, dib.pixel(140, 95));
    EXPECT_EQ(kWhite, dib.pixel(140, 193));

    // Scrolled by 50 pixels the square moves with the page.
    wsSetScrollOrigin(ws, -50, -50);
    paint();
    EXPECT_EQ(96 * 96, count(kRed, 146, 146, 242, 242));
    EXPECT_EQ(kWhite, dib.pixel(145, 200));
}

TEST_F(Paint, HiddenObjectsAreOutlinedOnlyWithTheSetting)
{
    struct Case {
        const char *name;
        bool layerHidden;
    } cases[] = {{"hidden object", false}, {"object on a hidden layer", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        wsFreeObjectsFrom(ws, wsGetFirstObject(ws));
        MemHandle h = square(kInch, kInch, kInch, kRed);
        if (c.layerHidden) {
            ObLock r(h);
            r->layer = 7;
        } else {
            setFlags(h, OBF_HIDDEN);
        }
        pgAppendObject(page(), h);
        if (c.layerHidden) {
            // The page's own layer state hides layer 7.
            LayerState saved, hiding;
            laySwapState(&saved, &PgLock(page()).data()->layers);
            layAddInUse(7);
            layAddHidden(7);
            layGetGlobalState(&hiding);
            PgLock(page()).data()->layers = hiding;
            laySwapState(&hiding, &saved);
        }
        setPutOptionBits(SETUP_OPT_HIGHLIGHT_HIDDEN, FALSE);
        paint();
        EXPECT_EQ(0, dib.count(kRed));
        EXPECT_EQ(0, dib.count(kWsHiddenOutlineColour));

        setPutOptionBits(SETUP_OPT_HIGHLIGHT_HIDDEN, TRUE);
        paint();
        EXPECT_EQ(0, dib.count(kRed));
        const int outline = dib.count(kWsHiddenOutlineColour);
        EXPECT_GT(outline, 96) << "a dotted outline around the square";
        EXPECT_EQ(outline, count(kWsHiddenOutlineColour, 94, 94, 195, 195) -
                               count(kWsHiddenOutlineColour, 99, 99, 189, 189))
            << "only on the square's edge";
        layResetGlobal();
    }
}

TEST_F(Paint, TheBasePageDrawsUnderThePageUnlessThePageSaysNot)
{
    MemHandle base = pgtest::newPage("base");
    pgAppendObject(base, square(kInch, kInch, kInch, kBlue));
    fmSetBasePage(form, base);
    pgAppendObject(page(), square(kInch + kInch / 2, kInch, kInch, kRed));
    paint();
    EXPECT_EQ(kBlue, dib.pixel(110, 140));
    EXPECT_EQ(kRed, dib.pixel(170, 140)) << "the page's object lies on top";

    pgSetShowsBasePage(page(), FALSE);
    paint();
    EXPECT_EQ(0, dib.count(kBlue));
    EXPECT_EQ(kRed, dib.pixel(170, 140));

    // The base page shown itself is not drawn under itself twice.
    pgSetShowsBasePage(page(), TRUE);
    ASSERT_EQ(1, pvGoToPage(ws, -1));
    paint();
    EXPECT_EQ(kBlue, dib.pixel(110, 140));
    EXPECT_EQ(0, dib.count(kRed));
}

TEST_F(Paint, AWhitePageIsFilledOnScreenAndNotWhenPrinting)
{
    const COLORREF desk = setGetWorkspaceBkColor();
    ASSERT_NE(kWhite, desk);
    wsSetScrollOrigin(ws, -50, -50);
    paint(FALSE);
    EXPECT_EQ(kWhite, dib.pixel(150, 150));
    EXPECT_EQ(desk, dib.pixel(20, 20)) << "the desk beyond the page";
    paint(TRUE);
    EXPECT_EQ(desk, dib.pixel(150, 150)) << "a white page is not filled when printing";

    PgLock(page()).data()->pageColour = kYellow;
    paint(TRUE);
    EXPECT_EQ(kYellow, dib.pixel(150, 150)) << "a coloured page is";
}

TEST_F(Paint, TheObjectBeingEditedIsLeftToItsEditor)
{
    MemHandle h = square(kInch, kInch, kInch, kRed);
    pgAppendObject(page(), h);
    wsSetCurrentObject(ws, h);
    struct Case {
        uint16_t mode;
        bool drawn;
    } cases[] = {{TM_NONE, true}, {TM_TEXT, false}, {TM_TEXT_A, false}, {TM_TABLE, false},
                 {TM_NOTE, false}, {TM_CREATE, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        wsSetToolModeWord(ws, c.mode);
        paint();
        EXPECT_EQ(c.drawn ? 96 * 96 : 0, count(kRed, 96, 96, 192, 192));
        EXPECT_FALSE(obIsHidden(h)) << "the hidden mark is cleared again";
    }
    // In select mode the current object's handles are drawn over it.
    wsSetToolModeWord(ws, TM_NONE);
    paint();
    qmtest::Dib plain(300, 300);
    BitBlt(plain.dc(), 0, 0, 300, 300, dib.dc(), 0, 0, SRCCOPY);
    wsSetToolModeWord(ws, TM_SELECT);
    paint();
    EXPECT_GT(dib.diff(plain), 0) << "the selection handles";
    EXPECT_GT(count(kRed, 96, 96, 192, 192), 96 * 96 - 400);

    // An edited object the user had hidden stays hidden.
    setFlags(h, OBF_HIDDEN);
    wsSetToolModeWord(ws, TM_TEXT);
    paint();
    EXPECT_TRUE(obIsHidden(h));
    wsSetToolModeWord(ws, TM_NONE);
}

TEST_F(Paint, GridStylesAndAnEmptyPaintRectangle)
{
    {
        FmLock r(form);
        r->viewFlags = 8;
    }
    paint();
    EXPECT_GT(dib.count(kWsGridUnit), 0);
    EXPECT_GT(dib.count(kWsGridFine), 0);
    EXPECT_NE(kWsGridFine, dib.pixel(140, 96)) << "the whole-inch line is the darker one";
    {
        FmLock r(form);
        r->viewFlags = 1;
    }
    paint();
    const int dots = count(kWsGridDots, 0, 0, 96, 96);
    EXPECT_GT(dots, 3) << "red points at the crossings";
    EXPECT_LT(dots, 96 * 4) << "points, not lines";
    EXPECT_EQ(0, dib.count(kWsGridUnit));
    {
        FmLock r(form);
        r->viewFlags = 0;
    }
    paint();
    EXPECT_EQ(0, dib.count(kWsGridUnit));

    // A paint rectangle without height draws nothing.
    dib.fill(RGB(1, 2, 3));
    RECT flat = {0, 10, 300, 10};
    wsPaintBody(ws, dib.dc(), &flat, FALSE);
    EXPECT_EQ(300 * 300, dib.count(RGB(1, 2, 3)));
}

TEST_F(Paint, AnInactiveWorkspaceLeavesTheInstalledShadowStyleAndLayers)
{
    ShadowStyle mine = {40, 60, RGB(9, 9, 9)};
    ShadowStyle before = obSetShadowStyle(&mine);
    PgLock(page()).data()->shadowStyle[0] = 77;
    // Another document becomes the active one.
    HWND second = fcNewDocument(frame);
    ASSERT_TRUE(second != nullptr);
    pump();
    ASSERT_NE(ws, appGetActiveWorkspace());
    obSetShadowStyle(&mine);
    paint();
    ShadowStyle now = obSetShadowStyle(&mine);
    EXPECT_EQ(40, now.dx) << "put back after painting another window";
    EXPECT_EQ(60, now.dy);
    obSetShadowStyle(&before);
}

TEST_F(Paint, HiddenOutlinesSkipTheEditedObjectAndMissTheClip)
{
    MemHandle a = square(kInch, kInch, kInch, kRed), b = square(0, 0, kInch / 2, kRed);
    setFlags(a, OBF_HIDDEN);
    setFlags(b, OBF_HIDDEN);
    pgAppendObject(page(), a);
    pgAppendObject(page(), b);
    wsApplyViewMapping(ws);
    dmSetMapping(dib.dc());
    dib.fill(kWhite);
    RECT clip = {kInch, kInch, 2 * kInch, 2 * kInch};
    wsDrawHiddenOutlines(dib.dc(), &clip, a, 0);
    EXPECT_GT(count(kWsHiddenOutlineColour, 94, 94, 195, 195), 0);
    EXPECT_EQ(0, count(kWsHiddenOutlineColour, 0, 0, 60, 60)) << "outside the clip";
    dib.fill(kWhite);
    wsDrawHiddenOutlines(dib.dc(), nullptr, a, a);
    EXPECT_EQ(0, count(kWsHiddenOutlineColour, 94, 94, 195, 195)) << "the skipped object";
    EXPECT_GT(count(kWsHiddenOutlineColour, 0, 0, 60, 60), 0);
}

}  // namespace
