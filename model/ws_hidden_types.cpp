// The hidden types of a view: in the workspace record, or on the window.
#include "model/ws_hidden_types.h"
#include "model/ws_document.h"
#include "support/ut_mem.h"

namespace {

const char kTypesProp[] = "QmHiddenTypes";
const char kCountProp[] = "QmHiddenTypeCount";

// The list and its count, from the record or the window.
MemHandle heldTypes(HWND ws, int32_t *count)
{
    MemHandle types = 0;
    int32_t n = 0;
    const WsRecordSlots *slots = wsGetRecordSlots();
    if (!(slots && slots->getHiddenTypes(ws, &types, &n)) && ws) {
        types = (MemHandle)(uintptr_t)GetPropA(ws, kTypesProp);
        n = (int32_t)(uintptr_t)GetPropA(ws, kCountProp);
    }
    if (count)
        *count = n;
    return types;
}

}  // namespace

void wsSetHiddenTypes(HWND ws, MemHandle types, int32_t count)
{
    if (!ws)
        return;
    const WsRecordSlots *slots = wsGetRecordSlots();
    if (slots && slots->setHiddenTypes(ws, types, count))
        return;
    if (!types || count <= 0) {
        RemovePropA(ws, kTypesProp);
        RemovePropA(ws, kCountProp);
        return;
    }
    SetPropA(ws, kTypesProp, (HANDLE)(uintptr_t)types);
    SetPropA(ws, kCountProp, (HANDLE)(uintptr_t)(uint32_t)count);
}

const uint16_t *wsLockHiddenTypes(HWND ws, int32_t *count)
{
    if (count)
        *count = 0;
    int32_t n = 0;
    MemHandle types = heldTypes(ws, &n);
    if (!types || !utIsLiveHandle(types))
        return nullptr;
    int32_t held = (int32_t)(utHandleSize(types) / sizeof(uint16_t));
    const uint16_t *p = static_cast<const uint16_t *>(utLock(types));
    if (count)
        *count = n < held ? n : held;
    return p;
}

void wsUnlockHiddenTypes(HWND ws)
{
    MemHandle types = heldTypes(ws, nullptr);
    if (types && utIsLiveHandle(types))
        utUnlock(types);
}
