// The Dimension Span (type 31): a measuring line between two points with a
// line-end symbol at both ends and a tick mark across each end. Type data,
// 32 bytes:
//   +0 i16 point count (2), +2 first point, +10 second point (i32 pairs,
//   relative to the centre), +18 i32 tick extent m0 (towards the normal
//   side), +22 i32 tick extent m1 (the other side), +26 the LineEndRecord
//   used at both ends (objects/sh_lineend.h).
// The line-end flags of the head play no part.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kShDimSpanGeometry = 32;

// A span read from a file: its head within the page limits, its geometry
// inside the record.
BOOL shDimSpanReadCheck(const ObjectRecord *rec, uint32_t length);

// 86 + name + 32, stored as the record length and returned.
uint32_t shDimSpanSize(ObjectRecord *rec);
// The address of +18 (m0, m1, then the line-end record); null when the
// record is not a span holding its data.
uint8_t *shDimSpanGetMarkSize(ObjectRecord *rec);
// The tick at the second point of pts[2]: from q + n (2 m0 - 1) / 2 to
// q - n (2 m1 - 1) / 2, n the left normal of the unit direction from the
// first point to the second, each end rounded. The start tick is the same
// moved by (first - second).
void shDimSpanTicks(const POINT pts[2], int32_t m0, int32_t m1, POINT out[2]);
void shDimSpanStartTick(const POINT pts[2], int32_t m0, int32_t m1, POINT out[2]);
// The line with its symbols and both ticks, in the object's pen; a stored
// rotation turns a copy of the points (the record is not changed).
void shDimSpanDraw(HDC dc, ObjectRecord *rec);
// The line and ticks with the DC's own pen (rubber bands).
void shDimSpanOutline(HDC dc, ObjectRecord *rec);
// The two points relative to the centre in a new handle; 0 when absent.
MemHandle shDimSpanPoints(ObjectRecord *rec, int16_t *count);
// The box of the points and both ticks (not the symbols) becomes the
// record's centre and size; the points are made relative to it.
void shDimSpanBounds(ObjectRecord *rec, RECT *out);
BOOL shDimSpanBounds(MemHandle h, RECT *out);
// Rescaled to a target: a stored rotation baked in first; the points scaled
// (rounded) on each axis whose factor is not 1.0; the centre moved to the
// target's; the ticks scaled with a vertical span stretched across (x) or
// a horizontal one stretched up or down (y); then the bounds.
void shDimSpanRescale(MemHandle h, const RECT *target);
// Turned about pt by the angle (a stored rotation baked in first), then the
// bounds; rotation 0 afterwards.
void shDimSpanRotate(MemHandle h, POINT pt, int16_t angle);
// Mirror about the centre: the points' x (or y) negated and m0, m1
// swapped, so the span is its mirror image.
void shDimSpanFlipH(ObjectRecord *rec);
void shDimSpanFlipV(ObjectRecord *rec);
