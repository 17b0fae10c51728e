// Multiple selection: objects gathered into a temporary chain (type 84)
// that is the selection. Objects are gathered by clicks in the multiple
// selection mode (4), by a rubber band in select mode, by Select All and by
// layers; the mode also aligns the gathered objects and merges text
// objects into one. Also the way back to select mode, and editing the text member of a group in place.
#pragma once
#include "support/qmwin.h"


// ---- the modes ---------------------------------------------------------------------------------
// Command 402: drops the pending undo, leaves the current mode, releases the
// tool list's pressed button and installs mode 4 (the command id its status
// string id).
int cmdEnterMultiSelect(HWND ws, int command);
// The Select command (400, 931) and the way back from any tool: drops the
// pending undo, leaves the current mode (forced) and enters select mode
// with the current object, or, when the program stays in draw mode and the
// mode left was create (5), with the page's last object. 1.
int cmdBackToSelect(HWND ws);
LRESULT CALLBACK MultiSelToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- the selection list ------------------------------------------------------------------------
// The list (SelectionList): object handles, each at most once, in the order
// they were gathered; empty outside mode 4 and once made into a chain.
// Adds the object, or takes it out when it is listed; the new count.
int msToggle(MemHandle object);
// Empties the list, then lists every object of the list from `first` on
// that may be edited and whose drawn rectangle lies wholly inside the
// rectangle; the count.
int msSelectInRect(MemHandle first, const RECT *rect);
// Empties the list, then lists every object of the list from `first` on
// whose layer is one of the ids; the count (command 454).
int msSelectByLayers(MemHandle first, const uint8_t *layers, int count);
// Every object of the current page listed: 0 for an empty page, the object
// itself for a page of one, else the chain made of them.
MemHandle msSelectAll(HWND ws);
// Select All (215): the pending undo dropped, the selection cleared, then
// the result of msSelectAll selected and redrawn; 0 for an empty page.
int cmdSelectAll(HWND ws);
// The list made a chain (see msBuildChain) and emptied; a list of one gives
// that object, an empty list 0.
MemHandle msMakeChain(HWND ws);
// Mode 4 ended into the chain (or the one listed object), selected in
// select mode, with undo kind 25.
MemHandle msEndToChain(HWND ws);
// Command 1970: in mode 4 each handle of the 0-ended array that names a
// top-level object of the current page is toggled and every listed object
// invalidated; in any mode the array is freed.
void msAddHandles(HWND ws, MemHandle array);
// The listed objects that are on the workspace's page, in list order (the
// first `capacity` of them written); their number.
int msGetGathered(HWND ws, MemHandle *objects, int capacity);
// Empties the list (the handle freed) without touching any object.
void msResetSelection();

// ---- the rubber band of select mode ----------------------------------------------------------
// How many objects of the list from `first` lie wholly inside the
// rectangle and may be selected (not locked, on a shown editable layer).
int msHasObjectsInRect(MemHandle first, const RECT *rect);
MemHandle msFirstObjectInRect(MemHandle first, const RECT *rect);
// The temporary chain of the page's objects inside the rectangle; 0 when
// there are fewer than two.
MemHandle msBuildSelection(HWND ws, const RECT *rect);
// The objects (those in the page's top-level list) made one Chain (84), the
// back-most first, put where the topmost of them lay. 0 for fewer than two
// or when memory runs out (then the page is as it was).
MemHandle msBuildChain(HWND ws, const MemHandle *objects, int n);
// The pending multiple-selection step (kind 25) names its chain.
void msSetUndoObject(HWND ws, MemHandle chain);
// The page's top-level objects in list order, u32 handles followed by a 0.
MemHandle msSnapshotPage(HWND ws);
// Undo kind 25: a current chain is dissolved, the saved objects relinked in
// the saved order (objects the snapshot does not name stay after them),
// the selection cleared. The current object afterwards (0 when the chain
// was dissolved).
MemHandle msRestoreSnapshot(HWND ws, MemHandle snapshot, MemHandle current);

// ---- align and merge -----------------------------------------------------------------------
// Commands 420 to 426 in mode 4 with two or more listed objects: left,
// right, top, bottom, horizontal centre, vertical centre, centre; undo kind
// 3 sub-kind 122 with the moves. 1, else 0.
int msAlign(HWND ws, int command);
// Merge Text Objects (499) of the listed text objects, undo kind 20.
int cmdMergeText(HWND ws);

// ---- marks ---------------------------------------------------------------------------------
// The marks of the listed objects, drawn hollow in not-XOR (drawn again
// they disappear), on the DC or on the workspace's own when none is given.
void msDrawMarks(HWND ws, HDC dc);
// One object's mark: its two ends for lines and arrows, else the four
// corners of its drawn rectangle.
void msDrawMark(HDC dc, MemHandle object);
void msInvalidateAll(HWND ws);

// ---- the text member of a group ----------------------------------------------------------------
// Command 240: edits the text member of a group in place (the end comes as
// command 704), or dissolves a chain and edits its text member (command
// 700 posted). 0 for anything else.
int cmdEditGroupText(HWND ws, MemHandle object);
// Command 704 with the editor's end record (taken over and freed): a member
// the editor deleted leaves the group, a group left with one member is
// replaced by it; else the group is refitted and selected.
int cmdEndGroupText(HWND ws, MemHandle endRecord);
