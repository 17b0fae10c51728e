// The metafile picture object (type 61): a Windows metafile kept in the
// document, with the mapping mode and extents of a clipboard picture or the
// placeable header of a .wmf file, played into the object's box.
//
// Type data: +0 u32 unused, +4 u32 data size (bytes from +8 to the record's
// end), +8 i16 mapping mode (0 from a file), +10 i16 x extent, +12 i16 y
// extent, +14 u16 0, +16 the metafile part: a 22-byte placeable header and
// the metafile, or the metafile alone.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kMfPlaceableKey = 0x9AC6CDD7;
const uint32_t kMfPlaceableSize = 22;
const uint32_t kMfPictFixed = 16;   // the part before the metafile

#pragma pack(push, 2)
struct PlaceableHeader {
    uint32_t key;
    uint16_t handle;
    int16_t left, top, right, bottom;
    uint16_t unitsPerInch;
    uint32_t reserved;
    uint16_t checksum;
};
#pragma pack(pop)
static_assert(sizeof(PlaceableHeader) == 22, "the placeable header is 22 bytes");

// A new HMETAFILE of the stored metafile (behind the placeable header when
// there is one), or 0 when the record is of another type or its metafile
// header's type, header size or size in words do not fit what is stored.
HMETAFILE mfPictHandle(const ObjectRecord *rec);
HMETAFILE mfPictHandleH(MemHandle h);
void mfPictDraw(HDC dc, const ObjectRecord *rec);
void mfPictDrawH(HDC dc, MemHandle h);
// 86 + name + 8 + data size, stored and returned; a data size that would
// pass the block keeps the stored length cut to the block.
uint32_t mfPictSize(ObjectRecord *rec, uint32_t blockSize);
// A record read from a file: its head within the page limits, its stored
// part a metafile (behind a placeable header or none) whose records the
// player can walk safely.
BOOL mfPictReadCheck(const ObjectRecord *rec, uint32_t length);
// The natural size in twips of a clipboard picture of the mapping mode and
// extents (1440 x 1440 when either comes out 0).
void mfPictNaturalSize(int32_t mode, int32_t xExt, int32_t yExt, int32_t *width,
                       int32_t *height);
// A new object of a CF_METAFILEPICT memory handle, or 0.
MemHandle mfPictFromClipboard(HGLOBAL picture);
// A new CF_METAFILEPICT memory handle of the object (its metafile a new
// HMETAFILE), or 0.
HGLOBAL mfPictToClipboard(MemHandle h);
// A new object of a .wmf file (with or without a placeable header) at the
// top-left of the window's client area, or 0 ("Incorrect file type" for a
// file that is not one, the not-exist report for a missing one).
MemHandle mfWmfLoadFile(HWND window, const char *fileName);
