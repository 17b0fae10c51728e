// Delimited lists, handle arrays, packed item lists and tagged fields.
#include "support/rc_list.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "resources/resource.h"
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// ---- shared helpers --------------------------------------------------------

// Largest block the lists here will ask for; beyond it the sums below could
// overflow 32 bits.
const uint64_t kMaxBytes = 0x7FFFFFF0u;

void reportReadError() { utErrorBoxId(0, IDS_READ_ERROR); }

// ---- delimited lists ---------------------------------------------------------

// One item of a list: where it starts and how long it is.
struct Item {
    const char *text;
    size_t len;
};

// Calls f(item) for every item by delimiters, empty ones included; f returns
// false to stop. A last item without a delimiter is visited; an empty tail
// after the last delimiter is not.
template <typename F>
void forEachItem(const char *list, size_t len, char delim, F f)
{
    size_t pos = 0;
    while (pos < len) {
        const char *d = static_cast<const char *>(memchr(list + pos, delim, len - pos));
        size_t end = d ? (size_t)(d - list) : len;
        if (!f(Item{list + pos, end - pos}))
            return;
        pos = end + 1;
    }
}

size_t textLen(const char *s) { return s ? strlen(s) : 0; }

bool equalNoCase(const char *a, size_t la, const char *b, size_t lb)
{
    if (la != lb)
        return false;
    return la == 0 || CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, (int)la, b,
                                     (int)lb) == CSTR_EQUAL;
}

int compareNoCase(const std::string &a, const std::string &b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), (int)a.size(),
                          b.data(), (int)b.size()) - CSTR_EQUAL;
}

// The text of a list handle, up to its terminator or the end of the block.
std::string handleText(MemHandle h)
{
    MemLock<char> p(h);
    if (!p)
        return std::string();
    return std::string(p.get(), strnlen(p.get(), utHandleSize(h)));
}

// Writes text (with its terminator) into the list handle, growing it when
// needed, and zeroes what is left of the old text. Returns the handle valid
// afterwards, 0 when growth failed (the old list is then untouched).
MemHandle writeList(MemHandle h, const std::string &text)
{
    uint32_t oldLen = (uint32_t)handleText(h).size();
    if (text.size() + 1 > kMaxBytes)
        return 0;
    MemHandle grown = utAllocHandle(h, (uint32_t)text.size() + 1);
    if (!grown)
        return 0;
    MemLock<char> p(grown);
    memcpy(p.get(), text.c_str(), text.size() + 1);
    if (oldLen > text.size())
        memset(p.get() + text.size(), 0, oldLen - text.size());
    return grown;
}

// Offset of the first item equal to text (by the given comparison), or -1.
template <typename Eq>
long findItemOffset(const std::string &list, char delim, const char *text, Eq eq)
{
    size_t tl = textLen(text);
    long found = -1;
    if (tl == 0)
        return -1;
    forEachItem(list.data(), list.size(), delim, [&](Item it) {
        if (it.len && eq(it.text, it.len, text, tl)) {
            found = (long)(it.text - list.data());
            return false;
        }
        return true;
    });
    return found;
}

bool equalExact(const char *a, size_t la, const char *b, size_t lb)
{
    return la == lb && memcmp(a, b, la) == 0;
}

// ---- packed item lists -------------------------------------------------------

// Checks a packed list held in a block of cap bytes: the header fits, the
// total lies within the block, and the count's items, each at least its 4
// size bytes, fill the total exactly.
bool itemListIsSound(const uint8_t *p, uint32_t cap)
{
    if (!p || cap < sizeof(RcItemListHeader))
        return false;
    RcItemListHeader hd;
    memcpy(&hd, p, sizeof hd);
    if (hd.total < sizeof hd || hd.total > cap)
        return false;
    uint32_t off = sizeof hd;
    for (uint32_t i = 0; i < hd.count; ++i) {
        if (hd.total - off < 4)
            return false;
        uint32_t n = utGetAt<uint32_t>(p, off);
        if (n < 4 || n > hd.total - off)
            return false;
        off += n;
    }
    return off == hd.total;
}

// Offset and size of item i of a sound list.
void itemAt(const uint8_t *p, int i, uint32_t *offset, uint32_t *size)
{
    uint32_t off = sizeof(RcItemListHeader);
    for (int k = 0; k < i; ++k)
        off += utGetAt<uint32_t>(p, off);
    *offset = off;
    *size = utGetAt<uint32_t>(p, off);
}

// A packed list, locked and checked. A damaged list is reported once here
// ("Read error": it can only have come from a damaged file) and reads as
// absent.
class ItemList {
public:
    explicit ItemList(MemHandle h) : lock_(h)
    {
        if (!lock_)
            return;
        if (!itemListIsSound(lock_.get(), utHandleSize(h))) {
            reportReadError();
            return;
        }
        memcpy(&hd_, lock_.get(), sizeof hd_);
        sound_ = true;
    }
    bool sound() const { return sound_; }
    bool has(int i) const { return sound_ && i >= 0 && i < hd_.count; }
    const RcItemListHeader &header() const { return hd_; }
    uint8_t *base() const { return lock_.get(); }
    void item(int i, uint32_t *offset, uint32_t *size) const { itemAt(base(), i, offset, size); }

private:
    MemLock<> lock_;
    RcItemListHeader hd_{};
    bool sound_ = false;
};

// ---- tagged fields -----------------------------------------------------------

bool taggedRunIsSound(const uint8_t *p, uint32_t count, uint32_t size)
{
    if (!p)
        return count == 0 && size == 0;
    uint32_t off = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - off < sizeof(RcTaggedField))
            return false;
        uint32_t n = utGetAt<uint32_t>(p, off);
        if (n < sizeof(RcTaggedField) || n > size - off)
            return false;
        off += n;
    }
    return off == size;
}

// Offset of the field with the tag in a sound run, or -1.
long taggedFieldOffset(const uint8_t *p, uint32_t count, uint32_t tag)
{
    uint32_t off = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (utGetAt<uint32_t>(p, off + 4) == tag)
            return (long)off;
        off += utGetAt<uint32_t>(p, off);
    }
    return -1;
}

}  // namespace

// ---- delimited lists ---------------------------------------------------------

uint32_t rcListSize(MemHandle list)
{
    MemLock<char> p(list);
    if (!p)
        return 0;
    uint32_t cap = utHandleSize(list);
    size_t len = strnlen(p.get(), cap);
    return (len == 0 || len >= cap) ? 0 : (uint32_t)len + 1;
}

int rcListCount(const char *list, char delim)
{
    int n = 0;
    forEachItem(list, textLen(list), delim, [&](Item it) {
        n += it.len != 0;
        return true;
    });
    return n;
}

int rcListCountH(MemHandle list, char delim)
{
    return rcListCount(handleText(list).c_str(), delim);
}

int rcItemLength(const char *text, char delim)
{
    int n = 0;
    if (text)
        while (text[n] && text[n] != delim)
            ++n;
    return n;
}

int rcCopyItemN(const char *text, char delim, char *buf, uint32_t n)
{
    if (!buf)
        return 0;
    uint32_t len = (uint32_t)rcItemLength(text, delim);
    if (len > n)
        len = n;
    if (len)
        memcpy(buf, text, len);
    buf[len] = 0;
    return (int)len;
}

int rcCopyItem(const char *text, char delim, char *buf, uint32_t bufSize)
{
    return bufSize ? rcCopyItemN(text, delim, buf, bufSize - 1) : 0;
}

MemHandle rcItemToHandle(const char *text, char delim)
{
    int len = rcItemLength(text, delim);
    if (len == 0)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)len + 1);
    if (h) {
        MemLock<char> p(h);
        memcpy(p.get(), text, len);
    }
    return h;
}

const char *rcNextItem(const char *text, char delim)
{
    if (!text)
        return nullptr;
    const char *d = strchr(text, delim);
    if (!d || delim == 0 || d[1] == 0)
        return nullptr;
    return d + 1;
}

const char *rcFindNthItem(const char *list, char delim, int n)
{
    if (n < 0 || !list)
        return nullptr;
    const char *p = list;
    for (int k = 0; k < n && p; ++k)
        p = rcNextItem(p, delim);
    return p;
}

BOOL rcGetItem(const char *list, char delim, int n, char *buf, uint32_t bufSize)
{
    if (!buf || !bufSize)
        return FALSE;
    buf[0] = 0;
    const char *item = rcFindNthItem(list, delim, n);
    return item && rcCopyItem(item, delim, buf, bufSize) > 0;
}

BOOL rcGetItemH(MemHandle list, char delim, int n, char *buf, uint32_t bufSize)
{
    return rcGetItem(handleText(list).c_str(), delim, n, buf, bufSize);
}

int rcFindItem(const char *list, char delim, const char *text)
{
    size_t tl = textLen(text);
    int pos = 0, found = -1;
    if (tl == 0)
        return -1;
    forEachItem(list, textLen(list), delim, [&](Item it) {
        if (!it.len)
            return true;
        if (equalNoCase(it.text, it.len, text, tl)) {
            found = pos;
            return false;
        }
        ++pos;
        return true;
    });
    return found;
}

BOOL rcListContains(const char *list, char delim, const char *text)
{
    return rcFindItem(list, delim, text) >= 0;
}

BOOL rcListContainsCase(const char *list, char delim, const char *text)
{
    return findItemOffset(list ? std::string(list) : std::string(), delim, text,
                          equalExact) >= 0;
}

MemHandle rcListAppend(MemHandle list, char delim, const char *item)
{
    if (textLen(item) == 0)
        return list;
    std::string text = handleText(list);
    // A last item without its delimiter would run into the new one.
    if (!text.empty() && text.back() != delim)
        text += delim;
    text += item;
    text += delim;
    MemHandle grown = writeList(list, text);
    return grown ? grown : list;
}

MemHandle rcListAppendUnique(MemHandle list, char delim, const char *item)
{
    if (rcListContains(handleText(list).c_str(), delim, item))
        return list;
    return rcListAppend(list, delim, item);
}

MemHandle rcListAddDelim(MemHandle list, char delim)
{
    MemHandle grown = writeList(list, handleText(list) + delim);
    return grown ? grown : list;
}

MemHandle rcListPushFront(MemHandle list, char delim, const char *item)
{
    size_t n = textLen(item);
    if (n == 0)
        return list;
    std::string front = std::string(item) + delim;
    uint32_t len = (uint32_t)handleText(list).size();
    if ((uint64_t)len + front.size() + 1 > kMaxBytes)
        return list;
    MemHandle grown = utAllocHandle(list, len + (uint32_t)front.size() + 1);
    if (!grown)
        return list;
    MemLock<char> p(grown);
    // The block now has room for the text, the new item and the terminator.
    utInsertBytes(p.get(), utHandleSize(grown), len + 1, 0, front.data(),
                  (uint32_t)front.size());
    return grown;
}

BOOL rcListRemoveItem(MemHandle list, char delim, const char *text)
{
    std::string s = handleText(list);
    long off = findItemOffset(s, delim, text, equalNoCase);
    if (off < 0)
        return FALSE;
    size_t n = textLen(text);
    if ((size_t)off + n < s.size())
        ++n;   // its delimiter
    MemLock<char> p(list);
    utDeleteBytes(p.get(), (uint32_t)s.size(), (uint32_t)off, (uint32_t)n);
    return TRUE;
}

MemHandle rcListMoveToEnd(MemHandle list, char delim, const char *text)
{
    rcListRemoveItem(list, delim, text);
    return rcListAppend(list, delim, text);
}

BOOL rcListTruncate(MemHandle list, char delim, int n)
{
    std::string s = handleText(list);
    if (n < 0 || s.empty())
        return FALSE;
    size_t cut = 0;
    for (int k = 0; k < n; ++k) {
        size_t d = s.find(delim, cut);
        if (d == std::string::npos)
            return FALSE;
        cut = d + 1;
    }
    MemLock<char> p(list);
    memset(p.get() + cut, 0, s.size() - cut);
    return TRUE;
}

int rcListSort(MemHandle list, char delim, BOOL ascending)
{
    std::string s = handleText(list);
    std::vector<std::string> items;
    forEachItem(s.data(), s.size(), delim, [&](Item it) {
        if (it.len)
            items.emplace_back(it.text, it.len);
        return true;
    });
    if (items.empty())
        return 0;
    std::stable_sort(items.begin(), items.end(),
                     [ascending](const std::string &a, const std::string &b) {
                         int c = compareNoCase(a, b);
                         return ascending ? c < 0 : c > 0;
                     });
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i)
            out += delim;
        out += items[i];
    }
    if (s.back() == delim)
        out += delim;
    // The sorted text is never longer than the old one: no growth.
    writeList(list, out);
    return 1;
}

int rcListToListBox(HWND listBox, const char *list, char delim)
{
    int added = 0;
    forEachItem(list, textLen(list), delim, [&](Item it) {
        if (it.len) {
            std::string item(it.text, it.len);
            LRESULT r = SendMessageA(listBox, LB_ADDSTRING, 0, (LPARAM)item.c_str());
            if (r != LB_ERR && r != LB_ERRSPACE)
                ++added;
        }
        return true;
    });
    return added;
}

// ---- handle arrays -------------------------------------------------------------

MemHandle rcArrayAppend(MemHandle array, int n, const void *element, uint32_t size)
{
    if (n < 0 || size == 0 || !element)
        return 0;
    uint64_t needed = ((uint64_t)n + 1) * size;
    if (needed > kMaxBytes)
        return 0;
    // The element may lie inside the array itself, which may move.
    std::vector<uint8_t> copy(static_cast<const uint8_t *>(element),
                              static_cast<const uint8_t *>(element) + size);
    MemHandle grown = utAllocHandle(array, (uint32_t)needed);
    if (!grown)
        return 0;
    MemLock<> p(grown);
    memcpy(p.get() + (size_t)n * size, copy.data(), size);
    return grown;
}

namespace {
// True when a block holds n elements of the size.
bool arrayFits(MemHandle array, int n, uint32_t size)
{
    return array && n >= 0 && size && (uint64_t)n * size <= utHandleSize(array);
}
}  // namespace

BOOL rcArrayGet(MemHandle array, int n, int i, void *out, uint32_t size)
{
    if (!out || i < 0 || i >= n || !arrayFits(array, n, size))
        return FALSE;
    MemLock<> p(array);
    memcpy(out, p.get() + (size_t)i * size, size);
    return TRUE;
}

uint32_t rcArrayDelete(void *array, int n, int i, uint32_t size)
{
    if (!array || i < 0 || i >= n || size == 0 || (uint64_t)n * size > kMaxBytes)
        return 0;
    return utDeleteBytes(array, (uint32_t)n * size, (uint32_t)i * size, size);
}

BOOL rcArrayDeleteH(MemHandle array, int n, int i, uint32_t size)
{
    if (i < 0 || i >= n || !arrayFits(array, n, size))
        return FALSE;
    MemLock<> p(array);
    return rcArrayDelete(p.get(), n, i, size) != 0;
}

BOOL rcArrayMove(void *array, int n, int from, int to, uint32_t size)
{
    if (!array || size == 0 || from < 0 || from >= n || to < 0 || to >= n)
        return FALSE;
    if (from == to)
        return TRUE;
    uint8_t *p = static_cast<uint8_t *>(array);
    std::vector<uint8_t> moving(p + (size_t)from * size, p + (size_t)(from + 1) * size);
    if (from < to)
        memmove(p + (size_t)from * size, p + (size_t)(from + 1) * size, (size_t)(to - from) * size);
    else
        memmove(p + (size_t)(to + 1) * size, p + (size_t)to * size, (size_t)(from - to) * size);
    memcpy(p + (size_t)to * size, moving.data(), size);
    return TRUE;
}

void rcArrayReplaceHandle(MemHandle block, uint32_t at, uint32_t count, MemHandle old,
                          MemHandle now)
{
    uint32_t size = utHandleSize(block);
    MemLock<uint8_t> p(block);
    if (!p || at > size)
        return;
    uint32_t n = std::min<uint32_t>(count, (size - at) / 4);
    for (uint32_t i = 0; i < n; ++i)
        if (utGetAt<MemHandle>(p.get(), at + 4 * i) == old)
            utPutAt<MemHandle>(p.get(), at + 4 * i, now);
}

int rcArrayPop(MemHandle *array, int32_t *n, void *out, uint32_t size, BOOL freeWhenEmpty)
{
    if (!array || !n || *n < 1 || !arrayFits(*array, *n, size)) {
        if (out && size)
            memset(out, 0, size);
        return 0;
    }
    {
        MemLock<> p(*array);
        uint8_t *last = p.get() + (size_t)(*n - 1) * size;
        if (out)
            memcpy(out, last, size);
        memset(last, 0, size);
    }
    --*n;
    // Only an emptied array goes: the elements still in it belong to the
    // owner, who keeps using the handle.
    if (freeWhenEmpty && *n == 0)
        *array = utFreeHandle(*array);
    return 1;
}

int rcFindSegment(int32_t start, const int32_t *lengths, int n, int32_t value)
{
    if (value < start)
        return -1;
    if (!lengths)
        return n > 0 ? n : 0;
    int64_t pos = start;
    for (int i = 0; i < n; ++i) {
        if (lengths[i] > 0 && value < pos + lengths[i])
            return i;
        pos += lengths[i];
    }
    return n;
}

void rcSortLongs(int32_t *values, int n)
{
    if (values && n > 1)
        std::sort(values, values + n);
}

// ---- packed item lists -----------------------------------------------------------

MemHandle rcItemListAppend(MemHandle list, const void *bytes, uint32_t n)
{
    if (!bytes || n < 4)
        return 0;
    // The bytes may lie inside the list, which may move when it grows.
    std::vector<uint8_t> item(static_cast<const uint8_t *>(bytes),
                              static_cast<const uint8_t *>(bytes) + n);
    utPutAt<uint32_t>(item.data(), 0, n);
    RcItemListHeader hd{sizeof(RcItemListHeader), 0, 0};
    if (list) {
        ItemList l(list);
        if (!l.sound())
            return 0;
        hd = l.header();
    }
    if (hd.count == 0xFFFF || (uint64_t)hd.total + n > kMaxBytes)
        return 0;
    // On failure the allocator has reported it and the old list is intact.
    MemHandle grown = utAllocHandle(list, hd.total + n);
    if (!grown)
        return 0;
    MemLock<> p(grown);
    memcpy(p.get() + hd.total, item.data(), n);
    hd.total += n;
    ++hd.count;
    memcpy(p.get(), &hd, sizeof hd);
    return grown;
}

MemHandle rcItemListReplace(MemHandle list, int i, const void *bytes, uint32_t n)
{
    if (!bytes)
        n = 0;
    if (n != 0 && n < 4)
        return 0;
    std::vector<uint8_t> item(static_cast<const uint8_t *>(bytes),
                              static_cast<const uint8_t *>(bytes) + n);
    if (n)
        utPutAt<uint32_t>(item.data(), 0, n);
    RcItemListHeader hd;
    uint32_t off, oldSize;
    {
        ItemList l(list);
        if (!l.has(i))
            return 0;
        hd = l.header();
        l.item(i, &off, &oldSize);
    }
    if ((uint64_t)hd.total - oldSize + n > kMaxBytes)
        return 0;
    MemHandle h = utReplaceBytes(list, hd.total, off, oldSize, item.data(), n);
    if (!h)
        return 0;
    hd.total = hd.total - oldSize + n;
    if (n == 0)
        --hd.count;
    MemLock<> p(h);
    memcpy(p.get(), &hd, sizeof hd);
    return h;
}

MemHandle rcItemListReplaceFromHandle(MemHandle list, int i, MemHandle item)
{
    if (!item)
        return rcItemListReplace(list, i, nullptr, 0);
    std::vector<uint8_t> bytes;
    {
        MemLock<> p(item);
        uint32_t cap = utHandleSize(item);
        uint32_t n = p && cap >= 4 ? utGetAt<uint32_t>(p.get(), 0) : 0;
        // The stored length of a packet read from a file is not taken on
        // trust: it must cover its own word and lie within the block.
        if (n < 4 || n > cap) {
            reportReadError();
            return 0;
        }
        bytes.assign(p.get(), p.get() + n);
    }
    return rcItemListReplace(list, i, bytes.data(), (uint32_t)bytes.size());
}

BOOL rcItemListDelete(MemHandle list, int i)
{
    return rcItemListReplace(list, i, nullptr, 0) != 0;
}

int rcItemListCount(MemHandle list)
{
    if (!list)
        return 0;
    ItemList l(list);
    return l.sound() ? l.header().count : 0;
}

BOOL rcItemListSetKind(MemHandle list, uint16_t kind)
{
    if (!list)
        return FALSE;
    ItemList l(list);
    if (!l.sound())
        return FALSE;
    RcItemListHeader hd = l.header();
    hd.kind = kind;
    memcpy(l.base(), &hd, sizeof hd);
    return TRUE;
}

uint8_t *rcItemListLockItem(MemHandle list, int i)
{
    uint32_t off, size;
    {
        ItemList l(list);
        if (!l.has(i))
            return nullptr;
        l.item(i, &off, &size);
    }
    return static_cast<uint8_t *>(utLock(list)) + off;
}

MemHandle rcItemListGetCopy(MemHandle list, int i)
{
    ItemList l(list);
    if (!l.has(i))
        return 0;
    uint32_t off, size;
    l.item(i, &off, &size);
    return utHandleFromBytes(l.base() + off, size);
}

const uint8_t *rcItemNext(const uint8_t *item, const uint8_t *end)
{
    if (!item || !end || item >= end || (size_t)(end - item) < 4)
        return nullptr;
    uint32_t n = utGetAt<uint32_t>(item, 0);
    if (n < 4 || n > (size_t)(end - item))
        return nullptr;
    const uint8_t *next = item + n;
    if ((size_t)(end - next) < 4)
        return nullptr;
    uint32_t m = utGetAt<uint32_t>(next, 0);
    return (m >= 4 && m <= (size_t)(end - next)) ? next : nullptr;
}

// ---- tagged fields -------------------------------------------------------------------

const uint8_t *rcFindTaggedField(const void *fields, uint32_t count, uint32_t size,
                                 uint32_t tag)
{
    const uint8_t *p = static_cast<const uint8_t *>(fields);
    if (!p || !taggedRunIsSound(p, count, size))
        return nullptr;
    long off = taggedFieldOffset(p, count, tag);
    return off < 0 ? nullptr : p + off;
}

const uint8_t *rcFindTaggedData(const void *fields, uint32_t count, uint32_t size,
                                uint32_t tag, uint32_t *dataSize)
{
    const uint8_t *f = rcFindTaggedField(fields, count, size, tag);
    if (dataSize)
        *dataSize = f ? utGetAt<uint32_t>(f, 0) - (uint32_t)sizeof(RcTaggedField) : 0;
    return f ? f + sizeof(RcTaggedField) : nullptr;
}

MemHandle rcCopyTaggedData(const void *fields, uint32_t count, uint32_t size, uint32_t tag)
{
    uint32_t n;
    const uint8_t *data = rcFindTaggedData(fields, count, size, tag, &n);
    return data ? utHandleFromBytes(data, n) : 0;
}

MemHandle rcPutTaggedField(MemHandle record, uint32_t fieldsOffset, uint32_t *count,
                           uint32_t *size, const void *data, uint32_t n, uint32_t tag)
{
    if (!record || !count || !size)
        return 0;
    if (!data)
        n = 0;
    // A run that does not fit in the record is as damaged as one whose
    // fields do not add up.
    if ((uint64_t)fieldsOffset + *size > utHandleSize(record)) {
        reportReadError();
        return 0;
    }
    // The data may lie inside the record itself, which may move.
    std::vector<uint8_t> field(n ? n + sizeof(RcTaggedField) : 0);
    if (n) {
        if ((uint64_t)fieldsOffset + *size + field.size() > kMaxBytes)
            return 0;
        utPutAt<uint32_t>(field.data(), 0, (uint32_t)field.size());
        utPutAt<uint32_t>(field.data(), 4, tag);
        memcpy(field.data() + sizeof(RcTaggedField), data, n);
    }
    long old;
    uint32_t oldSize = 0;
    {
        MemLock<> p(record);
        const uint8_t *run = p.get() + fieldsOffset;
        if (!taggedRunIsSound(run, *count, *size)) {
            reportReadError();
            return 0;
        }
        old = taggedFieldOffset(run, *count, tag);
        if (old >= 0)
            oldSize = utGetAt<uint32_t>(run, old);
    }
    if (old < 0 && n == 0)
        return record;
    // Grow before touching anything, so that a failure leaves the record,
    // its count and its size as they were.
    uint32_t end = fieldsOffset + *size;
    uint32_t newEnd = end - oldSize + (uint32_t)field.size();
    MemHandle h = utAllocHandle(record, std::max(end, newEnd));
    if (!h)
        return 0;
    MemLock<> p(h);
    uint32_t capacity = utHandleSize(h);
    uint32_t fieldsEnd = end;
    if (old >= 0) {
        // Splice the old field out; the fields behind it move down.
        fieldsEnd = (uint32_t)utSpliceBytes(p.get(), capacity, end,
                                            p.get() + fieldsOffset + old, oldSize, nullptr, 0);
        memset(p.get() + fieldsEnd, 0, oldSize);
        --*count;
    }
    if (n) {
        memcpy(p.get() + fieldsEnd, field.data(), field.size());
        ++*count;
    }
    *size = newEnd - fieldsOffset;
    return h;
}

MemHandle rcSetTaggedField(MemHandle record, BOOL adjustLength, uint32_t headerOffset,
                           uint32_t fieldsOffset, const void *data, uint32_t n, uint32_t tag)
{
    if (!record || (uint64_t)headerOffset + sizeof(RcTaggedHeader) > utHandleSize(record) ||
        (adjustLength && utHandleSize(record) < 4))
        return 0;
    RcTaggedHeader hd;
    {
        MemLock<> p(record);
        memcpy(&hd, p.get() + headerOffset, sizeof hd);
    }
    uint32_t oldSize = hd.size;
    MemHandle h = rcPutTaggedField(record, fieldsOffset, &hd.count, &hd.size, data, n, tag);
    if (!h)
        return 0;
    if (data && n)
        hd.flags |= tag;
    else
        hd.flags &= ~tag;
    MemLock<> p(h);
    memcpy(p.get() + headerOffset, &hd, sizeof hd);
    if (adjustLength)
        utPutAt<uint32_t>(p.get(), 0, utGetAt<uint32_t>(p.get(), 0) + (hd.size - oldSize));
    return h;
}

std::vector<std::string> rcListItems(MemHandle list, char delim)
{
    std::vector<std::string> items;
    std::string all;
    {
        MemLock<char> p(list);
        if (!p)
            return items;
        all.assign(p.get(), strnlen(p.get(), utHandleSize(list)));
    }
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(delim, start);
        if (end == std::string::npos)
            end = all.size();
        items.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return items;
}
