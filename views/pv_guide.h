// Design guides: the vertical and horizontal lines of one page, kept as the
// page attribute 0x800000 (a GuideRecord) and so stored in the document.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
// The head of a guide table; the x positions of the vertical guides follow
// (i32 each, ascending), then the y positions of the horizontal ones.
struct GuideRecord {
    uint32_t size;            // 34 + 4 x (vertical + horizontal)
    uint16_t reserved0;
    uint32_t vertical;        // number of vertical guides
    uint32_t horizontal;      // number of horizontal guides
    uint8_t reserved[20];
};
#pragma pack(pop)
static_assert(sizeof(GuideRecord) == 34, "the guide table head is 34 bytes");

const uint32_t kGuideAttrTag = 0x800000;
const uint32_t kGuideEmptySize = 38;   // the smallest table stored
enum : int { GD_VERTICAL = 1, GD_HORIZONTAL = 2 };

// ---- the table ---------------------------------------------------------------------------
// An empty 38-byte table (both counts 0).
MemHandle gdNew();
// 1 when the bytes are a whole guide table: its size word equals `length`
// and 34 + 4 x (n + m), which the counts do not overflow.
BOOL gdIsValid(const void *bytes, uint32_t length);
int gdCount(MemHandle table, int kind);
// The position of guide `index` of the kind (0 outside the list).
int32_t gdGetPos(MemHandle table, int index, int kind);
// The first guide of the kind within tolerance / 2 of the coordinate (which
// is then set to the guide's position); -1 when none.
int gdFindX(MemHandle table, int32_t *x, int32_t tolerance);
int gdFindY(MemHandle table, int32_t *y, int32_t tolerance);
// Adds a guide (the table made when there is none); an exact duplicate of
// the kind leaves the table as it is with added 0. Both lists stay
// ascending. The table to keep (0 when it could not grow: the old one is
// then unchanged).
MemHandle gdAdd(MemHandle table, int32_t position, int kind, int *added);
// Removes guide `index` of the kind; 0 for an index outside the list.
int gdDelete(MemHandle table, int index, int kind);
// Removes the guide of the kind exactly at the position; 0 when none.
int gdDeleteAt(MemHandle table, int32_t position, int kind);
// Moves guide `index`; 0 when the position is unchanged (or no such guide).
int gdSetPos(MemHandle table, int index, int32_t position, int kind);
void gdSort(MemHandle table);
// Draws every guide dotted over the page rectangle; 1 when any was drawn.
int gdDraw(HDC dc, MemHandle table, const RECT *pageRect, COLORREF colour);

// ---- the page's table --------------------------------------------------------------------
// A copy of the page's table (the caller frees it); 0 without one, and for
// a stored attribute whose size and counts disagree with its length.
MemHandle pvGetGuides(MemHandle page);
MemHandle pvGetCurrentGuides(HWND ws);
// Stores the table as the page's attribute (none removes the guides); the
// page to keep, 0 on failure.
MemHandle pvSetGuides(MemHandle page, MemHandle table);
// Stores the table on the current page and invalidates the view; 1 when
// stored.
int pvInstallGuides(HWND ws, MemHandle table);
// The page's guides over its rectangle in the colour; 1 when any drawn.
int pvDrawPageGuides(HWND ws, HDC dc, MemHandle page, COLORREF colour);
// Hit test: the horizontal guide's index at the point's y in the high 16
// bits, the vertical one's at its x in the low 16, each -1 (0xFFFF) when
// none; the point is moved onto the guides found.
uint32_t pvGuideHitTest(HWND ws, POINT *point);
// The width in twips of 6 pixels at the workspace's zoom.
int32_t pvGuideTolerance(HWND ws);
void pvInvalidateGuide(HWND ws, int32_t position, int kind);

// ---- commands ----------------------------------------------------------------------------
// 2106, 2107: adds a guide strictly inside the page, undoable (kind 23).
int pvAddGuide(HWND ws, int32_t position, int kind);
// 2108, 2109: deletes the guide exactly at the position, undoable.
int pvDeleteGuideAt(HWND ws, int32_t position, int kind);
// Deletes guide `index` of the kind, undoable.
int pvDeleteGuide(HWND ws, int index, int kind);
// 2112: asks, then removes every guide of the page, undoable.
int pvDeleteAllGuides(HWND ws);
// Moves guide `index` to the position, undoable; 0 when unchanged.
int pvMoveGuide(HWND ws, int index, int32_t position, int kind);
// Moves the object so that its nearer edge lies on the guide (the top or
// left on a tie), with a copy recorded for undo; 0 when already on it.
int pvSnapObjectToGuide(HWND ws, MemHandle object, int index, int kind);
// Records undo kind 24 for a guide dragged with the objects resting on it:
// the table before the move (its size word first), the count, the kind, the
// distance (twips) and the objects. 1 when the step is pending.
int pvRecordGuideMove(HWND ws, MemHandle table, int32_t count, int kind, int32_t distance,
                      const MemHandle *objects);
// The guide popup menu at the packed client position for the hit guides
// (-1 none): "&Delete Guide" (2108 for a vertical guide, else 2109),
// "Delete &All Guides" (2112) and "&Snap Object to Guide" (2110, greyed
// without a current object); the chosen command is carried out.
void pvGuideMenu(HWND ws, LPARAM lParam, int vertical, int horizontal);
