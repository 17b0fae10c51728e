// Layers: the global layer state, its sets and the page states swapped in
// and out of it.
#include "model/lay_layers.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

enum Set { IN_USE = 0, EDIT = 1, HIDDEN = 2 };
const uint32_t kEntrySize[3] = {4, 2, 2};   // in-use entries carry a spare u16

struct Global {
    MemHandle set[3];
    uint16_t count[3];
    uint16_t current;
    BOOL allEditable;
    BOOL allHidden;
};

Global g_layers = {{0, 0, 0}, {0, 0, 0}, 0, TRUE, FALSE};
// The default sets, owned here and reused each time the defaults go in.
MemHandle g_defaults[3] = {0, 0, 0};

MemHandle stateSet(const LayerState *s, int i)
{
    return i == IN_USE ? s->inUse : i == EDIT ? s->edit : s->hidden;
}
uint16_t stateCount(const LayerState *s, int i)
{
    return i == IN_USE ? s->countInUse : i == EDIT ? s->countEdit : s->countHidden;
}

bool isDefaultSet(MemHandle h)
{
    return h && std::find(g_defaults, g_defaults + 3, h) != g_defaults + 3;
}

// The ids of a set, as many as its count says and its block holds.
std::vector<uint16_t> idsOf(MemHandle h, uint16_t count, uint32_t entry)
{
    std::vector<uint16_t> ids;
    uint32_t held = utHandleSize(h) / entry;
    MemLock<uint8_t> p(h);
    if (!p)
        return ids;
    for (uint32_t i = 0; i < count && i < held; ++i) {
        uint16_t id;
        memcpy(&id, p.get() + i * entry, 2);
        ids.push_back(id);
    }
    return ids;
}

int findIn(MemHandle h, uint16_t count, uint32_t entry, uint16_t id)
{
    std::vector<uint16_t> ids = idsOf(h, count, entry);
    auto at = std::find(ids.begin(), ids.end(), id);
    return at == ids.end() ? -1 : (int)(at - ids.begin());
}

// A set flag holds when the set names as many ids as are in use, and at
// least one: an empty in-use set makes no layer "all".
BOOL coversInUse(uint16_t count) { return count == g_layers.count[IN_USE] ? TRUE : FALSE; }
BOOL hidesAll(uint16_t count) { return count && coversInUse(count) ? TRUE : FALSE; }

void readSet(int which, MemHandle *handle, uint16_t *count)
{
    if (handle)
        *handle = g_layers.set[which];
    if (count)
        *count = g_layers.count[which];
}

void installSet(int which, MemHandle handle, uint16_t count)
{
    g_layers.set[which] = handle;
    g_layers.count[which] = count;
}

bool defaultsInstalled()
{
    return g_layers.set[IN_USE] && g_layers.set[IN_USE] == g_defaults[IN_USE];
}

// Adds an id to one of the global sets: one more entry, sorted again. A set
// begun while the defaults are installed (the hidden set) is the module's
// too, and reused the next time.
int addId(int which, uint16_t id)
{
    uint32_t entry = kEntrySize[which];
    MemHandle h = g_layers.set[which];
    uint16_t n = g_layers.count[which];
    if (findIn(h, n, entry, id) >= 0)
        return 1;
    bool adopt = !h && defaultsInstalled();
    if (adopt)
        h = g_defaults[which];
    std::vector<uint16_t> ids = idsOf(h, n, entry);
    ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    MemHandle grown = utAllocHandle(h, (uint32_t)ids.size() * entry);
    if (!grown)
        return 0;
    {
        MemLock<uint8_t> p(grown);
        memset(p.get(), 0, ids.size() * entry);
        for (size_t i = 0; i < ids.size(); ++i)
            memcpy(p.get() + i * entry, &ids[i], 2);
    }
    // A grown default set stays the module's.
    if (adopt || (h && g_defaults[which] == h))
        g_defaults[which] = grown;
    g_layers.set[which] = grown;
    g_layers.count[which] = (uint16_t)ids.size();
    return 1;
}

// A set holding the one id (in-use entries with their spare word 0).
MemHandle writeOne(MemHandle h, uint32_t entry, uint16_t id)
{
    MemHandle g = utAllocHandle(h, entry);
    if (!g)
        return 0;
    MemLock<uint8_t> p(g);
    memset(p.get(), 0, entry);
    memcpy(p.get(), &id, 2);
    return g;
}

}  // namespace

LayerState *laySwapState(LayerState *saveTo, const LayerState *state)
{
    LayerState saved;
    layGetGlobalState(&saved);
    if (state && state->inUse) {
        for (int i = 0; i < 3; ++i)
            installSet(i, stateSet(state, i), stateCount(state, i));
        g_layers.current = state->current;
        g_layers.allEditable = coversInUse(state->countEdit);
        g_layers.allHidden = hidesAll(state->countHidden);
    } else {
        layResetGlobal();
    }
    if (saveTo)
        *saveTo = saved;
    return saveTo;
}

void layResetGlobal()
{
    g_defaults[IN_USE] = writeOne(g_defaults[IN_USE], kEntrySize[IN_USE], 1);
    g_defaults[EDIT] = writeOne(g_defaults[EDIT], kEntrySize[EDIT], 1);
    installSet(IN_USE, g_defaults[IN_USE], g_defaults[IN_USE] ? 1 : 0);
    installSet(EDIT, g_defaults[EDIT], g_defaults[EDIT] ? 1 : 0);
    installSet(HIDDEN, 0, 0);
    g_layers.current = 1;
    g_layers.allEditable = TRUE;
    g_layers.allHidden = FALSE;
}

void layInitState(LayerState *state)
{
    if (!state)
        return;
    memset(state, 0, sizeof *state);
    MemHandle inUse = writeOne(0, kEntrySize[IN_USE], 1);
    MemHandle edit = inUse ? writeOne(0, kEntrySize[EDIT], 1) : 0;
    if (!edit) {
        utFreeHandle(inUse);
        return;
    }
    state->inUse = inUse;
    state->edit = edit;
    state->current = 1;
    state->countInUse = 1;
    state->countEdit = 1;
}

void layGetGlobalState(LayerState *state)
{
    if (!state)
        return;
    state->inUse = g_layers.set[IN_USE];
    state->edit = g_layers.set[EDIT];
    state->hidden = g_layers.set[HIDDEN];
    state->countInUse = g_layers.count[IN_USE];
    state->countEdit = g_layers.count[EDIT];
    state->countHidden = g_layers.count[HIDDEN];
    state->current = g_layers.current;
}

void layFreeState(LayerState *state)
{
    if (!state)
        return;
    bool installed = false;
    for (int i = 0; i < 3; ++i) {
        MemHandle h = stateSet(state, i);
        installed |= h && std::find(g_layers.set, g_layers.set + 3, h) != g_layers.set + 3;
    }
    if (installed)
        layResetGlobal();
    for (int i = 0; i < 3; ++i) {
        MemHandle h = stateSet(state, i);
        if (!isDefaultSet(h))
            utFreeHandle(h);
    }
    memset(state, 0, sizeof *state);
}

void layMergeState(const LayerState *state)
{
    if (!state)
        return;
    // The ids are read out first: the state's sets may be the global ones,
    // which move as they grow.
    for (int i = 0; i < 3; ++i) {
        std::vector<uint16_t> ids = idsOf(stateSet(state, i), stateCount(state, i), kEntrySize[i]);
        for (uint16_t id : ids)
            addId(i, id);
    }
}

void layGetInUse(MemHandle *handle, uint16_t *count, uint16_t *current)
{
    readSet(IN_USE, handle, count);
    if (current)
        *current = g_layers.current;
}

void laySetInUse(MemHandle handle, uint16_t count, uint16_t current)
{
    installSet(IN_USE, handle, count);
    g_layers.current = current;
}

void layGetEditSet(MemHandle *handle, uint16_t *count, BOOL *allEditable)
{
    readSet(EDIT, handle, count);
    if (allEditable)
        *allEditable = g_layers.allEditable;
}

void laySetEditSet(MemHandle handle, uint16_t count)
{
    installSet(EDIT, handle, count);
    g_layers.allEditable = coversInUse(count);
}

void layGetHiddenSet(MemHandle *handle, uint16_t *count, BOOL *allHidden)
{
    readSet(HIDDEN, handle, count);
    if (allHidden)
        *allHidden = g_layers.allHidden;
}

void laySetHiddenSet(MemHandle handle, uint16_t count)
{
    installSet(HIDDEN, handle, count);
    g_layers.allHidden = hidesAll(count);
}

int layFindInUse(uint16_t id)
{
    return findIn(g_layers.set[IN_USE], g_layers.count[IN_USE], kEntrySize[IN_USE], id);
}

int layAddInUse(uint16_t id) { return addId(IN_USE, id); }
int layerAddId(uint16_t id) { return addId(EDIT, id); }
int layAddHidden(uint16_t id) { return addId(HIDDEN, id); }

int layIsEditable(uint16_t id)
{
    return g_layers.allEditable || layFindInSet(g_layers.set[EDIT], g_layers.count[EDIT], id);
}

int layIsHidden(uint16_t id)
{
    return g_layers.allHidden || layFindInSet(g_layers.set[HIDDEN], g_layers.count[HIDDEN], id);
}

int layFindInSet(MemHandle handle, uint16_t count, uint16_t id)
{
    return findIn(handle, count, 2, id) >= 0 ? 1 : 0;
}

uint16_t layGetCurrent() { return g_layers.current; }

int laySetCurrent(uint16_t id)
{
    g_layers.current = id;
    if (layFindInUse(id) < 0) {
        layAddInUse(id);
        layerAddId(id);
    }
    return 1;
}

void layResetModule()
{
    for (MemHandle &d : g_defaults)
        d = utFreeHandle(d);
    g_layers = Global{{0, 0, 0}, {0, 0, 0}, 0, TRUE, FALSE};
}
