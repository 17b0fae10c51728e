// The page record: an object record of type 1000 whose type data is the
// 408-byte PageData, followed by the page attributes.
#pragma once
#include "support/qmwin.h"
#include "model/att_attr.h"

enum {
    PG_TYPE = 1000,
    PG_HEAD_SIZE = 86,         // the object head in memory
    PG_DATA_SIZE = 408,
    PG_RECORD_SIZE = 494,      // head + page data, without name and attributes
};

// Head offsets of the object record that a page record uses.
enum {
    PGH_LENGTH = 0, PGH_TYPE = 4, PGH_LAYER = 6, PGH_NAME_LENGTH = 7,
    PGH_CENTRE_X = 8, PGH_CENTRE_Y = 12, PGH_WIDTH = 16, PGH_HEIGHT = 20,
    PGH_PEN_WIDTH = 28, PGH_FILL_KIND = 30, PGH_PEN_COLOUR = 32,
    PGH_FILL_COLOUR = 36, PGH_BACK_COLOUR = 40, PGH_SCALE_X = 44,
    PGH_SCALE_Y = 48, PGH_FLAGS = 52, PGH_LINKS = 58, PGH_LINK_COUNT = 7,
};

#pragma pack(push, 1)
struct PgLayerState {
    uint32_t inUse, edit, hidden;   // handles of the three sets
    uint16_t current;
    uint16_t countInUse, countEdit, countHidden;
};
struct PageData {
    uint16_t pageIndex;
    uint8_t paperCode;
    uint8_t orientation;
    uint16_t unit;
    int32_t twoValues[2];
    int32_t fourValues[4];
    uint16_t gridDivisions;
    uint32_t pageColour;
    uint16_t fourWords[4];
    uint8_t byte44;
    uint8_t byte45;
    PgLayerState layers;
    uint8_t defaultPattern[24];
    uint8_t defaultGradient[40];
    uint8_t shadowStyle[8];
    uint8_t textFormat[122];
    uint8_t fieldFormat[100];
    int16_t objectCount;
    uint32_t bodyBytes;
    uint32_t extrasFlags;
    uint16_t word370;
    uint32_t extrasBytes;
    AttrHeader attrs;
    uint32_t firstObject;    // handle
    uint32_t sideBlock;      // handle
    uint32_t paletteBlock;   // handle
    uint8_t memoryOnly[6];
    uint16_t word402;
    uint16_t word404;
    uint16_t word406;
};
#pragma pack(pop)
static_assert(sizeof(PgLayerState) == 20, "layer state is 20 bytes");
static_assert(sizeof(PageData) == PG_DATA_SIZE, "page data is 408 bytes");
static_assert(offsetof(PageData, layers) == 46, "layer state at 46");
static_assert(offsetof(PageData, word370) == 370, "word 370");
static_assert(offsetof(PageData, attrs) == 376, "page attributes header at 376");
static_assert(offsetof(PageData, word402) == 402, "word 402");

// Fills a 494-byte record with the page defaults: type 1000, layer 1, no
// name, letter size 12240 x 15840 twips centred at half, pen width 20, the
// fill kind and colours of the settings, unscaled, and the PageData
// defaults (the settings' default font in the text and field formats).
// The layer state's sets are left empty with layer 1 current: a page made
// from this one gets its own sets.
void pgInitRecord(uint8_t *record);
// The record size its parts give: 494 + name length + attribute bytes.
uint32_t pgRecCalcSize(const uint8_t *record);
// A page record whose stored sizes can be trusted: type 1000, a name of at
// most 32 bytes ending in its terminator, a length equal to 494 + name +
// attribute bytes and within the block, and an attribute run that fills
// its stated size.
BOOL pgIsValid(MemHandle page);
