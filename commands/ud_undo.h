// The one-level undo of object edits. Each workspace keeps exactly one
// pending step (the UndoRecord of its workspace record). A command that
// changes objects first records what it is about to change, or drops the
// pending step when it changes nothing undoable; Undo (200) performs the
// pending step once and drops it. Recording always drops the step before;
// so does a change of selection, except while the command that recorded
// the step still runs (UdKeepStep). The Undo button of the standard bar
// shows whether a step is pending.
#pragma once
#include "support/qmwin.h"
#include "views/ws_record.h"

// UndoKind.
enum : int16_t {
    UD_NONE = 0,
    UD_COPY = 1,            // data: block of the object; object: its previous object
    UD_COMMAND = 2,         // command: the opposite command, sent back
    UD_PROPERTY = 3,        // data: one property block, by sub-kind
    UD_DELETED = 4,         // data: block of the deleted object; object: its previous object
    UD_MOVED = 5,           // data: the old centre (i32 x, y)
    UD_INSERTED = 7,        // object: the new object
    UD_CREATED = 8,         // object: the object drawn in create mode
    UD_CLONED = 9,          // object: the first clone
    UD_DROPPED = 10,        // object: the first object from dropped files
    UD_REPLACED = 11,       // object: the new object; data: block of the one it replaced
    UD_LAYER_CHANGE = 12,   // data: block of the object; members: its members then
    UD_LAYER_EDIT = 13,
    UD_LAYER_HIDE = 14,
    UD_LIST_ORDER = 17,     // data: a ListOrderSnapshot
    UD_RECORD_BYTES = 18,   // data: a byte copy of the object's record
    UD_MERGE = 20,          // object: the merged text; data: a MergeUndo block
    UD_MARGINS = 21,        // data: the margin rectangle before (16 bytes)
    UD_PAGE_MOVE = 22,      // object: the first object moved in from another page
    UD_GUIDES = 23,         // data: the page's guide attribute, 0 when it had none
    UD_GUIDE_DRAG = 24,     // data: a GuideDragUndo block
    UD_CHAIN = 25,          // object: the new chain; data: the page's objects before, 0-ended
    UD_CURVE_TEXT = 31,     // object: the text; data: block of it made by the caller
};
// Sub-kinds of UD_PROPERTY.
enum : int16_t {
    UD_SUB_NAME = 101,           // the name with its terminator
    UD_SUB_ARC_HEAD = 120,       // the 86-byte head, the name, 20 bytes of type data
    UD_SUB_CORNERS = 121,        // the first 16 bytes of the type data
    UD_SUB_MEMBER_MOVES = 122,   // the members' old centres, 8 bytes each
    UD_SUB_TABLE_HEAD = 130,     // the table's head and attribute block
};
enum : uint32_t {
    UD_ARC_DATA_BYTES = 20,
    UD_CORNER_DATA_BYTES = 16,
    UD_PAGE_GUIDES_TAG = 0x800000,   // page attribute of the guides
};

#pragma pack(push, 1)
// The head of a GuideDragUndo block: the guide attribute copy (its own
// u32 length first) comes before it, the object handles after it.
struct GuideDragTail {
    uint32_t count;
    uint16_t axis;        // 1: along x, else along y
    int32_t distance;     // twips
};
#pragma pack(pop)
static_assert(sizeof(GuideDragTail) == 10, "count, axis and distance of a guide drag");

// Records a step: always drops the pending one first. `extra` by kind: 2
// the command id; 3 a ready data handle (else the sub-kind's own copy is
// made); 11 the object whose copy is saved; 17, 20, 21, 23, 24, 31 the
// data handle made by the caller (the step owns it from here on, also when
// recording fails); 25 a ready snapshot (else one is taken of the page).
// 1 when the step is pending; 0 when its data could not be saved (then no
// step is pending and the Undo button is off).
int udRecord(HWND ws, MemHandle object, uint32_t extra, int16_t kind, int16_t subKind);
// udRecord (ws, object, 0, UD_COPY, 0).
int udRecordCopy(HWND ws, MemHandle object);
// Frees the pending step (its data and member list; a merge step first
// releases the objects it keeps) and zeroes it; the Undo button is left.
void udDiscard(HWND ws);
// 1 when a step is pending; otherwise the Undo button is switched off.
int udIsPending(HWND ws);
// Performs and drops the pending step; the object current afterwards (the
// current object unchanged when nothing is pending, 0 when the step leaves
// nothing current or its saved copy could not be rebuilt).
MemHandle udPerform(HWND ws, MemHandle current);
// A byte copy of the object's record (kind 18's data); 0 for none.
MemHandle udCopyRecordBytes(MemHandle object);
// Puts a byte copy of a record (its own length first) back into the
// object: the record is resized to the copy's length through obResize, the
// page's head and the selection follow a moved handle, the object's live
// links are kept. The valid handle (the given one when nothing was done).
MemHandle udRestoreRecordBytes(HWND ws, MemHandle current, MemHandle saved);
// The data handle of the pending step (0 when none).
MemHandle udGetPendingData(HWND ws);
void udSetUndoButton(HWND ws, BOOL on);
// Undo (200): 1 when a step was performed and its object selected.
int cmdUndo(HWND ws, MemHandle current);

// While alive, changes of the workspace's selection keep the pending step:
// a command that records its step and then selects (or clears) keeps what
// it recorded.
class UdKeepStep {
public:
    explicit UdKeepStep(HWND ws);
    ~UdKeepStep();
    UdKeepStep(const UdKeepStep &) = delete;
    UdKeepStep &operator=(const UdKeepStep &) = delete;
private:
    HWND ws_;
};
BOOL udIsStepKept(HWND ws);

// A record the pending step names moved from `old` to `now`: the step's
// object and the handles its data keeps (members, saved list orders, the
// objects of a guide drag, the merge block's objects) name the new one.
void udFollowMovedObject(HWND ws, MemHandle old, MemHandle now);
