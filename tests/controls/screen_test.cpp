// On a real screen (run by tests/e2e/btnlist_screen.sh under Xvfb with the
// X11 driver): the drawing-tool row is shown, captured back from the screen
// and checked for 21 different pictures. Skipped in the headless runs.
#include "tests/controls/bl_fixture.h"
#include <set>
#include <stdlib.h>

using bltest::pump;

TEST(ButtonListScreen, DrawingToolRowShowsDistinctPictures)
{
    const char *out = getenv("QM_SCREEN_SHOT");
    if (!out || !*out)
        GTEST_SKIP() << "runs under Xvfb only (tests/e2e/btnlist_screen.sh)";
    qmtest::BoxRecorder boxes;
    HINSTANCE inst = GetModuleHandleA(nullptr);
    ASSERT_TRUE(blRegisterClass(inst));

    // A wide screen takes the wide command table.
    int16_t count = 0;
    int width = GetSystemMetrics(SM_CXSCREEN);
    EXPECT_GE(width, 800);
    EXPECT_EQ(tbCommandTable, tbCommandTableFor(width, &count));

    HWND host = CreateWindowA("STATIC", "Button lists", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                              560, 80, nullptr, nullptr, inst, nullptr);
    ASSERT_TRUE(host);
    RECT bar = {0, 0, 520, 26};
    HWND tools = blCreateShown(host, nullptr, 2, &bar, 0xC001, tbDrawToolTable, tbDrawToolCount, 22, 22);
    RECT bar2 = {0, 30, 560, 56};
    HWND cmds = blCreateShown(host, nullptr, 1024, &bar2, 0xC001, tbCommandTable, count, 24, 24);
    ASSERT_TRUE(tools && cmds);
    blSelectButton(tools, 306);
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 20; ++i) {
        pump();
        Sleep(25);
    }

    // Capture the window back from the screen.
    qmtest::Dib shot(560, 80);
    HDC screen = GetDC(nullptr);
    BitBlt(shot.dc(), 0, 0, 560, 80, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    shot.saveBmp(std::string(out) + "\\btnlist.bmp");

    std::set<std::vector<COLORREF>> pictures;
    for (int i = 0; i < tbDrawToolCount; ++i) {
        RECT r;
        blGetButtonRect(tools, i, &r);
        std::vector<COLORREF> cell;
        int drawn = 0;
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            for (int x = r.left + 2; x < r.right - 2; ++x) {
                COLORREF c = shot.pixel(x, y);
                cell.push_back(c);
                drawn += c != face;
            }
        EXPECT_GT(drawn, 6) << "button " << i << " shows no picture";
        pictures.insert(cell);
    }
    EXPECT_EQ((size_t)tbDrawToolCount, pictures.size());
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    DestroyWindow(host);
    pump();
}
