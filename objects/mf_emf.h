// The enhanced metafile object (type 293): an enhanced metafile's bytes kept
// in the document and played into the object's box.
//
// Type data: +0 i32 box width (twips), +4 i32 box height, +8 the metafile's
// bytes as GetEnhMetaFileBits gives them. The record length is
// 86 + name + 8 + the metafile's byte count.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kMfEmfFixed = 8;   // the box size before the bytes

// Whether the bytes hold an enhanced metafile whose records the player can
// walk safely: a header record with the signature, the byte count and a
// record count the records agree with, its description inside it; every
// record at least 8 bytes, a multiple of 4 and inside the bytes, the
// point, polygon, text, region and bitmap records holding what their
// counts and offsets say, every handle-table slot a record names inside
// the header's handle count; the end record last. Checked before every play or
// enumeration of stored or imported bytes.
BOOL mfEmfRecordsValid(const uint8_t *bytes, uint32_t count);
// A record read from a file: its head and stored box within the page
// limits, its bytes a metafile mfEmfRecordsValid accepts.
BOOL mfEmfReadCheck(const ObjectRecord *rec, uint32_t length);
// A new HENHMETAFILE of the stored bytes (the caller deletes it); 0 for a
// record of another type or one whose stored bytes do not hold a whole
// metafile whose records mfEmfRecordsValid accepts.
HENHMETAFILE mfEmfHandle(const ObjectRecord *rec);
HENHMETAFILE mfEmfHandleH(MemHandle h);
// Plays the metafile into the object's box; the result of
// DeleteEnhMetaFile, or 0 when no metafile could be made.
int mfEmfDraw(HDC dc, const ObjectRecord *rec);
int mfEmfDrawH(HDC dc, MemHandle h);
// The rectangle becomes the object's box; +0/+4 get its width and height.
void mfEmfSetBox(MemHandle h, const RECT *rect);
void mfEmfBounds(RECT *out, MemHandle h);
// The stored length (kept within the block).
uint32_t mfEmfSize(ObjectRecord *rec, uint32_t blockSize);
// A new object of the metafile (the caller keeps and deletes the handle),
// or 0.
MemHandle mfEmfFromHandle(HENHMETAFILE emf);
// A new object of an .emf file, or 0: an empty name gives 0, a missing file
// is reported as not existing, one that is no sound metafile as
// "Incorrect file type".
MemHandle mfEmfLoadFile(HWND window, const char *fileName);

// A zero-filled record of `size` bytes initialised as `type` over the
// rectangle by the installed object factory (a bare head of that type when
// none is installed), its length not yet set; 0 without memory.
MemHandle mfNewObject(uint32_t size, int16_t type, const RECT *rect);
