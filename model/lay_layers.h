// Layers: every object carries a layer id (its head's `layer`); each page
// has a layer state saying which ids are in use, which may be edited, which
// are hidden and which is current (the layer new objects get).
//
// The object code works on one global layer state. The page renderer and
// the document window swap a page's state in before drawing or editing that
// page and swap the previous one back afterwards; the handles of the sets
// are shared between the global state and the state they came from, not
// copied. A set that grows may move: whoever keeps the state it came from
// takes the global values back (layGetGlobalState) before using it again.
//
// The defaults (layer 1 in use and current, edit set {1}, nothing hidden)
// live in sets the layer module owns; they are reused, never handed over,
// so installing the defaults leaks nothing and freeing a state never frees
// them.
#pragma once
#include "support/qmwin.h"
#include "model/pg_record.h"

// The 20 bytes kept per page: in-use set (4-byte entries: u16 id, u16 left
// 0), edit set and hidden set (u16 ids), each sorted ascending; the current
// layer and the three counts.
typedef PgLayerState LayerState;

// Copies the global handles, counts and current layer into saveTo, then
// installs `state` (its in-use set with count and current layer, its edit
// and hidden sets, the two flags recomputed) when its in-use handle is not
// 0, else the defaults. Returns saveTo.
LayerState *laySwapState(LayerState *saveTo, const LayerState *state);
// Installs the defaults: in-use {1}, current 1, edit set {1}, no hidden
// set, all-editable 1, all-hidden 0.
void layResetGlobal();
// Fills a state with the defaults in new handles of its own; all zero when
// memory fails.
void layInitState(LayerState *state);
// Copies the global handles, counts and current layer (shared handles).
void layGetGlobalState(LayerState *state);
// Frees the state's three sets and zeroes it. A state whose sets are
// installed is swapped out first (the defaults go in), so the global state
// never names a freed set; the layer module's own default sets are never
// freed here.
void layFreeState(LayerState *state);
// Adds every id of the state's three sets to the global sets.
void layMergeState(const LayerState *state);

void layGetInUse(MemHandle *handle, uint16_t *count, uint16_t *current);
void laySetInUse(MemHandle handle, uint16_t count, uint16_t current);
// Installing the edit set makes all-editable = (count = count in use).
void layGetEditSet(MemHandle *handle, uint16_t *count, BOOL *allEditable);
void laySetEditSet(MemHandle handle, uint16_t count);
// Installing the hidden set makes all-hidden = (count = count in use), with
// at least one id: an empty set with nothing in use hides nothing.
void layGetHiddenSet(MemHandle *handle, uint16_t *count, BOOL *allHidden);
void laySetHiddenSet(MemHandle handle, uint16_t count);

// Index of the id in the in-use set; -1 when absent or there is no set.
int layFindInUse(uint16_t id);
// Add an id to the in-use, edit or hidden set when absent: the set grows by
// one entry and is sorted ascending again. 1 when present or added, 0 when
// memory fails (the id is then left out).
int layAddInUse(uint16_t id);
int layerAddId(uint16_t id);
int layAddHidden(uint16_t id);
// 1 when all-editable is set, else when the id is in the edit set.
int layIsEditable(uint16_t id);
// 1 when all-hidden is set, else when the id is in the hidden set.
int layIsHidden(uint16_t id);
// 1 when the id is among `count` u16 ids of the array (0 for no handle; a
// count beyond the block is cut to it).
int layFindInSet(MemHandle handle, uint16_t count, uint16_t id);
uint16_t layGetCurrent();
// Makes the id current; an id not in use is added to the in-use set and to
// the edit set. Returns 1.
int laySetCurrent(uint16_t id);

// Back to the start: no sets installed, all-editable 1, all-hidden 0; the
// module's default sets freed (tests).
void layResetModule();
