// The one-level undo on a real workspace of the program started in-process:
// steps recorded and performed by kind, the step surviving its own
// command's selection change, the Undo button, saved copies that cannot be
// rebuilt, and the moving allocator.
#include "tests/app/app_fixture.h"
#include "tests/model/ob_kit.h"
#include "tests/table/tb_fixture.h"
#include "commands/app_stdbar.h"
#include "commands/ep_select.h"
#include "commands/ms_merge.h"
#include "commands/obj_block.h"
#include "commands/ord_order.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_dir.h"
#include "model/fm_form.h"
#include "support/ut_mem.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>
#include <vector>

namespace {

using obtest::listOf;
using obtest::make;
using qmtest::BoxRecorder;

std::vector<WPARAM> &commandsSeen()
{
    static std::vector<WPARAM> seen;
    return seen;
}

// A tool that notes the commands reaching the workspace and claims them.
LRESULT CALLBACK commandTool(HWND ws, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND && LOWORD(wp) != WS_CMD_MODE_CHANGED) {
        commandsSeen().push_back(LOWORD(wp));
        return 0;
    }
    if (msg == WS_MSG_LEAVE_MODE) {
        wsLeaveToolMode(ws, FALSE);
        return 0;
    }
    return wsDefProc(ws, msg, wp, lp);
}

uint32_t fillOf(MemHandle h)
{
    ObLock r(h);
    return r ? r->fillColour : 0;
}

void setFill(MemHandle h, uint32_t colour)
{
    ObLock r(h);
    if (r)
        r->fillColour = colour;
}

class Undo : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle a = 0, b = 0, c = 0;
    uint32_t mode = utGetDebugMode();

    void SetUp() override
    {
        App::SetUp();
        writeSettings(false);
        ASSERT_TRUE(start());
        doc = appGetActiveDocWindow(frame);
        ws = dwGetWorkspace(doc);
        ASSERT_TRUE(ws != nullptr);
        ASSERT_NE(0u, pvGetCurrentPage(ws));
        ASSERT_TRUE(appGetBarWindow(frame, FB_STANDARD) != nullptr);
        commandsSeen().clear();
        a = make(OBT_RECTANGLE, 0, 0, 1000, 1000);
        b = make(OBT_ELLIPSE, 2000, 0, 3000, 1000);
        c = make(OBT_RECTANGLE, 4000, 0, 5000, 1000);
        for (MemHandle h : {a, b, c})
            ASSERT_TRUE(wsAppendObject(ws, h));
        appEnableUndoButton(FALSE);
    }
    void TearDown() override
    {
        utSetDebugMode(mode);
        if (ws && IsWindow(ws))
            udDiscard(ws);
        App::TearDown();
    }

    std::vector<MemHandle> page() { return listOf(wsGetFirstObject(ws)); }
    std::vector<int16_t> types()
    {
        std::vector<int16_t> t;
        for (MemHandle h : page())
            t.push_back(obGetType(h));
        return t;
    }
    bool undoButton() { return appIsStdBarButtonEnabled(APP_CMD_UNDO) != FALSE; }
    int undo() { return cmdUndo(ws, wsGetCurrentObject(ws)); }
};

// ---- by kind -----------------------------------------------------------------------------------

TEST_F(Undo, DeletedObjectComesBackWhereItsPreviousObjectSays)
{
    struct Case {
        const char *name;
        int which;                          // 0 a, 1 b, 2 c
        std::vector<int16_t> afterUndo;     // types of the page
        int position;                       // of the copy
    } cases[] = {
        // No previous object was recorded: the copy goes on top.
        {"first", 0, {OBT_ELLIPSE, OBT_RECTANGLE, OBT_RECTANGLE}, 2},
        {"middle", 1, {OBT_RECTANGLE, OBT_ELLIPSE, OBT_RECTANGLE}, 1},
        {"last", 2, {OBT_RECTANGLE, OBT_ELLIPSE, OBT_RECTANGLE}, 2},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        std::vector<MemHandle> objs = page();
        MemHandle victim = objs[(size_t)k.which];
        RECT box;
        obGetRect(victim, &box);
        epSelectObject(ws, victim);
        {
            UdKeepStep keep(ws);
            ASSERT_EQ(1, udRecord(ws, victim, 0, UD_DELETED, 0));
            ASSERT_TRUE(wsDeleteObject(ws, victim));
        }
        EXPECT_EQ(0u, wsGetCurrentObject(ws));
        EXPECT_EQ(2u, page().size());
        EXPECT_TRUE(udIsPending(ws));
        EXPECT_TRUE(undoButton());
        EXPECT_EQ(1, undo());
        EXPECT_EQ(k.afterUndo, types());
        MemHandle copy = page()[(size_t)k.position];
        RECT back;
        obGetRect(copy, &back);
        EXPECT_TRUE(EqualRect(&box, &back));
        EXPECT_EQ(copy, wsGetCurrentObject(ws));
        EXPECT_FALSE(udIsPending(ws));
        EXPECT_FALSE(undoButton());
        // Put the page back in its first order for the next case.
        std::vector<MemHandle> now = page();
        MemHandle e = 0;
        for (MemHandle h : now)
            if (obGetType(h) == OBT_ELLIPSE)
                e = h;
        std::vector<MemHandle> rects;
        for (MemHandle h : now)
            if (h != e)
                rects.push_back(h);
        wsSetFirstObject(ws, 0);
        for (MemHandle h : {rects[0], e, rects[1]})
            wsAppendObject(ws, h);
    }
}

TEST_F(Undo, ChangedObjectIsReplacedByItsSavedCopyInItsPlace)
{
    setFill(b, 0x0000FF);
    epSelectObject(ws, b);
    ASSERT_EQ(1, udRecordCopy(ws, b));
    setFill(b, 0x00FF00);
    obMoveBy(b, 500, 500);
    EXPECT_EQ(1, undo());
    std::vector<MemHandle> now = page();
    ASSERT_EQ(3u, now.size());
    EXPECT_EQ(a, now[0]);
    EXPECT_EQ(c, now[2]);
    EXPECT_NE(b, now[1]);
    EXPECT_FALSE(utIsLiveHandle(b));   // the changed object is freed
    EXPECT_EQ(0x0000FFu, fillOf(now[1]));
    POINT centre;
    obGetCentre(now[1], &centre);
    EXPECT_EQ(2500, centre.x);
    EXPECT_EQ(now[1], wsGetCurrentObject(ws));
}

TEST_F(Undo, SendBackwardIsUndoneByBringForward)
{
    // The program starts in select mode: the noting tool takes its place.
    wsLeaveToolMode(ws, FALSE);
    wsEnterToolMode(ws, TM_SELECT, commandTool, 0, 0);
    pump();
    commandsSeen().clear();
    epSelectObject(ws, b);
    ASSERT_EQ(1, udRecord(ws, b, 428, UD_COMMAND, 0));
    EXPECT_EQ(1, undo());
    ASSERT_EQ(1u, commandsSeen().size());
    EXPECT_EQ(428u, commandsSeen()[0]);
    EXPECT_EQ(b, wsGetCurrentObject(ws));
    EXPECT_FALSE(udIsPending(ws));
}

TEST_F(Undo, OnlyTheSecondOfTwoCommandsIsUndone)
{
    setFill(a, 1);
    setFill(b, 2);
    epSelectObject(ws, a);
    udRecordCopy(ws, a);
    setFill(a, 11);
    epSelectObject(ws, b);   // a change of selection drops the step
    EXPECT_FALSE(udIsPending(ws));
    udRecordCopy(ws, b);
    setFill(b, 22);
    EXPECT_EQ(1, undo());
    std::vector<MemHandle> now = page();
    EXPECT_EQ(11u, fillOf(now[0]));
    EXPECT_EQ(2u, fillOf(now[1]));
    // Nothing is left to undo: the page and the selection stay.
    MemHandle selected = wsGetCurrentObject(ws);
    undo();
    EXPECT_EQ(11u, fillOf(page()[0]));
    EXPECT_EQ(selected, wsGetCurrentObject(ws));
    EXPECT_EQ(now, page());

    // Two steps recorded on the same selection: the second replaces the first.
    epSelectObject(ws, page()[0]);
    udRecordCopy(ws, page()[0]);
    setFill(page()[0], 111);
    udRecord(ws, page()[0], 0, UD_MOVED, 0);
    obMoveBy(page()[0], 300, 0);
    EXPECT_EQ(1, undo());
    EXPECT_EQ(111u, fillOf(page()[0]));
    POINT centre;
    obGetCentre(page()[0], &centre);
    EXPECT_EQ(500, centre.x);
}

TEST_F(Undo, TheUndoButtonFollowsTheStep)
{
    EXPECT_FALSE(undoButton());
    epSelectObject(ws, a);
    ASSERT_EQ(1, udRecordCopy(ws, a));
    EXPECT_TRUE(undoButton());
    // Dropping alone leaves the button; asking whether a step is pending
    // switches it off.
    udDiscard(ws);
    EXPECT_TRUE(undoButton());
    EXPECT_EQ(0, udIsPending(ws));
    EXPECT_FALSE(undoButton());

    ASSERT_EQ(1, udRecordCopy(ws, a));
    EXPECT_TRUE(undoButton());
    EXPECT_EQ(1, undo());
    EXPECT_FALSE(undoButton());

    // A failed record: no memory for the copy.
    MemHandle now = wsGetCurrentObject(ws);
    ASSERT_EQ(1, udRecordCopy(ws, now));
    EXPECT_TRUE(undoButton());
    {
        BoxRecorder boxes;
        utFailNextAllocs(1);
        EXPECT_EQ(0, udRecordCopy(ws, now));
        utFailNextAllocs(0);
    }
    EXPECT_FALSE(undoButton());
    EXPECT_FALSE(wsIsUndoPending(ws));
    // Kinds that need data fail without it.
    EXPECT_EQ(0, udRecord(ws, now, 0, UD_PROPERTY, UD_SUB_NAME));   // unnamed
    EXPECT_EQ(0, udRecord(ws, 0, 0, UD_COPY, 0));
    EXPECT_FALSE(undoButton());
}

TEST_F(Undo, StepSurvivesItsOwnCommandsSelectionChange)
{
    // A command that records and then clears the selection keeps its step.
    epSelectObject(ws, a);
    {
        UdKeepStep keep(ws);
        udRecord(ws, a, 0, UD_DELETED, 0);
        wsDeleteObject(ws, a);
        epClearSelection(ws);
    }
    EXPECT_TRUE(wsIsUndoPending(ws));
    // Outside a command the selection change drops it.
    epSelectObject(ws, b);
    EXPECT_FALSE(wsIsUndoPending(ws));

    // Inserting selects the new object and records its step after that.
    MemHandle d = make(OBT_ELLIPSE, 0, 3000, 500, 3500);
    ASSERT_TRUE(wsInsertObject(ws, d, FALSE));
    EXPECT_EQ(d, wsGetCurrentObject(ws));
    EXPECT_TRUE(wsIsUndoPending(ws));
    EXPECT_TRUE(undoButton());
    EXPECT_EQ(0, undo());   // nothing is current afterwards
    EXPECT_FALSE(utIsLiveHandle(d));
    EXPECT_EQ(2u, page().size());
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
}

TEST_F(Undo, PropertyStepsWaitForTheirObject)
{
    MemHandle named = obSetName(b, "before, the longer name");
    ASSERT_NE(0u, named);
    b = named;
    epSelectObject(ws, b);
    ASSERT_EQ(1, udRecord(ws, b, 0, UD_PROPERTY, UD_SUB_NAME));
    // Renamed shorter: the record keeps its handle.
    ASSERT_EQ(b, obSetName(b, "after"));
    // Performed while another object is current: nothing, still pending.
    EXPECT_EQ(a, udPerform(ws, a));
    EXPECT_TRUE(wsIsUndoPending(ws));
    EXPECT_EQ("after", obtest::nameOf(b));
    // The name grows back: under the moving allocator the record moves, and
    // the handle returned (and selected) is the one to use.
    MemHandle back = udPerform(ws, b);
    EXPECT_EQ("before, the longer name", obtest::nameOf(back));
    EXPECT_FALSE(wsIsUndoPending(ws));
    EXPECT_EQ(back, wsGetCurrentObject(ws));
    EXPECT_EQ(back, page()[1]);
}

TEST_F(Undo, MovesAddedObjectsAndListOrder)
{
    // Kind 5: the centre goes back.
    epSelectObject(ws, a);
    udRecord(ws, a, 0, UD_MOVED, 0);
    obMoveBy(a, 700, -300);
    EXPECT_EQ(1, undo());
    POINT centre;
    obGetCentre(a, &centre);
    EXPECT_EQ(500, centre.x);
    EXPECT_EQ(500, centre.y);

    // Kind 17: the saved order comes back.
    std::vector<MemHandle> before = page();
    ASSERT_EQ(1, udRecord(ws, c, ordTakeListOrder(ws), UD_LIST_ORDER, 0));
    wsUnlinkObject(ws, c);
    wsInsertObjectAfter(ws, 0, c);
    EXPECT_EQ(c, page()[0]);
    EXPECT_EQ(c, udPerform(ws, c));
    EXPECT_EQ(before, page());

    // Kind 9: the clones and everything after the first are freed.
    MemHandle d = make(OBT_RECTANGLE), e = make(OBT_RECTANGLE);
    wsAppendObject(ws, d);
    wsAppendObject(ws, e);
    epSelectObject(ws, e);
    udRecord(ws, d, 0, UD_CLONED, 0);
    EXPECT_EQ(0u, udPerform(ws, e));
    EXPECT_EQ(before, page());
    EXPECT_FALSE(utIsLiveHandle(d));
    EXPECT_FALSE(utIsLiveHandle(e));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
}

TEST_F(Undo, RecordBytesComeBackWithTheLiveLinks)
{
    setFill(b, 0x123456);
    epSelectObject(ws, b);
    ASSERT_EQ(1, udRecord(ws, b, 0, UD_RECORD_BYTES, 0));
    uint32_t savedLength;
    {
        ObLock r(b);
        savedLength = r->length;
    }
    // The object changes, grows, and its list moves under it.
    setFill(b, 0x654321);
    MemHandle grown = obResize(b, savedLength + 40);
    ASSERT_NE(0u, grown);
    b = grown;
    wsUnlinkObject(ws, b);
    wsAppendObject(ws, b);   // now a, c, b
    MemHandle back = udPerform(ws, b);
    ASSERT_NE(0u, back);
    {
        ObLock r(back);
        EXPECT_EQ(savedLength, r->length);
        EXPECT_EQ(0x123456u, r->fillColour);
        // The links are the live ones: still after c, last of the list.
        EXPECT_EQ(c, r->prev);
        EXPECT_EQ(0u, r->next);
    }
    std::vector<MemHandle> now = page();
    ASSERT_EQ(3u, now.size());
    EXPECT_EQ(a, now[0]);
    EXPECT_EQ(c, now[1]);
    EXPECT_EQ(back, now[2]);

    // The page's first object: its record grows back into a new handle
    // under the moving allocator, and the page keeps it as its head.
    MemHandle named = obSetName(a, "named");   // moved: the page and selection are told
    wsSetFirstObject(ws, named);
    epSelectObject(ws, named);
    ASSERT_EQ(1, udRecord(ws, named, 0, UD_RECORD_BYTES, 0));
    MemHandle renamed = obSetName(named, "");
    ASSERT_EQ(named, renamed);
    MemHandle restored = udPerform(ws, named);
    EXPECT_EQ("named", obtest::nameOf(restored));
    EXPECT_EQ(restored, page()[0]);
    EXPECT_EQ(restored, wsGetCurrentObject(ws));
    EXPECT_EQ(3u, page().size());
}

TEST_F(Undo, ACopyThatCannotBeRebuiltChangesNothing)
{
    setFill(b, 7);
    epSelectObject(ws, b);
    udRecordCopy(ws, b);
    setFill(b, 8);
    // The saved block's first record claims 6 bytes.
    MemHandle data = udGetPendingData(ws);
    ASSERT_NE(0u, data);
    {
        MemLock<uint8_t> p(data);
        uint32_t six = 6;
        memcpy(p.get() + 4, &six, 4);
    }
    std::vector<MemHandle> before = page();
    BoxRecorder boxes;
    EXPECT_EQ(0, undo());
    EXPECT_EQ(1u, boxes.count());
    EXPECT_EQ("Input file data error", boxes.last().text);
    EXPECT_EQ(before, page());
    EXPECT_EQ(8u, fillOf(b));
    EXPECT_FALSE(wsIsUndoPending(ws));
    EXPECT_FALSE(undoButton());
}

TEST_F(Undo, GroupMemberStepsAndTheMovingAllocator)
{
    utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
    // A group in place of b; its second member is edited in place.
    MemHandle m1 = make(OBT_RECTANGLE, 0, 2000, 100, 2100);
    MemHandle m2 = make(OBT_ELLIPSE, 200, 2000, 300, 2100);
    MemHandle m3 = make(OBT_RECTANGLE, 400, 2000, 500, 2100);
    MemHandle g = obNewGroup(OBT_GROUP, m1, m2, m3, (MemHandle)0);
    ASSERT_TRUE(wsReplaceObject(ws, b, g));
    epSelectObject(ws, m2);
    setFill(m2, 5);
    ASSERT_EQ(1, udRecordCopy(ws, m2));
    // The member is renamed (its record moves) and recoloured.
    m2 = obSetName(m2, "renamed member");
    setFill(m2, 6);
    EXPECT_EQ(1, cmdUndo(ws, m2));
    MemHandle copy = wsGetCurrentObject(ws);
    std::vector<MemHandle> members = obtest::membersOf(g);
    ASSERT_EQ(3u, members.size());
    EXPECT_EQ(m1, members[0]);
    EXPECT_EQ(copy, members[1]);
    EXPECT_EQ(5u, fillOf(copy));
    EXPECT_EQ("", obtest::nameOf(copy));
    for (MemHandle m : members)
        EXPECT_EQ(g, obGetParent(m));
    EXPECT_EQ(OBT_RECTANGLE, obGetType(members[2]));
    EXPECT_FALSE(utIsLiveHandle(m2));

    // The list's record-byte step of the group itself under moving blocks.
    epSelectObject(ws, g);
    ASSERT_EQ(1, udRecord(ws, g, 0, UD_RECORD_BYTES, 0));
    MemHandle g2 = obSetName(g, "a name that makes the group grow");
    ASSERT_NE(g, g2);
    MemHandle back = udPerform(ws, g2);
    ASSERT_NE(0u, back);
    EXPECT_EQ("", obtest::nameOf(back));
    EXPECT_EQ(3u, obtest::membersOf(back).size());
    EXPECT_EQ(back, page()[1]);
    for (MemHandle m : obtest::membersOf(back))
        EXPECT_EQ(back, obGetParent(m));
}

// ---- property blocks, margins, guides, chains and merges -------------------------------------

TEST_F(Undo, PropertyBlocksComeBackBySubKind)
{
    // Rounded corners: the first 16 bytes of the type data.
    MemHandle round = make(OBT_ROUNDRECT, 0, 2000, 1000, 3000, 24);
    wsAppendObject(ws, round);
    epSelectObject(ws, round);
    std::vector<uint8_t> corners = obtest::dataOf(round);
    ASSERT_EQ(1, udRecord(ws, round, 0, UD_PROPERTY, UD_SUB_CORNERS));
    {
        ObLock r(round);
        memset(obRecData(r.get()), 0x77, 24);
    }
    EXPECT_EQ(round, udPerform(ws, round));
    std::vector<uint8_t> now = obtest::dataOf(round);
    EXPECT_EQ(std::vector<uint8_t>(corners.begin(), corners.begin() + 16),
              std::vector<uint8_t>(now.begin(), now.begin() + 16));
    EXPECT_EQ(0x77, now[16]);   // past the saved block: left

    // Arc handles: the head, the name and 20 bytes of type data, with the
    // links the record has now.
    MemHandle arc = make(OBT_ARC, 0, 4000, 1000, 5000, 28);
    wsAppendObject(ws, arc);
    epSelectObject(ws, arc);
    std::vector<uint8_t> head = obtest::headOf(arc), data = obtest::dataOf(arc);
    ASSERT_EQ(1, udRecord(ws, arc, 0, UD_PROPERTY, UD_SUB_ARC_HEAD));
    obMoveBy(arc, 900, 900);
    {
        ObLock r(arc);
        memset(obRecData(r.get()), 0x55, 28);
    }
    wsUnlinkObject(ws, arc);
    wsInsertObjectAfter(ws, 0, arc);   // now first of the list
    EXPECT_EQ(arc, udPerform(ws, arc));
    std::vector<uint8_t> headNow = obtest::headOf(arc);
    EXPECT_EQ(std::vector<uint8_t>(head.begin(), head.begin() + 58),
              std::vector<uint8_t>(headNow.begin(), headNow.begin() + 58));
    EXPECT_EQ(0u, obGetPrev(arc));
    EXPECT_EQ(a, obGetNext(arc));
    EXPECT_EQ(arc, page()[0]);
    std::vector<uint8_t> dataNow = obtest::dataOf(arc);
    EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + 20),
              std::vector<uint8_t>(dataNow.begin(), dataNow.begin() + 20));
    EXPECT_EQ(0x55, dataNow[20]);

    // Member moves of a group in select mode: the centres come back and
    // the group's frame fits them again.
    MemHandle m1 = make(OBT_RECTANGLE, 0, 6000, 100, 6100);
    MemHandle m2 = make(OBT_RECTANGLE, 500, 6000, 600, 6100);
    MemHandle g = obNewGroup(OBT_GROUP, m1, m2, (MemHandle)0);
    wsAppendObject(ws, g);
    epSelectObject(ws, g);
    RECT frame;
    obGetRect(g, &frame);
    ASSERT_EQ(1, udRecord(ws, g, 0, UD_PROPERTY, UD_SUB_MEMBER_MOVES));
    obMoveAloneBy(m2, 2000, 300);
    RECT moved;
    obFitToMembers(g, &moved);
    EXPECT_EQ(g, udPerform(ws, g));
    POINT c2;
    obGetCentre(m2, &c2);
    EXPECT_EQ(550, c2.x);
    EXPECT_EQ(6050, c2.y);
    RECT back;
    obGetRect(g, &back);
    EXPECT_TRUE(EqualRect(&frame, &back));

    // A table's head and attributes: the record comes back, grown back into
    // a new handle under the moving allocator, in its place in the list.
    EXPECT_EQ(0, udRecord(ws, g, 0, UD_PROPERTY, UD_SUB_TABLE_HEAD));   // not a table
    MemHandle table = qmtest::makeTable(3, 2, RECT{0, 8000, 3000, 9000});
    const char *texts[] = {"a", "b"};
    table = qmtest::setTableTexts(table, texts, 2);
    table = tbReapplyHead(ws, table);   // texts laid out as every head change leaves them
    wsAppendObject(ws, table);
    epSelectObject(ws, table);
    std::vector<uint8_t> tableData = obtest::dataOf(table);
    ASSERT_EQ(1, udRecord(ws, table, 0, UD_PROPERTY, UD_SUB_TABLE_HEAD));
    // The head grows by an attribute (the record moves under the moving
    // allocator, and the active workspace's undo step follows it); the undo
    // takes it back out.
    appSetActiveWorkspace(ws);
    table = tbSetAltRow(table, TRUE, RGB(0, 255, 0), 1);
    ASSERT_NE(tableData, obtest::dataOf(table));
    MemHandle tableBack = udPerform(ws, table);
    EXPECT_EQ(tableData, obtest::dataOf(tableBack));
    EXPECT_EQ(tableBack, page().back());
    EXPECT_EQ(tableBack, wsGetCurrentObject(ws));

    // Any other sub-kind restores nothing and is dropped.
    ASSERT_EQ(1, udRecord(ws, g, utHandleFromBytes("x", 2), UD_PROPERTY, 0));
    EXPECT_EQ(g, udPerform(ws, g));
    EXPECT_FALSE(wsIsUndoPending(ws));
}

// A page changed in the test moves under the moving allocator: the
// document keeps the handle that is valid afterwards.
void storePage(HWND ws, MemHandle page)
{
    ASSERT_NE(0u, page);
    pgDirSetPages(fmGetDirectory(wsGetDocument(ws)), page, pvGetCurrentPageIndex(ws));
}

TEST_F(Undo, MarginsAndGuidesComeBack)
{
    MemHandle pg = pvGetCurrentPage(ws);
    RECT before;
    pgGetMarginRect(pg, &before);
    int32_t saved[4] = {before.left, before.top, before.right, before.bottom};
    ASSERT_EQ(1, udRecord(ws, 0, utHandleFromBytes(saved, sizeof saved), UD_MARGINS, 0));
    RECT changed = {before.left + 720, before.top + 360, before.right - 720, before.bottom};
    storePage(ws, pgSetMarginRect(pvGetCurrentPage(ws), &changed));
    udPerform(ws, 0);
    RECT now;
    pgGetMarginRect(pvGetCurrentPage(ws), &now);
    EXPECT_TRUE(EqualRect(&before, &now));

    // Guides: the attribute put back, or removed when there was none.
    const uint32_t guides[3] = {12, 1, 2880};
    storePage(ws, pgSetAttr(pvGetCurrentPage(ws), UD_PAGE_GUIDES_TAG, guides, sizeof guides));
    ASSERT_EQ(1, udRecord(ws, 0, pgGetAttrCopy(pvGetCurrentPage(ws), UD_PAGE_GUIDES_TAG),
                          UD_GUIDES, 0));
    const uint32_t other[4] = {16, 2, 100, 200};
    storePage(ws, pgSetAttr(pvGetCurrentPage(ws), UD_PAGE_GUIDES_TAG, other, sizeof other));
    udPerform(ws, 0);
    MemHandle copy = pgGetAttrCopy(pvGetCurrentPage(ws), UD_PAGE_GUIDES_TAG);
    ASSERT_NE(0u, copy);
    EXPECT_EQ(0, memcmp(MemLock<uint8_t>(copy).get(), guides, sizeof guides));
    utFreeHandle(copy);
    ASSERT_EQ(1, udRecord(ws, 0, 0, UD_GUIDES, 0));
    udPerform(ws, 0);
    EXPECT_EQ(0u, pgGetAttrCopy(pvGetCurrentPage(ws), UD_PAGE_GUIDES_TAG));

    // A guide drag: the objects snapped to it move back, the guides return.
    std::vector<uint8_t> block(guides[0]);
    memcpy(block.data(), guides, sizeof guides);
    GuideDragTail tail = {2, 1, 400};
    block.insert(block.end(), (uint8_t *)&tail, (uint8_t *)&tail + sizeof tail);
    for (MemHandle h : {a, c})
        block.insert(block.end(), (uint8_t *)&h, (uint8_t *)&h + 4);
    obMoveBy(a, 400, 0);
    obMoveBy(c, 400, 0);
    ASSERT_EQ(1, udRecord(ws, 0, utHandleFromBytes(block.data(), (uint32_t)block.size()),
                          UD_GUIDE_DRAG, 0));
    udPerform(ws, 0);
    POINT ca, cc;
    obGetCentre(a, &ca);
    obGetCentre(c, &cc);
    EXPECT_EQ(500, ca.x);
    EXPECT_EQ(4500, cc.x);
    copy = pgGetAttrCopy(pvGetCurrentPage(ws), UD_PAGE_GUIDES_TAG);
    ASSERT_NE(0u, copy);
    EXPECT_EQ(0, memcmp(MemLock<uint8_t>(copy).get(), guides, sizeof guides));
    utFreeHandle(copy);
}

TEST_F(Undo, ChainIsDissolvedIntoTheSavedOrder)
{
    std::vector<MemHandle> before = page();
    MemHandle snapshot[4] = {a, b, c, 0};
    MemHandle saved = utHandleFromBytes(snapshot, sizeof snapshot);
    wsUnlinkObject(ws, a);
    wsUnlinkObject(ws, c);
    MemHandle chain = obNewGroup(OBT_CHAIN, a, c, (MemHandle)0);
    wsAppendObject(ws, chain);
    epSelectObject(ws, chain);
    ASSERT_EQ(1, udRecord(ws, chain, saved, UD_CHAIN, 0));
    // Not performed on something that is not a chain.
    EXPECT_EQ(b, udPerform(ws, b));
    ASSERT_EQ(1, udRecord(ws, chain, 0, UD_CHAIN, 0));   // a snapshot of the page now
    ASSERT_EQ(1, udRecord(ws, chain, utHandleFromBytes(snapshot, sizeof snapshot), UD_CHAIN, 0));
    EXPECT_EQ(0, cmdUndo(ws, chain));
    EXPECT_EQ(before, page());
    EXPECT_FALSE(utIsLiveHandle(chain));
    EXPECT_EQ(0u, wsGetCurrentObject(ws));
    for (MemHandle h : page())
        EXPECT_EQ(0u, obGetParent(h));
}

TEST_F(Undo, MergedTextsComeBackAndAreReleasedWithTheStep)
{
    std::vector<MemHandle> before = page();
    auto merge = [&]() {
        MemHandle order = utHandleFromBytes(before.data(), (uint32_t)(4 * before.size()));
        MemHandle texts[2] = {a, c};
        MemHandle sel = utHandleFromBytes(texts, sizeof texts);
        wsUnlinkObject(ws, a);
        wsUnlinkObject(ws, c);
        MemHandle merged = make(OBT_RECTANGLE, 0, 0, 5000, 1000);
        wsAppendObject(ws, merged);
        epSelectObject(ws, merged);
        return std::make_pair(merged, msMakeMergeUndo(merged, order, 3, sel, 2));
    };
    auto m = merge();
    ASSERT_EQ(1, udRecord(ws, m.first, m.second, UD_MERGE, 0));
    EXPECT_EQ(1, cmdUndo(ws, m.first));
    EXPECT_EQ(before, page());
    EXPECT_FALSE(utIsLiveHandle(m.first));
    EXPECT_EQ(a, wsGetCurrentObject(ws));

    // Dropped instead: the saved texts go with the step.
    m = merge();
    ASSERT_EQ(1, udRecord(ws, m.first, m.second, UD_MERGE, 0));
    udDiscard(ws);
    EXPECT_FALSE(utIsLiveHandle(a));
    EXPECT_FALSE(utIsLiveHandle(c));
    EXPECT_FALSE(utIsLiveHandle(m.second));
    EXPECT_EQ(2u, page().size());
}

TEST_F(Undo, APendingMergeStepGoesWithTheWorkspace)
{
    std::vector<MemHandle> before = page();
    struct Case {
        const char *name;
        bool destroy;   // the whole workspace record, else only its step
    } cases[] = {{"step freed", false}, {"workspace destroyed", true}};
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        MemHandle order = utHandleFromBytes(before.data(), (uint32_t)(4 * before.size()));
        MemHandle texts[2] = {a, c};
        MemHandle sel = utHandleFromBytes(texts, sizeof texts);
        ASSERT_TRUE(wsUnlinkObject(ws, a));
        ASSERT_TRUE(wsUnlinkObject(ws, c));
        MemHandle merged = make(OBT_RECTANGLE, 0, 0, 5000, 1000);
        ASSERT_TRUE(wsAppendObject(ws, merged));
        MemHandle block = msMakeMergeUndo(merged, order, 3, sel, 2);
        ASSERT_EQ(1, udRecord(ws, merged, block, UD_MERGE, 0));
        const long held = utLiveHandleCount();
        const MemHandle gone[5] = {a, c, sel, order, block};
        if (!k.destroy) {
            // Block, order, selection and the two texts it keeps; the
            // merged object stays on the page.
            wsFreeUndo(ws);
            EXPECT_EQ(held - 5, utLiveHandleCount());
            EXPECT_TRUE(utIsLiveHandle(merged));
            EXPECT_FALSE(wsIsUndoPending(ws));
            // The page as it was for the next case.
            ASSERT_TRUE(wsDeleteObject(ws, merged));
            a = make(OBT_RECTANGLE, 0, 0, 1000, 1000);
            c = make(OBT_RECTANGLE, 4000, 0, 5000, 1000);
            ASSERT_TRUE(wsInsertObjectAfter(ws, 0, a));
            ASSERT_TRUE(wsAppendObject(ws, c));
            before = page();
        } else {
            wsDestroyRecord(ws);
            EXPECT_EQ(0u, wsGetRecordHandle(ws));
        }
        for (MemHandle h : gone)
            EXPECT_FALSE(utIsLiveHandle(h));
    }
}

}  // namespace
