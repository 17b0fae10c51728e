// Moving by a distance, multiple selection mode and the selection chain.
#include "commands/ms_select.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "tools/ep_factory.h"
#include "tools/ep_handles.h"
#include "tools/ep_select_mode.h"
#include "tools/ep_selection.h"
#include "model/lay_layers.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/win_mouse.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <algorithm>
#include <vector>

namespace {

const WORD kCmdSelectArray = 1970;

// The gathered objects: a block of u32 handles in the tool value.
std::vector<MemHandle> gathered(HWND ws)
{
    std::vector<MemHandle> out;
    MemHandle block = (MemHandle)wsGetToolValue(ws);
    MemLock<uint8_t> p(block);
    if (!p)
        return out;
    const uint32_t size = utHandleSize(block);
    for (uint32_t at = 0; at + 4 <= size; at += 4) {
        MemHandle h = utGetAt<uint32_t>(p.get(), at);
        if (!h)
            break;
        out.push_back(h);
    }
    return out;
}

// Only objects still in the page's list count: a gathered object that left
// the page (freed or moved elsewhere) is never used again.
std::vector<MemHandle> gatheredOnPage(HWND ws)
{
    std::vector<MemHandle> out;
    for (MemHandle h : gathered(ws))
        if (wsPageHasObject(ws, h))
            out.push_back(h);
    return out;
}

void setGathered(HWND ws, std::vector<MemHandle> list)
{
    utFreeHandle((MemHandle)wsGetToolValue(ws));
    wsSetToolValue(ws, 0);
    if (list.empty())
        return;
    list.push_back(0);
    wsSetToolValue(ws, utHandleFromBytes(list.data(), (uint32_t)(list.size() * sizeof(MemHandle))));
}

void drawMarksOf(HDC dc, MemHandle object)
{
    HandleTable t;
    epCalcHandlesInto(object, &t);
    if (t.count)
        epDrawPointMarks(dc, t.points, t.count, epGetHandleColor(), 0, R2_NOTXORPEN);
}

// Marks of some objects on the workspace's own DC.
void drawMarks(HWND ws, const std::vector<MemHandle> &objects)
{
    if (objects.empty())
        return;
    HDC dc = wsGetDC(ws);
    if (!dc)
        return;
    for (MemHandle h : objects)
        drawMarksOf(dc, h);
    ReleaseDC(ws, dc);
}

bool selectable(const ObjectRecord *r)
{
    return !(r->flags & OBF_LOCKED) && layIsEditable(r->layer) && !layIsHidden(r->layer);
}

std::vector<MemHandle> objectsInRect(MemHandle first, const RECT *rect)
{
    std::vector<MemHandle> list, in;
    if (!rect)
        return in;
    obCollectList(first, list);
    for (MemHandle h : list) {
        ObLock r(h);
        if (!r || !selectable(r.get()))
            continue;
        RECT box;
        obRecGetRect(r.get(), &box);
        if (box.left >= rect->left && box.right <= rect->right && box.top >= rect->top &&
            box.bottom <= rect->bottom)
            in.push_back(h);
    }
    return in;
}

// Ends the mode: the gathered objects become the selection, two or more as
// one chain recorded for undo.
void finish(HWND ws)
{
    std::vector<MemHandle> list = gatheredOnPage(ws);
    drawMarks(ws, list);
    setGathered(ws, {});
    wsLeaveToolMode(ws, FALSE);
    if (list.size() < 2) {
        epEnterSelectMode(ws, list.empty() ? 0 : list[0]);
        return;
    }
    if (!udRecord(ws, 0, 0, UD_CHAIN, 0)) {
        epEnterSelectMode(ws, 0);
        return;
    }
    UdKeepStep keep(ws);
    MemHandle chain = msBuildChain(ws, list.data(), (int)list.size());
    if (!chain) {
        udDiscard(ws);
        epEnterSelectMode(ws, 0);
        return;
    }
    msSetUndoObject(ws, chain);
    epEnterSelectMode(ws, chain);
}

void onPress(HWND ws, LPARAM lParam)
{
    wsApplyViewMapping(ws);
    POINT pt;
    dmMsgPointToLog(lParam, &pt);
    switch (winWaitClick(ws, lParam)) {
    case WIN_PRESS_CLICK: {
        MemHandle found = epHitUnlocked(ws, 0, pt);
        if (!found)
            return;
        std::vector<MemHandle> list = gatheredOnPage(ws);
        auto at = std::find(list.begin(), list.end(), found);
        if (at == list.end())
            list.push_back(found);
        else
            list.erase(at);
        // One object's marks drawn once more: shown when added, gone when
        // taken out.
        drawMarks(ws, {found});
        setGathered(ws, list);
        return;
    }
    case WIN_PRESS_DOUBLE:
        finish(ws);
        return;
    default:
        return;
    }
}

}  // namespace

int cmdMoveObjectBy(HWND ws, MemHandle object, int32_t dx, int32_t dy)
{
    if (!ws || !object)
        return 0;
    if (!epIsEditable(ws, object)) {
        epReportNotEditable(ws, "move");
        return 0;
    }
    udRecord(ws, object, 0, UD_MOVED, 0);
    UdKeepStep keep(ws);
    epRefreshObject(ws, object);
    obMoveBy(object, dx, dy);
    epRefreshObject(ws, object);
    if (object == wsGetCurrentObject(ws))
        epCalcHandles(object);
    wsMarkModified(ws);
    return 1;
}

int cmdEnterMultiSelect(HWND ws, int command)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    wsSendLeaveMode(ws, 0);
    if (!wsEnterToolMode(ws, TM_MULTISELECT, MultiSelectToolWndProc, (uint16_t)command, 0))
        return 0;
    setGathered(ws, {});
    return 1;
}

LRESULT CALLBACK MultiSelectToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WS_MSG_ENTER_MODE:
        return 0;
    case WS_MSG_LEAVE_MODE:
        drawMarks(ws, gatheredOnPage(ws));
        setGathered(ws, {});
        wsLeaveToolMode(ws, FALSE);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCmdSelectArray) {
            MemHandle array = (MemHandle)lParam;
            std::vector<MemHandle> list = gatheredOnPage(ws), added;
            {
                MemLock<uint8_t> p(array);
                const uint32_t size = p ? utHandleSize(array) : 0;
                for (uint32_t at = 0; at + 4 <= size; at += 4) {
                    MemHandle h = utGetAt<uint32_t>(p.get(), at);
                    if (!h)
                        break;
                    if (wsPageHasObject(ws, h) &&
                        std::find(list.begin(), list.end(), h) == list.end()) {
                        list.push_back(h);
                        added.push_back(h);
                    }
                }
            }
            utFreeHandle(array);
            wsApplyViewMapping(ws);
            drawMarks(ws, added);
            setGathered(ws, list);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(ws);
        onPress(ws, lParam);
        return 0;
    default:
        break;
    }
    return wsDefProc(ws, msg, wParam, lParam);
}

int msGetGathered(HWND ws, MemHandle *objects, int capacity)
{
    std::vector<MemHandle> list = gatheredOnPage(ws);
    for (int i = 0; i < capacity && i < (int)list.size(); ++i)
        objects[i] = list[i];
    return (int)list.size();
}

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
    std::vector<MemHandle> in = objectsInRect(wsGetFirstObject(ws), rect);
    return msBuildChain(ws, in.data(), (int)in.size());
}

MemHandle msBuildChain(HWND ws, const MemHandle *objects, int n)
{
    if (!objects || n < 2)
        return 0;
    std::vector<MemHandle> page, members;
    obCollectList(wsGetFirstObject(ws), page);
    for (MemHandle h : page)
        if (std::find(objects, objects + n, h) != objects + n)
            members.push_back(h);
    if (members.size() < 2)
        return 0;
    // The chain takes the topmost member's place: after the nearest object
    // below it that is not a member.
    MemHandle after = 0;
    {
        auto top = std::find(page.begin(), page.end(), members.back());
        while (top != page.begin()) {
            --top;
            if (std::find(members.begin(), members.end(), *top) == members.end()) {
                after = *top;
                break;
            }
        }
    }
    for (MemHandle h : members)
        wsUnlinkObject(ws, h);
    MemHandle chain = obNewGroupN(OBT_CHAIN, members.data(), (int32_t)members.size());
    if (!chain) {
        // Put back as they were.
        MemHandle prev = 0;
        for (MemHandle h : page) {
            if (std::find(members.begin(), members.end(), h) != members.end())
                wsInsertObjectAfter(ws, prev, h);
            prev = h;
        }
        return 0;
    }
    wsInsertObjectAfter(ws, after, chain);
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

void msDrawMarks(HWND ws, HDC dc)
{
    if (!dc) {
        drawMarks(ws, gatheredOnPage(ws));
        return;
    }
    for (MemHandle h : gatheredOnPage(ws))
        drawMarksOf(dc, h);
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
