// Label-sheet layouts: the 178-byte record a label-sheet page keeps (page
// attribute 0x2000000) and the label grid in twips made from it.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct LabelSpec {
    uint32_t length;        // always 178
    uint16_t reserved4;
    uint16_t unit;          // unit code of the six lengths (support/ut_units.h)
    double marginX;         // side margin
    double marginY;         // top margin
    double labelWidth;
    double labelHeight;
    double pitchX;          // from one label's left edge to the next one's
    double pitchY;
    int32_t columns;
    int32_t rows;
    uint16_t orientation;   // 1 portrait, 2 landscape
    uint16_t flags;         // LBL_ENTIRE_SHEET
    uint8_t reserved68[14];
    char maker[64];         // label maker (catalogue section)
    char type[32];          // label type; empty when none was chosen
};
// The grid in twips.
struct LabelLayout {
    int32_t marginX, marginY;
    int32_t labelWidth, labelHeight;
    int32_t pitchX, pitchY;
    int32_t columns, rows;
};
#pragma pack(pop)
static_assert(sizeof(LabelSpec) == 178, "a label-sheet layout is 178 bytes");
static_assert(offsetof(LabelSpec, columns) == 56, "columns at 56");
static_assert(offsetof(LabelSpec, maker) == 82, "maker name at 82");
static_assert(sizeof(LabelLayout) == 32, "a label layout is eight i32");

enum : uint16_t { LBL_ENTIRE_SHEET = 1 };   // the page is the whole sheet

// Each length converted from the record's unit to inches and then to twips
// (times 1440, truncated); columns and rows copied.
void lblSpecToUnits(const LabelSpec *spec, LabelLayout *out);
// The rectangle of one label: 0 when the column or row lies outside the
// grid; else left = x margin + x pitch x column, right = left + label width,
// top and bottom likewise, and 1.
int lblCellRect(const LabelLayout *layout, int32_t column, int32_t row, RECT *rect);
