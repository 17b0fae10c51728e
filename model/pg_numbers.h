// The page-number settings of a document (form attribute 8).
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
