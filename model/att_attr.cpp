// Tagged attributes.
#include "model/att_attr.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resources/resource.h"
#include <string.h>
#include <vector>

namespace {

uint32_t recordTag(const uint8_t *r)
{
    uint32_t tag;
    memcpy(&tag, r, 4);
    return tag;
}

int recordLength(const uint8_t *r)
{
    int16_t n;
    memcpy(&n, r + 4, 2);
    return n;
}

// A run that does not add up can only have come from a damaged file.
void reportReadError() { utErrorBoxId(0, IDS_READ_ERROR); }

}  // namespace

const uint8_t *attFind(const void *records, int count, uint32_t tag)
{
    const uint8_t *r = static_cast<const uint8_t *>(records);
    if (!r)
        return nullptr;
    for (int i = 0; i < count; ++i) {
        if (recordTag(r) == tag)
            return r;
        int n = recordLength(r);
        r += sizeof(AttrRecord) + (n > 0 ? n : 0);
    }
    return nullptr;
}

const uint8_t *attGetData(const void *records, int count, uint32_t tag, int *dataLength)
{
    const uint8_t *r = attFind(records, count, tag);
    if (dataLength)
        *dataLength = r ? recordLength(r) : 0;
    return r ? r + sizeof(AttrRecord) : nullptr;
}

MemHandle attGetCopy(const void *records, int count, uint32_t tag)
{
    int n = 0;
    const uint8_t *data = attGetData(records, count, tag, &n);
    if (!data || n <= 0)
        return 0;
    return utHandleFromBytes(data, (uint32_t)n);
}

const uint8_t *attFindIn(const void *records, int count, uint32_t size, uint32_t tag)
{
    if (!records || count < 0 || !attCheckRun(records, (uint32_t)count, size))
        return nullptr;
    return attFind(records, count, tag);
}

const uint8_t *attGetDataIn(const void *records, int count, uint32_t size, uint32_t tag,
                            int *dataLength)
{
    if (!records || count < 0 || !attCheckRun(records, (uint32_t)count, size)) {
        if (dataLength)
            *dataLength = 0;
        return nullptr;
    }
    return attGetData(records, count, tag, dataLength);
}

MemHandle attTextCopy(const uint8_t *data, int length)
{
    if (!data || length < 0)
        return 0;
    MemHandle text = utAllocHandle(0, (uint32_t)length + 1);
    if (text) {
        MemLock<uint8_t> t(text);
        memcpy(t.get(), data, (size_t)length);
    }
    return text;
}

int attTextLength(const char *text)
{
    if (!text || !*text)
        return 0;
    size_t n = strlen(text) + 1;
    return n > (size_t)kAttMaxValue ? -1 : (int)n;
}

MemHandle attGetCopyIn(const void *records, int count, uint32_t size, uint32_t tag)
{
    if (!records || count < 0 || !attCheckRun(records, (uint32_t)count, size))
        return 0;
    return attGetCopy(records, count, tag);
}

BOOL attCheckRun(const void *records, uint32_t count, uint32_t size)
{
    const uint8_t *r = static_cast<const uint8_t *>(records);
    uint32_t used = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - used < sizeof(AttrRecord))
            return FALSE;
        int n = recordLength(r + used);
        if (n < 0 || (uint32_t)n > size - used - sizeof(AttrRecord))
            return FALSE;
        used += sizeof(AttrRecord) + (uint32_t)n;
    }
    return used == size;
}

BOOL attIsValidOwner(const void *owner, uint32_t blockSize, uint32_t headerOffset,
                     uint32_t runOffset)
{
    if (blockSize < 4 || headerOffset + sizeof(AttrHeader) > blockSize || runOffset > blockSize)
        return FALSE;
    const uint8_t *p = static_cast<const uint8_t *>(owner);
    uint32_t length;
    AttrHeader header;
    memcpy(&length, p, 4);
    memcpy(&header, p + headerOffset, sizeof(header));
    if (length != runOffset + header.size || length > blockSize)
        return FALSE;
    return attCheckRun(p + runOffset, header.count, header.size);
}

MemHandle attReplaceRecord(MemHandle h, uint32_t runOffset, uint16_t *count, uint16_t *size,
                           const void *data, int length, uint32_t tag)
{
    if (!count || !size || length < 0 || length > kAttMaxValue)
        return 0;
    bool adding = length > 0 && data;
    if (!h && !adding)
        return 0;

    // Where the old record lies, if there is one. The run is walked only
    // after its records were found to fill its size exactly inside the block.
    uint64_t end = (uint64_t)runOffset + *size;
    uint32_t oldAt = 0, oldBytes = 0;
    if (h) {
        if (!utIsLiveHandle(h))
            return 0;
        MemLock<uint8_t> p(h);
        if (end > utHandleSize(h) || !attCheckRun(p.get() + runOffset, *count, *size)) {
            reportReadError();
            return 0;
        }
        const uint8_t *r = attFind(p.get() + runOffset, *count, tag);
        if (r) {
            oldAt = (uint32_t)(r - p.get());
            oldBytes = sizeof(AttrRecord) + (uint32_t)recordLength(r);
        }
    } else if (*count || *size) {
        return 0;   // no block can hold the run the counts describe
    }
    if (!oldBytes && !adding)
        return h;   // nothing to remove, nothing to add
    uint32_t newSize = *size - oldBytes + (adding ? sizeof(AttrRecord) + (uint32_t)length : 0);
    if (newSize > kAttMaxRun)
        return 0;

    // The value may lie inside the block that is about to move.
    std::vector<uint8_t> value;
    if (adding)
        value.assign(static_cast<const uint8_t *>(data), static_cast<const uint8_t *>(data) + length);

    uint32_t needed = runOffset + newSize;
    if (needed == 0) {
        utFreeHandle(h);   // the block held nothing but the record removed
        *count = 0;
        *size = 0;
        return 0;
    }
    if (needed > utHandleSize(h)) {
        MemHandle grown = utAllocHandle(h, needed);
        if (!grown)
            return 0;
        h = grown;
    }
    MemLock<uint8_t> p(h);
    if (oldBytes) {
        memmove(p.get() + oldAt, p.get() + oldAt + oldBytes, (size_t)(end - oldAt - oldBytes));
        memset(p.get() + end - oldBytes, 0, oldBytes);
        *size = (uint16_t)(*size - oldBytes);
        --*count;
    }
    if (adding) {
        uint8_t *w = p.get() + runOffset + *size;
        AttrRecord head = {tag, (int16_t)length};
        memcpy(w, &head, sizeof(head));
        memcpy(w + sizeof(head), value.data(), value.size());
        *size = (uint16_t)(*size + sizeof(head) + length);
        ++*count;
    }
    return h;
}

MemHandle attSet(MemHandle h, BOOL adjustLength, uint32_t headerOffset, uint32_t runOffset,
                 const void *data, int length, uint32_t tag)
{
    uint32_t block = utHandleSize(h);
    if (!h || (uint64_t)headerOffset + sizeof(AttrHeader) > block || (adjustLength && block < 4))
        return 0;
    AttrHeader header;
    {
        MemLock<uint8_t> p(h);
        memcpy(&header, p.get() + headerOffset, sizeof(header));
        if (adjustLength) {
            // The length is corrected by the change of size, so it must
            // cover the run and lie within the block.
            uint32_t ownerLength;
            memcpy(&ownerLength, p.get(), 4);
            if (ownerLength > block || ownerLength < (uint64_t)runOffset + header.size) {
                reportReadError();
                return 0;
            }
        }
    }
    uint16_t oldSize = header.size;
    MemHandle valid = attReplaceRecord(h, runOffset, &header.count, &header.size, data, length, tag);
    if (!valid)
        return 0;
    if (length >= 1 && data)
        header.tagMask |= tag;
    else
        header.tagMask &= ~tag;
    MemLock<uint8_t> p(valid);
    memcpy(p.get() + headerOffset, &header, sizeof(header));
    if (adjustLength) {
        uint32_t recordLength;
        memcpy(&recordLength, p.get(), 4);
        recordLength = recordLength - oldSize + header.size;
        memcpy(p.get(), &recordLength, 4);
    }
    return valid;
}
