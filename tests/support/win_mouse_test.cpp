// Mouse press classification: whole gestures are posted to a window, then
// the queue is pumped; the window asks for the classification when its
// button-down message arrives, as the editing tools do.
#include "tests/support/kit.h"
#include "support/win_mouse.h"
#include <vector>

namespace {

const char kClass[] = "qm_test_press";

struct PressLog {
    std::vector<UINT> seen;   // every mouse or WM_APP message the window got
    int result = -1;
    HWND captureAfter = nullptr;
};
PressLog *g_log = nullptr;

LRESULT CALLBACK pressProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (g_log && ((msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_APP))
        g_log->seen.push_back(msg);
    if (g_log && (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)) {
        g_log->result = msg == WM_LBUTTONDOWN ? winWaitClick(w, lp) : winWaitRightClick(w, lp);
        g_log->captureAfter = GetCapture();
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

// The clock of the wait when the queue is empty: each look moves it on by
// a tenth of a second, so the double-click time runs out after a few empty
// looks instead of half a second of real time.
int g_ticks = 0;
DWORD fastClock() { return GetTickCount() + 100 * (DWORD)++g_ticks; }
// A clock that hardly moves (1 ms per look): the wait then ends only by
// what the messages or the capture say.
DWORD slowClock() { return GetTickCount() + (DWORD)++g_ticks; }

// Takes the capture away while the wait runs, when the wait removes a
// middle-button press from the queue.
HWND g_thief = nullptr;
LRESULT CALLBACK stealCapture(int code, WPARAM wp, LPARAM lp)
{
    const MSG *m = reinterpret_cast<const MSG *>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE && m->message == WM_MBUTTONDOWN && g_thief)
        SetCapture(g_thief);
    return CallNextHookEx(nullptr, code, wp, lp);
}

struct Msg {
    UINT msg;
    WPARAM wp;
    int x, y;
};

class Press : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = pressProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    static void TearDownTestSuite() { UnregisterClassA(kClass, GetModuleHandleA(nullptr)); }

    Press()
    {
        window_ = CreateWindowExA(0, kClass, "", WS_POPUP, 0, 0, 400, 400, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        g_log = &log_;
        g_ticks = 0;
        winSetTickSource(fastClock);
        pump();   // nothing of an earlier test may be waiting
        log_ = PressLog();
    }
    ~Press() override
    {
        winSetTickSource(nullptr);
        g_log = nullptr;
        DestroyWindow(window_);
    }

    // Posts the gesture, then runs the main loop's body until the queue is
    // empty; returns the classification.
    int run(std::initializer_list<Msg> gesture)
    {
        for (const Msg &m : gesture)
            PostMessageA(window_, m.msg, m.wp, MAKELPARAM(m.x, m.y));
        PostMessageA(window_, WM_APP, 0, 0);
        pump();
        return log_.result;
    }
    static void pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    HWND window_;
    PressLog log_;
};

TEST_F(Press, ClassifiesGestures)
{
    struct Case {
        const char *name;
        std::initializer_list<Msg> gesture;
        int result;
    } cases[] = {
        {"down, up: a click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}, {WM_LBUTTONUP, 0, 100, 100}},
         WIN_PRESS_CLICK},
        {"down, up, double-click message: a double click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_LBUTTONUP, 0, 100, 100},
          {WM_LBUTTONDBLCLK, MK_LBUTTON, 101, 100}},
         WIN_PRESS_DOUBLE},
        {"5 right and 4 up: a drag",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}, {WM_MOUSEMOVE, MK_LBUTTON, 105, 96}},
         WIN_PRESS_DRAG},
        {"4 right and 4 up, then up: a click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_MOUSEMOVE, MK_LBUTTON, 104, 96},
          {WM_LBUTTONUP, 0, 104, 96}},
         WIN_PRESS_CLICK},
        {"8 left is still a click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_MOUSEMOVE, MK_LBUTTON, 92, 100},
          {WM_LBUTTONUP, 0, 92, 100}},
         WIN_PRESS_CLICK},
        {"9 down is a drag",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}, {WM_MOUSEMOVE, MK_LBUTTON, 100, 109}},
         WIN_PRESS_DRAG},
        {"a long move",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}, {WM_MOUSEMOVE, MK_LBUTTON, 150, 130}},
         WIN_PRESS_DRAG},
        {"held still: a drag once the double-click time is out",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}},
         WIN_PRESS_DRAG},
        {"moves after the release are not measured",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_LBUTTONUP, 0, 100, 100},
          {WM_MOUSEMOVE, 0, 300, 300}},
         WIN_PRESS_CLICK},
        {"a second plain press is dropped",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_LBUTTONUP, 0, 100, 100},
          {WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
          {WM_LBUTTONUP, 0, 100, 100}},
         WIN_PRESS_CLICK},
        {"a move that says the button is up counts as the release",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100}, {WM_MOUSEMOVE, 0, 140, 140}},
         WIN_PRESS_CLICK},
        {"negative client positions",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 2, 2}, {WM_MOUSEMOVE, MK_LBUTTON, -3, -3}},
         WIN_PRESS_DRAG},
        {"right button: its own double-click message",
         {{WM_RBUTTONDOWN, MK_RBUTTON, 100, 100},
          {WM_RBUTTONUP, 0, 100, 100},
          {WM_RBUTTONDBLCLK, MK_RBUTTON, 100, 100}},
         WIN_PRESS_DOUBLE},
        {"right button: the left messages are dropped",
         {{WM_RBUTTONDOWN, MK_RBUTTON, 100, 100},
          {WM_LBUTTONDBLCLK, MK_LBUTTON | MK_RBUTTON, 100, 100},
          {WM_RBUTTONUP, 0, 100, 100}},
         WIN_PRESS_CLICK},
        {"right button: a drag with the right button held",
         {{WM_RBUTTONDOWN, MK_RBUTTON, 100, 100}, {WM_MOUSEMOVE, MK_RBUTTON, 120, 100}},
         WIN_PRESS_DRAG},
    };
    // Every case ends with its last message: nothing of it is left over.
    for (const Case &c : cases) {
        log_ = PressLog();
        EXPECT_EQ(c.result, run(c.gesture)) << c.name;
        // One answer, and no mouse message of the gesture left for the window.
        ASSERT_EQ(2u, log_.seen.size()) << c.name;
        EXPECT_EQ(c.gesture.begin()->msg, log_.seen[0]) << c.name;
        EXPECT_EQ((UINT)WM_APP, log_.seen[1]) << c.name << ": other messages stay queued";
        EXPECT_EQ(nullptr, log_.captureAfter) << c.name << ": the capture is released";
    }
}

TEST_F(Press, TheDoubleClickEndsTheWaitAtOnce)
{
    // With a clock that hardly moves only the messages can end the wait.
    winSetTickSource(slowClock);
    EXPECT_EQ(WIN_PRESS_DOUBLE, run({{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
                                     {WM_LBUTTONUP, 0, 100, 100},
                                     {WM_LBUTTONDBLCLK, MK_LBUTTON, 100, 100},
                                     {WM_LBUTTONUP, 0, 100, 100}}));
    EXPECT_EQ(0, g_ticks) << "no look at the clock";
    // What follows the double click (or the drag) is the window's again.
    ASSERT_EQ(3u, log_.seen.size());
    EXPECT_EQ((UINT)WM_LBUTTONUP, log_.seen[1]);
    log_ = PressLog();
    EXPECT_EQ(WIN_PRESS_DRAG, run({{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
                                   {WM_MOUSEMOVE, MK_LBUTTON, 90, 90},
                                   {WM_MOUSEMOVE, MK_LBUTTON, 80, 80},
                                   {WM_LBUTTONUP, 0, 80, 80}}));
    EXPECT_EQ(0, g_ticks);
    ASSERT_EQ(4u, log_.seen.size()) << "the rest of the drag goes to the caller";
    EXPECT_EQ((UINT)WM_MOUSEMOVE, log_.seen[1]);
    EXPECT_EQ((UINT)WM_LBUTTONUP, log_.seen[2]);
}

TEST_F(Press, TheWaitEndsWhenTheCaptureIsLost)
{
    HWND thief = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, thief);
    g_thief = thief;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, stealCapture, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    winSetTickSource(slowClock);
    int result = run({{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
                      {WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON, 100, 100},
                      {WM_MOUSEMOVE, MK_LBUTTON, 160, 160}});
    UnhookWindowsHookEx(hook);
    g_thief = nullptr;
    EXPECT_EQ(WIN_PRESS_CLICK, result) << "a press cut short is no drag";
    EXPECT_LT(g_ticks, 50) << "the wait did not run on to the double-click time";
    EXPECT_EQ(thief, log_.captureAfter) << "the capture taken by another window stays there";
    // The move after the loss was not taken by the wait.
    ASSERT_EQ(3u, log_.seen.size());
    EXPECT_EQ((UINT)WM_MOUSEMOVE, log_.seen[1]);
    ReleaseCapture();
    DestroyWindow(thief);
}

TEST(ElapsedTime, CountsFromTheStart)
{
    DWORD start = utStartTimer();
    DWORD later = timeGetTime();
    EXPECT_LE(later - start, 60000u);
    EXPECT_LE(utElapsedTime(), 60000u) << "never a wrapped difference";
}

}  // namespace
