// Small containers that carry most of the program's lists:
//  - delimited lists: one zero-terminated string whose items are each
//    followed by a delimiter (CR, '@', ...); the last item may lack it;
//  - handle arrays: n elements of a fixed size in one MemHandle, the count
//    kept by the owner;
//  - packed item lists: a packet holding a header and a run of packets;
//  - tagged fields: {size, tag, data} records appended to a record's end.
//
// Growing operations return the handle that is valid afterwards. Unless an
// operation says otherwise, 0 means failure: nothing was changed and the old
// handle is still valid and still the caller's. Never keep a pointer into a
// handle across a call that may grow it.
#pragma once
#include "support/qmwin.h"
#include <string>
#include <vector>

// ---- delimited lists -------------------------------------------------------
// Items are compared without regard to case unless a name says otherwise.
// Empty items (two delimiters in a row) are skipped by counting and by
// lookup by text; positions counted by delimiters include them. A null text
// reads as an empty list.

// Bytes of the list with its terminator; 0 for no handle, an empty list or
// a block that holds no terminator at all.
uint32_t rcListSize(MemHandle list);
// Number of non-empty items.
int rcListCount(const char *list, char delim);
int rcListCountH(MemHandle list, char delim);
// Characters of the first item (up to the delimiter or the end).
int rcItemLength(const char *text, char delim);
// Copy the first item into buf, always terminated. rcCopyItem fills at most
// bufSize bytes (bufSize - 1 characters); rcCopyItemN copies at most n
// characters into a buffer of at least n + 1 bytes. Return the characters
// copied.
int rcCopyItem(const char *text, char delim, char *buf, uint32_t bufSize);
int rcCopyItemN(const char *text, char delim, char *buf, uint32_t n);
// New string handle holding the first item; 0 when it is empty.
MemHandle rcItemToHandle(const char *text, char delim);
// The text after the first delimiter; null when there is none or nothing
// follows it.
const char *rcNextItem(const char *text, char delim);
inline char *rcNextItem(char *text, char delim)
{
    return const_cast<char *>(rcNextItem(static_cast<const char *>(text), delim));
}
// Item n by delimiters: n = 0 is the list itself, otherwise the text after
// the n-th delimiter; null when there are fewer delimiters or nothing follows.
const char *rcFindNthItem(const char *list, char delim, int n);
inline char *rcFindNthItem(char *list, char delim, int n)
{
    return const_cast<char *>(rcFindNthItem(static_cast<const char *>(list), delim, n));
}
// Copies item n (position by delimiters) into buf (bufSize bytes, always
// terminated; empty when the item is missing). TRUE when it is non-empty.
BOOL rcGetItem(const char *list, char delim, int n, char *buf, uint32_t bufSize);
BOOL rcGetItemH(MemHandle list, char delim, int n, char *buf, uint32_t bufSize);
// Position of the text among the non-empty items; -1 when absent or empty.
int rcFindItem(const char *list, char delim, const char *text);
// TRUE when an item equals the text; FALSE for an empty text.
BOOL rcListContains(const char *list, char delim, const char *text);
BOOL rcListContainsCase(const char *list, char delim, const char *text);   // exact
// Appends the item and a delimiter (a new handle when there is none). A list
// whose last item lacks its delimiter gets one first, so the items stay
// apart. An empty item adds nothing. Returns the list handle; the old one
// unchanged when growth fails (the allocator has reported it).
MemHandle rcListAppend(MemHandle list, char delim, const char *item);
// rcListAppend unless an equal item is present.
MemHandle rcListAppendUnique(MemHandle list, char delim, const char *item);
// Appends one delimiter (an empty item); a new handle when there is none.
MemHandle rcListAddDelim(MemHandle list, char delim);
inline MemHandle rcListAppendEmpty(MemHandle list, char delim) { return rcListAddDelim(list, delim); }
// Inserts the item and a delimiter in front; an empty item adds nothing.
// Returns the list handle; the old one unchanged when growth fails.
MemHandle rcListPushFront(MemHandle list, char delim, const char *item);
// Removes the first item equal to the text, with its delimiter. TRUE when
// one was removed.
BOOL rcListRemoveItem(MemHandle list, char delim, const char *text);
// rcListRemoveItem, then rcListAppend of the same text.
MemHandle rcListMoveToEnd(MemHandle list, char delim, const char *text);
// Cuts the list after n items (positions by delimiters); nothing when it
// holds fewer delimiters. TRUE when it was cut.
BOOL rcListTruncate(MemHandle list, char delim, int n);
// Sorts the non-empty items ascending (or descending when ascending is
// FALSE) without regard to case and writes them back joined by the
// delimiter; a delimiter that ended the list still ends it. 1 when sorted;
// 0 for no handle or a list without a non-empty item (left as it was).
int rcListSort(MemHandle list, char delim, BOOL ascending);
// Adds every non-empty item to a list box (LB_ADDSTRING); returns the number
// added.
int rcListToListBox(HWND listBox, const char *list, char delim);
// Every item of a list handle in order, empty items included (positions
// counted by delimiters), the one after a last delimiter left out. None for
// no handle.
std::vector<std::string> rcListItems(MemHandle list, char delim);

// ---- handle arrays ---------------------------------------------------------
// Element i of size s lies at byte i * s; the owner keeps the count n.

// Grows the handle to (n + 1) * size and copies the element to index n; a
// new handle when there was none. The caller increments n. 0 on failure.
MemHandle rcArrayAppend(MemHandle array, int n, const void *element, uint32_t size);
// Copies element i out; FALSE when the handle is 0, i is outside 0 .. n - 1
// or the block is too small for n elements.
BOOL rcArrayGet(MemHandle array, int n, int i, void *out, uint32_t size);
// Removes element i of n, moving the rest down and zeroing the last slot.
// Returns size; 0 (nothing changed) when i is out of range. The caller
// decrements n.
uint32_t rcArrayDelete(void *array, int n, int i, uint32_t size);
BOOL rcArrayDeleteH(MemHandle array, int n, int i, uint32_t size);
// Moves element `from` to position `to`, the elements between shifting by
// one. FALSE (nothing moved) when either index is out of range.
BOOL rcArrayMove(void *array, int n, int from, int to, uint32_t size);
// Takes the last element off: copies it to out, zeroes its slot and
// decrements *n; when *n reaches 0 and freeWhenEmpty is set, frees the array
// and sets *array to 0. Returns 1; 0 with out zero-filled when there is no
// element to take.
int rcArrayPop(MemHandle *array, int32_t *n, void *out, uint32_t size, BOOL freeWhenEmpty);
// Every u32 handle equal to `old` among the first `count` from byte `at`
// of a block (as many as the block holds) becomes `now`.
void rcArrayReplaceHandle(MemHandle block, uint32_t at, uint32_t count, MemHandle old,
                          MemHandle now);
// Index of the segment holding value: segment i starts at start plus the
// lengths before it and covers lengths[i] values. -1 below start, n at or
// past the end.
int rcFindSegment(int32_t start, const int32_t *lengths, int n, int32_t value);
// Sorts n signed 32-bit values ascending.
void rcSortLongs(int32_t *values, int n);

// ---- packed item lists -----------------------------------------------------
// A packet: the header below, then `count` items back to back, each a packet
// whose first u32 is its own size. total = 8 + the sizes of the items.
struct RcItemListHeader {
    uint32_t total;   // bytes of the whole list, header included
    uint16_t kind;    // set by the owner
    uint16_t count;   // number of items
};
static_assert(sizeof(RcItemListHeader) == 8, "packed item list header is 8 bytes");

// A packed list reaches memory whole from a file, and the operations here
// keep the lists they build consistent; so every operation that takes a
// list handle checks the stored sizes first (total within the block, every
// item at least 4 bytes and inside the total, the count's items filling the
// total exactly). A damaged list is refused and reported as "Read error".

// Appends an item of n bytes (n >= 4; the copy's size word is set to n). A
// new list gets the 8-byte header. Returns the list valid afterwards; 0 on
// failure, and then the old list is still the caller's, unchanged.
MemHandle rcItemListAppend(MemHandle list, const void *bytes, uint32_t n);
// Replaces item i by n new bytes (the copy's size word set to n); no bytes
// deletes it. The bytes may come from the list itself (they are copied
// first). Returns the list valid afterwards, 0 on failure (index out of
// range, damage, memory).
MemHandle rcItemListReplace(MemHandle list, int i, const void *bytes, uint32_t n);
// rcItemListReplace with the bytes of a packet handle (as many as its
// stored length says), or deletion for handle 0.
MemHandle rcItemListReplaceFromHandle(MemHandle list, int i, MemHandle item);
// Removes item i; TRUE when removed.
BOOL rcItemListDelete(MemHandle list, int i);
// Number of items; 0 for handle 0 or a damaged list.
int rcItemListCount(MemHandle list);
// Stores the kind word; FALSE for handle 0 or a damaged list.
BOOL rcItemListSetKind(MemHandle list, uint16_t kind);
// Locks the list and returns the address of item i; the caller unlocks the
// list (utUnlock). Null, and nothing locked, when i is out of range.
uint8_t *rcItemListLockItem(MemHandle list, int i);
// New handle holding a copy of item i; 0 when out of range.
MemHandle rcItemListGetCopy(MemHandle list, int i);
// The item after the given one, given the end of the list's items (list
// address + total); null when the given item's size is damaged or no whole
// item follows it.
const uint8_t *rcItemNext(const uint8_t *item, const uint8_t *end);
inline uint8_t *rcItemNext(uint8_t *item, const uint8_t *end)
{
    return const_cast<uint8_t *>(rcItemNext(static_cast<const uint8_t *>(item), end));
}
inline uint8_t *rcItemListNext(uint8_t *item, const uint8_t *end) { return rcItemNext(item, end); }

// ---- tagged fields ---------------------------------------------------------
// A run of `count` fields taking `size` bytes, at the end of a record.
struct RcTaggedField {
    uint32_t size;   // bytes of the field, these 8 included
    uint32_t tag;    // a bit value
    // size - 8 bytes of data follow
};
static_assert(sizeof(RcTaggedField) == 8, "tagged field header is 8 bytes");

// The header block of a record that carries tagged fields.
struct RcTaggedHeader {
    uint32_t flags;   // OR of the tags present
    uint32_t count;   // number of fields
    uint32_t size;    // bytes of all fields together
};
static_assert(sizeof(RcTaggedHeader) == 12, "tagged field header block is 12 bytes");

// A run is walked by its stored sizes: every field must be at least 8 bytes
// and the count's fields must fill the size exactly, else the run is refused.
// Lookups refuse silently (they run while drawing and hit-testing, where a
// box per call would never end); edits refuse with "Read error", once per
// attempted change.

// Address of the field with the tag; null when absent or the run is damaged.
const uint8_t *rcFindTaggedField(const void *fields, uint32_t count, uint32_t size,
                                 uint32_t tag);
inline uint8_t *rcFindTaggedField(void *fields, uint32_t count, uint32_t size, uint32_t tag)
{
    return const_cast<uint8_t *>(
        rcFindTaggedField(static_cast<const void *>(fields), count, size, tag));
}
// Address of that field's data; null when absent. dataSize (optional)
// receives the data's length.
const uint8_t *rcFindTaggedData(const void *fields, uint32_t count, uint32_t size,
                                uint32_t tag, uint32_t *dataSize = nullptr);
inline uint8_t *rcFindTaggedData(void *fields, uint32_t count, uint32_t size, uint32_t tag,
                                 uint32_t *dataSize = nullptr)
{
    return const_cast<uint8_t *>(
        rcFindTaggedData(static_cast<const void *>(fields), count, size, tag, dataSize));
}
// New handle with a copy of that field's data; 0 when absent or empty.
MemHandle rcCopyTaggedData(const void *fields, uint32_t count, uint32_t size, uint32_t tag);
// On a record whose fields start at fieldsOffset (count and size in and
// out): removes the field of the tag when present, then, when n bytes of
// data are given, appends {n + 8, tag, data} after the last field. The
// record grows first, so a failure leaves it, count and size untouched.
// Returns the record valid afterwards; 0 on failure.
MemHandle rcPutTaggedField(MemHandle record, uint32_t fieldsOffset, uint32_t *count,
                           uint32_t *size, const void *data, uint32_t n, uint32_t tag);
// rcPutTaggedField driven by the RcTaggedHeader at headerOffset: writes the
// new count and size back, sets the tag's bits in the flags when data was
// given and clears them otherwise, and, when adjustLength is set, changes
// the record's leading u32 length by the change in the fields' size.
MemHandle rcSetTaggedField(MemHandle record, BOOL adjustLength, uint32_t headerOffset,
                           uint32_t fieldsOffset, const void *data, uint32_t n, uint32_t tag);
