// Tagged attributes of entry, list and equation fields.
#include "model/att_field.h"
#include "model/att_attr.h"
#include "model/ob_dispatch.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>

namespace {

// The field's type data of a locked record and its bytes; false when the
// record cannot hold the attribute header.
bool fieldData(const ObLock &r, const uint8_t **data, uint32_t *bytes)
{
    uint32_t at = obDataOffset(r.get());
    uint32_t extent = r.extent();
    if ((uint64_t)at + kFldAttrRun > extent)
        return false;
    *data = obRecData(r.get());
    *bytes = extent - at;
    return true;
}

// Runs f(typeData, bytes) on the locked record; dflt when it has no field
// attributes.
template <typename T, typename F>
T withFieldData(MemHandle h, T dflt, F f)
{
    ObLock r(h);
    const uint8_t *data;
    uint32_t bytes;
    if (!r || !fieldData(r, &data, &bytes))
        return dflt;
    return f(data, bytes);
}

void clearBuffer(void *buffer)
{
    if (buffer)
        *static_cast<uint8_t *>(buffer) = 0;
}

}  // namespace

MemHandle attSetShapeAttr(MemHandle h, uint32_t dataOffset, const void *data, int length,
                          uint32_t tag)
{
    return attSet(h, FALSE, dataOffset + kFldAttrHeader, dataOffset + kFldAttrRun, data, length,
                  tag);
}

MemHandle obSetShapeAttr(MemHandle h, uint32_t tag, const void *data, int length)
{
    uint32_t dataOffset;
    {
        ObLock r(h);
        const uint8_t *d;
        uint32_t bytes;
        if (!r || !fieldData(r, &d, &bytes))
            return 0;
        dataOffset = obDataOffset(r.get());
    }
    MemHandle valid = attSetShapeAttr(h, dataOffset, data, length, tag);
    if (!valid)
        return 0;
    {
        ObLock r(valid);
        if (r)
            objRecordSizeIn(r.get(), r.blockSize(), 0);
    }
    obRelinkMoved(h, valid);
    return valid;
}

const uint8_t *attFindShapeAttr(const uint8_t *typeData, uint32_t dataBytes, uint32_t tag,
                                int *dataLength)
{
    if (dataLength)
        *dataLength = 0;
    if (!typeData || dataBytes < kFldAttrRun)
        return nullptr;
    AttrHeader header;
    memcpy(&header, typeData + kFldAttrHeader, sizeof header);
    if (!(header.tagMask & tag) || header.size > dataBytes - kFldAttrRun)
        return nullptr;
    return attGetDataIn(typeData + kFldAttrRun, header.count, header.size, tag, dataLength);
}

MemHandle attGetShapeAttrCopy(MemHandle h, uint32_t tag)
{
    return withFieldData(h, (MemHandle)0, [&](const uint8_t *data, uint32_t bytes) -> MemHandle {
        int n = 0;
        const uint8_t *v = attFindShapeAttr(data, bytes, tag, &n);
        return v && n > 0 ? utHandleFromBytes(v, (uint32_t)n) : 0;
    });
}

int attCopyShapeAttr(const uint8_t *typeData, uint32_t dataBytes, uint32_t tag, void *buffer,
                     int max)
{
    clearBuffer(buffer);
    int n = 0;
    const uint8_t *v = attFindShapeAttr(typeData, dataBytes, tag, &n);
    if (!buffer || !v || n <= 0)
        return 0;
    memcpy(buffer, v, (size_t)(max > 0 ? std::min(n, max) : n));
    return 1;
}

int attCopyShapeAttrAll(const uint8_t *typeData, uint32_t dataBytes, uint32_t tag, void *buffer,
                        int capacity)
{
    clearBuffer(buffer);
    int n = 0;
    const uint8_t *v = attFindShapeAttr(typeData, dataBytes, tag, &n);
    if (!buffer || !v || n <= 0 || n > capacity)
        return 0;
    memcpy(buffer, v, (size_t)n);
    return 1;
}

int obCopyShapeAttr(MemHandle h, uint32_t tag, void *buffer, int max)
{
    clearBuffer(buffer);
    return withFieldData(h, 0, [&](const uint8_t *data, uint32_t bytes) {
        return attCopyShapeAttr(data, bytes, tag, buffer, max);
    });
}

int obCopyShapeAttrAll(MemHandle h, uint32_t tag, void *buffer, int capacity)
{
    clearBuffer(buffer);
    return withFieldData(h, 0, [&](const uint8_t *data, uint32_t bytes) {
        return attCopyShapeAttrAll(data, bytes, tag, buffer, capacity);
    });
}

int obGetShapeAttr40000(MemHandle h, void *out18)
{
    if (!out18)
        return 0;
    memset(out18, 0, kAttField40000Size);
    return withFieldData(h, 0, [&](const uint8_t *data, uint32_t bytes) {
        int n = 0;
        const uint8_t *v = attFindShapeAttr(data, bytes, ATT_FIELD_40000, &n);
        if (!v || n < kAttField40000Size)
            return 0;
        memcpy(out18, v, kAttField40000Size);
        return 1;
    });
}

MemHandle obSetShapeAttr40000(MemHandle h, const void *value18)
{
    return obSetShapeAttr(h, ATT_FIELD_40000, value18, value18 ? kAttField40000Size : 0);
}

MemHandle obGetShapeAttr800000(MemHandle h) { return attGetShapeAttrCopy(h, ATT_FIELD_800000); }

MemHandle obSetShapeAttr800000(MemHandle h, const void *value)
{
    uint16_t length = 0;
    if (value)
        memcpy(&length, value, 2);
    if (length < 2) {
        const uint16_t empty = 2;
        return obSetShapeAttr(h, ATT_FIELD_800000, &empty, 2);
    }
    return obSetShapeAttr(h, ATT_FIELD_800000, value, length);
}
