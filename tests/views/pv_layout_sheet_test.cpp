// The page layout sheet driven inside its own loop, new documents made
// through it, and the workspace's document and current page.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "tests/model/pg_kit.h"
#include "views/pv_layout_sheet.h"
#include "model/ws_document.h"
#include "resources/resource.h"
#include <commctrl.h>
#include <prsht.h>
#include <string>
#include <vector>

using qmtest::DialogDriver;
using qmtest::windowText;

namespace {

HWND currentPage(HWND sheet)
{
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

// Chooses the paper-size list's entry with the text.
void choosePaper(HWND sheet, const char *name)
{
    HWND page = currentPage(sheet);
    HWND combo = GetDlgItem(page, IDC_PG_PAPER_SIZE);
    LRESULT item = SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name);
    ASSERT_NE(CB_ERR, item) << name;
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)item, 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PG_PAPER_SIZE, CBN_SELCHANGE), (LPARAM)combo);
}

std::string chosenPaper(HWND sheet)
{
    HWND combo = GetDlgItem(currentPage(sheet), IDC_PG_PAPER_SIZE);
    char text[64] = {};
    SendMessageA(combo, WM_GETTEXT, sizeof(text), (LPARAM)text);
    return text;
}

void press(HWND sheet, int button) { SendMessageA(sheet, PSM_PRESSBUTTON, button, 0); }

TEST(PageLayoutSheet, NewDocumentTakesTheChosenPaperAndOrientation)
{
    std::string caption, shown;
    DialogDriver driver({[&](HWND sheet) {
        caption = windowText(sheet);
        shown = chosenPaper(sheet);
        choosePaper(sheet, "A4 210 x 297 mm");
        SendMessageA(GetDlgItem(currentPage(sheet), IDC_PG_LANDSCAPE), BM_CLICK, 0, 0);
        press(sheet, PSBTN_OK);
    }});
    MemHandle form = pgNewDocument(FALSE);
    EXPECT_EQ(1u, driver.ran());
    ASSERT_TRUE(form);
    EXPECT_EQ("Create the First Page of the New File", caption);
    EXPECT_EQ("Letter 8 1/2 x 11 in", shown);
    MemHandle page = pgDirGetPages(fmGetDirectory(form), 0);
    PgLock p(page);
    ASSERT_TRUE(p);
    EXPECT_EQ(9, p.data()->paperCode);
    EXPECT_EQ(2, p.data()->orientation);
    EXPECT_EQ(16833, p.head()->width);    // 11.69 in
    EXPECT_EQ(11905, p.head()->height);   // 8.268 in
    EXPECT_EQ(16833 / 2, p.head()->centreX);
    EXPECT_EQ(-1, fmGetCurrentPage(form));
    fmFree(form);
}

TEST(PageLayoutSheet, CancelMakesNoDocumentAndLeavesNothing)
{
    pgFreeList(pgNewRecord(0));   // the layer module's own sets come to life once
    obtest::LiveCount live;
    DialogDriver driver({[](HWND sheet) { press(sheet, PSBTN_CANCEL); }});
    EXPECT_EQ(0u, pgNewDocument(FALSE));
    EXPECT_EQ(1u, driver.ran());
    EXPECT_EQ(0, live.leaked());
}

TEST(PageLayoutSheet, EnvelopesAreLandscapeWithoutAChoice)
{
    MemHandle page = pgNewRecord(0);
    bool portraitEnabled = true, landscapeChecked = false;
    std::string caption;
    DialogDriver driver({[&](HWND sheet) {
        caption = windowText(sheet);
        choosePaper(sheet, "Envelope #10 4 1/8 x 9 1/2 in");
        HWND dlg = currentPage(sheet);
        portraitEnabled = IsWindowEnabled(GetDlgItem(dlg, IDC_PG_PORTRAIT)) != FALSE;
        landscapeChecked = IsDlgButtonChecked(dlg, IDC_PG_LANDSCAPE) == BST_CHECKED;
        press(sheet, PSBTN_OK);
    }});
    BOOL unitChanged = TRUE;
    EXPECT_NE(0, pvPageLayoutSheet(nullptr, nullptr, &page, FALSE, &unitChanged));
    EXPECT_EQ("Change Page Layout", caption);
    EXPECT_FALSE(portraitEnabled);
    EXPECT_TRUE(landscapeChecked);
    EXPECT_FALSE(unitChanged);
    PgLock p(page);
    EXPECT_EQ(20, p.data()->paperCode);
    EXPECT_EQ(2, p.data()->orientation);
    EXPECT_EQ(13680, p.head()->width);   // 9.5 in
    EXPECT_EQ(5940, p.head()->height);   // 4.125 in
    pgFreeList(page);
}

TEST(PageLayoutSheet, OpensOnThePagesPaperAndCancelLeavesThePage)
{
    MemHandle page = pgNewRecord(0);
    {
        PgLock p(page);
        p.data()->paperCode = 10;
    }
    std::string shown, caption;
    bool landscapeEnabled = false;
    DialogDriver driver({[&](HWND sheet) {
        shown = chosenPaper(sheet);
        caption = windowText(sheet);
        landscapeEnabled = IsWindowEnabled(GetDlgItem(currentPage(sheet), IDC_PG_LANDSCAPE));
        choosePaper(sheet, "Legal 8 1/2 x 14 in");
        press(sheet, PSBTN_CANCEL);
    }});
    EXPECT_EQ(0, pvPageLayoutSheet(nullptr, nullptr, &page, TRUE, nullptr));
    EXPECT_EQ("Business card, 3 1/2 x 2 in", shown);
    EXPECT_EQ("Create New Page", caption);
    EXPECT_TRUE(landscapeEnabled);
    PgLock p(page);
    EXPECT_EQ(10, p.data()->paperCode);
    EXPECT_EQ(12240, p.head()->width);
    pgFreeList(page);
}

// The page's controls and the sheet's tabs show the interface face, never a
// face this platform lacks.
TEST(PageLayoutSheet, ControlsAndTabsUseTheSheetFont)
{
    MemHandle page = pgNewRecord(0);
    std::vector<std::string> faces;
    DialogDriver driver({[&](HWND sheet) {
        HWND tabs = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
        for (HWND w : {GetDlgItem(currentPage(sheet), IDC_PG_PAPER_SIZE),
                       GetDlgItem(currentPage(sheet), IDC_PG_LANDSCAPE), tabs}) {
            LOGFONTA lf = {};
            GetObjectA((HFONT)SendMessageA(w, WM_GETFONT, 0, 0), sizeof lf, &lf);
            faces.push_back(lf.lfFaceName);
        }
        press(sheet, PSBTN_CANCEL);
    }});
    pvPageLayoutSheet(nullptr, nullptr, &page, FALSE, nullptr);
    EXPECT_EQ(std::vector<std::string>({"Arial", "Arial", "Arial"}), faces);
    pgFreeList(page);
}

// ---- the workspace's document ----------------------------------------------------------

TEST(WorkspaceDocument, CurrentPageAndItsObjectsByName)
{
    MemHandle form = pgtest::docWithPages({"a", "b"});
    pgtest::Workspace ws(form);
    EXPECT_EQ(form, wsGetDocument(ws));
    EXPECT_EQ(2, pvGetPageCount(ws));
    EXPECT_EQ(0, pvGetCurrentPageIndex(ws));
    fmSetCurrentPage(form, 1);
    MemHandle second = pgDirGetPages(fmGetDirectory(form), 1);
    EXPECT_EQ(second, pvGetCurrentPage(ws));
    MemHandle box = pgtest::addObject(second, "Box");
    pgtest::addObject(second, nullptr);
    EXPECT_EQ(box, wsFindObjectByName(ws, "BOX"));
    EXPECT_EQ(0u, wsFindObjectByName(ws, "Circle"));
    EXPECT_EQ(0u, wsFindObjectByName(nullptr, "Box"));
    EXPECT_EQ(0u, pvGetPage(ws, 2));
    EXPECT_EQ(0u, pvGetPage(ws, -1));   // no base page
    MemHandle base = pgtest::newPage();
    fmSetBasePage(form, base);
    fmSetCurrentPage(form, -1);
    EXPECT_EQ(base, pvGetCurrentPage(ws));
    EXPECT_EQ(0u, wsFindObjectByName(ws, "Box"));

    char path[16];
    EXPECT_EQ(0, wsGetDocPath(ws, path, sizeof(path)));
    fmSetFilePath(form, "D:\\a.qm");
    EXPECT_NE(0, wsGetDocPath(ws, path, sizeof(path)));
    EXPECT_STREQ("D:\\a.qm", path);

    fmSetCurrentPage(form, 0);
    pvReleaseCurrentPage(ws);
    EXPECT_EQ(0u, pgDirGetPages(fmGetDirectory(form), 0));
    EXPECT_EQ(second, pgDirGetPages(fmGetDirectory(form), 1));
    wsSetDocument(ws, 0);
    EXPECT_EQ(-2, pvGetCurrentPageIndex(ws));
    EXPECT_EQ(0, pvGetPageCount(ws));
    fmFree(form);
}

}  // namespace
