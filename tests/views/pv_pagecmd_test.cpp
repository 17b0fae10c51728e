// The page commands on a workspace: previous and next page with their
// questions and wrap-around, Next/New Page on the last page, the base page
// left again, inserting, deleting (with the one-page refusal and a failed
// write-out), reverting, the "Select Page" dialog, the standard bar's page
// buttons, the guide menu and the undo of a guide dragged with its objects,
// and guides kept byte for byte through a save and reopen.
#include "tests/app/app_fixture.h"
#include "tests/model/pg_kit.h"
#include "tests/support/kit_dialog.h"
#include "views/ws_window.h"
#include "commands/app_stdbar.h"
#include "commands/ud_undo.h"
#include "model/fm_form.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_margins.h"
#include "model/pg_record.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "support/ut_mem.h"
#include "support/win_menu.h"
#include "views/pg_dialogs.h"
#include "views/pv_guide.h"
#include "views/pv_page.h"
#include "views/pv_pagecmd.h"
#include "views/pv_layout_sheet.h"
#include "views/ws_zoom.h"
#include "model/setup_record.h"
#include "resources/resource.h"
#include "support/dm_map.h"
#include <commctrl.h>
#include <prsht.h>
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;

const char kFirstPage[] = "You are in the first page.  Want to go to the last page?";
const char kOnlyPage[] = "We can not delete the only page you have.";
const char kDeleteCurrent[] =
    "Quillmark is ready to delete the current page. Once deleted, it can not be undone.";

class PageCommands : public apptest::App {
protected:
    HWND doc = nullptr, ws = nullptr;
    MemHandle form = 0;

    void SetUp() override
    {
        App::SetUp();
        ASSERT_TRUE(startWithDocument(&doc, &ws));
    }
    void useDocument(const std::vector<std::string> &names, int index = 0)
    {
        form = pgtest::docWithPages(names);
        pvReleaseDocument(ws);
        pvSetDocument(ws, form, index);
    }
    int current() { return pvGetCurrentPageIndex(ws); }
    std::string title()
    {
        char text[256] = "";
        GetWindowTextA(doc, text, sizeof(text));
        return text;
    }
    std::vector<std::string> names() { return pgtest::pageNames(wsGetDocument(ws)); }
};

// ---- page layout and pages by name -------------------------------------------------------

// The real page layout sheet, answered inside its own loop: the paper
// chosen by its list text (none: the paper stays) and OK, or Cancel.
struct ScriptedSheet {
    ScriptedSheet(PvLayoutSheetHook restore, const char *paper, bool ok = true,
                  int failAllocs = 0)
        : restore(restore), driver({[=](HWND sheet) {
              HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
              if (paper) {
                  HWND combo = GetDlgItem(page, IDC_PG_PAPER_SIZE);
                  const LRESULT item =
                      SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)paper);
                  SendMessageA(combo, CB_SETCURSEL, (WPARAM)item, 0);
                  SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PG_PAPER_SIZE, CBN_SELCHANGE),
                               (LPARAM)combo);
              }
              if (failAllocs)
                  utFailNextAllocs(failAllocs);
              SendMessageA(sheet, PSM_PRESSBUTTON, ok ? PSBTN_OK : PSBTN_CANCEL, 0);
          }})
    {
        pvSetLayoutSheetHook(nullptr);
    }
    ~ScriptedSheet() { pvSetLayoutSheetHook(restore); }
    PvLayoutSheetHook restore;   // the fixture's answer, back afterwards
    qmtest::DialogDriver driver;
};

std::vector<uint8_t> bytesOf(MemHandle h)
{
    MemLock<uint8_t> p(h);
    return p ? std::vector<uint8_t>(p.get(), p.get() + ObLock(h)->length)
             : std::vector<uint8_t>();
}

bool posted911(HWND ws)
{
    MSG m;
    bool found = false;
    while (PeekMessageA(&m, ws, WM_COMMAND, WM_COMMAND, PM_REMOVE))
        found = found || LOWORD(m.wParam) == 911;
    return found;
}

TEST_F(PageCommands, LayoutToLegalRefitsTheSameSizeRedrawsAndCancelChangesNothing)
{
    useDocument({"Cover", "Back"});
    RECT letter;
    pgGetPageRect(pvGetCurrentPage(ws), &letter);
    ASSERT_EQ(15840, letter.bottom - letter.top);
    wsSetZoom(ws, -100, 100, &letter, nullptr, TRUE);
    const int32_t letterPercent = wsGetZoomPercent(ws);
    wsClearModified(ws);
    posted911(ws);

    {
        ScriptedSheet legal(answerSheet, "Legal 8 1/2 x 14 in");
        EXPECT_EQ(0, wsOnCommand(ws, 598, 0));
        EXPECT_EQ(1u, legal.driver.ran());
    }
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    EXPECT_EQ(12240, page.right - page.left);
    EXPECT_EQ(20160, page.bottom - page.top);
    RECT entry;
    ASSERT_TRUE(wsGetPageRect(ws, 0, &entry));
    EXPECT_EQ(20160, entry.bottom - entry.top) << "the page table is rebuilt";
    int code = 0;
    if (WorkspaceRecord *rec = wsLockRecord(ws)) {
        code = rec->zoomCode;
        wsUnlockRecord(ws);
    }
    EXPECT_EQ(-100, code) << "still fitting the page";
    EXPECT_EQ(dmZoomToFitWindow(ws, &page), wsGetZoomPercent(ws)) << "fitted again";
    EXPECT_LE(wsGetZoomPercent(ws), letterPercent);
    EXPECT_TRUE(wsIsModified(ws));
    posted911(ws);

    // The same size: 911 posted, the document modified.
    wsClearModified(ws);
    {
        ScriptedSheet same(answerSheet, "Legal 8 1/2 x 14 in");
        EXPECT_EQ(0, wsOnCommand(ws, 601, 0));
    }
    EXPECT_TRUE(posted911(ws));
    EXPECT_TRUE(wsIsModified(ws));

    // Cancel: the page record byte for byte, nothing modified.
    wsClearModified(ws);
    const std::vector<uint8_t> before = bytesOf(pvGetCurrentPage(ws));
    {
        ScriptedSheet cancel(answerSheet, "A4 210 x 297 mm", false);
        EXPECT_EQ(0, wsOnCommand(ws, 598, 0));
        EXPECT_EQ(1u, cancel.driver.ran());
    }
    EXPECT_EQ(before, bytesOf(pvGetCurrentPage(ws)));
    EXPECT_FALSE(wsIsModified(ws));
    EXPECT_FALSE(posted911(ws));
}

TEST_F(PageCommands, LayoutWithoutMemoryForThePageTableKeepsTheOldSize)
{
    useDocument({"Cover", "Back"});
    BoxRecorder boxes;
    // The sheet answers A3 (297 x 420 mm) with OK, and the next block asked
    // for after it, the page table's, is refused.
    pvSetLayoutSheetHook([](HWND, const char *, MemHandle *page, BOOL, BOOL *unitChanged) {
        if (unitChanged)
            *unitChanged = FALSE;
        RECT r;
        pgGetPageRect(*page, &r);
        r.right = r.left + 16838;
        r.bottom = r.top + 23811;
        obSetRect(*page, &r);
        utFailNextAllocs(1);
        return (INT_PTR)1;
    });
    pvCmdPageLayout(appGetFrameWindow(), ws);
    pvSetLayoutSheetHook(answerSheet);
    utFailNextAllocs(0);
    EXPECT_EQ(1u, boxes.count()) << boxes.texts();
    EXPECT_EQ("Memory allocation failed", boxes.last().text);
    RECT page, entry;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    EXPECT_EQ(15840, page.bottom - page.top) << "the old size kept";
    ASSERT_TRUE(wsGetPageRect(ws, 0, &entry));
    EXPECT_TRUE(EqualRect(&page, &entry)) << "the view and its table agree";
}

TEST_F(PageCommands, LayoutWithoutADocumentSetsThePageNewDocumentsStartFrom)
{
    {
        ScriptedSheet legal(answerSheet, "Legal 8 1/2 x 14 in");
        pvCmdPageLayout(appGetFrameWindow(), nullptr);
        EXPECT_EQ(1u, legal.driver.ran());
    }
    RECT r;
    pgGetPageRect(setGetDefaultPage(), &r);
    EXPECT_EQ(20160, r.bottom - r.top);
    // The next New takes it.
    SendMessageA(appGetFrameWindow(), WM_COMMAND, 100, 0);
    pump();
    HWND fresh = appGetActiveWorkspace();
    ASSERT_TRUE(fresh);
    ASSERT_NE(fresh, ws);
    pgGetPageRect(pvGetCurrentPage(fresh), &r);
    EXPECT_EQ(20160, r.bottom - r.top);
}

TEST_F(PageCommands, GoToPageByNameIgnoresCaseAndDoesNothingForAnUnknownName)
{
    useDocument({"Cover", "Back"});
    EXPECT_EQ(1, pvCmdGoToPageByName(ws, "back"));
    EXPECT_EQ(1, current());
    EXPECT_EQ(0, pvCmdGoToPageByName(ws, "None"));
    EXPECT_EQ(1, current());
    EXPECT_EQ(1, pvCmdGoToPageByName(ws, "COVER"));
    EXPECT_EQ(0, current());
}

// ---- previous and next -------------------------------------------------------------------

TEST_F(PageCommands, PreviousOnTheFirstPageAsksThenWrapsToTheLast)
{
    useDocument({"one", "two", "three"});
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    EXPECT_EQ(pvCmdPrevPage(ws), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, kFirstPage);
    EXPECT_EQ(current(), 0);
    boxes.answer(IDOK);
    EXPECT_EQ(pvCmdPrevPage(ws), 1);
    EXPECT_EQ(current(), 2);
    EXPECT_NE(title().find("Page 3 of 3"), std::string::npos) << title();
    EXPECT_EQ(pvCmdPrevPage(ws), 1);
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(boxes.count(), 2u);
}

TEST_F(PageCommands, PreviousWithOnePageSaysSoAndStays)
{
    useDocument({"only"});
    BoxRecorder boxes;
    EXPECT_EQ(pvCmdPrevPage(ws), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "No previous page.");
    EXPECT_EQ(current(), 0);
}

TEST_F(PageCommands, NextOnTheLastPageAppendsThroughThePageSheetOrChangesNothing)
{
    useDocument({"one", "two", "three"}, 2);
    sheetAnswer() = 0;
    EXPECT_EQ(pvCmdNextOrNewPage(ws), 0);
    EXPECT_EQ(pvGetPageCount(ws), 3);
    EXPECT_EQ(current(), 2);
    EXPECT_FALSE(wsIsModified(ws));
    sheetAnswer() = 1;
    EXPECT_EQ(pvCmdNextOrNewPage(ws), 1);
    EXPECT_EQ(pvGetPageCount(ws), 4);
    EXPECT_EQ(current(), 3);
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_NE(title().find("Page 4 of 4"), std::string::npos) << title();
}

TEST_F(PageCommands, NextShowsTheNextPageWholeWithTheViewAtItsCorner)
{
    useDocument({"one", "two"});
    int32_t x0 = 0, y0 = 0;
    wsGetScrollOrigin(ws, &x0, &y0);
    y0 -= wsGetCurrentPageOffset(ws);
    ASSERT_EQ(wsOnCommand(ws, 618, 0), 0);
    EXPECT_EQ(current(), 1);
    EXPECT_NE(title().find("Page 2 of 2"), std::string::npos) << title();
    // The view stands at the new page's corner as it stood at the first's.
    int32_t x1 = 0, y1 = 0;
    wsGetScrollOrigin(ws, &x1, &y1);
    EXPECT_EQ(x1, x0);
    EXPECT_EQ(y1 - wsGetCurrentPageOffset(ws), y0);
}

TEST_F(PageCommands, BothStepsLeaveTheBasePageForThePageItWasEnteredFrom)
{
    useDocument({"one", "two", "three"}, 1);
    fmSetBasePage(form, pgtest::newPage("base"));
    for (int command : {617, 618}) {
        SCOPED_TRACE(command);
        wsSetRememberedPage(ws);
        ASSERT_EQ(pvSwitchToPage(ws, -1), 1);
        ASSERT_EQ(current(), -1);
        wsOnCommand(ws, command, 0);
        EXPECT_EQ(current(), 1);
    }
}

TEST_F(PageCommands, ShowPageReadsTheHighWord)
{
    useDocument({"one", "two", "three"});
    wsOnCommand(ws, 619, MAKELPARAM(2, 0xFFFE));
    EXPECT_EQ(current(), 0);
    wsOnCommand(ws, 619, MAKELPARAM(1, 0));
    EXPECT_EQ(current(), 1);
    int32_t x = 0, top = 0, bottom = 0;
    wsGetScrollOrigin(ws, &x, &top);
    wsOnCommand(ws, 619, MAKELPARAM(2, 0));
    EXPECT_EQ(current(), 2);
    wsOnCommand(ws, 619, MAKELPARAM(1, 0xFFFF));
    EXPECT_EQ(current(), 1);
    wsGetScrollOrigin(ws, &x, &bottom);
    // A page taller than the view: its bottom is brought into view.
    EXPECT_GT(bottom, top);
}

TEST_F(PageCommands, HomeAndEndGoToTheFirstAndLastPageThenToTheirEnds)
{
    useDocument({"one", "two", "three"}, 1);
    wsOnCommand(ws, 1221, 0);
    EXPECT_EQ(current(), 2);
    int32_t x = 0, top = 0, end = 0;
    wsGetScrollOrigin(ws, &x, &top);
    wsOnCommand(ws, 1221, 0);
    EXPECT_EQ(current(), 2);
    wsGetScrollOrigin(ws, &x, &end);
    EXPECT_GT(end, top);
    wsOnCommand(ws, 1220, 0);
    EXPECT_EQ(current(), 0);
    wsOnCommand(ws, 685, 0);
    EXPECT_EQ(current(), 2);
    wsOnCommand(ws, 684, 0);
    EXPECT_EQ(current(), 0);
}

TEST_F(PageCommands, TheStandardBarsPageButtonsFollowThePage)
{
    struct Case {
        std::vector<std::string> pages;
        int index;
        bool prev, next;
    } cases[] = {
        {{"one", "two", "three"}, 0, false, true},
        {{"one", "two", "three"}, 1, true, true},
        {{"one", "two", "three"}, 2, true, false},
        {{"only"}, 0, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.index);
        useDocument(c.pages, c.index);
        pvUpdatePageButtons(ws);
        EXPECT_EQ(appIsStdBarButtonEnabled(617), c.prev);
        EXPECT_EQ(appIsStdBarButtonEnabled(618), c.next);
    }
    useDocument({"one", "two"}, 0);
    fmSetBasePage(form, pgtest::newPage("base"));
    ASSERT_EQ(pvSwitchToPage(ws, -1), 1);
    pvUpdatePageButtons(ws);
    EXPECT_FALSE(appIsStdBarButtonEnabled(617));
    EXPECT_FALSE(appIsStdBarButtonEnabled(618));
}

// ---- inserting and selecting -----------------------------------------------------------------

TEST_F(PageCommands, InsertAfterAndBeforeAndAppend)
{
    useDocument({"one", "two", "three"}, 1);
    wsOnCommand(ws, 612, 0);
    EXPECT_EQ(pvGetPageCount(ws), 4);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(pgDirFind(ws, "two"), 1);
    EXPECT_EQ(pgDirFind(ws, "three"), 3);
    wsOnCommand(ws, 613, 0);
    EXPECT_EQ(pvGetPageCount(ws), 5);
    EXPECT_EQ(current(), 2);
    EXPECT_EQ(pgDirFind(ws, "two"), 1);
    EXPECT_EQ(pgDirFind(ws, "three"), 4);
    wsOnCommand(ws, 615, 0);
    EXPECT_EQ(pvGetPageCount(ws), 6);
    EXPECT_EQ(current(), 5);
    EXPECT_NE(title().find("Page 6 of 6"), std::string::npos) << title();
}

TEST_F(PageCommands, SelectPageByNameShowsTheChosenPage)
{
    useDocument({"one", "two", "three"});
    std::vector<std::string> listed;
    {
        qmtest::DialogDriver driver({
            [&](HWND d) {
                listed = qmtest::readList(d, 102);
                EXPECT_EQ(qmtest::windowText(d), "Select Page");
                EXPECT_EQ(qmtest::selectedItems(d, 102), std::vector<int>{0});
                qmtest::chooseItem(d, 102, 2);
                qmtest::pressButton(d, IDOK);
            },
        });
        wsOnCommand(ws, 616, 0);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"1. one", "2. two", "3. three"}));
    EXPECT_EQ(current(), 2);
    {
        qmtest::DialogDriver driver({
            [](HWND d) { qmtest::doubleClickItem(d, 102, 1); },
        });
        wsOnCommand(ws, 616, 0);
    }
    EXPECT_EQ(current(), 1);
    {
        qmtest::DialogDriver driver({
            [](HWND d) { qmtest::pressButton(d, IDCANCEL); },
        });
        wsOnCommand(ws, 616, 0);
    }
    EXPECT_EQ(current(), 1);
}

// ---- deleting ------------------------------------------------------------------------------

TEST_F(PageCommands, TheOnlyPageIsNotDeletedAndNothingFollowsTheRefusal)
{
    useDocument({"only"});
    for (int command : {780, 614}) {
        SCOPED_TRACE(command);
        BoxRecorder boxes;
        wsOnCommand(ws, command, 0);
        ASSERT_EQ(boxes.count(), 1u) << boxes.texts();
        EXPECT_EQ(boxes.last().text, kOnlyPage);
        EXPECT_EQ(pvGetPageCount(ws), 1);
        EXPECT_EQ(current(), 0);
    }
}

TEST_F(PageCommands, DeletingTheCurrentPageAsksAndTheSavedFileKeepsTheRest)
{
    useDocument({"one", "two", "three"}, 1);
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    wsOnCommand(ws, 780, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, kDeleteCurrent);
    EXPECT_EQ(pvGetPageCount(ws), 3);

    boxes.answer(IDOK);
    wsOnCommand(ws, 780, 0);
    EXPECT_EQ(pvGetPageCount(ws), 2);
    EXPECT_EQ(names(), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(current(), 1);
    EXPECT_TRUE(wsIsModified(ws));
    EXPECT_NE(title().find("Page 2 of 2"), std::string::npos) << title();

    // The last page deleted: the one before it becomes current.
    boxes.answer(IDOK);
    wsOnCommand(ws, 780, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"one"}));
    EXPECT_EQ(current(), 0);

    qmtest::TempDir dir;
    const std::string path = dir.file("left.qm");
    pvCommitPage(ws);
    ASSERT_EQ(qmfSaveDocument(ws, path.c_str(), wsGetDocument(ws), FALSE, FALSE), 1);
    MemHandle page = 0;
    MemHandle back = qmfOpenDocument(nullptr, path.c_str(), 0, &page);
    ASSERT_TRUE(back);
    EXPECT_EQ(fmGetPageCount(back), 1);
    fmFree(back);
}

TEST_F(PageCommands, APageThatCannotBeWrittenOutIsNotDeletedAndTheUserIsTold)
{
    useDocument({"one", "two", "three"}, 1);
    // The temporary folder is a file: no temporary file can be made.
    qmtest::TempDir dir;
    const std::string blocker = dir.file("notafolder");
    HANDLE f = CreateFileA(blocker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    CloseHandle(f);
    char saved[MAX_PATH] = "";
    GetEnvironmentVariableA("TEMP", saved, sizeof(saved));
    char savedTmp[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", savedTmp, sizeof(savedTmp));
    SetEnvironmentVariableA("TEMP", blocker.c_str());
    SetEnvironmentVariableA("TMP", blocker.c_str());
    BoxRecorder boxes;
    boxes.answer(IDOK);
    const int deleted = pgDeleteCurrentPage(ws);
    SetEnvironmentVariableA("TEMP", saved);
    SetEnvironmentVariableA("TMP", savedTmp);
    EXPECT_EQ(deleted, 0);
    EXPECT_GE(boxes.count(), 2u) << boxes.texts();
    EXPECT_EQ(pvGetPageCount(ws), 3);
    EXPECT_EQ(fmGetPageCount(wsGetDocument(ws)), 3);
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(PageCommands, TheBasePageIsDeletedAfterAskingAndCancelEndsDeleteCurrentPage)
{
    useDocument({"one", "two"}, 1);
    fmSetBasePage(form, pgtest::newPage("base"));
    wsSetRememberedPage(ws);
    ASSERT_EQ(pvSwitchToPage(ws, -1), 1);
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    wsOnCommand(ws, 780, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Delete the base page?");
    EXPECT_TRUE(fmGetBasePage(wsGetDocument(ws)));
    EXPECT_EQ(current(), -1);
    boxes.answer(IDOK);
    wsOnCommand(ws, 780, 0);
    EXPECT_FALSE(fmGetBasePage(wsGetDocument(ws)));
    EXPECT_EQ(current(), 1);
    EXPECT_EQ(pvGetPageCount(ws), 2);
}

// ---- revert -------------------------------------------------------------------------------

TEST_F(PageCommands, RevertAsksThenEmptiesAPageNeverStored)
{
    useDocument({"only"});
    MemHandle page = pvGetCurrentPage(ws);
    pgtest::addObject(page, "box", 100, 100, 600, 600);
    BoxRecorder boxes;
    boxes.answer(IDCANCEL);
    wsOnCommand(ws, 199, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, "Undo the entire page? (Can not be undone afterward.)");
    EXPECT_TRUE(pgGetFirstObject(pvGetCurrentPage(ws)));
    wsMarkModified(ws);
    boxes.answer(IDOK);
    wsOnCommand(ws, 199, 0);
    EXPECT_FALSE(pgGetFirstObject(pvGetCurrentPage(ws)));
    EXPECT_FALSE(wsIsModified(ws));
}

// ---- guides ---------------------------------------------------------------------------------

struct MenuSeen {
    std::vector<std::pair<std::string, UINT>> items;   // text, state
    UINT answer = 0;
};
MenuSeen *g_menu = nullptr;

UINT recordMenu(HMENU menu, UINT, int, int, HWND)
{
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        char text[64] = "";
        GetMenuStringA(menu, (UINT)i, text, sizeof(text), MF_BYPOSITION);
        UINT id = GetMenuItemID(menu, i);
        UINT state = GetMenuState(menu, (UINT)i, MF_BYPOSITION);
        g_menu->items.push_back({std::string(text) + "=" + std::to_string(id), state & MF_GRAYED});
    }
    return g_menu->answer;
}

TEST_F(PageCommands, TheGuideMenuOffersItsThreeItemsAndCarriesThemOut)
{
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    ASSERT_EQ(pvAddGuide(ws, page.left + 1440, GD_VERTICAL), 1);
    ASSERT_EQ(pvAddGuide(ws, page.left + 2880, GD_VERTICAL), 1);
    MenuSeen seen;
    g_menu = &seen;
    winSetTrackPopupHook(recordMenu);
    pvGuideMenu(ws, MAKELPARAM(10, 10), -1, -1);
    EXPECT_TRUE(seen.items.empty());
    seen.answer = 2108;
    pvGuideMenu(ws, MAKELPARAM(10, 10), 0, -1);
    winSetTrackPopupHook(nullptr);
    g_menu = nullptr;
    ASSERT_EQ(seen.items.size(), 3u);
    EXPECT_EQ(seen.items[0].first, "&Delete Guide=2108");
    EXPECT_EQ(seen.items[1].first, "Delete &All Guides=2112");
    EXPECT_EQ(seen.items[2].first, "&Snap Object to Guide=2110");
    EXPECT_EQ(seen.items[0].second, 0u);
    EXPECT_EQ(seen.items[2].second, (UINT)MF_GRAYED);
    MemHandle t = pvGetCurrentGuides(ws);
    EXPECT_EQ(gdCount(t, GD_VERTICAL), 1);
    EXPECT_EQ(gdGetPos(t, 0, GD_VERTICAL), page.left + 2880);
    utFreeHandle(t);

    // With a current object the snap item is offered and snaps it.
    MemHandle box = pgtest::addObject(pvGetCurrentPage(ws), "box", page.left + 2980, page.top + 200,
                                      page.left + 3500, page.top + 700);
    wsSetCurrentObject(ws, box);
    MenuSeen again;
    again.answer = 2110;
    g_menu = &again;
    winSetTrackPopupHook(recordMenu);
    pvGuideMenu(ws, MAKELPARAM(10, 10), 0, -1);
    winSetTrackPopupHook(nullptr);
    g_menu = nullptr;
    ASSERT_EQ(again.items.size(), 3u);
    EXPECT_EQ(again.items[2].second, 0u);
    RECT r;
    obGetRect(box, &r);
    EXPECT_EQ(r.left, page.left + 2880);
    wsSetCurrentObject(ws, 0);
}

TEST_F(PageCommands, AGuideDraggedWithItsObjectsIsUndoneAsOneStep)
{
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    const int32_t x = page.left + 1440;
    ASSERT_EQ(pvAddGuide(ws, x, GD_VERTICAL), 1);
    MemHandle box = pgtest::addObject(pvGetCurrentPage(ws), "box", x, page.top + 200, x + 500,
                                      page.top + 700);
    MemHandle before = pvGetCurrentGuides(ws);
    ASSERT_EQ(pvMoveGuide(ws, 0, x + 720, GD_VERTICAL), 1);
    ASSERT_EQ(pvRecordGuideMove(ws, before, 1, GD_VERTICAL, 720, &box), 1);
    utFreeHandle(before);
    obMoveBy(box, 720, 0);
    UndoRecord u;
    ASSERT_TRUE(wsGetUndo(ws, &u));
    EXPECT_EQ(u.kind, 24);
    udPerform(ws, 0);
    RECT r;
    obGetRect(box, &r);
    EXPECT_EQ(r.left, x);
    MemHandle t = pvGetCurrentGuides(ws);
    EXPECT_EQ(gdGetPos(t, 0, GD_VERTICAL), x);
    utFreeHandle(t);
}

TEST_F(PageCommands, GuidesAreSavedAndReadBackByteForByte)
{
    RECT page;
    pgGetPageRect(pvGetCurrentPage(ws), &page);
    ASSERT_EQ(pvAddGuide(ws, page.left + 3600, GD_VERTICAL), 1);
    ASSERT_EQ(pvAddGuide(ws, page.left + 1440, GD_VERTICAL), 1);
    ASSERT_EQ(pvAddGuide(ws, page.top + 720, GD_HORIZONTAL), 1);
    MemHandle mine = pvGetCurrentGuides(ws);
    qmtest::TempDir dir;
    const std::string path = dir.file("guides.qm");
    pvCommitPage(ws);
    ASSERT_EQ(qmfSaveDocument(ws, path.c_str(), wsGetDocument(ws), FALSE, FALSE), 1);
    MemHandle read = 0;
    MemHandle back = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
    ASSERT_TRUE(back);
    ASSERT_TRUE(read);
    MemHandle theirs = pvGetGuides(read);
    ASSERT_TRUE(theirs);
    ASSERT_EQ(utHandleSize(theirs), utHandleSize(mine));
    {
        MemLock<uint8_t> a(mine), b(theirs);
        EXPECT_EQ(memcmp(a.get(), b.get(), utHandleSize(mine)), 0);
    }
    utFreeHandle(mine);
    utFreeHandle(theirs);
    fmFree(back);
}

}  // namespace
