// Records that state their own size: the page inset (1006) and the image
// file object (78) keep the length of their type data in its first u32.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// 86 + name length + the u32 at the start of the type data, stored as the
// record length and returned. The stated length is believed only when it
// covers at least itself and lies within the block (blockSize; 0: the stored
// length); otherwise the record keeps its stored length, cut to the block.
uint32_t shSelfSizedRecordSize(ObjectRecord *rec, uint32_t blockSize);
