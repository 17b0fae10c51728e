// Entry, list and equation fields (types 41, 42, 124; type 51 draws the
// same way): the 100-byte EntryFieldPart behind the name, its record size,
// drawing (shadow, fill, dividing rules, text, border), resizing, fonts,
// conversions between entry and list fields, and the rules that tie the
// data type to the display flags.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
struct EntryFieldPart {
    uint16_t align;          // AlignWord: 0x103 horizontal, 0x1C vertical (4 top, 8, 16)
    uint16_t frameStyle;     // FieldFrameStyle
    int16_t maxChars;        // -1: no limit
    uint16_t dataType;       // FieldTypeCode; 7 for an equation field
    int16_t mode;            // 2 for an equation field, else 1
    uint16_t options;
    uint32_t displayFormat;  // NumberFormat, or the picture fit mode
    LOGFONTA font;
    uint32_t flags;          // ENT_ flags
    uint32_t tagMask;        // AttrHeader: mask, count, bytes
    uint16_t attrCount;
    uint16_t attrBytes;
    uint32_t frameValue;
    uint16_t carried;
    uint16_t ruleSpacing;    // extra space between ruled lines, tenths of a point
    uint32_t listFlags;      // ENT_LIST_ flags
};
#pragma pack(pop)
static_assert(sizeof(EntryFieldPart) == 100, "the entry field part is 100 bytes");

enum : uint32_t {
    ENT_MULTILINE = 0x1,
    ENT_MULTILINE_COPY = 0x8,
    ENT_DISPLAY_BITS = 0x30,
    ENT_VERTICAL = 0x80,
    ENT_VERTICAL_FACE = 0x800,
    ENT_RULES = 0x10000000,
    ENT_LIST_DROP_BUTTON = 0x8,
    ENT_LIST_FIELD = 0x20,
};
// Attribute tags of a field.
enum : uint32_t {
    ENT_TAG_SQL = 1,
    ENT_TAG_TEXT = 2,
    ENT_TAG_EQUATION = 4,
    ENT_TAG_LIST_ITEMS = 64,
    ENT_TAG_VALIDATION = 1024,
    ENT_TAG_LIST_FILE = 2048,
    ENT_TAG_RULE_STYLE = 0x40000,
    ENT_TAG_DB_LINK_EXT = 0x800000,
    ENT_TAG_DB_LINK = 0x1000000,
};

// The part of a locked record; null when the record is too short for it.
EntryFieldPart *entPart(ObjectRecord *rec);

// 86 + name length + 100 + attribute bytes, stored as the record's length
// and returned; 0 (nothing stored) for a record too short for its part or
// whose stated attributes reach past its block.
uint32_t entRecordSize(ObjectRecord *rec, uint32_t blockSize);
// A field read from a file: its head and font within the page limits, its
// part and attribute records inside the record.
BOOL entReadCheck(const ObjectRecord *rec, uint32_t length);
uint32_t entRecordSizeOf(MemHandle field);

// The flags that follow a data type: types 3 and 31 set 0x10 and 0x20 and
// copy the multi-line bit 0x1 into 0x8; type 14 clears 0x10 and 0x20 and
// copies 0x1 into 0x8; every other type sets 0x10 and 0x20 and clears 0x1
// and 0x8.
uint32_t entStyleFlags(uint32_t flags, uint16_t type);
// On: data type 7, the word at +8 becomes 2 and the flags follow the type;
// off: the word at +8 becomes 1.
void entSetEquationStyle(uint8_t *part, BOOL on);
// A new data type with its rules: the flags follow it, type 14 is multi-line
// without a length limit, the display format becomes the type's default.
void entSetDataType(uint8_t *part, uint16_t type);

// Whether the dividing rules are drawn: a text-like type, the rules and
// multi-line flags, top alignment.
BOOL entRulesApply(const EntryFieldPart *part);
// The line advance of ruled text: |font height| + a third of it + the extra
// space (tenths of a point as twips).
int32_t entRuleAdvance(const EntryFieldPart *part);

void entDraw(HDC dc, ObjectRecord *rec);
void entDrawHandle(HDC dc, MemHandle field);
// Draws the field's text into its text area on the rules when they apply.
void fldDrawFieldText(HDC dc, const EntryFieldPart *part, const RECT *rect,
                      const COLORREF colours[3], const char *text);

// Resizing from the dispatcher: a rounded frame's packed corner is scaled,
// any other frame loses its frame value; the text is laid out again.
// Returns the handle valid afterwards.
MemHandle entSetRect(MemHandle field, const RECT *rect);
MemHandle entSetFont(HWND window, MemHandle field, const LOGFONTA *font);
// 1 when the rules flag changed.
int entSetRules(MemHandle field, BOOL on);
// The frame value inside the record, which stays locked: the caller calls
// utUnlock(field) when done. Null (nothing locked) for a record too short.
uint32_t *entGetFrameValue(MemHandle field);
// The text area: the box shrunk by the frame, the drop-down button aside.
BOOL entTextRect(MemHandle field, RECT *rect);
// Entry field to list field: list flag 0x20, the database links removed.
MemHandle entToListField(MemHandle field);
// List field to entry field: the SQL, list file and list items removed.
MemHandle entToEntryField(MemHandle field);
