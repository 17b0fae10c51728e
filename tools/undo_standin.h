// The entry points of the undo module and of the workspace's page-list
// edits that the drawing tools call. Until those modules are part of the
// program, tools/undo_standin.cpp answers for them with weak definitions
// (the real ones replace them at link time once present).
#pragma once
#include "support/qmwin.h"

// Records the workspace's one pending step (the previous one dropped
// first); 1 when it is pending.
int udRecord(HWND ws, MemHandle object, uint32_t extra, int16_t kind, int16_t subKind);
// Drops the pending step.
void udDiscard(HWND ws);
// Whether a running command keeps its step through changes of selection.
BOOL udIsStepKept(HWND ws);

// The current page's top-level list.
BOOL wsAppendObject(HWND ws, MemHandle object);
BOOL wsPageHasObject(HWND ws, MemHandle object);
// Unlinks the object from the list and frees its tree.
BOOL wsDeleteObject(HWND ws, MemHandle object);
// A group or chain of the list replaced by its members; the first member.
MemHandle wsDissolveGroup(HWND ws, MemHandle group);
