#include "tests/support/kit.h"

namespace qmtest {

namespace {
// DIB pixels are stored as 0x00RRGGBB; COLORREF is 0x00BBGGRR.
inline COLORREF toColorRef(uint32_t px)
{
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}
inline uint32_t toPixel(COLORREF c)
{
    return ((uint32_t)GetRValue(c) << 16) | ((uint32_t)GetGValue(c) << 8) | GetBValue(c);
}
}  // namespace

Dib::Dib(int width, int height, COLORREF fillColour) : w_(width), h_(height)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;   // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t *>(bits);
    old_ = SelectObject(dc_, bmp_);
    fill(fillColour);
}

Dib::~Dib()
{
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
}

void Dib::fill(COLORREF c)
{
    GdiFlush();
    uint32_t px = toPixel(c);
    for (int i = 0; i < w_ * h_; ++i)
        bits_[i] = px;
}

COLORREF Dib::pixel(int x, int y) const
{
    GdiFlush();
    if (x < 0 || y < 0 || x >= w_ || y >= h_)
        return CLR_INVALID;
    return toColorRef(bits_[y * w_ + x] & 0xFFFFFF);
}

int Dib::count(COLORREF c, RECT r) const
{
    GdiFlush();
    uint32_t px = toPixel(c);
    int n = 0;
    for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < h_; ++y)
        for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < w_; ++x)
            if ((bits_[y * w_ + x] & 0xFFFFFF) == px)
                ++n;
    return n;
}

int Dib::count(COLORREF c) const
{
    RECT r = {0, 0, w_, h_};
    return count(c, r);
}

int Dib::countDark(RECT r, int limit) const
{
    GdiFlush();
    int n = 0;
    for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < h_; ++y)
        for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < w_; ++x) {
            const uint32_t p = bits_[y * w_ + x];
            if ((int)(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) < 3 * limit)
                ++n;
        }
    return n;
}

int Dib::countDark() const
{
    RECT r = {0, 0, w_, h_};
    return countDark(r);
}

int Dib::diff(const Dib &other) const
{
    GdiFlush();
    if (other.w_ != w_ || other.h_ != h_)
        return -1;
    int n = 0;
    for (int i = 0; i < w_ * h_; ++i)
        if ((bits_[i] & 0xFFFFFF) != (other.bits_[i] & 0xFFFFFF))
            ++n;
    return n;
}

bool Dib::saveBmp(const std::string &path) const
{
    GdiFlush();
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof(ih);
    ih.biWidth = w_;
    ih.biHeight = -h_;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    DWORD data = (DWORD)(w_ * h_ * 4);
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + data;
    std::vector<uint8_t> out(fh.bfSize);
    memcpy(out.data(), &fh, sizeof(fh));
    memcpy(out.data() + sizeof(fh), &ih, sizeof(ih));
    memcpy(out.data() + fh.bfOffBits, bits_, data);
    return writeFile(path, out);
}

}  // namespace qmtest
