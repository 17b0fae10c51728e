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
