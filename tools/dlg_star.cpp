// The star and regular-polygon dialogs.
#include "tools/dlg_star.h"
#include "tools/ep_polygon.h"
#include "support/geo_rotate.h"
#include "support/ut_msg.h"
#include <commctrl.h>
#include <stdlib.h>

namespace {

struct StarDialog {
    bool star;
    bool ready = false;
    int16_t nodes = 5;
    int16_t firstNodes = 5;
    int16_t percent = 50;
};

// Reads a signed integer; false when the text is no number.
bool readInt(HWND dlg, int id, long *out)
{
    char text[32] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    char *end = nullptr;
    long v = strtol(text, &end, 10);
    if (end == text)
        return false;
    while (*end == ' ')
        ++end;
    if (*end)
        return false;
    *out = v;
    return true;
}

// Takes the values from the edits and redraws the sample.
void rebuildSample(HWND dlg, StarDialog *d)
{
    if (!d->ready)
        return;
    long nodes;
    if (!readInt(dlg, IDC_STAR_NODES, &nodes) || nodes < 3 || nodes > 512) {
        d->ready = false;
        utWarningBox(dlg, "The number of nodes must be within 3 and 512.  Please revise.");
        SetDlgItemInt(dlg, IDC_STAR_NODES, (UINT)d->firstNodes, TRUE);
        d->ready = true;
        return;
    }
    d->nodes = (int16_t)nodes;
    if (d->star) {
        long percent;
        if (!readInt(dlg, IDC_STAR_INNER, &percent) || percent < 0 || percent > 100) {
            d->ready = false;
            utWarningBox(dlg, "The inner radius percentage must be between 0 and 100");
            d->ready = true;
            return;
        }
        if (percent != 0)
            d->percent = (int16_t)percent;
    }
    InvalidateRect(GetDlgItem(dlg, IDC_STAR_SAMPLE), nullptr, TRUE);
}

void drawSample(const DRAWITEMSTRUCT *item, const StarDialog *d)
{
    RECT r = item->rcItem;
    FillRect(item->hDC, &r, (HBRUSH)GetStockObject(WHITE_BRUSH));
    r.right -= 1;
    r.bottom -= 1;
    HGDIOBJ old = SelectObject(item->hDC, GetStockObject(NULL_BRUSH));
    if (d->star)
        gdiStar(item->hDC, r.left, r.top, r.right, r.bottom, d->nodes, d->percent);
    else
        gdiRegularPolygon(item->hDC, r.left, r.top, r.right, r.bottom, d->nodes);
    SelectObject(item->hDC, old);
}

INT_PTR CALLBACK starProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    StarDialog *d = (StarDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        d = (StarDialog *)lParam;
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)d);
        d->ready = false;
        d->percent = 50;
        SendDlgItemMessageA(dlg, IDC_STAR_NODES_SPIN, UDM_SETRANGE32, 3, 64);
        SendDlgItemMessageA(dlg, IDC_STAR_INNER_SPIN, UDM_SETRANGE32, 1, 99);
        if (d->star)
            SetDlgItemInt(dlg, IDC_STAR_INNER, (UINT)d->percent, TRUE);
        SetDlgItemInt(dlg, IDC_STAR_NODES, (UINT)d->nodes, TRUE);
        if (!d->star) {
            EnableWindow(GetDlgItem(dlg, IDC_STAR_INNER), FALSE);
            EnableWindow(GetDlgItem(dlg, IDC_STAR_INNER_SPIN), FALSE);
        }
        d->ready = true;
        rebuildSample(dlg, d);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_STAR_NODES:
        case IDC_STAR_INNER:
            if (HIWORD(wParam) == EN_CHANGE && d)
                rebuildSample(dlg, d);
            return TRUE;
        case IDOK:
        case IDC_STAR_OK:
            EndDialog(dlg, 1);
            return TRUE;
        case IDCANCEL:
        case IDC_STAR_CANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (wParam == IDC_STAR_SAMPLE && d) {
            drawSample((const DRAWITEMSTRUCT *)lParam, d);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int runDialog(HWND ws, const char *name, StarDialog *d)
{
    return (int)DialogBoxParamA(GetModuleHandleA(nullptr), name, ws, starProc, (LPARAM)d) == 1;
}

}  // namespace

__attribute__((weak)) int dlgStar(HWND ws, int16_t *tips, int16_t *percent)
{
    StarDialog d;
    d.star = true;
    int16_t count, pct;
    epGetStarConfig(&count, &pct);
    d.nodes = d.firstNodes = count;
    if (!runDialog(ws, "STAR", &d))
        return 0;
    if (tips)
        *tips = d.nodes;
    if (percent)
        *percent = d.percent;
    return 1;
}

__attribute__((weak)) int dlgEqlatPolygon(HWND ws, int16_t *corners)
{
    StarDialog d;
    d.star = false;
    int16_t count, pct;
    epGetStarConfig(&count, &pct);
    d.nodes = d.firstNodes = count;
    if (!runDialog(ws, "EQLATPOLYGON", &d))
        return 0;
    if (corners)
        *corners = d.nodes;
    return 1;
}
