// Bitmap renditions of objects, bitmap objects from DIBs, and the clipboard.
#include "objects/img_render.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "objects/img_bitmap.h"
#include "support/dm_map.h"
#include "support/gdi_bitmap.h"
#include "support/gdi_dib.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>

namespace {

int noPixelSize(HWND, MemHandle, int32_t *width, int32_t *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    return 0;
}
MemHandle noDib(HWND, MemHandle) { return 0; }
const ImgLinkedPictureCalls kNoLinkedPicture = {noPixelSize, noDib};
const ImgLinkedPictureCalls *g_linkedPicture = &kNoLinkedPicture;

}  // namespace

void imgSetLinkedPictureCalls(const ImgLinkedPictureCalls *calls)
{
    g_linkedPicture = calls ? calls : &kNoLinkedPicture;
}

const ImgLinkedPictureCalls *imgGetLinkedPictureCalls() { return g_linkedPicture; }

namespace {

const UINT kIdsNoClipboardBitmap = 5261;   // "Can not copy bitmap from clipboard"
const UINT kIdsPressOk = 5000;

}  // namespace

HBITMAP imgRenderObjectBitmapEx(HWND window, MemHandle h, int32_t marginX, int32_t marginY,
                                COLORREF background)
{
    if (!h || !ObLock(h))
        return nullptr;
    if (!dmPushState())
        return nullptr;
    dmResetMapping();
    dmSetZoom(window, 100);
    RECT r;
    obGetDrawnRect(h, &r);
    geoInflateRect(&r, marginX, marginY);
    int32_t rw = r.right - r.left, rh = r.bottom - r.top;
    int32_t w = dmLogToDevW(rw) + 1, ht = dmLogToDevH(rh) + 1;
    HBITMAP bitmap = nullptr;
    HDC screen = GetDC(window);
    if (screen && w > 0 && ht > 0) {
        HDC mem = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, w, ht);
        if (mem && bitmap) {
            HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
            {
                GdiObject<HBRUSH> brush(CreateSolidBrush(background));
                GdiSelect pen(mem, GetStockObject(NULL_PEN));
                GdiSelect fill(mem, brush.get());
                Rectangle(mem, 0, 0, w + 1, ht + 1);
            }
            dmSetMapping(mem);
            POINT centre;
            obGetCentre(h, &centre);
            int32_t dx = rw / 2 - centre.x, dy = rh / 2 - centre.y;
            obMoveBy(h, dx, dy);
            obDraw(mem, h);
            obMoveBy(h, -dx, -dy);
            SelectObject(mem, oldBitmap);
        } else if (bitmap) {
            DeleteObject(bitmap);
            bitmap = nullptr;
        }
        if (mem)
            DeleteDC(mem);
    }
    if (screen)
        ReleaseDC(window, screen);
    dmPopState();
    return bitmap;
}

HBITMAP imgRenderObjectBitmapWhite(HWND window, MemHandle h, int32_t marginX, int32_t marginY)
{
    return imgRenderObjectBitmapEx(window, h, marginX, marginY, RGB(255, 255, 255));
}

HBITMAP imgRenderObjectBitmap(HWND window, MemHandle h)
{
    return imgRenderObjectBitmapWhite(window, h, 0, 0);
}

MemHandle imgRenderObjectDibEx(HWND window, MemHandle h, int32_t marginX, int32_t marginY,
                               COLORREF background)
{
    switch (obGetType(h)) {
    case OBT_BITMAP: return imgBitmapDibCopy(h);
    case OBT_IMAGE_FILE: return imgGetLinkedPictureCalls()->getDib(window, h);
    default: break;
    }
    HBITMAP bitmap = imgRenderObjectBitmapEx(window, h, marginX, marginY, background);
    return bitmap ? gdiBitmapToDib(bitmap) : 0;
}

MemHandle imgRenderObjectDibWhite(HWND window, MemHandle h, int32_t marginX, int32_t marginY)
{
    return imgRenderObjectDibEx(window, h, marginX, marginY, RGB(255, 255, 255));
}

MemHandle imgRenderObjectDib(HWND window, MemHandle h)
{
    return imgRenderObjectDibWhite(window, h, 0, 0);
}

MemHandle imgBitmapDibCopy(MemHandle h)
{
    ObLock rec(h);
    if (!rec || rec->type != OBT_BITMAP)
        return 0;
    BitmapData d;
    const uint8_t *header = imgBitmapHeader(rec.get(), rec.extent(), &d);
    if (!header || d.kind != IMG_BITMAP_DIB)
        return 0;
    return utHandleFromBytes(header, (uint32_t)d.headerSize + d.pixelBytes);
}

MemHandle imgObjectToBitmapObject(HWND window, MemHandle h, int32_t marginX, int32_t marginY)
{
    MemHandle dib = imgRenderObjectDibWhite(window, h, marginX, marginY);
    if (!dib)
        return 0;
    POINT topLeft;
    obGetTopLeft(h, &topLeft);
    MemHandle object = imgBitmapFromDibHandle(dib, topLeft, GDI_NATURAL_SCREEN);
    utFreeHandle(dib);
    return object;
}

MemHandle imgObjectToBitmapObject0(HWND window, MemHandle h)
{
    return imgObjectToBitmapObject(window, h, 0, 0);
}

MemHandle imgBitmapFromDibBytes(const void *dib, uint32_t size, POINT topLeft,
                                uint16_t mappingKind)
{
    if (!dib || size < sizeof(BITMAPINFOHEADER))
        return 0;
    BITMAPINFOHEADER h;
    memcpy(&h, dib, sizeof h);
    // Only info headers are kept in bitmap objects; the image size is the
    // one its pixels take.
    uint32_t whole = gdiDibCheckedSize(&h, size);
    if (!whole || h.biSize != sizeof h)
        return 0;
    uint32_t table = gdiDibColorTableSize(&h);
    uint32_t image = whole - h.biSize - table;
    uint32_t headerSize = h.biSize + table;
    if (headerSize > 0x7FFF)
        return 0;
    MemHandle object = obNewRecord(kObHeadSize + (uint32_t)sizeof(BitmapData) + whole);
    ObLock rec(object);
    if (!rec)
        return utFreeHandle(object);
    rec->type = OBT_BITMAP;
    rec->flags = kImgBitmapFlags;
    rec->scaleX = rec->scaleY = kObScaleOne;
    uint8_t *data = obRecData(rec.get());
    BitmapData d = {IMG_BITMAP_DIB, (int16_t)headerSize, image, 0, 0, 0};
    memcpy(data, &d, sizeof d);
    memcpy(data + sizeof d, dib, whole);
    BITMAPINFOHEADER *copy = reinterpret_cast<BITMAPINFOHEADER *>(data + sizeof d);
    copy->biSizeImage = image;
    int32_t w, ht;
    gdiNaturalSize(mappingKind == GDI_NATURAL_PRINTER ? GDI_NATURAL_PRINTER : GDI_NATURAL_SCREEN,
                   h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, &w, &ht);
    RECT box = {topLeft.x, topLeft.y, topLeft.x + w, topLeft.y + ht};
    obRecSetRect(rec.get(), &box);
    return object;
}

MemHandle imgBitmapFromDib(const BITMAPINFO *info, POINT topLeft, uint16_t mappingKind)
{
    if (!info)
        return 0;
    BITMAPINFOHEADER h = info->bmiHeader;
    uint32_t total = gdiDibTotalSize(&h);
    return imgBitmapFromDibBytes(info, total, topLeft, mappingKind);
}

MemHandle imgBitmapFromDibHandle(MemHandle dib, POINT topLeft, uint16_t mappingKind)
{
    MemLock<uint8_t> p(dib);
    return p ? imgBitmapFromDibBytes(p.get(), utHandleSize(dib), topLeft, mappingKind) : 0;
}

MemHandle imgPasteBitmap(HWND window, POINT topLeft, UINT format, uint16_t mappingKind)
{
    MemHandle object = 0;
    bool had = false;
    if (OpenClipboard(window)) {
        if (format == CF_BITMAP) {
            HBITMAP bitmap = (HBITMAP)GetClipboardData(CF_BITMAP);
            HPALETTE palette = (HPALETTE)GetClipboardData(CF_PALETTE);
            if (!palette)
                palette = (HPALETTE)GetStockObject(DEFAULT_PALETTE);
            MemHandle dib = bitmap ? gdiBitmapToDibHandle(bitmap, palette) : 0;
            had = dib != 0;
            object = dib ? imgBitmapFromDibHandle(dib, topLeft, mappingKind) : 0;
            utFreeHandle(dib);
        } else if (format == CF_DIB) {
            HGLOBAL global = GetClipboardData(CF_DIB);
            if (const void *p = global ? GlobalLock(global) : nullptr) {
                had = true;
                object = imgBitmapFromDibBytes(p, (uint32_t)GlobalSize(global), topLeft,
                                               mappingKind);
                GlobalUnlock(global);
            }
        }
        CloseClipboard();
    }
    if (!had)
        utErrorBoxRes(window, kIdsNoClipboardBitmap, kIdsPressOk);
    return object;
}
