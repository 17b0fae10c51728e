// The fixed part of a text object's type data (also the layout of a page's
// default-text property): base font, flags, paragraph settings, frame,
// borders, tab and stream sizes, columns.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct TextHeader {
    LOGFONTA lf;              // 0: base font
    uint32_t flags;           // 60: TextFlags
    uint16_t align;           // 64: AlignWord of the whole text
    uint8_t bkMode;           // 66: 2 fills the background
    uint8_t spacing;          // 67: quarter lines, 0 = 4
    uint16_t frameStyle;      // 68: low byte frame kind, high byte line kind
    uint32_t frameCorner;     // 70: rounded frame corner, low width, high height
    uint8_t borderX;          // 74: horizontal border offset, points
    uint8_t borderY;          // 75: vertical border offset, points
    uint32_t tabCount;        // 76
    int32_t tabSpacing;       // 80: default tab spacing, <= 0 means 720
    uint32_t streamLength;    // 84: terminator included, 0 for no text
    uint16_t columns;         // 88
    uint16_t divider;         // 90: column divider line style (high byte)
    uint16_t formatFlags;     // 92: copied into CharFormat.flags
    uint16_t charSpacing;     // 94: tenths of a point
    int32_t originX;          // 96: text origin from the centre (curved text)
    int32_t originY;          // 100
    int16_t ruledPenStyle;    // 104
    uint16_t ruledExtra;      // 106: tenths of a point
    uint16_t cellWidth;       // 108: fixed cell width, twips
    uint8_t reserved[12];     // 110
};
#pragma pack(pop)
static_assert(sizeof(TextHeader) == 122, "TextHeader is 122 bytes");

// TextFlags.
enum : uint32_t {
    TXF_WRAP_LOW = 0x1,
    TXF_FRAME_BOUND = 0x2,
    TXF_WRAP = 0x8,
    TXF_SINGLE_LINE = 0x10,
    TXF_SELECT_ALL = 0x40,
    TXF_VERTICAL = 0x80,
    TXF_RTL = 0x800,
    TXF_EDIT_OPT1 = 0x1000,
    TXF_EDIT_OPT2 = 0x2000,
    TXF_FRAME_BOUND2 = 0x4000,
    TXF_ORIGIN = 0x1000000,
    TXF_ON_NODES = 0x2000000,
    TXF_ON_CURVE = 0x4000000,
    TXF_RULED = 0x10000000,
    TXF_PLAIN = 0x40000000,
};

// AlignWord.
enum : uint16_t {
    TXA_LEFT = 0, TXA_CENTRE = 1, TXA_RIGHT = 2, TXA_JUSTIFY = 0x100, TXA_HMASK = 0x103,
    TXA_TOP = 4, TXA_VCENTRE = 8, TXA_BOTTOM = 16, TXA_VMASK = 0x1C,
};
