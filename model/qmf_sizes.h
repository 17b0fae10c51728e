// Bytes that records take in a document file, for the page directory's
// sizes and the free-space estimate before saving.
#pragma once
#include "support/qmwin.h"

// The file bytes of one record: the length of its file form as its type's
// converter builds it (its length recomputed by its type first); 0 for a
// type without a file form.
uint32_t obFileRecordSize(MemHandle h);
// sum + the file bytes of the object's record, its extra data packet, and
// the trees of its next member, first member and attached object.
uint32_t obTreeFileSize(MemHandle h, uint32_t sum);
// The file bytes of every top-level tree of a list.
uint32_t obListFileSize(MemHandle first);
// The page's file size: its record tree, the extras (layer state, palette
// and side blocks) and its object list. The record's length, its extras
// flags (2 always; 64 and 0x100 exactly when the palette and side blocks
// exist) and its body and extras bytes are brought up to date. 0 for no
// page.
uint32_t pgCalcFileSize(MemHandle page);
