// Entry field boxes and field text: the heights of entry, list and equation
// fields (types 41, 42, 124) follow their font and their number of lines;
// their text (attribute 2) is measured and laid out to the box width
// through a temporary text object. Also the vertical-text switch of text
// formats and the two string utilities of linked data references.
//
// A field "format" here is the field's type data: the font (LOGFONT) of its
// text at +16 and its flags at +76, as EntryFieldPart lays them out. A text
// "format" is the LOGFONT followed by the 32-bit flags (TextHeader's start).
#pragma once
#include "support/qmwin.h"

// The margin above and below a field's text, and a single line's extra.
const int32_t kFldMinFrameMargin = 80;
const int32_t kFldSingleLineExtra = 160;

// Line height (height + external leading) of the field format's font on the
// printer reference context (a screen context at 100 % when there is none),
// plus 160.
int32_t obFieldLineHeight(const void *format);
// rect.right = left + n x the font's average character width (screen);
// rect.bottom = top + obFieldLineHeight.
void obTextBoxSize(const void *format, int n, RECT *rect);
// textHeight + 2 x max(frame half width, m): m = 80; for the rounded frame
// (kind 3) max(80, corner height / 4); for kinds 4 and 13 textHeight / 2.
int32_t obFieldHeightForText(MemHandle field, int32_t textHeight);
// An entry field that shows one line gets bottom = top + obFieldLineHeight.
// 1 when it was such a field.
int obFitSingleLineField(MemHandle field);
// The tree below (members, next members, attached) first, then the object
// itself; groups and chains then refit their boxes to their members.
void obTreeFitSingleLineFields(MemHandle h);
// As the two above, and the width becomes 1.5 x characters x the average
// character width.
int obSizeSingleLineField(MemHandle field);
void obTreeSizeSingleLineFields(MemHandle h);
// Sizes the field for n lines (fewer than 2 count as 1; a single-line field
// always 1): the height for n line advances, the bottom moved. 1 when the
// height changed.
int obSetFieldLines(MemHandle field, int n);
// The lines that fit the frame's inner height (rounded, at least 1).
int obGetFieldLines(MemHandle field);
// A temporary text object (type 40) with the field's inner rectangle,
// font, alignment, colours and text; background mode 2 when the field is
// filled, else 1. The caller frees it (obFreeTree). 0 on failure.
MemHandle obFieldMakeTextObject(MemHandle field);
// When the field's text needs more height than its inner rectangle has,
// the bottom grows by the difference. 1 when it grew.
int obFitFieldToText(MemHandle field);
// Breaks the field's text into lines for its inner width on the measuring
// context of the window, stores it again (the record size recomputed) and
// fits the field to it. Returns the handle valid afterwards; a field
// without text is left as it is.
MemHandle obReflowAttachedText(HWND window, MemHandle field);

// Box width / columns for the comb frames (kinds 8 to 11) with columns in
// the high 16 bits of the frame value; else 0.
int32_t obFieldColumnWidth(MemHandle field);
// The data type at +92 is numeric.
BOOL obFieldIsNumeric(MemHandle field);
// Entry field: tag 4 present; equation field: 1; else 0.
BOOL obFieldHasTag4(MemHandle field);
// Sets or clears bit 0x20 of the list flags at type data +96.
void obFieldSetFlag20(void *data, BOOL on);
// The data kind (+6) is numeric, bits 28 and 0 of the flags are set and the
// style bits 2-4 of +0 give 4.
BOOL obFieldIsSpacedNumber(const void *data);

// A text format is vertical when its face is a vertical ("@") face and bit
// 0x80 of its flags is set. Setting fills the vertical metrics (escapement
// and orientation 2700), clearing zeroes them; 1 when the state changed.
BOOL obIsVerticalText(const void *format);
int obSetVerticalText(void *format, BOOL on);
// The same on a text object.
BOOL obIsVerticalTextObject(MemHandle text);
int obSetVerticalTextObject(MemHandle text, BOOL on);

// New string "a\nb" with the section name b trimmed; a alone when b is
// empty.
MemHandle obJoinLines(const char *a, const char *b);
// Splits "file\nsection" (or "file,section" when there is no newline): the
// section becomes a trimmed string handle (may be 0 when empty); the file
// an absolute path in baseFolder when it names no folder and a base is
// given, else the file part unchanged. 1 when a file handle was made; 0 for
// an empty text.
int obSplitFileRef(const char *baseFolder, const char *text, MemHandle *fileOut,
                   MemHandle *sectionOut);
