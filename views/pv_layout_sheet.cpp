// The page layout sheet and its Standard Size page.
#include "views/pv_layout_sheet.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/win_propsheet.h"
#include "resources/resource.h"
#include <commctrl.h>
#include <prsht.h>

namespace {

// What the sheet works on while it is open.
struct SheetState {
    MemHandle page;
    int paper;
    int orientation;
    bool applied;
    HFONT font;   // the sheets' font, on every control
    BOOL first;   // the sheet's first activation is still to come
};

bool isEnvelope(int code) { return code >= 19 && code <= 23; }

// Envelopes are fed sideways: landscape, with no choice.
void applyEnvelopeRule(HWND dlg, int code)
{
    BOOL envelope = isEnvelope(code);
    if (envelope)
        CheckRadioButton(dlg, IDC_PG_PORTRAIT, IDC_PG_LANDSCAPE, IDC_PG_LANDSCAPE);
    EnableWindow(GetDlgItem(dlg, IDC_PG_PORTRAIT), !envelope);
    EnableWindow(GetDlgItem(dlg, IDC_PG_LANDSCAPE), !envelope);
}

int selectedPaper(HWND dlg)
{
    HWND combo = GetDlgItem(dlg, IDC_PG_PAPER_SIZE);
    LRESULT item = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR)
        return 0;
    return (int)SendMessageA(combo, CB_GETITEMDATA, (WPARAM)item, 0);
}

void initPage(HWND dlg, SheetState *state)
{
    HWND combo = GetDlgItem(dlg, IDC_PG_PAPER_SIZE);
    int count = 0;
    const PgPaperSize *sizes = pgPaperSizes(&count);
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        LRESULT item = SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)sizes[i].name);
        SendMessageA(combo, CB_SETITEMDATA, (WPARAM)item, sizes[i].code);
        if (sizes[i].code == state->paper)
            chosen = i;
    }
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)chosen, 0);
    CheckRadioButton(dlg, IDC_PG_PORTRAIT, IDC_PG_LANDSCAPE,
                     state->orientation == 2 ? IDC_PG_LANDSCAPE : IDC_PG_PORTRAIT);
    applyEnvelopeRule(dlg, sizes[chosen].code);
}

void applyPage(HWND dlg, SheetState *state)
{
    int code = selectedPaper(dlg);
    int orientation = IsDlgButtonChecked(dlg, IDC_PG_LANDSCAPE) == BST_CHECKED ? 2 : 1;
    double width = 0, height = 0;
    pagePaperSize(code, orientation, &width, &height);
    PgLock p(state->page);
    if (!p)
        return;
    p.data()->paperCode = (uint8_t)code;
    p.data()->orientation = (uint8_t)orientation;
    RECT box = {0, 0, dmInchToTwipsX(width), dmInchToTwipsY(height)};
    obRecSetRect(p.head(), &box);
    state->applied = true;
}

INT_PTR CALLBACK standardProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    SheetState *state = reinterpret_cast<SheetState *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        const PROPSHEETPAGEA *psp = reinterpret_cast<const PROPSHEETPAGEA *>(lParam);
        state = reinterpret_cast<SheetState *>(psp->lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)state);
        winSetControlsFont(dlg, state->font);
        initPage(dlg, state);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PG_PAPER_SIZE && HIWORD(wParam) == CBN_SELCHANGE)
            applyEnvelopeRule(dlg, selectedPaper(dlg));
        return FALSE;
    case WM_NOTIFY: {
        const NMHDR *hdr = reinterpret_cast<const NMHDR *>(lParam);
        if (hdr->code == PSN_SETACTIVE && state) {
            winPropSheetFirstInit(dlg, &state->first, state->font);
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        if (hdr->code == PSN_APPLY && state) {
            HWND sheet = GetParent(dlg);
            if ((HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == dlg)
                applyPage(dlg, state);
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

namespace {
PvLayoutSheetHook g_sheetHook = nullptr;
}

void pvSetLayoutSheetHook(PvLayoutSheetHook hook) { g_sheetHook = hook; }

INT_PTR pvPageLayoutSheet(HWND owner, const char *caption, MemHandle *page, BOOL create,
                          BOOL *unitChanged)
{
    if (g_sheetHook)
        return g_sheetHook(owner, caption, page, create, unitChanged);
    if (unitChanged)
        *unitChanged = FALSE;
    if (!page || !*page)
        return 0;
    SheetState state = {*page, 0, 1, false, nullptr, TRUE};
    {
        PgLock p(*page);
        if (!p)
            return 0;
        state.paper = p.data()->paperCode;
        state.orientation = p.data()->orientation;
    }
    PROPSHEETPAGEA pageSheet = {};
    winFillPropPage(&pageSheet, PSP_USETITLE, GetModuleHandleA(nullptr), "PAGE_STD",
                    "Standard Size", standardProc, (LPARAM)&state, nullptr);

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = caption ? caption : (create ? "Create New Page" : "Change Page Layout");
    header.nPages = 1;
    header.ppsp = &pageSheet;
    state.font = winSheetFont();
    INT_PTR result = PropertySheetA(&header);
    DeleteObject(state.font);
    return result > 0 && state.applied ? result : 0;
}
