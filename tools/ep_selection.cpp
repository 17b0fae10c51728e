// The selection core and the installation of select mode.
#include "tools/ep_selection.h"
#include "tools/ep_handles.h"
#include "tools/ep_select_mode.h"
#include "tools/ep_standins.h"
#include "views/ws_scroll.h"
#include "app/ws_services.h"
#include "app/app_toolbars.h"
#include "app/mb_msgbar.h"
#include "commands/app_stdbar.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "support/win_menu.h"
#include "support/app_frame_globals.h"
#include "controls/maintools.h"
#include "model/lay_layers.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_record.h"
#include "objects/onm_names.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <algorithm>
#include <vector>

namespace {

const UINT kStatusSelect = 400;       // status string and Select button
const WORD kCmdEdit = 401, kCmdRotate = 217, kCmdGroup = 403, kCmdUngroup = 405;
const UINT kKindItem = 522;           // an item of the kind-dependent pop-up
const UINT kTableItem = 631;          // an item of the table pop-up
const int kNamesField = 104;          // the object-name window's name field

// Kinds the Edit button serves.
const int16_t kEditKinds[] = {2,   4,   5,   6,   7,   8,   11,  12,  13,  14,  15,  17,  18,
                              19,  26,  31,  35,  36,  39,  40,  41,  42,  43,  44,  45,  51,
                              52,  54,  57,  58,  59,  96,  116, 124, 134, 135, 136, 137, 138,
                              199, 210, 297, 402, 411, 412, 414, 491, 492, 500};

// The pop-up of `menu` (searched through its sub-menus) that holds the item
// directly: its parent menu and position there.
bool findPopupHolding(HMENU menu, UINT item, HMENU *parent, int *pos)
{
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub)
            continue;
        const int m = GetMenuItemCount(sub);
        for (int j = 0; j < m; ++j)
            if (GetMenuItemID(sub, j) == item) {
                *parent = menu;
                *pos = i;
                return true;
            }
        if (findPopupHolding(sub, item, parent, pos))
            return true;
    }
    return false;
}

void renamePopupHolding(HWND frame, UINT item, const char *text)
{
    HMENU bar = frame ? GetMenu(frame) : nullptr;
    HMENU parent;
    int pos;
    if (!bar || !findPopupHolding(bar, item, &parent, &pos))
        return;
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char *>(text);
    SetMenuItemInfoA(parent, (UINT)pos, TRUE, &info);
    if (parent == bar)
        winDrawMenuBar(frame);
}

uint8_t layerOf(MemHandle object)
{
    ObLock r(object);
    return r ? r->layer : 0;
}

// The object and (wholeTree) every record below it.
std::vector<MemHandle> forgottenSet(MemHandle object, BOOL wholeTree)
{
    std::vector<MemHandle> set;
    if (wholeTree)
        obCollectTree(object, OB_WALK_ALL | OB_WALK_ROOT_ALONE, set);
    if (std::find(set.begin(), set.end(), object) == set.end())
        set.push_back(object);
    return set;
}

}  // namespace

// ---- the selection ------------------------------------------------------------------------------

void epSetSelection(HWND ws, MemHandle object, BOOL keepUndo)
{
    if (!wsGetRecordHandle(ws))
        return;
    MemHandle old = wsGetCurrentObject(ws);
    if (!keepUndo && object && object != old && !udIsStepKept(ws))
        udDiscard(ws);
    // The temporary chain of a multiple selection ends with the selection.
    // The current object is never a freed handle: every routine that frees
    // an object of the page clears the references to it first
    // (epForgetObject), so nothing here has to look at a dead block.
    if (old && old != object && obGetType(old) == OBT_CHAIN) {
        epRefreshObject(ws, old);
        wsDissolveGroup(ws, old);
    }

    int16_t type = 0;
    uint8_t layer = 0;
    bool store = false;
    if (object) {
        type = obGetType(object);
        layer = layerOf(object);
        char name[40] = {};
        obGetName(object, name);
        if (name[0])
            if (HWND names = onmGetListWindow())
                SetDlgItemTextA(names, kNamesField, name);
        epCalcHandles(object);
        store = true;
    } else {
        MemHandle page = pvGetCurrentPage(ws);
        uint32_t colours[3];
        if (page && pgGetProp(page, 42, colours)) {
            pgGetProp(page, 43, &layer);
            store = true;
        }
    }
    if (store) {
        wsSetCurrentObject(ws, object);
        wsSetCurrentType(ws, type);
        laySetCurrent(layer);
    }

    BOOL cut = FALSE, copy = FALSE, paste = FALSE, undo = FALSE;
    pvGetSelectionCommandState(ws, &cut, &copy, &paste, &undo);
    appSetClipboardButtons(cut, copy, paste);
    appEnableUndoButton(undo);

    HWND frame = appGetFrameWindow();
    popSetItemKindText(frame, type);
    popSetTableItemText(frame, type);

    blEnableToolButton(kCmdEdit, object && epHasEditCommand(type) && epIsEditable(ws, object));
    blEnableToolButton(kCmdRotate, object && obCanRotate(object));
    blEnableToolButton(kCmdGroup, type == OBT_CHAIN);
    blEnableToolButton(kCmdUngroup, type == OBT_GROUP || type == OBT_CHAIN);

    mbUpdateFromSelection();

    if (obIsEntryOrCounter(type) && fldGetPropPane())
        fldUpdatePropPane(ws, object);
    else
        fldClosePropPane();
}

int epSelectObject(HWND ws, MemHandle object)
{
    epSetSelection(ws, object, FALSE);
    return 1;
}

namespace {

void drawHandlesOn(HWND ws, MemHandle object)
{
    if (!object)
        return;
    wsApplyViewMapping(ws);
    epDrawHandles(ws, nullptr, object);
}

void switchSelection(HWND ws, MemHandle object, BOOL keep)
{
    MemHandle current = wsGetCurrentObject(ws);
    if (!current && !object)
        return;
    drawHandlesOn(ws, current);
    epSetSelection(ws, object, keep);
    drawHandlesOn(ws, object);
}

}  // namespace

void epSwitchSelection(HWND ws, MemHandle object) { switchSelection(ws, object, FALSE); }
void epSwitchSelectionKeep(HWND ws, MemHandle object) { switchSelection(ws, object, TRUE); }

void epSelectAndReveal(HWND ws, MemHandle object, MemHandle old)
{
    drawHandlesOn(ws, old);
    epSelectObject(ws, object);
    drawHandlesOn(ws, object);
    if (object)
        wsScrollToObject(ws, object);
}

void epClearCurrent(HWND ws)
{
    wsSetCurrentObject(ws, 0);
    wsSetCurrentType(ws, 0);
}

void epEnterSelectMode(HWND ws, MemHandle object)
{
    blSelectToolButton(0);
    epSelectObject(ws, object);
    wsEnterToolMode(ws, TM_SELECT, SelectToolWndProc, kStatusSelect, 0);
    if (object)
        epRefreshObject(ws, object);
}

LRESULT CALLBACK SelectToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        blSelectToolButton(kStatusSelect);
        SetWindowWord(ws, EP_SEL_WORD_ZONE, (WORD)-1);
        SetWindowWord(ws, EP_SEL_WORD_FOCUS, 0);
        return 0;
    case WS_MSG_LEAVE_MODE:
        drawHandlesOn(ws, wsGetCurrentObject(ws));
        epSelectObject(ws, 0);
        wsLeaveToolMode(ws, FALSE);
        return 0;
    case WM_SETFOCUS:
        SetWindowWord(ws, EP_SEL_WORD_FOCUS, 1);
        break;
    case WM_COMMAND:
        SetWindowWord(ws, EP_SEL_WORD_FOCUS, 0);
        if (LOWORD(wParam) == WS_CMD_BACK_TO_SELECT) {
            epSelectObject(ws, wsGetCurrentObject(ws));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        SetWindowWord(ws, EP_SEL_WORD_FOCUS, 0);
        epSelectMouseMove(ws, lParam);
        break;
    case WM_LBUTTONDOWN: {
        SetFocus(ws);
        if (GetWindowWord(ws, EP_SEL_WORD_FOCUS)) {
            SetWindowWord(ws, EP_SEL_WORD_FOCUS, 0);
            if (HWND frame = appGetFrameWindow())
                UpdateWindow(frame);
        }
        // The zone is taken at the press itself: the view may have scrolled
        // or the selection changed under a pointer that did not move since
        // the word was last set.
        wsApplyViewMapping(ws);
        HCURSOR cursor;
        POINT pt;
        dmMsgPointToLogSnap(lParam, &pt, wsIsSnapToRulers(ws), (int16_t)pgGetGridDivisions(ws));
        const int zone = epSelectZone(ws, pt, &cursor);
        SetWindowWord(ws, EP_SEL_WORD_ZONE, (WORD)(int16_t)zone);
        epSelectLButtonDown(ws, wParam, lParam, zone);
        return 0;
    }
    case WM_RBUTTONUP:
        epSelectRButtonUp(ws, lParam);
        return 0;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

void epRefreshObject(HWND ws, MemHandle object)
{
    if (!ws || !object)
        return;
    if (object != wsGetCurrentObject(ws)) {
        obInvalidate(ws, object);
        return;
    }
    RECT r;
    if (!obGetUpdateRect(object, &r))
        return;
    RECT rot;
    if (obCanRotate(object) && epGetRotateHandle(object, &rot))
        geoUnionRect(&r, &r, &rot);
    wsApplyViewMapping(ws);
    dmInvalidateLogRect(ws, &r, TRUE);
}

int epIsEditable(HWND, MemHandle object)
{
    if (!object)
        return 0;
    const uint8_t layer = layerOf(object);
    return layIsEditable(layer) && !layIsHidden(layer) && !obIsLocked(object) ? 1 : 0;
}

void epReportNotEditable(HWND ws, const char *verb)
{
    char text[256];
    snprintf(text, sizeof text,
             "Can not %s the object because the object is either locked or in a non-editable "
             "layer",
             verb ? verb : "");
    utMessageBox(ws, text, MB_ICONINFORMATION);
}

bool epRefuseNotEditable(HWND ws, MemHandle object, const char *verb)
{
    if (object && !epIsEditable(ws, object)) {
        epReportNotEditable(ws, verb);
        return true;
    }
    return false;
}

BOOL epHasEditCommand(int16_t type)
{
    return std::find(std::begin(kEditKinds), std::end(kEditKinds), type) != std::end(kEditKinds);
}

void popSetItemKindText(HWND frame, int16_t type)
{
    const char *text = "&Label";
    if (type == OBT_TABLE || type == OBT_REPORT)
        text = "&Cell";
    else if (type == OBT_NOTE)
        text = "&Note";
    renamePopupHolding(frame, kKindItem, text);
}

void popSetTableItemText(HWND frame, int16_t type)
{
    renamePopupHolding(frame, kTableItem, type == OBT_REPORT ? "Report &Table" : "&Table");
}

// ---- forgetting freed objects ----------------------------------------------------------------

void epForgetObject(HWND ws, MemHandle object, BOOL wholeTree)
{
    if (!object || !wsGetRecordHandle(ws))
        return;
    const std::vector<MemHandle> gone = forgottenSet(object, wholeTree);
    auto isGone = [&](MemHandle h) {
        return h && std::find(gone.begin(), gone.end(), h) != gone.end();
    };
    if (isGone(wsGetCurrentObject(ws)))
        epClearCurrent(ws);
    if (isGone(wsGetTrackedObject(ws))) {
        uint32_t a, b;
        wsGetTrackedPair(ws, &a, &b);
        wsSetTracked(ws, wsGetTrackedValue(ws), 0, a, b);
    }
    UndoRecord undo;
    if (wsGetUndo(ws, &undo) && isGone(undo.object))
        udDiscard(ws);
}
