// The button list window: creation and its failures, the notifications of
// its end, the operations on its buttons, its own commands, and painting on
// real pixels.
#include "tests/controls/bl_fixture.h"
#include "support/gdi_bitmap.h"
#include "support/ut_mem.h"
#include <string.h>

using bltest::ListTest;
using bltest::commandsWith;
using bltest::pump;
using bltest::recorder;

namespace {

RECT clientOf(HWND w)
{
    RECT r;
    GetClientRect(w, &r);
    return r;
}

// The update region's bounding box (validating nothing).
RECT pendingUpdate(HWND w)
{
    RECT r;
    if (!GetUpdateRect(w, &r, FALSE))
        SetRectEmpty(&r);
    return r;
}

}  // namespace

using ButtonListWindow = ListTest;

TEST_F(ButtonListWindow, DockedListIsAChildWithItsIdAndAPrivateCopy)
{
    ToolButton table[4];
    memcpy(table, tbColorTargetTable, sizeof(table));
    HWND list = makeList(1024, {10, 10, 410, 40}, 0xC001, table, 4, 24, 24);
    EXPECT_EQ(parent(), GetParent(list));
    EXPECT_EQ(1024, GetDlgCtrlID(list));
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_CHILD);
    RECT c = clientOf(list);
    EXPECT_EQ(400, c.right);
    EXPECT_EQ(30, c.bottom);

    ButtonListRecord rec;
    ASSERT_TRUE(blGetRecord(list, &rec));
    EXPECT_EQ(4, rec.count);
    EXPECT_EQ(-1, rec.pressed);
    EXPECT_EQ(0, rec.first);
    EXPECT_EQ(40, rec.repeatInterval);
    EXPECT_EQ(0xC001, rec.style);
    EXPECT_EQ(1024, rec.listId);
    EXPECT_EQ(0u, rec.scrollBack);

    // The list works on its copy: the caller's table may change freely.
    table[0].command = 999;
    EXPECT_EQ(0, blFindButton(list, 30));
    EXPECT_EQ(-1, blFindButton(list, 999));
}

TEST_F(ButtonListWindow, FloatingListIsSizedToItsGrid)
{
    RECT at = {40, 50, 0, 0};
    HWND list = blCreate(parent(), nullptr, 4096, &at, 9, tbMoreObjectsTable, tbMoreObjectsCount, 24,
                         24, FALSE);
    ASSERT_TRUE(list);
    EXPECT_FALSE(IsWindowVisible(list));   // not shown unless asked
    EXPECT_EQ(parent(), GetWindow(list, GW_OWNER));
    EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_CAPTION);
    RECT c = clientOf(list), w;
    EXPECT_EQ(200, c.right);   // 8 columns of 25
    EXPECT_EQ(50, c.bottom);   // 2 rows of 25
    GetWindowRect(list, &w);
    EXPECT_EQ(40, w.left);
    EXPECT_EQ(50, w.top);
    char caption[16] = "x";
    GetWindowTextA(list, caption, sizeof(caption));
    EXPECT_STREQ("", caption);
    blDestroy(list);
}

TEST_F(ButtonListWindow, ScrollButtonsAndSquareButtons)
{
    HWND row = makeList(2, {0, 0, 300, 24}, 0xC003, tbDrawToolTable, tbDrawToolCount, 22, 22);
    HWND back = GetDlgItem(row, BL_SCROLL_BACK), forward = GetDlgItem(row, BL_SCROLL_FORWARD);
    ASSERT_TRUE(back && forward);
    RECT b, f;
    GetWindowRect(back, &b);
    GetWindowRect(forward, &f);
    EXPECT_EQ(16, b.right - b.left);
    EXPECT_EQ(24, b.bottom - b.top);
    POINT fp = {f.left, f.top};
    ScreenToClient(row, &fp);
    EXPECT_EQ(284, fp.x);

    // Both sizes 0: square buttons as large as the smaller client side.
    HWND column = makeList(8, {0, 30, 28, 330}, 0xC000, tbModeToolTable, tbModeToolCount, 0, 0);
    ButtonListRecord rec;
    ASSERT_TRUE(blGetRecord(column, &rec));
    EXPECT_EQ(28, rec.buttonWidth);
    EXPECT_EQ(28, rec.buttonHeight);

    // An empty table makes a list without entries.
    HWND empty = makeList(3, {0, 340, 100, 370}, 0xC001, tbDrawToolTable, 0, 22, 22);
    ASSERT_TRUE(blGetRecord(empty, &rec));
    EXPECT_EQ(0, rec.count);
    EXPECT_EQ(0u, rec.entries);
    EXPECT_EQ(-1, blFindButton(empty, 301));
}

TEST_F(ButtonListWindow, DestructionSendsClosingThenPostsClosed)
{
    long before = qmtest::liveHandles();
    HWND list = makeList(8, {0, 0, 30, 400}, 0xC000, tbModeToolTable, tbModeToolCount, 24, 24);
    recorder().commands.clear();
    blDestroy(list);
    // 970 arrives during the destruction, 914 only from the queue.
    ASSERT_EQ(1u, recorder().commands.size());
    EXPECT_EQ(MAKEWPARAM(970, 8), recorder().commands[0].wParam);
    EXPECT_EQ((LPARAM)list, recorder().commands[0].lParam);
    EXPECT_TRUE(recorder().commands[0].sent);
    pump();
    ASSERT_EQ(2u, recorder().commands.size());
    EXPECT_EQ(MAKEWPARAM(914, 8), recorder().commands[1].wParam);
    EXPECT_EQ((LPARAM)list, recorder().commands[1].lParam);
    EXPECT_FALSE(recorder().commands[1].sent);
    EXPECT_EQ(before, qmtest::liveHandles());

    // A list with id 0 only posts 914.
    HWND quiet = makeList(0, {0, 0, 30, 400}, 0xC000, tbModeToolTable, tbModeToolCount, 24, 24);
    recorder().commands.clear();
    DestroyWindow(quiet);
    pump();
    ASSERT_EQ(1u, recorder().commands.size());
    EXPECT_EQ(MAKEWPARAM(914, 0), recorder().commands[0].wParam);
}

TEST_F(ButtonListWindow, WindowFailureIsReported)
{
    HWND gone = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    DestroyWindow(gone);
    qmtest::BoxRecorder boxes;
    RECT r = {0, 0, 100, 30};
    HWND list = blCreate(gone, nullptr, 2, &r, 0xC001, tbDrawToolTable, tbDrawToolCount, 22, 22, TRUE);
    EXPECT_EQ(nullptr, list);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Can not create button list window", boxes.last().text);
    EXPECT_EQ("", boxes.last().caption);
}

TEST_F(ButtonListWindow, MemoryShortageLeavesNoWindowBehind)
{
    // The copy of the entries fails (a full table), or the record does (an
    // empty one): no window is left, no notification comes, nothing leaks.
    long before = qmtest::liveHandles();
    for (int count : {(int)tbDrawToolCount, 0}) {
        qmtest::BoxRecorder boxes;
        recorder().commands.clear();
        utFailNextAllocs(1);
        RECT r = {0, 0, 100, 30};
        HWND list = blCreate(parent(), nullptr, 2, &r, 0xC001, tbDrawToolTable, count, 22, 22, TRUE);
        utFailNextAllocs(0);
        EXPECT_EQ(nullptr, list) << count;
        EXPECT_EQ(nullptr, GetWindow(parent(), GW_CHILD)) << count;
        ASSERT_EQ(1u, boxes.count()) << count;
        EXPECT_EQ("Memory allocation failed", boxes.last().text);
        pump();
        EXPECT_TRUE(recorder().commands.empty()) << count;
    }
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST_F(ButtonListWindow, EnableFindSelectAndColour)
{
    HWND list = makeList(8, {0, 0, 30, 400}, 0xC000, tbModeToolTable, tbModeToolCount, 24, 24);
    ValidateRect(list, nullptr);
    // Enabling an enabled button changes nothing and repaints nothing.
    EXPECT_EQ(1, blEnableButton(list, 400, TRUE));
    EXPECT_TRUE(IsRectEmpty(&(const RECT &)pendingUpdate(list)));
    EXPECT_EQ(1, blEnableButton(list, 401, TRUE));   // "Edit" starts disabled
    RECT expect;
    blGetButtonRect(list, 10, &expect);
    InflateRect(&expect, 1, 1);
    RECT got = pendingUpdate(list);
    EXPECT_TRUE(EqualRect(&expect, &got));
    EXPECT_EQ(0, blEnableButton(list, 9999, TRUE));

    const uint16_t ids[] = {400, 402, 9999, 217, 0xFFFF};
    blEnableButtons(list, FALSE, ids);
    ToolButton e;
    for (uint16_t id : {400, 402, 217}) {
        ASSERT_TRUE(blGetButton(list, blFindButton(list, id), &e));
        EXPECT_EQ(0, e.enabled) << id;
    }
    blEnableAll(list, TRUE);
    for (int i = 0; i < tbModeToolCount; ++i) {
        ASSERT_TRUE(blGetButton(list, i, &e));
        EXPECT_EQ(1, e.enabled);
    }

    EXPECT_EQ(-1, blFindButton(list, 0));
    EXPECT_EQ(2, blFindButton(list, 192));
    EXPECT_FALSE(blGetButton(list, -1, &e));
    EXPECT_FALSE(blGetButton(list, tbModeToolCount, &e));
    RECT r;
    blGetButtonRect(list, -1, &r);
    EXPECT_TRUE(IsRectEmpty(&r));

    blSelectButton(list, 402);
    EXPECT_EQ(1, blGetPressed(list));
    blSelectButton(list, 9999);   // absent: nothing pressed
    EXPECT_EQ(-1, blGetPressed(list));
    blSelectButton(list, 400);
    blReleaseSelection(list);
    EXPECT_EQ(-1, blGetPressed(list));

    blSetButtonColor(list, 530, RGB(10, 20, 30));
    ASSERT_TRUE(blGetButton(list, blFindButton(list, 530), &e));
    EXPECT_EQ(RGB(10, 20, 30), (COLORREF)e.color);
    EXPECT_TRUE(e.kind & TBK_COLOR_BAR);
    EXPECT_TRUE(e.kind & TBK_TRIANGLE);   // the kind keeps its other bits
}

TEST_F(ButtonListWindow, OperationsOnOtherWindowsDoNothing)
{
    HWND other = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, parent(), nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ToolButton e;
    RECT r;
    EXPECT_EQ(0, blEnableButton(other, 400, TRUE));
    EXPECT_EQ(-1, blFindButton(other, 400));
    EXPECT_FALSE(blGetButton(other, 0, &e));
    blGetButtonRect(other, 0, &r);
    EXPECT_TRUE(IsRectEmpty(&r));
    blSelectButton(other, 400);
    blReleaseSelection(other);
    blSetButtonColor(other, 400, 0);
    EXPECT_EQ(-1, blGetPressed(other));
    EXPECT_EQ(-1, blFindButton(nullptr, 400));
    DestroyWindow(other);
}

TEST_F(ButtonListWindow, OwnCommands)
{
    HWND list = makeList(2, {0, 0, 200, 24}, 0xC003, tbDrawToolTable, tbDrawToolCount, 22, 22);
    ButtonListRecord rec;
    SendMessageA(list, WM_COMMAND, BL_SCROLL_BACK, 0);   // at 0: nothing
    blGetRecord(list, &rec);
    EXPECT_EQ(0, rec.first);
    SendMessageA(list, WM_COMMAND, BL_SCROLL_FORWARD, 0);
    SendMessageA(list, WM_COMMAND, BL_SCROLL_FORWARD, 0);
    blGetRecord(list, &rec);
    EXPECT_EQ(2, rec.first);
    RECT r;
    blGetButtonRect(list, 2, &r);
    EXPECT_EQ(16, r.left);   // the third button now opens the row
    SendMessageA(list, WM_COMMAND, BL_SCROLL_BACK, 0);
    blGetRecord(list, &rec);
    EXPECT_EQ(1, rec.first);

    // A click on a scroll button scrolls as well.
    SendMessageA(list, WM_COMMAND, MAKEWPARAM(BL_SCROLL_FORWARD, BN_CLICKED),
                 (LPARAM)GetDlgItem(list, BL_SCROLL_FORWARD));
    blGetRecord(list, &rec);
    EXPECT_EQ(2, rec.first);

    recorder().commands.clear();
    SendMessageA(list, WM_COMMAND, MAKEWPARAM(10, 3), 1234);
    SendMessageA(list, WM_COMMAND, 500, 0);
    pump();
    ASSERT_EQ(1u, recorder().commands.size());
    EXPECT_EQ(MAKEWPARAM(10, 3), recorder().commands[0].wParam);
    EXPECT_EQ(1234, recorder().commands[0].lParam);
    EXPECT_FALSE(recorder().commands[0].sent);

    SendMessageA(list, WM_COMMAND, 501, 0);
    EXPECT_TRUE(IsWindow(list));   // closes from the queue
    pump();
    EXPECT_FALSE(IsWindow(list));
}

// ---- painting -------------------------------------------------------------------------

class ButtonListPaint : public ListTest {
protected:
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    // Paints the list into a DIB of its client size filled with the face
    // colour (as the erased background is).
    void paint(HWND list, qmtest::Dib &dib, const RECT *update = nullptr)
    {
        dib.fill(face);
        RECT all = clientOf(list);
        blPaintList(list, dib.dc(), update ? *update : all);
    }
    RECT rectOf(HWND list, int i)
    {
        RECT r;
        blGetButtonRect(list, i, &r);
        return r;
    }
};

TEST_F(ButtonListPaint, EtchedLineButtonsAndEdges)
{
    ToolButton table[3];
    memcpy(table, tbDrawToolTable, sizeof(table));
    table[1].enabled = 0;
    table[2].kind = 0;
    HWND list = makeList(2, {0, 0, 100, 30}, 0x0001, table, 3, 22, 22);   // raised 3-D edges
    qmtest::Dib dib(100, 30);
    paint(list, dib);
    // The etched line along the top, away from the buttons.
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dib.pixel(90, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dib.pixel(90, 1));

    RECT r = rectOf(list, 0);   // {0, 4, 22, 26}
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), dib.pixel(r.left, r.top));
    EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), dib.pixel(r.left + 1, r.top + 1));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), dib.pixel(r.right - 1, r.bottom - 1));
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dib.pixel(r.right - 2, r.bottom - 2));
    RECT inner = r;
    InflateRect(&inner, -3, -3);
    EXPECT_GT(dib.count(RGB(0, 0, 0), inner), 8);   // the "line" picture

    // The disabled button: no edge, only the greyed colours.
    RECT d = rectOf(list, 1);
    EXPECT_EQ(face, dib.pixel(d.left, d.top));
    EXPECT_EQ(face, dib.pixel(d.right - 1, d.bottom - 1));
    int area = (d.right - d.left) * (d.bottom - d.top);
    int grey = dib.count(face, d) + dib.count(GetSysColor(COLOR_BTNSHADOW), d) +
               dib.count(GetSysColor(COLOR_BTNHIGHLIGHT), d);
    EXPECT_EQ(area, grey);
    EXPECT_GT(dib.count(GetSysColor(COLOR_BTNSHADOW), d), 8);

    // Kind 0: nothing drawn at all.
    RECT k = rectOf(list, 2);
    EXPECT_EQ((k.right - k.left) * (k.bottom - k.top), dib.count(face, k));
}

TEST_F(ButtonListPaint, OutlineAndFlatStyles)
{
    HWND outline = makeList(2, {0, 0, 100, 30}, 0x4001, tbDrawToolTable, 3, 22, 22);
    HWND flat = makeList(3, {0, 40, 100, 70}, 0xC001, tbDrawToolTable, 3, 22, 22);
    qmtest::Dib a(100, 30), b(100, 30);
    paint(outline, a);
    paint(flat, b);
    RECT r = rectOf(outline, 0);
    EXPECT_EQ(RGB(0, 0, 0), a.pixel(r.left, r.top));
    EXPECT_EQ(RGB(0, 0, 0), a.pixel(r.right - 1, r.bottom - 1));
    EXPECT_EQ(RGB(0, 0, 0), a.pixel(r.left + 11, r.top));
    EXPECT_EQ(face, b.pixel(r.left, r.top));
    EXPECT_EQ(face, b.pixel(r.right - 1, r.bottom - 1));
    EXPECT_EQ(face, b.pixel(r.left + 11, r.top));
}

TEST_F(ButtonListPaint, PressedButtonIsInvertedInsideItsEdge)
{
    HWND list = makeList(2, {0, 0, 100, 30}, 0x0001, tbDrawToolTable, 3, 22, 22);
    qmtest::Dib normal(100, 30), pressed(100, 30);
    paint(list, normal);
    blSelectButton(list, 302);
    paint(list, pressed);
    RECT r = rectOf(list, 1);
    EXPECT_EQ(20 * 20, normal.diff(pressed));   // 22 by 22 less one pixel all round
    COLORREF before = normal.pixel(r.left + 1, r.top + 1);
    EXPECT_EQ(RGB(255 - GetRValue(before), 255 - GetGValue(before), 255 - GetBValue(before)),
              pressed.pixel(r.left + 1, r.top + 1));
    EXPECT_EQ(normal.pixel(r.left, r.top), pressed.pixel(r.left, r.top));
}

TEST_F(ButtonListPaint, TriangleColourBarAndTextFace)
{
    ToolButton table[3];
    memcpy(table, &tbDrawToolTable[9], 2 * sizeof(ToolButton));   // "Rectangle", "Rounded Rectangle" (0x48)
    blFillButton(&table[2], 900, 0, TBK_COMMAND | TBK_TEXT_FACE, 1, "Ab", "Text face", 0);
    HWND list = makeList(2, {0, 0, 100, 30}, 0xC001, table, 3, 22, 22);
    blSetButtonColor(list, 306, RGB(0, 0, 255));
    qmtest::Dib dib(100, 30);
    paint(list, dib);

    RECT t = rectOf(list, 1);
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(t.right - 5, t.bottom - 3));   // apex
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(t.right - 7, t.bottom - 5));   // 5 wide at the top
    EXPECT_EQ(RGB(0, 0, 0), dib.pixel(t.right - 3, t.bottom - 5));
    EXPECT_NE(RGB(0, 0, 0), dib.pixel(t.right - 2, t.bottom - 5));
    EXPECT_NE(RGB(0, 0, 0), dib.pixel(t.right - 5, t.bottom - 2));

    RECT c = rectOf(list, 0);
    RECT bar = {c.left + 2, c.bottom - 7, c.right - 2, c.bottom - 2};
    EXPECT_EQ((bar.right - bar.left) * (bar.bottom - bar.top), dib.count(RGB(0, 0, 255), bar));

    RECT f = rectOf(list, 2);
    RECT box = f;
    InflateRect(&box, -4, -4);
    EXPECT_GT(dib.count(RGB(255, 255, 255), box), (box.right - box.left) * (box.bottom - box.top) / 3);
    EXPECT_GT(dib.countDark(box), 0);   // some text on it (antialiased: counted as dark)
}

TEST_F(ButtonListPaint, OnlyButtonsMeetingTheUpdateAreDrawn)
{
    HWND list = makeList(2, {0, 0, 200, 30}, 0xC001, tbDrawToolTable, 6, 22, 22);
    qmtest::Dib dib(200, 30);
    RECT second = rectOf(list, 1);
    paint(list, dib, &second);
    RECT first = rectOf(list, 0), fourth = rectOf(list, 3);
    EXPECT_GT(dib.count(RGB(0, 0, 0), second), 0);
    EXPECT_EQ(0, dib.count(RGB(0, 0, 0), fourth));
    // The first button's enlarged rectangle touches the second one: drawn.
    EXPECT_GT(dib.count(RGB(0, 0, 0), first), 0);
    RECT empty = {0, 0, 0, 0};
    paint(list, dib, &empty);
    EXPECT_EQ(200 * 30, dib.count(face));
}

TEST_F(ButtonListPaint, MappedGreysFollowTheSystemColours)
{
    qmtest::Dib plain(16, 16), mapped(16, 16);
    ASSERT_TRUE(gdiDrawResBitmap(parent(), plain.dc(), "rect", 0, 0, 16, 16, GDI_ALIGN_CENTRE, SRCCOPY));
    ASSERT_TRUE(
        gdiDrawResBitmapMapped(parent(), mapped.dc(), "rect", 0, 0, 16, 16, GDI_ALIGN_CENTRE, SRCCOPY));
    EXPECT_EQ(RGB(192, 192, 192), plain.pixel(0, 0));
    EXPECT_EQ(face, mapped.pixel(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), mapped.pixel(2, 3));   // the outline keeps its black
    EXPECT_FALSE(gdiDrawResBitmapMapped(parent(), mapped.dc(), "no-such", 0, 0, 16, 16, 9, SRCCOPY));
    EXPECT_FALSE(gdiDrawResBitmapDisabled(parent(), mapped.dc(), "no-such", 0, 0, 16, 16));
}
