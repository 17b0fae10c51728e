// The page-number settings of a document (form attribute 8), and where and
// how a page's number is drawn from them.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct PageNumberSettings {
    uint32_t length;        // 80
    uint16_t placement;     // 0 off, 1 top, 2 bottom
    uint16_t horizontal;    // 1 centre, 2 left, 3 right, 4 and 5 alternating
    uint16_t numberStyle;   // 2 and 3 no text, 4 a..z, aa.., 5 A..Z, AA.., else decimal
    uint16_t flags;         // bit 0: not shown when the document has one page
    int16_t offset;         // added to the page number
    LOGFONTA font;
    uint8_t reserved[6];
};
#pragma pack(pop)
static_assert(sizeof(PageNumberSettings) == 80, "page-number settings are 80 bytes");
static_assert(offsetof(PageNumberSettings, font) == 14, "the font at 14");

// Copies the settings when the stored record is 80 bytes long; 1 when it
// was copied and its placement is not 0.
int pgGetNumberSettings(MemHandle form, PageNumberSettings *settings);
// Stores the settings (length 80); null removes them. Returns the form
// valid afterwards.
MemHandle pgSetNumberSettings(MemHandle form, const PageNumberSettings *settings);

// ---- placing and drawing the number ----------------------------------------------------------
// Distance of the number's line from the inset page's edge: 14 points.
const int32_t kPgNumberLineGap = 280;
// The text of a page's number: number + offset in the number style (2 and 3
// no text, 4 a..z, aa.., 5 A..Z, AA.., else decimal) into the buffer;
// its length.
int pgNumberText(const PageNumberSettings *settings, int number, char *buffer, int size);
// The horizontal alignment (AlignWord: 0 left, 1 centre, 2 right) of the
// number of a page by the horizontal style; the alternating styles follow
// the page number itself, not the number shown.
uint16_t pgNumberAlignment(const PageNumberSettings *settings, int number);
// The rectangle of a text of width x height (twips) on the page: at the
// top (placement 1) or bottom (2) line between the inset rectangle and the
// margin rectangle, aligned between the margin rectangle's left and right
// edges. 0 (and an empty rectangle) for any other placement.
int pgPlaceNumber(MemHandle page, int number, const PageNumberSettings *settings, int32_t width,
                  int32_t height, RECT *out);
// 1 when the document shows a number on the page, with its rectangle (the
// text measured in its font on the DC, or on a DC of the window with the
// view mapping when none is given); else 0. Nothing is shown when the
// settings are missing or off, or when the document has one page and
// flag bit 0 is set.
int pgGetNumberRect(HWND window, HDC dc, MemHandle form, MemHandle page, int number, RECT *out);
// Draws the number in black with a transparent background, top-left
// aligned, when it is shown and meets the clip rectangle (none: always).
void pgDrawNumber(HDC dc, MemHandle form, MemHandle page, int number, const RECT *clip);
