// The view's hidden object types.
#include "views/ws_hidden_types.h"
#include "support/ut_mem.h"

namespace {

const char kTypesProp[] = "QmHiddenTypes";
const char kCountProp[] = "QmHiddenTypeCount";

MemHandle typesOf(HWND workspace)
{
    return workspace ? (MemHandle)(uintptr_t)GetPropA(workspace, kTypesProp) : 0;
}

}  // namespace

void wsSetHiddenTypes(HWND workspace, MemHandle types, int32_t count)
{
    if (!workspace)
        return;
    if (!types || count <= 0) {
        RemovePropA(workspace, kTypesProp);
        RemovePropA(workspace, kCountProp);
        return;
    }
    SetPropA(workspace, kTypesProp, (HANDLE)(uintptr_t)types);
    SetPropA(workspace, kCountProp, (HANDLE)(uintptr_t)(uint32_t)count);
}

const uint16_t *wsLockHiddenTypes(HWND workspace, int32_t *count)
{
    if (count)
        *count = 0;
    MemHandle types = typesOf(workspace);
    if (!types || !utIsLiveHandle(types))
        return nullptr;
    int32_t n = (int32_t)(uintptr_t)GetPropA(workspace, kCountProp);
    int32_t held = (int32_t)(utHandleSize(types) / sizeof(uint16_t));
    const uint16_t *p = static_cast<const uint16_t *>(utLock(types));
    if (count)
        *count = n < held ? n : held;
    return p;
}

void wsUnlockHiddenTypes(HWND workspace)
{
    MemHandle types = typesOf(workspace);
    if (types && utIsLiveHandle(types))
        utUnlock(types);
}
