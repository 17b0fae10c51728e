// The file form of text objects: stored as type 90 with the base font
// narrowed to a 50-byte FontRecord16 and the header rearranged (26 bytes
// shorter in all); read back as type 40.
#pragma once
#include "support/qmwin.h"

const int16_t kTxFileType = 90;
const uint32_t kTxFileFixed = 118;   // box size and file header
const uint32_t kTxOldFileFixed = 76; // the earlier layout stored as type 40

// Registers the converters with the document files' table (at start-up):
// text objects (type 90, and the earlier layout under type 40), Labels
// (checked on reading) and the older type-51 records, read as Labels.
void txRegisterConverters();
