// The image file object (type 78): a picture that stays in its own file;
// the document keeps only its name, absolute or relative to the document's
// folder. Its type data (ImageFileData) begins with its own length; the
// file name follows at +34.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

#pragma pack(push, 1)
struct ImageFileData {
    uint32_t length;        // 34 + the file name with its NUL
    uint16_t unused4;
    uint16_t frameStyle;    // FieldFrameStyle of the frame round the picture
    uint8_t unused8[6];
    uint16_t mapping;       // size mapping: 1 screen, 2 printer resolution
    uint16_t flags;         // IMGF_CROP, IMGF_TRANSPARENT
    int16_t cropLeft;       // pixels taken off each edge of the picture
    int16_t cropRight;
    int16_t cropTop;
    int16_t cropBottom;
    int16_t insetX;         // the picture's inset inside the object
    int16_t insetY;
    uint32_t transparent;   // transparent colour (0 while the flag is clear)
};
#pragma pack(pop)
static_assert(sizeof(ImageFileData) == 34, "the image file data head is 34 bytes");
static_assert(offsetof(ImageFileData, mapping) == 14, "size mapping at +14");
static_assert(offsetof(ImageFileData, cropLeft) == 18, "crop at +18");
static_assert(offsetof(ImageFileData, insetX) == 26, "insets at +26");
static_assert(offsetof(ImageFileData, transparent) == 30, "transparent colour at +30");

const uint32_t kImgfNameOffset = 34;
const uint32_t kImgfNewRecordSize = 120;   // head + an empty name's data
enum : uint16_t { IMGF_CROP = 0x1, IMGF_TRANSPARENT = 0x2 };
// File kinds by the linked file's extension.
enum : int {
    IMGF_KIND_TEXT = 30, IMGF_KIND_BMP = 32, IMGF_KIND_PCX = 33, IMGF_KIND_JPG = 35,
    IMGF_KIND_PNG = 36, IMGF_KIND_TIF = 37, IMGF_KIND_ICO = 38, IMGF_KIND_TGA = 39,
    IMGF_KIND_DWG = 40, IMGF_KIND_DXF = 41,
};

// The type data of an image file record when its stated length covers the
// 34-byte head and lies within the record's `extent` bytes; null otherwise.
ImageFileData *imgfRecData(ObjectRecord *rec, uint32_t extent);
// The file name of a record into the buffer (`size` bytes): bounded by the
// type data's length; a name without its terminator there, or type data of
// 34 bytes or less, is empty. Its length.
int imgfRecFileName(const ObjectRecord *rec, uint32_t extent, char *buffer, uint32_t size);
// The kind of the linked file by its extension: the part from the last
// point must be exactly four characters long, point included, compared
// without regard to case; 0 for any other extension, a name without a
// point, or a record without a name in its type data.
int imgfGetFileKind(const ObjectRecord *rec);
// The kind of a file name by the same rule.
int imgfFileNameKind(const char *name);
