// The selection: hit test, drag selection through posted mouse messages
// (also when the capture is taken away), the highlight, word and paragraph
// selection, Select All and Shift extension.
#include "tests/textedit/te_editor_kit.h"
#include "support/dm_map.h"
#include "commands/app_stdbar.h"

namespace {

using tetest::Editor;

std::string flag(int code)
{
    char b[8];
    return std::string(b, (size_t)txMakeFlagCode(b, code));
}

TEST_F(Editor, HitTestClampsToTheTextAndNeverCountsAFinalReturn)
{
    open("ab\rcd\ref");
    RECT frame;
    teGetFrame(&frame);
    MemHandle first = teGetFirstLine(), second = teLineAt(1), last = teGetLastLine();
    struct Case {
        int32_t x, y;
        MemHandle line;
        int32_t offset;
    } cases[] = {
        {frame.left + 30, frame.top - 200, first, 0},                 // above the first line
        {frame.left + 30, frame.bottom + 200, last, 2},               // below the last line
        {frame.left - 300, teLineTop(second) + 20, second, 0},         // left of a line
        {frame.right + 300, teLineTop(second) + 20, second, 2},        // right of the frame
    };
    for (const Case &c : cases) {
        TePos pos;
        ASSERT_EQ(1, teHitTest(ws, at(c.x, c.y), &pos));
        EXPECT_EQ(c.line, pos.line);
        EXPECT_EQ(c.offset, pos.offset);
    }
    EXPECT_EQ(2, teOffsetAtX(first, frame.right + 1));
    EXPECT_EQ(2, teOffsetAtX(first, 99999));
    EXPECT_EQ(0, teOffsetAtX(first, frame.left - 1));
    TePos mid;
    teHitTest(ws, atOffset(first, 1), &mid);
    EXPECT_EQ(first, mid.line);
    EXPECT_EQ(1, mid.offset);
}

TEST_F(Editor, DraggingBackwardsLeavesTheCaretAtTheStartAndShiftRightShrinksIt)
{
    open("abcdef");
    MemHandle line = teGetFirstLine();
    pump();
    PostMessageA(ws, WM_MOUSEMOVE, MK_LBUTTON, atOffset(line, 4));
    PostMessageA(ws, WM_MOUSEMOVE, MK_LBUTTON, atOffset(line, 2));
    PostMessageA(ws, WM_LBUTTONUP, 0, atOffset(line, 2));
    TePos press = {line, 6};
    teDragSelect(ws, &press);
    TePos a, b;
    ASSERT_TRUE(teGetSelection(&a, &b));
    EXPECT_EQ(2, a.offset);
    EXPECT_EQ(6, b.offset);
    EXPECT_TRUE(teCaretAtSelStart());
    EXPECT_EQ(2, teCaretOffset());
    EXPECT_EQ(0, teGetDragFlag());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_GT(teGetCachedRects(nullptr, 0), 0);
    teExtendSelectionByKey(ws, VK_RIGHT);
    ASSERT_TRUE(teGetSelection(&a, &b));
    EXPECT_EQ(3, a.offset);
    EXPECT_EQ(6, b.offset);
    EXPECT_EQ(3, teCaretOffset());
    EXPECT_TRUE(teCaretAtSelStart());
    MemHandle sel = teSelectedText();
    EXPECT_EQ("def", text(sel));
    utFreeHandle(sel);
}

TEST_F(Editor, DraggingOverCodesOnlySelectsNothing)
{
    std::string s = "ab" + flag(TXC_BOLD_ON) + flag(TXC_ITALIC_ON) + "cd";
    open(s.c_str());
    MemHandle line = teGetFirstLine();
    // The press and the release lie on either side of the codes; the hit
    // test of the boundary gives one side, the press is the other.
    TePos hit;
    teHitTest(ws, atOffset(line, 2), &hit);
    ASSERT_TRUE(hit.offset == 2 || hit.offset == 12) << hit.offset;
    TePos press = {line, hit.offset == 2 ? 12 : 2};
    pump();
    PostMessageA(ws, WM_MOUSEMOVE, MK_LBUTTON, atOffset(line, 2));
    PostMessageA(ws, WM_LBUTTONUP, 0, atOffset(line, 2));
    teDragSelect(ws, &press);
    EXPECT_FALSE(teHasSelection());
    EXPECT_EQ(press.offset, teCaretOffset());
}

// A window whose procedure takes the capture away when asked.
LRESULT CALLBACK thief(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_USER + 7) {
        SetCapture(w);
        return 1;
    }
    return DefWindowProcA(w, m, wp, lp);
}

DWORD WINAPI sendTheft(void *window)
{
    SendMessageA(static_cast<HWND>(window), WM_USER + 7, 0, 0);
    return 0;
}

TEST_F(Editor, TheDragEndsWhenTheCaptureIsTakenAwayOrTheButtonIsUp)
{
    open("abcdef");
    MemHandle line = teGetFirstLine();
    pump();
    // No button-up message, but the button is up: the drag ends by itself.
    PostMessageA(ws, WM_MOUSEMOVE, MK_LBUTTON, atOffset(line, 3));
    TePos press = {line, 0};
    teDragSelect(ws, &press);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, teGetDragFlag());

    // The button held down, and another window takes the capture.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = thief;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "te_capture_thief";
    RegisterClassA(&wc);
    HWND other = CreateWindowA("te_capture_thief", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
    keys(VK_LBUTTON, true);
    // The sent message is delivered while the loop looks for input.
    HANDLE sender = CreateThread(nullptr, 0, sendTheft, other, 0, nullptr);
    ASSERT_NE(nullptr, sender);
    teDragSelect(ws, &press);
    WaitForSingleObject(sender, 5000);
    CloseHandle(sender);
    keys(VK_LBUTTON, false);
    EXPECT_EQ(other, GetCapture());
    EXPECT_EQ(0, teGetDragFlag());
    ReleaseCapture();
    DestroyWindow(other);
    UnregisterClassA("te_capture_thief", wc.hInstance);
}

TEST_F(Editor, PaintingTheHighlightTwiceLeavesTheBitmapUnchanged)
{
    open("highlight me\rsecond line");
    teSelectAll(ws);
    qmtest::Dib dib(800, 600), blank(800, 600);
    wsApplyViewMapping(ws);
    dmSetMapping(dib.dc());
    tePaintSelection(ws, dib.dc());
    EXPECT_GT(dib.diff(blank), 100);
    tePaintSelection(ws, dib.dc());
    EXPECT_EQ(0, dib.diff(blank));
    // Without the cache the direct inversion does the same.
    TePos a, b;
    teGetSelection(&a, &b);
    teInvertRange(ws, dib.dc(), &a, &b);
    EXPECT_GT(dib.diff(blank), 100);
    teInvertRange(ws, dib.dc(), &a, &b);
    EXPECT_EQ(0, dib.diff(blank));
}

TEST_F(Editor, WordParagraphAndWholeTextSelections)
{
    open("ab-cd ef\rgh ij\rkl");
    MemHandle first = teGetFirstLine();
    TePos d = {first, 4};
    teSelectWordAt(ws, &d);
    TePos a, b;
    ASSERT_TRUE(teGetSelection(&a, &b));
    EXPECT_EQ(3, a.offset);
    EXPECT_EQ(5, b.offset);
    EXPECT_EQ(5, teCaretOffset());
    EXPECT_FALSE(teCaretAtSelStart());

    TePos s = {teLineAt(1), 1}, e = {teLineAt(1), 2};
    teSetSelection(&s, &e);
    teSelectParagraphs(ws);
    ASSERT_TRUE(teGetSelection(&a, &b));
    EXPECT_EQ(teLineAt(1), a.line);
    EXPECT_EQ(0, a.offset);
    EXPECT_EQ(teLineAt(2), b.line);
    EXPECT_EQ(0, b.offset);

    teSelectAll(ws);
    int32_t lo, hi;
    teSelectionAbs(&lo, &hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(17, hi);
    EXPECT_TRUE(teCaretAtTextEnd());
    EXPECT_TRUE(appIsStdBarButtonEnabled(201));   // Cut and Copy follow the selection
    EXPECT_TRUE(appIsStdBarButtonEnabled(202));
    // The selection survives losing and regaining the focus.
    teSuspendSession(ws);
    teRestoreSession(ws);
    teSelectionAbs(&lo, &hi);
    EXPECT_EQ(0, lo);
    EXPECT_EQ(17, hi);
    CharFormat f;
    EXPECT_TRUE(teSelectionFormat(&f));
    teUnhighlightSelection(ws);
    EXPECT_FALSE(teHasSelection());
    EXPECT_FALSE(appIsStdBarButtonEnabled(201));
    EXPECT_FALSE(appIsStdBarButtonEnabled(202));
    teSelectionAbs(&lo, &hi);
    EXPECT_EQ(-1, lo);
}

TEST_F(Editor, FormatQuestionsOfASelection)
{
    char face[40], size[8];
    int16_t h = -480;
    std::string s = "ab" + std::string(face, (size_t)txMakeFaceCode(face, "Courier New")) + "cd" +
                    std::string(size, (size_t)txMakeWordCode(size, TXC_HEIGHT, h)) + "ef" +
                    flag(TXC_BOLD_ON) + "g";
    open(s.c_str());
    MemHandle line = teGetFirstLine();
    TePos a = {line, 0}, b = {line, 1};
    EXPECT_FALSE(teSelectionHasOtherFace(&a, &b));
    EXPECT_FALSE(teSelectionHasOtherSize(&a, &b));
    b.offset = teLineLength(line);
    EXPECT_TRUE(teSelectionHasOtherFace(&a, &b));
    EXPECT_TRUE(teSelectionHasOtherSize(&a, &b));
    teSetSelection(&a, &b);
    CharFormat f;
    ASSERT_TRUE(teSelectionFormat(&f));
    EXPECT_EQ(400, f.lf.lfWeight);
    TePos p = {line, 0};
    EXPECT_TRUE(tePosAfterUnits(&p, 3));
    EXPECT_EQ((int32_t)(2 + strlen("Courier New") + 6 + 1), p.offset);
    EXPECT_FALSE(tePosAfterUnits(&p, 100));
    EXPECT_EQ(teLineLength(line), p.offset);
}

}  // namespace
