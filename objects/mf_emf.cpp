// The enhanced metafile object (type 293).
#include "objects/mf_emf.h"
#include "objects/sh_arrow.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resources/resource.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

uint32_t u32At(const uint8_t *p, uint32_t at)
{
    uint32_t v;
    memcpy(&v, p + at, 4);
    return v;
}

// Whether `n` items of `size` bytes starting `at` bytes into a record of
// `length` bytes lie inside it.
bool itemsFit(uint32_t at, uint64_t n, uint32_t size, uint32_t length)
{
    return at <= length && n * size <= length - at;
}

// Whether a block given by an (offset, size) pair at `pairAt` of the
// record lies inside it (an empty block anywhere).
bool blockFits(const uint8_t *rec, uint32_t length, uint32_t pairAt)
{
    if ((uint64_t)pairAt + 8 > length)
        return false;
    uint32_t off = u32At(rec, pairAt), size = u32At(rec, pairAt + 4);
    return size == 0 || ((uint64_t)off + size <= length && off >= 8);
}

// Whether the handle-table index at `at` names a slot of the table (slot 0
// is the metafile's own); a stock object (bit 31) where `stock` allows it.
bool slotFits(const uint8_t *rec, uint32_t length, uint32_t at, uint32_t handles, bool stock)
{
    if ((uint64_t)at + 4 > length)
        return false;
    uint32_t index = u32At(rec, at);
    if (stock && (index & 0x80000000u))
        return true;
    return index >= 1 && index < handles;
}

// Whether the region data whose byte count is at `countAt` lies inside the
// record from `dataAt`.
bool regionFits(const uint8_t *rec, uint32_t length, uint32_t countAt, uint32_t dataAt)
{
    return (uint64_t)countAt + 4 <= length && itemsFit(dataAt, u32At(rec, countAt), 1, length);
}

// The counts a record of the kinds the player walks point by point must
// hold within its own bytes, and the handle-table slots it names must be
// in the table (the player reads and writes the slot it is given).
bool recordCountsFit(const uint8_t *rec, uint32_t type, uint32_t length, uint32_t handles)
{
    switch (type) {
    case EMR_SELECTOBJECT:
    case EMR_SELECTPALETTE:
        return slotFits(rec, length, 8, handles, true);
    case EMR_DELETEOBJECT: case EMR_CREATEPEN: case EMR_CREATEBRUSHINDIRECT:
    case EMR_EXTCREATEFONTINDIRECTW: case EMR_CREATEPALETTE: case EMR_SETPALETTEENTRIES:
    case EMR_RESIZEPALETTE: case EMR_CREATEMONOBRUSH: case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_EXTCREATEPEN: case EMR_CREATECOLORSPACE: case EMR_SETCOLORSPACE:
    case EMR_DELETECOLORSPACE: case EMR_CREATECOLORSPACEW:
        return slotFits(rec, length, 8, handles, false);
    case EMR_FILLRGN:
        return slotFits(rec, length, 28, handles, true) && regionFits(rec, length, 24, 32);
    case EMR_FRAMERGN:
        return slotFits(rec, length, 28, handles, true) && regionFits(rec, length, 24, 40);
    case EMR_PAINTRGN:
    case EMR_INVERTRGN:
        return regionFits(rec, length, 24, 28);
    case EMR_EXTSELECTCLIPRGN:
        return regionFits(rec, length, 8, 16);
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
        // bounds, count, 8-byte points
        return length >= 28 && itemsFit(28, u32At(rec, 24), 8, length);
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        return length >= 28 && itemsFit(28, u32At(rec, 24), 4, length);
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16: {
        // bounds, polygons, points, a count per polygon, then the points
        if (length < 32)
            return false;
        uint32_t polys = u32At(rec, 24), points = u32At(rec, 28);
        uint32_t pointSize = type == EMR_POLYPOLYLINE16 || type == EMR_POLYPOLYGON16 ? 4 : 8;
        if (!itemsFit(32, polys, 4, length) ||
            !itemsFit(32 + 4 * polys, points, pointSize, length))
            return false;
        uint64_t sum = 0;
        for (uint32_t i = 0; i < polys; ++i)
            sum += u32At(rec, 32 + 4 * i);
        return sum <= points;
    }
    case EMR_POLYDRAW:
        return length >= 28 && itemsFit(28, u32At(rec, 24), 9, length);
    case EMR_POLYDRAW16:
        return length >= 28 && itemsFit(28, u32At(rec, 24), 5, length);
    case EMR_EXTTEXTOUTA: case EMR_EXTTEXTOUTW: {
        // the text record from 36: reference point, count, string offset,
        // options, rectangle, offset of the spacing array
        if (length < 76)
            return false;
        uint64_t chars = u32At(rec, 44);
        uint32_t strAt = u32At(rec, 48), dxAt = u32At(rec, 72);
        uint32_t charSize = type == EMR_EXTTEXTOUTW ? 2 : 1;
        return chars == 0 || (strAt >= 8 && itemsFit(strAt, chars, charSize, length) &&
                              (dxAt == 0 || itemsFit(dxAt, chars, 4, length)));
    }
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_MASKBLT: case EMR_PLGBLT:
    case EMR_SETDIBITSTODEVICE: case EMR_STRETCHDIBITS: case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
        // the source bitmap's header and bits, each an (offset, size) pair
        static const struct { uint32_t type, header, bits; } pairs[] = {
            {EMR_BITBLT, 84, 92}, {EMR_STRETCHBLT, 84, 92}, {EMR_MASKBLT, 84, 92},
            {EMR_PLGBLT, 84, 92}, {EMR_SETDIBITSTODEVICE, 48, 56},
            {EMR_STRETCHDIBITS, 48, 56}, {EMR_ALPHABLEND, 84, 92}, {EMR_TRANSPARENTBLT, 84, 92},
        };
        for (const auto &p : pairs)
            if (p.type == type)
                return length < p.bits + 8 ||
                       (blockFits(rec, length, p.header) && blockFits(rec, length, p.bits));
        return true;
    }
    default:
        return true;
    }
}

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

BOOL mfEmfRecordsValid(const uint8_t *bytes, uint32_t count)
{
    const uint32_t kBaseHeader = 88;   // the header record without its extensions
    if (!bytes || count < kBaseHeader || count % 4)
        return FALSE;
    ENHMETAHEADER head = {};
    memcpy(&head, bytes, std::min<size_t>(sizeof head, count));
    if (head.iType != EMR_HEADER || head.dSignature != ENHMETA_SIGNATURE ||
        head.nBytes != count || head.nSize < kBaseHeader || head.nSize % 4 ||
        head.nSize > count || head.nRecords < 2 || head.nHandles == 0)
        return FALSE;
    // The description and the pixel format lie inside the header record.
    if (head.nDescription &&
        (head.offDescription < kBaseHeader ||
         !itemsFit(head.offDescription, head.nDescription, 2, head.nSize)))
        return FALSE;
    if (head.nSize >= 100 && head.cbPixelFormat &&
        (head.offPixelFormat < kBaseHeader ||
         (uint64_t)head.offPixelFormat + head.cbPixelFormat > head.nSize))
        return FALSE;
    if (head.rclFrame.right < head.rclFrame.left || head.rclFrame.bottom < head.rclFrame.top)
        return FALSE;
    // Every record at least its type and size, a multiple of 4, inside the
    // bytes; as many as the header counts, the last the end record.
    uint32_t at = 0, records = 0, lastType = 0;
    while (at < count) {
        if (count - at < 8)
            return FALSE;
        uint32_t type = u32At(bytes, at), size = u32At(bytes, at + 4);
        if (size < 8 || size % 4 || size > count - at || ++records > head.nRecords)
            return FALSE;
        if (records > 1 &&
            (type == EMR_HEADER || !recordCountsFit(bytes + at, type, size, head.nHandles)))
            return FALSE;
        lastType = type;
        at += size;
    }
    return records == head.nRecords && lastType == EMR_EOF;
}

HENHMETAFILE mfEmfHandle(const ObjectRecord *rec)
{
    const uint8_t *bytes;
    uint32_t count;
    if (!storedBytes(rec, &bytes, &count) || !mfEmfRecordsValid(bytes, count))
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
    {
        // Only a metafile whose records hold together is kept.
        std::vector<uint8_t> bytes(head.nBytes);
        if (GetEnhMetaFileBits(emf, head.nBytes, bytes.data()) != head.nBytes ||
            !mfEmfRecordsValid(bytes.data(), head.nBytes))
            return 0;
    }
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
    // The file's records are checked before the system reads them.
    MemHandle packet = ffReadFilePacket(fileName);
    HENHMETAFILE emf = 0;
    {
        MemLock<uint8_t> p(packet);
        uint32_t length = 0;
        if (p && utHandleSize(packet) >= 4)
            memcpy(&length, p.get(), 4);
        length = std::min(length, utHandleSize(packet));
        if (length >= 4 && mfEmfRecordsValid(p.get() + 4, length - 4))
            emf = SetEnhMetaFileBits(length - 4, p.get() + 4);
    }
    utFreeHandle(packet);
    MemHandle h = emf ? mfEmfFromHandle(emf) : 0;
    if (emf)
        DeleteEnhMetaFile(emf);
    if (!h)
        utErrorBoxId(window, IDS_WRONG_FILE_TYPE);
    return h;
}

BOOL mfEmfReadCheck(const ObjectRecord *rec, uint32_t)
{
    const uint8_t *bytes;
    uint32_t count;
    if (!obHeadWithinLimits(rec) || !storedBytes(rec, &bytes, &count))
        return FALSE;
    int32_t size[2];
    memcpy(size, bytes - kMfEmfFixed, sizeof size);
    return obSizeWithinLimits(size[0]) && obSizeWithinLimits(size[1]) &&
           mfEmfRecordsValid(bytes, count);
}
