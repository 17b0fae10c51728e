// The metafile picture object (type 61) and placeable metafile files.
#include "objects/mf_pict.h"
#include "objects/mf_emf.h"
#include "model/ob_dispatch.h"
#include "resources/resource.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_place.h"
#include <vector>
#include <stdlib.h>
#include <algorithm>
#include <string.h>

namespace {

const uint32_t kDataSizeAt = 4;
const uint32_t kModeAt = 8;
const uint32_t kMetaHeaderSize = 18;   // the standard metafile header

struct PictFields {
    int16_t mode, xExt, yExt;
};

PictFields readFields(const uint8_t *data)
{
    PictFields f;
    memcpy(&f.mode, data + kModeAt, 2);
    memcpy(&f.xExt, data + kModeAt + 2, 2);
    memcpy(&f.yExt, data + kModeAt + 4, 2);
    return f;
}

uint16_t u16At(const uint8_t *p, uint32_t at)
{
    uint16_t v;
    memcpy(&v, p + at, 2);
    return v;
}

// Whether a record's counted parts lie inside its `bytes` (the record's
// size word counts 16-bit words; parameters start at byte 6), and the
// object-table slots it names inside the table of `objects` (the player
// reads and writes the slot it is given).
bool wmfRecordFits(const uint8_t *rec, uint16_t function, uint64_t bytes, uint16_t objects)
{
    auto slot = [&](uint32_t at) { return at + 2 <= bytes && u16At(rec, at) < objects; };
    switch (function) {
    case META_SELECTOBJECT: case META_DELETEOBJECT: case META_SELECTPALETTE:
    case META_SELECTCLIPREGION: case META_INVERTREGION: case META_PAINTREGION:
        return slot(6);
    case META_FILLREGION: case META_FRAMEREGION:
        return slot(6) && slot(8);
    case META_POLYLINE:
    case META_POLYGON:
        return bytes >= 8 && 8 + 4ull * u16At(rec, 6) <= bytes;
    case META_POLYPOLYGON: {
        if (bytes < 8)
            return false;
        uint32_t polys = u16At(rec, 6);
        if (8 + 2ull * polys > bytes)
            return false;
        uint64_t points = 0;
        for (uint32_t i = 0; i < polys; ++i)
            points += u16At(rec, 8 + 2 * i);
        return 8 + 2ull * polys + 4 * points <= bytes;
    }
    case META_TEXTOUT:
        // the count, the string padded to a word, then y and x
        return bytes >= 8 && 8 + ((u16At(rec, 6) + 1ull) & ~1ull) + 4 <= bytes;
    case META_EXTTEXTOUT: {
        if (bytes < 14)
            return false;
        uint64_t chars = u16At(rec, 10);
        uint16_t options = u16At(rec, 12);
        uint64_t at = 14 + ((options & (ETO_OPAQUE | ETO_CLIPPED)) ? 8 : 0);
        return at + chars <= bytes;
    }
    default:
        return true;
    }
}

// The byte count of the metafile that starts at `bytes`, or 0 when fewer
// than `room` bytes would not hold it or it is not a metafile the player
// can walk safely: its header a metafile's, every record at least its
// size and function words and inside the size the header states, within
// the largest record the header names, its counted parts inside it, the
// object slots it names inside the header's object count, the end record
// last.
uint32_t metafileBytes(const uint8_t *bytes, uint32_t room)
{
    if (room < kMetaHeaderSize)
        return 0;
    uint16_t type = u16At(bytes, 0), headerWords = u16At(bytes, 2), version = u16At(bytes, 4);
    uint32_t words, maxRecord;
    memcpy(&words, bytes + 6, 4);
    memcpy(&maxRecord, bytes + 12, 4);
    if ((type != 1 && type != 2) || headerWords * 2u != kMetaHeaderSize ||
        (version != 0x100 && version != 0x300))
        return 0;
    uint64_t n = (uint64_t)words * 2;
    if (n < kMetaHeaderSize || n > room)
        return 0;
    uint64_t at = kMetaHeaderSize;
    uint16_t last = 0xFFFF;
    while (at < n) {
        if (n - at < 6)
            return 0;
        uint32_t size;
        memcpy(&size, bytes + at, 4);
        uint16_t function = u16At(bytes, (uint32_t)at + 4);
        uint64_t recordBytes = 2ull * size;
        if (size < 3 || size > maxRecord || recordBytes > n - at ||
            !wmfRecordFits(bytes + at, function, recordBytes, u16At(bytes, 10)))
            return 0;
        last = function;
        at += recordBytes;
    }
    return last == 0 ? (uint32_t)n : 0;
}

// The stored metafile part (placeable header included) and its length;
// false when the record is not a metafile picture or its data size passes
// the record.
bool storedPart(const ObjectRecord *rec, const uint8_t **part, uint32_t *count)
{
    if (!rec || rec->type != OBT_METAPICT)
        return false;
    uint32_t base = obDataOffset(rec);
    if ((uint64_t)base + kMfPictFixed > rec->length)
        return false;
    const uint8_t *data = reinterpret_cast<const uint8_t *>(rec) + base;
    uint32_t dataSize;
    memcpy(&dataSize, data + kDataSizeAt, 4);
    if (dataSize < 8 || (uint64_t)base + 8 + dataSize > rec->length)
        return false;
    *part = data + kMfPictFixed;
    *count = dataSize - 8;
    return true;
}

bool hasPlaceableHeader(const uint8_t *part, uint32_t count)
{
    uint32_t key = 0;
    if (count >= kMfPlaceableSize)
        memcpy(&key, part, 4);
    return key == kMfPlaceableKey;
}

int32_t inchesToTwips(double inches) { return geoRound(inches * 1440.0); }

}  // namespace

HMETAFILE mfPictHandle(const ObjectRecord *rec)
{
    const uint8_t *part;
    uint32_t count;
    if (!storedPart(rec, &part, &count))
        return 0;
    if (hasPlaceableHeader(part, count)) {
        part += kMfPlaceableSize;
        count -= kMfPlaceableSize;
    }
    uint32_t n = metafileBytes(part, count);
    return n ? SetMetaFileBitsEx(n, part) : 0;
}

HMETAFILE mfPictHandleH(MemHandle h)
{
    ObLock r(h);
    return r ? mfPictHandle(r.get()) : 0;
}

void mfPictDraw(HDC dc, const ObjectRecord *rec)
{
    if (!dc)
        return;
    HMETAFILE mf = mfPictHandle(rec);
    if (!mf)
        return;
    const uint8_t *part;
    uint32_t count;
    storedPart(rec, &part, &count);
    bool placeable = hasPlaceableHeader(part, count);
    PictFields f = readFields(obRecData(const_cast<ObjectRecord *>(rec)));

    dmPushState();
    int saved = SaveDC(dc);
    RECT box;
    obRecGetRect(rec, &box);
    POINT corners[2] = {{box.left, box.top}, {box.right, box.bottom}};
    LPtoDP(dc, corners, 2);
    POINT devOrg = corners[0];
    SIZE devSize = {corners[1].x - corners[0].x, corners[1].y - corners[0].y};

    POINT oldViewOrg, oldWinOrg;
    SIZE oldViewExt, oldWinExt;
    GetViewportOrgEx(dc, &oldViewOrg);
    GetViewportExtEx(dc, &oldViewExt);
    GetWindowOrgEx(dc, &oldWinOrg);
    GetWindowExtEx(dc, &oldWinExt);
    int oldMode = GetMapMode(dc);

    if (!placeable) {
        SetViewportOrgEx(dc, devOrg.x, devOrg.y, nullptr);
        SetWindowOrgEx(dc, 0, 0, nullptr);
        SetWindowExtEx(dc, 1, 1, nullptr);
        if (f.mode) {
            SetMapMode(dc, f.mode);
            if (f.mode == MM_ISOTROPIC && f.xExt && f.yExt)
                SetWindowExtEx(dc, f.xExt, f.yExt, nullptr);
        }
        SetViewportExtEx(dc, devSize.cx, devSize.cy, nullptr);
    } else {
        PlaceableHeader head;
        memcpy(&head, part, sizeof head);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetViewportOrgEx(dc, devOrg.x, devOrg.y, nullptr);
        SetViewportExtEx(dc, devSize.cx, devSize.cy, nullptr);
        SetWindowOrgEx(dc, head.left, head.top, nullptr);
        SetWindowExtEx(dc, abs(head.right - head.left), abs(head.bottom - head.top), nullptr);
    }
    PlayMetaFile(dc, mf);

    SetMapMode(dc, oldMode);
    SetWindowExtEx(dc, oldWinExt.cx, oldWinExt.cy, nullptr);
    SetViewportExtEx(dc, oldViewExt.cx, oldViewExt.cy, nullptr);
    SetWindowOrgEx(dc, oldWinOrg.x, oldWinOrg.y, nullptr);
    SetViewportOrgEx(dc, oldViewOrg.x, oldViewOrg.y, nullptr);
    DeleteMetaFile(mf);
    RestoreDC(dc, saved);
    dmPopState();
}

void mfPictDrawH(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r)
        mfPictDraw(dc, r.get());
}

uint32_t mfPictSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t bound = blockSize ? blockSize : rec->length;
    uint32_t stored = std::min(rec->length, bound);
    uint32_t base = obDataOffset(rec);
    if ((uint64_t)base + kMfPictFixed > bound) {
        rec->length = stored;
        return stored;
    }
    uint32_t dataSize;
    memcpy(&dataSize, obRecData(rec) + kDataSizeAt, 4);
    uint64_t size = (uint64_t)base + 8 + dataSize;
    rec->length = dataSize >= 8 && size <= bound ? (uint32_t)size : stored;
    return rec->length;
}

void mfPictNaturalSize(int32_t mode, int32_t xExt, int32_t yExt, int32_t *width, int32_t *height)
{
    int32_t w = xExt, h = yExt;
    switch (mode) {
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        if (xExt == 0) {
            w = h = 0;
        } else if (xExt < 0) {
            // Only an aspect ratio.
            w = 1440;
            h = geoRound(1440.0 * yExt / xExt);
        } else {
            w = inchesToTwips(xExt * 0.01 / 25.4);
            h = inchesToTwips(yExt * 0.01 / 25.4);
        }
        break;
    case MM_TEXT:
        w = winPixelsToTwipsX(xExt);
        h = winPixelsToTwipsY(yExt);
        break;
    case MM_LOMETRIC:
        w = inchesToTwips(xExt * 0.1 / 25.4);
        h = inchesToTwips(yExt * 0.1 / 25.4);
        break;
    case MM_HIMETRIC:
        w = inchesToTwips(xExt * 0.01 / 25.4);
        h = inchesToTwips(yExt * 0.01 / 25.4);
        break;
    case MM_LOENGLISH:
        w = inchesToTwips(xExt * 0.01);
        h = inchesToTwips(yExt * 0.01);
        break;
    case MM_HIENGLISH:
        w = inchesToTwips(xExt * 0.001);
        h = inchesToTwips(yExt * 0.001);
        break;
    default:
        break;
    }
    if (!w || !h)
        w = h = 1440;
    *width = w;
    *height = h;
}

MemHandle mfPictFromClipboard(HGLOBAL picture)
{
    if (!picture)
        return 0;
    METAFILEPICT mfp;
    {
        void *p = GlobalLock(picture);
        if (!p)
            return 0;
        if (GlobalSize(picture) < sizeof mfp) {
            GlobalUnlock(picture);
            return 0;
        }
        memcpy(&mfp, p, sizeof mfp);
        GlobalUnlock(picture);
    }
    // The metafile is a GDI object: its bits come through GDI.
    UINT bytes = mfp.hMF ? GetMetaFileBitsEx(mfp.hMF, 0, nullptr) : 0;
    if (!bytes)
        return 0;
    uint32_t dataSize = bytes + 8;
    int32_t w, h;
    mfPictNaturalSize(mfp.mm, mfp.xExt, mfp.yExt, &w, &h);
    RECT rect = {0, 0, w, h};
    MemHandle obj = mfNewObject(dataSize + 94, OBT_METAPICT, &rect);
    if (!obj)
        return 0;
    bool ok = false;
    {
        ObLock r(obj);
        uint32_t base = r ? obDataOffset(r.get()) : 0;
        if (r && (uint64_t)base + 8 + dataSize <= r.blockSize()) {
            uint8_t *data = obRecData(r.get());
            memset(data, 0, 8 + dataSize);
            memcpy(data + kDataSizeAt, &dataSize, 4);
            int16_t fields[3] = {(int16_t)mfp.mm, (int16_t)mfp.xExt, (int16_t)mfp.yExt};
            memcpy(data + kModeAt, fields, sizeof fields);
            ok = GetMetaFileBitsEx(mfp.hMF, bytes, data + kMfPictFixed) == bytes &&
                 metafileBytes(data + kMfPictFixed, bytes) != 0;
            r->length = base + 8 + dataSize;
        }
    }
    if (!ok)
        return utFreeHandle(obj);
    return obj;
}

HGLOBAL mfPictToClipboard(MemHandle h)
{
    METAFILEPICT mfp = {};
    {
        ObLock r(h);
        const uint8_t *part;
        uint32_t count;
        if (!r || !storedPart(r.get(), &part, &count))
            return 0;
        PictFields f = readFields(obRecData(r.get()));
        if (f.mode) {
            mfp.mm = f.mode;
            mfp.xExt = f.xExt;
            mfp.yExt = f.yExt;
        } else {
            // Hundredths of a millimetre.
            mfp.mm = MM_ANISOTROPIC;
            mfp.xExt = geoRound(r->width * 25.4 * 100 / 1440);
            mfp.yExt = geoRound(r->height * 25.4 * 100 / 1440);
        }
        mfp.hMF = mfPictHandle(r.get());
    }
    if (!mfp.hMF)
        return 0;
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof mfp);
    void *p = g ? GlobalLock(g) : nullptr;
    if (!p) {
        if (g)
            GlobalFree(g);
        DeleteMetaFile(mfp.hMF);
        return 0;
    }
    memcpy(p, &mfp, sizeof mfp);
    GlobalUnlock(g);
    return g;
}

MemHandle mfWmfLoadFile(HWND window, const char *fileName)
{
    if (!fileName || !*fileName)
        return 0;
    if (!ffExists(fileName)) {
        ffReportError(window, fileName, FE_NOT_EXIST);
        return 0;
    }
    MemHandle packet = ffReadFilePacket(fileName);
    if (!packet)
        return 0;
    bool wrongType = false;
    MemHandle obj = 0;
    {
        MemLock<uint8_t> p(packet);
        uint32_t length = 0;
        if (p)
            memcpy(&length, p.get(), 4);
        length = std::min(length, utHandleSize(packet));
        const uint8_t *file = p ? p.get() + 4 : nullptr;
        uint32_t n = length >= 4 ? length - 4 : 0;
        RECT rect = {0, 0, 2880, 2880};   // two inches square without a header
        uint32_t start = 0;
        if (!p || n < kMfPlaceableSize) {
            wrongType = true;
        } else if (hasPlaceableHeader(file, n)) {
            PlaceableHeader head;
            memcpy(&head, file, sizeof head);
            wrongType = head.handle != 0;
            if (head.unitsPerInch) {
                double scale = 1440.0 / head.unitsPerInch;
                rect = {(int32_t)(head.left * scale), (int32_t)(head.top * scale),
                        (int32_t)(head.right * scale), (int32_t)(head.bottom * scale)};
            } else {
                rect = {head.left, head.top, head.right, head.bottom};
            }
            start = kMfPlaceableSize;
        }
        // Some writers count the placeable header in the metafile's size in
        // words, so the size names 22 bytes more than follow the header.
        // Such a file is read with the size corrected in the stored copy.
        std::vector<uint8_t> corrected;
        const uint8_t *meta = file + start;
        uint32_t metaRoom = n - start;
        if (!wrongType && start && metaRoom >= kMetaHeaderSize) {
            uint32_t words;
            memcpy(&words, meta + 6, 4);
            if ((uint64_t)words * 2 == (uint64_t)metaRoom + kMfPlaceableSize) {
                corrected.assign(meta, meta + metaRoom);
                words = metaRoom / 2;
                memcpy(corrected.data() + 6, &words, 4);
                meta = corrected.data();
            }
        }
        // The size in words must fit the file, or the player reads past it.
        uint32_t bytes = wrongType ? 0 : metafileBytes(meta, metaRoom);
        wrongType = wrongType || !bytes;
        uint32_t part = start + bytes;
        if (!wrongType)
            obj = mfNewObject(part + 102, OBT_METAPICT, &rect);
        if (obj) {
            bool fits;
            {
                ObLock r(obj);
                fits = r && (uint64_t)obDataOffset(r.get()) + kMfPictFixed + part <= r.blockSize();
                if (fits) {
                    uint8_t *data = obRecData(r.get());
                    memset(data, 0, kMfPictFixed);
                    uint32_t dataSize = part + 8;
                    memcpy(data + kDataSizeAt, &dataSize, 4);
                    memcpy(data + kMfPictFixed, file, start);
                    memcpy(data + kMfPictFixed + start, meta, bytes);
                    r->length = obDataOffset(r.get()) + kMfPictFixed + part;
                    // At the top-left of the window's client area.
                    RECT client, now;
                    dmGetClientLogRect(window, &client);
                    obRecGetRect(r.get(), &now);
                    obRecMoveBy(r.get(), client.left - now.left, client.top - now.top);
                }
            }
            if (!fits)
                obj = utFreeHandle(obj);
        }
    }
    utFreeHandle(packet);
    if (wrongType)
        utErrorBoxId(window, IDS_WRONG_FILE_TYPE);
    return obj;
}

BOOL mfPictReadCheck(const ObjectRecord *rec, uint32_t)
{
    const uint8_t *part;
    uint32_t count;
    if (!obHeadWithinLimits(rec) || !storedPart(rec, &part, &count))
        return FALSE;
    if (hasPlaceableHeader(part, count)) {
        part += kMfPlaceableSize;
        count -= kMfPlaceableSize;
    }
    return metafileBytes(part, count) != 0;
}
