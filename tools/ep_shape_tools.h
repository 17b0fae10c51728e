// Record builders of the shape handle tools: the cube's six points, the
// dimension span, and the cube's rubber band.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kEpCubeRecordSize = 136;   // head, count 6, six points
const uint32_t kEpDimSpanDataSize = 34;
const int16_t kEpDimSpanDefaultMark = 7;

// The cube drawn in a rectangle, its six points relative to the rectangle's
// centre: d = min(w, h) / 4; front face (left, top + d, right - d, bottom),
// back face (left + d, top, right, bottom - d); P0 front top-left, P1 back
// top-left, P2 back top-right, P3 back bottom-right, P4 front bottom-right,
// P5 front bottom-left.
void epCubePoints(const RECT *r, POINT out[6]);
// Resizes the record to 136 bytes, type 36, count 6 and the six points of
// the head's box (given as `bounds`). The valid handle, 0 on failure.
MemHandle epCubeBuild(MemHandle h, const RECT *bounds);
// The creation rubber band: the six points moved by the rectangle's centre
// as a polygon, and the three inner edges from the front top-right corner.
void epCubeRubberBand(HDC dc, const RECT *r);
// The dimension span's data from two page points: both tick lengths and the
// last field the given length, the mark style (7 for 0); the box recomputed.
MemHandle epDimSpanBuild(MemHandle h, const POINT pts[2], int16_t markStyle, int32_t tickLength);

// A new arc or pie (type 11 or 12) from two dragged corners, made by the
// factory with the current page's defaults and appended on top of the
// workspace's current page. The new handle, 0 when nothing was made (no
// page, no memory). Selecting it and starting the angle tool are the
// caller's.
MemHandle epCreateArcAt(HWND workspace, const POINT pts[2], int16_t type);
