// The rules: two-point line objects drawn as a three-dimensional groove or
// ridge, type 411 (horizontal) and type 412 (vertical); type 414 ("Horz
// Rule") shares their record and draws nothing. Type data, 18 bytes: i16
// count (2), then two points (i32 pairs) relative to the centre. The pen
// width field is the half-thickness w of the rule; a fill kind byte of 11
// marks a sunken rule, any other a raised one; the pen colour is not used.
// Points, bounds and rescaling are those of the point shapes.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kShRuleGeometry = 18;
const uint8_t kShRuleSunken = 11;

// 86 + name + 18 for all three types, stored and returned.
uint32_t shRuleSize(ObjectRecord *rec);
// 411 horizontally from the first point's x to the second's at the first
// point's y; 412 vertically at the first point's x; 414 nothing. The base
// colour is white.
void shRuleDraw(HDC dc, ObjectRecord *rec);
// The band of half-height w about the line y from x1 to x2: the left and
// top edges in the first colour, then the right and bottom edges in the
// second. With base colour c: colour A is black (0xE0E0E0 for a black
// base), colour B 0x404040 (0x202020 for a base of 0x404040); raised draws
// B then A, sunken A then B. Each part has its own pen of the line style.
void shRule3DHorizontal(HDC dc, int32_t x1, int32_t x2, int32_t y, uint16_t lineStyle, int32_t w,
                        COLORREF base, BOOL sunken);
// The same band about the line x from y1 to y2: the left and y1 edges in
// the first colour, the right and y2 edges in the second.
void shRule3DVertical(HDC dc, int32_t y1, int32_t y2, int32_t x, uint16_t lineStyle, int32_t w,
                      COLORREF base, BOOL sunken);
