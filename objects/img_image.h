// The image object (type 79): a picture file's bytes kept unchanged in the
// document and decoded through the image library each time it is drawn or
// measured; the image Properties dialog (IMGINFO) of bitmap, image file and
// image objects; and the image fit-mode choice.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
// The image header: what the in-memory drawing request reads.
struct ImageHeader {
    uint32_t spare;          // +8 of the type data
    uint32_t fileKind;       // ImageFileKind (objects/img_io.h)
    uint32_t dataSize;       // bytes of the picture file held
    int32_t pixelWidth;
    int32_t pixelHeight;
    uint16_t flags;          // bit 1: the transparent colour is in use
    uint16_t spare2;
    uint32_t transparent;    // COLORREF; 0 when not in use
};
// The type data of an image object, stored in files as in memory; the
// picture's bytes follow.
struct ImageData {
    int32_t width;           // the box, twips
    int32_t height;
    ImageHeader header;
};
#pragma pack(pop)
static_assert(sizeof(ImageHeader) == 28, "the image header is 28 bytes");
static_assert(sizeof(ImageData) == 36, "the image data head is 36 bytes");
const uint16_t kImgImageTransparent = 0x2;

// ImageFitMode codes, offered in this order.
enum : uint16_t {
    IMG_FIT_ORIGINAL = 1,
    IMG_FIT_ORIGINAL_FIT = 8,
    IMG_FIT_PRESERVE = 2,
    IMG_FIT_STRETCH = 4,
};

// The picture bytes of a record whose data size lies within `extent`
// bytes; null otherwise (*head then as far as it could be read).
const uint8_t *imgImageBytes(const ObjectRecord *rec, uint32_t extent, ImageData *head);
// Record length: 86 + name + 36 + data size, stored and returned; a record
// whose data size runs past its block keeps its own length, cut to it.
uint32_t imgImageRecordSize(ObjectRecord *rec, uint32_t blockSize);
uint32_t imgImageRecordSizeHandle(MemHandle h);
// Draws the held picture into the box with imgDrawMemImage; nothing for
// bytes that do not decode or a data size past the record.
int imgImageDraw(HDC dc, ObjectRecord *rec);
int imgImageDrawHandle(HDC dc, MemHandle h);
// Rescale entry: the box's size into +0/+4 and the head from the rectangle.
int imgImageSetBox(MemHandle h, const RECT *rect);
// Bounds entry: +0/+4 into the head's size; the object's rectangle.
int imgImageBounds(RECT *out, MemHandle h);
// Flip and rotate: nothing changes.
int imgImageFlipRotate(MemHandle h, POINT pt, int16_t angle);
// Decoded pixel size; 0 (both 0) when the bytes do not decode.
int imgImagePixelSize(MemHandle h, int32_t *width, int32_t *height);
// Pixel size into +20/+24 and the box to its twips size about the centre
// (printer resolution for mapping kind 2, else the screen's). 1 when done.
int imgImageFitToPixels(MemHandle h, uint16_t mappingKind);
// 1 when the transparent state changed (on, off, or another colour while on).
int imgImageSetTransparent(MemHandle h, COLORREF colour, BOOL on);
// 2, 1 or 0 as gdiNaturalSizeKind of the box and the decoded pixel size.
int imgImageNaturalSizeKind(MemHandle h);

// IMGINFO "Properties" for a bitmap, image file or image object; the
// dialog's result, or the window's instance handle (as a number) without
// opening anything for an object handle of 0.
INT_PTR imgInfoDialog(HWND window, MemHandle object);
// Offers "Original", "Original/Fit", "Fit (Preserve aspect ratio)" and
// "Stretch" with the low 16 bits of the value selected; on a choice the low
// 16 bits become its code (the high 16 kept) and 1 is returned.
int obAskImageFitMode(HWND owner, const char *caption, uint32_t *value);
// Fills a dialog's combo box with the fit modes, the code given selected,
// and reads the chosen code back (0 when none is chosen).
void obFillImageFitCombo(HWND dlg, int id, uint32_t selected);
uint32_t obGetImageFitCombo(HWND dlg, int id);
