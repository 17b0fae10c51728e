// Any object turned into pixels (for the clipboard's bitmap formats, export,
// picture files and the convert-to-bitmap commands), bitmap objects built
// from packed DIBs, and a bitmap taken from the clipboard.
#pragma once
#include "support/qmwin.h"

// The linked picture of an image file object (type 78), lent by the links
// at start-up (links/imgf_object.h: imgfGetImageSize, imgfGetDib). Until
// then such an object has no picture: size 0 x 0 (answer 0) and no DIB.
struct ImgLinkedPictureCalls {
    int (*getPixelSize)(HWND window, MemHandle object, int32_t *width, int32_t *height);
    MemHandle (*getDib)(HWND window, MemHandle object);
};
void imgSetLinkedPictureCalls(const ImgLinkedPictureCalls *calls);   // null: none
const ImgLinkedPictureCalls *imgGetLinkedPictureCalls();            // never null

// The object (with everything linked to it) drawn at 100 % into a bitmap
// compatible with the window's context: its drawn rectangle grown by the
// margins, plus one pixel each way, on the background colour. 0 for a null
// object or when the bitmap cannot be made.
HBITMAP imgRenderObjectBitmapEx(HWND window, MemHandle h, int32_t marginX, int32_t marginY,
                                COLORREF background);
HBITMAP imgRenderObjectBitmapWhite(HWND window, MemHandle h, int32_t marginX, int32_t marginY);
HBITMAP imgRenderObjectBitmap(HWND window, MemHandle h);
// A packed DIB of the object: a bitmap object's own DIB, an image file
// object's picture, else the rendition above; 0 when there is none.
MemHandle imgRenderObjectDibEx(HWND window, MemHandle h, int32_t marginX, int32_t marginY,
                               COLORREF background);
MemHandle imgRenderObjectDibWhite(HWND window, MemHandle h, int32_t marginX, int32_t marginY);
MemHandle imgRenderObjectDib(HWND window, MemHandle h);
// A copy of a bitmap object's packed DIB; 0 for a null handle, a bitmap of
// data kind 0 or a damaged record.
MemHandle imgBitmapDibCopy(MemHandle h);
// The DIB rendition on white made into a new bitmap object at the object's
// top-left corner, sized at the screen resolution; 0 on failure.
MemHandle imgObjectToBitmapObject(HWND window, MemHandle h, int32_t marginX, int32_t marginY);
MemHandle imgObjectToBitmapObject0(HWND window, MemHandle h);

// A new bitmap object (flags 0x10000, data kind 1) holding a copy of the
// packed DIB, its top-left corner at the point, sized by the mapping kind
// (2 the printer's resolution, else the screen's). 0 when memory fails or
// the DIB's header is not one this program reads.
MemHandle imgBitmapFromDib(const BITMAPINFO *info, POINT topLeft, uint16_t mappingKind);
// The same from a block, whose size bounds the DIB.
MemHandle imgBitmapFromDibHandle(MemHandle dib, POINT topLeft, uint16_t mappingKind);
// The same from `size` bytes.
MemHandle imgBitmapFromDibBytes(const void *dib, uint32_t size, POINT topLeft,
                                uint16_t mappingKind);

// The clipboard's CF_BITMAP (through CF_PALETTE or the default palette) or
// CF_DIB (the clipboard's own handle, not freed) as a new bitmap object at
// the point; 0 with "Can not copy bitmap from clipboard" shown when there
// is no data.
MemHandle imgPasteBitmap(HWND window, POINT topLeft, UINT format, uint16_t mappingKind);
