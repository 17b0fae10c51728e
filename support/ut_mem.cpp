// Memory handles: the one allocator every record, list, string and buffer of
// variable size goes through, plus byte and string routines on plain buffers.
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

// The handle table. A handle is (generation << 22) | (slot + 1): a freed
// slot's generation moves on, so a stale handle is recognised as dead
// instead of reaching a block that now belongs to someone else.
const uint32_t kSlotBits = 22;
const uint32_t kSlotMask = (1u << kSlotBits) - 1;
const uint32_t kMaxBlock = 0x7FFFFFF0u;

struct Block {
    uint8_t *data;
    uint32_t size;
    uint16_t gen;
    int16_t locks;
    bool live;
};

std::vector<Block> g_blocks;
std::vector<uint32_t> g_freeSlots;
long g_live = 0;

MemHandle g_scratch = 0;
BOOL g_scratchLocked = FALSE;
uint32_t g_debugMode = 0;
int g_failAllocs = 0;

uint32_t roundUp4(uint32_t size)
{
    uint32_t rem = size % 4;
    return rem ? size + 4 - rem : size;
}

bool takeInjectedFailure()
{
    if (g_failAllocs > 0) {
        --g_failAllocs;
        return true;
    }
    return false;
}

Block *lookup(MemHandle h)
{
    if (!h)
        return nullptr;
    uint32_t slot = (h & kSlotMask) - 1;
    if (slot >= g_blocks.size())
        return nullptr;
    Block &b = g_blocks[slot];
    if (!b.live || (uint16_t)((h >> kSlotBits) & 0x3FF) != (b.gen & 0x3FF))
        return nullptr;
    return &b;
}

MemHandle newBlock(uint32_t size)
{
    uint8_t *p = static_cast<uint8_t *>(calloc(size, 1));
    if (!p)
        return 0;
    uint32_t slot;
    if (!g_freeSlots.empty()) {
        slot = g_freeSlots.back();
        g_freeSlots.pop_back();
    } else {
        if (g_blocks.size() >= kSlotMask) {
            free(p);
            return 0;
        }
        slot = (uint32_t)g_blocks.size();
        g_blocks.push_back(Block{nullptr, 0, 0, 0, false});
    }
    Block &b = g_blocks[slot];
    b.data = p;
    b.size = size;
    b.locks = 0;
    b.live = true;
    ++g_live;
    return ((uint32_t)(b.gen & 0x3FF) << kSlotBits) | (slot + 1);
}

void freeBlock(MemHandle h)
{
    Block *b = lookup(h);
    if (!b)
        return;
    if (g_debugMode & UT_DEBUG_MOVE_ON_GROW)
        memset(b->data, 0xDD, b->size);
    free(b->data);
    b->data = nullptr;
    b->size = 0;
    b->locks = 0;
    b->live = false;
    ++b->gen;
    g_freeSlots.push_back((h & kSlotMask) - 1);
    --g_live;
}

void reportLockedGrow(MemHandle h)
{
    // Growing a locked block leaves the locker with a dangling address: this
    // is a programming error, caught loudly in the checking mode.
    char msg[96];
    wsprintfA(msg, "memory handle 0x%08X grown while locked\n", (unsigned)h);
    OutputDebugStringA(msg);
    fputs(msg, stderr);
    abort();
}

// Grows the block of h to newSize bytes, zero-filling the added bytes. In
// the moving mode the block always moves to a new handle and the old one dies.
MemHandle growBlock(MemHandle h, uint32_t newSize)
{
    Block *b = lookup(h);
    if (!b)
        return 0;
    if (g_debugMode & UT_DEBUG_MOVE_ON_GROW) {
        if (b->locks > 0)
            reportLockedGrow(h);
        MemHandle fresh = newBlock(newSize);
        if (!fresh)
            return 0;
        b = lookup(h);   // the table may have moved
        memcpy(lookup(fresh)->data, b->data, b->size);
        freeBlock(h);
        return fresh;
    }
    uint8_t *p = static_cast<uint8_t *>(realloc(b->data, newSize));
    if (!p)
        return 0;
    memset(p + b->size, 0, newSize - b->size);
    b->data = p;
    b->size = newSize;
    return h;
}

}  // namespace

void *utLock(MemHandle h)
{
    Block *b = lookup(h);
    if (!b)
        return nullptr;
    ++b->locks;
    return b->data;
}

void utUnlock(MemHandle h)
{
    Block *b = lookup(h);
    if (b && b->locks > 0)
        --b->locks;
}

BOOL utIsLiveHandle(MemHandle h) { return lookup(h) != nullptr; }
long utLiveHandleCount() { return g_live; }
void utSetDebugMode(uint32_t flags) { g_debugMode = flags; }
uint32_t utGetDebugMode() { return g_debugMode; }
void utFailNextAllocs(int n) { g_failAllocs = n; }

void utResetMemModule()
{
    utScratchBuffer(0, FALSE);
    g_failAllocs = 0;
}

uint32_t utHandleSize(MemHandle h)
{
    Block *b = lookup(h);
    return b ? b->size : 0;
}

MemHandle utFreeHandle(MemHandle h)
{
    return utAllocHandle(h, 0);
}

MemHandle utAllocHandle(MemHandle h, uint32_t size)
{
    if (size == 0) {
        if (h)
            freeBlock(h);
        return 0;
    }
    if (h && !lookup(h))
        return 0;   // a dead handle: nothing to grow, and nothing to report
    if (size > kMaxBlock) {
        utErrorBox(0, "Memory allocation failed");
        return 0;
    }
    size = roundUp4(size);
    if (h && utHandleSize(h) >= size)
        return h;   // never shrinks

    MemHandle result = 0;
    if (!takeInjectedFailure())
        result = h ? growBlock(h, size) : newBlock(size);
    if (!result) {
        utErrorBox(0, "Memory allocation failed");
        return 0;
    }
    return result;
}

uint32_t utGrowRequest(uint32_t capacity, uint32_t needed, uint16_t step)
{
    if (capacity >= needed)
        return capacity;
    uint32_t s = step ? step : 1;
    uint32_t steps = (needed - capacity + s - 1) / s;
    return capacity + steps * s;
}

MemHandle utGrowHandle(MemHandle h, uint32_t needed, uint16_t step)
{
    uint32_t cap = utHandleSize(h);
    if (cap >= needed)
        return h;
    return utAllocHandle(h, utGrowRequest(cap, needed, step));
}

void *utScratchBuffer(uint32_t size, BOOL take)
{
    if (!take) {
        if (g_scratch) {
            if (g_scratchLocked)
                utUnlock(g_scratch);
            g_scratchLocked = FALSE;
            g_scratch = utAllocHandle(g_scratch, 0);
        }
        return nullptr;
    }
    if (g_scratchLocked) {
        utUnlock(g_scratch);
        g_scratchLocked = FALSE;
    }
    MemHandle grown = utAllocHandle(g_scratch, size ? size : 4);
    if (!grown)
        return nullptr;
    g_scratch = grown;
    void *p = utLock(g_scratch);
    g_scratchLocked = p != nullptr;
    return p;
}

MemHandle utPutBytes(MemHandle h, uint32_t offset, const void *src, uint32_t n)
{
    if (n == 0)
        return h;
    if (offset > 0xFFFFFFF0u - n)
        return 0;
    MemHandle grown = utAllocHandle(h, offset + n);
    if (!grown)
        return 0;
    MemLock<> p(grown);
    if (!p)
        return 0;
    memmove(p.get() + offset, src, n);
    return grown;
}

MemHandle utAppendString(MemHandle h, const char *s)
{
    if (!s || !*s)
        return h;
    if (!h)
        return utHandleFromString(s);
    uint32_t cap = utHandleSize(h);
    uint32_t cur;
    {
        MemLock<char> p(h);
        if (!p)
            return 0;
        cur = (uint32_t)strnlen(p.get(), cap);
    }
    uint32_t add = (uint32_t)strlen(s);
    MemHandle grown = utAllocHandle(h, cur + add + 1);
    if (!grown)
        return 0;
    MemLock<char> p(grown);
    memcpy(p.get() + cur, s, add + 1);
    return grown;
}

MemHandle utCopyHandleInto(MemHandle dst, MemHandle src)
{
    uint32_t srcSize = utHandleSize(src);
    if (srcSize == 0)
        return 0;
    MemHandle grown = utAllocHandle(dst, srcSize);
    if (!grown)
        return 0;
    MemLock<> d(grown);
    MemLock<> s(src);
    if (!d || !s)
        return 0;
    memcpy(d.get(), s.get(), srcSize);
    return grown;
}

MemHandle utAssignHandle(MemHandle dst, MemHandle src)
{
    if (utHandleSize(src) == 0) {
        utAllocHandle(dst, 0);
        return 0;
    }
    return utCopyHandleInto(dst, src);
}

MemHandle utReplaceBytes(MemHandle h, uint32_t contentSize, uint32_t offset,
                         uint32_t oldLen, const void *src, uint32_t newLen)
{
    if (!h || offset > contentSize || contentSize > utHandleSize(h))
        return 0;
    if (oldLen > contentSize - offset)
        oldLen = contentSize - offset;
    uint32_t newSize = contentSize - oldLen + newLen;
    if (newSize > contentSize) {
        MemHandle grown = utAllocHandle(h, newSize);
        if (!grown)
            return 0;
        h = grown;
    }
    MemLock<> p(h);
    if (!p)
        return 0;
    uint8_t *base = p.get();
    uint32_t tail = contentSize - offset - oldLen;
    memmove(base + offset + newLen, base + offset + oldLen, tail);
    if (newLen)
        memmove(base + offset, src, newLen);
    if (newSize < contentSize)
        memset(base + newSize, 0, contentSize - newSize);
    return h;
}

MemHandle utHandleFromBytes(const void *bytes, uint32_t n)
{
    if (n == 0)
        return 0;
    return utPutBytes(0, 0, bytes, n);
}

MemHandle utHandleFromString(const char *s)
{
    if (!s || !*s)
        return 0;
    return utHandleFromBytes(s, (uint32_t)strlen(s) + 1);
}

void utClearHandle(MemHandle h)
{
    if (!h)
        return;
    MemLock<> p(h);
    if (p)
        memset(p.get(), 0, utHandleSize(h));
}

MemHandle utCopyHandle(MemHandle h)
{
    if (!h)
        return 0;
    return utCopyHandleInto(0, h);
}

// ---- byte routines ---------------------------------------------------------

void utCopyBytes(void *dst, const void *src, uint32_t n)
{
    if (n)
        memmove(dst, src, n);
}

void utMoveBytes(void *dst, const void *src, uint32_t n)
{
    if (n)
        memmove(dst, src, n);
}

int16_t utCompareBytes(const void *a, const void *b, uint32_t n)
{
    const int8_t *pa = static_cast<const int8_t *>(a);
    const int8_t *pb = static_cast<const int8_t *>(b);
    for (uint32_t i = 0; i < n; ++i)
        if (pa[i] != pb[i])
            return (int16_t)(pa[i] - pb[i]);
    return 0;
}

uint32_t utDeleteBytes(void *buf, uint32_t contentSize, uint32_t offset, uint32_t n)
{
    if (offset >= contentSize || n == 0)
        return 0;
    uint8_t *p = static_cast<uint8_t *>(buf);
    if (n < contentSize - offset) {
        memmove(p + offset, p + offset + n, contentSize - offset - n);
        memset(p + contentSize - n, 0, n);
    } else {
        memset(p + offset, 0, contentSize - offset);
    }
    return n;
}

BOOL utInsertBytes(void *buf, uint32_t capacity, uint32_t contentSize, uint32_t offset,
                   const void *src, uint32_t n)
{
    if (n == 0)
        return TRUE;
    if (offset > contentSize || contentSize > capacity || n > capacity - contentSize)
        return FALSE;
    uint8_t *p = static_cast<uint8_t *>(buf);
    memmove(p + offset + n, p + offset, contentSize - offset);
    memmove(p + offset, src, n);
    return TRUE;
}

int32_t utSpliceBytes(void *buf, uint32_t capacity, uint32_t contentSize, uint8_t *pos,
                      uint32_t oldLen, const void *src, uint32_t newLen)
{
    uint8_t *base = static_cast<uint8_t *>(buf);
    if (pos < base || contentSize > capacity)
        return -1;
    uint32_t off = (uint32_t)(pos - base);
    if (off > contentSize)
        return -1;
    if (oldLen > contentSize - off)
        oldLen = contentSize - off;
    uint32_t newSize = contentSize - oldLen + newLen;
    if (newSize > capacity)
        return -1;
    if (off + oldLen < contentSize)
        memmove(pos + newLen, pos + oldLen, contentSize - off - oldLen);
    if (newLen)
        memmove(pos, src, newLen);
    return (int32_t)newSize;
}

void utFillBytes(void *buf, uint8_t value, uint32_t n)
{
    if (n)
        memset(buf, value, n);
}

// ---- string routines -------------------------------------------------------

char *utSkipChar(char *s, char c)
{
    while (*s && *s == c)
        ++s;
    return s;
}

char *utTrimTrailingChar(char *s, char c)
{
    size_t len = strlen(s);
    while (len > 0 && s[len - 1] == c)
        s[--len] = 0;
    return s;
}

namespace {
template <typename Pred>
char *trimBoth(char *s, Pred isTrimmed)
{
    if (!s || !*s)
        return s;
    size_t len = strlen(s);
    size_t start = 0;
    while (start < len && isTrimmed(s[start]))
        ++start;
    if (start)
        memmove(s, s + start, len - start + 1);
    len -= start;
    while (len > 0 && isTrimmed(s[len - 1]))
        s[--len] = 0;
    return s;
}
}  // namespace

char *utTrimChar(char *s, char c)
{
    return trimBoth(s, [c](char x) { return x == c; });
}

char *utTrimCharCrLf(char *s, char c)
{
    return trimBoth(s, [c](char x) { return x == c || x == '\r' || x == '\n'; });
}

char *utRemoveChar(char *s, char c)
{
    char *w = s;
    for (char *r = s; *r; ++r)
        if (*r != c)
            *w++ = *r;
    *w = 0;
    return s;
}

char *utStripCrLf(char *s)
{
    size_t len = strlen(s);
    while (len > 0 && (s[len - 1] == '\r' || s[len - 1] == '\n'))
        s[--len] = 0;
    return s;
}

int utCountChar(const char *s, char c)
{
    int n = 0;
    for (; *s; ++s)
        if (*s == c)
            ++n;
    return n;
}

uint32_t utStrSize(const char *s)
{
    if (!s || !*s)
        return 0;
    return (uint32_t)strlen(s) + 1;
}

uint32_t utCopyMultiString(char *dst, const char *src, uint32_t limit)
{
    if (limit == 0)
        return 0;
    uint32_t i = 0;
    for (; i < limit; ++i) {
        dst[i] = src[i];
        // The list ends at an empty string: a zero right after a zero, or a
        // zero in the first byte (an empty list).
        if (src[i] == 0 && (i == 0 || src[i - 1] == 0)) {
            if (i == 0 && limit > 1) {
                dst[1] = 0;
                return 2;
            }
            return i + 1;
        }
    }
    // The limit was reached inside the list: close it with two zeros so the
    // copy is always a well-formed list.
    dst[limit - 1] = 0;
    if (limit >= 2)
        dst[limit - 2] = 0;
    return limit;
}

char *utStrCopyN(char *dst, const char *src, uint32_t dstSize)
{
    if (!dstSize)
        return dst;
    uint32_t i = 0;
    if (src)
        for (; i + 1 < dstSize && src[i]; ++i)
            dst[i] = src[i];
    dst[i] = 0;
    return dst;
}

char *utStrAppendN(char *dst, const char *src, uint32_t dstSize)
{
    size_t len = strnlen(dst, dstSize);
    if (len >= dstSize)
        return dst;
    utStrCopyN(dst + len, src, dstSize - (uint32_t)len);
    return dst;
}
