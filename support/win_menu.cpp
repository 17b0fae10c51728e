#include "support/win_menu.h"
#include "support/gdi_bitmap.h"
#include "support/win_window.h"
#include <string.h>
#include <vector>

namespace {
WinTrackPopupHook g_hook = nullptr;
WinDrawMenuBarHook g_drawBarHook = nullptr;

// A fixed text field as a terminated string.
template <size_t N>
void fieldText(const char (&field)[N], char (&out)[N + 1])
{
    memcpy(out, field, N);
    out[N] = 0;
}
}  // namespace

void winSetTrackPopupHook(WinTrackPopupHook hook) { g_hook = hook; }

UINT winTrackPopup(HMENU menu, UINT flags, int x, int y, HWND owner)
{
    if (!menu)
        return 0;
    UINT cmd;
    if (g_hook)
        cmd = g_hook(menu, flags, x, y, owner);
    else
        cmd = (UINT)TrackPopupMenu(menu, flags | TPM_RETURNCMD, x, y, 0, owner, nullptr);
    if (cmd && !(flags & TPM_RETURNCMD) && owner)
        PostMessageA(owner, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
    return cmd;
}

HMENU winMenuFromTable(const WinMenuTableEntry *table, int count)
{
    if (!table || count < 1)
        return nullptr;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    for (int i = 0; i < count; ++i) {
        if (table[i].id == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        char text[sizeof(table[i].text) + 1];
        fieldText(table[i].text, text);
        AppendMenuA(menu, MF_STRING, table[i].id, text);
    }
    return menu;
}

BOOL winTrackMenuTable(HWND window, LPARAM packedClient, const WinMenuTableEntry *table,
                       int count)
{
    HMENU menu = winMenuFromTable(table, count);
    if (!menu)
        return FALSE;
    POINT pt;
    winLParamToPoint(packedClient, &pt);
    if (window)
        ClientToScreen(window, &pt);
    winTrackPopup(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, window);
    DestroyMenu(menu);
    return TRUE;
}

HMENU winMenuFromBitmapTable(HWND window, WinBitmapMenuEntry *table, int count)
{
    if (!table || count < 1)
        return nullptr;
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return nullptr;
    HINSTANCE instance = window ? winGetInstance(window) : GetModuleHandleA(nullptr);
    for (int i = 0; i < count; ++i) {
        WinBitmapMenuEntry &e = table[i];
        if (e.id == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        char name[sizeof(e.bitmap) + 1];
        fieldText(e.bitmap, name);
        HBITMAP bitmap = e.handle ? qmU32ToHandle<HBITMAP>(e.handle) : winLoadBitmap(instance, name);
        e.handle = qmHandleToU32(bitmap);
        if (bitmap)
            AppendMenuA(menu, MF_BITMAP, e.id, (LPCSTR)bitmap);
        else
            AppendMenuA(menu, MF_STRING, e.id, name);
    }
    return menu;
}

void winFreeBitmapTable(WinBitmapMenuEntry *table, int count)
{
    if (!table)
        return;
    for (int i = 0; i < count; ++i) {
        if (table[i].handle)
            DeleteObject(qmU32ToHandle<HBITMAP>(table[i].handle));
        table[i].handle = 0;
    }
}

HMENU winFindSubMenu(HMENU menu, UINT firstId)
{
    // Level by level, so that a sub-menu nearer the top wins over a deeper
    // one met earlier.
    std::vector<HMENU> level;
    if (menu)
        level.push_back(menu);
    while (!level.empty()) {
        std::vector<HMENU> next;
        for (HMENU m : level) {
            const int n = GetMenuItemCount(m);
            for (int i = 0; i < n; ++i) {
                HMENU sub = GetSubMenu(m, i);
                if (!sub)
                    continue;
                if (GetMenuItemID(sub, 0) == firstId)
                    return sub;
                next.push_back(sub);
            }
        }
        level.swap(next);
    }
    return nullptr;
}

BOOL winRenameSubMenu(HWND window, UINT firstId, const char *text)
{
    HMENU bar = window ? GetMenu(window) : nullptr;
    if (!bar || !text)
        return FALSE;
    const int n = GetMenuItemCount(bar);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(bar, i);
        if (!sub || GetMenuItemID(sub, 0) != firstId)
            continue;
        char shown[81] = {};
        GetMenuStringA(bar, (UINT)i, shown, sizeof shown, MF_BYPOSITION);
        if (strcmp(shown, text) != 0) {
            ModifyMenuA(bar, (UINT)i, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)sub, text);
            winDrawMenuBar(window);
        }
        return TRUE;
    }
    return FALSE;
}

void winCheckMenuItem(HMENU menu, UINT id, BOOL on)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

int winMenuPosOfCommand(HMENU menu, UINT id)
{
    const int n = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < n; ++i)
        if (GetMenuItemID(menu, i) == id)
            return i;
    return -1;
}

void winMenuTruncateAfter(HMENU menu, UINT id)
{
    const int pos = winMenuPosOfCommand(menu, id);
    if (pos < 0)
        return;
    for (int i = GetMenuItemCount(menu) - 1; i > pos; --i)
        RemoveMenu(menu, (UINT)i, MF_BYPOSITION);
}

void winSetDrawMenuBarHook(WinDrawMenuBarHook hook) { g_drawBarHook = hook; }

void winDrawMenuBar(HWND window)
{
    if (g_drawBarHook)
        g_drawBarHook(window);
    else if (window)
        DrawMenuBar(window);
}
