#include "app/app_menu_state.h"
#include "app/app_frame.h"
#include "app/app_frame_bars.h"
#include "app/app_frame_cmd.h"
#include "app/app_menu_editor.h"
#include "app/app_toolbars.h"
#include "support/app_ui_state.h"
#include "support/settings_reg.h"
#include "views/prn_custom.h"
#include "views/prn_setup.h"
#include "views/pv_pagecmd.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "app/mb_msgbar.h"
#include "commands/cmd_object.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "model/fm_form.h"
#include "objects/img_bitmap.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/win_menu.h"
#include "commands/pop_menus.h"
#include "forms/fld_services.h"
#include "model/pg_record.h"
#include "objects/fil_fill.h"
#include "table/tb_menu_standins.h"
#include "text/tx_header.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "textedit/te_modes.h"
#include "tools/ep_brushline_standins.h"
#include "tools/ep_note_standins.h"
#include "tools/ne_standins.h"
#include "views/ws_window.h"
#include "tools/ep_standins.h"
#include <initializer_list>
#include <string.h>
#include <vector>

const char APP_ENGLISH_MENU[] = "ridevi";

void appInitToolWindowsMenu(HWND frame, HMENU popup)
{
    winCheckMenuItem(popup, 607, appTestBar(frame, FB_MESSAGE));
    winCheckMenuItem(popup, 750, appTestBar(frame, FB_RIGHT));
    winCheckMenuItem(popup, 919, appGetBarWindow(frame, FB_BOTTOM) != nullptr);
    winCheckMenuItem(popup, 749, appIsTextToolOpen());
}

namespace {

// What the rules look at: the active workspace W, its tool mode M, its
// current object O, the object type T (a composite's first member's type)
// and the current page's object count (counted up to 3).
struct MenuInputs {
    HWND ws;
    uint16_t mode;
    MemHandle object;
    int16_t type;
    MemHandle first, last;
    int objects;
};

MenuInputs inputsOf(HWND ws)
{
    MenuInputs in = {};
    in.ws = ws;
    if (!ws)
        return in;
    in.mode = wsGetToolMode(ws);
    in.object = wsGetCurrentObject(ws);
    in.type = in.object ? obGetType(in.object) : wsGetCurrentType(ws);
    if (in.object && in.type == 500)
        if (MemHandle member = obGetFirstMember(in.object))
            in.type = obGetType(member);
    in.first = wsGetFirstObject(ws);
    in.last = wsGetLastObject(ws);
    for (MemHandle h = in.first; h && in.objects < 3; h = obGetNext(h))
        ++in.objects;
    return in;
}

bool isOneOf(int value, std::initializer_list<int> set)
{
    for (int v : set)
        if (v == value)
            return true;
    return false;
}

void apply(HMENU popup, const int16_t *flags, int count) { winEnableMenuItems(popup, flags, count); }

void renameItem(HMENU popup, UINT id, const char *text)
{
    ModifyMenuA(popup, id, MF_BYCOMMAND | MF_STRING, id, text);
}

// A copy of a text object's header; false for other objects.
bool textHeaderOf(MemHandle object, TextHeader *out)
{
    if (!object)
        return false;
    const int16_t type = obGetType(object);
    if (type != 40 && type != -40)
        return false;
    TextHeader *h = txLockHeader(object);
    if (!h)
        return false;
    *out = *h;
    utUnlock(object);
    return true;
}

// The style items of the Text menu checked from a font.
void checkStyles(HMENU popup, const LOGFONTA *lf)
{
    winCheckMenuItem(popup, 463, lf && lf->lfWeight >= 700);
    winCheckMenuItem(popup, 461, lf && lf->lfItalic);
    winCheckMenuItem(popup, 462, lf && lf->lfUnderline);
    winCheckMenuItem(popup, 468, lf && lf->lfStrikeOut);
}

// Items whose command waits for a handler that is not in the program yet
// (as `waits` tells) are greyed, whatever the pop-up's rule said: they
// would do nothing.
void greyWaiting(HMENU popup, BOOL (*waits)(int))
{
    const int n = GetMenuItemCount(popup);
    for (int i = 0; i < n; ++i) {
        const UINT id = GetMenuItemID(popup, i);
        if (id != (UINT)-1 && id != 0 && waits((int)id))
            EnableMenuItem(popup, (UINT)i, MF_BYPOSITION | MF_GRAYED);
    }
}

bool usable(HWND ws)
{
    if (!ws || !IsWindow(ws))
        return false;
    HWND doc = wsGetDocWindow(ws);
    return !(doc && IsIconic(doc));
}

}  // namespace

void appInitFileMenu(HWND frame, HMENU popup, HWND ws)
{
    prnCustomDriverCommand(frame, popup, 1958, 114);
    const int count = GetMenuItemCount(popup);
    if (count <= 0)
        return;
    std::vector<int16_t> flags((size_t)count, 1);
    // Fax stands at 14, or fourth from the end once the custom items and
    // recent files have lengthened the menu.
    const int fax = count > 18 ? count - 4 : 14;
    const int print = fax - 1;
    auto set = [&](int pos, bool on) {
        if (pos >= 0 && pos < count)
            flags[(size_t)pos] = on ? 1 : 0;
    };
    if (ws) {
        const MenuInputs in = inputsOf(ws);
        set(8, in.objects > 0);
        set(fax, pvGetPageCount(ws) > 0 && in.objects > 0 && faxIsReady());
        if (!usable(ws)) {
            set(7, false);
            set(8, false);
        }
        if (pvGetCurrentPageIndex(ws) == -1)
            set(12, false);
    } else {
        for (int i = 2; i <= 11; ++i)
            set(i, false);
        set(print, false);
        set(fax, false);
    }
    apply(popup, flags.data(), count);
}

void appInitExportMenu(HMENU popup, HWND ws)
{
    // Object needs the current object; Page and Pages a page with objects,
    // as the File rule asks before the pop-up opens.
    const MenuInputs in = inputsOf(ws);
    int16_t f[3] = {(int16_t)(in.object ? 1 : 0), 1, 1};
    apply(popup, f, 3);
}

void appInitWindowMenu(HWND frame, HMENU popup)
{
    // Tile, Cascade, Arrange Icons and Close All work on document windows.
    const int count = GetMenuItemCount(popup);
    const int16_t on = appListDocWindows(frame).empty() ? 0 : 1;
    for (int i = 0; i < count; ++i)
        EnableMenuItem(popup, (UINT)i, MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED));
}

void appInitEditMenuForObjects(HMENU popup, HWND ws)
{
    int16_t f[11] = {};
    const MenuInputs in = inputsOf(ws);
    f[0] = ws && udIsPending(ws) ? 1 : 0;
    if (in.mode == TM_SELECT || in.mode == TM_CREATE) {
        BOOL paste = FALSE;
        pvGetSelectionCommandState(ws, nullptr, nullptr, &paste, nullptr);
        const int16_t on = in.object ? 1 : 0;
        f[2] = f[3] = f[6] = f[10] = on;
        f[4] = paste ? 1 : 0;
        f[7] = 0;
        f[9] = (in.objects > 0 && in.mode == TM_SELECT) ? 1 : 0;
        f[1] = f[5] = f[8] = 1;
    } else if (in.mode == TM_GRADIENT) {
        f[0] = 0;
    } else if (in.mode == TM_BRUSH || in.mode == TM_BRUSH + 1) {
        // The brush line tool's state fills Cut to Delete.
        uint16_t first = 0, stroke = 0;
        epBrushLineEditState(ws, &first, &stroke);
        f[2] = f[3] = f[6] = stroke ? 1 : 0;
        f[4] = 0;
        f[1] = f[5] = 1;
    }
    // Back from text editing, the Insert item bears its own name again.
    char text[64] = "";
    if (GetMenuStringA(popup, 206, text, sizeof text, MF_BYCOMMAND) > 0 &&
        strcmp(text, "&Insert Image...") == 0)
        renameItem(popup, 206, "&Insert");
    apply(popup, f, 11);
}

void appInitModifyMenu(HMENU popup, HWND ws)
{
    int16_t f[17] = {};
    const MenuInputs in = inputsOf(ws);
    const MemHandle o = in.object;
    const int t = in.type;
    switch (in.mode) {
    case TM_NONE:
    case TM_SELECT:
        f[7] = (in.objects > 0 && !(in.objects == 1 && in.first == o)) ? 1 : 0;
        f[8] = in.objects >= 2 ? 1 : 0;
        f[9] = (o && !isOneOf(t, {31, 39, 52}) && cmdCanFlipType(obGetType(o))) ? 1 : 0;
        if (!o)
            break;
        f[2] = (t != 84 && !obGetFirstMember(o)) ? 1 : 0;
        f[0] = t == 84 ? 1 : 0;
        f[1] = f[5] = (t == 80 || t == 84) ? 1 : 0;
        renameItem(popup, 405, t == 84 ? "&Unchain" : "&Ungroup");
        f[4] = f[16] = 1;
        f[10] = f[11] = isOneOf(t, {2, 3, 12, 14, 17, 18, 22}) ? 1 : 0;
        f[12] = isOneOf(t, {2, 3, 14, 15, 17, 18}) ? 1 : 0;
        f[14] = (t == 15 || t == 19) ? 1 : 0;
        if (f[14])
            winCheckMenuItem(popup, 258, (obGetFlags(o) & OBF_ALL_CHORDS) != 0);
        f[15] = isOneOf(t, {14, 17, 18}) ? 1 : 0;
        f[13] = (t >= 9 && t <= 12) ? 1 : 0;
        break;
    case TM_MULTISELECT:
        f[5] = 1;
        break;
    case TM_NODE:
        f[15] = f[9] = 1;
        break;
    case TM_NODE_41:
    case TM_NODE_42:
        f[9] = 1;
        break;
    default:
        break;
    }
    apply(popup, f, 17);
}

void appInitOrderMenu(HMENU popup, HWND ws)
{
    int16_t f[6] = {};
    const MenuInputs in = inputsOf(ws);
    if (in.object && in.objects >= 2) {
        f[0] = f[1] = f[2] = f[3] = 1;
        if (in.object == in.first)
            f[0] = f[1] = 0;
        if (in.object == in.last)
            f[2] = f[3] = 0;
    }
    f[4] = 1;
    f[5] = in.objects >= 2 ? 1 : 0;
    apply(popup, f, 6);
}

void appInitAttributeMenu(HMENU popup, HWND ws)
{
    int16_t f[12];
    for (int16_t &v : f)
        v = 1;
    const MenuInputs in = inputsOf(ws);
    if (in.mode != TM_SELECT && in.mode != TM_CREATE) {
        apply(popup, nullptr, 0);
        return;
    }
    f[11] = in.objects > 0 ? 1 : 0;
    f[7] = in.object ? 1 : 0;
    enum { PATTERN = 0, GRADIENT = 1, LINE = 3, ENDS = 4, BITMAP = 6, MAKE = 7, DISPLAY = 9,
           NAME = 10, INFO = 11 };
    const int t = in.type;
    auto grey = [&](std::initializer_list<int> positions) {
        for (int p : positions)
            f[p] = 0;
    };
    if (isOneOf(t, {2, 3, 4, 5, 12, 14, 17, 18})) {
        grey({PATTERN, GRADIENT, BITMAP});
        if (t == 12)
            grey({ENDS});
    } else if (isOneOf(t, {6, 7, 8, 9, 10, 11, 13, 15, 19, 35, 36})) {
        grey({BITMAP, ENDS});
    } else if (t == 31) {
        grey({PATTERN, GRADIENT, BITMAP});
    } else if (isOneOf(t, {26, 39, 40, 41, 42, 43, 44, 45, 52, 54, 57, 58, 96, 116, 124, 134, 135,
                           136, 137, 138, 210, 297})) {
        grey({PATTERN, GRADIENT, LINE, ENDS, BITMAP});
    } else if (isOneOf(t, {60, 78, 79})) {
        const int16_t make = t == 78 ? f[MAKE] : 0;
        for (int16_t &v : f)
            v = 0;
        f[BITMAP] = f[DISPLAY] = f[NAME] = 1;
        f[INFO] = in.objects > 0 ? 1 : 0;
        f[MAKE] = make;
    } else if (t == 80 || t == 84) {
        const int16_t make = f[MAKE], info = f[INFO];
        for (int16_t &v : f)
            v = 0;
        f[DISPLAY] = f[NAME] = 1;
        f[INFO] = info;
        f[MAKE] = make;
        // Line for a tree holding lines or closed shapes; Ends for lines.
        if (in.object && obTreeHasLine(in.object))
            f[LINE] = f[ENDS] = 1;
        if (in.object && obTreeHasClosedShape(in.object))
            f[LINE] = 1;
    } else if (isOneOf(t, {402, 491, 492, 500})) {
        grey({BITMAP, ENDS});
    }
    apply(popup, f, 12);
}

void appInitTextMenu(HMENU popup, HWND ws)
{
    int16_t f[21] = {};
    f[3] = 1;
    LOGFONTA styles = {};
    bool haveStyles = false;
    const MenuInputs in = inputsOf(ws);
    if (in.mode == TM_SELECT || in.mode == TM_CREATE) {
        f[16] = 1;
        const int t = in.object ? in.type : (in.mode == TM_CREATE ? in.type : 0);
        if (t == 0 || (!in.object && in.mode != TM_CREATE)) {
            f[0] = f[1] = f[19] = f[20] = 1;
        } else if (t == 40 || t == -40) {
            f[0] = f[1] = f[2] = f[18] = f[19] = f[20] = 1;
            TextHeader h;
            if (in.object && textHeaderOf(in.object, &h)) {
                for (int i = 5; i <= 9; ++i)
                    f[i] = 1;
                styles = h.lf;
                haveStyles = true;
            }
        } else if (isOneOf(t, {43, 45, 134, 135, 136, 137, 297})) {
            f[0] = f[1] = f[19] = 1;
        } else if (t == 138) {
            f[0] = f[1] = f[19] = 1;
            if (in.object) {
                for (int i = 5; i <= 9; ++i)
                    f[i] = 1;
                haveStyles = txGetLabelFont(in.object, &styles) != FALSE;
            }
        } else if (isOneOf(t, {80, 84, 500})) {
            f[0] = f[1] = f[19] = 1;
        }
    }
    checkStyles(popup, haveStyles ? &styles : nullptr);
    apply(popup, f, 21);
}

void appCheckAlignment(HMENU popup, int alignment)
{
    for (UINT id : {464u, 465u, 466u, 483u})
        winCheckMenuItem(popup, id, false);
    UINT id = 464;
    if (alignment == 1)
        id = 465;
    else if (alignment == 2)
        id = 466;
    else if (alignment == 256)
        id = 483;
    winCheckMenuItem(popup, id, true);
}

void appInitParagraphMenu(HMENU popup, HWND ws)
{
    int16_t f[9] = {};
    const MenuInputs in = inputsOf(ws);
    const bool createOther = in.mode == TM_CREATE && in.type != 40;
    if ((in.mode != TM_SELECT && in.mode != TM_CREATE) || createOther ||
        (in.object && in.type != 40 && in.type != -40)) {
        apply(popup, f, 9);
        return;
    }
    for (int i : {0, 1, 2, 3, 4, 5, 7})
        f[i] = 1;
    apply(popup, f, 9);
    // The text's alignment word, or the page's default text settings.
    TextHeader h = {};
    if (in.object ? textHeaderOf(in.object, &h) : pgGetProp(pvGetCurrentPage(ws), 55, &h) != 0)
        appCheckAlignment(popup, h.align & TXA_HMASK);
    else
        appCheckAlignment(popup, 0);
}

void appInitPageMenu(HMENU popup, HWND ws)
{
    const int count = GetMenuItemCount(popup);
    int16_t f[12];
    for (int16_t &v : f)
        v = 1;
    if (!ws) {
        for (int16_t &v : f)
            v = 0;
        f[0] = 1;
    } else {
        const int pages = pvGetPageCount(ws);
        if (pages <= 0)
            for (int i = 1; i <= 10; ++i)
                f[i] = 0;
        else if (pages == 1)
            for (int i : {7, 8, 10, 11})
                f[i] = 0;
    }
    apply(popup, f, count < 12 ? count : 12);
}

void appInitZoomMenu(HMENU popup, HWND ws)
{
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i)
        CheckMenuItem(popup, (UINT)i, MF_BYPOSITION | MF_UNCHECKED);
    if (ws)
        if (int command = appZoomCodeToCommand(wsGetZoomCode(ws)))
            winCheckMenuItem(popup, (UINT)command, true);
}

void appInitGoToMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    int16_t f[4] = {};
    f[0] = in.first && in.first != in.object ? 1 : 0;
    f[1] = in.last && in.last != in.object ? 1 : 0;
    f[2] = in.object && obGetPrev(in.object) ? 1 : 0;
    f[3] = in.object && obGetNext(in.object) ? 1 : 0;
    apply(popup, f, 4);
}

void appInitGradientMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    int16_t f[2] = {1, 0};
    f[1] = (in.object && obGetFillKind(in.object) == 3 && in.mode == TM_SELECT) ? 1 : 0;
    apply(popup, f, 2);
}

void appInitDisplayMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    const uint32_t flags = in.object ? obGetFlags(in.object) : 0;
    winCheckMenuItem(popup, 416, (flags & OBF_SHADOW) != 0);
    winCheckMenuItem(popup, 417, (flags & OBF_NOTXOR) != 0);      // Transparent
    winCheckMenuItem(popup, 419, (flags & OBF_LOCKED) != 0);
    winCheckMenuItem(popup, 740, (flags & OBF_HIDDEN) != 0);
    winCheckMenuItem(popup, 418, (flags & OBF_LEAVE_OUT) != 0);   // No Print
}

void appInitNameMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    int16_t f[2] = {(int16_t)(in.object ? 1 : 0), 1};
    apply(popup, f, 2);
}

void appInitMakeBitmapMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    int16_t f[2] = {(int16_t)(in.object ? 1 : 0), (int16_t)(in.object ? 1 : 0)};
    apply(popup, f, 2);
}

void appInitPasswordMenu(HMENU popup, HWND ws)
{
    char password[64] = "";
    MemHandle form = ws ? wsGetDocument(ws) : 0;
    int16_t f[2] = {1, (int16_t)(form && fmGetPassword(form, password) > 0 && password[0] ? 1 : 0)};
    apply(popup, f, 2);
}

void appInitLabelMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    int16_t f[3] = {};
    if (ws && (in.mode == TM_SELECT || in.mode == TM_CREATE)) {
        f[0] = f[1] = 1;
        uint16_t style = 0;
        uint32_t corner = 0;
        if (in.object && in.type == 138 && txGetLabelFrame(in.object, &style, &corner))
            f[2] = (style & 0xFF) == 3 ? 1 : 0;
    }
    apply(popup, f, 3);
}

void appInitBitmapMenu(HMENU popup)
{
    HWND ws = appGetActiveWorkspace();
    MemHandle object = ws && IsWindow(ws) ? wsGetCurrentObject(ws) : 0;
    const bool andMode = object && imgRopFromFlags(obGetFlags(object)) == SRCAND;
    winCheckMenuItem(popup, 510, !andMode);
    winCheckMenuItem(popup, 511, andMode);
}

void appInitScrollStyleMenu(HMENU popup, HWND ws)
{
    for (UINT id = 1226; id <= 1228; ++id)
        winCheckMenuItem(popup, id, false);
    winCheckMenuItem(popup, ws && wsGetScrollStyle(ws) > 0 ? 1228 : 1226, true);
}

void appInitTextOptionMenu(HMENU popup, HWND ws)
{
    const MenuInputs in = inputsOf(ws);
    TextHeader h = {};
    const bool text = textHeaderOf(in.object, &h);
    winCheckMenuItem(popup, 475, text && h.bkMode == 2);
    winCheckMenuItem(popup, 491, text && (h.flags & TXF_WRAP) != 0);
    winCheckMenuItem(popup, 474, text && (h.frameStyle & 1) != 0);
    if (!text)
        return;
    const bool vertical = (h.flags & TXF_VERTICAL) != 0 || in.type == -40;
    if (appGetMenuLanguageId() == 2) {
        // Traditional Chinese: "Convert to Horizontal" and "Convert to Vertical".
        static const char16_t kHorizontal[] = u"\u8F49\u63DB\u70BA\u6A6B\u6392(&C)";
        static const char16_t kVertical[] = u"\u8F49\u63DB\u70BA\u76F4\u6392(&C)";
        ModifyMenuW(popup, 2226, MF_BYCOMMAND | MF_STRING, 2226,
                    (LPCWSTR)(vertical ? kHorizontal : kVertical));
    } else {
        renameItem(popup, 2226, vertical ? "&Convert to Horizontal" : "&Convert to Vertical");
    }
}

void appInitColorItems(HMENU popup, HWND ws)
{
    // The six hatch items draw their own picture (the object commands
    // measure and draw them); made so the first time the pop-up opens.
    for (UINT id = 535; id <= 540; ++id) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (GetMenuItemInfoA(popup, id, FALSE, &info) && !(info.fType & MFT_OWNERDRAW))
            ModifyMenuA(popup, id, MF_BYCOMMAND | MF_OWNERDRAW, id, (LPCSTR)(UINT_PTR)id);
    }
    const MenuInputs in = inputsOf(ws);
    uint8_t hatch = 0;
    bool known = false;
    MemHandle source = in.object;
    if (source && obGetType(source) == 500)
        source = obGetFirstMember(source);
    if (source && obGetFillKind(source) == 4) {
        MemLock<ObjectRecord> rec(source);
        if (rec) {
            hatch = rec->hatch;
            known = true;
        }
    }
    if (!known && ws)
        known = pgGetProp(pvGetCurrentPage(ws), 58, &hatch) != 0;
    const int index = known ? filHatchStyle(hatch) : -1;
    for (int i = 0; i <= 5; ++i)
        winCheckMenuItem(popup, (UINT)(535 + i), i == index);
}

void appInitSearchMenu(HMENU popup, HWND ws)
{
    MemHandle form = ws ? wsGetDocument(ws) : 0;
    uint32_t links = 0;
    if (form) {
        FmLock r(form);
        if (r)
            links = r->resourceWord;
    }
    const int16_t link = links ? 1 : 0;
    int16_t f[3] = {(int16_t)(form ? 1 : 0), link, link};
    apply(popup, f, 3);
}

// The pop-ups of the editors that keep their own rules: node editing's
// Edit and Attribute menus, and the table editor's pop-ups. TRUE when the
// pop-up was theirs.
static bool editorRule(HWND ws, uint16_t mode, UINT first, HMENU popup)
{
    if (mode >= TM_NODE && mode <= TM_NODE_42) {
        if (first == 200) {
            neSetEditMenu(ws, popup);
            return true;
        }
        if (first == 501) {
            apply(popup, nullptr, 0);
            return true;
        }
        return false;
    }
    if (mode == TM_TEXT) {
        switch (first) {
        case 200: appInitEditMenu(ws, popup); return true;
        case 460:
            appInitTextMenuForEditor(ws, popup);
            greyWaiting(popup, teCommandWaits);
            return true;
        case 487: appInitCaseMenuForEditor(ws, popup); return true;
        case 464: appInitParagraphMenuForEditor(ws, popup); return true;
        default: return false;
        }
    }
    if (mode == TM_TABLE && (first == 200 || first == 460 || first == 464)) {
        tbInitMenuPopup(ws, popup);
        return true;
    }
    return false;
}

// The rule of the pop-up; false when an editor's own rule set it (the
// editor takes those commands itself).
static bool initByRule(HWND frame, HMENU popup)
{
    // A face or size typed in the message bar's boxes is sent on before the
    // menu works on the font.
    if (mbFocusIsInFontBoxes())
        SetFocus(frame);
    const UINT first = GetMenuItemID(popup, 0);
    HWND ws = appGetActiveWorkspace();
    if (ws && !IsWindow(ws))
        ws = nullptr;
    if (first == 607) {
        appInitToolWindowsMenu(frame, popup);
        return true;
    }
    if (first == 1226) {
        appInitScrollStyleMenu(popup, ws);
        return true;
    }
    if (first == 2000) {
        appInitWindowMenu(frame, popup);
        return true;
    }
    if (!usable(ws)) {
        switch (first) {
        case 522: appInitLabelMenu(popup, nullptr); break;
        case 601: appInitPageMenu(popup, ws); break;
        case 608: appCheckSnapToRulers(ws, popup); break;
        case 100: appInitFileMenu(frame, popup, ws); break;
        case 501: case 403: case 460: case 464: case 200: case 631: case 615:
            apply(popup, nullptr, 0);
            break;
        default: break;
        }
        return true;
    }
    const uint16_t mode = wsGetToolMode(ws);
    // A Label and a note being edited have their editors' states for every
    // pop-up.
    if (mode == TM_TEXT_A) {
        teLabelInitMenu(ws, popup);
        return false;
    }
    if (mode == TM_NOTE) {
        epNoteInitMenuPopup(ws, popup);
        return false;
    }
    if (editorRule(ws, mode, first, popup))
        return false;
    switch (first) {
    case 100: appInitFileMenu(frame, popup, ws); break;
    case 181: appInitZoomMenu(popup, ws); break;
    case 200: appInitEditMenuForObjects(popup, ws); break;
    case 215: case 631: case 635: case 665: tbInitMenuPopup(ws, popup); break;
    case 403: appInitModifyMenu(popup, ws); break;
    case 406: appInitOrderMenu(popup, ws); break;
    case 416: appInitDisplayMenu(popup, ws); break;
    case 460: appInitTextMenu(popup, ws); break;
    case 464: appInitParagraphMenu(popup, ws); break;
    case 475: appInitTextOptionMenu(popup, ws); break;
    case 501: appInitAttributeMenu(popup, ws); break;
    case 531: popFillMenuState(ws, popup); break;
    case 535: appInitColorItems(popup, ws); break;
    case 608: appCheckSnapToRulers(ws, popup); break;
    case 730: appInitSearchMenu(popup, ws); break;
    case 503: appInitGradientMenu(popup, ws); break;
    case 510: appInitBitmapMenu(popup); break;
    case 514: appInitNameMenu(popup, ws); break;
    case 517: appInitMakeBitmapMenu(popup, ws); break;
    case 522:
        if (dbIsReportWorkspace(ws))
            tbInitMenuPopup(ws, popup);
        else
            appInitLabelMenu(popup, ws);
        break;
    case 560: appInitGoToMenu(popup, ws); break;
    case 1160: appInitExportMenu(popup, ws); break;
    case 601: appInitPageMenu(popup, ws); break;
    case 611: appInitPasswordMenu(popup, ws); break;
    default: break;
    }
    return true;
}

void appInitMenuPopup(HWND frame, HMENU popup)
{
    if (!popup || GetMenuItemCount(popup) < 1)
        return;
    if (initByRule(frame, popup))
        greyWaiting(popup, appCommandWaits);
}

const char *appMenuLanguageResource(int command, int *languageId)
{
    struct Entry {
        int command;
        const char *name;
        int id;
    };
    static const Entry kTable[] = {
        {1919, nullptr, 1}, {1922, nullptr, 1}, {1920, "QM_TAIWAN", 2},
        {1921, "QM_CHINESE_SIMPLIFIED", 3}, {1923, "QM_JAPANESE", 4}, {1924, "QM_KOREAN", 5},
    };
    for (const Entry &e : kTable)
        if (e.command == command) {
            if (languageId)
                *languageId = e.id;
            return e.name ? e.name : APP_ENGLISH_MENU;
        }
    return nullptr;
}

BOOL appSetMenuLanguage(HWND frame, int command)
{
    int id = 0;
    const char *name = appMenuLanguageResource(command, &id);
    if (!name)
        return FALSE;
    HMENU menu = LoadMenuA((HINSTANCE)GetWindowLongPtrA(frame, GWLP_HINSTANCE), name);
    if (!menu)
        return FALSE;
    HMENU old = GetMenu(frame);
    appSetFrameMenu(frame, menu);
    // The report switch must go back to this menu, not to the one destroyed.
    appSetNormalMenu(menu);
    if (old && old != menu)
        DestroyMenu(old);
    setPutString("MenuLanguage", name);
    setPutNumber("MenuLanguage_id", (DWORD)id);
    appSetMenuLanguageId(id);
    return TRUE;
}

char *appGetMenuLanguageName(char *buffer)
{
    return (setGetString("MenuLanguage", buffer) > 0 && buffer[0]) ? buffer : nullptr;
}
