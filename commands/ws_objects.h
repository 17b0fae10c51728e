// The objects of the workspace's current page: its top-level list (drawn
// first to last, the last on top) and the edits of that list that the
// object commands and their undo make. Each edit keeps the page's first
// object and the workspace's current object right: an object that leaves
// the list is never left as the page's head or as the selection.
#pragma once
#include "support/qmwin.h"

enum : WORD {
    WS_CMD_OBJECT_UNLINKED = 397,   // sent before an object leaves the list; lParam the object
};

MemHandle wsGetFirstObject(HWND ws);
MemHandle wsGetLastObject(HWND ws);
// Makes the object the head of the page's list (its previous link cleared);
// the document is marked modified when the head changes.
void wsSetFirstObject(HWND ws, MemHandle first);
// Whether the object is in the current page's top-level list.
BOOL wsPageHasObject(HWND ws, MemHandle object);

// Links the object at the end of the list (on top); its members, extra
// data and attached object are kept. FALSE without a page.
BOOL wsAppendObject(HWND ws, MemHandle object);
// Links the object after `after`, or at the head for 0; an `after` that
// is not in the list appends. FALSE without a page.
BOOL wsInsertObjectAfter(HWND ws, MemHandle after, MemHandle object);
// The new object takes the old one's place (in the page's list, or in its
// owner's member chain with the old one's owner as parent) and the old
// one's tree is freed; a selected old object hands the selection on. The
// new object's own next-member chain replaces the old one's. FALSE (and
// nothing changed) when the old object is in neither.
BOOL wsReplaceObject(HWND ws, MemHandle oldObject, MemHandle newObject);
// Sends WM_COMMAND 397 with the object (also when it is not in the list),
// then takes it out of the list without freeing it; FALSE when it was not
// in the list. Its previous and next links are cleared: an object off the
// page never points into the page's list, so no later walk or relink from
// it can reach (or splice itself into) a list it no longer belongs to.
BOOL wsUnlinkObject(HWND ws, MemHandle object);
// Unlinks the object and frees its tree; the selection is cleared when it
// was the object.
BOOL wsDeleteObject(HWND ws, MemHandle object);
// Frees the object and every object after it in the list (the list ends
// before it).
void wsFreeObjectsFrom(HWND ws, MemHandle object);
// A group or chain in the list replaced by its members in chain order; the
// group record is freed and the document marked modified. The first member
// (0 when the group had none, the group then freed as well).
MemHandle wsDissolveGroup(HWND ws, MemHandle group);
