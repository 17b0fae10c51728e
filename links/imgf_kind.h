// The image file object (type 78): a picture that stays in its own file.
// Its type data begins with its own length (u32: 34 + the file name with
// its terminator); the file name follows at +34.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kImgfNameOffset = 34;
// File kinds by the linked file's extension.
enum : int {
    IMGF_KIND_TEXT = 30, IMGF_KIND_BMP = 32, IMGF_KIND_PCX = 33, IMGF_KIND_JPG = 35,
    IMGF_KIND_PNG = 36, IMGF_KIND_TIF = 37, IMGF_KIND_ICO = 38, IMGF_KIND_TGA = 39,
    IMGF_KIND_DWG = 40, IMGF_KIND_DXF = 41,
};

// The kind of the linked file by its extension: the part from the last
// point must be exactly four characters long, point included, compared
// without regard to case; 0 for any other extension, a name without a
// point, or a record without a name in its type data.
int imgfGetFileKind(const ObjectRecord *rec);
