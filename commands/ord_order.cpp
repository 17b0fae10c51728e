// The order of the page's top-level objects.
#include "commands/ord_order.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "tools/ep_selection.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/win_window.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <string.h>
#include <algorithm>
#include <unordered_set>
#include <vector>

namespace {

// Writes the previous and next links of the whole list in the given order
// (the first has no previous, the last no next) and makes the first the
// page's first object.
void relink(HWND ws, const std::vector<MemHandle> &list)
{
    for (size_t i = 0; i < list.size(); ++i) {
        obSetPrev(list[i], i ? list[i - 1] : 0);
        obSetNext(list[i], i + 1 < list.size() ? list[i + 1] : 0);
    }
    wsSetFirstObject(ws, list.empty() ? 0 : list[0]);
}

// Records undo kind 17 with a snapshot of the present order.
void recordOrder(HWND ws, MemHandle object)
{
    MemHandle snapshot = ordTakeListOrder(ws);
    if (snapshot)
        udRecord(ws, object, snapshot, UD_LIST_ORDER, 0);
}

// Moves the object to the head (toFront false) or the end of the list.
int moveToEnd(HWND ws, MemHandle object, bool toFront)
{
    udDiscard(ws);
    if (!object) {
        MessageBeep(0);
        return 0;
    }
    recordOrder(ws, object);
    UdKeepStep keep(ws);
    if (wsPageHasObject(ws, object)) {
        if (!toFront && obGetPrev(object)) {
            wsUnlinkObject(ws, object);
            wsInsertObjectAfter(ws, 0, object);
        } else if (toFront && obGetNext(object)) {
            wsUnlinkObject(ws, object);
            wsAppendObject(ws, object);
        }
        // The unlinking told the selection the object left; it is back.
        if (wsGetCurrentObject(ws) != object)
            epSetSelection(ws, object, TRUE);
    }
    wsMarkModified(ws);
    obRedraw(ws, object);
    return 1;
}

// One step back (backward) or forward in the list.
int moveOneStep(HWND ws, MemHandle object, bool backward)
{
    udDiscard(ws);
    if (!object) {
        MessageBeep(0);
        return 0;
    }
    udRecord(ws, object, backward ? 428 : 427, UD_COMMAND, 0);
    UdKeepStep keep(ws);
    const bool onPage = wsPageHasObject(ws, object) != FALSE;
    MemHandle neighbour = !onPage ? 0 : backward ? obGetPrev(object) : obGetNext(object);
    if (neighbour) {
        MemHandle after = backward ? obGetPrev(neighbour) : neighbour;
        const bool selected = wsGetCurrentObject(ws) == object;
        wsUnlinkObject(ws, object);
        wsInsertObjectAfter(ws, after, object);
        if (selected && wsGetCurrentObject(ws) != object)
            epSetSelection(ws, object, TRUE);
        obInvalidate(ws, neighbour);
        obInvalidate(ws, object);
    }
    wsMarkModified(ws);
    return 1;
}

// The target of a step becomes the selection, scrolled into view.
int stepTo(HWND ws, MemHandle target)
{
    if (!target)
        return 1;
    epSelectAndReveal(ws, target, wsGetCurrentObject(ws));
    return 1;
}

bool stepping(HWND ws)
{
    udDiscard(ws);
    return wsGetToolMode(ws) == TM_SELECT;
}

}  // namespace

MemHandle ordTakeListOrder(HWND ws)
{
    std::vector<MemHandle> list;
    obCollectList(wsGetFirstObject(ws), list);
    std::vector<uint32_t> packet(list.size() + 1);
    packet[0] = (uint32_t)(4 * list.size() + 4);
    for (size_t i = 0; i < list.size(); ++i)
        packet[i + 1] = list[i];
    return utHandleFromBytes(packet.data(), packet[0]);
}

void ordRestoreListOrder(HWND ws, MemHandle snapshot)
{
    uint32_t size = utHandleSize(snapshot);
    std::vector<uint32_t> handles;
    {
        MemLock<uint8_t> p(snapshot);
        if (!p || size < 4)
            return;
        uint32_t bytes = utGetAt<uint32_t>(p.get(), 0);
        bytes = bytes < size ? bytes : size;
        for (uint32_t at = 4; at + 4 <= bytes; at += 4)
            handles.push_back(utGetAt<uint32_t>(p.get(), at));
    }
    // Only objects still in the list are placed, each once; objects of the
    // list that the snapshot does not name stay, on top. The links are
    // written in one pass (appending one by one would walk to the tail for
    // every object).
    std::vector<MemHandle> now;
    obCollectList(wsGetFirstObject(ws), now);
    std::unordered_set<MemHandle> onPage(now.begin(), now.end()), placed;
    std::vector<MemHandle> list;
    list.reserve(now.size());
    for (uint32_t h : handles)
        if (h && onPage.count(h) && placed.insert(h).second)
            list.push_back(h);
    for (MemHandle h : now)
        if (!placed.count(h))
            list.push_back(h);
    relink(ws, list);
}

void ordRelinkInOrder(HWND ws, const MemHandle *first, size_t n)
{
    std::vector<MemHandle> list(first, first + n);
    std::unordered_set<MemHandle> named(list.begin(), list.end());
    std::vector<MemHandle> now;
    obCollectList(wsGetFirstObject(ws), now);
    for (MemHandle h : now)
        if (!named.count(h))
            list.push_back(h);
    relink(ws, list);
    // Every object is repainted: one by one for a few, the whole window
    // at once for many (the same pixels, without an update rectangle
    // computed per object).
    if (list.size() > 64)
        InvalidateRect(ws, nullptr, TRUE);
    else
        for (MemHandle h : list)
            obInvalidate(ws, h);
}

int cmdSendToBack(HWND ws, MemHandle object) { return moveToEnd(ws, object, false); }

int cmdBringToFront(HWND ws, MemHandle object) { return moveToEnd(ws, object, true); }

int cmdSendBackward(HWND ws, MemHandle object) { return moveOneStep(ws, object, true); }

int cmdBringForward(HWND ws, MemHandle object) { return moveOneStep(ws, object, false); }

int cmdOrderByPosition(HWND ws)
{
    udDiscard(ws);
    recordOrder(ws, 0);
    UdKeepStep keep(ws);
    std::vector<MemHandle> list;
    obCollectList(wsGetFirstObject(ws), list);
    if (list.size() < 2)
        return 0;
    obSortReadingOrder(list.data(), (int32_t)list.size());
    relink(ws, list);
    winRedrawNow(ws);
    wsMarkModified(ws);
    return 1;
}

int cmdGoToFirst(HWND ws)
{
    if (!stepping(ws))
        return 0;
    return stepTo(ws, wsGetFirstObject(ws));
}

int cmdGoToLast(HWND ws)
{
    if (!stepping(ws))
        return 0;
    return stepTo(ws, wsGetLastObject(ws));
}

int cmdGoToPrevious(HWND ws, MemHandle object)
{
    if (!stepping(ws))
        return 0;
    MemHandle target = object && wsPageHasObject(ws, object) ? obGetPrev(object) : 0;
    return stepTo(ws, target ? target : wsGetLastObject(ws));
}

int cmdGoToNext(HWND ws, MemHandle object)
{
    if (!stepping(ws))
        return 0;
    MemHandle target = object && wsPageHasObject(ws, object) ? obGetNext(object) : 0;
    return stepTo(ws, target ? target : wsGetFirstObject(ws));
}
