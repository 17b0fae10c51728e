// Scrolling, the continuous view, zoom and the page navigation bars of a
// document window of the program started in-process: the scroll and bar
// arithmetic, stepping into the neighbouring pages, the wheel, View Scale
// and its dialog, the zoom-rectangle tool, the bars and their page field,
// the page tip, bringing rectangles into view, drag auto-scrolling and the
// drawing of the continuous view.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "app/ws_paint.h"
#include "controls/pal_window.h"
#include "model/pg_palette.h"
#include "model/pg_record.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "support/dm_map.h"
#include "support/win_flash.h"
#include "support/win_mouse.h"
#include "support/win_dlgfield.h"
#include "views/dw_window.h"
#include "views/nb_navbar.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "views/ws_zoom.h"
#include <string.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::DialogDriver;

// ---- arithmetic ----------------------------------------------------------------------------

TEST(ScrollArithmetic, ClampKeepsThePositionWithinTheRangeLessThePage)
{
    struct Case {
        int32_t min, max, page, pos, d, want;
    } cases[] = {
        {0, 1000, 200, 0, 50, 50},
        {0, 1000, 200, 750, 100, 51},     // largest position max - (page - 1) = 801
        {0, 1000, 200, 801, 10, 0},
        {0, 1000, 200, 900, 10, 0},       // past the largest: the bound never goes below 0
        {0, 1000, 200, 900, -50, -50},
        {0, 1000, 200, 30, -50, -30},     // not below the minimum
        {0, 1000, 1, 990, 50, 10},        // page - 1 below 1: the maximum itself
        {0, 1000, 0, 990, 50, 10},
        {-96, 500, 100, -50, -100, -46},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.want, wsClampScrollDistance(c.min, c.max, c.page, c.pos, c.d))
            << c.min << ".." << c.max << " page " << c.page << " pos " << c.pos << " d " << c.d;
}

TEST(ScrollArithmetic, BarDistanceForEveryCode)
{
    // Range 0..1000, page 200, position 300, track 450, line 24.
    struct Case {
        int code;
        int32_t want;
    } cases[] = {
        {SB_LINEUP, -24},       {SB_LINEDOWN, 24},  {SB_PAGEUP, -200},    {SB_PAGEDOWN, 200},
        {SB_THUMBPOSITION, 150}, {SB_THUMBTRACK, 150}, {SB_TOP, -300}, {SB_BOTTOM, 500},
        {SB_ENDSCROLL, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.want, nbScrollDistance(c.code, 0, 1000, 200, 300, 450, 24)) << "code " << c.code;
    // Clamped to at most (max - page) - (pos - 1) and at least min - pos.
    EXPECT_EQ(101, nbScrollDistance(SB_PAGEDOWN, 0, 1000, 200, 700, 0, 24));
    EXPECT_EQ(-10, nbScrollDistance(SB_PAGEUP, 0, 1000, 200, 10, 0, 24));
    EXPECT_EQ(0, nbScrollDistance(SB_THUMBTRACK, 0, 1000, 200, 300, 300, 24));
}

TEST(ScrollArithmetic, RevealOffsetAndPageGapByUnit)
{
    struct Reveal {
        int32_t lo, hi, a, b, want;
    } reveals[] = {
        {0, 100, 10, 90, 0},      // inside
        {0, 100, -50, 200, -50},  // at least as long as the view: its start to the view's start
        {0, 100, 150, 170, 110},  // midpoints
        {0, 100, -40, -20, -80},
        {0, 100, 90, 130, 60},
    };
    for (const Reveal &r : reveals)
        EXPECT_EQ(r.want, wsRevealOffset(r.lo, r.hi, r.a, r.b)) << r.a << ".." << r.b;
    const std::pair<int, int32_t> gaps[] = {{1, 100}, {2, 1440}, {3, 1440}, {4, 1440},
                                            {5, 567}, {6, 567}, {9, 1440}, {0, 1440}};
    for (auto &g : gaps)
        EXPECT_EQ(g.second, wsPageGapForUnit(g.first)) << "unit " << g.first;
}

TEST(ScrollArithmetic, PageFieldButtonsAndZoomSteps)
{
    EXPECT_EQ(2, nbParsePageField("3 abc", 5));
    EXPECT_EQ(4, nbParsePageField("5", 5));
    EXPECT_EQ(-1, nbParsePageField("0", 5));
    EXPECT_EQ(-1, nbParsePageField("9", 5));
    EXPECT_EQ(-1, nbParsePageField("x3", 5));
    EXPECT_EQ(-1, nbParsePageField("", 5));
    BOOL back, forward;
    nbButtonStates(5, 1, &back, &forward);
    EXPECT_TRUE(back && forward);
    nbButtonStates(5, 0, &back, &forward);
    EXPECT_TRUE(!back && forward);
    nbButtonStates(5, 4, &back, &forward);
    EXPECT_TRUE(back && !forward);
    nbButtonStates(1, 0, &back, &forward);
    EXPECT_TRUE(!back && !forward);
    nbButtonStates(5, -1, &back, &forward);
    EXPECT_TRUE(!back && !forward) << "the base page";

    EXPECT_EQ(800, wsZoomStepPercent(800, 10));
    EXPECT_EQ(10, wsZoomStepPercent(10, -10)) << "90 x 10 / 100 = 9 is raised to 10";
    EXPECT_EQ(110, wsZoomStepPercent(100, 10));
    EXPECT_EQ(100, wsZoomStepPercent(100, 101));
    EXPECT_EQ(250, wsZoomRectPercent(50, -100, 1000, 800, 400, 200)) << "fit mode: from 100";
    EXPECT_EQ(125, wsZoomRectPercent(50, -1, 1000, 800, 400, 200));
    EXPECT_EQ(800, wsZoomRectPercent(400, -1, 1000, 800, 10, 10));
    EXPECT_EQ(0, wsZoomRectPercent(100, -1, 1000, 800, 0, 10));
    EXPECT_EQ(10, wsClampZoom(1));
    EXPECT_EQ(800, wsClampZoom(50000));
}

TEST(ScrollArithmetic, PageStepRule)
{
    // Client 400 pixels high; page 1 of 3 current unless said.
    auto base = [] {
        WsPageStepInput in = {};
        in.style = WS_SCROLL_CONTINUOUS;
        in.index = 0;
        in.count = 3;
        in.d = 40;
        in.code = SB_LINEDOWN;
        in.allowChange = TRUE;
        in.at = 0;
        in.pageTop = -100;
        in.pageBottom = 300;
        in.clientHeight = 400;
        return in;
    };
    struct Case {
        const char *what;
        WsPageStepInput in;
        int action, command;
        uint32_t lParam;
    };
    std::vector<Case> cases;
    {
        WsPageStepInput in = base();
        in.fitPage = TRUE;
        cases.push_back({"fit page, down, first page", in, WS_STEP_POST, 618, 0});
        in.index = 2;
        cases.push_back({"fit page, down, last page", in, WS_STEP_NOTHING, 0, 0});
        in.d = -40;
        cases.push_back({"fit page, up, last page", in, WS_STEP_POST, 617, 0});
        in.index = 0;
        cases.push_back({"fit page, up, first page", in, WS_STEP_NOTHING, 0, 0});
    }
    {
        WsPageStepInput in = base();
        in.index = 1;
        in.d = -300;
        in.code = SB_THUMBPOSITION;
        in.at = 0;
        cases.push_back({"thumb up onto page 1", in, WS_STEP_POST, 619, 0xFFFF0000u});
        in.code = SB_LINEUP;
        in.pageTop = 50;
        cases.push_back({"up, the page stays in view", in, WS_STEP_SCROLL, 0, 0});
        in.pageTop = 150;
        in.d = -260;
        cases.push_back({"up, the page leaves downward", in, WS_STEP_POST, 619, 0xFFFF0000u});
        in.style = WS_SCROLL_PAGED;
        in.pageTop = -20;
        cases.push_back({"paged, up, page top above the view", in, WS_STEP_PAGE_TOP, 0, 0});
        in.pageTop = 0;
        cases.push_back({"paged, up, page top in view", in, WS_STEP_POST, 619, 0xFFFF0000u});
        in.allowChange = FALSE;
        cases.push_back({"no page changes", in, WS_STEP_SCROLL, 0, 0});
    }
    {
        WsPageStepInput in = base();
        in.code = SB_THUMBPOSITION;
        in.at = 2;
        cases.push_back({"thumb down onto page 3", in, WS_STEP_POST, 619, 2});
        in.code = SB_LINEDOWN;
        in.at = 0;
        in.pageBottom = 30;
        in.d = 20;
        cases.push_back({"down, the page bottom stays", in, WS_STEP_SCROLL, 0, 0});
        in.pageBottom = 20;
        in.d = 40;
        cases.push_back({"down, the page bottom leaves upward", in, WS_STEP_POST, 618, 0});
        in.style = WS_SCROLL_PAGED;
        in.pageBottom = 400;
        cases.push_back({"paged, page bottom in view", in, WS_STEP_POST, 618, 0});
        in.index = 2;
        cases.push_back({"last page", in, WS_STEP_SCROLL, 0, 0});
    }
    for (const Case &c : cases) {
        const WsPageStep s = wsPageStepRule(c.in);
        EXPECT_EQ(c.action, s.action) << c.what;
        if (c.action == WS_STEP_POST) {
            EXPECT_EQ(c.command, s.command) << c.what;
            EXPECT_EQ(c.lParam, (uint32_t)s.lParam) << c.what;
        }
    }
    // The bar's thumb track at the fit page only names the page for the tip.
    WsPageStepInput in = base();
    in.fitPage = TRUE;
    in.bar = TRUE;
    in.code = SB_THUMBTRACK;
    in.at = 2;
    const WsPageStep s = wsPageStepRule(in);
    EXPECT_EQ(WS_STEP_NOTHING, s.action);
    EXPECT_EQ(2, s.tip);
}

// ---- on a document window ------------------------------------------------------------------------

std::vector<std::string> pageNames(int n)
{
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.push_back("p" + std::to_string(i + 1));
    return names;
}

TEST(ScrollArithmetic, AutoScrollAtTheEdgeStepsWholeAndStopsAtThePageWidth)
{
    const RECT client = {0, 0, 300, 200};
    struct Case {
        POINT pt;
        int32_t pageWidth, posX;
        int32_t dx, dy;
    } cases[] = {
        {{150, 100}, 1000, 0, 0, 0},       // inside
        {{300, 100}, 1000, 0, 48, 0},      // one pixel outside: one whole step
        {{349, 100}, 1000, 0, 96, 0},
        {{-1, 100}, 1000, 0, -48, 0},
        {{-49, -3}, 1000, 0, -96, -48},
        {{10, 250}, 1000, 0, 0, 96},       // downwards never limited by the width
        {{300, 100}, 1000, 690, 10, 0},    // up to page width - client width only
        {{400, 100}, 1000, 700, 0, 0},
        {{400, 100}, 1000, 800, 0, 0},     // already past: never backwards
        {{400, 100}, 200, 0, 0, 0},        // a page narrower than the window
    };
    for (const Case &c : cases) {
        int32_t dx, dy;
        wsAutoScrollAtEdge(&client, c.pt, 48, 48, c.pageWidth, c.posX, &dx, &dy);
        EXPECT_EQ(c.dx, dx) << c.pt.x << "," << c.pt.y << " at " << c.posX;
        EXPECT_EQ(c.dy, dy) << c.pt.x << "," << c.pt.y << " at " << c.posX;
    }
}

class Scroll : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;
    BYTE savedKeys[256];

    void SetUp() override
    {
        App::SetUp();
        GetKeyboardState(savedKeys);
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        pump();
    }
    void TearDown() override
    {
        SetKeyboardState(savedKeys);
        wsResetScrollModule();
        App::TearDown();
        dwResetModule();
    }

    // A document of n pages in the style at the zoom (code and percent).
    void load(int pages, uint16_t style, int16_t code, int32_t percent = 100)
    {
        form = pgtest::docWithPages(pageNames(pages));
        pvReleaseDocument(ws);
        wsSetScrollStyle(ws, style);
        wsSetZoomCode(ws, code);
        wsSetZoomPercent(ws, percent);
        pvSetDocument(ws, form, 0);
        pump();
    }
    // The page command 619, as the bars and the page field send it.
    void go(int index)
    {
        SendMessageA(ws, WM_COMMAND, 619, (LPARAM)(uint16_t)index);
        pump();
    }
    // The WM_COMMAND messages waiting for a window, taken off its queue.
    std::vector<std::pair<int, uint32_t>> posted(HWND w)
    {
        std::vector<std::pair<int, uint32_t>> out;
        MSG m;
        while (PeekMessageA(&m, w, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            out.push_back({LOWORD(m.wParam), (uint32_t)m.lParam});
        return out;
    }
    bool postedPageCommand(HWND w)
    {
        for (auto &c : posted(w))
            if (c.first == 617 || c.first == 618 || c.first == 619)
                return true;
        return false;
    }
    int32_t originY()
    {
        int32_t x, y;
        wsGetScrollOrigin(ws, &x, &y);
        return y;
    }
    int32_t originX()
    {
        int32_t x, y;
        wsGetScrollOrigin(ws, &x, &y);
        return x;
    }
    int16_t storedCode()
    {
        WorkspaceRecord *rec = wsLockRecord(ws);
        int16_t code = rec ? rec->zoomCode : 0;
        wsUnlockRecord(ws);
        return code;
    }
    void ctrl(bool down)
    {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(keys);
    }
    SIZE client()
    {
        RECT r;
        GetClientRect(ws, &r);
        return SIZE{r.right, r.bottom};
    }
};

TEST_F(Scroll, FitPageStepsPagesInsteadOfScrollingAndAOnePageDocumentNeverSteps)
{
    load(3, WS_SCROLL_CONTINUOUS, -100);
    posted(ws);
    const int32_t before = originY();
    EXPECT_EQ(0, wsScrollDevY(ws, 40, SB_LINEDOWN, TRUE));
    auto commands = posted(ws);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(618, commands[0].first);
    EXPECT_EQ(before, originY()) << "nothing scrolls";

    go(2);
    posted(ws);
    wsScrollDevY(ws, 40, SB_LINEDOWN, TRUE);
    EXPECT_FALSE(postedPageCommand(ws)) << "the last page does nothing";

    // Not at the fit page: a thumb position up onto page 1 asks for page 1
    // with its bottom in view.
    load(3, WS_SCROLL_CONTINUOUS, -1, 100);
    go(1);
    posted(ws);
    ASSERT_GT(originY(), 0);
    EXPECT_EQ(0, wsScrollDevY(ws, -originY(), SB_THUMBPOSITION, TRUE));
    commands = posted(ws);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(619, commands[0].first);
    EXPECT_EQ(0xFFFF0000u, commands[0].second);

    for (int16_t code : {(int16_t)-100, (int16_t)-1}) {
        for (uint16_t style : {WS_SCROLL_SINGLE, WS_SCROLL_CONTINUOUS}) {
            load(1, style, code);
            posted(ws);
            for (int d : {40, -40, 4000, -4000})
                for (int c : {SB_LINEDOWN, SB_THUMBPOSITION})
                    wsScrollDevY(ws, d, c, TRUE);
            wsScrollYWithPageChange(ws, 500);
            wsScrollYWithPageChange(ws, -500);
            EXPECT_FALSE(postedPageCommand(ws)) << "code " << code << " style " << style;
        }
    }
}

TEST_F(Scroll, TheCommandHandlersKeepTheRulesOfTheirCommands)
{
    // The page-step rule at the fit page: a downward step on page 1 of 3
    // posts 618 and scrolls nothing, by each of the names that run it.
    struct Case {
        const char *name;
        std::function<void()> call;
    } downward[] = {
        {"wsScrollPagesY", [&] { EXPECT_EQ(0, wsScrollPagesY(ws, 40, SB_LINEDOWN, TRUE, FALSE)); }},
        {"wsPageStepOnBarScroll", [&] { wsPageStepOnBarScroll(ws, 40, SB_LINEDOWN); }},
        {"wsScrollVBy", [&] { EXPECT_EQ(1, wsScrollVBy(ws, 40, SB_LINEDOWN)); }},
        {"wsSetVScrollOrigin",
         [&] { EXPECT_EQ(1, wsSetVScrollOrigin(ws, originY() + 40, SB_LINEDOWN)); }},
    };
    for (const Case &c : downward) {
        load(3, WS_SCROLL_CONTINUOUS, -100);
        posted(ws);
        const int32_t before = originY();
        c.call();
        auto commands = posted(ws);
        ASSERT_EQ(1u, commands.size()) << c.name;
        EXPECT_EQ(618, commands[0].first) << c.name;
        EXPECT_EQ(before, originY()) << c.name << ": nothing scrolls";
    }
    // Not allowed to change pages, or one page only: nothing is posted.
    load(3, WS_SCROLL_CONTINUOUS, -100);
    posted(ws);
    wsScrollPagesY(ws, 40, SB_LINEDOWN, FALSE, FALSE);
    EXPECT_FALSE(postedPageCommand(ws));
    load(1, WS_SCROLL_CONTINUOUS, -100);
    posted(ws);
    wsScrollVBy(ws, 40, SB_LINEDOWN);
    wsSetVScrollOrigin(ws, originY() + 40, SB_LINEDOWN);
    EXPECT_FALSE(postedPageCommand(ws));

    // Horizontally: the origin set (30) and moved by a distance (32).
    load(1, WS_SCROLL_SINGLE, -1, 400);
    EXPECT_EQ(1, wsSetHScrollOrigin(ws, 30));
    EXPECT_EQ(30, originX());
    EXPECT_EQ(1, wsScrollHBy(ws, 12));
    EXPECT_EQ(42, originX());
    EXPECT_EQ(0, wsScrollHBy(ws, 0));
    SendMessageA(doc, WM_COMMAND, 30, 5);   // the bottom bar's command reaches the same
    EXPECT_EQ(5, originX());

    // The neighbour pages of the continuous view: one gap below and above.
    load(3, WS_SCROLL_CONTINUOUS, -1, 10);
    go(1);
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    const int32_t gap = wsGetPageGap(ws);
    int32_t top = 0;
    EXPECT_EQ(2, wsHitNeighbourPage(ws, &page, POINT{page.left + 100, page.bottom + gap + 100},
                                    &top));
    EXPECT_EQ(page.bottom + gap, top);
    EXPECT_EQ(0, wsHitNeighbourPage(ws, &page, POINT{page.left + 100, page.top - gap - 100},
                                    &top));
    EXPECT_EQ(-1, wsHitNeighbourPage(ws, &page, POINT{page.left + 100, page.bottom + gap / 2},
                                     &top))
        << "the gap";
    go(0);
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    EXPECT_EQ(-1, wsHitNeighbourPage(ws, &page, POINT{page.left + 100, page.top - gap - 100},
                                     &top))
        << "nothing above the first page";

    // The page palette record: the colour menu's colours, flag 64.
    int16_t count = 0;
    MemHandle colours = clrGetColors(&count);
    utFreeHandle(colours);
    pvBuildPagePalette(ws);
    MemHandle block = 0;
    {
        PgLock p(pvGetCurrentPage(ws));
        ASSERT_TRUE(p);
        block = p.data()->paletteBlock;
    }
    if (count > 0) {
        ASSERT_TRUE(block);
        MemLock<uint8_t> b(block);
        PagePaletteHead head;
        memcpy(&head, b.get(), sizeof head);
        EXPECT_EQ(64u, head.flag);
        EXPECT_EQ(count, (int16_t)head.count);
        EXPECT_EQ(10u + 4u * (uint32_t)count, head.size);
    }
}

TEST_F(Scroll, TheWheelZoomsWithCtrlWithinTheLimitsAndScrolls120PixelsANotch)
{
    load(1, WS_SCROLL_SINGLE, -1, 100);
    POINT centre = {client().cx / 2, client().cy / 2};
    ClientToScreen(ws, &centre);
    const LPARAM at = MAKELPARAM(centre.x, centre.y);

    ctrl(true);
    wsSetZoomCode(ws, 800);
    wsSetZoomPercent(ws, 800);
    const int32_t x = originX(), y = originY();
    SendMessageA(ws, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120), at);
    EXPECT_EQ(800, wsGetZoomPercent(ws));
    EXPECT_EQ(x, originX());
    EXPECT_EQ(y, originY());

    wsSetZoomCode(ws, 10);
    wsSetZoomPercent(ws, 10);
    SendMessageA(ws, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), at);
    EXPECT_EQ(10, wsGetZoomPercent(ws));
    wsSetZoomPercent(ws, 100);
    SendMessageA(ws, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, (WORD)-120), at);
    EXPECT_EQ(90, wsGetZoomPercent(ws));
    ctrl(false);

    wsSetZoomCode(ws, -1);
    wsSetZoomPercent(ws, 100);
    wsUpdateScrollRanges(ws, FALSE);
    wsSetScrollPos(ws, originX(), 0);
    SendMessageA(ws, WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), at);
    EXPECT_EQ(120, originY()) << "a notch down";
    SendMessageA(ws, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), at);
    EXPECT_EQ(0, originY());
}

TEST_F(Scroll, ViewScaleAsksInThePercentDialogAndClampsWhatItStores)
{
    load(1, WS_SCROLL_SINGLE, -1, 100);
    BoxRecorder boxes;
    std::string caption;
    auto typeAndOk = [](const char *text) {
        return [text](HWND dlg) {
            SetDlgItemTextA(dlg, 100, text);
            qmtest::sendCommand(dlg, IDOK);
        };
    };
    {
        DialogDriver driver({[&](HWND dlg) { caption = qmtest::windowText(dlg); },
                             typeAndOk("0"), typeAndOk("ab"), typeAndOk("150")});
        SendMessageA(ws, WM_COMMAND, 179, 0);
        EXPECT_FALSE(driver.leftOpen());
    }
    EXPECT_EQ("View Scale", caption);
    ASSERT_EQ(2u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Must be greater than 0", boxes.boxes()[0].text);
    EXPECT_EQ("Must be an integer", boxes.boxes()[1].text);
    EXPECT_EQ(-300, storedCode());
    EXPECT_EQ(150, wsGetZoomPercent(ws));

    // A percentage far above the limits is held at 800.
    {
        DialogDriver driver({typeAndOk("50000")});
        wsCmdViewScale(ws);
    }
    EXPECT_EQ(800, wsGetZoomPercent(ws));
    // Cancel changes nothing; the spin steps by 5 and wraps at 400.
    {
        DialogDriver driver({[](HWND dlg) {
            SetDlgItemTextA(dlg, 100, "400");
            SendMessageA(dlg, WM_VSCROLL, SB_LINEUP, (LPARAM)GetDlgItem(dlg, 101));
            EXPECT_EQ("0", qmtest::windowText(GetDlgItem(dlg, 100)));
            qmtest::sendCommand(dlg, IDCANCEL);
        }});
        EXPECT_EQ(0, wsCmdViewScale(ws));
    }
    EXPECT_EQ(800, wsGetZoomPercent(ws));
}

TEST_F(Scroll, TheZoomToolDraggedAtFitPageZoomsFromAHundredAndEnds)
{
    load(1, WS_SCROLL_SINGLE, -100);
    ASSERT_EQ(-100, wsGetZoomCode(ws));
    SendMessageA(ws, WM_COMMAND, 180, 0);
    pump();
    ASSERT_EQ(TM_ZOOM_RECT, wsGetToolMode(ws));
    const SIZE c = client();
    PostMessageA(ws, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageA(ws, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(70, 60));
    PostMessageA(ws, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(120, 100));
    PostMessageA(ws, WM_LBUTTONUP, 0, MAKELPARAM(120, 100));
    pump();
    const double factor = std::min(c.cx / 100.0, c.cy / 80.0);
    const int32_t want = wsClampZoom((int32_t)(100 * factor));
    EXPECT_NEAR(want, wsGetZoomPercent(ws), want / 50) << "twips rounding only";
    EXPECT_EQ(-200, storedCode());
    EXPECT_NE(TM_ZOOM_RECT, wsGetToolMode(ws)) << "the tool ended";
}

TEST_F(Scroll, TheNavigationBarsShowThePageAndGoToTheTypedOne)
{
    load(5, WS_SCROLL_SINGLE, -1);
    HWND bottom = dwGetBottomBar(doc), right = dwGetRightBar(doc);
    ASSERT_TRUE(bottom && right);
    char cls[16];
    GetClassNameA(bottom, cls, sizeof cls);
    EXPECT_STREQ("#32770", cls);
    EXPECT_TRUE(GetWindowLongA(bottom, GWL_STYLE) & WS_CHILD) << "modeless, inside the window";
    EXPECT_TRUE(GetDlgItem(right, NB_VSCROLL) && GetDlgItem(bottom, NB_HSCROLL));

    go(1);
    EXPECT_EQ("2 of 5", qmtest::windowText(GetDlgItem(bottom, NB_FIELD)));
    for (int id : {NB_FIRST, NB_PREV, NB_NEXT, NB_LAST})
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(bottom, id))) << id;
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(right, NB_STYLE)));
    go(0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(bottom, NB_FIRST)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(bottom, NB_PREV)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(bottom, NB_NEXT)));

    HWND field = GetDlgItem(bottom, NB_FIELD);
    posted(doc);
    SetWindowTextA(field, "3 abc");
    SendMessageA(field, WM_CHAR, '\r', 0);
    auto commands = posted(doc);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(619, commands[0].first);
    EXPECT_EQ(2u, commands[0].second);
    for (const char *bad : {"0", "9", "x"}) {
        SetWindowTextA(field, bad);
        SendMessageA(field, WM_CHAR, '\r', 0);
        EXPECT_TRUE(posted(doc).empty()) << bad;
    }
    // Typed and sent through the document window, the page changes.
    SetWindowTextA(field, "4");
    SendMessageA(field, WM_CHAR, '\t', 0);
    pump();
    EXPECT_EQ(3, pvGetCurrentPageIndex(ws));
    EXPECT_EQ("4 of 5", qmtest::windowText(field));

    // A button goes through the document window to the workspace.
    qmtest::pressButton(bottom, NB_FIRST);
    pump();
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));

    fmSetBasePage(form, pgtest::newPage());
    pvGoToPage(ws, -1);
    pump();
    EXPECT_EQ("Base Page", qmtest::windowText(field));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(right, NB_STYLE)));
    for (int id : {NB_FIRST, NB_PREV, NB_NEXT, NB_LAST})
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(bottom, id))) << id;
}

TEST_F(Scroll, TheThumbTipNamesThePageAndThePageChangesOnlyOnRelease)
{
    load(5, WS_SCROLL_CONTINUOUS, -100);
    posted(ws);
    // The thumb dragged into the fourth page.
    const int32_t target = wsGetPageOffset(ws, 3) + 5;
    const int32_t d = target - originY();
    SendMessageA(doc, WM_COMMAND, 37, MAKELPARAM((WORD)(int16_t)d, SB_THUMBTRACK));
    HWND tip = wsGetPageTip();
    ASSERT_TRUE(tip);
    char text[32];
    winFlashTextGet(tip, text, sizeof text);
    EXPECT_STREQ("4 of 5", text);
    EXPECT_FALSE(postedPageCommand(ws));
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));

    SendMessageA(doc, WM_COMMAND, 39, target);
    EXPECT_FALSE(wsGetPageTip()) << "the tip goes";
    pump();
    EXPECT_EQ(3, pvGetCurrentPageIndex(ws));
}

TEST_F(Scroll, RectanglesComeIntoViewAndDragsScrollWholeStepsWithinTheRange)
{
    load(1, WS_SCROLL_SINGLE, -1, 100);
    wsUpdateScrollRanges(ws, FALSE);
    wsSetScrollPos(ws, 0, 0);
    wsApplyViewMapping(ws);
    RECT view;
    dmGetClientLogRect(ws, &view);
    // A rectangle with a corner in the view stays where it is.
    RECT corner = {view.right - 100, view.bottom - 100, view.right + 2000, view.bottom + 2000};
    EXPECT_EQ(0, wsScrollToRect(ws, &corner));
    EXPECT_EQ(0, originY());
    // One lying below the view comes in.
    RECT below = {view.left + 100, view.bottom + 3000, view.left + 400, view.bottom + 3300};
    EXPECT_EQ(1, wsScrollToRect(ws, &below));
    EXPECT_GT(originY(), 0);

    // A drag one pixel below the window scrolls one whole step.
    wsSetScrollPos(ws, 0, 0);
    wsApplyViewMapping(ws);
    const int32_t step = dmGetUnitPixelsY() / 2;
    const SIZE c = client();
    POINT pt = {c.cx / 2, c.cy};
    EXPECT_EQ(1, wsDragAutoScroll(ws, &pt));
    EXPECT_EQ(step, originY());
    EXPECT_EQ(c.cy - step, pt.y) << "the point moves back by the distance";

    // Far below, never past the range.
    int32_t min, max;
    wsGetVScrollRange(ws, &min, &max);
    const int32_t largest = max - (wsGetVScrollPage(ws, TRUE) - 1);
    for (int i = 0; i < 30; ++i) {
        POINT away = {c.cx / 2, c.cy + 500};
        wsDragAutoScroll(ws, &away);
    }
    EXPECT_EQ(largest, originY());
    POINT inside = {c.cx / 2, c.cy / 2};
    EXPECT_EQ(0, wsDragAutoScroll(ws, &inside));
}

TEST_F(Scroll, TheContinuousViewDrawsTheNeighboursOneGapAwayAndErasingSparesThePage)
{
    load(3, WS_SCROLL_CONTINUOUS, -1, 10);
    go(1);
    ASSERT_EQ(1, pvGetCurrentPageIndex(ws));
    // Page 2's top at device y 150 and its left at x 50.
    wsSetScrollOrigin(ws, -50, wsGetCurrentPageOffset(ws) - 150);
    wsApplyViewMapping(ws);
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    const int32_t h = dmLogToDevH(page.bottom - page.top);
    const int32_t gap = dmLogToDevH(wsGetPageGap(ws));
    ASSERT_GT(gap, 4);
    qmtest::Dib dib(300, 450, RGB(1, 2, 3));
    RECT all = {0, 0, 300, 450};
    wsPaintBody(ws, dib.dc(), &all, FALSE);
    const COLORREF desk = setGetWorkspaceBkColor();
    const COLORREF white = RGB(255, 255, 255);
    const int x = 90;
    EXPECT_EQ(white, dib.pixel(x, 160)) << "the current page";
    EXPECT_EQ(desk, dib.pixel(x, 150 - gap / 2)) << "the gap above it";
    EXPECT_EQ(white, dib.pixel(x, 150 - gap - 10)) << "the previous page's bottom";
    EXPECT_EQ(desk, dib.pixel(x, 150 + h + gap / 2 + 1)) << "the gap below it";
    EXPECT_EQ(white, dib.pixel(x, 150 + h + gap + 10)) << "the next page's top";

    // Erasing fills around the current page only.
    qmtest::Dib erased(300, 450, RGB(1, 2, 3));
    wsEraseBackground(ws, erased.dc());
    EXPECT_EQ(RGB(1, 2, 3), erased.pixel(x, 160));
    EXPECT_NE(RGB(1, 2, 3), erased.pixel(x, 140));
    EXPECT_NE(RGB(1, 2, 3), erased.pixel(10, 160));
}

TEST_F(Scroll, SwitchingToTheContinuousStyleKeepsThePageWhereItWas)
{
    load(3, WS_SCROLL_SINGLE, -1, 50);
    go(2);
    wsApplyViewMapping(ws);
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    const int32_t topBefore = dmLogToDevY(page.top);
    SendMessageA(ws, WM_COMMAND, 442, 0);
    EXPECT_EQ(WS_SCROLL_CONTINUOUS, wsGetScrollStyle(ws));
    EXPECT_GT(wsGetCurrentPageOffset(ws), 0);
    wsApplyViewMapping(ws);
    EXPECT_EQ(topBefore, dmLogToDevY(page.top));
    int32_t min, max;
    wsGetVScrollRange(ws, &min, &max);
    EXPECT_GE(max, wsGetPageBottom(ws, 2)) << "the range stacks every page";
    SendMessageA(ws, WM_COMMAND, 440, 0);
    EXPECT_EQ(WS_SCROLL_SINGLE, wsGetScrollStyle(ws));
    EXPECT_EQ(0, wsGetCurrentPageOffset(ws));
    wsApplyViewMapping(ws);
    EXPECT_EQ(topBefore, dmLogToDevY(page.top));
}

}  // namespace
