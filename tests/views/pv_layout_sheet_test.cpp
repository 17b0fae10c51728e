// The page layout sheet driven inside its own loop, new documents made
// through it, and the workspace's document and current page.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "tests/model/pg_kit.h"
#include "views/pv_layout_sheet.h"
#include "model/ws_document.h"
#include "resources/resource.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include <string.h>
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

// ---- the other kinds of page ---------------------------------------------------------------

// Shows the sheet page with the title and returns its window.
HWND showPage(HWND sheet, const char *title)
{
    HWND tabs = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0);
    const int n = (int)SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char text[64] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        SendMessageA(tabs, TCM_GETITEMA, i, (LPARAM)&item);
        if (strcmp(text, title) == 0)
            SendMessageA(sheet, PSM_SETCURSEL, i, 0);
    }
    return currentPage(sheet);
}

TEST(PageLayoutSheet, CustomSizeHeldWithinAQuarterInchAnd22Inches)
{
    struct Case {
        const char *unit, *width, *height;
        const char *message;   // null: accepted
        int32_t twipsWidth;
    } cases[] = {
        {"Inch", "22", "22", nullptr, 31680},
        {"Inch", "22.01", "5", "Page width must not exceed the equivalent of 22 inches.", 0},
        {"Inch", "5", "22.01", "Page height must not exceed the equivalent of 22 inches.", 0},
        {"Inch", "0.24", "5", "Page size is too small.  Minimum is 1/4 inch.", 0},
        // A quarter inch is a size, but leaves no room inside the margins.
        {"Inch", "0.25", "5", "Page margins too large.  Please revise.", 0},
        // Exactly 22 inches in cm; the program's centimetre factor puts it
        // a hair under, truncated to the twip below.
        {"cm", "55.88", "10", nullptr, 31679},
    };
    for (const Case &c : cases) {
        MemHandle page = pgNewRecord(0);
        qmtest::BoxRecorder boxes;
        bool stayed = false;
        DialogDriver driver({[&](HWND sheet) {
            HWND dlg = showPage(sheet, "Custom Size");
            qmtest::chooseItemText(dlg, 106, c.unit);
            SetDlgItemTextA(dlg, 310, c.width);
            SetDlgItemTextA(dlg, 311, c.height);
            press(sheet, PSBTN_OK);
            stayed = IsWindow(sheet) && IsWindowVisible(sheet);
            if (stayed)
                press(sheet, PSBTN_CANCEL);
        }});
        const INT_PTR r = pvPageLayoutSheet(nullptr, nullptr, &page, FALSE, nullptr);
        PgLock p(page);
        if (c.message) {
            EXPECT_EQ(0, r) << c.width;
            EXPECT_EQ(c.message, boxes.count() ? boxes.last().text : "") << c.width;
            EXPECT_EQ(0, p.data()->paperCode) << c.width;
        } else {
            EXPECT_NE(0, r) << c.width;
            EXPECT_EQ(0u, boxes.count()) << boxes.texts();
            EXPECT_EQ(255, p.data()->paperCode);
            EXPECT_EQ(c.twipsWidth, p.head()->width) << c.width;
        }
    }
}

TEST(PageLayoutSheet, BusinessCardSizeSetsQuarterInchMargins)
{
    MemHandle page = pgNewRecord(0);
    std::string left;
    DialogDriver driver({[&](HWND sheet) {
        choosePaper(sheet, "Business card, 3 1/2 x 2 in");
        left = qmtest::itemText(currentPage(sheet), 302);
        press(sheet, PSBTN_OK);
    }});
    ASSERT_NE(0, pvPageLayoutSheet(nullptr, nullptr, &page, FALSE, nullptr));
    EXPECT_EQ("0.25", left);
    RECT m;
    ASSERT_TRUE(pgGetMargins(page, &m));
    EXPECT_EQ(360, m.left);
    EXPECT_EQ(360, m.top);
    EXPECT_EQ(360, m.right);
    EXPECT_EQ(360, m.bottom);
    pgFreeList(page);
}

TEST(PageLayoutSheet, ASlideMakesALandscapeSlidePage)
{
    DialogDriver driver({[&](HWND sheet) {
        showPage(sheet, "Presentation");
        press(sheet, PSBTN_OK);
    }});
    MemHandle form = pgNewDocument(FALSE);
    ASSERT_TRUE(form);
    MemHandle page = pgDirGetPages(fmGetDirectory(form), 0);
    PgLock p(page);
    EXPECT_EQ(42, p.data()->paperCode);
    EXPECT_EQ(2, p.data()->orientation);
    EXPECT_EQ(15840, p.head()->width);
    EXPECT_EQ(12240, p.head()->height);
    EXPECT_TRUE(pgHasFlag64(page));
    fmFree(form);
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
