// The image file object's linked file kind.
#include "links/imgf_kind.h"
#include <string.h>

namespace {

struct KindExt {
    const char *ext;
    int kind;
};
const KindExt kKinds[] = {
    {".txt", IMGF_KIND_TEXT}, {".bmp", IMGF_KIND_BMP}, {".pcx", IMGF_KIND_PCX},
    {".jpg", IMGF_KIND_JPG},  {".png", IMGF_KIND_PNG}, {".tif", IMGF_KIND_TIF},
    {".ico", IMGF_KIND_ICO},  {".tga", IMGF_KIND_TGA}, {".dwg", IMGF_KIND_DWG},
    {".dxf", IMGF_KIND_DXF},
};

}  // namespace

int imgfGetFileKind(const ObjectRecord *rec)
{
    if (!rec)
        return 0;
    uint32_t at = obDataOffset(rec) + kImgfNameOffset;
    if (at >= rec->length)
        return 0;
    const char *name = reinterpret_cast<const char *>(rec) + at;
    size_t n = strnlen(name, rec->length - at);
    if (n == rec->length - at)
        return 0;   // no terminator within the record
    const char *dot = strrchr(name, '.');
    if (!dot || strlen(dot) != 4)
        return 0;
    for (const KindExt &k : kKinds)
        if (lstrcmpiA(dot, k.ext) == 0)
            return k.kind;
    return 0;
}
