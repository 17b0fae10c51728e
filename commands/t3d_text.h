// The 3D Text record (type 39): the accessors the drawing and the bounds
// need. Type data: +0 u32 size with the attribute area, +6/+10 i32 bounds
// width and height, +14/+18 i32 shadow depths, +30 LOGFONT, +114 u32 tag
// mask, +118 u32 attribute count, +122 u32 attribute area size, +126 the
// attribute area (the text is the field of tag 1, with its terminator).
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kT3dFontAt = 30;
const uint32_t kT3dAttrAt = 126;

// The text of tag 1, or null (no field, an area or field passing the type
// data's size, a text without its terminator, or an empty one).
const char *t3dGetText(const uint8_t *typeData);
// |LOGFONT height| / 8.
int32_t t3dMargin(const uint8_t *typeData);
// The text measured in its font, widened by the shadow depths (a negative
// one on the left or top, a positive one on the right or bottom), grown by
// the margin and centred on the record's centre. 1 when the record has a
// text, else 0 and nothing written.
int t3dCalcExtent(const ObjectRecord *rec, RECT *out);
