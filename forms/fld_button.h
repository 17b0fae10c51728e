// The push button (type 43): a bevelled face or a picture with a wrapped
// label on top. Its type part ButtonPart lies after the object's name and
// is stored in documents; its attribute records follow the 86-byte head.
// The object's length is 86 + name + the part's own length word (86 + the
// attribute bytes).
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
struct ButtonPart {
    uint32_t length;        // 86 + attrBytes
    int16_t command;        // hyper command code
    uint16_t reserved6;     // carried unchanged
    LOGFONTA font;          // label font
    uint16_t align;         // AlignWord of the label
    uint16_t options;       // carried unchanged
    int16_t faceStyle;      // low byte: ButtonFrameStyle
    uint32_t frameValue;    // corner size of the rounded face (width low, height high)
    uint32_t tagMask;       // attribute tags present; BTN_HAS_LABEL is the label's
    int16_t attrCount;
    uint16_t attrBytes;
};
#pragma pack(pop)
static_assert(sizeof(ButtonPart) == 86, "the button part is 86 bytes");
static_assert(offsetof(ButtonPart, font) == 8, "label font at +8");
static_assert(offsetof(ButtonPart, align) == 68, "alignment at +68");
static_assert(offsetof(ButtonPart, faceStyle) == 72, "face style at +72");
static_assert(offsetof(ButtonPart, frameValue) == 74, "frame value at +74");
static_assert(offsetof(ButtonPart, tagMask) == 78, "tag mask at +78");
static_assert(offsetof(ButtonPart, attrBytes) == 84, "attribute bytes at +84");

const uint32_t kBtnPartSize = 86;
const uint32_t kBtnHeaderOffset = 78;   // AttrHeader, from the type part

// Attribute tags.
enum : uint32_t {
    BTN_TAG_LABEL = 0x2,          // label text, lines joined by LF
    BTN_TAG_ARGUMENT = 0x100000,  // command argument
    BTN_TAG_PICTURE = 0x4000000,  // picture file shown instead of the face
};
const uint32_t BTN_HAS_LABEL = BTN_TAG_LABEL;

// ButtonFrameStyle, the low byte of the face style: 1 "Rectangle (Default)",
// 6 "Recessed Rectangle", 3 "Rounded Rectangle", 4 "Ellipse", 7 "No
// Frame"; 0 is drawn as 1; 2 and 5 draw no face.
enum : uint8_t {
    BTN_FACE_DEFAULT = 0,
    BTN_FACE_RECT = 1,
    BTN_FACE_ROUND = 3,
    BTN_FACE_ELLIPSE = 4,
    BTN_FACE_RECESSED = 6,
    BTN_FACE_NONE = 7,
};

// 86 + name + the part's length word, stored as the length and returned; a
// record too short for its part, or whose stated part reaches past its
// block, keeps a length within its block (the size it needs is returned).
uint32_t btnRecordSize(ObjectRecord *rec);
uint32_t btnRecordSizeIn(ObjectRecord *rec, uint32_t blockSize);
uint32_t btnRecordSizeOf(MemHandle h);
// A button read from a file: its head and label font within the page
// limits, its part inside the record.
BOOL btnReadCheck(const ObjectRecord *rec, uint32_t length);
// The part of a record; null when the record is too short for it and its
// attribute records.
ButtonPart *btnPart(ObjectRecord *rec);

// The face by the face style, 40 twips wide, face in the background colour
// and outline in the pen colour: 0, 1 raised; 6 sunken; 3 rounded with the
// frame value; 4 elliptic; others nothing.
void btnDrawFace(HDC dc, const RECT *rect, const ButtonPart *part, const COLORREF colours[3]);
// The label area: for faces 0, 1, 3, 4 and 6 the rectangle less 40 twips
// on every side, else the rectangle.
void btnFaceTextRect(RECT *rect, const ButtonPart *part);
// The face's shadow: the rectangle less the bevel at the right and bottom,
// moved by the shadow offset, in the shadow colour (faces 0, 1, 6
// rectangles, 3 rounded, 4 ellipse; others none).
void btnDrawShadow(HDC dc, const ButtonPart *part, const RECT *rect);
// The button: shadow, picture (or the missing-picture placeholder) or face,
// then the label.
void btnDraw(HDC dc, ObjectRecord *rec);

// Copies the LOGFONT into the part and re-wraps the label; the valid handle.
MemHandle btnSetFont(HWND window, MemHandle h, const LOGFONTA *font);
// Sets the rectangle and re-wraps the label to the new face width.
MemHandle fldButtonSetRect(MemHandle h, const RECT *rect);
// The label inside the record, left locked; null (record unlocked) when the
// label flag is clear or the label is missing. The caller unlocks h.
const char *btnGetLabelText(MemHandle h);
// A copy of the label; 0 when there is none.
MemHandle fldButtonGetLabel(MemHandle h);
