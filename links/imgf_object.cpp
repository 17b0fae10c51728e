// The image file object (type 78): its record, drawing and sizing to the
// linked picture, and the other kinds of linked files.
#include "links/imgf_object.h"
#include "links/doc_names.h"
#include "links/imgf_kind.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ob_shadow.h"
#include "model/qmf_pages.h"
#include "model/qmf_read.h"
#include "objects/fld_frame.h"
#include "objects/img_bitmap.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "support/app_ui_state.h"
#include "support/ff_file.h"
#include "support/gdi_bitmap.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include <string.h>
#include <string>

namespace {

// The picture rectangle's inset on each side: the stored inset plus half
// the frame's line width when a frame is set.
void insetOf(const ImageFileData *d, int32_t *dx, int32_t *dy)
{
    const int32_t frame = d->frameStyle ? fldFrameBorderHalfWidth(d->frameStyle) : 0;
    *dx = d->insetX + frame;
    *dy = d->insetY + frame;
}

// The full path of the object's linked file; empty when it has no name.
std::string linkedPath(HWND ws, MemHandle object)
{
    char name[UT_PATH_SIZE], full[UT_PATH_SIZE];
    if (!imgfGetFileName(object, name) || !docResolveFileNameBuf(ws, name, full, sizeof full))
        return std::string();
    return full;
}

// The window whose document the drawing resolves names against.
HWND drawingWindow()
{
    HWND w = obGetDrawWindow();
    return w ? w : appGetActiveWorkspace();
}

}  // namespace

// ---- the record ------------------------------------------------------------------------------

MemHandle imgfSetFileName(MemHandle object, const char *name)
{
    if (!name)
        name = "";
    const size_t n = strnlen(name, UT_PATH_SIZE);
    if (n >= UT_PATH_SIZE)
        return 0;
    const uint32_t dataLength = kImgfNameOffset + (uint32_t)n + 1;
    if (!object) {
        MemHandle h = obNewRecord(kImgfNewRecordSize + (uint32_t)n + 1);
        ObLock rec(h);
        if (!rec)
            return 0;
        rec->type = OBT_IMAGE_FILE;
        rec->scaleX = rec->scaleY = kObScaleOne;
        ImageFileData *d = reinterpret_cast<ImageFileData *>(obRecData(rec.get()));
        d->length = dataLength;
        d->mapping = 1;
        memcpy(reinterpret_cast<uint8_t *>(d) + kImgfNameOffset, name, n + 1);
        return h;
    }
    uint32_t oldData = 0, at = 0;
    {
        ObLock rec(object);
        if (!rec)
            return 0;
        at = obDataOffset(rec.get());
        if (ImageFileData *d = imgfRecData(rec.get(), rec.extent()))
            oldData = d->length;
    }
    MemHandle h = obResize(object, at + dataLength);
    if (!h)
        return 0;
    ObLock rec(h);
    uint8_t *data = obRecData(rec.get());
    if (oldData < kImgfNameOffset)
        memset(data, 0, kImgfNameOffset);   // a head-only record gets a clean head
    ImageFileData *d = reinterpret_cast<ImageFileData *>(data);
    d->length = dataLength;
    rec->length = at + dataLength;
    memcpy(data + kImgfNameOffset, name, n + 1);
    return h;
}

int imgfGetFileName(MemHandle object, char *buffer)
{
    if (!buffer)
        return 0;
    buffer[0] = 0;
    ObLock rec(object);
    if (!rec || rec->type != OBT_IMAGE_FILE)
        return 0;
    return imgfRecFileName(rec.get(), rec.extent(), buffer, UT_PATH_SIZE);
}

int imgfGetTransparent(MemHandle object, COLORREF *colour)
{
    if (colour)
        *colour = 0;
    ObLock rec(object);
    ImageFileData *d = rec ? imgfRecData(rec.get(), rec.extent()) : nullptr;
    if (!d || !(d->flags & IMGF_TRANSPARENT))
        return 0;
    if (colour)
        *colour = d->transparent;
    return 1;
}

int imgfSetTransparent(MemHandle object, COLORREF colour, BOOL on)
{
    ObLock rec(object);
    ImageFileData *d = rec ? imgfRecData(rec.get(), rec.extent()) : nullptr;
    if (!d)
        return 0;
    const uint16_t flags = on ? (uint16_t)(d->flags | IMGF_TRANSPARENT)
                              : (uint16_t)(d->flags & ~IMGF_TRANSPARENT);
    const uint32_t value = on ? (uint32_t)colour : 0;
    const int changed = flags != d->flags || value != d->transparent;
    d->flags = flags;
    d->transparent = value;
    return changed;
}

// ---- linked files ------------------------------------------------------------------------------

int lnkIsDwgFile(const char *name)
{
    if (!name)
        return 0;
    const char *dot = strrchr(name, '.');
    return dot && lstrcmpiA(dot + 1, "dwg") == 0 ? 1 : 0;
}

int lnkIsDwgLink(MemHandle object)
{
    ObLock rec(object);
    return rec && rec->type == OBT_IMAGE_FILE && imgfGetFileKind(rec.get()) == IMGF_KIND_DWG;
}

int lnkGetLinkExt(MemHandle object, char *buffer)
{
    if (!buffer)
        return 0;
    buffer[0] = 0;
    char name[UT_PATH_SIZE];
    if (!imgfGetFileName(object, name))
        return 0;
    const char *dot = strrchr(name, '.');
    if (!dot || strpbrk(dot, "\\/"))
        return 0;
    const size_t n = strlen(dot + 1);
    if (n < 1 || n > 4)
        return 0;
    memcpy(buffer, dot + 1, n + 1);
    return (int)n;
}

MemHandle lnkCreateLinkedObject(HWND, const RECT *rect, const char *path, int)
{
    if (!rect || !path || !*path)
        return 0;
    MemHandle h = imgfSetFileName(0, path);
    if (ObLock rec{h})
        obRecSetRect(rec.get(), rect);
    return h;
}

int lnkReadLinkedPage(HWND window, const char *file, const char *password, int pageIndex,
                      MemHandle *documentOut, MemHandle *pageOut)
{
    if (documentOut)
        *documentOut = 0;
    if (pageOut)
        *pageOut = 0;
    MemHandle page = 0;
    MemHandle form = file && *file ? qmfOpenDocument(window, file, pageIndex, &page) : 0;
    if (form && page && fmCheckPassword(form, password ? password : "")) {
        if (documentOut)
            *documentOut = form;
        if (pageOut)
            *pageOut = page;
        return 1;
    }
    if (form)
        fmFree(form);   // the page read belongs to its directory entry
    MessageBeep(0);
    return 0;
}

// ---- picture and size --------------------------------------------------------------------------

void imgfDrawRecord(HDC dc, ObjectRecord *rec)
{
    if (!dc || !rec)
        return;
    const uint32_t extent = rec->length;
    ImageFileData *d = imgfRecData(rec, extent);
    RECT box;
    obRecGetRect(rec, &box);
    if (box.right <= box.left || box.bottom <= box.top)
        return;
    const DWORD rop = imgRopFromFlags(rec->flags);
    RECT pic = box;
    ImageFileData head = {};
    if (d)
        head = *d;
    int32_t dx, dy;
    insetOf(&head, &dx, &dy);
    InflateRect(&pic, -dx, -dy);
    char name[UT_PATH_SIZE], full[UT_PATH_SIZE] = "";
    if (imgfRecFileName(rec, extent, name, sizeof name))
        docResolveFileNameBuf(drawingWindow(), name, full, sizeof full);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!full[0] || !ffExists(full)) {
        obDrawMissingImage(instance, dc, &pic);
        return;
    }
    const bool shadow = (rec->flags & OBF_SHADOW) != 0;
    if (head.flags & IMGF_CROP) {
        if (shadow)
            obFillShadowRect(dc, &box);
        RECT crop = {head.cropLeft, head.cropTop, head.cropRight, head.cropBottom};
        imgDrawFileCropped(dc, full, &pic, &crop, rop);
        return;
    }
    if (imgfFileNameKind(full) == IMGF_KIND_DWG) {
        // The drawing-file filter of this program draws the placeholder.
        const int32_t half = obGetDrawnPenWidth(rec) / 2;
        InflateRect(&pic, -half, -half);
        obDrawMissingImage(instance, dc, &pic);
        return;
    }
    const bool transparent = (head.flags & IMGF_TRANSPARENT) != 0;
    if (shadow && !transparent)
        obFillShadowRect(dc, &box);
    if (!imgDrawFileInRect(dc, full, &pic, rop, GEO_FIT_FRAME, 0, transparent ? TRUE : FALSE,
                           head.transparent))
        obDrawMissingImage(instance, dc, &pic);
}

void imgfDraw(HDC dc, MemHandle object)
{
    ObLock rec(object);
    if (rec && rec->type == OBT_IMAGE_FILE)
        imgfDrawRecord(dc, rec.get());
}

int imgfGetImageSize(HWND ws, MemHandle object, int32_t *width, int32_t *height)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    const std::string path = linkedPath(ws, object);
    if (path.empty() || lnkIsDwgFile(path.c_str()) || !ffExists(path.c_str()))
        return 0;
    return imgGetFileSize(ws, path.c_str(), width, height);
}

MemHandle imgfGetDib(HWND ws, MemHandle object)
{
    const std::string path = linkedPath(ws, object);
    if (path.empty() || lnkIsDwgFile(path.c_str()))
        return 0;
    return imgLoadFileDib(ws, path.c_str());
}

const ImgLinkedPictureCalls *imgfLinkedPictureCalls()
{
    static const ImgLinkedPictureCalls calls = {imgfGetImageSize, imgfGetDib};
    return &calls;
}

int imgfSizeToImage(HWND ws, MemHandle object, uint16_t mapping)
{
    int32_t dx, dy;
    {
        ObLock rec(object);
        ImageFileData *d = rec ? imgfRecData(rec.get(), rec.extent()) : nullptr;
        if (!d)
            return 0;
        d->mapping = mapping;
        insetOf(d, &dx, &dy);
    }
    const std::string path = linkedPath(ws, object);
    if (path.empty() || lnkIsDwgFile(path.c_str()) || !ffExists(path.c_str()))
        return 0;
    MemHandle picture = imgLoadFileObject(ws, path.c_str(), mapping, FALSE, 0);
    if (!picture)
        return 0;
    const int32_t w = obGetWidth(picture), h = obGetHeight(picture);
    obFreeTree(picture);
    POINT c;
    obGetCentre(object, &c);
    const int32_t fw = w + 2 * dx, fh = h + 2 * dy;
    RECT r = {c.x - fw / 2, c.y - fh / 2, 0, 0};
    r.right = r.left + fw;
    r.bottom = r.top + fh;
    obSetRect(object, &r);
    return 1;
}

int imgfGetSizeMapping(HWND ws, MemHandle object)
{
    int32_t dx = 0, dy = 0, width = 0, height = 0;
    uint16_t stored = 0;
    {
        ObLock rec(object);
        ImageFileData *d = rec ? imgfRecData(rec.get(), rec.extent()) : nullptr;
        if (!d)
            return 0;
        stored = d->mapping;
        insetOf(d, &dx, &dy);
        width = rec->width - 2 * dx;
        height = rec->height - 2 * dy;
    }
    int32_t pw, ph;
    if (!imgfGetImageSize(ws, object, &pw, &ph))
        return stored;
    return gdiNaturalSizeKind(width, height, pw, ph);
}

// ---- names -------------------------------------------------------------------------------------

int imgfMakeNameRelative(HWND ws, MemHandle object)
{
    char name[UT_PATH_SIZE];
    if (!imgfGetFileName(object, name) || !utIsAbsolutePath(name))
        return 0;
    if (!docMakeRelativeName(ws, name))
        return 0;
    return imgfSetFileName(object, name) ? 1 : 0;
}

int imgfReplaceFolder(HWND ws, MemHandle *object, const char *oldFolder, const char *newFolder,
                      BOOL makeRelative)
{
    if (!object || !oldFolder || !newFolder || !*oldFolder)
        return 0;
    const std::string path = linkedPath(ws, *object);
    const size_t n = strlen(oldFolder);
    if (path.size() < n || CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, path.c_str(),
                                          (int)n, oldFolder, (int)n) != CSTR_EQUAL)
        return 0;
    std::string renamed = std::string(newFolder) + path.substr(n);
    if (renamed.size() >= UT_PATH_SIZE)
        return 0;
    char name[UT_PATH_SIZE];
    utStrCopyN(name, renamed.c_str(), sizeof name);
    if (makeRelative)
        docMakeRelativeName(ws, name);
    MemHandle h = imgfSetFileName(*object, name);
    if (!h)
        return 0;
    *object = h;
    return 1;
}
