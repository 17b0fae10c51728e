// Select mode's mouse handling.
#include "tools/ep_select_mode.h"
#include "app/ws_services.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_outline.h"
#include "tools/ep_resize.h"
#include "tools/ep_rotate.h"
#include "views/ws_relink.h"
#include "tools/ep_selection.h"
#include "tools/ep_standins.h"
#include "support/app_frame_globals.h"
#include "app/app_menu_state.h"
#include "app/mb_msgbar.h"
#include "support/settings_reg.h"
#include "model/setup_record.h"
#include "commands/ep_track.h"
#include "commands/ms_select.h"
#include "commands/pop_menus.h"
#include "commands/cmd_arrange.h"
#include "commands/ud_undo.h"
#include "commands/usr_standins.h"
#include "commands/ws_objects.h"
#include "links/imgf_object.h"
#include "model/lay_layers.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/win_menu.h"
#include "support/win_mouse.h"
#include "support/win_window.h"
#include "views/pv_guide.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_scroll.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <algorithm>
#include <vector>

namespace {

const WORD kCmdEdit = 401;
const WORD kCmdUnlock = 419;
const WORD kCmdSelectArray = 1970;
const WORD kCmdMultiSelect = 402;
const UINT kBitmapMenuOwner = 501;   // the frame menu's pop-up holding this item ...
const UINT kBitmapMenuItem = 510;    // ... holds the bitmap pop-up, which holds this one
const COLORREF kMoveGuideColour = 0xFF8000;
const uint16_t kSizeAllMode = TM_SIZEALL;

HCURSOR resourceCursor(HWND ws, const char *name, LPCSTR fallback)
{
    HCURSOR c = LoadCursorA(winGetInstance(ws), name);
    if (!c)
        c = LoadCursorA(GetModuleHandleA(nullptr), name);
    return c ? c : LoadCursorA(nullptr, fallback);
}

void setCursor(HWND ws, HCURSOR cursor)
{
    winSetClassCursor(ws, cursor);
    SetCursor(cursor);
}

POINT pressPoint(HWND ws, LPARAM lParam)
{
    POINT pt;
    dmMsgPointToLogSnap(lParam, &pt, wsIsSnapToRulers(ws), (int16_t)pgGetGridDivisions(ws));
    return pt;
}

BOOL ctrlHeld(WPARAM wParam)
{
    return (wParam & MK_CONTROL) || GetKeyState(VK_CONTROL) < 0;
}

void drawHandles(HWND ws, MemHandle object)
{
    if (!object)
        return;
    wsApplyViewMapping(ws);
    epDrawHandles(ws, nullptr, object);
}

// The object below `object` in the page's list, or the last one when it is
// the first (or none).
MemHandle below(HWND ws, MemHandle object)
{
    MemHandle prev = object ? obGetPrev(object) : 0;
    return prev ? prev : wsGetLastObject(ws);
}

bool holdsContent(HWND ws, MemHandle object)
{
    return object && obGetType(object) == OBT_USER && usrHasContent(ws, object);
}

bool isLineKind(int16_t t)
{
    return t == OBT_LINE || t == OBT_HLINE || t == OBT_VLINE || t == OBT_ARROW;
}

// ---- the move drag's feedback ------------------------------------------------------------

struct MoveFeedback {
    HWND ws;
    MemHandle object;
    POINT centre;
    BOOL guides;
    RECT page;
};

// The move loop hands its feedback the object handle only: the rest of the
// drag's state lies here for the one drag that runs at a time.
MoveFeedback g_move = {};

int moveFeedback(HDC dc, const TrackPair *pair, LPARAM)
{
    const MoveFeedback *f = &g_move;
    const int32_t dx = pair->x2 - pair->x1, dy = pair->y2 - pair->y1;
    objOutlineAt(dc, f->object, f->centre.x + dx, f->centre.y + dy);
    mbShowObjectPos(pair->x2, pair->y2);
    if (f->guides) {
        GdiObject<HPEN> pen(CreatePen(PS_DOT, 0, kMoveGuideColour));
        GdiSelect sel(dc, pen);
        MoveToEx(dc, f->page.left, pair->y2, nullptr);
        LineTo(dc, f->page.right, pair->y2);
        MoveToEx(dc, pair->x2, f->page.top, nullptr);
        LineTo(dc, pair->x2, f->page.bottom);
    }
    return 1;
}

// ---- the guide drag's feedback ------------------------------------------------------------

struct GuideFeedback {
    int kind;   // 1 vertical, 2 horizontal
    RECT page;
    std::vector<RECT> rects;
};

int guideFeedback(HDC dc, const TrackPair *pair, LPARAM data)
{
    const GuideFeedback *f = reinterpret_cast<const GuideFeedback *>(data);
    const int32_t d = f->kind == 1 ? pair->x2 - pair->x1 : pair->y2 - pair->y1;
    if (f->kind == 1) {
        MoveToEx(dc, pair->x2, f->page.top, nullptr);
        LineTo(dc, pair->x2, f->page.bottom);
    } else {
        MoveToEx(dc, f->page.left, pair->y2, nullptr);
        LineTo(dc, f->page.right, pair->y2);
    }
    for (RECT r : f->rects) {
        if (f->kind == 1)
            geoOffsetRect(&r, d, 0);
        else
            geoOffsetRect(&r, 0, d);
        TrackPair box = {r.left, r.top, r.right, r.bottom};
        trkDrawRect(dc, &box, 0);
    }
    return 1;
}

// The sub-menu of `menu` (searched through its sub-menus) that holds the
// item directly.
HMENU popupHolding(HMENU menu, UINT item)
{
    if (!menu)
        return nullptr;
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (!sub)
            continue;
        const int m = GetMenuItemCount(sub);
        for (int j = 0; j < m; ++j)
            if (GetMenuItemID(sub, j) == item)
                return sub;
        if (HMENU inner = popupHolding(sub, item))
            return inner;
    }
    return nullptr;
}

void bitmapMenu(HWND ws, LPARAM lParam)
{
    HWND frame = appGetFrameWindow();
    HMENU owner = popupHolding(frame ? GetMenu(frame) : nullptr, kBitmapMenuOwner);
    HMENU menu = popupHolding(owner, kBitmapMenuItem);
    if (!menu)
        return;
    appInitBitmapMenu(menu);
    POINT p = {(int16_t)LOWORD(lParam), (int16_t)HIWORD(lParam)};
    ClientToScreen(ws, &p);
    winTrackPopup(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, p.x, p.y, frame ? frame : ws);
}

// Objects of the page whose rectangle has an edge on the guide.
std::vector<MemHandle> objectsOnGuide(HWND ws, int kind, int32_t position)
{
    std::vector<MemHandle> list, on;
    obCollectList(wsGetFirstObject(ws), list);
    for (MemHandle h : list) {
        RECT r;
        obGetRect(h, &r);
        if (kind == 1 ? (r.left == position || r.right == position)
                      : (r.top == position || r.bottom == position))
            on.push_back(h);
    }
    return on;
}

}  // namespace

// ---- hit tests -------------------------------------------------------------------------------

void epHitTolerance(HWND ws, int32_t *tx, int32_t *ty)
{
    int32_t x = dmDevToLogW(2), y = dmDevToLogH(2);
    MemHandle page = pvGetCurrentPage(ws);
    int32_t px = 0, py = 0;
    if (page && pgGetProp(page, 53, &px) && pgGetProp(page, 54, &py)) {
        x = std::max(x, px);
        y = std::max(y, py);
    }
    *tx = x;
    *ty = y;
}

MemHandle epHitWalk(MemHandle start, POINT pt, int32_t tx, int32_t ty, BOOL skipLocked)
{
    if (!start)
        return 0;
    MemHandle last = 0;
    MemHandle h = start;
    // Guards a damaged (cyclic) list: never more visits than live blocks.
    long budget = utLiveHandleCount() + 1;
    do {
        MemHandle prev;
        {
            ObLock r(h);
            if (!r)
                return 0;
            prev = r->prev;
            if (layIsEditable(r->layer) && !layIsHidden(r->layer) &&
                !(skipLocked && (r->flags & OBF_LOCKED))) {
                RECT d;
                obRecGetDrawnRect(r.get(), &d);
                if (d.right - d.left <= tx) {
                    d.left -= tx;
                    d.right += tx;
                }
                if (d.bottom - d.top <= ty) {
                    d.top -= ty;
                    d.bottom += ty;
                }
                if (pt.x >= d.left && pt.x <= d.right && pt.y >= d.top && pt.y <= d.bottom)
                    return h;
            }
        }
        if (!prev) {
            if (!last)
                last = obGetListTail(start);
            prev = last;
        }
        h = prev;
    } while (h != start && --budget > 0);
    return 0;
}

MemHandle epHitObject(HWND ws, MemHandle start, POINT pt)
{
    int32_t tx, ty;
    epHitTolerance(ws, &tx, &ty);
    return epHitWalk(start ? start : wsGetLastObject(ws), pt, tx, ty, FALSE);
}

MemHandle epHitUnlocked(HWND ws, MemHandle start, POINT pt)
{
    int32_t tx, ty;
    epHitTolerance(ws, &tx, &ty);
    return epHitWalk(start ? start : wsGetLastObject(ws), pt, tx, ty, TRUE);
}

int epIsMovable(HWND ws, MemHandle object)
{
    if (!object || obIsLocked(object) || obIsHidden(object))
        return 0;
    uint8_t layer;
    {
        ObLock r(object);
        if (!r)
            return 0;
        layer = r->layer;
    }
    if (!layIsEditable(layer) || layIsHidden(layer))
        return 0;
    return holdsContent(ws, object) ? 0 : 1;
}

// ---- zones -----------------------------------------------------------------------------------

int epMarginZone(HWND ws, POINT pt)
{
    // Margins are dragged only while the view shows them.
    if (!(wsGetViewOptionWord(ws) & 2))
        return EP_ZONE_NONE;
    MemHandle page = pvGetCurrentPage(ws);
    RECT margins;
    if (!page || !pgHasMargins(page) || !pgGetMarginRect(page, &margins))
        return EP_ZONE_NONE;
    int32_t tol = dmDevToLogW(2), p53 = 0;
    if (pgGetProp(page, 53, &p53))
        tol = std::max(tol, p53);
    switch (geoHitRectEdge(&margins, pt, tol)) {
    case GEO_EDGE_LEFT: return EP_ZONE_MARGIN_LEFT;
    case GEO_EDGE_TOP: return EP_ZONE_MARGIN_TOP;
    case GEO_EDGE_RIGHT: return EP_ZONE_MARGIN_RIGHT;
    case GEO_EDGE_BOTTOM: return EP_ZONE_MARGIN_BOTTOM;
    default: return EP_ZONE_NONE;
    }
}

int epGuideZone(HWND ws, POINT pt, int *vertical, int *horizontal)
{
    const uint32_t hit = pvGuideHitTest(ws, &pt);
    const int v = (int16_t)LOWORD(hit), h = (int16_t)HIWORD(hit);
    if (vertical)
        *vertical = v;
    if (horizontal)
        *horizontal = h;
    if (v >= 0)
        return EP_ZONE_GUIDE_V;
    if (h >= 0)
        return EP_ZONE_GUIDE_H;
    return EP_ZONE_NONE;
}

int epSelectZone(HWND ws, POINT pt, HCURSOR *cursor)
{
    HCURSOR arrow = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    *cursor = arrow;
    MemHandle current = wsGetCurrentObject(ws);
    if (current) {
        if (epPtInSmallObject(current, pt))
            return EP_ZONE_NONE;
        if (epRotateHandleHit(current, pt)) {
            *cursor = resourceCursor(ws, "rotate", (LPCSTR)IDC_CROSS);
            return EP_ZONE_ROTATE;
        }
        epCalcHandles(current);
        const int handle = epHandleHit(pt);
        if (handle >= 0) {
            *cursor = nullptr;   // the handle's own cursor
            return handle;
        }
    }
    MemHandle under = epHitObject(ws, 0, pt);
    int zone = epMarginZone(ws, pt);
    if (!under) {
        const int guide = epGuideZone(ws, pt, nullptr, nullptr);
        if (guide != EP_ZONE_NONE)
            zone = guide;
    } else {
        zone = EP_ZONE_NONE;
    }
    switch (zone) {
    case EP_ZONE_MARGIN_LEFT:
    case EP_ZONE_MARGIN_RIGHT:
    case EP_ZONE_GUIDE_V: *cursor = LoadCursorA(nullptr, (LPCSTR)IDC_SIZEWE); break;
    case EP_ZONE_MARGIN_TOP:
    case EP_ZONE_MARGIN_BOTTOM:
    case EP_ZONE_GUIDE_H: *cursor = LoadCursorA(nullptr, (LPCSTR)IDC_SIZENS); break;
    default:
        if (under && under == current && epIsMovable(ws, under))
            *cursor = resourceCursor(ws, "move", (LPCSTR)IDC_SIZEALL);
        break;
    }
    return zone;
}

void epSelectMouseMove(HWND ws, LPARAM lParam)
{
    wsApplyViewMapping(ws);
    HCURSOR cursor;
    const int zone = epSelectZone(ws, pressPoint(ws, lParam), &cursor);
    SetWindowWord(ws, EP_SEL_WORD_ZONE, (WORD)(int16_t)zone);
    if (cursor)
        setCursor(ws, cursor);
    else
        epSetHandleCursor(ws, zone);
}

// ---- the left button ---------------------------------------------------------------------------

void epSelectLButtonDown(HWND ws, WPARAM wParam, LPARAM lParam, int zone)
{
    wsApplyViewMapping(ws);
    const POINT pt = pressPoint(ws, lParam);
    MemHandle current = wsGetCurrentObject(ws);

    if (current && !obIsLocked(current) && zone >= 0 && zone <= EP_ZONE_ROTATE) {
        drawHandles(ws, current);
        int done = 0;
        if (zone == EP_ZONE_ROTATE) {
            RECT old;
            obGetRect(current, &old);
            int16_t angle = 0;
            MemHandle turned = epRotateDrag(ws, current, lParam, nullptr, &angle);
            if (turned) {
                // Kept in its place in the page's list.
                wsRelinkObject(ws, turned);
                epSelectObject(ws, turned);
                dmInflateByHandle(&old);
                dmInvalidateLogRect(ws, &old, TRUE);
                epRefreshObject(ws, turned);
                wsMarkModified(ws);
                done = 1;
            }
        } else if (isLineKind(obGetType(current))) {
            done = epDragEndPoint(ws, current, lParam, zone > 1 ? 1 : zone);
        } else if (obTestNoFlag800(current)) {
            done = epResizeDrag(ws, current, lParam, zone);
        }
        if (!done)
            drawHandles(ws, wsGetCurrentObject(ws));
        return;
    }

    MemHandle under = epHitObject(ws, current ? current : 0, pt);
    if (holdsContent(ws, under)) {
        if (under != current)
            epSwitchSelection(ws, under);
        char home[MAX_PATH] = "";
        setGetHomeDir(home);
        usrOpenContent(ws, under, home);
        return;
    }

    switch (winWaitClick(ws, lParam)) {
    case WIN_PRESS_CLICK: {
        MemHandle found = epHitUnlocked(ws, below(ws, current), pt);
        if (found == current)
            break;
        if (ctrlHeld(wParam) && found) {
            epAddToMultiSelect(ws, found);
            break;
        }
        udDiscard(ws);
        epSwitchSelection(ws, found);
        if (found && obTestFlag100(found))
            PostMessageA(ws, WM_COMMAND, kCmdEdit, lParam);
        break;
    }
    case WIN_PRESS_DOUBLE: {
        MemHandle found = epHitUnlocked(ws, current, pt);
        if (found && found == current && epIsEditable(ws, found)) {
            PostMessageA(ws, WM_COMMAND, kCmdEdit, lParam);
        } else if (found) {
            epSwitchSelection(ws, found);
        } else {
            epSwitchSelection(ws, 0);
            wsClickIntoOtherPage(ws, pt);
        }
        break;
    }
    default: {   // a drag
        MemHandle found = epHitUnlocked(ws, current, pt);
        if (found != current)
            epSwitchSelection(ws, found);
        if (found) {
            epMoveSelection(ws, lParam, found);
        } else if (zone >= EP_ZONE_MARGIN_LEFT && zone <= EP_ZONE_MARGIN_BOTTOM) {
            epDragMargin(ws, lParam);
        } else if (zone == EP_ZONE_GUIDE_V || zone == EP_ZONE_GUIDE_H) {
            epDragGuide(ws, lParam);
        } else {
            RECT band;
            if (!epTrackRubberBand(ws, WM_LBUTTONDOWN, lParam, &band))
                break;
            const int n = msHasObjectsInRect(wsGetFirstObject(ws), &band);
            if (n == 1) {
                epSwitchSelection(ws, msFirstObjectInRect(wsGetFirstObject(ws), &band));
            } else if (n > 1) {
                if (!udRecord(ws, 0, 0, UD_CHAIN, 0))
                    break;
                UdKeepStep keep(ws);
                MemHandle chain = msBuildSelection(ws, &band);
                if (!chain) {
                    udDiscard(ws);
                    break;
                }
                msSetUndoObject(ws, chain);
                epRefreshObject(ws, chain);
                epSwitchSelectionKeep(ws, chain);
            }
        }
        break;
    }
    }
}

void epMoveSelection(HWND ws, LPARAM lParam, MemHandle object)
{
    drawHandles(ws, object);
    const uint16_t mode = wsGetToolMode(ws);
    wsSetToolModeWord(ws, kSizeAllMode);
    wsSetToolCursor(ws);
    MoveFeedback &f = g_move;
    f = {};
    f.ws = ws;
    f.object = object;
    obGetCentre(object, &f.centre);
    f.guides = setGetMoveGuides();
    pgGetPageRect(pvGetCurrentPage(ws), &f.page);
    TrackPair pair = {};
    epTrackMove(ws, lParam, wsIsSnapToRulers(ws), (int16_t)pgGetGridDivisions(ws), &pair,
                moveFeedback, object, kTrkGrey, TRUE);
    wsSetToolModeWord(ws, mode);
    wsSetToolCursor(ws);
    const int32_t dx = pair.x2 - pair.x1, dy = pair.y2 - pair.y1;
    if (!dx && !dy) {
        drawHandles(ws, object);
        return;
    }
    cmdMoveObjectBy(ws, object, dx, dy);
}

void epDragMargin(HWND ws, LPARAM lParam)
{
    MemHandle page = pvGetCurrentPage(ws);
    RECT old;
    if (!page || !pgGetMarginRect(page, &old))
        return;
    RECT now = old;
    wsApplyViewMapping(ws);
    if (!epTrackEdge(ws, lParam, dmDevToLogW(2), &now, TRUE))
        return;
    const int32_t saved[4] = {old.left, old.top, old.right, old.bottom};
    MemHandle copy = utHandleFromBytes(saved, sizeof saved);
    if (copy)
        udRecord(ws, 0, copy, UD_MARGINS, 0);
    pgSetMarginRect(page, &now);
    RECT area;
    geoUnionRect(&area, &old, &now);
    dmInflateByHandle(&area);
    dmInvalidateLogRect(ws, &area, TRUE);
    wsMarkModified(ws);
}

void epDragGuide(HWND ws, LPARAM lParam)
{
    wsApplyViewMapping(ws);
    POINT pt;
    dmMsgPointToLog(lParam, &pt);
    int vertical = -1, horizontal = -1;
    if (epGuideZone(ws, pt, &vertical, &horizontal) == EP_ZONE_NONE)
        return;
    MemHandle table = pvGetCurrentGuides(ws);
    if (!table)
        return;
    const int kind = vertical >= 0 ? 1 : 2;
    const int index = vertical >= 0 ? vertical : horizontal;
    const int32_t position = gdGetPos(table, index, kind);
    GuideFeedback f;
    f.kind = kind;
    pgGetPageRect(pvGetCurrentPage(ws), &f.page);
    std::vector<MemHandle> along;
    if (GetKeyState(VK_SHIFT) < 0)
        along = objectsOnGuide(ws, kind, position);
    for (MemHandle h : along) {
        RECT r;
        obGetRect(h, &r);
        f.rects.push_back(r);
    }
    TrackPair pair = {};
    const int moved = epTrackMouse(ws, WM_LBUTTONDOWN, lParam, wsIsSnapToRulers(ws),
                                   (int16_t)pgGetGridDivisions(ws), &pair, guideFeedback,
                                   (LPARAM)&f, FALSE, kTrkGrey);
    const int32_t d = kind == 1 ? pair.x2 - pair.x1 : pair.y2 - pair.y1;
    if (moved && d) {
        // The guide's own step (kind 23) is replaced by the one that also
        // carries the objects moved along (kind 24).
        pvMoveGuide(ws, index, position + d, kind);
        if (!along.empty()) {
            pvRecordGuideMove(ws, table, (int32_t)along.size(), kind, d, along.data());
            for (MemHandle h : along) {
                epRefreshObject(ws, h);
                obMoveBy(h, kind == 1 ? d : 0, kind == 1 ? 0 : d);
                epRefreshObject(ws, h);
            }
        }
        wsMarkModified(ws);
    }
    utFreeHandle(table);
}

void epAddToMultiSelect(HWND ws, MemHandle object)
{
    MemHandle current = wsGetCurrentObject(ws);
    drawHandles(ws, current);
    std::vector<MemHandle> list;
    if (current && obGetType(current) == OBT_CHAIN) {
        for (MemHandle m = obGetFirstMember(current); m; m = obGetNextMember(m))
            list.push_back(m);
    } else if (current) {
        list.push_back(current);
    }
    list.push_back(object);
    list.push_back(0);
    MemHandle array = utHandleFromBytes(list.data(), (uint32_t)(list.size() * sizeof(MemHandle)));
    cmdEnterMultiSelect(ws, kCmdMultiSelect);
    if (array)
        PostMessageA(ws, WM_COMMAND, kCmdSelectArray, (LPARAM)array);
}

// ---- the right button --------------------------------------------------------------------------

int epObjectMenuKind(MemHandle object)
{
    switch (obGetType(object)) {
    case OBT_TEXT: return obTestFlag4000(object) ? 4 : 0;
    case OBT_ENTRY:
    case OBT_LIST_FIELD: return 8;
    case OBT_TABLE: return 3;
    case OBT_REPORT: return 9;
    case OBT_BITMAP:
    case OBT_IMAGE: return -1;
    case OBT_IMAGE_FILE: return lnkIsDwgLink(object) ? 7 : -1;
    case OBT_EQUATION: return 1;
    case OBT_LABEL: return 2;
    default: return 7;
    }
}

void epSelectRButtonUp(HWND ws, LPARAM lParam)
{
    fldClosePropPane();
    wsApplyViewMapping(ws);
    POINT pt;
    dmMsgPointToLog(lParam, &pt);
    MemHandle current = wsGetCurrentObject(ws);
    RECT box;
    if (current && (obGetRect(current, &box), geoPtInRect(&box, pt))) {
        if (obIsLocked(current)) {
            static const WinMenuTableEntry unlock[] = {{kCmdUnlock, "&Unlock"}};
            winTrackMenuTable(ws, lParam, unlock, 1);
            return;
        }
        int kind = epObjectMenuKind(current);
        if (holdsContent(ws, current))
            kind = 10;
        if (kind < 0)
            bitmapMenu(ws, lParam);
        else
            popObjectMenu(ws, lParam, kind);
        return;
    }
    MemHandle found = epHitObject(ws, below(ws, current), pt);
    if (holdsContent(ws, found)) {
        if (found != current)
            epSwitchSelection(ws, found);
        return;
    }
    if (!found) {
        int vertical = -1, horizontal = -1;
        if (epGuideZone(ws, pt, &vertical, &horizontal) != EP_ZONE_NONE) {
            pvGuideMenu(ws, lParam, vertical, horizontal);
            return;
        }
    }
    if (found && found != current) {
        udDiscard(ws);
        epSwitchSelection(ws, found);
        return;
    }
    if (found)
        return;
    if (GetKeyState(VK_SHIFT) < 0)
        wsTrackScrollMenu(ws, lParam);
    else
        popObjectMenu(ws, lParam, pvGetCurrentPageIndex(ws) == -1 ? 5 : 6);
}
