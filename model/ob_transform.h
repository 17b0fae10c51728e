// Rescaling, rotating and mirroring one object through its type.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// Scales one object about (ox, oy) by (sx, sy) and moves that point to
// (nx, ny): the target box is the local rectangle scaled (rounded) about the
// new centre; the type's rescale gets it, types without one take it as box.
void objScale(MemHandle h, double sx, double sy, int32_t ox, int32_t oy, int32_t nx,
              int32_t ny);
// Rotates one object about a point by its type's operation (tenths of a
// degree); groups and chains refit their boxes to their members.
void objFlipRotate(MemHandle h, POINT pt, int16_t angle);
// Mirrors one object about a vertical (horizontal) axis: the centre always,
// the box shapes' rotation, the rest by their modules.
void obFlipHorizontal(MemHandle h, int32_t axisX);
void obFlipVertical(MemHandle h, int32_t axisY);

// Angles in tenths of a degree.
int32_t obNormaliseAngle(int32_t angle);   // into 0..3599
int32_t obMirrorAngleH(int32_t angle);     // 1800 - angle, + 3600 when negative
int32_t obMirrorAngleV(int32_t angle);     // 0 stays; else 3600 - angle
int32_t obHalfTurnToZero(int32_t angle);   // 1800 and 3600 become 0
