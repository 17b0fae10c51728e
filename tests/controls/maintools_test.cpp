// The main tool list facade, adding, appending, removing and truncating
// entries, and the child-window walks that leave button lists alone.
#include "tests/controls/bl_fixture.h"
#include "support/ut_mem.h"
#include <string.h>

using bltest::commandsWith;
using bltest::ListTest;
using bltest::pump;
using bltest::recorder;

namespace {

RECT updateBox(HWND w)
{
    RECT r;
    if (!GetUpdateRect(w, &r, FALSE))
        SetRectEmpty(&r);
    return r;
}

int countOf(HWND list)
{
    ButtonListRecord rec;
    return blGetRecord(list, &rec) ? rec.count : -1;
}

}  // namespace

class MainToolList : public ListTest {
protected:
    HWND tools = nullptr;
    void SetUp() override
    {
        ListTest::SetUp();
        tools = makeList(8, {0, 0, 30, 560}, 0xC000, tbModeToolTable, tbModeToolCount, 24, 24);
        blSetToolList(tools);
    }
};

TEST_F(MainToolList, FacadeDoesNothingBeforeTheListIsSet)
{
    blSetToolList(nullptr);
    EXPECT_EQ(nullptr, blGetToolList());
    blSelectToolButton(400);
    blReleaseToolList();
    blEnableAllToolButtons(FALSE);
    EXPECT_EQ(0, blEnableToolButton(401, TRUE));
    EXPECT_EQ(0, blAddToolButton(210, 0, TBK_AT_PRESS, 1, "reshape", "Reshape", 0));
    EXPECT_EQ(0, blRemoveToolButton(400));
    EXPECT_EQ(tbModeToolCount, countOf(tools));
    EXPECT_EQ(-1, blGetPressed(tools));
    ToolButton e;
    ASSERT_TRUE(blGetButton(tools, 0, &e));
    EXPECT_EQ(1, e.enabled);

    // A list that went is forgotten.
    blSetToolList(tools);
    DestroyWindow(tools);
    EXPECT_EQ(nullptr, blGetToolList());
}

TEST_F(MainToolList, FacadeReachesTheList)
{
    EXPECT_EQ(tools, blGetToolList());
    blSelectToolButton(401);
    EXPECT_EQ(10, blGetPressed(tools));
    blSelectToolButton(0);   // a mode without a button
    EXPECT_EQ(-1, blGetPressed(tools));
    blSelectToolButton(400);
    blReleaseToolList();
    EXPECT_EQ(-1, blGetPressed(tools));

    EXPECT_EQ(1, blEnableToolButton(217, TRUE));
    EXPECT_EQ(0, blEnableToolButton(210, TRUE));
    blEnableAllToolButtons(FALSE);
    ToolButton e;
    for (int i = 0; i < tbModeToolCount; ++i) {
        ASSERT_TRUE(blGetButton(tools, i, &e));
        EXPECT_EQ(0, e.enabled);
    }
}

TEST_F(MainToolList, ReshapeAddedTwiceIsThereOnceAndRemovedOnce)
{
    long before = qmtest::liveHandles();
    EXPECT_EQ(1, blAddToolButton(210, 0, TBK_AT_PRESS, 1, "reshape", "Reshape", 0));
    EXPECT_EQ(1, blAddToolButton(210, 0, TBK_AT_PRESS, 1, "reshape", "Reshape", 0));
    EXPECT_EQ(1, blAddToolButton(250, 0, TBK_AT_PRESS, 1, "snap2nod", "Snap to Node", 0));
    EXPECT_EQ(tbModeToolCount + 2, countOf(tools));
    ToolButton e;
    ASSERT_TRUE(blGetButton(tools, tbModeToolCount, &e));
    EXPECT_EQ(210, e.command);
    EXPECT_EQ(TBK_AT_PRESS, e.kind);
    EXPECT_EQ(0, e.command2);
    EXPECT_EQ(std::string("Reshape"), e.tooltip);

    // The static table is untouched.
    EXPECT_EQ(16, tbModeToolCount);
    EXPECT_EQ(1231, tbModeToolTable[15].command);

    EXPECT_EQ(1, blRemoveToolButton(210));
    EXPECT_EQ(0, blRemoveToolButton(210));
    EXPECT_EQ(tbModeToolCount + 1, countOf(tools));
    ASSERT_TRUE(blGetButton(tools, tbModeToolCount, &e));
    EXPECT_EQ(250, e.command);   // the following entry moved up
    EXPECT_EQ(1, blRemoveToolButton(250));
    EXPECT_EQ(tbModeToolCount, countOf(tools));
    EXPECT_EQ(before, qmtest::liveHandles());
}

TEST_F(MainToolList, DestroyingTheListNotifiesItsParent)
{
    recorder().commands.clear();
    blDestroy(tools);
    pump();
    ASSERT_EQ(2u, recorder().commands.size());
    EXPECT_EQ(MAKEWPARAM(970, 8), recorder().commands[0].wParam);
    EXPECT_TRUE(recorder().commands[0].sent);
    EXPECT_EQ(MAKEWPARAM(914, 8), recorder().commands[1].wParam);
    EXPECT_FALSE(recorder().commands[1].sent);
    EXPECT_EQ((LPARAM)tools, recorder().commands[1].lParam);
}

TEST_F(MainToolList, AppendingATableRepaintsFromTheOldLastButton)
{
    HWND colours = makeList(40, {40, 0, 340, 24}, 0xC001, tbColorTargetTable, tbColorTargetCount, 24, 24);
    UpdateWindow(colours);
    ValidateRect(colours, nullptr);
    EXPECT_EQ(1, blAppendButtons(colours, tbTextFlowTable, tbTextFlowCount));
    EXPECT_EQ(11, countOf(colours));
    RECT from, to, expect;
    blGetButtonRect(colours, 3, &from);
    blGetButtonRect(colours, 10, &to);
    UnionRect(&expect, &from, &to);
    InflateRect(&expect, 1, 1);
    RECT client;
    GetClientRect(colours, &client);
    IntersectRect(&expect, &expect, &client);   // the update region stays in the client
    RECT got = updateBox(colours);
    EXPECT_TRUE(EqualRect(&expect, &got)) << got.left << "," << got.right;
    // No test for ids already there.
    EXPECT_EQ(1, blAppendButtons(colours, tbTextFlowTable, 1));
    EXPECT_EQ(12, countOf(colours));

    // The frame takes the text tools out again by truncating.
    EXPECT_EQ(1, blTruncateButtons(colours, tbColorTargetCount));
    EXPECT_EQ(4, countOf(colours));
    EXPECT_EQ(-1, blFindButton(colours, 2204));
    EXPECT_EQ(0, blTruncateButtons(colours, 4));    // at the count: refused
    EXPECT_EQ(0, blTruncateButtons(colours, -1));
    EXPECT_EQ(1, blTruncateButtons(colours, 0));    // empties the list
    EXPECT_EQ(0, countOf(colours));
    EXPECT_EQ(0, blTruncateButtons(colours, 0));
    EXPECT_EQ(1, blAddButton(colours, 30, 0, TBK_COMMAND, 1, "cr_fore", "Text / Foreground", 0));
    EXPECT_EQ(1, countOf(colours));
}

TEST_F(MainToolList, AppendingWithoutMemoryLeavesTheListAsItWas)
{
    qmtest::BoxRecorder boxes;
    ValidateRect(tools, nullptr);
    utFailNextAllocs(1);
    EXPECT_EQ(0, blAddToolButton(210, 0, TBK_AT_PRESS, 1, "reshape", "Reshape", 0));
    utFailNextAllocs(1);
    EXPECT_EQ(0, blAppendButtons(tools, tbTextFlowTable, 3));
    utFailNextAllocs(0);
    EXPECT_EQ(2u, boxes.count());
    EXPECT_EQ("Memory allocation failed", boxes.last().text);
    EXPECT_EQ(tbModeToolCount, countOf(tools));
    EXPECT_EQ(15, blFindButton(tools, 1231));
    RECT got = updateBox(tools);
    EXPECT_TRUE(IsRectEmpty(&got));
}

TEST_F(MainToolList, PressedButtonFollowsRemovalsAndTruncation)
{
    // Removing an entry before the pressed one keeps the same button pressed.
    blSelectToolButton(217);   // index 11
    EXPECT_EQ(1, blRemoveToolButton(402));
    EXPECT_EQ(10, blGetPressed(tools));
    ToolButton e;
    ASSERT_TRUE(blGetButton(tools, blGetPressed(tools), &e));
    EXPECT_EQ(217, e.command);

    // Removing one after it changes nothing; removing it leaves none pressed.
    EXPECT_EQ(1, blRemoveToolButton(1231));
    EXPECT_EQ(10, blGetPressed(tools));
    EXPECT_EQ(1, blRemoveToolButton(217));
    EXPECT_EQ(-1, blGetPressed(tools));

    // Truncating at or before the pressed button releases it.
    blSelectToolButton(403);
    int pressed = blGetPressed(tools);
    EXPECT_EQ(1, blTruncateButtons(tools, pressed + 1));
    EXPECT_EQ(pressed, blGetPressed(tools));
    EXPECT_EQ(1, blTruncateButtons(tools, pressed));
    EXPECT_EQ(-1, blGetPressed(tools));

    // A press after all this lands on the right button.
    click(tools, centre(tools, 0));
    pump();
    std::vector<bltest::Command> got = bltest::buttonCommands();
    ASSERT_EQ(1u, got.size());
    EXPECT_EQ(400u, got[0].wParam);
    EXPECT_EQ(0, blGetPressed(tools));
}

TEST_F(MainToolList, ScrolledListStaysWithinItsButtonsAfterRemovals)
{
    HWND row = makeList(2, {0, 0, 200, 24}, 0xC003, tbDrawToolTable, 4, 22, 22);
    for (int i = 0; i < 3; ++i)
        SendMessageA(row, WM_COMMAND, BL_SCROLL_FORWARD, 0);
    ButtonListRecord rec;
    ASSERT_TRUE(blGetRecord(row, &rec));
    EXPECT_EQ(3, rec.first);
    EXPECT_EQ(1, blTruncateButtons(row, 2));
    ASSERT_TRUE(blGetRecord(row, &rec));
    EXPECT_EQ(1, rec.first);
    EXPECT_EQ(1, blRemoveButton(row, 302));
    ASSERT_TRUE(blGetRecord(row, &rec));
    EXPECT_EQ(0, rec.first);
}

TEST_F(MainToolList, ChildWalksLeaveButtonListsAlone)
{
    HWND host = CreateWindowA("STATIC", "", WS_CHILD | WS_VISIBLE, 40, 0, 400, 300, parent(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    RECT r = {0, 0, 200, 24};
    HWND list = blCreateShown(host, nullptr, 2, &r, 0xC003, tbDrawToolTable, tbDrawToolCount, 22, 22);
    HWND a = CreateWindowA("STATIC", "", WS_CHILD, 0, 40, 10, 10, host, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
    HWND b = CreateWindowA("BUTTON", "", WS_CHILD, 0, 60, 10, 10, host, nullptr, GetModuleHandleA(nullptr),
                           nullptr);
    HWND back = GetDlgItem(list, BL_SCROLL_BACK);
    ASSERT_TRUE(list && a && b && back);

    ctlPostToChildren(host);
    int toA = 0, toB = 0, toLists = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, CTL_MSG_ZOOM_CHANGED, CTL_MSG_ZOOM_CHANGED, PM_REMOVE)) {
        toA += msg.hwnd == a;
        toB += msg.hwnd == b;
        toLists += msg.hwnd == list || msg.hwnd == back;
    }
    EXPECT_EQ(1, toA);
    EXPECT_EQ(1, toB);
    EXPECT_EQ(0, toLists);

    ctlDestroyChildren(host);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_FALSE(IsWindow(b));
    EXPECT_TRUE(IsWindow(list));
    EXPECT_TRUE(IsWindow(back));   // the list keeps its scroll buttons
    DestroyWindow(host);
}

TEST(PageOptionFlag, SetOnceAndForAll)
{
    blResetToolListModule();
    EXPECT_FALSE(ctlIsPageOption16Clear());
    ctlSetPageOption16Clear();
    ctlSetPageOption16Clear();
    EXPECT_TRUE(ctlIsPageOption16Clear());
    blResetToolListModule();
}
