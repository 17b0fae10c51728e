// Picture step of the benchmark: a large PNG through the image bridge into
// a bitmap object, drawn scaled into a bitmap.
#include "bench/bench_picture.h"
#include "bench/bench_clock.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "objects/img_io.h"
#include "support/dm_map.h"
#include "support/qmfreeimage.h"
#include "support/qmwin.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>

void benchPicture()
{
    const int w = 2000, h = 1500;
    // A picture with some detail, so that it compresses as photographs do not.
    FIBITMAP *bmp = FreeImage_Allocate(w, h, 24, 0, 0, 0);
    if (!bmp)
        return;
    for (int y = 0; y < h; ++y) {
        BYTE *row = FreeImage_GetScanLine(bmp, y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = (BYTE)(x * 7 + y);
            row[3 * x + 1] = (BYTE)(x ^ y);
            row[3 * x + 2] = (BYTE)(y * 3);
        }
    }
    char folder[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    GetTempFileNameA(folder, "qmb", 0, path);
    DeleteFileA(path);
    strcat(path, ".png");
    FIMEMORY *mem = FreeImage_OpenMemory(nullptr, 0);
    BYTE *data = nullptr;
    DWORD size = 0;
    bool ok = mem && FreeImage_SaveToMemory(FIF_PNG, bmp, mem, 0) &&
              FreeImage_AcquireMemory(mem, &data, &size);
    HANDLE file = ok ? CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)
                     : INVALID_HANDLE_VALUE;
    DWORD put = 0;
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, data, size, &put, nullptr);
        CloseHandle(file);
    }
    FreeImage_Unload(bmp);
    if (mem)
        FreeImage_SeekMemory(mem, 0, SEEK_SET);
    double t0 = benchSeconds();
    FIBITMAP *decoded = mem ? FreeImage_LoadFromMemory(FIF_PNG, mem, 0) : nullptr;
    double decode = benchSeconds() - t0;
    if (decoded)
        FreeImage_Unload(decoded);
    if (mem)
        FreeImage_CloseMemory(mem);
    if (put != size || !size) {
        fprintf(stderr, "the picture could not be written\n");
        return;
    }

    t0 = benchSeconds();
    MemHandle object = imgLoadFileObject(nullptr, path, 0, FALSE, 0);
    double load = benchSeconds() - t0;
    t0 = benchSeconds();
    MemHandle dib = imgLoadFileDib(nullptr, path);
    double dibLoad = benchSeconds() - t0;
    utFreeHandle(dib);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 1000;
    info.bmiHeader.biHeight = -750;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    dmResetMapping();
    dmSetMapping(dc);
    RECT box = {0, 0, 15000, 11250};   // 1000 x 750 pixels at zoom 100
    obSetRect(object, &box);
    t0 = benchSeconds();
    obDraw(dc, object);
    double draw = benchSeconds() - t0;
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    obFreeTree(object);
    DeleteFileA(path);
    printf("picture 2000x1500 PNG (%.1f MB)\n", size / 1048576.0);
    printf("  library decoding      %8.3f s\n", decode);
    printf("  into a packed DIB     %8.3f s\n", dibLoad);
    printf("  into a bitmap object  %8.3f s%s\n", load, object ? "" : "  (FAILED)");
    printf("  drawn into 1000x750   %8.3f s\n", draw);
    printf("  load and draw         %8.3f s\n", load + draw);
}
