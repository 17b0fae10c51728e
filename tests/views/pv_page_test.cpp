// The current page of a document window's workspace: going to a page and
// what the document window is told, switching with wrap-around, pages that
// cannot be swapped out, reloading, and the operations on the current
// page's object list.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "app/app_frame_docs.h"
#include "model/pg_swap.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "views/pv_swap.h"
#include "views/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_relink.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
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
        writeSettings(false);
        ASSERT_TRUE(start());
        doc = appGetActiveDocWindow(frame);
        ws = dwGetWorkspace(doc);
        ASSERT_TRUE(ws != nullptr);
        form = pgtest::docWithPages({"one", "two", "three"});
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, 0);
        docCommands().clear();
        wsSeen().clear();
        g_docProc = (WNDPROC)SetWindowLongPtrA(doc, GWLP_WNDPROC, (LONG_PTR)docRecorder);
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
    PageData data;
    ASSERT_TRUE(pgGetProp(page(0), 41, &data));
    EXPECT_EQ(2, data.objectCount) << "the page left was stored";
    EXPECT_EQ(0, data.pageIndex);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(ws, &update, FALSE)) << "the workspace is invalidated";
    EXPECT_NE(0u, page(0)) << "a page held only in memory is kept";

    // The page already shown: nothing at all.
    wsSeen().clear();
    docCommands().clear();
    ValidateRect(ws, nullptr);
    EXPECT_EQ(0, pvSwitchToPage(ws, 1));
    EXPECT_TRUE(wsSeen().empty());
    EXPECT_EQ(-1, lastShown());
    EXPECT_FALSE(GetUpdateRect(ws, &update, FALSE));
}

TEST_F(PageNav, APageThatCannotBeSwappedOutIsReportedAndKept)
{
    // The page came from the document file; it cannot be written out, so
    // letting it go would lose its objects.
    MemHandle object = pgtest::addObject(page(0), "keep");
    {
        MemLock<PageDirEntry> e(fmGetDirectory(form));
        e[0].state = PG_HELD_IN_DOCUMENT;
        e[0].offset = 1234;
    }
    BoxRecorder boxes;
    EXPECT_EQ(1, pvSwitchToPage(ws, 1));
    ASSERT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ(1, pvGetCurrentPageIndex(ws));
    ASSERT_NE(0u, page(0)) << "the page stays in memory";
    EXPECT_EQ(object, pgGetFirstObject(page(0)));
    PageDirEntry entry;
    ASSERT_TRUE(pgDirGetEntry(fmGetDirectory(form), 0, &entry));
    EXPECT_EQ(PG_HELD_IN_MEMORY, entry.state) << "the entry is reset to memory";

    // Back on it: nothing to read, the objects are there.
    boxes.clear();
    EXPECT_EQ(1, pvSwitchToPage(ws, 0));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    EXPECT_EQ(ws ? object : 0, wsFindObjectByName(ws, "KEEP"));
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

TEST_F(PageNav, ObjectListOperations)
{
    MemHandle a = pgtest::addObject(page(0), "Alpha");
    MemHandle b = pgtest::addObject(page(0), nullptr);
    MemHandle c = pgtest::addObject(page(0), "Gamma");
    EXPECT_EQ(a, wsGetFirstObject(ws));
    EXPECT_EQ(c, wsGetLastObject(ws));
    EXPECT_EQ(a, wsFindObjectByName(ws, "ALPHA"));
    EXPECT_EQ(0u, wsFindObjectByName(ws, "")) << "unnamed objects never match";

    // Unlinking the first object: 397 first, the record kept with its links.
    wsSeen().clear();
    wsUnlinkObject(ws, a);
    ASSERT_EQ(1, countSeen(397));
    EXPECT_EQ((LPARAM)a, wsSeen().front().second);
    EXPECT_EQ(b, wsGetFirstObject(ws));
    EXPECT_FALSE(wsPageHasObject(ws, a));
    EXPECT_EQ(b, obGetNext(a)) << "its own links stay";
    wsRelinkObject(ws, a);
    EXPECT_EQ(a, wsGetFirstObject(ws)) << "relinked at the head";
    EXPECT_EQ(a, obGetPrev(b));

    // An object of no list still gets the notice, and no list changes.
    MemHandle stray = obtest::make();
    wsSeen().clear();
    wsUnlinkObject(ws, stray);
    EXPECT_EQ(1, countSeen(397));
    EXPECT_EQ((std::vector<MemHandle>{a, b, c}), obtest::listOf(wsGetFirstObject(ws)));

    // Insert at the head and after an object; replace; free from.
    wsInsertObjectAfter(ws, 0, stray);
    EXPECT_EQ(stray, wsGetFirstObject(ws));
    MemHandle d = obtest::make();
    wsInsertObjectAfter(ws, b, d);
    EXPECT_EQ((std::vector<MemHandle>{stray, a, b, d, c}), obtest::listOf(wsGetFirstObject(ws)));
    MemHandle e = obtest::make();
    wsReplaceObject(ws, d, e);
    EXPECT_EQ((std::vector<MemHandle>{stray, a, b, e, c}), obtest::listOf(wsGetFirstObject(ws)));
    wsFreeObjectsFrom(ws, b);
    EXPECT_EQ((std::vector<MemHandle>{stray, a}), obtest::listOf(wsGetFirstObject(ws)));
    wsDeleteObject(ws, stray);
    EXPECT_EQ(a, wsGetFirstObject(ws));
    EXPECT_EQ(0u, obGetPrev(a));
}

TEST_F(PageNav, DissolvingAGroupPutsItsMembersInItsPlace)
{
    MemHandle before = pgtest::addObject(page(0), "before");
    MemHandle group = obtest::make(OBT_GROUP);
    pgAppendObject(page(0), group);
    MemHandle after = pgtest::addObject(page(0), "after");
    MemHandle m1 = obtest::make(), m2 = obtest::make();
    obSetFirstMember(group, m1);
    obSetNextMember(m1, m2);
    obSetParent(m1, group);
    obSetParent(m2, group);
    wsClearModified(ws);
    EXPECT_EQ(m1, wsDissolveGroup(ws, group));
    EXPECT_EQ((std::vector<MemHandle>{before, m1, m2, after}),
              obtest::listOf(wsGetFirstObject(ws)));
    EXPECT_EQ(0u, obGetParent(m1));
    EXPECT_EQ(0u, obGetNextMember(m1));
    EXPECT_TRUE(wsIsModified(ws));
}

}  // namespace
