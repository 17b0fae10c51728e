// Page records: a page is an object record of type 1000 whose type data
// (PageData, 408 bytes) heads the page's object list.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kPgDataSize = 408;
const uint32_t kPgRecordSize = 494;   // head + PageData, no name, no attributes

// Offsets within PageData.
enum : uint32_t {
    PGD_LAYER_IN_USE = 46,    // LayerState: in-use, edit and hidden set handles
    PGD_LAYER_EDIT = 50,
    PGD_LAYER_HIDDEN = 54,
    PGD_ATTR_HEADER = 376,    // AttrHeader of the page attributes
    PGD_ATTR_SIZE = 382,      // u16 size of the attribute records (header at +376)
    PGD_FIRST_OBJECT = 384,
    PGD_SIDE_BLOCK = 388,
    PGD_PALETTE_BLOCK = 392,
};

// 494 + name length + the bytes of the page attributes.
uint32_t pgRecCalcSize(const ObjectRecord *rec);
// Frees a list of page records along next, each with its attached tree, its
// object list, its layer sets, its side and palette blocks and extra data.
void pgFreeList(MemHandle first);

// Page attribute tag 64: a flag whose presence is the value.
const uint32_t kPgFlag64 = 64;
const int kPgFlag64Size = 20;   // the stored value: u32 20, then zeros
// 1 when the page carries the flag attribute (0 for no page, or a page whose
// attributes do not add up).
int pgHasFlag64(MemHandle page);
// Adds the flag (a 20-byte value whose first u32 is 20) when `on` and it is
// absent; removes it when not `on` and present; the record's length follows.
// Returns the page handle valid afterwards (links to a moved page are
// relinked), 0 on failure with the old handle unchanged.
MemHandle pgSetFlag64(MemHandle page, BOOL on);
