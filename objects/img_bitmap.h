// The bitmap object (type 60): a raster picture held in the object's own
// type data (a device-dependent BITMAP record and its bits, or a packed
// DIB), drawn stretched into its box with a raster operation and an
// optional transparent colour, or repeated over a rectangle at its own size.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The type data of a bitmap object, stored in files as it lies in memory.
#pragma pack(push, 1)
struct BitmapData {
    uint16_t kind;          // IMG_BITMAP_DDB or IMG_BITMAP_DIB
    int16_t headerSize;     // bytes from +16 to the pixels (DIB: header + colour table)
    uint32_t pixelBytes;    // DIB: the header's image size
    uint16_t spare;         // written as 0
    uint16_t flags;         // bit 0: the transparent colour is in use
    uint32_t transparent;   // COLORREF; 0 when not in use
    // the BITMAP record or the DIB header follows, then the pixels
};
#pragma pack(pop)
static_assert(sizeof(BitmapData) == 16, "the bitmap data head is 16 bytes");

enum : uint16_t {
    IMG_BITMAP_DDB = 0,     // a 24-byte BITMAP record (GdiStoredBitmap) and its bits
    IMG_BITMAP_DIB = 1,     // a packed DIB
    IMG_BITMAP_TRANSPARENT = 1,
};
// The whole word a new bitmap object gets: raster selector 1, SRCCOPY.
const uint32_t kImgBitmapFlags = 0x10000;

// The raster operation of an image's flags word (gdiRopFromCode's table):
// flag 0x10 gives SRCAND, else the selector in the high 16 bits.
DWORD imgRopFromFlags(uint32_t flags);

// The record length: 86 + name + 16 + header size + pixel bytes, stored and
// returned; a record whose stated sizes run past its block keeps its own
// length, cut to the block.
uint32_t imgBitmapRecordSize(ObjectRecord *rec, uint32_t blockSize);
// The header and pixels of a record whose sizes agree with each other and
// lie within the record's `extent` bytes; null otherwise. *data gets the
// 16-byte head.
const uint8_t *imgBitmapHeader(const ObjectRecord *rec, uint32_t extent, BitmapData *data);

// Draws the record into its box (see the header comment): 1, or 0 with the
// box "Incorrect Bitmap Data Type" for an unknown data kind. A record whose
// sizes do not hold together, or an empty box, draws nothing.
int imgBitmapDraw(HDC dc, ObjectRecord *rec);
int imgBitmapDrawHandle(HDC dc, MemHandle h);   // 1 for a null handle
// Copies at the object's own size from the rectangle's top-left corner:
// rows of copies, one row across, one column down; the last copy of a row or
// column is cut to what is left with its source cut by the same ratio. 1,
// or 0 for an unknown data kind; nothing for an empty object.
int imgBitmapTile(HDC dc, MemHandle h, const RECT *rect);
int imgBitmapRepeatAcross(HDC dc, MemHandle h, const RECT *rect);
int imgBitmapRepeatDown(HDC dc, MemHandle h, const RECT *rect);
// The picture's size in pixels; 0 (both 0) for an unknown kind or bad record.
int imgBitmapPixelSize(MemHandle h, int32_t *width, int32_t *height);
// Width and height become the pixel size in twips (printer resolution for
// mapping kind 2, else the screen's), about the same centre; 1 when the
// size changed.
int imgFitObjectToPixels(MemHandle h, uint16_t mappingKind);
// 2 natural size at the printer resolution, 1 at the screen's, 0 neither.
int imgNaturalSizeKind(MemHandle h);
// Switches the transparent colour on (with the colour) or off (colour 0);
// 1 when the state changed.
int imgSetTransparent(MemHandle h, COLORREF colour, BOOL on);
// The transparent flag; the colour written only when it is set.
int imgGetTransparent(const ObjectRecord *rec, COLORREF *colour);
int imgGetTransparentHandle(MemHandle h, COLORREF *colour);
