// The drag tracking loop: whole gestures are posted to a window standing in
// for the workspace and the queue is pumped; the window runs the loop when
// its button-down message arrives, as the tools do. The default mapping is
// 96 pixels to the inch at 100 percent: one pixel is 15 twips.
#include "tests/support/kit.h"
#include "commands/ep_track.h"
#include "app/mb_msgbar.h"
#include "views/ws_scroll.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include <functional>
#include <vector>

namespace {

const char kClass[] = "qm_test_track";
const int kPx = 15;   // twips per pixel

// What the window does on a button press, and what it saw.
struct TrackRun {
    std::function<int(HWND, UINT, LPARAM)> onPress;
    int result = -1;
    int presses = 0;
};
TrackRun *g_run = nullptr;

LRESULT CALLBACK trackProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (g_run && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) && g_run->onPress) {
        ++g_run->presses;
        g_run->result = g_run->onPress(w, msg, lp);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// A feedback that records every call and draws the rectangle into a bitmap
// with the loop's own pen and mix, so that an unbalanced draw shows.
struct FeedLog {
    std::vector<TrackPair> calls;
    qmtest::Dib *dib = nullptr;
    size_t stealAt = 0;        // take the capture away at this call (1-based); 0 never
    HWND thief = nullptr;      // the window that takes it (null: released)
};

int recordFeedback(HDC, const TrackPair *pair, LPARAM data)
{
    FeedLog *log = reinterpret_cast<FeedLog *>(data);
    log->calls.push_back(*pair);
    if (log->dib) {
        GdiObject<HPEN> pen(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
        GdiSelect sel(log->dib->dc(), pen);
        int rop = SetROP2(log->dib->dc(), R2_NOTXORPEN);
        trkDrawRect(log->dib->dc(), pair, 0);
        SetROP2(log->dib->dc(), rop);
    }
    if (log->stealAt && log->calls.size() == log->stealAt) {
        if (log->thief)
            SetCapture(log->thief);
        else
            ReleaseCapture();
    }
    return 1;
}

struct Msg {
    UINT msg;
    int x, y;
};

class Track : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = trackProc;
        wc.cbWndExtra = 36;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    static void TearDownTestSuite() { UnregisterClassA(kClass, GetModuleHandleA(nullptr)); }

    Track()
    {
        dmResetModule();
        window_ = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        qmtest::pumpUntilIdle();
        g_run = &run_;
        mbClearOrigin();
        mbClearPositionText();
    }
    ~Track() override
    {
        g_run = nullptr;
        winSetTickSource(nullptr);
        if (GetCapture())
            ReleaseCapture();
        DestroyWindow(window_);
        qmtest::pumpUntilIdle();
        dmResetModule();
    }

    void post(const std::vector<Msg> &gesture)
    {
        for (const Msg &m : gesture) {
            WPARAM keys = 0;
            if (m.msg == WM_LBUTTONDOWN || m.msg == WM_MOUSEMOVE)
                keys = MK_LBUTTON;
            PostMessageA(window_, m.msg, keys, MAKELPARAM(m.x, m.y));
        }
        qmtest::pumpUntilIdle();
    }

    // The loop with the recording feedback.
    void trackWith(FeedLog *log, BOOL snap = FALSE, int16_t divisions = 0, BOOL showSize = FALSE,
                   BOOL showPos = FALSE)
    {
        run_.onPress = [=](HWND w, UINT msg, LPARAM lp) {
            return epTrackMouseEx(w, msg, lp, snap, divisions, &pair_, recordFeedback,
                                  (LPARAM)log, showSize, 0, showPos);
        };
    }

    HWND window_ = nullptr;
    TrackRun run_;
    TrackPair pair_ = {-1, -1, -1, -1};
};

// ---- the loop ---------------------------------------------------------------------------------

TEST_F(Track, PressAndReleaseInPlaceReturnsZeroAndDrawsAndErasesOnce)
{
    qmtest::Dib dib(400, 400);
    dmSetMapping(dib.dc());
    FeedLog log;
    log.dib = &dib;
    trackWith(&log);
    post({{WM_LBUTTONDOWN, 100, 100}, {WM_LBUTTONUP, 100, 100}});
    EXPECT_EQ(1, run_.presses);
    EXPECT_EQ(0, run_.result);
    EXPECT_EQ(100 * kPx, pair_.x1);
    EXPECT_EQ(100 * kPx, pair_.y1);
    EXPECT_EQ(pair_.x1, pair_.x2);
    EXPECT_EQ(pair_.y1, pair_.y2);
    EXPECT_EQ(2u, log.calls.size());   // drawn, erased
    EXPECT_EQ(400 * 400, dib.count(RGB(255, 255, 255)));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(Track, DragReturnsTheEndPointAndLeavesNothingDrawn)
{
    qmtest::Dib dib(400, 400);
    dmSetMapping(dib.dc());
    FeedLog log;
    log.dib = &dib;
    trackWith(&log);
    post({{WM_LBUTTONDOWN, 100, 100},
          {WM_MOUSEMOVE, 150, 130},
          {WM_MOUSEMOVE, 196, 148},
          {WM_LBUTTONUP, 196, 148}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ((TrackPair{1500, 1500, 196 * kPx, 148 * kPx}.x2), pair_.x2);
    EXPECT_EQ(148 * kPx, pair_.y2);
    EXPECT_EQ(1500, pair_.x1);
    EXPECT_EQ(1500, pair_.y1);
    // Start, erase and draw for each of the two changes, final erase; the
    // draws follow the pointer.
    ASSERT_EQ(6u, log.calls.size());
    EXPECT_EQ(1500, log.calls[0].x2);
    EXPECT_EQ(1500, log.calls[1].x2);
    EXPECT_EQ(150 * kPx, log.calls[2].x2);
    EXPECT_EQ(150 * kPx, log.calls[3].x2);
    EXPECT_EQ(196 * kPx, log.calls[4].x2);
    EXPECT_EQ(196 * kPx, log.calls[5].x2);
    EXPECT_EQ(400 * 400, dib.count(RGB(255, 255, 255)));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(Track, TheReleasePositionIsTheEndPoint)
{
    FeedLog log;
    trackWith(&log);
    post({{WM_LBUTTONDOWN, 10, 10}, {WM_LBUTTONUP, 40, 70}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ(40 * kPx, pair_.x2);
    EXPECT_EQ(70 * kPx, pair_.y2);
}

TEST_F(Track, RightButtonDragEndsOnlyAtTheRightButtonUp)
{
    FeedLog log;
    trackWith(&log);
    post({{WM_RBUTTONDOWN, 20, 20},
          {WM_LBUTTONUP, 30, 30},
          {WM_MOUSEMOVE, 60, 50},
          {WM_RBUTTONUP, 80, 90},
          {WM_MOUSEMOVE, 200, 200}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ(80 * kPx, pair_.x2);
    EXPECT_EQ(90 * kPx, pair_.y2);
}

TEST_F(Track, LosingTheCaptureEndsTheLoop)
{
    struct Case {
        const char *name;
        bool toOtherWindow;
    } cases[] = {{"released", false}, {"taken by another window", true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HWND thief = CreateWindowExA(0, "static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        FeedLog log;
        log.stealAt = 2;   // at the first erase
        log.thief = c.toOtherWindow ? thief : nullptr;
        trackWith(&log);
        run_.result = -1;
        // No button-up at all: only the capture loss can end the loop.
        post({{WM_LBUTTONDOWN, 100, 100}, {WM_MOUSEMOVE, 150, 130}, {WM_MOUSEMOVE, 160, 170}});
        EXPECT_EQ(1, run_.result);
        EXPECT_EQ(150 * kPx, pair_.x2);
        // Drawn, erased and drawn at the change, then erased at the end.
        EXPECT_EQ(4u, log.calls.size());
        // A capture another window took stays with it.
        EXPECT_EQ(c.toOtherWindow ? thief : nullptr, GetCapture());
        if (GetCapture())
            ReleaseCapture();
        DestroyWindow(thief);
        qmtest::pumpUntilIdle();
    }
}

TEST_F(Track, ADragEndedOutsideTheFrameOrWithoutItsReleaseIsDropped)
{
    // The window is its own frame here: a top-level window of 400 x 400.
    struct Case {
        const char *name;
        std::vector<Msg> gesture;
        std::vector<int> results;   // one for each press the window ran the loop for
    } cases[] = {
        {"released outside the frame",
         {{WM_LBUTTONDOWN, 100, 100}, {WM_MOUSEMOVE, 150, 130}, {WM_LBUTTONUP, -600, 130}},
         {0}},
        {"released past the view but inside the frame",
         {{WM_LBUTTONDOWN, 100, 100}, {WM_MOUSEMOVE, 150, 130}, {WM_LBUTTONUP, 390, 130}},
         {1}},
        {"a press before the release: it starts the next drag",
         {{WM_LBUTTONDOWN, 100, 100},
          {WM_MOUSEMOVE, 150, 130},
          {WM_LBUTTONDOWN, 200, 200},
          {WM_MOUSEMOVE, 260, 240},
          {WM_LBUTTONUP, 260, 240}},
         {0, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dmResetModule();
        std::vector<int> results;
        std::vector<TrackPair> pairs;
        std::vector<size_t> draws;
        run_.onPress = [&](HWND w, UINT msg, LPARAM lp) {
            FeedLog log;
            int r = epTrackMouseEx(w, msg, lp, FALSE, 0, &pair_, recordFeedback, (LPARAM)&log,
                                   FALSE, 0, FALSE);
            results.push_back(r);
            pairs.push_back(pair_);
            draws.push_back(log.calls.size());
            return r;
        };
        post(c.gesture);
        EXPECT_EQ(c.results, results);
        ASSERT_EQ(c.results.size(), pairs.size());
        for (size_t i = 0; i < pairs.size(); ++i) {
            // A dropped drag ends where it began; every drawing was erased.
            if (!results[i]) {
                EXPECT_EQ(pairs[i].x1, pairs[i].x2);
                EXPECT_EQ(pairs[i].y1, pairs[i].y2);
            }
            EXPECT_EQ(0u, draws[i] % 2);
        }
        if (pairs.size() == 2) {
            EXPECT_EQ(200 * kPx, pairs[1].x1);
            EXPECT_EQ(260 * kPx, pairs[1].x2);
            EXPECT_EQ(240 * kPx, pairs[1].y2);
        }
        EXPECT_EQ(nullptr, GetCapture());
    }
}

TEST_F(Track, SnappingSwallowsMovesWithinOneGridStep)
{
    // Four divisions of an inch: a 24-pixel grid.
    FeedLog log;
    trackWith(&log, TRUE, 4);
    post({{WM_LBUTTONDOWN, 100, 100}, {WM_MOUSEMOVE, 103, 104}, {WM_LBUTTONUP, 105, 102}});
    EXPECT_EQ(0, run_.result);
    EXPECT_EQ(pair_.x1, pair_.x2);
    EXPECT_EQ(pair_.y1, pair_.y2);
    EXPECT_EQ(0, pair_.x1 % (24 * kPx));
    EXPECT_EQ(2u, log.calls.size());

    FeedLog wide;
    trackWith(&wide, TRUE, 4);
    post({{WM_LBUTTONDOWN, 100, 100}, {WM_LBUTTONUP, 150, 100}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ(0, pair_.x2 % (24 * kPx));
    EXPECT_EQ(48 * kPx, pair_.x2 - pair_.x1);
}

TEST_F(Track, MessageBarShowsThePointerAndMeasuresFromTheStart)
{
    std::string during;
    BOOL originDuring = FALSE;
    std::pair<std::string *, BOOL *> seen(&during, &originDuring);
    run_.onPress = [&](HWND w, UINT msg, LPARAM lp) {
        return epTrackMouseEx(
            w, msg, lp, FALSE, 0, &pair_,
            [](HDC, const TrackPair *, LPARAM d) {
                auto *out = reinterpret_cast<std::pair<std::string *, BOOL *> *>(d);
                char text[64];
                mbGetPositionText(text, sizeof text);
                *out->first = text;
                *out->second = mbHasOrigin();
                return 1;
            },
            (LPARAM)&seen, TRUE, 0, TRUE);
    };
    // One inch right and half an inch down from the start.
    post({{WM_LBUTTONDOWN, 96, 96}, {WM_LBUTTONUP, 192, 144}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ("(  1.00 x   0.50)", during);
    EXPECT_TRUE(originDuring);
    // Everything is cleared at the end.
    EXPECT_FALSE(mbHasOrigin());
    EXPECT_EQ(0, mbGetPositionText(nullptr, 0));
    // Without an origin the position itself.
    mbShowPosition(POINT{192, 48});
    char text[64];
    mbGetPositionText(text, sizeof text);
    EXPECT_STREQ("(2.00  ,   0.50)", text);
}

// ---- the entries ------------------------------------------------------------------------------

TEST_F(Track, EdgeDragMovesTheTouchedEdge)
{
    // The rectangle spans pixels 100..300 both ways.
    const RECT start = {100 * kPx, 100 * kPx, 300 * kPx, 300 * kPx};
    struct Case {
        const char *name;
        std::vector<Msg> gesture;
        int result;
        RECT rect;
    } cases[] = {
        {"right edge dragged out",
         {{WM_LBUTTONDOWN, 300, 200}, {WM_MOUSEMOVE, 340, 200}, {WM_MOUSEMOVE, 345, 230},
          {WM_LBUTTONUP, 345, 230}},
         1, {start.left, start.top, 345 * kPx, start.bottom}},
        {"top edge dragged up",
         {{WM_LBUTTONDOWN, 200, 101}, {WM_MOUSEMOVE, 200, 80}, {WM_LBUTTONUP, 210, 70}},
         1, {start.left, 70 * kPx - kPx, start.right, start.bottom}},
        {"right edge moved only along itself",
         {{WM_LBUTTONDOWN, 300, 200}, {WM_MOUSEMOVE, 300, 240}, {WM_LBUTTONUP, 300, 250}},
         0, start},
        {"a click", {{WM_LBUTTONDOWN, 300, 200}, {WM_LBUTTONUP, 300, 200}}, 0, start},
        {"press away from every edge",
         {{WM_LBUTTONDOWN, 200, 200}, {WM_MOUSEMOVE, 260, 260}, {WM_LBUTTONUP, 260, 260}},
         0, start},
    };
    int ticks = 0;
    static int *s_ticks;
    s_ticks = &ticks;
    winSetTickSource([]() { return GetTickCount() + 100 * (DWORD)++*s_ticks; });
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RECT r = start;
        run_.onPress = [&](HWND w, UINT, LPARAM lp) { return epTrackEdge(w, lp, 4 * kPx, &r, FALSE); };
        post(c.gesture);
        EXPECT_EQ(c.result, run_.result);
        EXPECT_EQ(c.rect.left, r.left);
        EXPECT_EQ(c.rect.top, r.top);
        EXPECT_EQ(c.rect.right, r.right);
        EXPECT_EQ(c.rect.bottom, r.bottom);
        EXPECT_EQ(nullptr, GetCapture());
    }
}

TEST_F(Track, PointAlongALineEndsAtTheFoot)
{
    const POINT line[2] = {{0, 200 * kPx}, {400 * kPx, 200 * kPx}};
    POINT out = {-1, -1};
    run_.onPress = [&](HWND w, UINT, LPARAM lp) { return epTrackOnLine(w, lp, line, &out, 0); };
    post({{WM_LBUTTONDOWN, 100, 200}, {WM_MOUSEMOVE, 150, 260}, {WM_LBUTTONUP, 150, 260}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ(150 * kPx, out.x);
    EXPECT_EQ(200 * kPx, out.y);

    out = POINT{-1, -1};
    post({{WM_LBUTTONDOWN, 100, 200}, {WM_LBUTTONUP, 100, 200}});
    EXPECT_EQ(0, run_.result);
    EXPECT_EQ(-1, out.x);
}

TEST_F(Track, MoveFollowsThePointerFromTheObjectsCorner)
{
    MemHandle obj = obNewRecord(kObHeadSize);
    {
        ObLock rec(obj);
        RECT box = {1000, 2000, 4000, 5000};
        obRecSetRect(rec.get(), &box);
    }
    FeedLog log;
    struct Seen {
        std::vector<TrackPair> calls;
        LPARAM data = 0;
    } seen;
    static Seen *s_seen;
    s_seen = &seen;
    run_.onPress = [&](HWND w, UINT, LPARAM lp) {
        return epTrackMove(w, lp, FALSE, 0, &pair_,
                           [](HDC, const TrackPair *p, LPARAM d) {
                               s_seen->calls.push_back(*p);
                               s_seen->data = d;
                               return 1;
                           },
                           obj, 0, FALSE);
    };
    post({{WM_LBUTTONDOWN, 100, 100}, {WM_MOUSEMOVE, 110, 120}, {WM_LBUTTONUP, 130, 90}});
    EXPECT_EQ(1, run_.result);
    EXPECT_EQ(1000, pair_.x1);
    EXPECT_EQ(2000, pair_.y1);
    EXPECT_EQ(1000 + 30 * kPx, pair_.x2);
    EXPECT_EQ(2000 - 10 * kPx, pair_.y2);
    EXPECT_EQ((LPARAM)obj, seen.data);
    EXPECT_EQ(6u, seen.calls.size());
    // The object itself stays where it was.
    POINT tl;
    obGetTopLeft(obj, &tl);
    EXPECT_EQ(1000, tl.x);
    EXPECT_EQ(2000, tl.y);

    // Back at the press point: no move.
    seen.calls.clear();
    post({{WM_LBUTTONDOWN, 100, 100}, {WM_LBUTTONUP, 100, 100}});
    EXPECT_EQ(0, run_.result);
    EXPECT_EQ(2u, seen.calls.size());
    utFreeHandle(obj);
}

// ---- feedback on pixels -------------------------------------------------------------------------

class Feedback : public ::testing::Test {
protected:
    Feedback() : dib_(200, 200)
    {
        dmResetModule();
        dmSetMapping(dib_.dc());
        pen_ = CreatePen(PS_SOLID, 0, RGB(0, 0, 255));
        old_ = SelectObject(dib_.dc(), pen_);
        SetROP2(dib_.dc(), R2_NOTXORPEN);
    }
    ~Feedback() override
    {
        SelectObject(dib_.dc(), old_);
        DeleteObject(pen_);
        dmResetModule();
    }
    qmtest::Dib dib_;
    HPEN pen_;
    HGDIOBJ old_;
};

TEST_F(Feedback, RectangleOutlineDrawsOnceAndErasesOnTheSecondDraw)
{
    // Spanned backwards: the outline is the same rectangle.
    TrackPair pair = {150 * kPx, 120 * kPx, 50 * kPx, 40 * kPx};
    ASSERT_EQ(1, trkDrawRect(dib_.dc(), &pair, 0));
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(50, 40));
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(100, 40));
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(50, 80));
    EXPECT_EQ(RGB(255, 255, 255), dib_.pixel(100, 80));
    trkDrawRect(dib_.dc(), &pair, 0);
    EXPECT_EQ(200 * 200, dib_.count(RGB(255, 255, 255)));
}

TEST_F(Feedback, EdgeRectangleMovesOnlyTheChosenEdge)
{
    TrkEdgeRect er = {{20 * kPx, 20 * kPx, 100 * kPx, 100 * kPx}, 3};
    TrackPair pair = {100 * kPx, 50 * kPx, 140 * kPx, 90 * kPx};
    trkDrawEdgeRect(dib_.dc(), &pair, (LPARAM)&er);
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(140, 60));          // the right edge moved 40 right
    EXPECT_EQ(RGB(255, 255, 255), dib_.pixel(100, 60));
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(60, 20));           // top kept
    trkDrawEdgeRect(dib_.dc(), &pair, (LPARAM)&er);
    EXPECT_EQ(200 * 200, dib_.count(RGB(255, 255, 255)));

    RECT r = {0, 0, 10, 10};
    trkMoveEdge(&r, 1, 5, 7);
    trkMoveEdge(&r, 4, 5, 7);
    EXPECT_EQ(5, r.left);
    EXPECT_EQ(17, r.bottom);
    EXPECT_EQ(10, r.right);
    EXPECT_EQ(0, r.top);
}

TEST_F(Feedback, LineToFootEndsInAHandleMark)
{
    const POINT line[2] = {{20 * kPx, 100 * kPx}, {180 * kPx, 100 * kPx}};
    TrackPair pair = {0, 0, 120 * kPx, 40 * kPx};
    trkDrawLineToFoot(dib_.dc(), &pair, (LPARAM)line);
    EXPECT_EQ(kTrkFootMark, dib_.pixel(120, 100));   // the mark at the foot
    EXPECT_EQ(RGB(0, 0, 255), dib_.pixel(60, 100));  // the line in the pen
    EXPECT_EQ(RGB(255, 255, 255), dib_.pixel(160, 100));
    trkDrawLineToFoot(dib_.dc(), &pair, (LPARAM)line);
    EXPECT_EQ(200 * 200, dib_.count(RGB(255, 255, 255)));
}

// ---- auto-scroll ---------------------------------------------------------------------------------

TEST(TrackAutoScroll, StepsAreWholeAndPointTowardsThePointer)
{
    const RECT client = {0, 0, 300, 200};
    struct Case {
        POINT pt;
        int32_t dx, dy;
    } cases[] = {
        {{150, 100}, 0, 0},
        {{300, 100}, 48, 0},     // one pixel outside: one whole step
        {{349, 100}, 96, 0},
        {{-1, 100}, -48, 0},
        {{-49, -3}, -96, -48},
        {{10, 250}, 0, 96},
    };
    for (const Case &c : cases) {
        int32_t dx, dy;
        wsAutoScrollAtEdge(&client, c.pt, 48, 48, 1 << 20, 0, &dx, &dy);
        EXPECT_EQ(c.dx, dx) << c.pt.x << "," << c.pt.y;
        EXPECT_EQ(c.dy, dy) << c.pt.x << "," << c.pt.y;
    }
    int32_t dx, dy;
    wsAutoScrollAtEdge(&client, POINT{305, 0}, 0, 0, 1 << 20, 0, &dx, &dy);
    EXPECT_EQ(6, dx);   // a step below one pixel counts as one
}

TEST_F(Track, DraggingPastTheEdgeOfAWindowWithoutAViewDoesNotScroll)
{
    FeedLog log;
    trackWith(&log);
    // A window that is not a workspace has no page view to scroll (the
    // scrolling drag on a workspace: ep_track_ws_test).
    post({{WM_LBUTTONDOWN, 100, 100}, {WM_MOUSEMOVE, 410, 100}, {WM_LBUTTONUP, 362, 100}});
    EXPECT_EQ(1, run_.result);
    int32_t sx, sy;
    dmGetScrollPos(&sx, &sy);
    EXPECT_EQ(0, sx);
    EXPECT_EQ(0, sy);
    EXPECT_EQ(362 * kPx, pair_.x2);
    EXPECT_EQ(1500, pair_.x1);
}

}  // namespace
