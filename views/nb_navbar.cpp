// The page navigation bars.
#include "views/nb_navbar.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include "views/ws_window.h"
#include "model/fm_form.h"
#include "model/pg_record.h"
#include "model/ws_document.h"
#include "support/win_window.h"
#include <algorithm>
#include <ctype.h>
#include <stdio.h>
#include <string.h>

namespace {

// The creator's scroll state, handed to WM_INITDIALOG.
struct BarInit {
    int32_t min, max, pos, page;
};

const char kOldProcProp[] = "qm_nb_oldproc";

void post(HWND bar, int command, LPARAM lParam)
{
    PostMessageA(GetParent(bar), WM_COMMAND, (WPARAM)(uint16_t)command, lParam);
}

void initScrollBar(HWND bar, int id, const BarInit *init)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (init) {
        si.nMin = init->min;
        si.nMax = init->max ? init->max : 100;
        si.nPage = (UINT)std::max<int32_t>(init->page, 0);
        si.nPos = init->pos;
    } else {
        si.nMax = 100;
    }
    si.nTrackPos = 0;
    SetScrollInfo(GetDlgItem(bar, id), SB_CTL, &si, TRUE);
}

// Moves a control only when its rectangle changes.
void place(HWND bar, int id, int x, int y, int w, int h)
{
    HWND c = GetDlgItem(bar, id);
    if (!c)
        return;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, bar, (POINT *)&r, 2);
    if (r.left != x || r.top != y || r.right - r.left != w || r.bottom - r.top != h)
        MoveWindow(c, x, y, std::max(w, 0), std::max(h, 0), TRUE);
}

void layoutBottom(HWND bar)
{
    RECT c;
    GetClientRect(bar, &c);
    const int h = c.bottom - c.top, square = h + 2;
    int x = 0;
    place(bar, NB_FIRST, x, 0, square, h);
    x += square;
    place(bar, NB_PREV, x, 0, square, h);
    x += square;
    place(bar, NB_FIELD, x, 0, 90, h - 1);
    x += 90;
    place(bar, NB_NEXT, x, 0, square, h);
    x += square;
    place(bar, NB_LAST, x, 0, square, h);
    x += square;
    place(bar, NB_HSCROLL, x, 0, c.right - x, h);
}

void layoutRight(HWND bar)
{
    RECT c;
    GetClientRect(bar, &c);
    const int w = c.right - c.left;
    const int bottom = c.bottom - (GetSystemMetrics(SM_CYHSCROLL) + 2);
    place(bar, NB_STYLE, 0, 0, w, w);
    place(bar, NB_VSCROLL, 0, w, w, bottom - w);
    place(bar, NB_TO_MARGINS, 0, bottom, w, c.bottom - bottom);
}

HWND barScroll(HWND bar) { return GetDlgItem(bar, NB_HSCROLL) ? GetDlgItem(bar, NB_HSCROLL) : GetDlgItem(bar, NB_VSCROLL); }

// The bar requests 43-48 / 53-58 (offset 0 to 5 from 43 or 53).
bool barRequest(HWND bar, int request, LPARAM lParam)
{
    HWND sb = barScroll(bar);
    if (!sb)
        return false;
    switch (request) {
    case 0: {
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_POS;
        si.nPos = (int)lParam;
        SetScrollInfo(sb, SB_CTL, &si, TRUE);
        return true;
    }
    case 1:
        if (lParam) {
            const int32_t *pair = (const int32_t *)lParam;
            SCROLLINFO si = {};
            si.cbSize = sizeof si;
            si.fMask = SIF_RANGE;
            si.nMin = pair[0];
            si.nMax = pair[1];
            SetScrollInfo(sb, SB_CTL, &si, TRUE);
        }
        return true;
    case 2:
        EnableWindow(sb, lParam != 0);
        return true;
    case 3:
        if (lParam) {
            SCROLLINFO si = *(const SCROLLINFO *)lParam;
            si.cbSize = sizeof si;
            SetScrollInfo(sb, SB_CTL, &si, TRUE);
        }
        return true;
    case 4:
    case 5: {
        if (!lParam)
            return true;
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = request == 4 ? SIF_POS : SIF_PAGE;
        // A bar that cannot be read leaves the value as it is.
        if (GetScrollInfo(sb, SB_CTL, &si))
            *(int32_t *)lParam = request == 4 ? si.nPos : (int32_t)si.nPage;
        return true;
    }
    default:
        return false;
    }
}

void answered(HWND bar)
{
    SetWindowLongPtrA(bar, DWLP_MSGRESULT, 0);
}

// A page is shown (command 42): scroll bar, count, field, buttons.
void pageShown(HWND bar, LPARAM lParam)
{
    const int index = (int16_t)LOWORD(lParam);
    const int count = (int)HIWORD(lParam);
    HWND doc = GetParent(bar);
    HWND ws = dwGetWorkspace(doc);
    if (ws) {
        int32_t min = 0, max = 0, x = 0, y = 0;
        wsGetHScrollRange(ws, &min, &max);
        wsGetScrollOrigin(ws, &x, &y);
        SCROLLINFO si = {};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        si.nMin = min;
        si.nMax = max;
        si.nPage = (UINT)wsHScrollPage(ws);
        si.nPos = x;
        SetScrollInfo(GetDlgItem(bar, NB_HSCROLL), SB_CTL, &si, TRUE);
    }
    SetDlgItemInt(bar, NB_COUNT, (UINT)count, TRUE);
    char text[64];
    if (index == -1) {
        text[0] = 0;
        if (ws)
            pvGetCurrentPageName(ws, text, sizeof text);
        if (!text[0])
            lstrcpynA(text, "Base Page", sizeof text);
    } else {
        snprintf(text, sizeof text, "%d of %d", index + 1, count);
    }
    SetDlgItemTextA(bar, NB_FIELD, text);
    nbEnableButtons(bar, count, index);
    if (HWND right = dwGetRightBar(doc))
        EnableWindow(GetDlgItem(right, NB_STYLE), index >= 0);
}

// The page field: Tab or Enter goes to the page typed.
LRESULT CALLBACK pageFieldProc(HWND field, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = (WNDPROC)GetPropA(field, kOldProcProp);
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_CHAR:
        if (wParam == '\t' || wParam == '\r') {
            HWND bar = GetParent(field);
            char text[NB_FIELD_LIMIT + 4] = {};
            GetWindowTextA(field, text, sizeof text);
            BOOL ok = FALSE;
            const int count = (int)GetDlgItemInt(bar, NB_COUNT, &ok, TRUE);
            const int index = nbParsePageField(text, ok ? count : 0);
            if (index >= 0) {
                SetFocus(GetParent(bar));
                post(bar, 619, (LPARAM)index);
            } else {
                MessageBeep((UINT)-1);
            }
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemovePropA(field, kOldProcProp);
        if (old)
            SetWindowLongPtrA(field, GWLP_WNDPROC, (LONG_PTR)old);
        break;
    }
    return old ? CallWindowProcA(old, field, msg, wParam, lParam)
               : DefWindowProcA(field, msg, wParam, lParam);
}

void setButtonBitmap(HWND bar, int id, const char *name)
{
    HBITMAP bmp = (HBITMAP)LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0,
                                      LR_LOADMAP3DCOLORS);
    HWND button = GetDlgItem(bar, id);
    if (!bmp || !button) {
        if (bmp)
            DeleteObject(bmp);
        return;
    }
    SetWindowLongA(button, GWL_STYLE, GetWindowLongA(button, GWL_STYLE) | BS_BITMAP);
    SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)bmp);
}

void deleteButtonBitmap(HWND bar, int id)
{
    HWND button = GetDlgItem(bar, id);
    if (!button)
        return;
    HBITMAP bmp = (HBITMAP)SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, 0);
    if (bmp)
        DeleteObject(bmp);
}

HWND createBar(HWND doc, const char *name, DLGPROC proc, int area, const BarInit &init)
{
    HWND bar = CreateDialogParamA(winGetInstance(doc), name, doc, proc, (LPARAM)&init);
    if (!bar)
        return nullptr;
    RECT r = dwLayoutRect(doc, area);
    if (r.bottom > r.top)
        MoveWindow(bar, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    ShowWindow(bar, SW_SHOWNA);
    return bar;
}

}  // namespace

// ---- arithmetic --------------------------------------------------------------------------

int32_t nbScrollDistance(int code, int32_t min, int32_t max, int32_t page, int32_t pos,
                         int32_t track, int32_t line)
{
    int64_t d;
    switch (code) {
    case SB_LINEUP: d = -(int64_t)line; break;
    case SB_LINEDOWN: d = line; break;
    case SB_PAGEUP: d = -(int64_t)page; break;
    case SB_PAGEDOWN: d = page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: d = (int64_t)track - pos; break;
    case SB_TOP: d = (int64_t)min - pos; break;
    case SB_BOTTOM: d = ((int64_t)max - page) - pos; break;
    default: return 0;
    }
    const int64_t upper = ((int64_t)max - page) - ((int64_t)pos - 1);
    const int64_t lower = (int64_t)min - pos;
    d = std::min(d, upper);
    d = std::max(d, lower);
    return (int32_t)d;
}

int32_t nbScrollBy(HWND bar, int kind, int code, int32_t line)
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!GetScrollInfo(bar, kind, &si))
        return 0;
    const int32_t d = nbScrollDistance(code, si.nMin, si.nMax, (int32_t)si.nPage, si.nPos,
                                       si.nTrackPos, line);
    if (d) {
        SCROLLINFO p = {};
        p.cbSize = sizeof p;
        p.fMask = SIF_POS;
        p.nPos = si.nPos + d;
        SetScrollInfo(bar, kind, &p, TRUE);
    }
    return d;
}

int nbParsePageField(const char *text, int count)
{
    if (!text)
        return -1;
    while (*text == ' ')
        ++text;
    int n = 0, digits = 0;
    for (; *text && *text != ' '; ++text) {
        if (!isdigit((unsigned char)*text) || digits > 6)
            return -1;
        n = n * 10 + (*text - '0');
        ++digits;
    }
    if (!digits || n < 1 || n > count)
        return -1;
    return n - 1;
}

void nbButtonStates(int count, int index, BOOL *back, BOOL *forward)
{
    *back = count > 1 && index > 0;
    *forward = count > 1 && index >= 0 && index < count - 1;
}

void nbEnableButtons(HWND bar, int count, int index)
{
    BOOL back, forward;
    nbButtonStates(count, index, &back, &forward);
    EnableWindow(GetDlgItem(bar, NB_FIRST), back);
    EnableWindow(GetDlgItem(bar, NB_PREV), back);
    EnableWindow(GetDlgItem(bar, NB_NEXT), forward);
    EnableWindow(GetDlgItem(bar, NB_LAST), forward);
}

// ---- the bars -------------------------------------------------------------------------------

HWND nbCreateBottomBar(HWND doc, int32_t min, int32_t max, int32_t pos, int32_t page)
{
    return createBar(doc, "btool", BToolDlgProc, DW_AREA_BOTTOM_BAR, BarInit{min, max, pos, page});
}

HWND nbCreateRightBar(HWND doc, int32_t min, int32_t max, int32_t pos, int32_t page)
{
    return createBar(doc, "rtool", RToolDlgProc, DW_AREA_RIGHT_BAR, BarInit{min, max, pos, page});
}

INT_PTR CALLBACK BToolDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        initScrollBar(bar, NB_HSCROLL, (const BarInit *)lParam);
        HWND field = GetDlgItem(bar, NB_FIELD);
        if (field) {
            SendMessageA(field, EM_LIMITTEXT, NB_FIELD_LIMIT, 0);
            SetPropA(field, kOldProcProp,
                     (HANDLE)SetWindowLongPtrA(field, GWLP_WNDPROC, (LONG_PTR)pageFieldProc));
        }
        layoutBottom(bar);
        return FALSE;
    }
    case WM_SIZE:
        layoutBottom(bar);
        return TRUE;
    case WM_HSCROLL: {
        HWND sb = GetDlgItem(bar, NB_HSCROLL);
        if ((HWND)lParam != sb)
            return FALSE;
        int32_t line = 0;
        SendMessageA(GetParent(bar), WM_COMMAND, 31, (LPARAM)&line);
        const int32_t d = nbScrollBy(sb, SB_CTL, LOWORD(wParam), line);
        if (d)
            post(bar, 32, (LPARAM)d);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (lParam && (HWND)lParam == GetDlgItem(bar, id)) {
            const int code = HIWORD(wParam);
            switch (id) {
            case NB_FIRST: post(bar, 684, 0); return TRUE;
            case NB_PREV: post(bar, 617, 0); return TRUE;
            case NB_NEXT: post(bar, 618, 0); return TRUE;
            case NB_LAST: post(bar, 685, 0); return TRUE;
            case NB_FIELD:
                if (code == EN_SETFOCUS)
                    SendMessageA((HWND)lParam, EM_SETSEL, 0, -1);
                return TRUE;
            default: return FALSE;
            }
        }
        if (id == 42) {
            pageShown(bar, lParam);
            answered(bar);
            return TRUE;
        }
        if (id >= 43 && id <= 48 && barRequest(bar, id - 43, lParam)) {
            answered(bar);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

INT_PTR CALLBACK RToolDlgProc(HWND bar, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        initScrollBar(bar, NB_VSCROLL, (const BarInit *)lParam);
        setButtonBitmap(bar, NB_STYLE, "scrltype_s");
        setButtonBitmap(bar, NB_TO_MARGINS, "tobr_s");
        layoutRight(bar);
        return FALSE;
    case WM_SIZE:
        layoutRight(bar);
        return TRUE;
    case WM_DESTROY:
        deleteButtonBitmap(bar, NB_STYLE);
        deleteButtonBitmap(bar, NB_TO_MARGINS);
        return FALSE;
    case WM_VSCROLL: {
        HWND sb = GetDlgItem(bar, NB_VSCROLL);
        if ((HWND)lParam != sb)
            return FALSE;
        const int code = LOWORD(wParam);
        int32_t line = 0;
        SendMessageA(GetParent(bar), WM_COMMAND, 36, (LPARAM)&line);
        const int32_t d = nbScrollBy(sb, SB_CTL, code, line);
        if (d) {
            post(bar, 37, MAKELPARAM((uint16_t)(int16_t)d, code));
        } else if (code == SB_THUMBPOSITION) {
            SCROLLINFO si = {};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS | SIF_POS;
            const bool read = GetScrollInfo(sb, SB_CTL, &si) != 0;
            post(bar, 39, (LPARAM)(read ? si.nTrackPos : (int)(short)HIWORD(wParam)));
        } else if (code == SB_ENDSCROLL) {
            post(bar, 34, 0);
        }
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (lParam && (HWND)lParam == GetDlgItem(bar, id)) {
            if (id == NB_STYLE) {
                POINT pt;
                GetCursorPos(&pt);
                post(bar, 1225, MAKELPARAM(pt.x, pt.y));
            } else if (id == NB_TO_MARGINS) {
                post(bar, 439, 0);
            }
            return TRUE;
        }
        if (id >= 53 && id <= 58 && barRequest(bar, id - 53, lParam)) {
            answered(bar);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}
