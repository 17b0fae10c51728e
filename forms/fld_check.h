// Check boxes (type 44), radio buttons (57) and group boxes (58): the
// shared type part ControlPart, its record size and attributes, the natural
// size of box plus label, the geometry of box and label, and the drawing of
// check boxes and radio buttons.
//
// ControlPart lies after the object's name and is stored in documents; the
// label text (zero-terminated) follows it, then the attribute records. The
// object's length is 86 + name + 80 + label length + attribute bytes.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
struct ControlPart {
    uint16_t flags;         // CKB_...
    uint16_t labelLength;   // bytes with the terminator; 0 = no label
    LOGFONTA font;          // label font; its height (twips) sets the box size
    int16_t labelWidth;     // as last measured by the natural size
    uint32_t tagMask;       // AttrHeader of the attribute records: mask,
    uint16_t attrCount;     //   number of records
    uint16_t attrBytes;     //   and their bytes
    int16_t markStyle;      // check box mark: CKB_MARK_...
    uint8_t reserved76[4];  // carried unchanged
};
#pragma pack(pop)
static_assert(sizeof(LOGFONTA) == 60, "a LOGFONT is 60 bytes in records");
static_assert(sizeof(ControlPart) == 80, "the control part is 80 bytes");
static_assert(offsetof(ControlPart, font) == 4, "label font at +4");
static_assert(offsetof(ControlPart, labelWidth) == 64, "label width at +64");
static_assert(offsetof(ControlPart, tagMask) == 66, "attribute header at +66");
static_assert(offsetof(ControlPart, markStyle) == 74, "mark style at +74");

const uint32_t kCkbPartSize = 80;
const uint32_t kCkbHeaderOffset = 66;   // AttrHeader, from the type part

enum : uint16_t {
    CKB_LABEL_LEFT = 0x0001,    // label at the left, box at the right
    CKB_CHECKED = 0x0002,
    CKB_3D = 0x0004,
    CKB_GROUP_NO_FRAME = 0x1000,   // group box: no frame line
};
enum : int16_t {
    CKB_MARK_CROSS = 1,   // "Default"; 0 is drawn as the cross too
    CKB_MARK_TICK = 2,    // "Check Sign"
    CKB_MARK_CIRCLE = 3,  // "Circle"
};
// Attribute tag of the check box's command pair (checked / unchecked).
const uint32_t kCkbCommandTag = 0x200;
// 3-D look: the box square is at most this tall, and the label keeps clear.
const int32_t kCkb3DBoxMax = 200;

// ---- record size and attributes ------------------------------------------------------
// Computes, stores and returns the length; a record too short for its part
// or whose label and attributes reach past its length keeps a length within
// its block, and the size it needs is returned.
uint32_t ckbCalcRecordSize(ObjectRecord *rec);
uint32_t ckbCalcRecordSizeIn(ObjectRecord *rec, uint32_t blockSize);
uint32_t ckbRecordSizeOf(MemHandle h);   // 0 for no handle
uint32_t ckbEmptyRecordSize();           // 166
// The first attribute record (after the label).
uint8_t *ckbAttrArea(ControlPart *part);
// The type part of a record, null when the record is too short for it.
ControlPart *ckbPart(ObjectRecord *rec);
// A copy of the attribute's data; 0 when the tag's bit is not in the mask
// or the record is missing.
MemHandle ckbGetAttrCopy(MemHandle h, uint32_t tag);
MemHandle ckbGetCommandAttr(MemHandle h);
// Inserts, replaces or (length <= 0) removes the attribute; the mask, count
// and bytes follow, the length is recomputed, a moved record is relinked.
// Returns the valid handle; 0 on failure (the old one unchanged).
MemHandle ckbSetAttr(MemHandle h, uint32_t tag, const void *data, int length);
// Stores the command-pair block (its first u32 is its length) or, for no
// block, removes the attribute.
MemHandle ckbSetCommandAttr(MemHandle h, MemHandle block);
int ckbIsChecked(MemHandle h);
void ckbSetChecked(MemHandle h, BOOL on);

// ---- geometry --------------------------------------------------------------------------
// |h + h / 5|, the natural box size of a label font height.
int32_t fldBoxSizeFromFont(int32_t lfHeight);
// The box square inside the rectangle (in place).
void ckbBoxRect(const ControlPart *part, RECT *rect, int32_t penWidth);
void ckbGetBoxRect(MemHandle h, RECT *rect);
// The label's rectangle (in place).
void ckbLabelRect(const ControlPart *part, RECT *rect, int32_t penWidth);
void ckbGetLabelRect(MemHandle h, RECT *rect);
// The natural rectangle at the object's top-left corner (the label measured
// and its width stored in the part).
void fldCheckMinRect(MemHandle h, RECT *rect);
void fldCheckSetMinRect(MemHandle h);
// Sets the rectangle after growing it to at least the natural width and
// height, left and top kept.
void fldCheckSetRect(MemHandle h, const RECT *rect);
void fldCheckFitRect(MemHandle h);
// A copy of the label; 0 for no handle or an empty label.
MemHandle fldCheckGetLabel(MemHandle h);

// ---- drawing -----------------------------------------------------------------------------
// Both set the pen width to one point (20 twips) first, whatever is stored.
void ckbDraw(HDC dc, ObjectRecord *rec);
void radDraw(HDC dc, ObjectRecord *rec);
