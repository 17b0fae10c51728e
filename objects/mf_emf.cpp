// The enhanced metafile object (type 293).
#include "objects/mf_emf.h"
#include "objects/sh_arrow.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

// The stored metafile bytes and their count; false when the record is not
// an enhanced metafile object or is too short for its box.
bool storedBytes(const ObjectRecord *rec, const uint8_t **bytes, uint32_t *count)
{
    if (!rec || rec->type != OBT_ENHANCED_MF)
        return false;
    uint32_t base = obDataOffset(rec) + kMfEmfFixed;
    if (rec->length <= base)
        return false;
    *bytes = reinterpret_cast<const uint8_t *>(rec) + base;
    *count = rec->length - base;
    return true;
}

}  // namespace

MemHandle mfNewObject(uint32_t size, int16_t type, const RECT *rect)
{
    MemHandle h = obNewRecord(size);
    if (!h)
        return 0;
    POINT pts[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    if (ShObjectFactory factory = shGetObjectFactory()) {
        MemHandle made = factory(h, type, pts, 2);
        if (!made) {
            utFreeHandle(h);
            return 0;
        }
        return made;
    }
    ObLock r(h);
    r->type = type;
    r->scaleX = r->scaleY = kObScaleOne;
    obRecSetRect(r.get(), rect);
    return h;
}

HENHMETAFILE mfEmfHandle(const ObjectRecord *rec)
{
    const uint8_t *bytes;
    uint32_t count;
    if (!storedBytes(rec, &bytes, &count) || count < sizeof(ENHMETAHEADER))
        return 0;
    ENHMETAHEADER head;
    memcpy(&head, bytes, sizeof head);
    // A header that disagrees with what is stored would have the player
    // read past the record.
    if (head.iType != EMR_HEADER || head.dSignature != ENHMETA_SIGNATURE ||
        head.nBytes != count || head.nSize < 88 || head.nSize > count)
        return 0;
    return SetEnhMetaFileBits(count, bytes);
}

HENHMETAFILE mfEmfHandleH(MemHandle h)
{
    ObLock r(h);
    return r ? mfEmfHandle(r.get()) : 0;
}

int mfEmfDraw(HDC dc, const ObjectRecord *rec)
{
    if (!dc)
        return 0;
    HENHMETAFILE emf = mfEmfHandle(rec);
    if (!emf)
        return 0;
    RECT box;
    obRecGetRect(rec, &box);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    PlayEnhMetaFile(dc, emf, &box);
    obRestoreDCModes(dc, &modes);
    return DeleteEnhMetaFile(emf) ? 1 : 0;
}

int mfEmfDrawH(HDC dc, MemHandle h)
{
    ObLock r(h);
    return r ? mfEmfDraw(dc, r.get()) : 0;
}

void mfEmfSetBox(MemHandle h, const RECT *rect)
{
    if (!rect)
        return;
    obSetRect(h, rect);
    ObLock r(h);
    if (!r || obDataOffset(r.get()) + kMfEmfFixed > r.extent())
        return;
    int32_t size[2] = {r->width, r->height};
    memcpy(obRecData(r.get()), size, sizeof size);
}

void mfEmfBounds(RECT *out, MemHandle h) { obGetRect(h, out); }

uint32_t mfEmfSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    if (blockSize && rec->length > blockSize)
        rec->length = blockSize;
    return rec->length;
}

MemHandle mfEmfFromHandle(HENHMETAFILE emf)
{
    if (!emf)
        return 0;
    ENHMETAHEADER head;
    if (!GetEnhMetaFileHeader(emf, sizeof head, &head) || !head.nBytes)
        return 0;
    POINT corners[2] = {{head.rclBounds.left, head.rclBounds.top},
                        {head.rclBounds.right, head.rclBounds.bottom}};
    dmDevToLogPoints(corners, 2);
    RECT rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    MemHandle h = mfNewObject(head.nBytes + 94, OBT_ENHANCED_MF, &rect);
    if (!h)
        return 0;
    bool ok = false;
    {
        ObLock r(h);
        uint32_t base = r ? obDataOffset(r.get()) : 0;
        // Room for the box and the bytes (a factory that named the record
        // would have taken some of it).
        if (r && (uint64_t)base + kMfEmfFixed + head.nBytes <= r.blockSize()) {
            r->length = base + kMfEmfFixed + head.nBytes;
            uint8_t *data = obRecData(r.get());
            int32_t size[2] = {rect.right - rect.left, rect.bottom - rect.top};
            memcpy(data, size, sizeof size);
            ok = GetEnhMetaFileBits(emf, head.nBytes, data + kMfEmfFixed) == head.nBytes;
        }
    }
    if (!ok)
        return utFreeHandle(h);
    return h;
}

MemHandle mfEmfLoadFile(HWND window, const char *fileName)
{
    if (!fileName || !*fileName)
        return 0;
    if (!ffExists(fileName)) {
        ffReportError(window, fileName, FE_NOT_EXIST);
        return 0;
    }
    HENHMETAFILE emf = GetEnhMetaFileA(fileName);
    if (!emf)
        return 0;
    MemHandle h = mfEmfFromHandle(emf);
    DeleteEnhMetaFile(emf);
    return h;
}
