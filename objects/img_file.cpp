// Picture files drawn into a rectangle.
#include "objects/img_file.h"
#include "objects/img_io.h"
#include "support/qmfreeimage.h"

int imgDrawFileInRect(HDC dc, const char *path, const RECT *rect, DWORD rop)
{
    if (!dc || !path || !rect)
        return 0;
    FIBITMAP *loaded = imgLoadFileBitmap(path, nullptr);
    if (!loaded)
        return 0;
    FIBITMAP *bits32 = FreeImage_ConvertTo32Bits(loaded);
    FreeImage_Unload(loaded);
    if (!bits32)
        return 0;
    int w = (int)FreeImage_GetWidth(bits32), h = (int)FreeImage_GetHeight(bits32);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;   // FreeImage keeps its rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int old = SetStretchBltMode(dc, COLORONCOLOR);
    int done = StretchDIBits(dc, rect->left, rect->top, rect->right - rect->left,
                             rect->bottom - rect->top, 0, 0, w, h, FreeImage_GetBits(bits32),
                             &info, DIB_RGB_COLORS, rop);
    SetStretchBltMode(dc, old);
    FreeImage_Unload(bits32);
    return done > 0 ? 1 : 0;
}

DWORD imgRopFromFlags(uint32_t flags)
{
    if (flags & 0x10)
        return SRCAND;
    switch (flags >> 16) {
    case 2: return SRCAND;
    case 3: return SRCPAINT;
    case 4: return SRCINVERT;
    case 5: return SRCERASE;
    case 6: return NOTSRCCOPY;
    case 7: return NOTSRCERASE;
    case 8: return MERGECOPY;
    case 9: return MERGEPAINT;
    case 10: return PATCOPY;
    case 11: return PATPAINT;
    case 12: return PATINVERT;
    case 13: return DSTINVERT;
    default: return SRCCOPY;
    }
}
