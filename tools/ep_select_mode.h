// Select mode's mouse: the hot zone and cursor under the pointer, the hit
// tests, the left button (handle drags, clicks that step down through
// overlapping objects, moves, margin and guide drags, the rubber band) and
// the right button (the context menus).
#pragma once
#include "support/qmwin.h"

// Hot zones of select mode (window word 18).
enum {
    EP_ZONE_NONE = -1,        // 0 to 7 a selection handle
    EP_ZONE_ROTATE = 8,
    EP_ZONE_MARGIN_LEFT = 101,
    EP_ZONE_MARGIN_TOP = 102,
    EP_ZONE_MARGIN_RIGHT = 103,
    EP_ZONE_MARGIN_BOTTOM = 104,
    EP_ZONE_GUIDE_V = 110,
    EP_ZONE_GUIDE_H = 111,
};

// The hit tolerance of the workspace's current page at the current
// mapping: the larger of 2 device pixels and page property 53 (x), 54 (y).
void epHitTolerance(HWND ws, int32_t *tx, int32_t *ty);
// The topmost object under the point from `start` downward, going round
// from the last object and stopping before `start` again; objects on
// hidden or non-editable layers are skipped (and locked ones when
// skipLocked). A drawn rectangle no wider (taller) than the tolerance is
// widened by it on both sides.
MemHandle epHitWalk(MemHandle start, POINT pt, int32_t tx, int32_t ty, BOOL skipLocked);
// The walk on the workspace's page with its tolerance; a null start is the
// last object.
MemHandle epHitObject(HWND ws, MemHandle start, POINT pt);
MemHandle epHitUnlocked(HWND ws, MemHandle start, POINT pt);
// 0 for a locked or hidden object, one on a hidden or non-editable layer,
// or a user object holding content; else 1.
int epIsMovable(HWND ws, MemHandle object);
// The zone of the pointer at the (snapped) point and its cursor.
int epSelectZone(HWND ws, POINT pt, HCURSOR *cursor);
void epSelectMouseMove(HWND ws, LPARAM lParam);
void epSelectLButtonDown(HWND ws, WPARAM wParam, LPARAM lParam, int zone);
void epSelectRButtonUp(HWND ws, LPARAM lParam);
void epMoveSelection(HWND ws, LPARAM lParam, MemHandle object);
void epDragMargin(HWND ws, LPARAM lParam);
void epDragGuide(HWND ws, LPARAM lParam);
void epAddToMultiSelect(HWND ws, MemHandle object);
int epMarginZone(HWND ws, POINT pt);
int epGuideZone(HWND ws, POINT pt, int *vertical, int *horizontal);
// The menu kind of the object menu for a type (select mode's right button);
// -1 for the bitmap pop-up of the frame menu.
int epObjectMenuKind(MemHandle object);
