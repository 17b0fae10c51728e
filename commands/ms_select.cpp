// Multiple selection, the way back to select mode and the text member of a
// group.
#include "commands/ms_select.h"
#include "commands/ms_merge.h"
#include "commands/ord_order.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "commands/ep_select.h"
#include "model/setup_record.h"
#include "controls/maintools.h"
#include "textedit/te_session.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_select_mode.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "text/tx_flow.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/lay_layers.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_menu.h"
#include "support/win_mouse.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

const WORD kCmdMergeText = 499;
const WORD kCmdEditText = 700;
const WORD kCmdEndGroupText = 704;
const uint16_t kCmdEdit = 401;
const uint16_t kCmdRotate = 217;
const char kMergeNeedsText[] = "Must be all text object in order to merge.";

// The selection list: a block of u32 object handles and their count.
MemHandle g_list = 0;
int16_t g_count = 0;

std::vector<MemHandle> listed()
{
    std::vector<MemHandle> out;
    MemLock<uint8_t> p(g_list);
    if (!p)
        return out;
    const uint32_t n = std::min<uint32_t>((uint32_t)std::max<int16_t>(g_count, 0),
                                          utHandleSize(g_list) / 4);
    out.reserve(n);
    for (uint32_t i = 0; i < n; ++i)
        out.push_back(utGetAt<uint32_t>(p.get(), 4 * i));
    return out;
}

// Replaces the list; FALSE (and the list empty) when memory fails.
bool setListed(const std::vector<MemHandle> &list)
{
    utFreeHandle(g_list);
    g_list = 0;
    g_count = 0;
    if (list.empty())
        return true;
    const size_t n = std::min<size_t>(list.size(), INT16_MAX);
    g_list = utHandleFromBytes(list.data(), (uint32_t)(n * sizeof(MemHandle)));
    if (!g_list)
        return false;
    g_count = (int16_t)n;
    return true;
}

// Hands the list's handle over (the caller owns it); the list is empty.
MemHandle takeListed(int16_t *count)
{
    MemHandle h = g_list;
    *count = g_count;
    g_list = 0;
    g_count = 0;
    return h;
}

// Only objects still in the page's list count: a listed object that left
// the page (freed or moved elsewhere) is never used again.
std::vector<MemHandle> listedOnPage(HWND ws)
{
    std::vector<MemHandle> page, out;
    obCollectList(wsGetFirstObject(ws), page);
    std::unordered_set<MemHandle> on(page.begin(), page.end());
    for (MemHandle h : listed())
        if (on.count(h))
            out.push_back(h);
    return out;
}

// Marks of some objects on the workspace's own DC.
void drawMarks(HWND ws, const std::vector<MemHandle> &objects)
{
    if (objects.empty())
        return;
    wsApplyViewMapping(ws);
    HDC dc = wsGetDC(ws);
    if (!dc)
        return;
    for (MemHandle h : objects)
        msDrawMark(dc, h);
    ReleaseDC(ws, dc);
}

std::vector<MemHandle> objectsInRect(MemHandle first, const RECT *rect)
{
    std::vector<MemHandle> list, in;
    if (!rect)
        return in;
    obCollectList(first, list);
    for (MemHandle h : list) {
        if (!epIsEditable(nullptr, h))
            continue;
        RECT box;
        obGetRect(h, &box);
        if (box.left >= rect->left && box.right <= rect->right && box.top >= rect->top &&
            box.bottom <= rect->bottom)
            in.push_back(h);
    }
    return in;
}

void onPress(HWND ws, LPARAM lParam)
{
    wsApplyViewMapping(ws);
    POINT pt;
    dmMsgPointToLog(lParam, &pt);
    switch (winWaitClick(ws, lParam)) {
    case WIN_PRESS_CLICK: {
        MemHandle found = epHitUnlocked(ws, wsGetCurrentObject(ws), pt);
        if (!found)
            return;
        msToggle(found);
        // The object's mark drawn once more: shown when added, gone when
        // taken out.
        drawMarks(ws, {found});
        return;
    }
    case WIN_PRESS_DOUBLE:
        msEndToChain(ws);
        return;
    default:
        return;
    }
}

// The right button in mode 4: the merge menu over two or more texts.
void onRightButtonUp(HWND ws, LPARAM lParam)
{
    std::vector<MemHandle> list = listedOnPage(ws);
    if (list.size() < 2)
        return;
    for (MemHandle h : list)
        if (obGetType(h) != OBT_TEXT)
            return;
    WinMenuTableEntry item = {kCmdMergeText, "Merge Text Objects"};
    winTrackMenuTable(ws, lParam, &item, 1);
}

RECT unionOf(const std::vector<MemHandle> &objects)
{
    RECT u = {0, 0, 0, 0};
    bool first = true;
    for (MemHandle h : objects) {
        RECT r;
        obGetRect(h, &r);
        if (first)
            u = r;
        else
            geoUnionRect(&u, &u, &r);
        first = false;
    }
    return u;
}

// The end record of the text editor: the committed object at offset 6.
MemHandle endRecordObject(MemHandle record)
{
    MemLock<uint8_t> p(record);
    if (!p || utHandleSize(record) < 10)
        return 0;
    return utGetAt<uint32_t>(p.get(), 6);
}

}  // namespace

// ---- the modes ---------------------------------------------------------------------------------

int cmdEnterMultiSelect(HWND ws, int command)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    udDiscard(ws);
    wsSendLeaveMode(ws, 0);
    blReleaseToolList();
    if (!wsEnterToolMode(ws, TM_MULTISELECT, MultiSelToolWndProc, (uint16_t)command, 0))
        return 0;
    setListed({});
    return 1;
}

int cmdBackToSelect(HWND ws)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    udDiscard(ws);
    const uint16_t left = wsGetToolMode(ws);
    MemHandle object = wsGetCurrentObject(ws);
    wsSendLeaveMode(ws, 1);
    if (setGetStayInDrawMode() && left == TM_CREATE)
        object = wsGetLastObject(ws);
    else if (object && !wsPageHasObject(ws, object))
        object = 0;
    epEnterSelectMode(ws, object);
    return 1;
}

LRESULT CALLBACK MultiSelToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        if (wsGetToolMode(ws) != TM_MULTISELECT)
            break;
        setListed({});
        blSelectToolButton((uint16_t)wParam);
        blEnableToolButton(kCmdEdit, FALSE);
        blEnableToolButton(kCmdRotate, FALSE);
        return 0;
    case WS_MSG_LEAVE_MODE:
        msInvalidateAll(ws);
        setListed({});
        wsLeaveToolMode(ws, FALSE);
        if (LOWORD(lParam))
            epSelectObject(ws, 0);
        else
            epEnterSelectMode(ws, 0);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(ws);
        onPress(ws, lParam);
        return 0;
    case WM_RBUTTONUP:
        onRightButtonUp(ws, lParam);
        return 0;
    default:
        break;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

// ---- the selection list ------------------------------------------------------------------------

int msToggle(MemHandle object)
{
    if (!object)
        return g_count;
    std::vector<MemHandle> list = listed();
    auto at = std::find(list.begin(), list.end(), object);
    if (at == list.end())
        list.push_back(object);
    else
        list.erase(at);
    setListed(list);
    return g_count;
}

int msSelectInRect(MemHandle first, const RECT *rect)
{
    setListed(objectsInRect(first, rect));
    return g_count;
}

int msSelectByLayers(MemHandle first, const uint8_t *layers, int count)
{
    std::vector<MemHandle> page, in;
    obCollectList(first, page);
    for (MemHandle h : page) {
        ObLock r(h);
        if (r && layers && std::find(layers, layers + std::max(count, 0), r->layer) !=
                               layers + std::max(count, 0))
            in.push_back(h);
    }
    setListed(in);
    return g_count;
}

MemHandle msSelectAll(HWND ws)
{
    std::vector<MemHandle> page;
    obCollectList(wsGetFirstObject(ws), page);
    if (!setListed(page))
        return 0;
    return msMakeChain(ws);
}

int cmdSelectAll(HWND ws)
{
    udDiscard(ws);
    epSelectObject(ws, 0);
    MemHandle made = msSelectAll(ws);
    if (!made)
        return 0;
    epSelectObject(ws, made);
    epRefreshObject(ws, made);
    return 1;
}

MemHandle msMakeChain(HWND ws)
{
    std::vector<MemHandle> list = listedOnPage(ws);
    setListed({});
    if (list.size() < 2)
        return list.empty() ? 0 : list[0];
    return msBuildChain(ws, list.data(), (int)list.size());
}

MemHandle msEndToChain(HWND ws)
{
    if (wsGetToolMode(ws) != TM_MULTISELECT)
        return 0;
    MemHandle snapshot = msSnapshotPage(ws);
    std::vector<MemHandle> list = listedOnPage(ws);
    drawMarks(ws, list);
    MemHandle made = msMakeChain(ws);
    wsLeaveToolMode(ws, FALSE);
    if (made)
        obInvalidate(ws, made);
    epEnterSelectMode(ws, made);
    if (made && snapshot)
        udRecord(ws, made, snapshot, UD_CHAIN, 0);
    else
        utFreeHandle(snapshot);
    return made;
}

void msAddHandles(HWND ws, MemHandle array)
{
    if (wsGetToolMode(ws) == TM_MULTISELECT) {
        std::vector<MemHandle> page, handles;
        obCollectList(wsGetFirstObject(ws), page);
        std::unordered_set<MemHandle> on(page.begin(), page.end());
        {
            MemLock<uint8_t> p(array);
            const uint32_t size = p ? utHandleSize(array) : 0;
            for (uint32_t at = 0; at + 4 <= size; at += 4) {
                MemHandle h = utGetAt<uint32_t>(p.get(), at);
                if (!h)
                    break;
                handles.push_back(h);
            }
        }
        // Only top-level objects of the current page: a handle of a member,
        // of another page or of nothing at all is passed over.
        for (MemHandle h : handles)
            if (on.count(h))
                msToggle(h);
        msInvalidateAll(ws);
    }
    utFreeHandle(array);
}

int msGetGathered(HWND ws, MemHandle *objects, int capacity)
{
    std::vector<MemHandle> list = listedOnPage(ws);
    for (int i = 0; objects && i < capacity && i < (int)list.size(); ++i)
        objects[i] = list[i];
    return (int)list.size();
}

void msResetSelection() { setListed({}); }

// ---- the rubber band of select mode ----------------------------------------------------------

int msHasObjectsInRect(MemHandle first, const RECT *rect)
{
    return (int)objectsInRect(first, rect).size();
}

MemHandle msFirstObjectInRect(MemHandle first, const RECT *rect)
{
    std::vector<MemHandle> in = objectsInRect(first, rect);
    return in.empty() ? 0 : in[0];
}

MemHandle msBuildSelection(HWND ws, const RECT *rect)
{
    if (msSelectInRect(wsGetFirstObject(ws), rect) < 2) {
        setListed({});
        return 0;
    }
    return msMakeChain(ws);
}

MemHandle msBuildChain(HWND ws, const MemHandle *objects, int n)
{
    if (!objects || n < 2)
        return 0;
    std::unordered_set<MemHandle> wanted(objects, objects + n);
    std::vector<MemHandle> page, members, rest;
    obCollectList(wsGetFirstObject(ws), page);
    // The members in page order (back to front); the chain takes the
    // topmost member's place: after the nearest object below it that is
    // not a member.
    MemHandle after = 0, lastRest = 0;
    for (MemHandle h : page) {
        if (wanted.count(h)) {
            members.push_back(h);
            after = lastRest;
        } else {
            rest.push_back(h);
            lastRest = h;
        }
    }
    if (members.size() < 2)
        return 0;
    MemHandle chain = obNewRecord(kObHeadSize);
    if (!chain)
        return 0;
    {
        ObLock r(chain);
        r->type = OBT_CHAIN;
        r->scaleX = r->scaleY = kObScaleOne;
    }
    // Everyone that holds on to a member as a top-level object lets go.
    for (MemHandle h : members)
        SendMessageA(ws, WM_COMMAND, WS_CMD_OBJECT_UNLINKED, (LPARAM)h);
    // The page's list without the members, the chain in the topmost
    // member's place; the links written in one pass.
    std::vector<MemHandle> list;
    list.reserve(rest.size() + 1);
    if (!after)
        list.push_back(chain);
    for (MemHandle h : rest) {
        list.push_back(h);
        if (h == after)
            list.push_back(chain);
    }
    for (MemHandle h : members) {
        obSetPrev(h, 0);
        obSetNext(h, 0);
    }
    obSetMembers(chain, members.data(), (int32_t)members.size());
    RECT box;
    obFitToMembers(chain, &box);
    for (size_t i = 0; i < list.size(); ++i) {
        obSetPrev(list[i], i ? list[i - 1] : 0);
        obSetNext(list[i], i + 1 < list.size() ? list[i + 1] : 0);
    }
    wsSetFirstObject(ws, list[0]);
    wsMarkModified(ws);
    return chain;
}

void msSetUndoObject(HWND ws, MemHandle chain)
{
    UndoRecord u;
    if (wsGetUndo(ws, &u) && u.kind == UD_CHAIN) {
        u.object = chain;
        wsPutUndo(ws, &u);
    }
}

MemHandle msSnapshotPage(HWND ws)
{
    std::vector<MemHandle> page;
    obCollectList(wsGetFirstObject(ws), page);
    page.push_back(0);
    return utHandleFromBytes(page.data(), (uint32_t)(page.size() * sizeof(MemHandle)));
}

MemHandle msRestoreSnapshot(HWND ws, MemHandle snapshot, MemHandle current)
{
    if (!current || obGetType(current) != OBT_CHAIN || !wsPageHasObject(ws, current))
        return current;
    obInvalidate(ws, current);
    wsDissolveGroup(ws, current);
    std::vector<MemHandle> now, order;
    obCollectList(wsGetFirstObject(ws), now);
    std::unordered_set<MemHandle> on(now.begin(), now.end()), placed;
    {
        MemLock<uint8_t> p(snapshot);
        const uint32_t size = p ? utHandleSize(snapshot) : 0;
        for (uint32_t at = 0; at + 4 <= size; at += 4) {
            MemHandle h = utGetAt<uint32_t>(p.get(), at);
            if (!h)
                break;
            if (on.count(h) && placed.insert(h).second)
                order.push_back(h);
        }
    }
    ordRelinkInOrder(ws, order.data(), order.size());
    epClearSelection(ws);
    return 0;
}

// ---- align and merge -----------------------------------------------------------------------

int msAlign(HWND ws, int command)
{
    if (wsGetToolMode(ws) != TM_MULTISELECT || command < 420 || command > 426)
        return 0;
    std::vector<MemHandle> list = listedOnPage(ws);
    if (list.size() < 2)
        return 0;
    udDiscard(ws);
    const RECT u = unionOf(list);
    const int32_t kx = (int32_t)(((int64_t)u.left + u.right) >> 1);
    const int32_t ky = (int32_t)(((int64_t)u.top + u.bottom) >> 1);
    std::vector<int32_t> moves;
    moves.reserve(2 * list.size());
    for (MemHandle h : list) {
        RECT f;
        obGetRect(h, &f);
        const int32_t cx = (int32_t)(((int64_t)f.left + f.right) >> 1);
        const int32_t cy = (int32_t)(((int64_t)f.top + f.bottom) >> 1);
        int32_t dx = 0, dy = 0;
        switch (command) {
        case 420: dx = u.left - f.left; break;
        case 421: dx = u.right - f.right; break;
        case 422: dy = u.top - f.top; break;
        case 423: dy = u.bottom - f.bottom; break;
        case 424: dx = kx - cx; break;
        case 425: dy = ky - cy; break;
        default: dx = kx - cx; dy = ky - cy; break;
        }
        obInvalidate(ws, h);
        obMoveBy(h, dx, dy);
        obInvalidate(ws, h);
        moves.push_back(dx);
        moves.push_back(dy);
    }
    MemHandle data = utHandleFromBytes(moves.data(), (uint32_t)(moves.size() * sizeof(int32_t)));
    if (data)
        udRecord(ws, 0, data, UD_PROPERTY, UD_SUB_MEMBER_MOVES);
    wsMarkModified(ws);
    return 1;
}

int cmdMergeText(HWND ws)
{
    std::vector<MemHandle> list = listedOnPage(ws);
    if (list.size() < 2)
        return 0;
    for (MemHandle h : list)
        if (obGetType(h) != OBT_TEXT) {
            utMessageBox(ws, kMergeNeedsText, MB_ICONEXCLAMATION);
            return 0;
        }
    udDiscard(ws);
    obSortReadingOrder(list.data(), (int32_t)list.size());
    // A copy of the first text with its own extra data: the originals stay
    // whole for the undo.
    MemHandle merged = obCopyTree(list[0], 0);
    if (!merged)
        return 0;
    obSetPrev(merged, 0);
    obSetNext(merged, 0);
    for (size_t i = 1; i < list.size(); ++i) {
        MemHandle grown = txAppendObjectText(merged, list[i], TRUE);
        if (grown)
            merged = grown;
        obInvalidate(ws, list[i]);
    }
    // The page's order now, before any change, and the texts (in reading
    // order) go to the undo block, which owns them from here on.
    int32_t orderCount = 0;
    MemHandle order = obListToArrayN(wsGetFirstObject(ws), &orderCount);
    MemHandle texts = utHandleFromBytes(list.data(), (uint32_t)(list.size() * sizeof(MemHandle)));
    MemHandle block = msMakeMergeUndo(merged, order, (uint32_t)std::max(orderCount, 0), texts,
                                      (int16_t)list.size());
    if (!order || !texts || !block) {
        utFreeHandle(order);
        utFreeHandle(texts);
        utFreeHandle(block);
        obFreeTree(merged);
        return 0;
    }
    wsInsertObjectAfter(ws, list[0], merged);
    for (MemHandle h : list)
        wsUnlinkObject(ws, h);
    setListed({});
    obInvalidate(ws, merged);
    wsSendLeaveMode(ws, 0);
    epSelectObject(ws, merged);
    udRecord(ws, merged, block, UD_MERGE, 0);
    wsMarkModified(ws);
    return 1;
}

// ---- marks ---------------------------------------------------------------------------------

void msDrawMark(HDC dc, MemHandle object)
{
    if (!dc || !object)
        return;
    const int16_t type = obGetType(object);
    POINT pts[4];
    int n = 4;
    if ((type >= OBT_LINE && type <= OBT_VLINE) || type == OBT_ARROW) {
        HandleTable t;
        epCalcHandlesInto(object, &t);
        if (t.count == 2) {
            pts[0] = t.points[0];
            pts[1] = t.points[1];
            n = 2;
        }
    }
    if (n == 4) {
        RECT r;
        obGetRect(object, &r);
        pts[0] = POINT{r.left, r.top};
        pts[1] = POINT{r.right, r.top};
        pts[2] = POINT{r.right, r.bottom};
        pts[3] = POINT{r.left, r.bottom};
    }
    epDrawPointMarks(dc, pts, n, epGetHandleColor(), 0, R2_NOTXORPEN);
}

void msDrawMarks(HWND ws, HDC dc)
{
    if (!dc) {
        drawMarks(ws, listedOnPage(ws));
        return;
    }
    for (MemHandle h : listedOnPage(ws))
        msDrawMark(dc, h);
}

void msInvalidateAll(HWND ws)
{
    for (MemHandle h : listedOnPage(ws))
        obInvalidate(ws, h);
}

// ---- the text member of a group ----------------------------------------------------------------

int cmdEditGroupText(HWND ws, MemHandle object)
{
    const int16_t type = obGetType(object);
    if (type != OBT_GROUP && type != OBT_CHAIN)
        return 0;
    MemHandle member = obGetFirstMember(object);
    while (member && obGetType(member) != OBT_TEXT && obGetType(member) != OBT_LABEL)
        member = obGetNextMember(member);
    if (!member || obGetType(member) != OBT_TEXT)
        return 0;
    if (type == OBT_CHAIN) {
        obInvalidate(ws, object);
        wsDissolveGroup(ws, object);
        epSelectObject(ws, member);
        PostMessageA(ws, WM_COMMAND, kCmdEditText, 0);
        return 1;
    }
    wsSetTracked(ws, object, member, obGetParent(member), obGetNextMember(member));
    epSelectAndReveal(ws, object, wsGetCurrentObject(ws));
    const int result = txCmdEditText(ws, member, kCmdEndGroupText, 0);
    teSetKeepEmpty(TRUE);
    return result;
}

int cmdEndGroupText(HWND ws, MemHandle endRecord)
{
    MemHandle group = (MemHandle)wsGetTrackedValue(ws);
    MemHandle member = 0;
    uint32_t parent = 0, next = 0;
    wsGetTrackedPair(ws, &parent, &next);
    {
        // The kept member by its handle value: it may have been freed, so
        // it is only compared, never read.
        MemHandle kept = wsGetTrackedObject(ws);
        member = kept;
    }
    // The editor's record says what became of the member: 0 when it was
    // deleted. A freed handle is never asked about.
    MemHandle committed = endRecordObject(endRecord);
    utFreeHandle(endRecord);
    wsSetTracked(ws, 0, 0, 0, 0);
    if (!group || !utIsLiveHandle(group) || obGetType(group) != OBT_GROUP)
        return 0;
    obInvalidate(ws, group);
    bool removed = false;
    if (!committed) {
        // Out of the group's member chain: the link that named the member
        // gets its saved next member, whose parent becomes the group.
        if (obGetFirstMember(group) == member && member) {
            obSetFirstMember(group, next);
            removed = true;
        } else if (member) {
            for (MemHandle m = obGetFirstMember(group); m; m = obGetNextMember(m))
                if (obGetNextMember(m) == member) {
                    obSetNextMember(m, next);
                    removed = true;
                    break;
                }
        }
        if (removed && next)
            obSetParent(next, group);
        if (removed && member && utIsLiveHandle(member)) {
            // Still alive but no longer anyone's: freed alone.
            obSetNextMember(member, 0);
            obSetParent(member, 0);
            epForgetObject(ws, member);
            obFreeTree(member);
        }
    } else if (committed != member && member) {
        // The member's record moved while it was edited: the chain names it.
        if (obGetFirstMember(group) == member)
            obSetFirstMember(group, committed);
        else
            for (MemHandle m = obGetFirstMember(group); m; m = obGetNextMember(m))
                if (obGetNextMember(m) == member) {
                    obSetNextMember(m, committed);
                    break;
                }
        obSetParent(committed, group);
    }
    (void)parent;
    if (removed) {
        const int32_t left = obCountMembers(group);
        if (left <= 1)
            wsDissolveGroup(ws, group);
        else {
            RECT box;
            obFitToMembers(group, &box);
            obInvalidate(ws, group);
        }
        epEnterSelectMode(ws, 0);
        wsMarkModified(ws);
        return 1;
    }
    RECT box;
    obFitToMembers(group, &box);
    obInvalidate(ws, group);
    epEnterSelectMode(ws, group);
    return 1;
}

void msChainToGroup(MemHandle chain)
{
    {
        ObLock r(chain);
        if (!r || r->type != OBT_CHAIN)
            return;
        r->type = OBT_GROUP;
    }
    const uint32_t layer = layGetCurrent();
    obTreeSetHeadField(chain, OBH_LAYER, &layer);
}
