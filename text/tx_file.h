// The file form of text objects: stored as type 90 with the base font
// narrowed to a 50-byte FontRecord16 and the header rearranged (26 bytes
// shorter in all); read back as type 40.
#pragma once
#include "support/qmwin.h"

const int16_t kTxFileType = 90;
const uint32_t kTxFileFixed = 118;   // box size and file header
const uint32_t kTxOldFileFixed = 76; // the earlier layout stored as type 40

struct ObTypeProcs;

// Sets the file forms of a type record (model/ob_types.h): text objects
// (written as type 90, the earlier layout read under type 40) and Labels
// (checked on reading). The older type-51 records are read as Labels by
// the field module. Other types are left alone.
void txSetFileForm(int16_t type, ObTypeProcs *procs);
