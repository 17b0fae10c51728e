// The property-sheet services: page records, the sheet font on every
// control, the first-time rule run once per sheet, and opening on a page.
#include "tests/support/kit.h"
#include "tests/support/kit_dialog.h"
#include "support/win_propsheet.h"
#include <string>
#include <vector>

namespace {

using qmtest::DialogDriver;

// What the test's sheet shares between its pages.
struct Sheet {
    HFONT font;
    BOOL first = TRUE;
    int firstRuns = 0;        // times the first-time rule found its flag set
    int openOn = 1;           // the page the sheet goes to when it opens
    std::vector<HWND> pages;  // pages as they were made
};

INT_PTR CALLBACK pageProc(HWND page, UINT msg, WPARAM, LPARAM lParam)
{
    Sheet *s = (Sheet *)GetWindowLongPtrA(page, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        s = (Sheet *)((const PROPSHEETPAGEA *)lParam)->lParam;
        SetWindowLongPtrA(page, DWLP_USER, (LONG_PTR)s);
        s->pages.push_back(page);
        winSetControlsFont(page, s->font);
        return TRUE;
    case WM_NOTIFY:
        if (((NMHDR *)lParam)->code == PSN_SETACTIVE && s) {
            if (s->first) {
                ++s->firstRuns;
                winPropSheetFirstInit(page, &s->first, s->font);
                if (s->openOn > 0) {
                    winPropSheetGoTo(page, s->openOn);
                    return TRUE;
                }
            }
            winPropSheetFirstInit(page, &s->first, s->font);
            SetWindowLongPtrA(page, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

HFONT fontOf(HWND w) { return (HFONT)SendMessageA(w, WM_GETFONT, 0, 0); }

int currentIndex(HWND sheet)
{
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    return (int)SendMessageA(sheet, PSM_HWNDTOINDEX, (WPARAM)page, 0);
}

TEST(PropSheet, PageRecordIsFilledWithThePlatformSize)
{
    PROPSHEETPAGEA page;
    memset(&page, 0xCC, sizeof page);
    page.hIcon = nullptr;
    winFillPropPage(&page, PSP_USETITLE, GetModuleHandleA(nullptr), "PAGE_STD", "Standard",
                    pageProc, 77, nullptr);
    EXPECT_EQ(sizeof(PROPSHEETPAGEA), page.dwSize);
    EXPECT_EQ((DWORD)PSP_USETITLE, page.dwFlags);
    EXPECT_STREQ("PAGE_STD", page.pszTemplate);
    EXPECT_STREQ("Standard", page.pszTitle);
    EXPECT_EQ((DLGPROC)pageProc, page.pfnDlgProc);
    EXPECT_EQ(77, page.lParam);
    EXPECT_EQ(nullptr, page.pfnCallback);
    EXPECT_EQ(nullptr, page.hIcon) << "the icon is the caller's";
}

TEST(PropSheet, TheSheetFontIsTheInterfaceFace)
{
    for (int size : {13, 20}) {
        HFONT font = size == 13 ? winSheetFont() : winSheetFontOfSize(size);
        LOGFONTA lf = {};
        ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
        EXPECT_STREQ("Arial", lf.lfFaceName) << "not a face this platform lacks";
        EXPECT_EQ(-size, lf.lfHeight);
        DeleteObject(font);
    }
}

TEST(PropSheet, FontOnEveryControlFirstRuleOnceAndOpeningPage)
{
    const std::vector<DWORD> templ = qmtest::buildDialogTemplate(
        "page", {{"EDIT", 100, ES_AUTOHSCROLL, "text"},
                 {"BUTTON", 101, BS_AUTOCHECKBOX, "check"},
                 {"STATIC", 102, 0, "label"}});
    Sheet s;
    s.font = winSheetFont();
    PROPSHEETPAGEA pages[3];
    const char *titles[3] = {"One", "Two", "Three"};
    for (int i = 0; i < 3; ++i) {
        winFillPropPage(&pages[i], PSP_DLGINDIRECT | PSP_USETITLE, GetModuleHandleA(nullptr),
                        nullptr, titles[i], pageProc, (LPARAM)&s, nullptr);
        pages[i].pResource = (LPCDLGTEMPLATEA)templ.data();
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = "Sheet";
    header.nPages = 3;
    header.ppsp = pages;

    int openedOn = -1, laterRuns = -1;
    HFONT tabFont = nullptr;
    DialogDriver driver({
        [&](HWND sheet) {
            openedOn = currentIndex(sheet);
            tabFont = fontOf((HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
            SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
            SendMessageA(sheet, PSM_SETCURSEL, 2, 0);
            laterRuns = s.firstRuns;
            for (HWND page : s.pages) {
                int controls = 0;
                for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                    ++controls;
                    EXPECT_EQ(s.font, fontOf(c)) << "control " << GetDlgCtrlID(c);
                }
                EXPECT_EQ(3, controls);
            }
            SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        },
    });
    PropertySheetA(&header);
    EXPECT_EQ(1u, driver.ran());
    EXPECT_EQ(1, openedOn) << "opens on the page it was sent to";
    EXPECT_EQ(1, laterRuns) << "the first-time rule runs once per sheet";
    EXPECT_EQ(s.font, tabFont);
    EXPECT_FALSE(s.first);
    EXPECT_EQ(3u, s.pages.size()) << "every page was made";
    DeleteObject(s.font);
}

}  // namespace
