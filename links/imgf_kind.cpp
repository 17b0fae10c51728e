// The image file object's record: its type data, its file name and the
// linked file's kind.
#include "links/imgf_kind.h"
#include "support/ut_mem.h"
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

ImageFileData *imgfRecData(ObjectRecord *rec, uint32_t extent)
{
    if (!rec)
        return nullptr;
    const uint32_t at = obDataOffset(rec);
    if (at >= extent || extent - at < sizeof(ImageFileData))
        return nullptr;
    ImageFileData *d = reinterpret_cast<ImageFileData *>(obRecData(rec));
    if (d->length < sizeof(ImageFileData) || d->length > extent - at)
        return nullptr;
    return d;
}

int imgfRecFileName(const ObjectRecord *rec, uint32_t extent, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return 0;
    buffer[0] = 0;
    ImageFileData *d = imgfRecData(const_cast<ObjectRecord *>(rec), extent);
    if (!d || d->length <= kImgfNameOffset)
        return 0;
    const char *name = reinterpret_cast<const char *>(d) + kImgfNameOffset;
    const uint32_t room = d->length - kImgfNameOffset;
    const size_t n = strnlen(name, room);
    if (n == room || n >= size)
        return 0;   // no terminator within the type data, or too long
    memcpy(buffer, name, n);
    buffer[n] = 0;
    return (int)n;
}

int imgfFileNameKind(const char *name)
{
    if (!name)
        return 0;
    const char *dot = strrchr(name, '.');
    if (!dot || strlen(dot) != 4)
        return 0;
    for (const KindExt &k : kKinds)
        if (lstrcmpiA(dot, k.ext) == 0)
            return k.kind;
    return 0;
}

int imgfGetFileKind(const ObjectRecord *rec)
{
    if (!rec)
        return 0;
    char name[MAX_PATH];
    if (!imgfRecFileName(rec, rec->length, name, sizeof name))
        return 0;
    return imgfFileNameKind(name);
}
