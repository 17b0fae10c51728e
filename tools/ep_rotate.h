// The rotate tool: turning the current object about a pivot with the mouse
// (tool mode 32, a temporary tool pushed over the current mode, with a red
// pivot marker that can itself be dragged), the rotation drag that select
// mode's rotate handle also starts, the "selang" angle dialog, and the
// rotation state the node editor shares.
#pragma once
#include "support/qmwin.h"
#include <vector>

#pragma pack(push, 1)
// The rotation state: six 32-bit words, logical units.
struct RotateState {
    int32_t centreX, centreY;   // the object's own centre
    int32_t pivotX, pivotY;     // the rotation centre
    int32_t radius;             // half the diagonal of the bounding rectangle
    int32_t markerSize;         // 8 device pixels
};
#pragma pack(pop)
static_assert(sizeof(RotateState) == 24, "the rotation state is six 32-bit words");

// Device pixels of the pivot marker (and the pivot's pick distance).
const int32_t kEpRotateMarkerPixels = 8;

// ---- the state ----------------------------------------------------------------------------------
// The state of an object: its centre, the pivot at the centre of its
// bounding rectangle, the radius, the marker size at the current mapping.
void epInitRotateState(MemHandle object, RotateState *state);
// The same into the module's state, with the indicator area invalidated
// before and after.
void epSetRotateState(HWND ws, MemHandle object);
// Copies of the module's state to and from another record.
void epSaveRotateState(RotateState *to);
void epLoadRotateState(const RotateState *from);
const RotateState *epGetRotateState();
// The rectangle over the object centre and the circle of the radius about
// the pivot, grown by the handle size.
void epRotateArea(const RotateState *state, RECT *out);
void epInvalidateRotateArea(HWND ws);

// ---- drawing ------------------------------------------------------------------------------------
// The pivot marker under R2_NOTXORPEN (drawn twice it disappears): a grey
// cross reaching twice the marker size each way, a red disc of the marker
// size, and a line from the object's centre when that is not the pivot.
void epDrawRotateMarker(HDC dc, const RotateState *state);
// Drag feedback (commands/ep_track.h): the marker of the RotateState at
// `data` with its pivot moved by the drag.
struct TrackPair;
int epTrackMarkerFeedback(HDC dc, const TrackPair *pair, LPARAM data);
// The module state's marker (the workspace painting in mode 32).
void epDrawRotateState(HDC dc);
// A point list as the type draws its outline: a polyline for 2, 4, 5, 14,
// 17, 31 to 34; a poly-Bézier for 9 to 12, 18 and 19; else a polygon.
void epDrawOutlinePoints(HDC dc, int16_t type, const POINT *pts, int16_t n);

// ---- the drag ---------------------------------------------------------------------------------
// What the drag's feedback draws: the outline relative to the pivot.
struct RotateOutline {
    int16_t type;
    POINT pivot;
    std::vector<POINT> base;   // relative to the pivot
    std::vector<POINT> work;
};
// The angle (degrees, 0 <= a < 360, counter-clockwise on the screen) that
// turns the vector pivot->from onto pivot->to; 0 when either is null.
double epRotateAngleDeg(POINT pivot, POINT from, POINT to);
// Draws the guide line from the pivot to `to` and the outline turned by the
// rotation from `from` to `to` (drawn twice it disappears).
void epDrawTurnedOutline(HDC dc, RotateOutline *outline, POINT from, POINT to);
// Turns the object by dragging from the press (a packed client position)
// about the state's pivot, or about the centre of its bounding rectangle
// with no state. When the pointer ended elsewhere than the press and the
// angle is not 0: the object's copy is recorded for undo (kind 1) and the
// object turned with its members (a Bitmap is never turned: then nothing is
// recorded and 0 returned). The object to keep (the same or a replacement),
// or 0 when nothing turned; the angle in tenths (0 to 3599) in *angle.
MemHandle epRotateDrag(HWND ws, MemHandle object, LPARAM press, const RotateState *state,
                       int16_t *angle);

// ---- the tool -----------------------------------------------------------------------------------
// The Rotate command: refuses objects that are not editable ("rotate") and
// those epCanRotateTree refuses; pushes mode 32 unless it is current.
int epRotateTool(HWND ws, MemHandle object);
// 1 when the object may be rotated, else 0 after telling why: 922 (a
// composite scaled unevenly, answered Cancel), 923 (fields, controls,
// Labels), 987 (a group or chain holding a bitmap).
int epCanRotateTree(HWND ws, MemHandle object);
LRESULT CALLBACK RotateToolWndProc(HWND ws, UINT msg, WPARAM wParam, LPARAM lParam);

// The rotate handle's square grown by one device pixel right and down; 0
// when the object has none.
int epRotateHandleArea(MemHandle object, RECT *out);
int epRotateHandleHitAny(MemHandle object, POINT pt);

// ---- the angle dialog -----------------------------------------------------------------------------
// "selang": the angle in tenths in and out. 1 on OK (the typed degrees
// times 10 rounded half away from zero, or minus the old angle with
// "reverse" checked), 0 on Cancel.
int epRotateAngleDialog(HWND owner, int32_t *tenths);
INT_PTR CALLBACK SelAngDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
