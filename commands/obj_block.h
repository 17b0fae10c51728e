// Object blocks: one object tree (an object with its extra data, its
// members and its attached object, recursively) written into a single
// memory block with no handles inside, and rebuilt from it into live
// object records. The undo keeps the state of an object before a change
// this way; the clipboard, the object library and the table object move
// objects with it; a user object embeds its content as a tagged block.
//
// An entry of a block is, in order: the object's file record (its own u32
// length first, the seven links as u16 presence flags; a record that the
// document writer keeps whole keeps u32 link fields, holding 0 or 1 here so
// that no handle is left in the block), the extra data
// packet when its flag is set (its own u32 length first), the entry of the
// next member, the entry of the first member and the entry of the attached
// object, each when its flag is set. The reader follows the same order.
//
// Every length read from a block is checked against the bytes left in it
// (the block's total and its real size). A block that does not hold what
// it says is refused whole: "Input file data error" once, nothing of it
// kept, result 0.
#pragma once
#include "support/qmwin.h"
#include <vector>

enum : uint16_t {
    OBJ_BLOCK_TAG_KIND = 88,      // kind word of a tagged block
    OBJ_TEXT_PAIR_KIND = 207,     // kind word of a check box's text pair
};
enum : UINT {
    IDS_INPUT_DATA_ERROR = 5202,  // "Input file data error"
    IDS_PRESS_OK = 5000,          // "Press OK button to continue"
};

#pragma pack(push, 1)
// The head of an object block; the root entry follows.
struct ObjectBlockHead {
    uint32_t total;   // bytes of the block, this word included
};
// The head of a tagged block; the root entry follows.
struct TaggedObjectBlockHead {
    uint32_t total;   // bytes of the block, this word included
    uint16_t kind;    // OBJ_BLOCK_TAG_KIND
};
// The two texts of a check box's property dialog; the texts follow back
// to back, without terminators.
struct TextPairRecord {
    uint32_t total;   // 18 + first + second
    uint16_t kind;    // OBJ_TEXT_PAIR_KIND
    uint16_t firstLength;
    uint16_t secondLength;
    uint8_t zero[8];
};
#pragma pack(pop)
static_assert(sizeof(ObjectBlockHead) == 4, "an object block starts with its u32 total");
static_assert(sizeof(TaggedObjectBlockHead) == 6, "a tagged block's entry starts at 6");
static_assert(sizeof(TextPairRecord) == 18, "a text pair's texts start at 18");

// ---- packing and unpacking ----------------------------------------------------------------
// A new block holding the object's tree; 0 for no object, when the object
// itself has no file form, or when memory runs out. Objects of a type
// without a file form inside the tree are left out together with what
// hangs below them, and so is their presence flag: the member chain skips
// them. The tree is not changed.
MemHandle objPackTree(MemHandle object);
// The tree rebuilt from a block: a new root that the caller owns (its
// previous and next links empty, no parent), 0 when the block is null or
// does not hold a whole, valid tree. The block stays the caller's.
MemHandle objUnpackTree(MemHandle block);
// The tree of a block handed over as bytes (the clipboard's): only
// `available` bytes may be read; a total claiming more is refused with
// "Input file data error".
MemHandle objUnpackTreeAt(const void *block, uint32_t available);
// The same with the kind word 88 after the total.
MemHandle objPackTreeTagged(MemHandle object);
// The tree of a tagged block; 0 (without a message) when its kind word is
// not 88, else as objUnpackTree.
MemHandle objUnpackTagged(MemHandle block);
// A tagged block inside another record: `available` bytes may be read
// from the address (the block's total is checked against them).
MemHandle objUnpackTaggedAt(const void *block, uint32_t available);

// ---- the steps (exposed for the tests and for callers packing in place) ------------------
// Writes the entry of one object and every entry it links to, in block
// order, at the end of `out`. FALSE when memory runs out or the object has
// no file form.
BOOL objPackEntry(MemHandle object, std::vector<uint8_t> &out);
// The file record of one object, as it stands, at the end of `out`; FALSE
// for a type without a file form or when it cannot be built.
BOOL objPackRecord(MemHandle object, std::vector<uint8_t> &out);
// Copies a length-prefixed packet (as many bytes as its first u32 says,
// never past its block); FALSE for a packet whose length word is below 4
// or past its block.
BOOL objPackPacket(MemHandle packet, std::vector<uint8_t> &out);

// A cursor over the bytes of a block being read.
struct ObjBlockReader {
    const uint8_t *bytes;
    uint32_t pos;     // next byte to read
    uint32_t limit;   // bytes that may be read (the block's total, never past its real size)
};
// Reads the entry at the cursor and every entry it links to; the new root
// gets `parent`. 0 (the partial tree freed, no message) when any of it
// cannot be read.
MemHandle objUnpackEntry(ObjBlockReader *reader, MemHandle parent);
// Checks the file record at the cursor against the bytes left and converts
// it; its presence flags go to flags[7] (extra, previous, next, parent,
// first member, next member, attached). 0 on failure.
MemHandle objUnpackRecord(ObjBlockReader *reader, uint16_t flags[7]);
// Copies the extra data packet at the cursor into a new handle; 0 for a
// length word below 4 or past the bytes left.
MemHandle objUnpackExtra(ObjBlockReader *reader);

// ---- the text pair of a check box -------------------------------------------------------
// Builds the record in the given handle (grown as needed; a new one for 0)
// from two string handles, which stay the caller's. Both texts empty: the
// given handle is freed and the result is 0; when memory runs out the
// given handle is freed as well and the result is 0.
MemHandle objMakeTextPair(MemHandle record, MemHandle first, MemHandle second);
// A new terminated string with the first or second text; 0 for no record,
// an empty text, or a record that does not hold what it says.
MemHandle objTextPairFirst(MemHandle record);
MemHandle objTextPairSecond(MemHandle record);
