// Picture file kinds and the picture Save As dialog.
#include "objects/fc_image_kinds.h"
#include "support/win_filedlg.h"
#include <string.h>

namespace {

struct KindExt {
    int32_t code;
    const char *ext;
};
const KindExt kKinds[] = {{32, ".bmp"}, {35, ".jpg"}, {33, ".pcx"}, {36, ".png"}};

const char kFilter[] = "Windows Bitmap (*.bmp)\0*.bmp\0JPEG (*.jpg)\0*.jpg\0"
                       "PCX (*.pcx)\0*.pcx\0PNG (*.png)\0*.png\0\0";

}  // namespace

int32_t imgKindFromPath(const char *path)
{
    if (!path)
        return 0;
    const char *dot = strrchr(path, '.');
    const char *slash = strrchr(path, '\\');
    if (!dot || (slash && dot < slash))
        return 0;
    for (const KindExt &k : kKinds)
        if (lstrcmpiA(dot, k.ext) == 0)
            return k.code;
    return 0;
}

int imgKindExtension(int32_t code, char *buffer)
{
    if (buffer)
        buffer[0] = 0;
    for (const KindExt &k : kKinds) {
        if (k.code == code) {
            if (buffer)
                strcpy(buffer, k.ext);
            return 1;
        }
    }
    return 0;
}

int fcSaveImageAsDialog(HWND window, char *path, int *filterIndex)
{
    if (!path)
        return 0;
    char ext[8] = "";
    if (filterIndex && *filterIndex >= 1 && *filterIndex <= 4)
        strcpy(ext, kKinds[*filterIndex - 1].ext + 1);
    if (!winSaveFileDlg(window, "Save As", path, ext[0] ? ext : "bmp", kFilter))
        return 0;
    if (filterIndex) {
        int32_t code = imgKindFromPath(path);
        for (int i = 0; i < 4; ++i)
            if (kKinds[i].code == code)
                *filterIndex = i + 1;
    }
    return 1;
}
