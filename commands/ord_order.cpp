// The order of the page's top-level objects.
#include "commands/ord_order.h"
#include "commands/ws_objects.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

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
    // Objects of the list that the snapshot does not name stay, on top.
    std::vector<MemHandle> now;
    obCollectList(wsGetFirstObject(ws), now);
    wsSetFirstObject(ws, 0);
    std::vector<MemHandle> placed;
    for (uint32_t h : handles)
        if (h && utIsLiveHandle(h) && std::find(now.begin(), now.end(), h) != now.end() &&
            std::find(placed.begin(), placed.end(), h) == placed.end()) {
            wsAppendObject(ws, h);
            placed.push_back(h);
        }
    for (MemHandle h : now)
        if (std::find(placed.begin(), placed.end(), h) == placed.end())
            wsAppendObject(ws, h);
}

void ordRelinkInOrder(HWND ws, const MemHandle *first, size_t n)
{
    std::vector<MemHandle> list(first, first + n);
    std::vector<MemHandle> now;
    obCollectList(wsGetFirstObject(ws), now);
    for (MemHandle h : now)
        if (std::find(list.begin(), list.end(), h) == list.end())
            list.push_back(h);
    for (size_t i = 0; i < list.size(); ++i) {
        obSetPrev(list[i], i ? list[i - 1] : 0);
        obSetNext(list[i], i + 1 < list.size() ? list[i + 1] : 0);
        obInvalidate(ws, list[i]);
    }
    wsSetFirstObject(ws, list.empty() ? 0 : list[0]);
}
