// DEVMODE and DEVNAMES blocks: copies, checks and comparisons.
#include "support/prn_blocks.h"
#include "support/ut_bytes.h"
#include <stddef.h>
#include <string.h>

namespace {

// The offset of a field's string when it starts past the head and its
// terminator lies inside the block; 0 otherwise.
uint32_t fieldOffset(const uint8_t *p, uint32_t size, PrnNameField field)
{
    uint32_t offset = utGetAt<uint16_t>(p, 2 * field);
    if (offset < PRN_DEVNAMES_HEAD || offset >= size)
        return 0;
    if (!memchr(p + offset, 0, size - offset))
        return 0;
    return offset;
}

}  // namespace

void prnFreeGlobal(HGLOBAL *h)
{
    if (h && *h) {
        GlobalFree(*h);
        *h = nullptr;
    }
}

HGLOBAL prnGlobalFromBytes(const void *bytes, uint32_t n)
{
    if (!bytes || n == 0)
        return nullptr;
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, n));
    GlobalLockT<> p(block.get());
    if (!p)
        return nullptr;
    memcpy(p.get(), bytes, n);
    return block.release();
}

HGLOBAL prnCopyGlobal(HGLOBAL h)
{
    GlobalLockT<> p(h);
    return p ? prnGlobalFromBytes(p.get(), p.size()) : nullptr;
}

BOOL prnCheckDevNames(const void *block, uint32_t size)
{
    if (!block || size <= PRN_DEVNAMES_HEAD)
        return FALSE;
    const uint8_t *p = static_cast<const uint8_t *>(block);
    for (int field = PRN_DRIVER; field <= PRN_OUTPUT; ++field)
        if (!fieldOffset(p, size, (PrnNameField)field))
            return FALSE;
    return TRUE;
}

const char *prnDevNamesString(const void *block, uint32_t size, PrnNameField field)
{
    if (!prnCheckDevNames(block, size))
        return nullptr;
    const uint8_t *p = static_cast<const uint8_t *>(block);
    return reinterpret_cast<const char *>(p + fieldOffset(p, size, field));
}

uint32_t prnDevNamesUsedSize(const void *block, uint32_t size)
{
    if (!prnCheckDevNames(block, size))
        return 0;
    uint32_t used = 0;
    for (int field = PRN_DRIVER; field <= PRN_OUTPUT; ++field) {
        const char *s = prnDevNamesString(block, size, (PrnNameField)field);
        uint32_t end = (uint32_t)(s - static_cast<const char *>(block)) + (uint32_t)strlen(s) + 1;
        if (end > used)
            used = end;
    }
    return used;
}

BOOL prnCheckDevMode(const void *block, uint32_t size)
{
    if (!block || size < PRN_DEVMODE_MIN_SIZE)
        return FALSE;
    const DEVMODEA *mode = static_cast<const DEVMODEA *>(block);
    uint32_t publicSize = mode->dmSize, extra = mode->dmDriverExtra;
    return publicSize >= PRN_DEVMODE_MIN_SIZE && publicSize + extra <= size;
}

BOOL prnSameDevNames(HGLOBAL a, HGLOBAL b)
{
    GlobalLockT<> pa(a), pb(b);
    if (!prnCheckDevNames(pa.get(), pa.size()) || !prnCheckDevNames(pb.get(), pb.size()))
        return FALSE;
    for (int field = PRN_DRIVER; field <= PRN_OUTPUT; ++field) {
        const char *sa = prnDevNamesString(pa.get(), pa.size(), (PrnNameField)field);
        const char *sb = prnDevNamesString(pb.get(), pb.size(), (PrnNameField)field);
        if (lstrcmpiA(sa, sb) != 0)
            return FALSE;
    }
    return TRUE;
}

BOOL prnSameDevMode(HGLOBAL a, HGLOBAL b)
{
    const uint32_t sizeEnd = offsetof(DEVMODEA, dmSize) + sizeof(WORD);
    GlobalLockT<DEVMODEA> pa(a), pb(b);
    if (pa.size() < sizeEnd || pb.size() < sizeEnd || pa->dmSize != pb->dmSize)
        return FALSE;
    uint32_t n = pa.size() < pb.size() ? pa.size() : pb.size();
    return memcmp(pa.get(), pb.get(), n) == 0;
}
