// Giving objects a colour-gradient fill (fill kind 3): one closed shape, a
// whole object tree, or the raw block.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/sh_gradient.h"

// Gives one closed shape the gradient: fill kind 3, the record sized by its
// type, the 40 bytes copied; extents given as percentages of the object's
// width and height become twips (0, 0: half the width and half the height,
// the larger of the two for circle and square gradients). *h is updated when
// the record moved. 1 when the gradient bytes changed; 0 when they did not,
// for a kind without a fill, or when memory failed (nothing changed then).
int epApplyGradient(MemHandle *h, const GradientFillBlock *g);
// The same on every object of a tree, depth first (first member, next
// member, attached object, then the object); 1.
int epTreeApplyGradient(MemHandle *h, const GradientFillBlock *g);
// Fill kind 3 and the 40 bytes as they are; the record must have room.
// 1, or 0 when it has none.
int epSetGradientRaw(MemHandle h, const GradientFillBlock *g);
