#include "support/win_propsheet.h"
#include "support/app_ui_font.h"
#include "support/win_place.h"

void winFillPropPage(PROPSHEETPAGEA *record, DWORD flags, HINSTANCE instance,
                     const char *dialogTemplate, const char *title, DLGPROC procedure,
                     LPARAM parameter, LPFNPSPCALLBACKA callback)
{
    if (!record)
        return;
    record->dwSize = sizeof *record;
    record->dwFlags = flags;
    record->hInstance = instance;
    record->pszTemplate = dialogTemplate;
    record->pszTitle = title;
    record->pfnDlgProc = procedure;
    record->lParam = parameter;
    record->pfnCallback = callback;
}

void winPropSheetFirstInit(HWND page, BOOL *first, HFONT font)
{
    if (!first)
        return;
    if (*first) {
        HWND sheet = GetParent(page);
        winCentreOnScreen(sheet);
        if (font)
            if (HWND tabs = (HWND)SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0))
                SendMessageA(tabs, WM_SETFONT, (WPARAM)font, TRUE);
    }
    *first = FALSE;
}

void winPropSheetGoTo(HWND page, int index)
{
    SendMessageA(GetParent(page), PSM_SETCURSEL, (WPARAM)index, 0);
    SetWindowLongPtrA(page, DWLP_MSGRESULT, -1);
}

HFONT winSheetFontOfSize(int size) { return appCreateUiFontOfHeight(-size); }

HFONT winSheetFont() { return winSheetFontOfSize(13); }

void winSetControlsFont(HWND window, HFONT font)
{
    if (!window || !font)
        return;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, (WPARAM)font, TRUE);
}
