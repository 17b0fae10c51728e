// Combo boxes made on the fly, the popup combo's close rules, and the
// folder browser driven through its dialog.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/ut_mem.h"
#include "support/win_combo.h"
#include <objbase.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const char kParentClass[] = "qm_combo_parent";
const int kComboId = 500;

// What the parent's command handling got from winPopupComboNotify.
struct Answers {
    int calls = 0;
    std::vector<std::string> chosen;
};
Answers *g_answers = nullptr;

LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND && LOWORD(wp) == kComboId && g_answers) {
        ++g_answers->calls;
        if (MemHandle text = winPopupComboNotify(wp, (HWND)lp)) {
            MemLock<char> s(text);
            g_answers->chosen.push_back(s.get());
            utFreeHandle(text);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class Combo : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = parentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kParentClass;
        RegisterClassA(&wc);
    }
    static void TearDownTestSuite() { UnregisterClassA(kParentClass, GetModuleHandleA(nullptr)); }
    Combo()
    {
        parent_ = CreateWindowExA(0, kParentClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        other_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 250, 100, 20, parent_,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        g_answers = &answers_;
        qmtest::pumpUntilIdle();
    }
    ~Combo() override
    {
        g_answers = nullptr;
        DestroyWindow(parent_);
        winFreeComboFont();
        qmtest::pumpUntilIdle();
    }
    HWND popup()
    {
        const RECT r = {100, 120, 220, 140};
        return winPopupCombo(parent_, &r, kComboId, FALSE, "One\nTwo\nThree\n", '\n', "", -1);
    }
    HWND parent_, other_;
    Answers answers_;
};

}  // namespace

TEST(ComboRect, SizedByCharactersAndLines)
{
    RECT r = {10, 20, 0, 0};
    winSizeComboRectFor(&r, 10, 5, 13, 6);
    EXPECT_EQ(60, r.right - r.left);
    EXPECT_EQ(84, r.bottom - r.top);
    // The module form measures the combo font.
    RECT m = {0, 0, 0, 0};
    winSizeComboRect(&m, 10, 5);
    EXPECT_GT(m.right, 0);
    EXPECT_GT(m.bottom, m.right / 10);
}

TEST_F(Combo, CreatedFilledAndSelected)
{
    winSetComboFont(nullptr, 0);
    HFONT font = winGetComboFont();
    ASSERT_NE(nullptr, font);
    const RECT r = {10, 10, 160, 200};
    HWND combo = winCreateCombo(parent_, &r, "", 0, 77, TRUE, TRUE, "pear,apple,plum", ',',
                                "pl", -1);
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(77, GetDlgCtrlID(combo));
    EXPECT_EQ(3, SendMessageA(combo, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(2, SendMessageA(combo, CB_GETCURSEL, 0, 0)) << "sorted; the first beginning with pl";
    EXPECT_TRUE(GetWindowLongA(combo, GWL_STYLE) & CBS_SORT);
    EXPECT_TRUE(GetWindowLongA(combo, GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_EQ((LRESULT)font, SendMessageA(combo, WM_GETFONT, 0, 0));
    EXPECT_TRUE(IsWindowVisible(combo));
    HWND second = winCreateCombo(parent_, &r, "", 0, 78, FALSE, FALSE, "a,b,c", ',', "", 1);
    EXPECT_EQ(1, SendMessageA(second, CB_GETCURSEL, 0, 0));
    EXPECT_FALSE(IsWindowVisible(second));
    // A font that cannot be matched still makes a font; freeing goes back to
    // the frame's font.
    winSetComboFont("No Such Face", 20);
    EXPECT_NE(nullptr, winGetComboFont());
    winFreeComboFont();
}

TEST_F(Combo, APopupThatLosesTheFocusClosesWithoutAChoice)
{
    HWND combo = popup();
    ASSERT_NE(nullptr, combo);
    EXPECT_TRUE(IsWindowVisible(combo));
    RECT w;
    GetWindowRect(combo, &w);
    POINT topLeft = {w.left, w.bottom};
    ScreenToClient(parent_, &topLeft);
    EXPECT_EQ(100, topLeft.x);
    EXPECT_LT(w.top, 120) << "the edit part sits above the spot";
    SetFocus(other_);
    qmtest::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(combo));
    EXPECT_GT(answers_.calls, 0);
    EXPECT_TRUE(answers_.chosen.empty());
}

TEST_F(Combo, ChoosingAnItemHandsItsTextBack)
{
    HWND combo = popup();
    ASSERT_NE(nullptr, combo);
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    SendMessageA(parent_, WM_COMMAND, MAKEWPARAM(kComboId, CBN_SELENDOK), (LPARAM)combo);
    qmtest::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(combo));
    ASSERT_EQ(1u, answers_.chosen.size());
    EXPECT_EQ("Three", answers_.chosen[0]);
    // A notification for a combo that is gone is nothing.
    EXPECT_EQ(0u, winPopupComboNotify(MAKEWPARAM(kComboId, CBN_SELENDOK), combo));
    // Other codes leave the combo open.
    HWND again = popup();
    EXPECT_EQ(0u, winPopupComboNotify(MAKEWPARAM(kComboId, CBN_EDITCHANGE), again));
    qmtest::pumpUntilIdle();
    EXPECT_TRUE(IsWindow(again));
    EXPECT_EQ(0u, winPopupComboNotify(MAKEWPARAM(kComboId, CBN_SELENDCANCEL), again));
    qmtest::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(again));
}

TEST(Folders, CancelledBrowserLeavesTheOutputAndDocumentsExist)
{
    CoInitialize(nullptr);
    char out[MAX_PATH] = "left as it was";
    BOOL chosen;
    {
        qmtest::DialogDriver driver({[](HWND d) { qmtest::sendCommand(d, IDCANCEL); }});
        chosen = utBrowseForFolder(nullptr, "C:\\", "C:\\windows", out);
        EXPECT_EQ(1u, driver.ran()) << "the browser's dialog was driven";
        EXPECT_FALSE(driver.leftOpen());
    }
    EXPECT_FALSE(chosen);
    EXPECT_STREQ("left as it was", out);

    char docs[MAX_PATH] = "";
    ASSERT_TRUE(utGetDocumentsFolder(nullptr, docs));
    const size_t n = strlen(docs);
    ASSERT_GT(n, 3u);
    EXPECT_NE('\\', docs[n - 1]);
    const DWORD attributes = GetFileAttributesA(docs);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes) << docs;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    CoUninitialize();
}
