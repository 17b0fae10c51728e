// Tagged attributes of entry, list and equation fields: the AttrHeader at
// type data +80, the records from type data +100, the record ending with
// them.
//
// Tags of the field data: 2 the field's text block (a zero-terminated text),
// 0x40000 an 18-byte value, 0x800000 a value whose first u16 is its own
// length.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kFldAttrHeader = 80;     // AttrHeader, from the type data
const uint32_t kFldAttrRun = 100;       // first attribute record

enum : uint32_t {
    ATT_FIELD_TEXT = 0x2,
    ATT_FIELD_40000 = 0x40000,
    ATT_FIELD_800000 = 0x800000,
};
const int kAttField40000Size = 18;

// attSet on the field's header and run without correcting the record's
// length (the field's module recomputes it). `dataOffset` is the record's
// type data offset (86 + name length). Returns the valid handle, 0 on
// failure (the old handle then unchanged).
MemHandle attSetShapeAttr(MemHandle h, uint32_t dataOffset, const void *data, int length,
                          uint32_t tag);
// attSetShapeAttr on an object record, then the field's size recomputed by
// its type (model/ob_dispatch.h objRecordSizeIn within its block) and
// every link that named a moved record relinked. Length 0 removes the tag.
// Returns the valid handle, 0 on failure; 0 also for a record too short to
// carry field attributes.
MemHandle obSetShapeAttr(MemHandle h, uint32_t tag, const void *data, int length);
// The data of the tag in a field's type data of `dataBytes` bytes; null when
// the mask lacks the tag (the run is then not walked), when absent, or when
// the header's run does not fit the bytes or does not add up.
const uint8_t *attFindShapeAttr(const uint8_t *typeData, uint32_t dataBytes, uint32_t tag,
                                int *dataLength = nullptr);
// A copy of the data as a new handle; 0 when absent or empty.
MemHandle attGetShapeAttrCopy(MemHandle h, uint32_t tag);
// Copies the data into a buffer: attCopyShapeAttr at most `max` bytes when
// max > 0 (the rest is cut); attCopyShapeAttrAll the whole value, and only
// when the whole value fits the buffer's `capacity`. 1 when copied; 0 with
// an empty buffer (first byte 0) when absent, empty or, for the All form,
// too big.
int attCopyShapeAttr(const uint8_t *typeData, uint32_t dataBytes, uint32_t tag, void *buffer,
                     int max);
int attCopyShapeAttrAll(const uint8_t *typeData, uint32_t dataBytes, uint32_t tag, void *buffer,
                        int capacity);
// The same on an object record's handle.
int obCopyShapeAttr(MemHandle h, uint32_t tag, void *buffer, int max);
int obCopyShapeAttrAll(MemHandle h, uint32_t tag, void *buffer, int capacity);
// Tag 0x40000: 18 bytes. The getter copies them (1) or zero-fills the
// output (0 when absent or shorter); the setter stores them and returns the
// valid handle (0 on failure).
int obGetShapeAttr40000(MemHandle h, void *out18);
MemHandle obSetShapeAttr40000(MemHandle h, const void *value18);
// Tag 0x800000: the value's first u16 is its own length. The getter gives a
// copy as a new handle (0 when absent); the setter stores as many bytes as
// that length says; a null value, or one whose length does not cover the
// length word, stores the empty value (the length word alone, 2).
MemHandle obGetShapeAttr800000(MemHandle h);
MemHandle obSetShapeAttr800000(MemHandle h, const void *value);
