// The multiple selection's undo blocks.
#include "commands/ms_merge.h"
#include "commands/ep_select.h"
#include "commands/ms_select.h"
#include "commands/ord_order.h"
#include "commands/ws_objects.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/rc_list.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "views/ws_record.h"
#include <string.h>
#include <stdint.h>
#include <utility>
#include <algorithm>
#include <vector>

namespace {

bool readBlock(MemHandle block, MergeUndo *out)
{
    MemLock<uint8_t> p(block);
    if (!p || utHandleSize(block) < sizeof(MergeUndo))
        return false;
    memcpy(out, p.get(), sizeof *out);
    return true;
}

std::vector<MemHandle> handlesOf(MemHandle h, uint32_t count)
{
    std::vector<MemHandle> out;
    uint32_t n = std::min<uint32_t>(count, utHandleSize(h) / 4);
    MemLock<uint8_t> p(h);
    for (uint32_t i = 0; p && i < n; ++i)
        out.push_back(utGetAt<MemHandle>(p.get(), 4 * i));
    return out;
}

}  // namespace

MemHandle msMakeMergeUndo(MemHandle merged, MemHandle order, uint32_t orderCount,
                          MemHandle selection, int16_t selectionCount)
{
    MergeUndo m = {};
    m.size = sizeof m;
    m.merged = merged;
    m.order = order;
    m.orderCount = orderCount;
    m.selection = selection;
    m.selectionCount = selectionCount;
    return utHandleFromBytes(&m, sizeof m);
}

void msReleaseMergeUndo(MemHandle block)
{
    MergeUndo m;
    if (readBlock(block, &m)) {
        for (MemHandle h : handlesOf(m.selection, (uint32_t)std::max<int16_t>(m.selectionCount, 0)))
            if (utIsLiveHandle(h))
                obFreeTree(h);
        utFreeHandle(m.selection);
        utFreeHandle(m.order);
    }
    utFreeHandle(block);
}

MemHandle msUndoMerge(HWND ws, MemHandle block)
{
    MergeUndo m;
    if (!readBlock(block, &m)) {
        utFreeHandle(block);
        return 0;
    }
    std::vector<MemHandle> order = handlesOf(m.order, m.orderCount);
    std::vector<MemHandle> texts =
        handlesOf(m.selection, (uint32_t)std::max<int16_t>(m.selectionCount, 0));
    // The merged object leaves the page; the saved order comes back.
    if (wsPageHasObject(ws, m.merged)) {
        obInvalidate(ws, m.merged);
        wsDeleteObject(ws, m.merged);
    }
    std::vector<MemHandle> list;
    for (MemHandle h : order)
        if (h && utIsLiveHandle(h) && std::find(list.begin(), list.end(), h) == list.end())
            list.push_back(h);
    ordRelinkInOrder(ws, list.data(), list.size());
    // The saved text objects are the page's again: only the arrays go.
    utFreeHandle(m.selection);
    utFreeHandle(m.order);
    utFreeHandle(block);
    MemHandle first = texts.empty() ? 0 : texts[0];
    epSelectObject(ws, first);
    return first;
}

void msUndoAlign(HWND ws, MemHandle moves)
{
    std::vector<MemHandle> moved = handlesOf(moves, utHandleSize(moves) / 4);
    std::vector<MemHandle> list((size_t)std::max(msGetGathered(ws, nullptr, 0), 0));
    msGetGathered(ws, list.data(), (int)list.size());
    for (size_t i = 0; i < list.size() && 2 * i + 1 < moved.size(); ++i) {
        obInvalidate(ws, list[i]);
        obMoveBy(list[i], -(int32_t)moved[2 * i], -(int32_t)moved[2 * i + 1]);
        obInvalidate(ws, list[i]);
    }
    wsMarkModified(ws);
}

void msFollowMovedObject(MemHandle block, MemHandle old, MemHandle now)
{
    MergeUndo m;
    if (!old || !readBlock(block, &m))
        return;
    if (m.merged == old) {
        m.merged = now;
        MemLock<uint8_t> p(block);
        memcpy(p.get(), &m, sizeof m);
    }
    const std::pair<MemHandle, uint32_t> arrays[2] = {
        {m.order, m.orderCount},
        {m.selection, (uint32_t)std::max<int16_t>(m.selectionCount, 0)}};
    for (const auto &a : arrays)
        rcArrayReplaceHandle(a.first, 0, a.second, old, now);
}
