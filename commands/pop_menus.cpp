// Context and pop-up menus of the workspace and the tool-list buttons.
#include "commands/pop_menus.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_state.h"
#include "support/app_ui_state.h"
#include "commands/ud_undo.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "support/win_menu.h"
#include "support/win_window.h"
#include "text/tx_object.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

const int kAdjusted[POP_OBJECT_MENUS] = {13, 5, 8, 9, 10, 8, 11, 5, 7, 5, 5};
const int kTextResetFont = 6, kTextFlowNext = 8, kTextCutBottom = 9;
const int kFillItems = 5;
const UINT kFirstFillId = 531, kLastFillId = 534;
const int kPageDefaultFill = 44;
const UINT kPageMenuFirst = 601, kNewPageMenuFirst = 615;

// One entry of a table-built menu: the command and its text, or for a
// bitmap menu the name of its bitmap resource.
struct PopEntry {
    uint16_t id;
    const char *text;
};
struct PopTable {
    const PopEntry *entries;
    int count;
    bool bitmaps;
};
const PopEntry kFlags[] = {{416, "&Shadow"}, {417, "&Transparent"}, {419, "&Lock"},
                           {740, "&Hide"},   {418, "&No Print"}};
const PopEntry kZoomInput[] = {{213, "Use &Mouse"}, {214, "Use &Dialog..."}};
const PopEntry kFieldKinds[] = {
    {319, "Entry Field"}, {1391, "Equation Field"}, {1392, "List Field"}, {1902, "Help..."}};
const PopEntry kRightArrows[] = {{1362, "arrowr"}, {1363, "arrowr1"}, {1364, "arrowr2"}};
const PopEntry kDownArrows[] = {{1367, "arrowd"}, {1368, "arrowd1"}, {1369, "arrowd2"}};
const PopEntry kCrossHairs[] = {{1372, "crossh"}, {1373, "crossh1"}, {1374, "crossh2"}};
const PopEntry kTriangles[] = {{1378, "triang0"}, {1379, "triang1"}, {338, "triangr"}};
const PopEntry kRoundRects[] = {{1380, "rrect"}, {1381, "rrect1"}, {1382, "rrect2"}};
const PopTable kTables[POP_TABLE_COUNT] = {
    {kFlags, 5, false},      {kZoomInput, 2, false},  {kFieldKinds, 4, false},
    {kRightArrows, 3, true}, {kDownArrows, 3, true},  {kCrossHairs, 3, true},
    {kTriangles, 3, true},   {kRoundRects, 3, true},
};

HINSTANCE instance() { return GetModuleHandleA(nullptr); }

POINT screenPoint(LPARAM packed)
{
    POINT pt;
    winLParamToPoint(packed, &pt);
    return pt;
}

void trackUtilSubmenu(HWND owner, LPARAM screenPos, int position)
{
    HMENU menu = LoadMenuA(instance(), popMenuName("UTIL_MENU"));
    if (!menu)
        return;
    if (HMENU sub = GetSubMenu(menu, position)) {
        if (position == 1)
            popFillMenuState(appGetActiveWorkspace(), sub);
        const POINT pt = screenPoint(screenPos);
        winTrackPopup(sub, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, owner);
    }
    DestroyMenu(menu);
}

// The kinds drawn in a box, which take a hollow or solid background only.
bool isBoxDrawn(int16_t type)
{
    switch (type) {
    case OBT_ENTRY: case OBT_EQUATION: case OBT_LIST_FIELD: case OBT_LABEL: case OBT_COUNTER:
    case OBT_ENTRY_REF: case OBT_USER: case OBT_CALENDAR: case OBT_BOX: case OBT_BUTTON:
    case OBT_CHECKBOX: case OBT_RADIO: case OBT_GROUP_BOX: case OBT_FIELD51: case OBT_TEXT:
        return true;
    default:
        return false;
    }
}

// The kinds whose fill kind the menu shows checked.
bool showsFillKind(int16_t type)
{
    switch (type) {
    case OBT_ENTRY: case OBT_LIST_FIELD: case OBT_EQUATION: case OBT_TABLE: case OBT_REPORT:
    case OBT_USER: case OBT_COUNTER: case OBT_FIELD51: case OBT_LABEL: case OBT_CALENDAR:
    case OBT_ENTRY_REF:
        return true;
    default:
        return (type >= OBT_XY_PLOT && type <= OBT_PIE_CHART) || obHasFill(type);
    }
}

}  // namespace

int popAdjustedCount(int position)
{
    return position >= 0 && position < POP_OBJECT_MENUS ? kAdjusted[position] : 0;
}

const char *popMenuName(const char *english)
{
    static std::string name;
    name = english ? english : "";
    if (appGetMenuLanguageId() == APP_MENU_LANGUAGE_TAIWAN)
        name += strcmp(english, "UTIL_MENU") == 0 ? "_TAIWAN" : "_Taiwan";
    return name.c_str();
}

void popAdjustObjectMenu(HWND ws, HMENU submenu, int position)
{
    const int count = popAdjustedCount(position);
    if (!submenu || count <= 0)
        return;
    std::vector<int16_t> flags((size_t)count, 1);
    flags[0] = udIsPending(ws) ? 1 : 0;
    if (position == POP_TEXT) {
        MemHandle text = wsGetCurrentObject(ws);
        flags[kTextResetFont] = txHasFontCodes(text) ? 1 : 0;
        RECT frame = {0, 0, 0, 0}, margins = {0, 0, 0, 0};
        obGetRect(text, &frame);
        pgGetMarginRect(pvGetCurrentPage(ws), &margins);
        const int16_t below = frame.bottom > margins.bottom ? 1 : 0;
        flags[kTextFlowNext] = below;
        flags[kTextCutBottom] = below;
    }
    winEnableMenuItems(submenu, flags.data(), count);
}

void popObjectMenu(HWND ws, LPARAM clientPos, int position)
{
    HMENU menu = LoadMenuA(instance(), popMenuName("r_click"));
    if (!menu)
        return;
    if (HMENU sub = GetSubMenu(menu, position)) {
        popAdjustObjectMenu(ws, sub, position);
        POINT pt = screenPoint(clientPos);
        ClientToScreen(ws, &pt);
        winTrackPopup(sub, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, ws);
    }
    DestroyMenu(menu);
}

void popFillMenuState(HWND ws, HMENU menu)
{
    if (!menu)
        return;
    MemHandle object = ws ? wsGetCurrentObject(ws) : 0;
    int16_t type = object ? obGetType(object) : 0;
    if (type == OBT_COMPOSITE) {
        // A composite is filled through its outline shape.
        object = obGetAttached(object);
        type = obGetType(object);
    }
    int16_t flags[kFillItems] = {1, 1, 1, 1, 1};
    if (type && !obHasFill(type) && !obTreeHasClosedShape(object)) {
        const bool box = isBoxDrawn(type), line = obIsLineType(type);
        for (int i = 0; i < kFillItems; ++i)
            flags[i] = (i == 0 && (box || line)) || (i == 1 && box) ? 1 : 0;
    }
    winEnableMenuItems(menu, flags, kFillItems);
    for (UINT id = kFirstFillId; id <= kLastFillId; ++id)
        CheckMenuItem(menu, id, MF_BYCOMMAND | MF_UNCHECKED);
    int kind = -1;
    if (object && showsFillKind(type)) {
        kind = obGetFillKind(object);
    } else if (!object && ws) {
        uint8_t fill = 0;
        if (wsGetPageProp(ws, kPageDefaultFill, &fill))
            kind = fill;
    }
    if (kind >= 0 && kind < kFillItems)
        CheckMenuItem(menu, (UINT)kind, MF_BYPOSITION | MF_CHECKED);
}

void popFillMenu(HWND owner, LPARAM screenPos) { trackUtilSubmenu(owner, screenPos, 1); }
void popScaleMenu(HWND owner, LPARAM screenPos) { trackUtilSubmenu(owner, screenPos, 0); }
void popLayerMenu(HWND owner, LPARAM screenPos) { trackUtilSubmenu(owner, screenPos, 2); }
void popScrollMenu(HWND owner, LPARAM screenPos) { trackUtilSubmenu(owner, screenPos, 3); }

void popPageMenu(HWND owner, LPARAM pos, BOOL clientCoords)
{
    POINT pt = screenPoint(pos);
    if (clientCoords)
        ClientToScreen(owner, &pt);
    HWND ws = appGetActiveWorkspace();
    if (!ws && wsGetRecordHandle(owner))
        ws = owner;
    if (ws && pvGetCurrentPageIndex(ws) == -1) {
        HMENU menu = LoadMenuA(instance(), popMenuName("BASEPAGE"));
        if (!menu)
            return;
        winTrackPopup(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, owner);
        DestroyMenu(menu);
        return;
    }
    HWND frame = appGetFrameWindow();
    HMENU sub = winFindSubMenu(frame ? GetMenu(frame) : nullptr, kPageMenuFirst);
    if (!sub)
        return;
    appInitMenuPopup(frame, sub);
    winTrackPopup(sub, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, owner);
}

void popNewPageMenu(HWND frame, LPARAM screenPos)
{
    HMENU sub = winFindSubMenu(frame ? GetMenu(frame) : nullptr, kNewPageMenuFirst);
    if (!sub)
        return;
    const POINT pt = screenPoint(screenPos);
    winTrackPopup(sub, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, frame);
}

int popTableIds(int table, uint16_t *ids, int capacity)
{
    if (table < 0 || table >= POP_TABLE_COUNT)
        return 0;
    const PopTable &t = kTables[table];
    for (int i = 0; i < t.count && i < capacity; ++i)
        ids[i] = t.entries[i].id;
    return t.count;
}

void popTableMenu(HWND owner, LPARAM screenPos, int table)
{
    if (table < 0 || table >= POP_TABLE_COUNT)
        return;
    const PopTable &t = kTables[table];
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < t.count; ++i) {
        const PopEntry &e = t.entries[i];
        HBITMAP bitmap = t.bitmaps ? LoadBitmapA(instance(), e.text) : nullptr;
        if (bitmap) {
            bitmaps.push_back(bitmap);
            AppendMenuA(menu, MF_BITMAP, e.id, (LPCSTR)bitmap);
        } else {
            AppendMenuA(menu, MF_STRING, e.id, e.text);
        }
    }
    const POINT pt = screenPoint(screenPos);
    winTrackPopup(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, owner);
    DestroyMenu(menu);
    for (HBITMAP b : bitmaps)
        DeleteObject(b);
}
