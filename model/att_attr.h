// Tagged attributes: a run of {u32 tag, i16 length, data} records at a
// fixed offset of their owner's block, the owner's bytes ending with the
// run, behind an AttrHeader that holds the mask of the tags present, the
// record count and the run's byte size.
#pragma once
#include "support/qmwin.h"

#pragma pack(push, 1)
struct AttrHeader {
    uint32_t tagMask;   // OR of the tags present (one bit each)
    uint16_t count;     // number of records
    uint16_t size;      // bytes of all records together
};
struct AttrRecord {
    uint32_t tag;
    int16_t length;     // bytes of data that follow
};
#pragma pack(pop)
static_assert(sizeof(AttrHeader) == 8, "attribute header is 8 bytes");
static_assert(sizeof(AttrRecord) == 6, "attribute record head is 6 bytes");

// Largest value and largest run: the record's length is an i16 and the
// header's size a u16.
const int kAttMaxValue = 0x7FFF;
const uint32_t kAttMaxRun = 0xFFFF;

// Lookups walk the run by its stored lengths. The plain forms are for runs
// the caller has checked (attCheckRun, attIsValidOwner); the ...In forms
// take the run's byte size and find nothing in a run that does not add up
// (they run while drawing, so they refuse silently).
// The first record with the tag among `count` records; null when absent.
const uint8_t *attFind(const void *records, int count, uint32_t tag);
const uint8_t *attFindIn(const void *records, int count, uint32_t size, uint32_t tag);
// The data of that record; null when absent. dataLength (optional) gets its
// length.
const uint8_t *attGetData(const void *records, int count, uint32_t tag,
                          int *dataLength = nullptr);
const uint8_t *attGetDataIn(const void *records, int count, uint32_t size, uint32_t tag,
                            int *dataLength = nullptr);
// New handle with a copy of the data; 0 when absent or empty.
MemHandle attGetCopy(const void *records, int count, uint32_t tag);
MemHandle attGetCopyIn(const void *records, int count, uint32_t size, uint32_t tag);
// A text value as a new string handle one byte longer than the data, so
// that it ends even when the stored terminator was lost; 0 for no data.
MemHandle attTextCopy(const uint8_t *data, int length);
// The stored length of a text value (its characters and terminator); 0
// for a null or empty text (the value is then removed), -1 for one too
// long for a record.
int attTextLength(const char *text);
// True when `count` records fill exactly `size` bytes, none with a negative
// length: a run read from a file is walked only after this test.
BOOL attCheckRun(const void *records, uint32_t count, uint32_t size);
// True when a record read from a file can be trusted with its attributes:
// its leading u32 length equals runOffset + the run size of the header at
// headerOffset and lies within the block, and the run passes attCheckRun.
BOOL attIsValidOwner(const void *owner, uint32_t blockSize, uint32_t headerOffset,
                     uint32_t runOffset);
// Removes the record with the tag and, when length is not 0 and data is
// given, appends {tag, length, data} at the end of the run (a replaced
// value therefore moves to the end); count and size follow. The block grows
// first, so a failure changes nothing; it never shrinks, except that a
// block left with no byte at all (run at offset 0, nothing left) is freed
// and 0 returned. Returns the handle valid afterwards; 0 when the handle
// was 0 and nothing is added, on allocation failure, for a value the run
// cannot hold (above 32767 bytes, or a run above 65535 bytes), and for a
// damaged run: one whose records do not fill its size exactly or that
// reaches past the block is refused with "Read error".
MemHandle attReplaceRecord(MemHandle h, uint32_t runOffset, uint16_t *count, uint16_t *size,
                           const void *data, int length, uint32_t tag);
// attReplaceRecord driven by the AttrHeader at headerOffset: writes count
// and size back, sets the tag's bit when length >= 1 and clears it
// otherwise, and with adjustLength corrects the owner's leading u32 length
// by the change of size (an owner whose length does not reach the run's
// end, or reaches past its block, is refused with "Read error"). Returns
// the valid handle, 0 on failure (the old handle then unchanged).
MemHandle attSet(MemHandle h, BOOL adjustLength, uint32_t headerOffset, uint32_t runOffset,
                 const void *data, int length, uint32_t tag);
