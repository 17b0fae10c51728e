// The image object (type 79), the image Properties dialog and the fit-mode
// choice.
#include "objects/img_image.h"
#include "model/ob_dispatch.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "support/dlg_select.h"
#include "support/gdi_bitmap.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include "support/win_list.h"
#include "support/win_place.h"
#include "support/win_window.h"
#include <string.h>
#include <algorithm>

namespace {

const uint32_t kHeadOffset = 8;   // the image header within the type data

const CodeTextEntry kFitModes[] = {
    {IMG_FIT_ORIGINAL, "Original"},
    {IMG_FIT_ORIGINAL_FIT, "Original/Fit"},
    {IMG_FIT_PRESERVE, "Fit (Preserve aspect ratio)"},
    {IMG_FIT_STRETCH, "Stretch"},
};

enum : int {
    IDC_IMG_STORAGE = 100,
    IDC_IMG_PIXELS_W = 110,
    IDC_IMG_PIXELS_H = 111,
    IDC_IMG_INCHES_W = 200,
    IDC_IMG_INCHES_H = 201,
};

// The object IMGINFO shows (one modal dialog at a time).
MemHandle g_infoObject = 0;

void fillInfo(HWND dlg, MemHandle object)
{
    winSetDlgDouble(dlg, IDC_IMG_INCHES_W, obGetWidth(object) / 1440.0, 6, 2);
    winSetDlgDouble(dlg, IDC_IMG_INCHES_H, obGetHeight(object) / 1440.0, 6, 2);
    int32_t w = 0, h = 0;
    const char *storage = "";
    switch (obGetType(object)) {
    case OBT_BITMAP:
        storage = "Data in object";
        imgBitmapPixelSize(object, &w, &h);
        break;
    case OBT_IMAGE_FILE:
        storage = "File name only";
        imgGetLinkedPictureCalls()->getPixelSize(dlg, object, &w, &h);
        break;
    case OBT_IMAGE:
        storage = "Data in object";
        imgImagePixelSize(object, &w, &h);
        break;
    default:
        break;
    }
    SetDlgItemTextA(dlg, IDC_IMG_STORAGE, storage);
    SetDlgItemInt(dlg, IDC_IMG_PIXELS_W, (UINT)w, FALSE);
    SetDlgItemInt(dlg, IDC_IMG_PIXELS_H, (UINT)h, FALSE);
}

INT_PTR CALLBACK ImgInfoDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG:
        fillInfo(dlg, g_infoObject);
        winPlaceByWindow(dlg, GetParent(dlg), 9);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, 1);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

void setBox(ObjectRecord *rec, int32_t width, int32_t height)
{
    uint8_t *data = obRecData(rec);
    memcpy(data, &width, 4);
    memcpy(data + 4, &height, 4);
}

}  // namespace

const uint8_t *imgImageBytes(const ObjectRecord *rec, uint32_t extent, ImageData *head)
{
    if (head)
        *head = ImageData{};
    if (!rec)
        return nullptr;
    uint32_t at = obDataOffset(rec);
    extent = std::min(extent, rec->length);
    if ((uint64_t)at + sizeof(ImageData) > extent)
        return nullptr;
    ImageData d;
    memcpy(&d, reinterpret_cast<const uint8_t *>(rec) + at, sizeof d);
    if (head)
        *head = d;
    if ((uint64_t)at + sizeof d + d.header.dataSize > extent || !d.header.dataSize)
        return nullptr;
    return reinterpret_cast<const uint8_t *>(rec) + at + sizeof d;
}

uint32_t imgImageRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    uint32_t at = obDataOffset(rec);
    uint32_t held = std::min(rec->length, blockSize);
    if ((uint64_t)at + sizeof(ImageData) > held)
        return held;
    ImageData d;
    memcpy(&d, reinterpret_cast<const uint8_t *>(rec) + at, sizeof d);
    uint64_t size = (uint64_t)at + sizeof d + d.header.dataSize;
    if (size > blockSize)
        return held;
    rec->length = (uint32_t)size;
    return rec->length;
}

uint32_t imgImageRecordSizeHandle(MemHandle h)
{
    ObLock rec(h);
    return rec ? imgImageRecordSize(rec.get(), rec.blockSize()) : 0;
}

int imgImageDraw(HDC dc, ObjectRecord *rec)
{
    ImageData d;
    const uint8_t *bytes = imgImageBytes(rec, rec ? rec->length : 0, &d);
    if (!dc || !bytes)
        return 0;
    RECT box;
    obRecGetRect(rec, &box);
    return imgDrawMemImage(dc, bytes, reinterpret_cast<const uint8_t *>(rec) +
                                          obDataOffset(rec) + kHeadOffset,
                           &box, imgRopFromFlags(rec->flags));
}

int imgImageDrawHandle(HDC dc, MemHandle h)
{
    ObLock rec(h);
    return rec ? imgImageDraw(dc, rec.get()) : 0;
}

int imgImageSetBox(MemHandle h, const RECT *rect)
{
    ObLock rec(h);
    if (!rec || !rect || rec->type != OBT_IMAGE)
        return 0;
    obRecSetRect(rec.get(), rect);
    if ((uint64_t)obDataOffset(rec.get()) + 8 <= rec.extent())
        setBox(rec.get(), rec->width, rec->height);
    return 1;
}

int imgImageBounds(RECT *out, MemHandle h)
{
    ObLock rec(h);
    if (!rec || !out || rec->type != OBT_IMAGE)
        return 0;
    if ((uint64_t)obDataOffset(rec.get()) + 8 <= rec.extent()) {
        const uint8_t *data = obRecData(rec.get());
        memcpy(&rec->width, data, 4);
        memcpy(&rec->height, data + 4, 4);
    }
    obRecGetRect(rec.get(), out);
    return 1;
}

int imgImageFlipRotate(MemHandle h, POINT, int16_t) { return obGetType(h) == OBT_IMAGE ? 1 : 0; }

int imgImagePixelSize(MemHandle h, int32_t *width, int32_t *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    ObLock rec(h);
    ImageData d;
    const uint8_t *bytes = rec ? imgImageBytes(rec.get(), rec.extent(), &d) : nullptr;
    if (!bytes)
        return 0;
    return imgMemPixelSize(bytes, d.header.dataSize, (int32_t)d.header.fileKind, width, height);
}

int imgImageFitToPixels(MemHandle h, uint16_t mappingKind)
{
    int32_t pw, ph;
    if (!imgImagePixelSize(h, &pw, &ph))
        return 0;
    int32_t w, ht;
    gdiNaturalSize(mappingKind == GDI_NATURAL_PRINTER ? GDI_NATURAL_PRINTER : GDI_NATURAL_SCREEN,
                   pw, ph, &w, &ht);
    POINT centre;
    {
        ObLock rec(h);
        ImageHeader *head = reinterpret_cast<ImageHeader *>(obRecData(rec.get()) + kHeadOffset);
        head->pixelWidth = pw;
        head->pixelHeight = ph;
        centre = POINT{rec->centreX, rec->centreY};
    }
    RECT box = {centre.x - w / 2, centre.y - ht / 2, centre.x - w / 2 + w, centre.y - ht / 2 + ht};
    return imgImageSetBox(h, &box);
}

int imgImageSetTransparent(MemHandle h, COLORREF colour, BOOL on)
{
    ObLock rec(h);
    if (!rec || (uint64_t)obDataOffset(rec.get()) + sizeof(ImageData) > rec.extent())
        return 0;
    ImageHeader *head = reinterpret_cast<ImageHeader *>(obRecData(rec.get()) + kHeadOffset);
    bool was = (head->flags & kImgImageTransparent) != 0;
    bool changed = on ? (!was || head->transparent != colour) : was;
    if (on) {
        head->flags |= kImgImageTransparent;
        head->transparent = colour;
    } else {
        head->flags &= (uint16_t)~kImgImageTransparent;
        head->transparent = 0;
    }
    return changed ? 1 : 0;
}

int imgImageNaturalSizeKind(MemHandle h)
{
    int32_t pw, ph;
    if (!imgImagePixelSize(h, &pw, &ph))
        return GDI_NATURAL_NONE;
    return gdiNaturalSizeKind(obGetWidth(h), obGetHeight(h), pw, ph);
}

INT_PTR imgInfoDialog(HWND window, MemHandle object)
{
    if (!object)
        return (INT_PTR)winGetInstance(window);
    g_infoObject = object;
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "IMGINFO", window, ImgInfoDlgProc,
                                     0);
    g_infoObject = 0;
    return result;
}

int obAskImageFitMode(HWND owner, const char *caption, uint32_t *value)
{
    if (!value)
        return 0;
    uint32_t code = *value & 0xFFFF;
    INT_PTR result = dlgSelectCode(owner, caption, kFitModes,
                                   (int16_t)(sizeof kFitModes / sizeof kFitModes[0]), &code);
    if (result != IDOK || !code)
        return 0;
    *value = (*value & 0xFFFF0000u) | (code & 0xFFFF);
    return 1;
}

void obFillImageFitCombo(HWND dlg, int id, uint32_t selected)
{
    winDlgComboFillCodes(dlg, id, kFitModes, (int16_t)(sizeof kFitModes / sizeof kFitModes[0]),
                         selected);
}

uint32_t obGetImageFitCombo(HWND dlg, int id)
{
    return winDlgComboGetCode(dlg, id, kFitModes, (int16_t)(sizeof kFitModes / sizeof kFitModes[0]));
}
