// Page records: a page is an object record of type 1000 whose type data
// (PageData, 408 bytes) heads the page's object list, followed by the page
// attributes. Here: their release, their object list, their attributes and
// their names.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/lbl_spec.h"

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

// ---- the object list ----------------------------------------------------------------
MemHandle pgGetFirstObject(MemHandle page);
// Makes the object the first of the list (its previous link cleared).
void pgSetFirstObject(MemHandle page, MemHandle first);
MemHandle pgGetLastObject(MemHandle page);
// Clears the object's list and owner links (previous, next, parent, next
// member), then links it after the last object or makes it the first; its
// first-member link, attached object and extra data are kept, so a group
// keeps its members.
void pgAppendObject(MemHandle page, MemHandle object);
// Links a list after the last object (or makes it the list), its own links
// kept.
void pgAppendObjects(MemHandle page, MemHandle first);

// ---- attributes ------------------------------------------------------------------------
// A copy of an attribute's data in a new handle; 0 when absent or empty.
MemHandle pgGetAttrCopy(MemHandle page, uint32_t tag);
// Stores the data as the attribute (length 0 removes it), the record's
// length recomputed first. Returns the page valid afterwards (links to a
// moved page are relinked); 0 on failure, the old handle then unchanged.
MemHandle pgSetAttr(MemHandle page, uint32_t tag, const void *data, int length);
// Text attributes: a new terminated string, null when absent; a null or
// empty text removes.
MemHandle pgGetTextAttr(MemHandle page, uint32_t tag);
MemHandle pgSetTextAttr(MemHandle page, uint32_t tag, const char *text);
MemHandle pgGetText80000(MemHandle page);
MemHandle pgSetText80000(MemHandle page, const char *text);
MemHandle pgGetText100000(MemHandle page);
MemHandle pgSetText100000(MemHandle page, const char *text);
MemHandle pgGetText10000000(MemHandle page);
MemHandle pgSetText10000000(MemHandle page, const char *text);
// Blocks (tags 16, 128, 0x20000000): copies; the length-prefixed ones are
// stored with their own u32 length (a null handle removes).
MemHandle pgGetAttr16(MemHandle page);
MemHandle pgGetBlock128(MemHandle page);
MemHandle pgSetBlock128(MemHandle page, MemHandle block);
MemHandle pgGetBlock20000000(MemHandle page);
MemHandle pgSetBlock20000000(MemHandle page, const void *data, int length);
// The 178-byte label-sheet layout; 0 (the buffer untouched) without one.
int pgGetLabelLayout(MemHandle page, LabelSpec *spec);

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

// ---- names ---------------------------------------------------------------------------------
// The page name (the name attribute, else the record's object name) inside
// the locked page; null (nothing locked) when it has none. After a hit the
// caller calls pgUnlock.
const char *pgGetName(MemHandle page);
void pgUnlock(MemHandle page);
// The name as a new string; null when it has none.
MemHandle pgGetNameCopy(MemHandle page);
// "%d. " and the name as a new string ("1. Cover").
MemHandle pgGetNumberedName(MemHandle page, int n);
// The name into a buffer of `max` bytes, cut to fit; its length.
int pgCopyName(MemHandle page, char *buffer, int max);
// Stores the name attribute and clears the record's object name; an empty
// text removes the name. Returns the page valid afterwards, 0 on failure.
MemHandle pgSetName(MemHandle page, const char *text);
// The text up to its first line feed into `first` and what follows it into
// `rest` (empty when there is none), each cut to its buffer's size.
void utSplitFirstLine(const char *text, char *first, uint32_t firstSize, char *rest,
                      uint32_t restSize);
