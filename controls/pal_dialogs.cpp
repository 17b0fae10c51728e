// The colour dialogs: "Color", "Edit Palette", the colour grid pop-up and
// the "Palette Manager".
#include "controls/pal_dialogs.h"
#include "controls/pal_file.h"
#include "controls/pal_window.h"
#include "support/app_frame_globals.h"
#include "support/gdi_edge.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_window.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const int kPopupRows = 1;   // the "Custom..." row

// ---- the RGB group -------------------------------------------------------------------------

const int kBars[3] = {CLR_ID_RED_BAR, CLR_ID_GREEN_BAR, CLR_ID_BLUE_BAR};
const int kTexts[3] = {CLR_ID_RED_TEXT, CLR_ID_GREEN_TEXT, CLR_ID_BLUE_TEXT};

void setChannel(HWND dlg, int channel, int value)
{
    HWND bar = GetDlgItem(dlg, kBars[channel]);
    SetScrollRange(bar, SB_CTL, 0, 255, FALSE);
    SetScrollPos(bar, SB_CTL, value, TRUE);
    SetDlgItemInt(dlg, kTexts[channel], (UINT)value, FALSE);
}

// The sample button: a rectangle outlined in the given colour and filled
// with the working colour.
void drawSample(const DRAWITEMSTRUCT *di, COLORREF fill, COLORREF outline)
{
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, outline));
    GdiObject<HBRUSH> brush(CreateSolidBrush(fill));
    GdiSelect p(di->hDC, pen);
    GdiSelect b(di->hDC, brush);
    const RECT &r = di->rcItem;
    Rectangle(di->hDC, r.left, r.top, r.right, r.bottom);
}

// ---- lending the palette window ---------------------------------------------------------

// The strip while a dialog holds it: where it came from.
struct Lent {
    HWND window;
    HWND parent;
    RECT rect;            // in its parent's client coordinates
    uint16_t pickCommand;
};

Lent lendPalette(HWND dlg)
{
    Lent lent = {clrGetStripWindow(), nullptr, {0, 0, 0, 0}, CLR_CMD_PICKED};
    ColorMenuRecord r;
    if (!lent.window || !clrGetRecord(lent.window, &r)) {
        lent.window = nullptr;
        return lent;
    }
    if (r.pickCommand)
        lent.pickCommand = r.pickCommand;
    lent.parent = GetParent(lent.window);
    GetWindowRect(lent.window, &lent.rect);
    MapWindowPoints(nullptr, lent.parent, (POINT *)&lent.rect, 2);
    clrHideIndicator(lent.window);
    SetParent(lent.window, dlg);
    RECT client;
    GetClientRect(dlg, &client);
    MoveWindow(lent.window, 0, 0, client.right, lent.rect.bottom - lent.rect.top, TRUE);
    return lent;
}

// Puts the strip back where it was, or at the given rectangle.
void returnPalette(const Lent &lent, const RECT *rect)
{
    if (!lent.window || !IsWindow(lent.window))
        return;
    SetParent(lent.window, lent.parent);
    clrShowIndicator(lent.window);
    clrMovePaletteWindow(rect ? rect : &lent.rect);
}

// ---- "Color" and "Edit Palette" ----------------------------------------------------------

// State of the running "Color" or "Edit Palette" dialog.
struct RgbDialog {
    bool editing;             // "Edit Palette"
    const char *caption;
    COLORREF working;
    Lent lent;
    bool hasReturnRect;       // where "Edit Palette" puts the palette window back
    RECT returnRect;
    std::vector<COLORREF> original;   // the palette when "Edit Palette" opened
};
RgbDialog g_rgb;

void showWorking(HWND dlg)
{
    clrRgbShow(dlg, g_rgb.working);
}

void enableEditButtons(HWND dlg)
{
    BOOL highlighted = clrGetHighlight() >= 0;
    for (int id : {CLR_ID_DELETE, CLR_ID_REPLACE, CLR_ID_INSERT})
        EnableWindow(GetDlgItem(dlg, id), highlighted);
}

void editPalette(HWND dlg, int id)
{
    HWND strip = clrGetStripWindow();
    int highlighted = clrGetHighlight();
    switch (id) {
    case CLR_ID_ADD: {
        int index = clrAppendColor(g_rgb.working);
        if (index >= 0)
            clrSetHighlight(strip, index);
        break;
    }
    case CLR_ID_REPLACE:
        if (highlighted >= 0)
            clrReplaceColor(highlighted, g_rgb.working);
        break;
    case CLR_ID_INSERT:
        if (highlighted >= 0)
            clrInsertColor(highlighted, g_rgb.working);
        break;
    case CLR_ID_DELETE: {
        if (highlighted < 0)
            break;
        int next = clrDeleteColor(highlighted);
        clrSetHighlight(strip, next);
        COLORREF c;
        if (next >= 0 && clrGetColorAt(next, &c)) {
            g_rgb.working = c;
            showWorking(dlg);
        }
        break;
    }
    }
    enableEditButtons(dlg);
}

std::vector<COLORREF> paletteColours()
{
    int16_t n = 0;
    MemHandle h = clrGetColors(&n);
    std::vector<COLORREF> out;
    if (h) {
        MemLock<COLORREF> p(h);
        out.assign(p.get(), p.get() + n);
    }
    utFreeHandle(h);
    return out;
}

void endRgbDialog(HWND dlg, bool ok)
{
    if (ok)
        g_rgb.working = clrRgbFromBars(dlg);
    else if (g_rgb.editing)
        clrSetColors(g_rgb.original.empty() ? nullptr : g_rgb.original.data(),
                     (int)g_rgb.original.size());
    EndDialog(dlg, ok ? 1 : 0);
}

INT_PTR CALLBACK rgbDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        if (g_rgb.caption && *g_rgb.caption)
            SetWindowTextA(dlg, g_rgb.caption);
        g_rgb.lent = lendPalette(dlg);
        showWorking(dlg);
        if (g_rgb.editing)
            enableEditButtons(dlg);
        return TRUE;
    case WM_DESTROY:
        // The palette window leaves before the dialog's children are destroyed.
        returnPalette(g_rgb.lent, g_rgb.hasReturnRect ? &g_rgb.returnRect : nullptr);
        g_rgb.lent.window = nullptr;
        return FALSE;
    case WM_HSCROLL:
        clrRgbScroll(dlg, (HWND)lParam, LOWORD(wParam), (int16_t)HIWORD(wParam), &g_rgb.working);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == CLR_ID_SAMPLE) {
            drawSample((const DRAWITEMSTRUCT *)lParam, g_rgb.working, RGB(0, 0, 0));
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (g_rgb.lent.window && id == g_rgb.lent.pickCommand) {
            g_rgb.working = (COLORREF)lParam & 0x00FFFFFF;
            showWorking(dlg);
            if (g_rgb.editing)
                enableEditButtons(dlg);
            return TRUE;
        }
        switch (id) {
        case IDOK:
        case IDCANCEL:
            endRgbDialog(dlg, id == IDOK);
            return TRUE;
        case CLR_ID_ADD:
        case CLR_ID_DELETE:
        case CLR_ID_REPLACE:
        case CLR_ID_INSERT:
            if (g_rgb.editing)
                editPalette(dlg, id);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

int runRgbDialog(HWND owner, const char *templateName, const RECT *returnRect)
{
    g_rgb.hasReturnRect = returnRect != nullptr;
    if (returnRect)
        g_rgb.returnRect = *returnRect;
    INT_PTR result = DialogBoxParamA(winGetInstance(owner), templateName, owner, rgbDialogProc, 0);
    return result == 1 ? 1 : 0;
}

// ---- the colour grid pop-up ------------------------------------------------------------------

struct Popup {
    std::vector<COLORREF> colours;
    COLORREF given;
    COLORREF result;
    int selected;        // cell with the selection frame, -1 for none
    int rowFramed;       // text row with its frame, -1 for none
    bool painted;
    bool tracking;
    bool choosing;       // the system chooser is open over the pop-up
    bool ended;          // the result is given; later endings change nothing
};
Popup g_popup;

const POINT kOrigin = {0, 0};

RECT popupRowRect(int row)
{
    RECT r = {0, CLR_GRID_HEIGHT + CLR_POPUP_ROW * row, CLR_GRID_WIDTH,
              CLR_GRID_HEIGHT + CLR_POPUP_ROW * (row + 1)};
    return r;
}

int popupRowAt(POINT pt)
{
    for (int row = 0; row < kPopupRows; ++row) {
        RECT r = popupRowRect(row);
        if (PtInRect(&r, pt))
            return row;
    }
    return -1;
}

void frameCell(HDC dc, POINT origin, int index, COLORREF colour)
{
    if (index < 0 || index >= CLR_GRID_CELLS)
        return;
    RECT cell;
    clrGridCellRect(origin, index, &cell);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    GdiSelect p(dc, pen);
    GdiSelect b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, cell.left - 2, cell.top - 2, cell.right + 3, cell.bottom + 3);
}

void frameRow(HDC dc, int row, COLORREF colour)
{
    if (row < 0)
        return;
    RECT r = popupRowRect(row);
    InflateRect(&r, -4, -4);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    GdiSelect p(dc, pen);
    GdiSelect b(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void paintPopup(HWND dlg, HDC dc)
{
    int n = (int)g_popup.colours.size();
    clrDrawColorGrid(dc, kOrigin, n ? g_popup.colours.data() : nullptr, n, g_popup.selected,
                     CLR_POPUP_SELECT);
    static const char *const texts[kPopupRows] = {"Custom..."};
    GdiObject<HPEN> line(CreatePen(PS_SOLID, 1, CLR_GRID_PEN));
    HFONT font = (HFONT)SendMessageA(dlg, WM_GETFONT, 0, 0);
    GdiSelect f(dc, font);
    for (int row = 0; row < kPopupRows; ++row) {
        RECT r = popupRowRect(row);
        gdiFillSolid(dc, r, kWhite);
        {
            GdiSelect p(dc, line);
            MoveToEx(dc, r.left, r.top, nullptr);
            LineTo(dc, r.right, r.top);
        }
        int oldMode = SetBkMode(dc, TRANSPARENT);
        DrawTextA(dc, texts[row], -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SetBkMode(dc, oldMode);
    }
    frameRow(dc, g_popup.rowFramed, CLR_GRID_PEN);
}

void popupTrack(HWND dlg, POINT pt)
{
    RECT client;
    GetClientRect(dlg, &client);
    if (!g_popup.tracking) {
        if (!PtInRect(&client, pt))
            return;
        g_popup.tracking = true;
    }
    HDC dc = GetDC(dlg);
    int cell = clrGridHitTest(kOrigin, pt);
    if (cell >= 0 && cell != g_popup.selected) {
        frameCell(dc, kOrigin, g_popup.selected, kWhite);
        frameCell(dc, kOrigin, cell, CLR_POPUP_SELECT);
        g_popup.selected = cell;
    }
    int row = popupRowAt(pt);
    if (row != g_popup.rowFramed) {
        frameRow(dc, g_popup.rowFramed, kWhite);
        frameRow(dc, row, CLR_GRID_PEN);
        g_popup.rowFramed = row;
    }
    ReleaseDC(dlg, dc);
}

void popupEnd(HWND dlg, int result)
{
    // Ending moves the activation away, which would end the pop-up again.
    if (g_popup.ended)
        return;
    g_popup.ended = true;
    if (GetCapture() == dlg)
        ReleaseCapture();
    EndDialog(dlg, result);
}

// A left-button message: outside ends with nothing, a cell picks its colour
// (white beyond the palette), the "Custom..." row opens the chooser.
void popupLeft(HWND dlg, POINT pt)
{
    RECT client;
    GetClientRect(dlg, &client);
    if (!PtInRect(&client, pt)) {
        popupEnd(dlg, 0);
        return;
    }
    int cell = clrGridHitTest(kOrigin, pt);
    if (cell >= 0) {
        g_popup.result = cell < (int)g_popup.colours.size() ? g_popup.colours[(size_t)cell] : kWhite;
        popupEnd(dlg, 1);
        return;
    }
    if (popupRowAt(pt) == 0) {
        if (GetCapture() == dlg)
            ReleaseCapture();
        COLORREF chosen = g_popup.given;
        g_popup.choosing = true;
        int ok = clrPickColor(dlg, "Select a Color", &chosen);
        g_popup.choosing = false;
        if (ok)
            g_popup.result = chosen;
        popupEnd(dlg, ok ? 1 : 0);
    }
}

INT_PTR CALLBACK popupProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        RECT r = {0, 0, CLR_GRID_WIDTH, CLR_GRID_HEIGHT + CLR_POPUP_ROW * kPopupRows};
        AdjustWindowRectEx(&r, (DWORD)GetWindowLongA(dlg, GWL_STYLE), FALSE,
                           (DWORD)GetWindowLongA(dlg, GWL_EXSTYLE));
        POINT *at = (POINT *)lParam;
        SetWindowPos(dlg, HWND_TOP, at->x, at->y, r.right - r.left, r.bottom - r.top, 0);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(dlg, &ps);
        paintPopup(dlg, dc);
        EndPaint(dlg, &ps);
        if (!g_popup.painted) {
            g_popup.painted = true;
            SetCapture(dlg);
        }
        return TRUE;
    }
    case WM_ERASEBKGND:
        return TRUE;
    case WM_MOUSEMOVE: {
        POINT pt;
        winLParamToPoint(lParam, &pt);
        popupTrack(dlg, pt);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
        POINT pt;
        winLParamToPoint(lParam, &pt);
        popupLeft(dlg, pt);
        return TRUE;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        popupEnd(dlg, 0);
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && !g_popup.choosing)
            popupEnd(dlg, 0);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            popupEnd(dlg, 0);
        return TRUE;
    }
    return FALSE;
}

// ---- the Palette Manager -----------------------------------------------------------------------

struct Manager {
    std::vector<COLORREF> colours;   // the working palette
    int selected;                    // -1 for none
    COLORREF working;
    bool changed;
    MemHandle path;                  // 260 bytes: the current palette file
    POINT origin;                    // upper left of the grid area
};
Manager g_mgr;

std::string managerPath()
{
    MemLock<char> p(g_mgr.path);
    return p ? std::string(p.get()) : std::string();
}

void setManagerPath(const char *path)
{
    MemLock<char> p(g_mgr.path);
    if (p)
        utStrCopyN(p.get(), path, CLR_PATH_MAX);
}

void setManagerCaption(HWND dlg)
{
    std::string path = managerPath();
    if (path.empty()) {
        SetWindowTextA(dlg, "Palette Manager");
        return;
    }
    char caption[CLR_PATH_MAX + 32];
    snprintf(caption, sizeof(caption), "Palette Manager: %s", path.c_str());
    SetWindowTextA(dlg, caption);
}

bool managerHasSelection()
{
    return g_mgr.selected >= 0 && g_mgr.selected < CLR_GRID_CELLS &&
           g_mgr.selected < (int)g_mgr.colours.size();
}

void managerEnable(HWND dlg)
{
    BOOL on = managerHasSelection();
    for (int id : {CLR_ID_DELETE, CLR_ID_REPLACE, CLR_ID_INSERT})
        EnableWindow(GetDlgItem(dlg, id), on);
}

// Repaints the grid from a row on (all of it for -1).
void managerRepaint(HWND dlg, int fromIndex)
{
    int row = fromIndex > 0 ? fromIndex / CLR_GRID_COLUMNS : 0;
    RECT r = {g_mgr.origin.x - 3, g_mgr.origin.y + CLR_GRID_MARGIN + CLR_GRID_PITCH * row - 3,
              g_mgr.origin.x + CLR_GRID_WIDTH + 3, g_mgr.origin.y + CLR_GRID_HEIGHT + 3};
    InvalidateRect(dlg, &r, FALSE);
}

void managerSelect(HWND dlg, int index)
{
    int old = g_mgr.selected;
    g_mgr.selected = index >= 0 && index < CLR_GRID_CELLS ? index : -1;
    int from = old < 0 ? g_mgr.selected : g_mgr.selected < 0 ? old : std::min(old, g_mgr.selected);
    managerRepaint(dlg, from);
    managerEnable(dlg);
}

void managerSetWorking(HWND dlg, COLORREF colour)
{
    g_mgr.working = colour;
    clrRgbShow(dlg, colour);
}

// Saves the working palette to its file ("Save"), or through "Save As..."
// when it has none; true when written.
bool managerSave(HWND dlg, bool askName)
{
    char path[CLR_PATH_MAX];
    utStrCopyN(path, managerPath().c_str(), sizeof(path));
    if (askName || !path[0]) {
        if (!clrSavePaletteDlg(dlg, path))
            return false;
    } else {
        clrAddPaletteExtension(path, sizeof(path));
    }
    int n = (int)g_mgr.colours.size();
    MemHandle h = n ? utHandleFromBytes(g_mgr.colours.data(), 4u * (uint32_t)n) : 0;
    if (n && !h)
        return false;
    int ok = clrWritePaletteFile(path, h, n, TRUE);
    utFreeHandle(h);
    if (!ok)
        return false;   // reported by the file layer; the palette stays changed
    g_mgr.changed = false;
    if (managerPath() != path) {
        setManagerPath(path);
        setManagerCaption(dlg);
    }
    return true;
}

// The save question of New, Open, Cancel and Close; true to go on.
bool managerMayDiscard(HWND dlg)
{
    if (!g_mgr.changed)
        return true;
    int answer = utMessageBox(dlg, "Save changes?", MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL)
        return false;
    if (answer == IDYES)
        return managerSave(dlg, false);   // a save that did not happen keeps the dialog
    return true;
}

void managerTakePalette(HWND dlg, std::vector<COLORREF> colours, bool changed)
{
    g_mgr.colours.swap(colours);
    g_mgr.selected = -1;
    g_mgr.changed = changed;
    managerRepaint(dlg, -1);
    managerEnable(dlg);
}

void managerOpen(HWND dlg)
{
    if (!managerMayDiscard(dlg))
        return;
    char path[CLR_PATH_MAX];
    utStrCopyN(path, managerPath().c_str(), sizeof(path));
    MemHandle h = 0;
    int16_t n = 0;
    if (!clrOpenPaletteDlg(dlg, path, &h, &n))
        return;
    std::vector<COLORREF> colours;
    {
        MemLock<COLORREF> p(h);
        colours.assign(p.get(), p.get() + n);
    }
    utFreeHandle(h);
    managerTakePalette(dlg, colours, false);
    managerSetWorking(dlg, RGB(0, 0, 0));
    setManagerPath(path);
    setManagerCaption(dlg);
}

void managerEdit(HWND dlg, int id)
{
    std::vector<COLORREF> &c = g_mgr.colours;
    int sel = g_mgr.selected;
    int from = sel;
    switch (id) {
    case CLR_ID_ADD:
        if (c.size() >= (size_t)CLR_MAX_COLORS)
            return;
        c.push_back(g_mgr.working);
        from = (int)c.size() - 1;
        g_mgr.selected = from < CLR_GRID_CELLS ? from : -1;
        break;
    case CLR_ID_INSERT:
        if (!managerHasSelection() || c.size() >= (size_t)CLR_MAX_COLORS)
            return;
        c.insert(c.begin() + sel + 1, g_mgr.working);
        g_mgr.selected = sel + 1 < CLR_GRID_CELLS ? sel + 1 : -1;
        break;
    case CLR_ID_REPLACE:
        if (!managerHasSelection())
            return;
        c[(size_t)sel] = g_mgr.working;
        break;
    case CLR_ID_DELETE:
        if (!managerHasSelection())
            return;
        c.erase(c.begin() + sel);
        break;
    default:
        return;
    }
    g_mgr.changed = true;
    managerRepaint(dlg, from);
    managerEnable(dlg);
}

void managerEnd(HWND dlg, bool ok)
{
    if (ok) {
        // After "New" there are no working colours: the window keeps its own.
        if (!g_mgr.colours.empty())
            clrSetColors(g_mgr.colours.data(), (int)g_mgr.colours.size());
        EndDialog(dlg, 1);
        return;
    }
    if (managerMayDiscard(dlg))
        EndDialog(dlg, 0);
}

INT_PTR CALLBACK managerProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        g_mgr.colours = paletteColours();
        g_mgr.selected = -1;
        g_mgr.changed = false;
        RECT r;
        GetWindowRect(GetDlgItem(dlg, CLR_ID_GRID), &r);
        MapWindowPoints(nullptr, dlg, (POINT *)&r, 2);
        g_mgr.origin.x = (r.left + r.right) / 2 - CLR_GRID_WIDTH / 2;
        g_mgr.origin.y = (r.top + r.bottom) / 2 - CLR_GRID_HEIGHT / 2;
        managerSetWorking(dlg, RGB(0, 0, 0));
        managerEnable(dlg);
        setManagerCaption(dlg);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(dlg, &ps);
        int n = (int)g_mgr.colours.size();
        clrDrawColorGrid(dc, g_mgr.origin, n ? g_mgr.colours.data() : nullptr, n, g_mgr.selected,
                         CLR_GRID_PEN);
        EndPaint(dlg, &ps);
        return TRUE;
    }
    case WM_LBUTTONDOWN: {
        POINT pt;
        winLParamToPoint(lParam, &pt);
        int cell = clrGridHitTest(g_mgr.origin, pt);
        if (cell < 0)
            return TRUE;
        managerSelect(dlg, cell);
        managerSetWorking(dlg, cell < (int)g_mgr.colours.size() ? g_mgr.colours[(size_t)cell]
                                                                : kWhite);
        return TRUE;
    }
    case WM_HSCROLL:
        clrRgbScroll(dlg, (HWND)lParam, LOWORD(wParam), (int16_t)HIWORD(wParam), &g_mgr.working);
        return TRUE;
    case WM_DRAWITEM:
        if (wParam == CLR_ID_SAMPLE) {
            drawSample((const DRAWITEMSTRUCT *)lParam, g_mgr.working, CLR_GRID_PEN);
            return TRUE;
        }
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            managerEnd(dlg, true);
            return TRUE;
        case IDCANCEL:
        case CLR_PM_CLOSE:
            managerEnd(dlg, false);
            return TRUE;
        case CLR_ID_MORE: {
            COLORREF c = g_mgr.working;
            if (clrPickColor(dlg, "Select Color", &c))
                managerSetWorking(dlg, c);
            return TRUE;
        }
        case CLR_ID_ADD:
        case CLR_ID_DELETE:
        case CLR_ID_REPLACE:
        case CLR_ID_INSERT:
            managerEdit(dlg, LOWORD(wParam));
            return TRUE;
        case CLR_PM_NEW:
            if (managerMayDiscard(dlg))
                managerTakePalette(dlg, std::vector<COLORREF>(), false);
            return TRUE;
        case CLR_PM_OPEN:
            managerOpen(dlg);
            return TRUE;
        case CLR_PM_SAVE:
        case CLR_PM_SAVE_AS:
            managerSave(dlg, LOWORD(wParam) == CLR_PM_SAVE_AS);
            return TRUE;
        case CLR_PM_RESET:
            managerTakePalette(dlg, std::vector<COLORREF>(clrDefaultColors,
                                                          clrDefaultColors + CLR_DEFAULT_COUNT),
                               true);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

// ---- the grid --------------------------------------------------------------------------------

void clrGridCellRect(POINT origin, int index, RECT *cell)
{
    int c = index % CLR_GRID_COLUMNS, r = index / CLR_GRID_COLUMNS;
    int x = origin.x + CLR_GRID_MARGIN + CLR_GRID_PITCH * c;
    int y = origin.y + CLR_GRID_MARGIN + CLR_GRID_PITCH * r;
    SetRect(cell, x, y, x + CLR_GRID_CELL, y + CLR_GRID_CELL);
}

int clrGridHitTest(POINT origin, POINT pt)
{
    for (int i = 0; i < CLR_GRID_CELLS; ++i) {
        RECT cell;
        clrGridCellRect(origin, i, &cell);
        if (PtInRect(&cell, pt))
            return i;
    }
    return -1;
}

void clrDrawColorGrid(HDC dc, POINT origin, const COLORREF *colours, int count, int selected,
                      COLORREF selectColour)
{
    RECT area = {origin.x, origin.y, origin.x + CLR_GRID_WIDTH, origin.y + CLR_GRID_HEIGHT};
    gdiFillSolid(dc, area, kWhite);
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, CLR_GRID_PEN));
    GdiSelect p(dc, pen);
    for (int i = 0; i < CLR_GRID_CELLS; ++i) {
        RECT cell;
        clrGridCellRect(origin, i, &cell);
        GdiObject<HBRUSH> fill(i < count && colours ? CreateSolidBrush(colours[i]) : nullptr);
        GdiSelect b(dc, fill ? (HGDIOBJ)fill.get() : GetStockObject(NULL_BRUSH));
        Rectangle(dc, cell.left, cell.top, cell.right + 1, cell.bottom + 1);
    }
    frameCell(dc, origin, selected, selectColour);
}

// ---- the RGB group -----------------------------------------------------------------------------

void clrRgbShow(HWND dlg, COLORREF colour)
{
    setChannel(dlg, 0, GetRValue(colour));
    setChannel(dlg, 1, GetGValue(colour));
    setChannel(dlg, 2, GetBValue(colour));
    InvalidateRect(GetDlgItem(dlg, CLR_ID_SAMPLE), nullptr, FALSE);
}

BOOL clrRgbScroll(HWND dlg, HWND bar, int code, int thumb, COLORREF *working)
{
    int channel = -1;
    for (int i = 0; i < 3; ++i)
        if (bar && bar == GetDlgItem(dlg, kBars[i]))
            channel = i;
    if (channel < 0)
        return FALSE;
    int value = GetScrollPos(bar, SB_CTL);
    switch (code) {
    case SB_LINELEFT: value -= 1; break;
    case SB_LINERIGHT: value += 1; break;
    case SB_PAGELEFT: value -= 32; break;
    case SB_PAGERIGHT: value += 32; break;
    case SB_THUMBPOSITION: value = thumb; break;
    default: return FALSE;   // a dragged thumb counts when it is released
    }
    value = value < 0 ? 0 : value > 255 ? 255 : value;
    setChannel(dlg, channel, value);
    *working = clrRgbFromBars(dlg);
    InvalidateRect(GetDlgItem(dlg, CLR_ID_SAMPLE), nullptr, FALSE);
    return TRUE;
}

COLORREF clrRgbFromBars(HWND dlg)
{
    return RGB(GetScrollPos(GetDlgItem(dlg, CLR_ID_RED_BAR), SB_CTL),
               GetScrollPos(GetDlgItem(dlg, CLR_ID_GREEN_BAR), SB_CTL),
               GetScrollPos(GetDlgItem(dlg, CLR_ID_BLUE_BAR), SB_CTL));
}

// ---- the dialogs -----------------------------------------------------------------------------

int clrColorDlg(HWND owner, const char *caption, COLORREF *colour)
{
    if (!colour)
        return 0;
    g_rgb = RgbDialog();
    g_rgb.editing = false;
    g_rgb.caption = caption;
    g_rgb.working = *colour & 0x00FFFFFF;
    int ok = runRgbDialog(owner, "COLOR", nullptr);
    if (ok)
        *colour = g_rgb.working;
    return ok;
}

int clrEditPaletteDlg(HWND owner, const RECT *rect)
{
    g_rgb = RgbDialog();
    g_rgb.editing = true;
    g_rgb.original = paletteColours();
    g_rgb.working = clrGetTargetColor();
    int ok = runRgbDialog(owner, "COLOREDIT", rect);
    g_rgb.original.clear();
    return ok;
}

int clrColorPopup(HWND owner, COLORREF *colour, POINT screenPoint)
{
    if (!colour)
        return 0;
    g_popup = Popup();
    g_popup.colours = paletteColours();
    g_popup.given = *colour;
    g_popup.selected = -1;
    g_popup.rowFramed = -1;
    for (size_t i = 0; i < g_popup.colours.size() && i < (size_t)CLR_GRID_CELLS; ++i)
        if (g_popup.colours[i] == *colour) {
            g_popup.selected = (int)i;
            break;
        }
    INT_PTR result = DialogBoxParamA(winGetInstance(owner), "COLOR_POPUP", owner, popupProc,
                                     (LPARAM)&screenPoint);
    g_popup.colours.clear();
    if (result != 1)
        return 0;
    *colour = g_popup.result & 0x00FFFFFF;
    return 1;
}

BOOL clrManagerState(uint32_t *colours, BOOL *changed)
{
    if (!g_mgr.path)
        return FALSE;
    *colours = (uint32_t)g_mgr.colours.size();
    *changed = g_mgr.changed ? TRUE : FALSE;
    return TRUE;
}

int clrPaletteManagerDlg(HWND owner)
{
    if (!clrGetPaletteWindow()) {
        utErrorBox(owner, "Color window not started.  Contact the developer.");
        return 0;
    }
    MemHandle path = utAllocHandle(0, CLR_PATH_MAX);
    if (!path) {
        utErrorBox(owner, "Memory allocation error.");
        return 0;
    }
    g_mgr = Manager();
    g_mgr.path = path;
    HWND frame = appGetFrameWindow() ? appGetFrameWindow() : owner;
    INT_PTR result = DialogBoxParamA(winGetInstance(frame), "COLOR_PALEDIT_2", frame, managerProc, 0);
    utFreeHandle(g_mgr.path);
    g_mgr = Manager();
    return result == 1 ? 1 : 0;
}

// For tests: the grid origin of the running Palette Manager and the pop-up's selected cell.
POINT clrManagerGridOrigin()
{
    return g_mgr.origin;
}

int clrPopupSelectedCell()
{
    return g_popup.selected;
}

int clrManagerSelectedCell()
{
    return g_mgr.selected;
}
