// The current page of a document window's workspace: going to a page and
// what the document window is told, switching with wrap-around, pages that
// cannot be swapped out, reloading, and the operations on the current
// page's object list.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/app_frame_docs.h"
#include "model/pg_swap.h"
#include "support/ff_file.h"
#include "controls/pal_window.h"
#include "model/pg_palette.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_relink.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include "commands/ws_objects.h"
#include "commands/ud_undo.h"
#include "support/app_ui_state.h"
#include "model/pg_margins.h"
#include <string.h>
#include <utility>

namespace {

using qmtest::BoxRecorder;

std::vector<std::pair<WPARAM, LPARAM>> &docCommands()
{
    static std::vector<std::pair<WPARAM, LPARAM>> seen;
    return seen;
}
std::vector<std::pair<UINT, LPARAM>> &wsSeen()
{
    static std::vector<std::pair<UINT, LPARAM>> seen;
    return seen;
}
WNDPROC g_docProc = nullptr;
WNDPROC g_wsProc = nullptr;

LRESULT CALLBACK docRecorder(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND)
        docCommands().push_back({wp, lp});
    return CallWindowProcA(g_docProc, w, msg, wp, lp);
}

// Records the refresh and leave messages and the object-leaves-the-page
// notice that reach the workspace.
LRESULT CALLBACK wsRecorder(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WS_MSG_REFRESH || msg == WS_MSG_LEAVE_MODE)
        wsSeen().push_back({msg, lp});
    if (msg == WM_COMMAND && LOWORD(wp) == 397)
        wsSeen().push_back({397, lp});
    return CallWindowProcA(g_wsProc, w, msg, wp, lp);
}

int countSeen(UINT msg)
{
    int n = 0;
    for (auto &s : wsSeen())
        n += s.first == msg;
    return n;
}

class PageNav : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
        form = pgtest::docWithPages({"one", "two", "three"});
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, 0);
        docCommands().clear();
        wsSeen().clear();
        g_docProc = (WNDPROC)SetWindowLongPtrA(doc, GWLP_WNDPROC, (LONG_PTR)docRecorder);
        // From no tool: a tool's leaving would put back the workspace's
        // own procedure over the recorder.
        wsLeaveToolMode(ws, FALSE);
        g_wsProc = (WNDPROC)SetWindowLongPtrA(ws, GWLP_WNDPROC, (LONG_PTR)wsRecorder);
    }
    void TearDown() override
    {
        if (g_wsProc && IsWindow(ws))
            SetWindowLongPtrA(ws, GWLP_WNDPROC, (LONG_PTR)g_wsProc);
        if (g_docProc && IsWindow(doc))
            SetWindowLongPtrA(doc, GWLP_WNDPROC, (LONG_PTR)g_docProc);
        g_docProc = g_wsProc = nullptr;
        App::TearDown();
        dwResetModule();
    }

    // The last WM_COMMAND 42 the document window received (-1 for none).
    LPARAM lastShown()
    {
        LPARAM last = -1;
        for (auto &c : docCommands())
            if (LOWORD(c.first) == 42)
                last = c.second;
        return last;
    }
    std::string currentName()
    {
        char name[64];
        return pvGetCurrentPageName(ws, name, sizeof(name));
    }
    MemHandle page(int i) { return pgDirGetPages(fmGetDirectory(form), i); }
};

// ---- going to a page ------------------------------------------------------------------------

TEST_F(PageNav, GoingToAPageAnnouncesIndexAndCount)
{
    EXPECT_EQ(1, pvGoToPage(ws, 1));
    EXPECT_EQ(0x00030001, lastShown());
    EXPECT_EQ(1, pvGetCurrentPageIndex(ws));
    EXPECT_EQ("two", currentName());

    // The base page: index -1 goes as 0xFFFF in the low word.
    fmSetBasePage(form, pgtest::newPage("base"));
    EXPECT_EQ(1, pvGoToPage(ws, -1));
    EXPECT_EQ(0x0003FFFF, lastShown());
    EXPECT_EQ(pvGetBasePage(ws), pvGetCurrentPage(ws));
}

TEST_F(PageNav, APageThatIsNotThereIsReportedAndTheCurrentPageStays)
{
    ASSERT_EQ(1, pvGoToPage(ws, 2));
    docCommands().clear();
    BoxRecorder boxes;
    struct Case {
        int index;
        const char *text;
    } cases[] = {{7, "Can not open page 8"}, {3, "Can not open page 4"}, {-1, "Can not open page 0"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.index);
        boxes.clear();
        EXPECT_EQ(0, pvGoToPage(ws, c.index));
        ASSERT_EQ(1u, boxes.count()) << boxes.texts();
        EXPECT_EQ(c.text, boxes.last().text);
        EXPECT_EQ(2, pvGetCurrentPageIndex(ws));
    }
    EXPECT_EQ(-1, lastShown()) << "nothing announced";
    EXPECT_EQ(0, pvSwitchToPage(ws, 7)) << "no page of that index: nothing happens";
    EXPECT_EQ(2, pvGetCurrentPageIndex(ws));
}

// ---- switching ----------------------------------------------------------------------------------

TEST_F(PageNav, NextAndPreviousWrapAround)
{
    struct Step {
        bool next;
        int expect;
    } steps[] = {{true, 1}, {true, 2}, {true, 0}, {false, 2}, {false, 1}, {false, 0}, {false, 2}};
    for (const Step &s : steps) {
        EXPECT_EQ(1, s.next ? pvNextPageWrap(ws) : pvPrevPageWrap(ws));
        EXPECT_EQ(s.expect, pvGetCurrentPageIndex(ws));
        EXPECT_EQ((LPARAM)(0x30000 | s.expect), lastShown());
    }
}

TEST_F(PageNav, SwitchingLeavesTheToolStoresThePageAndRedraws)
{
    pgtest::addObject(page(0), "a");
    pgtest::addObject(page(0), "b");
    ValidateRect(ws, nullptr);
    EXPECT_EQ(1, pvSwitchToPage(ws, 1));
    ASSERT_FALSE(wsSeen().empty());
    EXPECT_EQ((UINT)WS_MSG_LEAVE_MODE, wsSeen().front().first) << "the tool ends first";
    EXPECT_EQ(1, wsSeen().front().second) << "reason 1: the page is switched";
    EXPECT_GE(countSeen(WS_MSG_REFRESH), 1);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(ws, &update, FALSE)) << "the workspace is invalidated";
    MemHandle back = pgDirEnsureLoaded(ws, fmGetDirectory(form), 0);
    PageData data;
    ASSERT_TRUE(pgGetProp(back, 41, &data));
    EXPECT_EQ(2, data.objectCount) << "the page left was stored";
    EXPECT_EQ(0, data.pageIndex);

    // The page already shown: nothing at all.
    wsSeen().clear();
    docCommands().clear();
    ValidateRect(ws, nullptr);
    EXPECT_EQ(0, pvSwitchToPage(ws, 1));
    EXPECT_TRUE(wsSeen().empty());
    EXPECT_EQ(-1, lastShown());
    EXPECT_FALSE(GetUpdateRect(ws, &update, FALSE));
}

TEST_F(PageNav, APageLeftIsSwappedOutAndReadBackWhenShownAgain)
{
    MemHandle object = pgtest::addObject(page(0), "kept");
    (void)object;
    EXPECT_EQ(1, pvSwitchToPage(ws, 1));
    PageDirEntry entry;
    ASSERT_TRUE(pgDirGetEntry(fmGetDirectory(form), 0, &entry));
    EXPECT_EQ(PG_HELD_IN_TEMP_FILE, entry.state);
    EXPECT_EQ(0u, entry.pages) << "the page left memory";
    EXPECT_NE(0, entry.tempName[0]);

    BoxRecorder boxes;
    EXPECT_EQ(1, pvSwitchToPage(ws, 0));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    ASSERT_NE(0u, page(0));
    EXPECT_NE(0u, wsFindObjectByName(ws, "KEPT")) << "read back with its objects";
}

TEST_F(PageNav, APageThatCannotBeSwappedOutIsReportedAndKept)
{
    // Every write fails: letting the page go would lose its objects.
    MemHandle object = pgtest::addObject(page(0), "keep");
    BoxRecorder boxes;
    ffSetWriteFault(FF_FAULT_DISK_FULL, 0);
    const int switched = pvSwitchToPage(ws, 1);
    ffSetWriteFault(FF_FAULT_NONE, 0);
    EXPECT_EQ(1, switched);
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ("The page could not be written to a temporary file.  It stays in memory.",
              boxes.last().text);
    EXPECT_EQ(1, pvGetCurrentPageIndex(ws));
    ASSERT_NE(0u, page(0)) << "the page stays in memory";
    EXPECT_EQ(object, pgGetFirstObject(page(0)));
    PageDirEntry entry;
    ASSERT_TRUE(pgDirGetEntry(fmGetDirectory(form), 0, &entry));
    EXPECT_EQ(PG_HELD_IN_MEMORY, entry.state) << "the entry says memory";

    // Back on it: nothing to read, the objects are there.
    boxes.clear();
    EXPECT_EQ(1, pvSwitchToPage(ws, 0));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(object, wsFindObjectByName(ws, "KEEP"));
}

TEST_F(PageNav, AppendingAndInsertingPagesFromTheCurrentOne)
{
    EXPECT_EQ(1, pvAppendPageAndShow(ws, TRUE));
    EXPECT_EQ(4, pvGetPageCount(ws));
    EXPECT_EQ(3, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0x00040003, lastShown());
    EXPECT_EQ(1, pvInsertPageAndShow(ws, 1, TRUE));
    EXPECT_EQ(5, pvGetPageCount(ws));
    EXPECT_EQ(1, pvGetCurrentPageIndex(ws));
    EXPECT_EQ("two", pgtest::pageNames(form)[2]);
}

TEST_F(PageNav, ReloadEmptiesAPageNeverStoredAndKeepsAPageWhoseCopyCannotBeRead)
{
    pgtest::addObject(page(0), "gone");
    EXPECT_EQ(1, pvReloadCurrentPage(ws));
    EXPECT_EQ(0u, pgGetFirstObject(page(0)));

    MemHandle kept = pgtest::addObject(page(0), "kept");
    {
        MemLock<PageDirEntry> e(fmGetDirectory(form));
        e[0].state = PG_HELD_IN_TEMP_FILE;
    }
    BoxRecorder boxes;
    EXPECT_EQ(0, pvReloadCurrentPage(ws));
    EXPECT_EQ(1u, boxes.count()) << "the read failure is reported";
    EXPECT_EQ(kept, pgGetFirstObject(page(0))) << "the page is not let go";
    {
        MemLock<PageDirEntry> e(fmGetDirectory(form));
        e[0].state = PG_HELD_IN_MEMORY;
    }
}

TEST_F(PageNav, SettingADocumentGoesToThePageAndClearsTheModifiedFlags)
{
    wsMarkModified(ws);
    MemHandle other = pgtest::docWithPages({"x", "y"});
    pvReleaseDocument(ws);
    EXPECT_EQ(0u, wsGetDocument(ws));
    form = other;
    EXPECT_EQ(1, pvSetDocument(ws, other, 1));
    EXPECT_EQ(1, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0x00020001, lastShown());
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_EQ(0, pvSetDocument(ws, 0, 0)) << "no form given";
    wsSetDocument(ws, other);
}

TEST_F(PageNav, EstimatedSizeCountsFormEntriesAndPages)
{
    const uint32_t empty = pvEstimateSize(form);
    EXPECT_GE(empty, utHandleSize(form) + 40 + 3 * 40);
    pgtest::addObject(page(1), "more");
    EXPECT_GT(pvEstimateSize(form), empty);
    EXPECT_EQ(0u, pvEstimateSize(0));
}

// ---- the object list ---------------------------------------------------------------------------------

TEST_F(PageNav, FindingAndRelinkingObjectsOfTheCurrentPage)
{
    MemHandle a = pgtest::addObject(page(0), "Alpha");
    MemHandle b = pgtest::addObject(page(0), nullptr);
    pgtest::addObject(page(0), "Gamma");
    EXPECT_EQ(a, wsFindObjectByName(ws, "ALPHA")) << "letter case is ignored";
    EXPECT_EQ(0u, wsFindObjectByName(ws, "")) << "unnamed objects never match";
    EXPECT_EQ(0u, wsFindObjectByName(ws, "Beta"));

    // Taken out by hand with its own links kept, the first object heads the
    // list again when relinked.
    pgSetFirstObject(page(0), b);
    EXPECT_EQ(b, wsGetFirstObject(ws));
    wsRelinkObject(ws, a);
    EXPECT_EQ(a, wsGetFirstObject(ws));
    EXPECT_EQ(a, obGetPrev(b));

    // An object of another list (no previous object, a next that is not
    // this list's head) does not take this list over.
    MemHandle other = obtest::make(), next = obtest::make();
    obSetNext(other, next);
    wsRelinkObject(ws, other);
    EXPECT_EQ(a, wsGetFirstObject(ws));
    obSetNext(other, 0);
    obFreeTree(other);
    obFreeTree(next);
}

TEST_F(PageNav, UnlinkingSendsTheNoticeFirst)
{
    MemHandle a = pgtest::addObject(page(0), "a");
    MemHandle b = pgtest::addObject(page(0), "b");
    wsSeen().clear();
    EXPECT_TRUE(wsUnlinkObject(ws, a));
    ASSERT_EQ(1, countSeen(397));
    EXPECT_EQ((LPARAM)a, wsSeen().front().second);
    EXPECT_EQ(b, wsGetFirstObject(ws));
    obFreeTree(a);
}

TEST_F(PageNav, ThePalettesColoursGoWithThePage)
{
    const COLORREF mine[3] = {RGB(1, 2, 3), RGB(4, 5, 6), RGB(7, 8, 9)};
    clrSetColors(mine, 3);
    wsClearModified(ws);
    EXPECT_EQ(0, SendMessageA(ws, WM_COMMAND, 20, 0));
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(1, pgHasFlag64(page(0)));
    MemHandle block = PgLock(page(0)).data()->paletteBlock;
    ASSERT_NE(0u, block);
    {
        MemLock<uint8_t> p(block);
        PagePaletteHead head;
        memcpy(&head, p.get(), sizeof(head));
        EXPECT_EQ(10u + 12u, head.size);
        EXPECT_EQ(64u, head.flag);
        EXPECT_EQ(3, head.count);
        EXPECT_EQ(0, memcmp(p.get() + sizeof(head), mine, sizeof(mine)));
    }

    // Another page shown with other colours, then this page again: its
    // colours come back to the colour menu.
    const COLORREF other[2] = {RGB(9, 9, 9), RGB(8, 8, 8)};
    clrSetColors(other, 2);
    ASSERT_EQ(1, pvSwitchToPage(ws, 1));
    ASSERT_EQ(1, pvSwitchToPage(ws, 0));
    int16_t count = 0;
    MemHandle now = clrGetColors(&count);
    ASSERT_EQ(3, count);
    {
        MemLock<COLORREF> p(now);
        EXPECT_EQ(RGB(4, 5, 6), p[1]);
    }
    utFreeHandle(now);
}

TEST_F(PageNav, UnlinkingAnObjectOffTheListStillSendsTheNotice)
{
    MemHandle a = pgtest::addObject(page(0), "a");
    MemHandle stray = obtest::make();
    wsSeen().clear();
    EXPECT_FALSE(wsUnlinkObject(ws, stray));
    ASSERT_EQ(1, countSeen(397)) << "the notice comes first, also for an object off the list";
    EXPECT_EQ((LPARAM)stray, wsSeen().front().second);
    EXPECT_FALSE(wsDeleteObject(ws, stray)) << "not in the list: not freed";
    EXPECT_TRUE(utIsLiveHandle(stray));
    EXPECT_EQ(a, wsGetFirstObject(ws));
    obFreeTree(stray);

    // An object taken off the page keeps no links into the page's list.
    MemHandle b = pgtest::addObject(page(0), "b");
    MemHandle c = pgtest::addObject(page(0), "c");
    EXPECT_TRUE(wsUnlinkObject(ws, b));
    EXPECT_EQ(0u, obGetPrev(b));
    EXPECT_EQ(0u, obGetNext(b));
    EXPECT_EQ((std::vector<MemHandle>{a, c}), obtest::listOf(wsGetFirstObject(ws)));
    obFreeTree(b);
}

TEST_F(PageNav, ANewFirstObjectMarksTheDocumentModified)
{
    MemHandle a = pgtest::addObject(page(0), "a");
    MemHandle b = pgtest::addObject(page(0), "b");
    wsClearModified(ws);
    wsSetFirstObject(ws, a);
    EXPECT_FALSE(wsIsModified(ws)) << "the same head changes nothing";
    obSetNext(a, 0);
    obSetPrev(b, 0);
    wsSetFirstObject(ws, b);
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_EQ(b, wsGetFirstObject(ws));
    obFreeTree(a);
}

// ---- records that move -------------------------------------------------------------------------

TEST_F(PageNav, AMovedObjectIsFollowedBySelectionTrackingUndoAndItsPage)
{
    ASSERT_TRUE(utGetDebugMode() & UT_DEBUG_MOVE_ON_GROW);
    ASSERT_EQ(ws, appGetActiveWorkspace());
    MemHandle a = pgtest::addObject(page(0), "Old");
    MemHandle b = pgtest::addObject(page(0), "b");
    wsSetCurrentObject(ws, a);
    wsSetTracked(ws, 7, a, 1, 2);
    ASSERT_EQ(1, udRecord(ws, a, 0, UD_PROPERTY, UD_SUB_NAME));

    // Renaming grows the record: it moves to a new handle.
    MemHandle moved = obSetName(a, "A name long enough to make the record grow");
    ASSERT_NE(0u, moved);
    ASSERT_NE(a, moved);
    EXPECT_FALSE(utIsLiveHandle(a));
    EXPECT_EQ(moved, wsGetCurrentObject(ws));
    EXPECT_EQ(moved, wsGetTrackedObject(ws));
    EXPECT_EQ(7u, wsGetTrackedValue(ws));
    EXPECT_EQ(moved, wsGetFirstObject(ws));
    EXPECT_EQ(moved, obGetPrev(b));
    UndoRecord u;
    ASSERT_TRUE(wsGetUndo(ws, &u));
    EXPECT_EQ(moved, (MemHandle)u.object);

    // The step recorded before the move undoes the rename.
    MemHandle back = udPerform(ws, moved);
    ASSERT_NE(0u, back);
    char name[kObMaxNameBytes];
    obGetName(wsGetFirstObject(ws), name);
    EXPECT_STREQ("Old", name);
    EXPECT_FALSE(wsIsUndoPending(ws));
}

TEST_F(PageNav, MovedObjectsOfTheBasePageAndUndoListsFollowToo)
{
    MemHandle base = pgtest::newPage("base");
    fmSetBasePage(form, base);
    MemHandle onBase = pgtest::addObject(base, "x");
    MemHandle a = pgtest::addObject(page(0), "a");
    MemHandle b = pgtest::addObject(page(0), "b");
    // A list-order step keeps the page's handles in its data.
    MemHandle snapshot[3] = {a, b, 0};
    ASSERT_EQ(1, udRecord(ws, a, utHandleFromBytes(snapshot, sizeof snapshot), UD_CHAIN, 0));

    MemHandle movedBase = obSetName(onBase, "a longer name for the base page's object");
    ASSERT_NE(onBase, movedBase);
    EXPECT_EQ(movedBase, pgGetFirstObject(fmGetBasePage(form)));
    MemHandle movedB = obSetName(b, "a longer name for the second object");
    ASSERT_NE(b, movedB);
    MemHandle data = udGetPendingData(ws);
    ASSERT_NE(0u, data);
    {
        MemLock<MemHandle> p(data);
        EXPECT_EQ(a, p[0]);
        EXPECT_EQ(movedB, p[1]);
        EXPECT_EQ(0u, p[2]);
    }
    udDiscard(ws);

    // An object on no page moves without touching the page or selection.
    MemHandle loose = obtest::make();
    wsSetCurrentObject(ws, a);
    MemHandle movedLoose = obSetName(loose, "a loose object with a long name");
    ASSERT_NE(loose, movedLoose);
    EXPECT_EQ(a, wsGetFirstObject(ws));
    EXPECT_EQ(a, wsGetCurrentObject(ws));
    obFreeTree(movedLoose);
    wsSetCurrentObject(ws, 0);
}

TEST_F(PageNav, AMovedPageIsFollowedByTheDirectory)
{
    ASSERT_EQ(ws, appGetActiveWorkspace());
    MemHandle dir = fmGetDirectory(form);
    PageDirEntry before;
    ASSERT_TRUE(pgDirGetEntry(dir, 0, &before));
    MemHandle old = pvGetCurrentPage(ws);
    std::vector<uint8_t> bytes(600, 7);
    MemHandle moved = pgSetAttr(old, 0x800000, bytes.data(), (int)bytes.size());
    ASSERT_NE(0u, moved);
    ASSERT_NE(old, moved);
    EXPECT_EQ(moved, pvGetCurrentPage(ws));
    EXPECT_EQ("one", currentName());
    PageDirEntry after;
    ASSERT_TRUE(pgDirGetEntry(dir, 0, &after));
    EXPECT_EQ(before.size, after.size) << "what the file holds is not changed";
    EXPECT_EQ(before.state, after.state);
    EXPECT_EQ(before.offset, after.offset);

    // The margin rectangle, and pages not shown, and the base page.
    struct Case {
        const char *name;
        int index;
    } cases[] = {{"current page", 0}, {"other page", 2}, {"base page", -1}};
    fmSetBasePage(form, pgtest::newPage("base"));
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        // Without margins first (shrinking keeps the handle), so setting
        // them grows the record.
        MemHandle pg = pgSetAttr(pvGetPage(ws, k.index), PGA_MARGINS, nullptr, 0);
        ASSERT_NE(0u, pg);
        ASSERT_EQ(pg, pvGetPage(ws, k.index));
        RECT r;
        pgGetPageRect(pg, &r);
        InflateRect(&r, -1000, -1000);
        MemHandle now = pgSetMarginRect(pg, &r);
        ASSERT_NE(0u, now);
        ASSERT_NE(pg, now);
        EXPECT_EQ(now, pvGetPage(ws, k.index));
        RECT got;
        EXPECT_EQ(1, pgGetMarginRect(pvGetPage(ws, k.index), &got));
        EXPECT_TRUE(EqualRect(&r, &got));
    }

    // A page of no document leaves the directory alone.
    MemHandle current = pvGetCurrentPage(ws);
    MemHandle loose = pgtest::newPage("loose");
    MemHandle looseMoved = pgSetAttr(loose, 0x800000, bytes.data(), (int)bytes.size());
    ASSERT_NE(0u, looseMoved);
    EXPECT_EQ(current, pvGetCurrentPage(ws));
    pgFreeList(looseMoved);
}

}  // namespace
