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
// The rectangle the arrow covers when drawn: the bounding rectangle of the
// seven outline points moved by the centre, grown on every side by
// (pen width + 1) / 2. The box when the record is too short for the outline.
void shArrowDrawnRect(const ObjectRecord *rec, RECT *r);
// Mirror the arrow in place about its centre: the x (left-right) or the y
// (up-down) of both axis points and of the seven outline points negated.
void shArrowFlipH(ObjectRecord *rec);
void shArrowFlipV(ObjectRecord *rec);
