// The table record: the type data of tables (45) and report tables (54).
//
// A table's type data is one contiguous block: a 122-byte head, a tagged
// attribute block, the column widths, the row heights, one 90-byte cell per
// grid position (row by row), a data-record area and a cell-text area. It is
// stored in documents, on the clipboard and in undo steps byte for byte, so
// every offset here is part of the file format. Accessors take the object's
// handle and lock it only for the call; every one accepts a null handle.
#pragma once
#include "support/qmwin.h"
#include "model/att_attr.h"

struct ObjectRecord;
struct TextHeader;

#pragma pack(push, 1)
struct TableHead {
    uint16_t frameStyle;          // +0 outer frame: low byte kind, high byte line kind
    uint8_t rowMajor;             // +2 cell cursor order: 1 row major, 0 column major
    uint8_t headerColumn;         // +3 draw the header-column line
    uint8_t headerRow;            // +4 draw the header-row line
    uint8_t flags;                // +5 bit 7: vertical table
    int16_t columns;              // +6
    int16_t rows;                 // +8
    uint32_t defaultWidth;        // +10
    uint32_t defaultHeight;       // +14
    uint16_t headerColumnStyle;   // +18 line kind in the high byte, 0x0F: none
    uint32_t headerColumnColour;  // +20
    uint16_t headerRowStyle;      // +24
    uint32_t headerRowColour;     // +26
    int16_t attrBytes;            // +30 16 + the attribute records' bytes
    uint32_t cellBytes;           // +32 columns x rows x 90
    uint32_t dataBytes;           // +36
    uint32_t textBytes;           // +40
    int16_t entryValue;           // +44 handed to the entry-cell dialog
    uint32_t cornerSize;          // +46 rounded frame corner, low width, high height
    uint8_t format;               // +50 3 for tables made by this program
    uint8_t fontUniform;          // +51 bit 0 plain cells, bit 1 entry cells keep the font
    uint8_t reserved52[2];        // +52
    uint16_t borderWord;          // +54 default cell border word
    uint16_t alignWord;           // +56 default cell alignment
    uint16_t editStyle;           // +58 default cell edit style (text flags)
    LOGFONTA font;                // +60 table font
    uint8_t reserved120[2];       // +120
};
// The fixed words of the attribute block that follows the head.
struct TableAttrBlock {
    uint16_t word14;              // +122 14
    uint16_t word6;               // +124 6
    uint32_t zero;                // +126
    AttrHeader header;            // +130 mask, count, bytes of the records from +138
};
struct TableCell {
    uint8_t column;               // +0 own column, or the covering anchor's; 255 template
    uint8_t row;                  // +1
    uint16_t border;              // +2 bits 1 left, 2 right, 4 top, 8 bottom; high byte line kind
    uint16_t align;               // +4
    uint16_t editStyle;           // +6
    uint32_t frameColour;         // +8
    uint32_t foreColour;          // +12
    uint32_t backColour;          // +16
    uint8_t colSpan;              // +20 joined range anchored here; 0 ordinary
    uint8_t rowSpan;              // +21
    LOGFONTA font;                // +22
    int32_t textOffset;           // +82 -1 no text, -2 covered
    int32_t dataOffset;           // +86 -1 no data record
};
struct TableCellData {
    uint16_t type;                // +0 field type code
    uint16_t kind;                // +2 2 with an equation, else 1
    uint32_t format;              // +4 number format or image fit mode
    uint32_t tagMask;             // +8 4: an equation is carried
    uint16_t count;               // +12 attribute records
    int16_t attrBytes;            // +14 n
};
#pragma pack(pop)
static_assert(sizeof(TableHead) == 122, "the table head is 122 bytes");
static_assert(offsetof(TableHead, attrBytes) == 30, "attribute size at +30");
static_assert(offsetof(TableHead, cornerSize) == 46, "corner size at +46");
static_assert(offsetof(TableHead, borderWord) == 54, "border word at +54");
static_assert(offsetof(TableHead, font) == 60, "table font at +60");
static_assert(sizeof(TableAttrBlock) == 16, "the attribute block's fixed part is 16 bytes");
static_assert(sizeof(TableCell) == 90, "a table cell is 90 bytes");
static_assert(offsetof(TableCell, font) == 22, "cell font at +22");
static_assert(offsetof(TableCell, textOffset) == 82, "text offset at +82");
static_assert(sizeof(TableCellData) == 16, "a data record's head is 16 bytes");

const uint32_t kTbHeadSize = 122;
const uint32_t kTbAttrFixed = 16;
const uint32_t kTbAttrRecordsAt = 138;       // from the head's start
const uint32_t kTbAttrHeaderAt = 130;
const uint32_t kTbCellSize = 90;
const uint32_t kTbDataHead = 16;
const int32_t kTbNoText = -1;
const int32_t kTbCovered = -2;
const int32_t kTbNoData = -1;
const uint8_t kTbVerticalFlag = 0x80;
const int kTbMaxGrid = 127;                  // cell positions are signed bytes in the editor
const uint32_t kTbAltRowTag = 0x2000;
const uint32_t kTbColumnRecordsTag = 0x8000;
const uint32_t kTbEquationTag = 4;
const uint16_t kTbColumnListKind = 179;

// The parts of a table's type data, located and checked.
struct TbParts {
    TableHead *head;
    uint32_t *widths;
    uint32_t *heights;
    TableCell *cells;
    uint8_t *data;
    uint8_t *texts;
    uint32_t size;      // bytes of the whole type data
};

// ---- checks --------------------------------------------------------------------------
// Whether n bytes of type data are a sound table: counts between 1 and 127,
// cell area = columns x rows x 90, the areas adding up to n at most, every
// text and data offset inside its area (or -1, -2 for texts), texts ending
// inside the text area and data records fitting the data area. Records
// from files, the clipboard, libraries and undo are checked before use.
BOOL tbCheckPart(const uint8_t *part, uint32_t n);
// The parts of a locked table record within `extent` bytes; FALSE (parts
// zeroed) when the record is not a sound table.
BOOL tbLocate(ObjectRecord *rec, uint32_t extent, TbParts *out);
// A table read from a file: a sound table (tbLocate) whose head, column
// widths, row heights and fonts lie within the page limits.
BOOL tbReadCheck(const ObjectRecord *rec, uint32_t length);

// ---- record queries ------------------------------------------------------------------
BOOL tbIsTable(MemHandle object);
int16_t tbGetColCount(MemHandle object);
int16_t tbGetRowCount(MemHandle object);
// Cells with a data record; 0 for any type but 45.
int tbCountDataCells(MemHandle object);
// 122 + the attribute block's size.
uint32_t tbHeadSize(const TableHead *head);
// The record's size by its parts, stored in its length word and returned.
uint32_t tbObjectSize(ObjectRecord *rec);
uint32_t tbGetObjectSize(MemHandle object);
// The size dispatch's rule: the record's size when its head can be read
// within the block, else the stored length cut to the block.
uint32_t tbRecordSize(ObjectRecord *rec, uint32_t blockSize);
// Whether a face name is a vertical one (it starts with '@').
BOOL tbIsVerticalFace(const char *face);
BOOL tbIsVerticalLayout(const TableHead *head);
BOOL tbIsVerticalObject(MemHandle object);
// Half the width of the outer frame's line.
int32_t tbFrameHalfWidth(const ObjectRecord *rec);

// ---- cells and data records ------------------------------------------------------------
void tbMakeCell(TableCell *cell, int column, int row, uint16_t border, uint16_t align,
                uint16_t editStyle, COLORREF frame, COLORREF fore, COLORREF back,
                int colSpan, int rowSpan, const LOGFONTA *font);
BOOL tbGetCell(MemHandle object, int column, int row, TableCell *out);
BOOL tbPutCell(MemHandle object, int column, int row, const TableCell *cell);
// The cell's data record in a locked record, or null.
TableCellData *tbCellDataPtr(ObjectRecord *rec, uint32_t extent, int column, int row);
uint32_t tbCellDataSize(const TableCellData *record);
MemHandle tbGetCellData(MemHandle object, int column, int row);
// Replaces the cell's record by another one (a handle holding 16 + n bytes);
// later data offsets and head +36 follow a change of size. Returns the
// object's handle, which may have moved; a cell without a record is left.
MemHandle tbReplaceCellData(MemHandle object, int column, int row, MemHandle record);
// The record's equation (tag 4) into the buffer; an empty string when none.
void tbCellDataEquation(const TableCellData *record, char *buffer, uint32_t size);
// The first 80 bytes of an entry-cell description: alignment at +0, the
// record's three words at +6, +8, +12, 64 bytes of the text head at +16.
void tbMakeCellDesc(uint8_t *desc, const TableCellData *record, uint16_t align,
                    const TextHeader *textHead);
// A new record from a description's words at +6, +8, +12 and an equation.
MemHandle tbNewCellData(const uint8_t *desc, const char *equation);
// A text head for the cell's text: its font, edit style as text flags, and
// its alignment word.
void tbCellTextFormat(const TableCell *cell, TextHeader *out);

// ---- the new cell array ------------------------------------------------------------------
// Every width and height to the defaults and every cell a template of the
// head's defaults and the object's colours, with its own position. The
// record must already have its full size.
void tbInitCells(ObjectRecord *rec);
// Sizes a record's grid to a rectangle (a whole number of default cells)
// and sets the object's box from it.
void tbLayoutFromRect(ObjectRecord *rec, const RECT *rect);

// ---- attributes and the edit-a-copy protocol ---------------------------------------------
MemHandle tbCopyData(MemHandle object);
MemHandle tbDataGetAttr(MemHandle copy, uint32_t tag);
MemHandle tbGetAttr(MemHandle object, uint32_t tag);
MemHandle tbDataSetAttr(MemHandle copy, const void *data, int length, uint32_t tag);
MemHandle tbReplaceHead(HWND ws, MemHandle object, MemHandle copy);
MemHandle tbSetAttr(MemHandle object, const void *data, int length, uint32_t tag);

BOOL tbGetAltRow(MemHandle object, COLORREF *colour, int *firstRow);
BOOL tbDataGetAltRow(MemHandle copy, COLORREF *colour, int *firstRow);
BOOL tbHeadAltRow(const TableHead *head, COLORREF *colour, int *firstRow);
MemHandle tbSetAltRow(MemHandle object, BOOL enabled, COLORREF colour, int firstRow);
MemHandle tbDataSetAltRow(MemHandle copy, BOOL enabled, COLORREF colour, int firstRow);

// ---- column records of report tables -------------------------------------------------------
MemHandle tbGetColumnRecords(MemHandle object);
MemHandle tbSetColumnRecords(MemHandle object, MemHandle data);
// The item with the key in a packed list and its index; null when absent.
uint8_t *tbColRecFind(uint8_t *list, uint32_t listSize, uint16_t key, int *index);
MemHandle tbColRecPut(MemHandle list, MemHandle record);
MemHandle tbSetColumnRecord(MemHandle object, MemHandle record);
