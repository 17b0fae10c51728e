// Browse buttons, the progress dialog and the list-view services.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/ut_mem.h"
#include "support/win_filedlg.h"
#include "support/win_listview.h"
#include <commctrl.h>
#include <string>
#include <vector>

namespace {

using qmtest::TestDialog;

// ---- Browse ---------------------------------------------------------------------------

struct BrowseSeen {
    int calls = 0;
    bool save = false;
    std::string path, folder;
};
BrowseSeen g_browse;
std::string g_pick;   // empty: cancelled

BOOL browseScript(HWND, WinFileDlgRequest &r)
{
    ++g_browse.calls;
    g_browse.save = r.save;
    g_browse.path = r.path;
    g_browse.folder = r.initialFolder ? r.initialFolder : "";
    if (g_pick.empty())
        return FALSE;
    lstrcpynA(r.path, g_pick.c_str(), 260);
    return TRUE;
}

TEST(Browse, EmptyEditStartsInTheFolderWithThePattern)
{
    winSetFileDlgHook(browseScript);
    TestDialog dlg("Browse", {{"EDIT", 300, ES_AUTOHSCROLL, ""}});
    dlg.open();
    struct Case {
        const char *name;
        const char *edit;
        const char *ext;
        BOOL open;
        const char *pick;
        BOOL result;
        const char *seenPath, *seenFolder, *after;
    } cases[] = {
        {"empty edit, open", "", "txt", TRUE, "C:\\notes\\a.txt", TRUE, "*.txt", "C:\\notes\\",
         "C:\\notes\\a.txt"},
        {"a long extension is cut to 3", "", "text", FALSE, "C:\\notes\\b.tex", TRUE, "", "",
         "C:\\notes\\b.tex"},
        {"the edit's path is the start", "C:\\work\\plan.txt", "txt", TRUE, "", FALSE, "*.txt",
         "C:\\work\\", "C:\\work\\plan.txt"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        g_browse = BrowseSeen();
        g_pick = c.pick;
        SetDlgItemTextA(dlg.hwnd(), 300, c.edit);
        EXPECT_EQ(c.result, winDlgBrowseFileIn(dlg.hwnd(), "Pick", "C:\\notes", c.ext,
                                               "Text\0*.txt\0\0", 300, c.open));
        EXPECT_EQ(1, g_browse.calls);
        EXPECT_EQ(!c.open, g_browse.save);
        if (c.open) {
            EXPECT_EQ(c.seenPath, g_browse.path);
            EXPECT_EQ(c.seenFolder, g_browse.folder);
        } else {
            // The Save dialog gets the joined path "C:\notes\*.tex" as its name.
            EXPECT_EQ("C:\\notes\\*.tex", g_browse.path);
        }
        EXPECT_EQ(c.after, qmtest::itemText(dlg.hwnd(), 300));
    }
    winSetFileDlgHook(nullptr);
}

// ---- progress -------------------------------------------------------------------------

TEST(Progress, RangeCaptionAndClosing)
{
    HWND dlg = dlgProgressOpen(nullptr, "", 0, 50);
    ASSERT_TRUE(dlg != nullptr);
    EXPECT_EQ("Working...", qmtest::windowText(dlg));
    HWND bar = GetDlgItem(dlg, 100);
    PBRANGE range = {};
    SendMessageA(bar, PBM_GETRANGE, FALSE, (LPARAM)&range);
    EXPECT_EQ(0, range.iLow);
    EXPECT_EQ(50, range.iHigh);
    EXPECT_EQ(1, dlgProgressSetPos(dlg, 20));
    EXPECT_EQ(20, (int)SendMessageA(bar, PBM_GETPOS, 0, 0));
    SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dlg));

    HWND named = dlgProgressOpen(nullptr, "Saving", 10, 20);
    ASSERT_TRUE(named != nullptr);
    EXPECT_EQ("Saving", qmtest::windowText(named));
    SendMessageA(named, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(named));

    HWND closed = dlgProgressOpen(nullptr, "", 0, 5);
    dlgProgressClose(closed);
    EXPECT_FALSE(IsWindow(closed));
}

// ---- list views -----------------------------------------------------------------------

class ListViews : public ::testing::Test {
protected:
    TestDialog dlg{"Grid", {{WC_LISTVIEWA, 400, LVS_REPORT | LVS_SHOWSELALWAYS, "", 4, 4, 200, 100},
                            {"COMBOBOX", 401, CBS_DROPDOWN | WS_VSCROLL, "", 4, 110, 80, 60},
                            {"BUTTON", 402, 0, "Ref", 100, 110, 40, 17}}};
    HWND lv = nullptr;
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        dlg.open();
        lv = dlg.item(400);
        ASSERT_TRUE(lv != nullptr);
    }
    int columnWidth(int i) { return (int)SendMessageA(lv, LVM_GETCOLUMNWIDTH, i, 0); }
    void setCell(int row, int col, const char *text)
    {
        LVITEMA item = {};
        item.iSubItem = col;
        item.pszText = (char *)text;
        SendMessageA(lv, LVM_SETITEMTEXTA, row, (LPARAM)&item);
    }
};

TEST_F(ListViews, ColumnsRowsAndClearing)
{
    EXPECT_TRUE(winListViewAddColumns(lv, "Name|Size||Date|", '|', 0));
    EXPECT_EQ(3, winListViewColumnCount(lv));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(90, columnWidth(i)) << i;
    winListViewClear(lv);
    EXPECT_EQ(0, winListViewColumnCount(lv));

    MemHandle widths = utAllocHandle(0, 8);
    {
        MemLock<int32_t> w(widths);
        w[0] = 40;
        w[1] = 120;
    }
    EXPECT_TRUE(winListViewAddColumns(lv, "A|B|C", '|', widths));
    EXPECT_EQ(40, columnWidth(0));
    EXPECT_EQ(120, columnWidth(1));
    EXPECT_EQ(90, columnWidth(2));   // no width given for it
    utFreeHandle(widths);

    EXPECT_EQ(0, winListViewInsertRow(lv, 0));
    EXPECT_EQ(1, winListViewInsertRow(lv, 5));
    EXPECT_EQ(0, winListViewInsertRow(lv, 0));
    EXPECT_EQ(3, (int)SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(-1, winListViewFirstSelected(lv));
    LVITEMA sel = {};
    sel.stateMask = sel.state = LVIS_SELECTED;
    SendMessageA(lv, LVM_SETITEMSTATE, 2, (LPARAM)&sel);
    EXPECT_EQ(2, winListViewFirstSelected(lv));
    winListViewClear(lv);
    EXPECT_EQ(0, (int)SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(0, winListViewColumnCount(lv));
}

TEST_F(ListViews, EditCellPutsTheEditorOverIt)
{
    winListViewAddColumns(lv, "A|B", '|', 0);
    winListViewInsertRow(lv, 0);
    setCell(0, 1, "Blue");
    HWND combo = dlg.item(401);
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)"Red");
    SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)"Blue");
    EXPECT_TRUE(winListViewEditCell(lv, 0, 1, combo, 20));
    EXPECT_EQ(1, (int)SendMessageA(combo, CB_GETCURSEL, 0, 0));
    RECT cell = {LVIR_BOUNDS, 1, 0, 0}, at;
    cell.top = 1;
    cell.left = LVIR_BOUNDS;
    SendMessageA(lv, LVM_GETSUBITEMRECT, 0, (LPARAM)&cell);
    MapWindowPoints(lv, dlg.hwnd(), (POINT *)&cell, 2);
    GetWindowRect(combo, &at);
    MapWindowPoints(nullptr, dlg.hwnd(), (POINT *)&at, 2);
    EXPECT_EQ(cell.left, at.left);
    EXPECT_EQ(cell.top, at.top);

    // A text that is no item becomes the combo's text.
    setCell(0, 1, "Green");
    EXPECT_TRUE(winListViewEditCell(lv, 0, 1, combo, 20));
    EXPECT_EQ("Green", qmtest::windowText(combo));
    // No such row: no rectangle.
    EXPECT_FALSE(winListViewEditCell(lv, 7, 1, combo, 20));
}

TEST_F(ListViews, GridLinesMeasuringAndSquareCells)
{
    EXPECT_NE(0, winListViewGridLines(lv) + 1);
    EXPECT_TRUE(SendMessageA(lv, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
    EXPECT_EQ(0, winListViewGridLines(dlg.item(401)));

    MEASUREITEMSTRUCT mis = {};
    EXPECT_FALSE(winMeasureItemHeight(dlg.hwnd(), 400, &mis, 401, 402));
    EXPECT_TRUE(winMeasureItemHeight(dlg.hwnd(), 400, &mis, 400, 402));
    RECT ref;
    GetWindowRect(dlg.item(402), &ref);
    EXPECT_EQ((UINT)(ref.bottom - ref.top), mis.itemHeight);
    EXPECT_TRUE(winMeasureItemHeight(dlg.hwnd(), 400, &mis, 400, 999));
    EXPECT_EQ(21u, mis.itemHeight);

    RECT client;
    GetClientRect(lv, &client);
    int cell = (client.right - GetSystemMetrics(SM_CXVSCROLL)) / 4;
    EXPECT_EQ(cell, winListViewCellWidth(lv, 4));
    EXPECT_EQ(1, winListViewAddSquareColumns(lv, 4));
    EXPECT_EQ(4, winListViewColumnCount(lv));
    EXPECT_EQ(cell, columnWidth(3));
    EXPECT_TRUE(winMeasureSquareRow(dlg.hwnd(), 400, &mis, 400, 4));
    EXPECT_EQ((UINT)cell, mis.itemHeight);
    EXPECT_FALSE(winMeasureSquareRow(dlg.hwnd(), 401, &mis, 400, 4));
}

struct CellCall {
    UINT code;
    WPARAM zero;
    UINT id;
    bool selected;
    RECT rect;
};
std::vector<CellCall> g_cells;

LRESULT cellRecorder(HWND, UINT code, WPARAM zero, LPARAM lParam)
{
    const DRAWITEMSTRUCT *d = (const DRAWITEMSTRUCT *)lParam;
    g_cells.push_back({code, zero, d->itemID, (d->itemState & ODS_SELECTED) != 0, d->rcItem});
    return 0;
}

TEST_F(ListViews, DrawRowCallsEachCellWithItsRectangle)
{
    winListViewAddSquareColumns(lv, 3);
    winListViewInsertRow(lv, 0);
    winListViewInsertRow(lv, 1);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTVIEW;
    dis.hwndItem = lv;
    dis.itemID = 1;
    dis.itemState = ODS_SELECTED;
    g_cells.clear();
    winListViewDrawRow(dlg.hwnd(), &dis, 3, cellRecorder, 1, 2);
    ASSERT_EQ(3u, g_cells.size());
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(3u, g_cells[c].code);
        EXPECT_EQ(0u, g_cells[c].zero);
        EXPECT_EQ((UINT)(3 + c), g_cells[c].id);
        EXPECT_EQ(c == 2, g_cells[c].selected);
        RECT r = {LVIR_BOUNDS, c, 0, 0};
        r.top = c;
        r.left = LVIR_BOUNDS;
        SendMessageA(lv, LVM_GETSUBITEMRECT, 1, (LPARAM)&r);
        EXPECT_EQ(r.top, g_cells[c].rect.top);
        if (c > 0) {
            EXPECT_EQ(r.left, g_cells[c].rect.left);
        }
    }
    // Not a list view item: nothing drawn.
    g_cells.clear();
    dis.CtlType = ODT_LISTBOX;
    winListViewDrawRow(dlg.hwnd(), &dis, 3, cellRecorder, 1, 2);
    EXPECT_TRUE(g_cells.empty());
    // Redrawing a cell of no row or column does nothing and does not fail.
    winListViewRedrawCell(lv, -1, 0);
    winListViewRedrawCell(lv, 0, -1);
    winListViewRedrawCell(lv, 0, 1);
}

}  // namespace
