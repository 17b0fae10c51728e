// The arrow object (type 402): a block arrow along an axis between a tail
// and a head point. Type data: +6 tail, +14 head (relative to the centre),
// +22 tip half-angle, +26 back angle (degrees), +30 head half-width, +34
// shaft half-width (twips), +38 the seven outline points; the fill block
// follows at +94.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// 86 + name length + 94 + the fill block of the fill kind, stored as the
// record length and returned.
uint32_t shArrowSize(ObjectRecord *rec);
// Rebuilds the seven outline points from the axis and the four parameters;
// nothing when a half-width is not above 0 or the record is too short.
void shArrowOutline(ObjectRecord *rec);
