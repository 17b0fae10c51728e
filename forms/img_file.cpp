// Picture files drawn into a rectangle.
#include "forms/img_file.h"
#include "support/qmfreeimage.h"

namespace {

// FreeImage reads through these over a Win32 file handle.
unsigned readProc(void *buffer, unsigned size, unsigned count, fi_handle handle)
{
    DWORD got = 0;
    if (!size || !ReadFile((HANDLE)handle, buffer, size * count, &got, nullptr))
        return 0;
    return got / size;
}

unsigned writeProc(void *, unsigned, unsigned, fi_handle) { return 0; }

int seekProc(fi_handle handle, long offset, int origin)
{
    DWORD method = origin == SEEK_CUR ? FILE_CURRENT : origin == SEEK_END ? FILE_END : FILE_BEGIN;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx((HANDLE)handle, to, nullptr, method) ? 0 : -1;
}

long tellProc(fi_handle handle)
{
    LARGE_INTEGER zero, at;
    zero.QuadPart = 0;
    if (!SetFilePointerEx((HANDLE)handle, zero, &at, FILE_CURRENT))
        return -1;
    return (long)at.QuadPart;
}

}  // namespace

int imgDrawFileInRect(HDC dc, const char *path, const RECT *rect, DWORD rop)
{
    if (!dc || !path || !rect)
        return 0;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    FreeImageIO io = {readProc, writeProc, seekProc, tellProc};
    FIBITMAP *loaded = nullptr;
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileTypeFromHandle(&io, (fi_handle)file, 0);
    if (fif != FIF_UNKNOWN) {
        seekProc((fi_handle)file, 0, SEEK_SET);
        loaded = FreeImage_LoadFromHandle(fif, &io, (fi_handle)file, 0);
    }
    CloseHandle(file);
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
