// A 32-bit top-down bitmap selected into a memory DC with the view mapping
// applied, for the drawing steps of the benchmark; freed with its owner.
#pragma once
#include "support/qmwin.h"
#include "support/dm_map.h"

class BenchBitmap {
public:
    BenchBitmap(int width, int height)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bmp_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bmp_);
        dmSetMapping(dc_);
    }
    ~BenchBitmap()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bmp_);
    }
    BenchBitmap(const BenchBitmap &) = delete;
    BenchBitmap &operator=(const BenchBitmap &) = delete;
    HDC dc() const { return dc_; }
    void *bits() const { return bits_; }

private:
    HBITMAP bmp_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void *bits_ = nullptr;
};
