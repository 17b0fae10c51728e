// Rescaling, rotating and mirroring objects and trees: each object's type
// transforms its own data through the dispatchers, and a colour-gradient
// fill (fill kind 3) is kept in step with its shape. Angles are tenths of a
// degree; scale factors are doubles.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// ---- rescaling ----------------------------------------------------------------------------
// One object about (ox, oy) by (sx, sy), that point moved to (nx, ny): the
// local rectangle scaled (rounded) about the new centre is the target box;
// the type's rescale gets it, types without one take it as their box; then,
// except for the types whose module keeps its gradient itself, a gradient
// block is rescaled with the shape (its type 2/3 and 4/5 following whether
// its extents came out equal). Returns the handle valid afterwards: a
// turned box converted into a polygon or curve may have moved (its owner
// and neighbours are relinked).
MemHandle objScale(MemHandle h, double sx, double sy, int32_t ox, int32_t oy, int32_t nx,
                   int32_t ny);
// The same over the tree (firstMember, nextMember and attached trees first,
// then the object); nothing when sx and sy are both 0, or when both are 1.0
// and the point stays. Returns the root's valid handle, as do the fitting
// and scaling calls below.
MemHandle obTreeScale(MemHandle h, double sx, double sy, int32_t ox, int32_t oy, int32_t nx,
                      int32_t ny);
// The tree scaled by the factor about the object's centre, which stays.
MemHandle obScaleBy(MemHandle h, double factor);
// Fits the tree into the rectangle of two corner points in any order: the
// tree scaled about its centre and moved to the target's centre, then the
// edge that did not move pinned exactly where it was (rounding may have
// shifted it).
MemHandle obFitToRect(MemHandle h, const RECT *rect);
// Fits the tree to `percent` of its size about its centre (a negative
// percent counts as its absolute value; 0 does nothing); a side of at least
// one device pixel stays at least one device pixel.
MemHandle obScalePercent(MemHandle h, int32_t percent);

// ---- rotating ------------------------------------------------------------------------------
// One object rotated about a point by its type's operation; after a type
// that was served (not arcs, arrows, groups, chains or composites) its
// gradient block turns with it. Groups and chains refit their boxes to
// their members.
void objFlipRotate(MemHandle h, POINT pt, int16_t angle);
// The firstMember and nextMember trees first, then the object; nothing for
// no handle or angle 0.
void obTreeFlipRotate(MemHandle h, POINT pt, int16_t angle);

// ---- mirroring -----------------------------------------------------------------------------
// One object about a vertical (horizontal) axis: the centre; the box
// shapes' rotation (horizontally mirrored then a half turn made 0,
// vertically mirrored; the circle keeps it); the points of point shapes and
// arrows; then a gradient block.
void obFlipHorizontal(MemHandle h, int32_t axisX);
void obFlipVertical(MemHandle h, int32_t axisY);
// The tree (all three links) first, then the object.
void obTreeFlipHorizontal(MemHandle h, int32_t axisX);
void obTreeFlipVertical(MemHandle h, int32_t axisY);

// ---- angles and axes ---------------------------------------------------------------------------
int32_t obNormaliseAngle(int32_t angle);   // into 0..3599
int32_t obMirrorAngleH(int32_t angle);     // 1800 - angle, + 3600 when negative
int32_t obMirrorAngleV(int32_t angle);     // 0 stays; else 3600 - angle
int32_t obHalfTurnToZero(int32_t angle);   // 1800 and 3600 become 0
// Exchanges width and height, and the x and y scale words (a box turned by
// a quarter).
void obSwapSizeAndScale(ObjectRecord *rec);
