// Label objects (type 138): a text wrapped in a field-style frame with a
// margin, the frame growing downwards to hold it. Type data:
//   0 LOGFONT, 60 u16 AlignWord, 62 u16 frame word, 64 u32 corner size,
//   68 u8 horizontal and 69 u8 vertical margin (points), 70 u32 text
//   length, 74 the text with its terminator.
#pragma once
#include "support/qmwin.h"

struct ObjectRecord;

#pragma pack(push, 1)
struct LabelPart {
    LOGFONTA lf;
    uint16_t align;
    uint16_t frameStyle;
    uint32_t frameCorner;
    uint8_t marginX;
    uint8_t marginY;
    uint32_t textLength;
};
#pragma pack(pop)
static_assert(sizeof(LabelPart) == 74, "the fixed part of a Label is 74 bytes");

const uint32_t kLabelRecordFixed = 161;   // head, fixed part and the terminator

MemHandle txNewLabel(MemHandle h, const LOGFONTA *font, uint16_t align, uint16_t frameStyle,
                     uint32_t corner);
uint32_t txLabelRecordSize(MemHandle obj);
// The dispatch's form over a locked record held in blockSize bytes.
uint32_t txLabelRecSize(ObjectRecord *rec, uint32_t blockSize);
// A Label read from a file: its head and font within the page limits, its
// text inside the record.
BOOL txLabelReadCheck(const ObjectRecord *rec, uint32_t length);
uint32_t txGetLabelTextLength(MemHandle obj);
MemHandle txCopyLabelText(MemHandle obj);
MemHandle txSetLabelText(MemHandle obj, const char *stream);
uint16_t txGetLabelAlign(MemHandle obj);
void txSetLabelAlign(MemHandle obj, uint16_t align);
BOOL txGetLabelFrame(MemHandle obj, uint16_t *frameStyle, uint32_t *corner);
void txSetLabelFrame(MemHandle obj, uint16_t frameStyle, uint32_t corner);
BOOL txGetLabelFont(MemHandle obj, LOGFONTA *font);

MemHandle txSetLabelFont(HWND window, MemHandle obj, const LOGFONTA *font);
MemHandle txSetLabelFontHeight(HWND window, MemHandle obj, int32_t height);
MemHandle txSetLabelStyleAttr(HWND window, MemHandle obj, int code, BOOL on);
int txClearLabelColorCodes(HWND window, MemHandle obj, COLORREF colour, int which);
int txLabelHasAttr(MemHandle obj, int code);

// The inner rectangle of a Label box and its margins (twips).
void txLabelMargins(const RECT *box, const LabelPart *part, int32_t *mx, int32_t *my);
void txLabelInnerRect(RECT *box, const LabelPart *part);

MemHandle txRewrapLabel(HWND window, MemHandle obj);
MemHandle txFitLabelHeight(MemHandle obj);
MemHandle txLabelToText(MemHandle obj);
void txDrawLabel(HDC dc, ObjectRecord *rec);
MemHandle txScaleLabel(MemHandle obj, const RECT *rect);
// A type-51 record becomes a Label in place; other records are returned.
MemHandle txConvertOldLabel(MemHandle obj);
