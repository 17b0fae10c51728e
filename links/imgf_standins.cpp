// Stand-ins of the image file object for the picture code (see the header):
// missing are the object's own drawing, document pages and link management.
#include "links/imgf_standins.h"
#include "links/doc_names.h"
#include "links/imgf_kind.h"
#include "model/ob_dispatch.h"
#include "model/ob_record.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

namespace {

// The linked file's full path; empty when the object has no name.
std::string linkedPath(HWND window, MemHandle object)
{
    std::string name;
    {
        ObLock rec(object);
        if (!rec || rec->type != OBT_IMAGE_FILE)
            return name;
        uint32_t at = obDataOffset(rec.get()) + kImgfNameOffset;
        uint32_t extent = rec.extent();
        if (at >= extent)
            return name;
        const char *p = reinterpret_cast<const char *>(rec.get()) + at;
        name.assign(p, strnlen(p, extent - at));
    }
    MemHandle full = docResolveFileName(window, name.c_str());
    std::string path;
    if (full) {
        MemLock<char> p(full);
        if (p)
            path.assign(p.get(), strnlen(p.get(), utHandleSize(full)));
    }
    utFreeHandle(full);
    return path;
}

bool isDrawing(const std::string &path)
{
    return path.size() >= 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".dwg") == 0;
}

}  // namespace

int imgfGetPixelSize(HWND window, MemHandle object, int32_t *width, int32_t *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    std::string path = linkedPath(window, object);
    if (path.empty() || isDrawing(path) || !ffExists(path.c_str()))
        return 0;
    return imgGetFileSize(window, path.c_str(), width, height);
}

MemHandle imgfGetDib(HWND window, MemHandle object)
{
    std::string path = linkedPath(window, object);
    if (path.empty() || isDrawing(path))
        return 0;
    return imgLoadFileDib(window, path.c_str());
}

const ImgLinkedPictureCalls *imgfLinkedPictureCalls()
{
    static const ImgLinkedPictureCalls calls = {imgfGetPixelSize, imgfGetDib};
    return &calls;
}
